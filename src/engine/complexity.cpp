// Decision and return points of the open function, logical operators,
// comparisons, the stack of open switches and the cyclomatic complexity.
#include "engine/complexity.h"

#include <cstring>

#include "common/gcd.h"
#include "engine/keywords.h"

namespace {

bool InFunctionBody(const GlobalData& gcd) { return gcd.eng.lex.function_scope > 0 && gcd.st.funcname_flag; }

// True when the rest of the line holds the letters "if" anywhere: an else
// whose line goes on with if is no else decision ("else x = diff;" neither).
bool RestHoldsIf(const char* p) {
  for (; *p != '\0' && *p != '\n'; ++p)
    if (p[0] == 'i' && p[1] == 'f') return true;
  return false;
}

void PushSwitch(GlobalData& gcd) {
  SwitchStack& sw = gcd.eng.switches;
  sw.switch_scope = gcd.eng.lex.function_scope;
  ++sw.switch_depth;
  // Deeper switches are counted in the depth but their scope is not saved.
  if (sw.switch_depth <= kMaxSavedSwitches) sw.saved[sw.switch_depth - 1] = sw.switch_scope;
}

// A comparison of an if or while condition: <, >, ==, !=, <=, >= (shifts,
// shift assignments and -> are none).
bool IsComparisonAt(const char* line, int i) {
  const char c = line[i];
  const char prev = i > 0 ? line[i - 1] : '\0';
  const char next = line[i + 1];
  switch (c) {
    case '=':
      if (next == '=') return prev != '=' && prev != '!' && prev != '<' && prev != '>';
      if (prev == '!') return true;
      if (prev == '<' || prev == '>') return i < 2 || line[i - 2] != prev;
      return false;
    case '<':
      return next != '<' && next != '=' && prev != '<';
    case '>':
      return next != '>' && next != '=' && prev != '>' && prev != '-';
    default:
      return false;
  }
}

void Assignment(const char* line, int i, GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  const char prev = i > 0 ? line[i - 1] : '\0';
  const char next = line[i + 1];
  if (next == '=' || prev == '=' || prev == '!' || prev == '<' || prev == '>') return;
  if (next == '>') return;  // the => of a lambda or an expression body
  if (eng.lex.preproc_flag || eng.assignment_flag || gcd.st.templateDepth > 0) return;
  if (IsOperatorName(line, i)) return;
  eng.assignment_flag = 1;
  eng.assignmentParenDepth = eng.lex.paren_depth;
}

}  // namespace

bool IsOperatorName(const char* line, int i) {
  int j = i - 1;
  while (j >= 0 && std::strchr("+-*/%^&|<>!~= \t", line[j]) != nullptr) --j;
  return j >= 7 && std::strncmp(line + j - 7, "operator", 8) == 0;
}

int GetCycloComplexity(const GlobalData& gcd) {
  const Config& cfg = gcd.cfg;
  const FunctionCounts& f = gcd.eng.func;
  int v = 0;
  if (cfg.cycloFunctionCall) v += 1;
  if (cfg.cycloWhile) v += f.while_count;
  if (cfg.cycloFor) v += f.for_count;
  if (cfg.cycloSwitch) v += f.switch_count;
  if (cfg.cycloCase) v += f.case_count;
  if (cfg.cycloIf) v += f.if_count;
  if (cfg.cycloElse) v += f.else_count;
  if (cfg.cycloInlineIf) v += f.ternary_count;
  if (cfg.cycloGoto) v += f.goto_count;
  if (cfg.cycloOr) v += f.or_count;
  if (cfg.cycloAnd) v += f.and_count;
  return v;
}

void CountDecisionKeyword(KeywordAction action, const char* line, int pos, GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  FunctionCounts& f = eng.func;
  ConditionState& cond = eng.cond;
  const bool preproc = eng.lex.preproc_flag != 0;
  switch (action) {
    case KeywordAction::If:
      if (!preproc) ++f.if_count;
      cond.if_condition = 1;
      cond.ifParenDepth = eng.lex.paren_depth;
      break;
    case KeywordAction::Else:
      if (!preproc && !RestHoldsIf(line + pos)) ++f.else_count;
      break;
    case KeywordAction::While:
      ++f.while_count;
      cond.while_condition = 1;
      cond.whileParenDepth = eng.lex.paren_depth;
      break;
    case KeywordAction::For:
      ++f.for_count;
      break;
    case KeywordAction::Switch:
      ++f.switch_count;
      PushSwitch(gcd);
      break;
    case KeywordAction::Case:
      ++f.case_count;
      break;
    case KeywordAction::Default:
      ++f.default_count;
      break;
    case KeywordAction::Break:
      ++f.break_count;
      break;
    case KeywordAction::Goto:
      ++f.goto_count;
      if (gcd.cfg.gotoIsReturnPoint) ++f.return_points;
      break;
    case KeywordAction::Return:
    case KeywordAction::Exit:
      ++f.return_points;
      break;
    case KeywordAction::Throw:
      if (gcd.lang.isC && !gcd.lang.isCpp) ++f.return_points;
      break;
    case KeywordAction::And:
      ++f.logic_ops;
      ++f.and_count;
      break;
    case KeywordAction::Or:
      ++f.logic_ops;
      ++f.or_count;
      break;
    case KeywordAction::Delegate:
      if (gcd.lang.isCSharp) cond.delegateInStatement = 1;
      break;
    default:
      break;
  }
}

void CountOperatorChar(const char* line, int i, GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  FunctionCounts& f = eng.func;
  const char c = line[i];
  switch (c) {
    case '&':
    case '|':
      // Counted at the first character of the pair, inside a function body only.
      if (line[i + 1] == c && (i == 0 || line[i - 1] != c) && InFunctionBody(gcd)) {
        ++f.logic_ops;
        ++(c == '&' ? f.and_count : f.or_count);
      }
      return;
    case '?':
      if (i == 0 || line[i - 1] != '?') ++f.ternary_count;  // ?? counts once
      return;
    case '=':
      if ((eng.cond.if_condition || eng.cond.while_condition) && IsComparisonAt(line, i)) ++f.comparisons;
      Assignment(line, i, gcd);
      return;
    case '<':
    case '>':
      if ((eng.cond.if_condition || eng.cond.while_condition) && IsComparisonAt(line, i)) ++f.comparisons;
      return;
    default:
      return;
  }
}

void CloseConditions(GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  ConditionState& cond = eng.cond;
  const int depth = eng.lex.paren_depth;
  if (cond.if_condition && depth <= cond.ifParenDepth) cond.if_condition = 0;
  if (cond.while_condition && depth <= cond.whileParenDepth) cond.while_condition = 0;
  if (eng.assignment_flag && depth < eng.assignmentParenDepth) eng.assignment_flag = 0;
}

void PopSwitchAtBrace(GlobalData& gcd) {
  SwitchStack& sw = gcd.eng.switches;
  if (sw.switch_depth <= 0 || sw.switch_scope != gcd.eng.lex.function_scope) return;
  --sw.switch_depth;
  // The enclosing switch's scope, when it was saved; switches beyond the
  // saved ones keep the deepest saved scope.
  if (sw.switch_depth == 0)
    sw.switch_scope = 0;
  else
    sw.switch_scope = sw.saved[(sw.switch_depth <= kMaxSavedSwitches ? sw.switch_depth : kMaxSavedSwitches) - 1];
}

void EndStatementFlags(GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  eng.assignment_flag = 0;
  eng.newInStatement = 0;
  eng.using_flag = 0;
  eng.cond.delegateInStatement = 0;
}
