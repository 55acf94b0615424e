#include "driver/run.h"

#include "common/gcd.h"
#include "common/output.h"

int LqaMain(int, char**) {
  auto gcd = NewGlobalData();
  if (!gcd) {
    OutF("\n  Error: memory allocation failed\n\n");
    return 1;
  }
  return 0;
}
