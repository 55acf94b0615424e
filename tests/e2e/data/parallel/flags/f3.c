/* After the licence marker: its allocation is reported. */
int *late(void)
{
  return (int *) malloc(8);
}
