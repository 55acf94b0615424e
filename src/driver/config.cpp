#include "driver/config.h"

#include "common/gcd.h"

void InitGlobals(GlobalData& gcd) {
  gcd.cfg = Config{};
  for (int n = 1; n <= kNoticeCount; ++n) gcd.cfg.notice[n] = 1;
  for (int n : {21, 46, 47, 51, 52, 53, 54, 57, 58}) gcd.cfg.notice[n] = 0;
}
