/* Handlers written through the macros of m1.c. */
EXPORTED int helper(int v)
{
  if (v > 2)
    return v;
  return 0;
}

HANDLER(on_open)
{
  if (code)
    helper(code);
}
