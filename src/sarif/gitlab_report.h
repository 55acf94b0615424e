// The GitLab Code Quality report of a run's notices: a JSON array with one
// issue per notice, written file by file as the analysis goes. Each issue
// carries the same fingerprint as the SARIF result of the notice.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "json/json_writer.h"
#include "sarif/notice_capture.h"
#include "sarif/notice_message.h"

class GitlabReport {
 public:
  explicit GitlabReport(FILE* out) : json_(out) {}
  void Begin(const NoticeRuleTable& rules);
  void Write(const FileNotices& file, const NoticeRuleTable& rules);
  // Closes the array. False when any write failed.
  bool End();
  // The errno of the first failed write, 0 while none failed.
  int failure() const { return json_.failure(); }
  long long issues() const { return issues_; }

 private:
  // The issue up to its fingerprint, kept per rule for the notices of one
  // entity and keyword in a file.
  struct Template {
    NoticeTemplateKey key;
    std::string beforeFingerprint;
  };
  const Template& TemplateFor(const CapturedNotice& n, const FileNotices& file, const NoticeRuleTable& rules);

  JsonWriter json_;
  std::vector<std::string> heads_;  // per rule: the issue up to its description text
  std::vector<std::string> messages_;  // per rule: the description head, escaped
  std::vector<std::string> entitySuffixes_;  // per entity of the current file, escaped when first used
  std::vector<std::string> tails_;  // per rule: from the end of the description to the fingerprint
  std::vector<Template> templates_;
  unsigned stamp_ = 0;
  std::string locationHead_;  // the current file's location up to its line
  long long issues_ = 0;
};
