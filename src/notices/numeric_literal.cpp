// Assignments: the '=' within if and while conditions (4, 5) and a variable
// assigned a literal number (50).
#include <cstring>

#include "common/gcd.h"
#include "engine/complexity.h"
#include "engine/lexical.h"
#include "notices/emitters.h"
#include "notices/inline_internal.h"
#include "notices/notice_emit.h"

namespace {

// The literal tests on the value that starts at index p: a number, a cast
// "(type) number", or in C++ a template cast "name<type>(number)".
void TestAssignedValue(const char* line, int p, int lineNumber, GlobalData& gcd) {
  const char c = line[p];
  if (IsDigitChar(c)) {
    EmitNumericAssignment(line + p, lineNumber, gcd);
    return;
  }
  if (c == '(') {
    const char* close = std::strchr(line + p, ')');
    if (close == nullptr) return;
    const int q = NextCodeIndex(line, static_cast<int>(close - line));
    if (q >= 0 && IsDigitChar(line[q])) EmitNumericAssignment(line + q, lineNumber, gcd);
    return;
  }
  if (!gcd.lang.isCpp || !isfirstchar(c)) return;
  int k = p;
  while (isfirstchar(line[k]) || IsDigitChar(line[k]) || line[k] == ':') ++k;
  while (line[k] == ' ' || line[k] == '\t') ++k;
  if (line[k] != '<') return;
  int depth = 0;
  for (; !IsLineEndChar(line[k]); ++k) {
    if (line[k] == '<') ++depth;
    else if (line[k] == '>' && --depth == 0) break;
  }
  if (depth != 0) return;
  const int open = NextCodeIndex(line, k);
  if (open < 0 || line[open] != '(') return;
  const int q = NextCodeIndex(line, open);
  if (q >= 0 && IsDigitChar(line[q])) EmitNumericAssignment(line + q, lineNumber, gcd);
}

// No literal notice in an enum body, after const in the statement, or in a
// virtual declaration of a class (a pure virtual "= 0").
bool LiteralExcluded(const GlobalData& gcd) {
  const InlineCheckState& st = gcd.eng.checks;
  return gcd.eng.enumBodyOpen || st.const_flag || st.virtual_flag;
}

}  // namespace

void AssignmentChecks(const char* line, int i, int lineNumber, GlobalData& gcd) {
  const char before = i > 0 ? line[i - 1] : '\0';
  const char after = line[i + 1];
  // Comparisons, and the => of a lambda, are no assignments.
  if (before == '=' || before == '!' || before == '<' || before == '>' || after == '=' || after == '>') return;
  if (IsOperatorName(line, i)) return;
  const ConditionState& cond = gcd.eng.cond;
  if (cond.if_condition) RaiseNotice(4, lineNumber, {}, gcd);
  else if (cond.while_condition) RaiseNotice(5, lineNumber, {}, gcd);
  // Every other '=' outside a directive assigns a value, template parameter
  // defaults included (the engine's assignment_flag leaves those out).
  if (gcd.eng.lex.preproc_flag || LiteralExcluded(gcd) || !NoticeOn(50, gcd)) return;
  InlineCheckState& st = gcd.eng.checks;
  const int p = NextCodeIndex(line, i);
  if (p < 0) {
    st.assignment_line = lineNumber;
    return;
  }
  TestAssignedValue(line, p, lineNumber, gcd);
}

void AssignedValueOnLaterLine(const char* line, int i, int lineNumber, GlobalData& gcd) {
  InlineCheckState& st = gcd.eng.checks;
  if (lineNumber <= st.assignment_line) return;
  st.assignment_line = 0;
  if (!LiteralExcluded(gcd)) TestAssignedValue(line, i, lineNumber, gcd);
}
