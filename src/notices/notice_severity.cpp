// Each built-in notice placed by what its verbose text says it warns of:
// Bug Risk for code that is likely wrong or leaks, Complexity for limits of
// size and structure, Compatibility for portability between compilers and
// languages, Clarity for constructs that make code hard to follow, Style for
// layout and house rules. Likely defects are major warnings; limits, risks
// and portability minor notes; layout and readability hints information.
#include "notices/notice_severity.h"

#include <array>
#include <cctype>
#include <string>

#include "driver/config.h"

namespace {

using C = NoticeCategory;
using L = SarifLevel;
using S = GitlabSeverity;

struct Entry {
  int number;
  NoticeSeverity severity;
};

constexpr Entry kBuiltin[] = {
    {1, {C::Style, L::Note, S::Info}},               // physical line length
    {2, {C::Compatibility, L::Note, S::Minor}},      // function name length: portability
    {3, {C::BugRisk, L::Note, S::Minor}},            // ellipsis: arguments not type checked
    {4, {C::BugRisk, L::Warning, S::Major}},         // assignment in an if condition
    {5, {C::BugRisk, L::Warning, S::Major}},         // assignment in a while condition
    {6, {C::Clarity, L::Note, S::Info}},             // pre-decrement
    {7, {C::Clarity, L::Note, S::Info}},             // pre-increment
    {8, {C::BugRisk, L::Warning, S::Major}},         // realloc: frees on 0, hidden leaks
    {9, {C::Clarity, L::Note, S::Minor}},            // goto: hidden logic flow
    {10, {C::Compatibility, L::Note, S::Minor}},     // non-ANSI prototype
    {11, {C::BugRisk, L::Warning, S::Major}},        // unbalanced brackets
    {12, {C::BugRisk, L::Warning, S::Major}},        // unbalanced parentheses
    {13, {C::BugRisk, L::Note, S::Minor}},           // switch without default
    {14, {C::BugRisk, L::Warning, S::Major}},        // case without break: fall through
    {15, {C::Clarity, L::Note, S::Minor}},           // friend class breaks encapsulation
    {16, {C::Style, L::Note, S::Info}},              // function or type white space
    {17, {C::Clarity, L::Note, S::Info}},            // function comments
    {18, {C::Complexity, L::Note, S::Minor}},        // function eLOC
    {19, {C::Style, L::Note, S::Info}},              // file white space
    {20, {C::Clarity, L::Note, S::Info}},            // file comments
    {21, {C::Style, L::Note, S::Minor}},             // key string missing (a house rule)
    {22, {C::BugRisk, L::Note, S::Minor}},           // body without braces
    {23, {C::Clarity, L::Note, S::Info}},            // ternary operator
    {24, {C::Compatibility, L::Note, S::Minor}},     // C++ keyword in C
    {25, {C::Compatibility, L::Note, S::Info}},      // never raised
    {26, {C::BugRisk, L::Note, S::Minor}},           // void *: no type checks
    {27, {C::Complexity, L::Note, S::Minor}},        // return points
    {28, {C::Complexity, L::Note, S::Minor}},        // cyclomatic complexity
    {29, {C::Complexity, L::Note, S::Minor}},        // parameters
    {30, {C::Style, L::Note, S::Info}},              // tab character
    {31, {C::Clarity, L::Note, S::Info}},            // type comments
    {32, {C::BugRisk, L::Note, S::Minor}},           // using namespace: name collisions
    {33, {C::Clarity, L::Note, S::Minor}},           // type defined in a function
    {34, {C::BugRisk, L::Note, S::Minor}},           // pointer to data in a class
    {35, {C::Clarity, L::Note, S::Minor}},           // public data
    {36, {C::Clarity, L::Note, S::Minor}},           // protected data
    {37, {C::BugRisk, L::Warning, S::Major}},        // no virtual destructor
    {38, {C::Clarity, L::Note, S::Info}},            // try and catch
    {39, {C::Complexity, L::Note, S::Minor}},        // methods per class
    {40, {C::Complexity, L::Note, S::Minor}},        // inheritance depth
    {41, {C::Complexity, L::Note, S::Minor}},        // derived classes
    {42, {C::Complexity, L::Note, S::Minor}},        // multiple inheritance
    {43, {C::Clarity, L::Note, S::Info}},            // continue
    {44, {C::Clarity, L::Note, S::Info}},            // break outside a switch
    {45, {C::BugRisk, L::Warning, S::Major}},        // new and delete differ: leaks
    {46, {C::Style, L::Note, S::Info}},              // function or type blank lines
    {47, {C::Style, L::Note, S::Info}},              // file blank lines
    {48, {C::Clarity, L::Note, S::Minor}},           // function that does nothing
    {49, {C::Compatibility, L::Note, S::Info}},      // no parameters nor void
    {50, {C::Clarity, L::Note, S::Info}},            // literal number assigned
    {51, {C::Clarity, L::Note, S::Info}},            // no comment before a function
    {52, {C::Clarity, L::Note, S::Info}},            // ... a class
    {53, {C::Clarity, L::Note, S::Info}},            // ... a struct
    {54, {C::Clarity, L::Note, S::Info}},            // ... an interface
    {55, {C::Complexity, L::Note, S::Minor}},        // scope depth
    {56, {C::BugRisk, L::Warning, S::Major}},        // sequential breaks without case
    {57, {C::Style, L::Note, S::Info}},              // skip lines token
    {58, {C::Style, L::Note, S::Info}},              // skip notices token
};
constexpr bool InNumberOrder() {
  for (int i = 0; i < static_cast<int>(std::size(kBuiltin)); ++i)
    if (kBuiltin[i].number != i + 1) return false;
  return true;
}
static_assert(std::size(kBuiltin) == kNoticeCount && InNumberOrder(), "one entry per built-in notice, in order");

constexpr NoticeSeverity kOther{C::Style, L::Note, S::Info};

constexpr const char* kCategoryNames[] = {"Bug Risk", "Complexity", "Clarity", "Compatibility", "Style"};
constexpr const char* kLevelNames[] = {"note", "warning", "error"};
constexpr const char* kSeverityNames[] = {"info", "minor", "major", "critical", "blocker"};

// Lower case without blanks, so that "Bug Risk", "bug risk" and "BugRisk" meet.
std::string Folded(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '_' && c != '-') out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  return out;
}

}  // namespace

