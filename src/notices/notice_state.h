// Counters of the numbered quality notices.
#pragma once

#include <array>
#include <string>

#include "driver/config.h"

struct NoticeState {
  std::array<int, kNoticeCount + 1> perNotice{};  // run-wide count of each notice
  int total = 0;                                  // all notices of the run
  // Short texts with their limits filled in when first asked for.
  std::array<std::string, kNoticeCount + 1> shortTexts{};
  int shortTextsBuilt = 0;
};
