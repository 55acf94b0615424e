#include "common/gcd.h"

#include <new>

std::unique_ptr<GlobalData> NewGlobalData() {
  std::unique_ptr<GlobalData> gcd(new (std::nothrow) GlobalData());
  if (gcd) InitGlobals(*gcd);
  return gcd;
}
