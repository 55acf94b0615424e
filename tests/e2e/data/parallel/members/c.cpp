// Defined before the file that declares its class is read.
#include "d.h"

int Later::size(int n)
{
  for (int i = 0; i < n; ++i)
    count += i;
  return count;
}
