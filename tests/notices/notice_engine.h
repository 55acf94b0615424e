// A line engine for notice tests: feeds lines the way the driver does and
// reports which notices fired on which lines, from the occurrence list that
// the single-line form fills.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "capture_out.h"
#include "common/gcd.h"

enum class Lang { C, Cpp, Java, CSharp };

class NoticeEngine {
 public:
  explicit NoticeEngine(Lang lang = Lang::C) : gcd_(NewGlobalData()) {
    ResetState(*gcd_);
    LanguageState& l = gcd_->lang;
    l.isC = lang == Lang::C;
    l.isCpp = lang == Lang::Cpp;
    l.isJava = lang == Lang::Java;
    l.isCSharp = lang == Lang::CSharp;
    // Notices listed in the single-line form, function analysis on.
    Switches& sw = gcd_->sw;
    sw.qualityNotices = sw.noticeSingleLine = sw.noticeListMode = 1;
    sw.functionAnalysis = 1;
    gcd_->drv.currentFileName = "t.c";
  }
  NoticeEngine& Feed(const std::vector<std::string>& lines) {
    out_ += CaptureOut([&] {
      for (const auto& text : lines) {
        const std::string line = text + "\n";
        ++gcd_->drv.lineNumber;
        ParseLine(line.c_str(), gcd_->drv.lineNumber, *gcd_);
        gcd_->eng.lex.region_flag = 0;
      }
    });
    return *this;
  }
  // (line, notice) of every notice written so far, in order.
  std::vector<std::pair<int, int>> Fired() const {
    std::vector<std::pair<int, int>> fired;
    for (const NameData& r : gcd_->lists.noticeOccurrences)
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
  int Count(int notice) const { return gcd_->notices.perNotice[static_cast<std::size_t>(notice)]; }
  GlobalData& gcd() { return *gcd_; }
  const std::string& out() const { return out_; }

 private:
  std::unique_ptr<GlobalData> gcd_;
  std::string out_;
};
