// The head side's SARIF log made into the gate's: every result gets its
// "baselineState" ("new" or "unchanged", from the notice matching), and the
// log's source root can be moved from the directory the head was analysed in
// to the one the gate runs in. The log is rewritten as it streams through:
// a run's log can hold millions of results.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class BaselineSarifStamper {
 public:
  // isNew holds one entry per result, in the log's order. A non-empty
  // rootUri replaces the uri of the SRCROOT base.
  BaselineSarifStamper(const std::vector<bool>& isNew, std::string rootUri);
  // Appends to out the stamped form of the next chunk of the log.
  void Feed(std::string_view chunk, std::string& out);
  // Ends the log; false with a reason when it held more or fewer results
  // than notices were matched, or ended inside a member being rewritten.
  bool Finish(std::string& out, std::string& error);
  long long results() const { return results_; }

 private:
  void Take(char c, std::string& out);
  void Track(char c);
  void Matched(std::string& out);
  bool SkipRootValue(char c, std::string& out);

  const std::vector<bool>& isNew_;
  std::string rootUri_;  // the replacement uri as a JSON string, or empty
  bool inString_ = false, escaped_ = false;
  std::string held_;               // the bytes of a pattern being matched
  std::string_view pattern_;       // the pattern held_ is a prefix of
  enum class Root { Idle, BeforeValue, InValue, Done } root_ = Root::Idle;
  long long results_ = 0;
  bool overflow_ = false;
};
