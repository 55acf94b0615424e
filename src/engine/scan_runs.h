// The character tables of the line scan and the skipping of runs between
// the characters that can change something: runs of code, with their blanks
// and tabs counted and the keyword starts and rare stops tested where they
// stand, and the text of comments, strings and character literals. Used by
// ParseLine (parse_line.cpp) only.
#pragma once

#include "common/gcd.h"
#include "engine/keywords.h"
#include "engine/line_scan.h"
#include "engine/plain_run.h"
#include "notices/inline_checks.h"
#include "structure/structure_events.h"

namespace scan_runs {

// Characters that mean something as code: punctuation of the dispatch and
// the initial letters of keywords, and with the in-line checks on their
// punctuation and initials too.
struct CodeCharacterTable {
  bool is[256] = {};
  explicit CodeCharacterTable(bool checks) {
    for (const char* p = "#(){}[];&|?<>=,:"; *p; ++p) is[static_cast<unsigned char>(*p)] = true;
    for (const KeywordInfo& kw : kKeywords) is[static_cast<unsigned char>(kw.word[0])] = true;
    if (!checks) return;
    for (const char* p = InlineCheckCharacters(); *p; ++p) is[static_cast<unsigned char>(*p)] = true;
  }
  bool operator[](unsigned char c) const { return is[c]; }
};
inline const CodeCharacterTable kCodeCharacter(true);
inline const CodeCharacterTable kCodeCharacterNoChecks(false);

// For each lexical context, the characters that can change anything once a
// line is known to be non-blank and its LOC flag is decided. Runs of other
// characters change nothing, so the scan skips them in one go; blanks and
// tabs inside a run are counted on the way.
enum RunByte : unsigned char { kInert = 0, kBlank = 1, kTab = 2, kStop = 3 };
struct StopTable {
  unsigned char kind[256] = {};
  explicit StopTable(const char* stops) {
    for (const char* p = stops; *p; ++p) kind[static_cast<unsigned char>(*p)] = kStop;
    kind[static_cast<unsigned char>('\r')] = kind[static_cast<unsigned char>('\n')] = kStop;
    kind[0] = kStop;  // the terminator: no character before len is one
    kind[static_cast<unsigned char>(' ')] = kBlank;
    kind[static_cast<unsigned char>('\t')] = kTab;
  }
};
// In code: the lexical characters, the punctuation of the dispatch and of the
// in-line checks, and every character that may stand before a keyword. A
// letter inside a run therefore follows a non-lead character and cannot start
// a keyword. Without the in-line checks their punctuation "-+." is inert.
inline const StopTable kStopCode("\"'*/#(){}[];=:~&|?<>,-+.");
inline const StopTable kStopCodeNoChecks("\"'*/#(){}[];=:~&|?<>,");
inline const StopTable kStopBlockComment("*");
inline const StopTable kStopLineComment("");
inline const StopTable kStopString("\"");
inline const StopTable kStopCharLiteral("'");

// The characters the lexical switch of the scan acts on.
struct LexicalCharacterTable {
  bool is[256] = {};
  LexicalCharacterTable() {
    for (const char* p = " \t\"'*/"; *p; ++p) is[static_cast<unsigned char>(*p)] = true;
  }
  bool operator[](unsigned char c) const { return is[c]; }
};
inline const LexicalCharacterTable kLexicalCharacter;

inline const StopTable& StopsFor(const LexState& lex, const StopTable& code) {
  if (lex.in_c_comment) return kStopBlockComment;
  if (lex.in_cpp_comment) return kStopLineComment;
  if (lex.in_string) return kStopString;
  if (lex.in_char) return kStopCharLiteral;
  return code;
}


inline bool InsideCode(const LexState& lex) {
  return (lex.in_c_comment | lex.in_cpp_comment | lex.in_string | lex.in_char) == 0;
}

// The lexical context of the scan, in the order the lexical flags are tested.
enum class Context : unsigned char { Code, BlockComment, LineComment, String, CharLiteral };

inline Context ContextOf(const LexState& lex) {
  if (lex.in_c_comment) return Context::BlockComment;
  if (lex.in_cpp_comment) return Context::LineComment;
  if (lex.in_string) return Context::String;
  if (lex.in_char) return Context::CharLiteral;
  return Context::Code;
}

inline bool IsComment(Context ctx) { return ctx == Context::BlockComment || ctx == Context::LineComment; }

// The stops of a comment, string or character literal, and the character
// that may close it (none for a // comment: the NUL stands in, which ends
// every run anyway).
inline const StopTable& PlainStops(Context ctx) {
  switch (ctx) {
    case Context::BlockComment: return kStopBlockComment;
    case Context::LineComment: return kStopLineComment;
    case Context::String: return kStopString;
    default: return kStopCharLiteral;
  }
}
inline unsigned char PlainCloser(Context ctx) {
  switch (ctx) {
    case Context::BlockComment: return '*';
    case Context::LineComment: return 0;
    case Context::String: return '"';
    default: return '\'';
  }
}

// An inert code character at j where a keyword may start: true when the scan
// must stop there because the character means something to the dispatch (a
// keyword of the catalogue is spelled there) or to the in-line checks. Any
// other such character changes nothing, and the run goes on over it.
template <bool kChecks>
bool LeadCharacterMatters(const char* line, int j, int len) {
  const auto c = static_cast<unsigned char>(line[j]);
  if (!(kChecks ? kCodeCharacter : kCodeCharacterNoChecks)[c]) return false;
  if (((c >= 'a' && c <= 'z') || c == '_') && CatalogueWordAt(line, j, len)) return true;
  return kChecks && kInlineCheckFilter.Wanted(line, j);
}

// The stops of code in the lean scan: those of the code table, of which some
// matter only now and then (kSoft): a '*' or '~' never (in code a '*' closes
// no comment), '/' only before '*' or '/', '-' and '+' only after the same
// sign and '.' only before another (the in-line checks), '&' and '|' only
// doubled, ',' and ':' only while structure recognition reads them, '<' and
// '>' also while a condition is open.
constexpr unsigned char kSoft = 4;
struct LeanCodeTable {
  unsigned char kind[256] = {};
  LeanCodeTable(const StopTable& code, const char* soft) {
    for (int c = 0; c < 256; ++c) kind[c] = code.kind[c];
    for (const char* p = soft; *p; ++p) kind[static_cast<unsigned char>(*p)] = kSoft;
  }
};
inline const LeanCodeTable kLeanCode(kStopCode, "*~/-+.&|,:<>");
inline const LeanCodeTable kLeanCodeNoChecks(kStopCodeNoChecks, "*~/&|,:<>");

// True when the scan must stop at the soft stop at j.
[[gnu::always_inline]] inline bool SoftStopMatters(const char* line, int j, const GlobalData& gcd) {
  const char c = line[j];
  switch (c) {
    case '/':
      return line[j + 1] == '*' || line[j + 1] == '/';
    case '-':
    case '+':
      return j > 0 && line[j - 1] == c;
    case '.':
      return line[j + 1] == '.';
    case '&':
    case '|':
      return line[j + 1] == c;
    case ',':
    case ':':
      return StructureCodeCharMatters(gcd.st);
    case '<':
    case '>':
      return gcd.eng.cond.if_condition || gcd.eng.cond.while_condition || StructureCodeCharMatters(gcd.st);
    default:
      return false;
  }
}

// From j on, passes over code that changes nothing but the white space
// (counted on the way, a tab raising its notice); returns the index of the
// next character the scan must look at.
template <bool kChecks>
[[gnu::always_inline]] inline int SkipCodeRun(const LineScan& s, int j, GlobalData& gcd) {
  const LeanCodeTable& stops = kChecks ? kLeanCode : kLeanCodeNoChecks;
  const char* line = s.line;
  const int len = s.len;
  while (j < len) {
    if (IsWordByte(static_cast<unsigned char>(line[j]))) j = SkipWordRun(line, j, s.readable);
    if (s.endsInText) {
      while (stops.kind[static_cast<unsigned char>(line[j])] == kInert) ++j;
      if (j >= len) break;
    }
    const unsigned char kind = stops.kind[static_cast<unsigned char>(line[j])];
    if (kind == kInert) {
      ++j;
      continue;
    }
    if (kind == kStop) break;
    if (kind == kSoft) {
      if (SoftStopMatters(line, j, gcd)) break;
    } else if (kind == kTab) {
      gcd.eng.fc.whitespace += gcd.cfg.tabSize;
      if (kChecks && !gcd.eng.lex.in_string) TabNotice(s.lineNumber, gcd);
    } else {
      gcd.eng.fc.whitespace += 1;
    }
    ++j;
    // A keyword may start after a blank, a tab or a ':'.
    if (j < len) {
      const auto next = static_cast<unsigned char>(line[j]);
      if (stops.kind[next] == kInert && IsKeywordLead(next, static_cast<unsigned char>(line[j - 1])) &&
          LeadCharacterMatters<kChecks>(line, j, len))
        break;
    }
  }
  return j;
}

// From j on, passes over the text of a comment, string or character literal
// up to the next character that may close it or end the line, counting its
// blanks and tabs (a tab outside a string raises its notice).
inline int SkipPlainText(const LineScan& s, int j, Context ctx, GlobalData& gcd) {
  const StopTable& stops = PlainStops(ctx);
  const unsigned char closer = PlainCloser(ctx);
  const char* line = s.line;
  const int len = s.len;
  while (j < len) {
    j = SkipPlainRun(line, j, s.readable, closer, &gcd.eng.fc.whitespace);
    if (s.endsInText) {
      while (stops.kind[static_cast<unsigned char>(line[j])] == kInert) ++j;
      if (j >= len) break;
    }
    const unsigned char kind = stops.kind[static_cast<unsigned char>(line[j])];
    if (kind == kInert) {
      ++j;
      continue;
    }
    if (kind == kStop) break;
    if (kind == kTab) {
      gcd.eng.fc.whitespace += gcd.cfg.tabSize;
      if (s.checks && !gcd.eng.lex.in_string) TabNotice(s.lineNumber, gcd);
    } else {
      gcd.eng.fc.whitespace += 1;
    }
    ++j;
  }
  return j;
}

}  // namespace scan_runs
