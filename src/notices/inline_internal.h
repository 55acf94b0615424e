// Pieces of the in-line checks shared between their files.
#pragma once

struct GlobalData;

inline bool IsLineEndChar(char c) { return c == '\n' || c == '\r' || c == '\0'; }
inline bool IsCommentOpen(const char* p) { return p[0] == '/' && (p[1] == '/' || p[1] == '*'); }
inline bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// The index of the next code character after index i (blanks, tabs and block
// comments skipped), or -1 when the line ends first (a // comment ends it).
int NextCodeIndex(const char* line, int i);

// Keywords (inline_keywords.cpp): the letter at i may start one.
void KeywordChecks(const char* line, int i, int lineNumber, GlobalData& gcd);
// The statement flags end at ';' and at braces.
void ClearStatementFlags(GlobalData& gcd);

// Numeric literals (numeric_literal.cpp).
void AssignmentChecks(const char* line, int i, int lineNumber, GlobalData& gcd);
// The value of a pending assignment starts at index i of a later line.
void AssignedValueOnLaterLine(const char* line, int i, int lineNumber, GlobalData& gcd);

// Unbound scope (scope_check.cpp); all of it only with function analysis on.
void ScopeConditionKeyword(int keyword, int lineNumber, GlobalData& gcd);  // if, for, while
void ScopeBodyKeyword(int keyword, const char* line, int pos, int lineNumber, GlobalData& gcd);  // else, do
void ScopeCloseParen(const char* line, int i, int lineNumber, GlobalData& gcd);
void ScopeOpenBrace(GlobalData& gcd);
void ScopeNextLine(const char* line, int i, int lineNumber, GlobalData& gcd);
