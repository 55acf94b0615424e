#include "sarif/gitlab_report.h"

#include <cstring>

#include "sarif/notice_message.h"

namespace {

inline char* Put(char* p, std::string_view text) {
  std::memcpy(p, text.data(), text.size());
  return p + text.size();
}

}  // namespace

void GitlabReport::Begin(const NoticeRuleTable& rules) {
  json_.BeginArray();
  heads_.clear();
  messages_.clear();
  tails_.clear();
  for (const NoticeRule& rule : rules.rules) {
    std::string head = "{\"type\":\"issue\",\"check_name\":";
    AppendJsonString(head, rule.id);
    head += ",\"description\":\"";
    heads_.push_back(std::move(head));
    std::string message;
    AppendJsonStringContent(message, NoticeMessageHead(rule, nullptr));
    messages_.push_back(std::move(message));
    std::string tail = "\",\"categories\":[";
    AppendJsonString(tail, CategoryName(rule.rank.category));
    tail += "],\"severity\":";
    AppendJsonString(tail, GitlabSeverityName(rule.rank.severity));
    tail += ",\"fingerprint\":\"";
    tails_.push_back(std::move(tail));
  }
  templates_.assign(rules.rules.size(), Template{});
}

const GitlabReport::Template& GitlabReport::TemplateFor(const CapturedNotice& n, const FileNotices& file,
                                                        const NoticeRuleTable& rules) {
  const auto r = static_cast<std::size_t>(n.rule);
  Template& t = templates_[r];
  if (t.key.Reuse(stamp_, n)) return t;
  t.beforeFingerprint = heads_[r];
  AppendNoticeMessageHead(t.beforeFingerprint, rules.rules[r], n, messages_[r]);
  if (n.entity >= 0) {
    std::string& suffix = entitySuffixes_[static_cast<std::size_t>(n.entity)];
    // Every entity has a name, so an empty suffix has not been made yet.
    if (suffix.empty())
      AppendJsonStringContent(suffix, NoticeEntitySuffix(file.entities[static_cast<std::size_t>(n.entity)]));
    t.beforeFingerprint += suffix;
  }
  t.beforeFingerprint += tails_[r];
  return t;
}

void GitlabReport::Write(const FileNotices& file, const NoticeRuleTable& rules) {
  if (file.notices.empty()) return;
  ++stamp_;
  entitySuffixes_.clear();
  entitySuffixes_.resize(file.entities.size());
  // A notice without a file of its own (a made-up root of the inheritance
  // forest) has the empty path.
  locationHead_ = "\",\"location\":{\"path\":";
  AppendJsonString(locationHead_, file.location.path);
  locationHead_ += ",\"lines\":{\"begin\":";
  for (const CapturedNotice& n : file.notices) {
    const Template& t = TemplateFor(n, file, rules);
    std::string& out = json_.BeginRawValue();
    // One resize and plain copies: this runs once for every notice.
    const std::size_t at = out.size();
    out.resize(at + t.beforeFingerprint.size() + sizeof n.fingerprint + locationHead_.size() + 20 + 3);
    char* p = out.data() + at;
    p = Put(p, t.beforeFingerprint);
    p = Put(p, std::string_view(n.fingerprint, sizeof n.fingerprint));
    p = Put(p, locationHead_);
    p = WriteJsonInt(p, n.line);
    p = Put(p, "}}}");
    out.resize(static_cast<std::size_t>(p - out.data()));
    json_.EndRawValue();
    ++issues_;
  }
}

bool GitlabReport::End() {
  json_.EndArray();
  return json_.Flush();
}
