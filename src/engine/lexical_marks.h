// The characters that change the lexical state of a line: the quotes that
// open and close strings and character literals, the marks that open and
// close comments, and the first characters that make a line non-blank and
// LOC. Shared by both scans of ParseLine (parse_line.cpp) and used there
// only.
#pragma once

#include "common/gcd.h"
#include "engine/line_scan.h"
#include "notices/inline_checks.h"
#include "utilities/extraction.h"

namespace lexical_marks {

// Counts a backslash run ending just before i.
inline int BackslashesBefore(const char* line, int i) {
  int n = 0;
  while (i - 1 - n >= 0 && line[i - 1 - n] == '\\') ++n;
  return n;
}

inline void DoubleQuote(const LineScan& s, int i, GlobalData& gcd) {
  LexState& lex = gcd.eng.lex;
  if (lex.in_c_comment || lex.in_cpp_comment || lex.in_char) return;
  // An #error text is prose: its quotes open no string.
  if (lex.error_directive && !lex.in_string) return;
  const char* line = s.line;
  if (BackslashesBefore(line, i) % 2 == 1) {
    // A C# verbatim string holding a single backslash: @"\" closes here.
    if (i >= 3 && line[i - 3] == '@' && line[i - 2] == '"' && line[i - 1] == '\\') {
      ++gcd.eng.fc.strings;
      lex.in_string = 0;
      if (gcd.sw.extractStrings) ExtractStringEnd(s.lineNumber, gcd);
    }
    return;
  }
  ++lex.quote_count;
  if (lex.in_string) {
    ++gcd.eng.fc.strings;
    lex.in_string = 0;
    if (gcd.sw.extractStrings) ExtractStringEnd(s.lineNumber, gcd);
  } else {
    lex.in_string = 1;
    lex.estringStart = lex.estring.len;
  }
}

inline void SingleQuote(const LineScan& s, int i, GlobalData& gcd) {
  LexState& lex = gcd.eng.lex;
  if (lex.in_c_comment || lex.in_cpp_comment || lex.in_string) return;
  // Apostrophes in #error prose are no character literals.
  if (lex.error_directive) return;
  if (BackslashesBefore(s.line, i) % 2 == 1) return;
  lex.in_char = !lex.in_char;
}

inline void Slash(LineScan& s, int i, GlobalData& gcd) {
  LexState& lex = gcd.eng.lex;
  if (lex.in_string || lex.in_c_comment || lex.in_cpp_comment || lex.in_char) return;
  char next = s.line[i + 1];
  if (next == '*') {
    lex.in_c_comment = 1;
    lex.c_comment_line = s.lineNumber;
    lex.c_comment_col = i + 1;
    s.flags.c_comment = 1;
  } else if (next == '/' && (i == 0 || s.line[i - 1] != '*')) {
    lex.in_cpp_comment = 1;
    lex.cpp_comment_col = i + 1;
  }
}

inline void Star(LineScan& s, int i, GlobalData& gcd) {
  LexState& lex = gcd.eng.lex;
  if (!lex.in_c_comment || s.line[i + 1] != '/') return;
  if (lex.c_comment_line == s.lineNumber && lex.c_comment_col == i) return;  // the '*' of the opening "/*"
  lex.in_c_comment = 0;
  s.flags.c_comment = 1;
}

// The first characters of a line: the first that is no blank ends the
// blank line, the first outside a comment that is no '/' makes it LOC.
[[gnu::always_inline]] inline void FirstCharacters(LineScan& s, int i, char c, bool inComment, bool checks,
                                                    GlobalData& gcd) {
  LineFlags& f = s.flags;
  if (f.blank && static_cast<signed char>(c) > 32) {
    f.first_code_col = i;
    f.blank = 0;
  }
  if (!f.blank && !inComment && static_cast<signed char>(c) > 32 && c != '/') {
    f.loc = 1;
    if (checks) FirstCodeCharacter(s.line, i, s.lineNumber, gcd);
  }
}

// The characters that change the lexical state (quotes, comment marks) or
// count as white space.
[[gnu::always_inline]] inline void LexicalCharacter(LineScan& s, int i, char c, bool checks, GlobalData& gcd) {
  switch (c) {
    case '\t':
      gcd.eng.fc.whitespace += gcd.cfg.tabSize;
      if (checks && !gcd.eng.lex.in_string) TabNotice(s.lineNumber, gcd);
      break;
    case ' ':
      gcd.eng.fc.whitespace += 1;
      break;
    case '"':
      DoubleQuote(s, i, gcd);
      break;
    case '\'':
      SingleQuote(s, i, gcd);
      break;
    case '*':
      Star(s, i, gcd);
      break;
    case '/':
      Slash(s, i, gcd);
      break;
    default:
      break;
  }
}

}  // namespace lexical_marks
