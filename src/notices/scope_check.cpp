// Unbound scope (22): an if, else, for, while or do whose body is not put in
// braces. The keyword waits for the end of its condition; the character
// after it, or else the first code character of a later line, decides.
#include <cstring>

#include "common/gcd.h"
#include "engine/lexical.h"
#include "notices/emitters.h"
#include "notices/inline_internal.h"

namespace {

void Clear(InlineCheckState& st) {
  st.scope_check = kScopeNone;
  st.scope_condition_open = 0;
}

// "if" followed by '(', a blank, a tab or the line end anywhere on the line:
// an else whose if stands on the next line.
bool LineHasIf(const char* line) {
  for (const char* p = std::strstr(line, "if"); p != nullptr; p = std::strstr(p + 1, "if")) {
    const char next = p[2];
    if (next == '(' || next == ' ' || next == '\t' || IsLineEndChar(next)) return true;
  }
  return false;
}

}  // namespace

void ScopeConditionKeyword(int keyword, int lineNumber, GlobalData& gcd) {
  InlineCheckState& st = gcd.eng.checks;
  st.scope_check = keyword;
  st.scope_check_line = lineNumber;
  st.scope_check_parens = gcd.eng.lex.paren_depth;
  st.scope_condition_open = 1;
}

void ScopeBodyKeyword(int keyword, const char* line, int pos, int lineNumber, GlobalData& gcd) {
  InlineCheckState& st = gcd.eng.checks;
  Clear(st);
  const int next = NextCodeIndex(line, pos - 1);
  if (next >= 0 && line[next] == '{') return;
  if (keyword == kScopeElse && std::strstr(line + pos, "if") != nullptr) return;
  if (next >= 0) {  // the body follows on the keyword's own line
    EmitScopeError(keyword, lineNumber, gcd);
    return;
  }
  st.scope_check = keyword;
  st.scope_check_line = lineNumber;
}

void ScopeCloseParen(const char* line, int i, int lineNumber, GlobalData& gcd) {
  InlineCheckState& st = gcd.eng.checks;
  if (st.scope_check == kScopeNone || !st.scope_condition_open) return;
  if (gcd.eng.lex.paren_depth > st.scope_check_parens) return;
  st.scope_condition_open = 0;
  const int next = NextCodeIndex(line, i);
  const char c = next >= 0 ? line[next] : '\n';
  // A while followed by ';' ends a do ... while.
  if (c == '{' || (st.scope_check == kScopeWhile && c == ';')) {
    Clear(st);
    return;
  }
  st.scope_check_line = lineNumber;
}

void ScopeOpenBrace(GlobalData& gcd) {
  InlineCheckState& st = gcd.eng.checks;
  if (!st.scope_condition_open) Clear(st);
}

void ScopeNextLine(const char* line, int i, int lineNumber, GlobalData& gcd) {
  InlineCheckState& st = gcd.eng.checks;
  if (st.scope_check == kScopeNone || st.scope_condition_open || lineNumber <= st.scope_check_line) return;
  if (st.scope_check == kScopeElse && LineHasIf(line)) {
    Clear(st);
    return;
  }
  const FileCounts& fc = gcd.eng.fc;
  if (fc.parenOpen != fc.parenClose) return;
  // A brace further on the line opens the body and clears the check there.
  if (FindCodeChar(line + i, '{')) return;
  if (gcd.eng.lex.function_scope > 0) EmitScopeError(st.scope_check, st.scope_check_line, gcd);
  Clear(st);
}
