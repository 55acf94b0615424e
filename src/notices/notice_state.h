// Counters of the numbered quality notices.
#pragma once

#include <array>

#include "driver/config.h"

struct NoticeState {
  std::array<int, kNoticeCount + 1> perNotice{};  // run-wide count of each notice
  int total = 0;                                  // all notices of the run
};
