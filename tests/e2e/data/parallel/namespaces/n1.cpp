namespace outer {
namespace inner {

int first(int a)
{
  return a + 1;
}

}  // namespace inner
}  // namespace outer
