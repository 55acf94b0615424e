namespace outer::inner {

int third(void)
{
  return 3;
}

}  // namespace outer::inner
