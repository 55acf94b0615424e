// State of the in-line quality checks across the lines of a file; part of the
// engine state, so ResetState clears it for every file.
#pragma once

#include "common/text.h"

// The keywords whose braces the unbound-scope check waits for; the values
// index the names "do", "else", "for", "if", "while".
enum ScopeKeyword : int { kScopeNone = 0, kScopeDo = 1, kScopeElse = 2, kScopeFor = 3, kScopeIf = 4, kScopeWhile = 5 };

struct InlineCheckState {
  int assignment_line = 0;   // an assignment whose value starts on a later line
  // Unbound scope: the keyword waiting for its braces, its line, the depth at
  // the keyword, and whether its condition is still open.
  int scope_check = kScopeNone;
  int scope_check_line = 0;
  int scope_check_parens = 0;
  int scope_condition_open = 0;
  int last_was_break = 0;    // a break and no case, default, if or '}' since
  int catch_parens = 0;      // catch ( ... ) until its ')'
  // Statement flags, cleared at the statement's ';' (and at braces).
  int friend_flag = 0;
  int friend_class = 0;
  int using_reported = 0;    // notice 32 raised for this statement already
  int const_flag = 0;
  int final_flag = 0;        // a Java final: the statement declares a constant
  int virtual_flag = 0;
  char friendName[kTextBuf] = {};
};
