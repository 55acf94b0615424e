#include "sarif/notice_rules.h"

#include <cstdio>

#include "common/gcd.h"
#include "notices/notices.h"
#include "notices/verbose_texts.h"

namespace {

// Notice 25 is never raised: its enabling key means "Treat C headers as C++".
constexpr int kNeverRaised = 25;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

// Appends text with every run of blanks and line ends as one blank.
void AppendCollapsed(std::string& out, std::string_view text) {
  for (char c : text) {
    if (IsBlank(c)) {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
}

NoticeRule BuiltinRule(int number, GlobalData& gcd) {
  NoticeRule r;
  r.number = number;
  r.id = NoticeRuleId(number, false);
  r.shortText = Trimmed(GetNoticeStr(number, gcd));
  r.fullText = OneLineText(FindVerboseText(number, 0).body);
  if (r.fullText.empty()) r.fullText = r.shortText;
  r.helpText = r.fullText + " Turn this notice off with \"Quality Notice " + std::to_string(number) +
               " : No\" in lqa.cfg.";
  r.rank = BuiltinNoticeSeverity(number);
  return r;
}

// A user defined message on one line: its "\n" pairs become blanks.
std::string MessageOnOneLine(const std::string& message) {
  std::string text;
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\\' && i + 1 < message.size() && message[i + 1] == 'n') {
      text.push_back(' ');
      ++i;
    } else {
      text.push_back(message[i]);
    }
  }
  std::string out;
  AppendCollapsed(out, text);
  return Trimmed(out);
}

NoticeRule UserRule(const UdqnDefinition& def) {
  NoticeRule r;
  r.number = def.id;
  r.user = true;
  r.id = NoticeRuleId(def.id, true);
  std::string summary;
  AppendCollapsed(summary, def.summary);
  r.shortText = Trimmed(summary);
  if (r.shortText.empty()) r.shortText = "User defined notice " + std::to_string(def.id);
  r.fullText = MessageOnOneLine(def.message);
  if (r.fullText.empty()) r.fullText = r.shortText;
  std::string pattern;
  AppendCollapsed(pattern, def.pattern);
  r.helpText = "User defined notice " + std::to_string(def.id) + ", pattern: " + pattern;
  r.rank = def.rank;
  return r;
}

}  // namespace

int NoticeRuleTable::IndexOf(int number, bool isUser) const {
  if (!isUser) return number >= 1 && number <= kNoticeCount ? builtin[static_cast<std::size_t>(number)] : -1;
  const auto it = user.find(number);
  return it == user.end() ? -1 : it->second;
}

std::string NoticeRuleId(int number, bool user) {
  char id[32];
  if (user && number < 100) std::snprintf(id, sizeof id, "LQAU%03d", number);
  else std::snprintf(id, sizeof id, "LQA%03d", number);
  return id;
}

std::string OneLineText(std::string_view templ) {
  std::string out;
  for (std::size_t i = 0; i < templ.size(); ++i) {
    const char c = templ[i];
    if (c != '%') {
      AppendCollapsed(out, std::string_view(&c, 1));
      continue;
    }
    if (i + 1 < templ.size() && templ[i + 1] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    // A conversion: flags, width and precision, then its letter.
    std::size_t k = i + 1;
    while (k < templ.size() && (templ[k] == '-' || templ[k] == '.' || (templ[k] >= '0' && templ[k] <= '9'))) ++k;
    if (k < templ.size()) out += templ[k] == 's' ? "..." : "n";
    i = k;
  }
  return Trimmed(out);
}

NoticeRuleTable BuildNoticeRules(GlobalData& gcd) {
  NoticeRuleTable table;
  table.builtin.fill(-1);
  for (int n = 1; n <= kNoticeCount; ++n) {
    if (n == kNeverRaised || !gcd.cfg.notice[static_cast<std::size_t>(n)]) continue;
    table.builtin[static_cast<std::size_t>(n)] = static_cast<int>(table.rules.size());
    table.rules.push_back(BuiltinRule(n, gcd));
  }
  for (const auto& def : gcd.udqn.definitions) {
    if (!def->active || def->silent || !def->hasId || table.user.count(def->id) != 0) continue;
    table.user.emplace(def->id, static_cast<int>(table.rules.size()));
    table.rules.push_back(UserRule(*def));
  }
  return table;
}
