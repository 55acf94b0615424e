int from_the_folder(void)
{
  return 1;
}
