// How much each notice matters, for the outputs that rank findings: a
// category, a SARIF level and a GitLab severity. One table of data holds the
// built-in notices; a user defined notice may name its own severity and
// category in its rule block.
#pragma once

#include <string_view>

enum class NoticeCategory : unsigned char { BugRisk, Complexity, Clarity, Compatibility, Style };
enum class SarifLevel : unsigned char { Note, Warning, Error };
enum class GitlabSeverity : unsigned char { Info, Minor, Major, Critical, Blocker };

struct NoticeSeverity {
  NoticeCategory category = NoticeCategory::Style;
  SarifLevel level = SarifLevel::Warning;
  GitlabSeverity severity = GitlabSeverity::Minor;
};

// The built-in notice's entry (1 to 58); a Style note for any other number.
const NoticeSeverity& BuiltinNoticeSeverity(int number);
// A user defined notice without severity or category keys.
NoticeSeverity DefaultUserNoticeSeverity();

// "Bug Risk", "Complexity", "Clarity", "Compatibility", "Style".
const char* CategoryName(NoticeCategory category);
// "note", "warning", "error".
const char* SarifLevelName(SarifLevel level);
// "info", "minor", "major", "critical", "blocker".
const char* GitlabSeverityName(GitlabSeverity severity);
// The SARIF level that goes with a GitLab severity: note up to minor,
// warning for major, error above.
SarifLevel LevelForSeverity(GitlabSeverity severity);

// Reads a category or severity name as written in a rule block (any case;
// "bug risk" and "bugrisk" alike). False for an unknown name.
bool ParseCategory(std::string_view text, NoticeCategory& out);
bool ParseGitlabSeverity(std::string_view text, GitlabSeverity& out);
