int from_the_flat_name(void)
{
  return 2;
}

int another(void)
{
  return 3;
}
