// The SARIF 2.1.0 log of a run's notices: one run, its rules, and one result
// per notice in the order they were raised, written file by file as the
// analysis goes.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "json/json_writer.h"
#include "sarif/notice_capture.h"
#include "sarif/notice_message.h"

class SarifLog {
 public:
  explicit SarifLog(FILE* out) : json_(out) {}
  // The log up to its first result; baseDir is the directory of SRCROOT.
  void Begin(const NoticeRuleTable& rules, const std::string& baseDir);
  void Write(const FileNotices& file, const NoticeRuleTable& rules);
  // Closes the log. False when any write failed.
  bool End();
  // The errno of the first failed write, 0 while none failed.
  int failure() const { return json_.failure(); }
  long long results() const { return results_; }

 private:
  // A result differs from the one before it of the same rule, entity and
  // keyword in the same file only by its line and fingerprint: the text
  // around them is kept per rule.
  struct Template {
    NoticeTemplateKey key;
    std::string beforeLine;         // up to the start line (up to the fingerprint without a file)
    std::string beforeFingerprint;  // from the start line to the fingerprint
  };
  const Template& TemplateFor(const CapturedNotice& n, const FileNotices& file, const NoticeRuleTable& rules);
  // The escaped texts of the current file's entities, made when first used.
  struct EntityText {
    int made = 0;
    std::string suffix;   // " in function f"
    std::string logical;  // the logicalLocations member
  };
  const EntityText& EntityTextFor(int entity, const FileNotices& file);

  JsonWriter json_;
  std::vector<std::string> resultHeads_;  // per rule: the result up to its message text
  std::vector<std::string> messages_;     // per rule: the message head, escaped
  std::vector<EntityText> entityTexts_;   // per entity of the current file
  std::vector<Template> templates_;       // per rule
  unsigned stamp_ = 0;
  std::string physicalHead_;  // the current file's physical location up to the start line, or ""
  long long results_ = 0;
};
