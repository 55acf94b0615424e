// Counters of the numbered quality notices.
#pragma once

#include <array>
#include <string>

#include "driver/config.h"

// What a notice is about, for the outputs that point at code: the line it is
// raised on, the function or type whose head or body it judges, or the file.
enum class NoticeSubject : unsigned char { Line, Function, Type, File };

struct NoticeState {
  std::array<int, kNoticeCount + 1> perNotice{};  // run-wide count of each notice
  int total = 0;                                  // all notices of the run
  // Short texts with their limits filled in when first asked for.
  std::array<std::string, kNoticeCount + 1> shortTexts{};
  int shortTextsBuilt = 0;
  // The subject of the notices being raised (NoticeSubjectScope).
  NoticeSubject subject = NoticeSubject::Line;
  // The verbose text of the last notice with a fixed body, laid out so that
  // only its line number is written anew for the next one: the text before
  // the number ends at tailStart, the number's separator and the body start
  // there. Linux fs/ alone holds nearly two million tabs, each a notice.
  struct FixedNoticeText {
    static constexpr int kTailStart = 64;
    int number = 0, variant = -1, form = -1;
    int prefixLength = 0;
    int tailLength = 0;
    // The line whose number is in place, and where its text starts in text.
    int line = -1;
    int start = 0;
    char prefix[48] = {};
    char text[1024] = {};
  } fixedText;
};
