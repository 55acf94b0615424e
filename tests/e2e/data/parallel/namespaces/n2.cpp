namespace outer {

int top(void)
{
  return 0;
}

namespace inner {

int second(int a, int b)
{
  if (a > b)
    return a;
  return b;
}

}  // namespace inner
}  // namespace outer
