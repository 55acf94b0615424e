// Counters of the numbered quality notices.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "common/records.h"
#include "driver/config.h"

// What a notice is about, for the outputs that point at code: the line it is
// raised on, the function or type whose head or body it judges, or the file.
enum class NoticeSubject : unsigned char { Line, Function, Type, File };

// Counted notices: each numbered notice, and all of them with the user
// defined ones.
struct NoticeCounts {
  std::array<int, kNoticeCount + 1> perNotice{};
  int total = 0;
  void Add(const NoticeCounts& other) {
    for (std::size_t i = 0; i < perNotice.size(); ++i) perNotice[i] += other.perNotice[i];
    total += other.total;
  }
};

// The verbose text of the last notice with a fixed body, laid out so that
// only its line number is written anew for the next one: the text before
// the number ends at tailStart, the number's separator and the body start
// there. Linux fs/ alone holds nearly two million tabs, each a notice. It
// is scratch of whoever raises notices: each file has its own.
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

  // Holds no prepared text.
  void Forget() {
    number = 0;
    line = -1;
  }
};

struct NoticeState {
  NoticeCounts run;  // the notices of the run (of the files merged so far)
  // While a file is analysed, its own counters (in its FileResult), added to
  // the run's when the file is merged; null between files.
  NoticeCounts* file = nullptr;
  NoticeCounts& Counting() { return file != nullptr ? *file : run; }
  // The same for the occurrences of the single-line form (-Tn): the file's
  // own list while it is analysed, moved to the end of the run's at the merge.
  Llist<NameData>* fileOccurrences = nullptr;
  // Short texts with their limits filled in (PrepareNoticeTexts), made
  // before any file is read and only read from then on.
  std::array<std::string, kNoticeCount + 1> shortTexts{};
  // The subject of the notices being raised (NoticeSubjectScope).
  NoticeSubject subject = NoticeSubject::Line;
  // The prepared verbose text: the file's own (in its FileResult) while a
  // file is analysed, else the run's, used between files.
  FixedNoticeText* fileFixedText = nullptr;
  FixedNoticeText runFixedText;
  FixedNoticeText& Fixed() { return fileFixedText != nullptr ? *fileFixedText : runFixedText; }
  const FixedNoticeText& Fixed() const { return fileFixedText != nullptr ? *fileFixedText : runFixedText; }
};
