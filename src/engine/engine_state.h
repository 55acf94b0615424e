// The lexical state carried from line to line and the per-line text buffers.
#pragma once

#include <cstddef>
#include <cstring>

#include "common/text.h"
#include "engine/complexity.h"
#include "engine/counters.h"
#include "notices/inline_check_state.h"

// A fixed text buffer with its fill index; appending beyond 2047 characters
// is dropped, so the line loop never allocates.
struct LineText {
  // Only the text before the terminator is ever read: a fresh buffer is not
  // cleared (the engine state is made anew for every file).
  LineText() { text[0] = '\0'; }
  char text[kTextBuf];
  int len = 0;
  void Clear() { text[0] = '\0'; len = 0; }
  void Append(char c) {
    if (len < static_cast<int>(kTextMax)) { text[len++] = c; text[len] = '\0'; }
  }
  void Append(const char* p, int n) {
    if (n > static_cast<int>(kTextMax) - len) n = static_cast<int>(kTextMax) - len;
    if (n <= 0) return;
    for (int k = 0; k < n; ++k) text[len + k] = p[k];
    len += n;
    text[len] = '\0';
  }
};

struct LexState {
  int in_c_comment = 0;
  int c_comment_line = 0;
  int c_comment_col = 0;
  int in_cpp_comment = 0;
  int cpp_comment_col = 0;
  int in_string = 0;
  int in_char = 0;
  int line_continued = 0;
  int preproc_flag = 0;
  int define_flag = 0;
  int error_directive = 0;
  int if_directive = 0;
  int region_flag = 0;
  int macro_function = 0;
  int first_line = 1;
  int comment_pending = 0;
  int function_scope = 0;
  int paren_depth = 0;
  int bracket_depth = 0;
  int quote_count = 0;
  LineText estring;  // string and comment extraction (esi is estring.len)
  int estringStart = 0;  // where the open string's text begins in estring
};

struct EngineState {
  FileCounts fc;
  LexState lex;
  FunctionCounts func;    // the open function's decision and return points
  FileComplexity fileCx;  // sums and maxima over the file's functions
  SwitchStack switches;   // the open switch statements
  ConditionState cond;    // open if/while conditions and delegate statements
  InlineCheckState checks;  // the in-line quality checks across lines
  // Every scanned character goes to exactly one of these (cleared each line).
  LineText codeText;
  LineText stringText;
  LineText commentText;
  // The last line that held code; function and class recognition look back at it.
  LineText lastCodeLine;
  int lastCodeLineNumber = 0;
  // Number of enum bodies open: the brace of an enum body does not change the
  // scope depth.
  int enumBodyOpen = 0;
  int enumPending = 0;     // an enum keyword waits for its body brace (2: already counted)
  // Second one-line flag cleared by the driver after every line (with region_flag).
  int oneLineFlag = 0;
  int assignment_flag = 0;    // an assignment is open from its = to its ;
  // paren_depth at the '=': an assignment inside parentheses (a default
  // argument, an annotation value, a for header) ends with them.
  int assignmentParenDepth = 0;
  int using_flag = 0;         // the keyword using was seen in the statement (C++ and C#)
  int key_found = 0;
  // Fill codeText, stringText and commentText: only the debug trace and the
  // user defined notices read them, so plain runs skip the copying.
  int keepContextText = 0;
  int attributeBracket = 0;   // a [ attribute ] is open outside classes and function names
  int newInStatement = 0;     // a new was seen in the statement: its { does not deepen the scope
  // characters and whitespace before the current line: a body is measured
  // from the start of its brace line.
  int lineStartCharacters = 0;
  int lineStartWhitespace = 0;
  // The line type code of the last line ('B', 'C', 'N', 'G', 'L', 'n', 'g', 'l' or ' ').
  char lineType = ' ';
};

// Per-line flags of one ParseLine call.
struct LineFlags {
  int blank = 1;
  int loc = 0;
  int non_effective = 0;
  int logical = 0;
  int c_comment = 0;        // the line holds block-comment text
  int first_code_col = -1;  // index of the first non-blank character
  char last_char = ' ';     // the last non-blank character seen
};

struct GlobalData;
struct LanguageState;
// Classifies one line and counts its elements. A null line only clears
// comment_pending and the comment run.
void ParseLine(const char* line, int lineNumber, GlobalData& gcd);
// Clears the per-file state before the first line of a file.
void ResetState(GlobalData& gcd);
// The language group of the current file's language flags.
LanguageGroup FileLanguageGroup(const LanguageState& lang);
// Adds a file's counters into the project and the language group's totals.
void AddTotal(const FileCounts& fc, LanguageGroup group, GlobalData& gcd);
// Copies the project totals over the file counters for the project reports.
void SetTotal(GlobalData& gcd);
// The line type code for the given per-line flags.
char LineTypeCode(int blank, int loc, int nonEffective, int logical, int comment);
