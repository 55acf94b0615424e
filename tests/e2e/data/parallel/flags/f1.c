/* Before the licence marker: its allocation is not reported. */
int *early(void)
{
  return (int *) malloc(4);
}