const NoticeSeverity& BuiltinNoticeSeverity(int number) {
  if (number < 1 || number > kNoticeCount) return kOther;
  return kBuiltin[number - 1].severity;
}

NoticeSeverity DefaultUserNoticeSeverity() { return {C::Style, L::Note, S::Minor}; }

const char* CategoryName(NoticeCategory category) { return kCategoryNames[static_cast<int>(category)]; }
const char* SarifLevelName(SarifLevel level) { return kLevelNames[static_cast<int>(level)]; }
const char* GitlabSeverityName(GitlabSeverity severity) { return kSeverityNames[static_cast<int>(severity)]; }

SarifLevel LevelForSeverity(GitlabSeverity severity) {
  if (severity <= S::Minor) return L::Note;
  return severity == S::Major ? L::Warning : L::Error;
}

bool ParseCategory(std::string_view text, NoticeCategory& out) {
  const std::string folded = Folded(text);
  for (int i = 0; i < static_cast<int>(std::size(kCategoryNames)); ++i)
    if (folded == Folded(kCategoryNames[i])) {
      out = static_cast<NoticeCategory>(i);
      return true;
    }
  return false;
}

bool ParseGitlabSeverity(std::string_view text, GitlabSeverity& out) {
  const std::string folded = Folded(text);
  for (int i = 0; i < static_cast<int>(std::size(kSeverityNames)); ++i)
    if (folded == kSeverityNames[i]) {
      out = static_cast<GitlabSeverity>(i);
      return true;
    }
  return false;
}
