// A line engine for notice tests: the engine of tests/support with quality
// notices on in the single-line form, reporting which notices fired on which
// lines from the occurrence list that form fills.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "feed_engine.h"

using Lang = SourceLang;

class NoticeEngine : public FeedEngine {
 public:
  explicit NoticeEngine(Lang lang = Lang::C) : FeedEngine(lang) {
    Switches& s = sw();
    s.qualityNotices = s.noticeSingleLine = s.noticeListMode = 1;
    gcd().drv.currentFileName = "t.c";
  }
  NoticeEngine& Feed(const std::vector<std::string>& lines) {
    out_ += FeedEngine::Feed(lines);
    return *this;
  }
  // (line, notice) of every notice written so far, in order.
  std::vector<std::pair<int, int>> Fired() const {
    std::vector<std::pair<int, int>> fired;
    for (const NameData& r : gcd().lists.noticeOccurrences)
      fired.emplace_back(static_cast<int>(r.value1), static_cast<int>(r.value2));
    return fired;
  }
  // The notice numbers written so far, in order, leaving out the given ones.
  std::vector<int> Numbers(std::vector<int> leaveOut = {}) const {
    std::vector<int> numbers;
    for (const auto& [line, n] : Fired())
      if (std::find(leaveOut.begin(), leaveOut.end(), n) == leaveOut.end()) numbers.push_back(n);
    return numbers;
  }
  int Count(int notice) const { return gcd().notices.run.perNotice[static_cast<std::size_t>(notice)]; }
  const std::string& out() const { return out_; }

 private:
  std::string out_;
};
