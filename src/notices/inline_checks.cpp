// The in-line checks on lines and single code characters.
#include "notices/inline_checks.h"

#include <cstring>

#include "common/gcd.h"
#include "engine/lexical.h"
#include "notices/emitters.h"
#include "notices/inline_internal.h"
#include "notices/notice_emit.h"
#include "notices/verbose_texts.h"

namespace {

// "--x" and "++x": the second sign of the pair, followed by the start of an
// identifier (6, 7).
void PrefixOperator(const char* line, int i, int lineNumber, GlobalData& gcd) {
  const char c = line[i];
  if (i == 0 || line[i - 1] != c || !isfirstchar(line[i + 1])) return;
  RaiseOptions options;
  options.variant = InMacroDefinition(gcd) ? kVariantMacro : kVariantPlain;
  RaiseNotice(c == '-' ? 6 : 7, lineNumber, {}, gcd, options);
}

// Each '?' of code, "??" once, none inside a function-like macro (23). A '?'
// right after '<' or ',' is the wildcard of a generic type argument
// (Class<?>, Map<K, ? extends V>): no conditional can start there.
void QuestionMark(const char* line, int i, int lineNumber, GlobalData& gcd) {
  if (InMacroDefinition(gcd)) return;
  if (i > 0 && line[i - 1] == '?') return;
  int p = i - 1;
  while (p >= 0 && (line[p] == ' ' || line[p] == '\t')) --p;
  if (p >= 0 && (line[p] == '<' || line[p] == ',')) return;
  RaiseNotice(23, lineNumber, {}, gcd);
}

// A variable argument list "..." after a blank, tab, ',' or '(' and before a
// blank, tab or ')', except in catch (...); only when notices are listed (3).
void Ellipsis(const char* line, int i, int lineNumber, GlobalData& gcd) {
  if (i == 0 || line[i + 1] != '.' || line[i + 2] != '.') return;
  const char before = line[i - 1];
  const char after = line[i + 3];
  if (before != ' ' && before != '\t' && before != ',' && before != '(') return;
  if (after != ' ' && after != '\t' && after != ')') return;
  if (gcd.eng.checks.catch_parens || !NoticesShown(gcd)) return;
  RaiseNotice(3, lineNumber, {}, gcd);
}

void CloseParen(const char* line, int i, int lineNumber, GlobalData& gcd) {
  gcd.eng.checks.catch_parens = 0;
  if (gcd.sw.functionAnalysis) ScopeCloseParen(line, i, lineNumber, gcd);
}

// 15: a friend class declaration ends here (C++).
void Semicolon(int lineNumber, GlobalData& gcd) {
  InlineCheckState& st = gcd.eng.checks;
  if (st.friend_flag && st.friend_class && gcd.lang.isCpp) RaiseNotice(15, lineNumber, {st.friendName}, gcd);
  ClearStatementFlags(gcd);
  st.assignment_line = 0;
}

}  // namespace

int NextCodeIndex(const char* line, int i) {
  int p = i + 1;
  if (line[i] == '\0') return -1;
  for (;;) {
    while (line[p] == ' ' || line[p] == '\t') ++p;
    if (line[p] == '/' && line[p + 1] == '/') return -1;
    if (line[p] == '/' && line[p + 1] == '*') {
      const char* end = std::strstr(line + p, "*/");
      const char* lineEnd = std::strpbrk(line + p, "\n\r");
      if (end == nullptr || (lineEnd != nullptr && lineEnd < end)) return -1;
      p = static_cast<int>(end - line) + 2;
      continue;
    }
    return IsLineEndChar(line[p]) ? -1 : p;
  }
}

void ClearStatementFlags(GlobalData& gcd) {
  InlineCheckState& st = gcd.eng.checks;
  st.friend_flag = st.friend_class = 0;
  st.friendName[0] = '\0';
  st.using_reported = 0;
  st.const_flag = st.final_flag = st.virtual_flag = 0;
}


void LineStartChecks(const char* line, int len, int lineNumber, GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  const std::string& key = gcd.cfg.keyString;
  if (!eng.key_found && !key.empty() && std::strstr(line, key.c_str()) != nullptr) eng.key_found = 1;
  if (len > gcd.cfg.maxLineLength) EmitLineLengthNotice(len, lineNumber, gcd);
}

void TabNotice(int lineNumber, GlobalData& gcd) { RaiseNotice(30, lineNumber, {}, gcd); }

void TabNotices(int lineNumber, int count, GlobalData& gcd) { RaiseRepeatedNotice(30, lineNumber, count, gcd); }

void FirstCodeCharacter(const char* line, int i, int lineNumber, GlobalData& gcd) {
  const LexState& lex = gcd.eng.lex;
  if (gcd.lang.isOther || lex.in_string || lex.in_char) return;
  if (gcd.eng.checks.assignment_line != 0) AssignedValueOnLaterLine(line, i, lineNumber, gcd);
  if (gcd.sw.functionAnalysis) ScopeNextLine(line, i, lineNumber, gcd);
}

void CodeCharacterCheck(const char* line, int i, int lineNumber, GlobalData& gcd) {
  if (gcd.lang.isOther) return;
  switch (line[i]) {
    case '=':
      AssignmentChecks(line, i, lineNumber, gcd);
      return;
    case '-':
    case '+':
      PrefixOperator(line, i, lineNumber, gcd);
      return;
    case '?':
      QuestionMark(line, i, lineNumber, gcd);
      return;
    case '.':
      Ellipsis(line, i, lineNumber, gcd);
      return;
    case ')':
      CloseParen(line, i, lineNumber, gcd);
      return;
    case '{':
      ClearStatementFlags(gcd);
      if (gcd.sw.functionAnalysis) ScopeOpenBrace(gcd);
      return;
    case '}':
      ClearStatementFlags(gcd);
      gcd.eng.checks.last_was_break = 0;
      return;
    case ';':
      Semicolon(lineNumber, gcd);
      return;
    default:
      if (line[i] >= 'a' && line[i] <= 'z') KeywordChecks(line, i, lineNumber, gcd);
      return;
  }
}

void ScopeDepthNotice(int lineNumber, GlobalData& gcd) {
  const int depth = gcd.eng.lex.function_scope;
  if (depth > gcd.cfg.maxScopeDepth) EmitScopeNotice(depth, lineNumber, gcd);
}

void UnbalancedCloserNotice(char closer, int lineNumber, GlobalData& gcd) {
  const OutputMode mode = gcd.sw.outputMode;
  if (!NoticesShown(gcd) || mode == OutputMode::Xml || mode == OutputMode::Csv) return;
  RaiseOptions options;
  options.variant = closer == '}' ? kVariantBraces : kVariantPlain;
  RaiseNotice(12, lineNumber, {}, gcd, options);
}
