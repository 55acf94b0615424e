#include "gate/baseline_sarif.h"

#include "json/json_writer.h"

namespace {

// Outside strings these byte sequences start a result and the source
// root's base (its uri member follows): a string's quotes inside another
// string are escaped, so no text of a message or a path can look like them.
constexpr std::string_view kResult = "{\"ruleId\":";
constexpr std::string_view kRoot = "{\"SRCROOT\":{\"uri\":";

}  // namespace

BaselineSarifStamper::BaselineSarifStamper(const std::vector<bool>& isNew, std::string rootUri) : isNew_(isNew) {
  if (!rootUri.empty()) AppendJsonString(rootUri_, rootUri);
}

void BaselineSarifStamper::Feed(std::string_view chunk, std::string& out) {
  for (char c : chunk) Take(c, out);
}

void BaselineSarifStamper::Track(char c) {
  if (!inString_) {
    inString_ = c == '"';
  } else if (escaped_) {
    escaped_ = false;
  } else if (c == '\\') {
    escaped_ = true;
  } else if (c == '"') {
    inString_ = false;
  }
}

void BaselineSarifStamper::Take(char c, std::string& out) {
  if ((root_ == Root::BeforeValue || root_ == Root::InValue) && SkipRootValue(c, out)) return;
  if (!held_.empty()) {
    // Both patterns start alike: the one the next byte continues.
    const bool rootWanted = root_ == Root::Idle && !rootUri_.empty();
    if (c != pattern_[held_.size()] && rootWanted && pattern_ == kResult && kRoot.starts_with(held_) &&
        c == kRoot[held_.size()])
      pattern_ = kRoot;
    if (c == pattern_[held_.size()]) {
      held_.push_back(c);
      Track(c);
      if (held_.size() == pattern_.size()) Matched(out);
      return;
    }
    // Not the pattern after all: the held bytes go out as they were.
    out += held_;
    held_.clear();
  }
  if (!inString_ && c == '{') {
    pattern_ = kResult;
    held_.push_back(c);
    Track(c);
    return;
  }
  Track(c);
  out.push_back(c);
}

void BaselineSarifStamper::Matched(std::string& out) {
  if (pattern_ == kResult) {
    const auto index = static_cast<std::size_t>(results_++);
    overflow_ = overflow_ || index >= isNew_.size();
    const bool fresh = index < isNew_.size() && isNew_[index];
    out += fresh ? "{\"baselineState\":\"new\"," : "{\"baselineState\":\"unchanged\",";
    out.append(held_, 1);
  } else {
    out += held_;
    root_ = Root::BeforeValue;
  }
  held_.clear();
}

// The uri's string value is dropped and the replacement written instead.
bool BaselineSarifStamper::SkipRootValue(char c, std::string& out) {
  if (root_ == Root::BeforeValue) {
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      out.push_back(c);
      return true;
    }
    if (c != '"') {  // no string: kept as it is
      root_ = Root::Done;
      return false;
    }
    root_ = Root::InValue;
    return true;
  }
  if (escaped_) {
    escaped_ = false;
  } else if (c == '\\') {
    escaped_ = true;
  } else if (c == '"') {
    out += rootUri_;
    root_ = Root::Done;
  }
  return true;
}

bool BaselineSarifStamper::Finish(std::string& out, std::string& error) {
  out += held_;
  held_.clear();
  if (root_ == Root::BeforeValue || root_ == Root::InValue) {
    error = "the SARIF log ends inside its source root";
    return false;
  }
  if (overflow_ || results_ != static_cast<long long>(isNew_.size())) {
    error = "the SARIF log holds " + std::to_string(results_) + " results for " + std::to_string(isNew_.size()) +
            " notices";
    return false;
  }
  return true;
}
