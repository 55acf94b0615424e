// The rules of a run's notice documents: one per notice enabled in the run,
// the built-in ones in number order, then each active, non-silent user
// defined notice in the order of its file. A rule's id never changes, since
// code scanning services key dismissed alerts on it.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "driver/config.h"
#include "notices/notice_severity.h"

struct GlobalData;

struct NoticeRule {
  int number = 0;         // 1 to 58, or the user defined notice's identifier
  bool user = false;
  std::string id;         // "LQA009", "LQA100"
  std::string shortText;  // the catalogue text with its limits (the summary of a user notice)
  std::string fullText;   // the verbose text on one line (the message of a user notice)
  std::string helpText;
  NoticeSeverity rank;
};

struct NoticeRuleTable {
  std::vector<NoticeRule> rules;
  std::array<int, kNoticeCount + 1> builtin{};  // index in rules, or -1
  std::unordered_map<int, int> user;            // identifier -> index in rules
  // The index of a notice's rule, or -1 when the run does not list it.
  int IndexOf(int number, bool user) const;
};

// "LQA" and the number in at least three digits. A user defined notice below
// 100 (an identifier the rule file reports as wrong) is "LQAU" and its
// number, so that it never takes a built-in notice's id.
std::string NoticeRuleId(int number, bool user);
// A verbose text template on one line: line breaks and the blanks after them
// become one blank, every value to fill in reads "n" (numbers) or "..."
// (names), and "%%" a percent sign.
std::string OneLineText(std::string_view templ);
// The rules of this run, from the enabled notices and the loaded user
// defined notices.
NoticeRuleTable BuildNoticeRules(GlobalData& gcd);
