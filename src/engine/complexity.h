// Decision, return and memory counters of the open function, the per-file
// sums and maxima over the file's functions, and the stack of open switches.
#pragma once

// Counters of the function whose body is open; zeroed when a body opens and
// by ResetState.
struct FunctionCounts {
  int if_count = 0;
  int else_count = 0;
  int while_count = 0;
  int for_count = 0;
  int switch_count = 0;
  int case_count = 0;
  int default_count = 0;
  int break_count = 0;
  int goto_count = 0;
  int ternary_count = 0;
  int or_count = 0;
  int and_count = 0;
  int logic_ops = 0;
  int comparisons = 0;
  int return_points = 0;
  int parameters = 0;
  int void_params = 0;
};

// Sums and maxima over the functions of the current file (zeroed by
// ResetState); the file function summary and the file record read them.
struct FileComplexity {
  int sumCyclomatic = 0;
  int maxCyclomatic = 0;
  int maxTotal = 0;  // maximum of cyclomatic + parameters + return points
  int sumParameters = 0;
  int sumReturns = 0;
  int maxParameters = 0;
  int maxReturns = 0;
  int sumLoc = 0, sumEloc = 0, sumLloc = 0, sumComments = 0;
  int maxLoc = 0, maxEloc = 0, maxLloc = 0;
};

inline constexpr int kMaxSavedSwitches = 32;

// The open switch statements: the scope depth of the innermost one and the
// saved scopes of the enclosing ones (deeper switches are counted, not saved).
struct SwitchStack {
  int switch_depth = 0;
  int switch_scope = 0;
  int saved[kMaxSavedSwitches] = {};
};

// The statement and condition state that decides what an operator counts:
// an if or while condition is open from its keyword to the ')' that brings
// the parenthesis depth back; a C# delegate runs to the ';' of its statement.
struct ConditionState {
  int if_condition = 0;
  int while_condition = 0;
  int ifParenDepth = 0;      // paren_depth at the if keyword
  int whileParenDepth = 0;   // paren_depth at the while keyword
  int delegateInStatement = 0;
};

enum class KeywordAction;
struct GlobalData;

// The cyclomatic complexity of the function whose counters are current: the
// sum of the counters whose "Include ... in cyclomatic complexity" key is Yes.
int GetCycloComplexity(const GlobalData& gcd);
// Interface complexity = parameters + return points; total = cyclomatic + interface.
inline int InterfaceComplexity(int parameters, int returns) { return parameters + returns; }
inline int TotalComplexity(int cyclomatic, int parameters, int returns) {
  return cyclomatic + parameters + returns;
}

// A decision or return keyword (if, else, while, for, switch, case, default,
// break, goto, return, exit, throw, and, or, delegate) whose word ends just
// before pos.
void CountDecisionKeyword(KeywordAction action, const char* line, int pos, GlobalData& gcd);
// The operator characters of code: && and || (at the first character of the
// pair), ? (?? once), the comparisons of if and while conditions, and the
// assignment '=' that opens assignment_flag.
void CountOperatorChar(const char* line, int i, GlobalData& gcd);
// True when the '=' at i belongs to an operator name (operator=, operator+=,
// operator<<=...): it is no assignment.
bool IsOperatorName(const char* line, int i);
// After a ')' has lowered paren_depth: ends the conditions and the
// parenthesised assignments it closes.
void CloseConditions(GlobalData& gcd);
// After a '}' has changed function_scope: pops the innermost switch when the
// brace closes its body.
void PopSwitchAtBrace(GlobalData& gcd);
// At a ';' in code: the statement-long flags end.
void EndStatementFlags(GlobalData& gcd);
