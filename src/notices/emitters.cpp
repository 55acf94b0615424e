// The named emitters: each applies its own extra condition and raises its
// notice with the values that its text shows.
#include "notices/emitters.h"

#include <cstdlib>
#include <cstring>

#include "common/gcd.h"
#include "engine/lexical.h"
#include "notices/notice_emit.h"
#include "notices/notices.h"
#include "notices/verbose_texts.h"

namespace {

constexpr const char* kScopeKeywordNames[] = {" ", "do", "else", "for", "if", "while"};

int CurrentLine(const GlobalData& gcd) { return gcd.drv.lineNumber; }

bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// True when text holds word as a whole word.
bool HasWord(const char* text, const char* word) {
  const std::size_t n = std::strlen(word);
  for (const char* p = std::strstr(text, word); p != nullptr; p = std::strstr(p + 1, word)) {
    if ((p == text || !IsWordChar(p[-1])) && !IsWordChar(p[n])) return true;
  }
  return false;
}

}  // namespace

void EmitLineLengthNotice(int length, int line, GlobalData& gcd) {
  RaiseNotice(1, line, {length, gcd.cfg.maxLineLength}, gcd);
}

void EmitScopeError(int keyword, int line, GlobalData& gcd) {
  if (!gcd.sw.functionAnalysis || keyword <= kScopeNone || keyword > kScopeWhile) return;
  const char* name = kScopeKeywordNames[keyword];
  RaiseOptions options;
  options.keyword = name;
  options.countOnly = InMacroDefinition(gcd) != 0;
  RaiseNotice(22, line, {name, name}, gcd, options);
}

void CPP_Symbol(int line, const char* keyword, GlobalData& gcd) {
  if (gcd.eng.lex.error_directive) return;
  RaiseNotice(24, line, {keyword}, gcd);
}

void EmitVoidStarNotice(int line, GlobalData& gcd) { RaiseNotice(26, line, {}, gcd); }

void Notice_Return_Limit(int returnPoints, int line, GlobalData& gcd) {
  RaiseNotice(27, line, {returnPoints, gcd.cfg.maxReturnPoints}, gcd);
}

void Notice_Logical_Limit(int cyclomatic, int line, GlobalData& gcd) {
  RaiseNotice(28, line, {cyclomatic, gcd.cfg.maxCyclomatic}, gcd);
}

void Notice_Interface_Limit(int parameters, int line, GlobalData& gcd) {
  RaiseNotice(29, line, {parameters, gcd.cfg.maxInterfaceComplexity}, gcd);
}

void EmitVirtualDestructorNotice(int line, GlobalData& gcd) { RaiseNotice(37, line, {}, gcd); }

void EmitExceptionNotice(int line, GlobalData& gcd) { RaiseNotice(38, line, {}, gcd); }

void EmitClassFunctionNotice(int isStruct, int line, GlobalData& gcd) {
  RaiseNotice(39, line, {isStruct ? "struct" : "class", gcd.cfg.maxMethodsPerClass}, gcd);
}

void EmitContinueNotice(int line, GlobalData& gcd) { RaiseNotice(43, line, {}, gcd); }

void EmitBreakNotice(int line, GlobalData& gcd) {
  if (gcd.eng.switches.switch_depth > 0) return;
  RaiseNotice(44, line, {}, gcd);
}

void Notice_MinFuncLloc(int lloc, int line, GlobalData& gcd) {
  RaiseNotice(48, line, {lloc, gcd.cfg.minFunctionLloc}, gcd);
}

void Notice_FuncNoParams(const char* name, int line, GlobalData& gcd) {
  if (name != nullptr && std::strchr(name, '~') != nullptr) return;
  RaiseNotice(49, line, {}, gcd);
}

void EmitNumericAssignment(const char* text, int line, GlobalData& gcd) {
  if (text == nullptr || !NoticeOn(50, gcd)) return;
  char token[kTextBuf];
  token[0] = '\0';
  if (GetNextCodeToken(text, 0, token) == nullptr || token[0] == '\0') return;
  const double value = std::strtod(token, nullptr);
  if (value == 0.0 && !gcd.cfg.zeroIsLiteral) return;
  RaiseNotice(50, line, {}, gcd);
}

void EmitScopeNotice(int depth, int line, GlobalData& gcd) {
  if (!gcd.sw.functionAnalysis) return;
  RaiseNotice(55, line, {depth, gcd.cfg.maxScopeDepth}, gcd);
}

void EmitBreakBreak(int line, GlobalData& gcd) { RaiseNotice(56, line, {}, gcd); }

// The emitters that structure recognition and the inheritance forest call.

void EmitNoComment(int number, const char* kind, GlobalData& gcd) {
  if (number < 51 || number > 54) return;
  // The comment belongs before the head: the notice is about the function or type.
  const NoticeSubjectScope subject(number == 51 ? NoticeSubject::Function : NoticeSubject::Type, gcd);
  RaiseNotice(number, CurrentLine(gcd), {kind}, gcd);
}

void EmitUsingNamespace(GlobalData& gcd) {
  // Both the using statement check and namespace recognition may report the
  // same statement; it is one construct.
  InlineCheckState& st = gcd.eng.checks;
  if (st.using_reported) return;
  st.using_reported = 1;
  RaiseNotice(32, CurrentLine(gcd), {}, gcd);
}

void EmitStructWithinFunction(GlobalData& gcd) { RaiseNotice(33, CurrentLine(gcd), {}, gcd); }

void EmitClassWithinFunction(const char* kind, GlobalData& gcd) {
  RaiseOptions options;
  options.variant = kVariantNamedKind;
  RaiseNotice(33, CurrentLine(gcd), {kind, kind}, gcd, options);
}

void EmitClassPointerDataNotice(GlobalData& gcd) { RaiseNotice(34, CurrentLine(gcd), {}, gcd); }

void EmitClassPublicDataNotice(const char* declaration, int isStruct, GlobalData& gcd) {
  if (isStruct) return;
  const char* d = declaration != nullptr ? declaration : "";
  const Config& cfg = gcd.cfg;
  if (cfg.ignorePublicEvent && HasWord(d, "event")) return;
  // A Java constant is declared final. The statement may run over several
  // lines: the in-line checks have seen its const or final already.
  const InlineCheckState& st = gcd.eng.checks;
  const bool constant =
      st.const_flag || st.final_flag || HasWord(d, "const") || (gcd.lang.isJava && HasWord(d, "final"));
  if (cfg.ignorePublicConst && constant) return;
  if (cfg.ignorePublicDelegate && HasWord(d, "delegate")) return;
  RaiseNotice(35, CurrentLine(gcd), {}, gcd);
}

void EmitClassProtectedDataNotice(int isStruct, GlobalData& gcd) {
  if (isStruct) return;
  RaiseNotice(36, CurrentLine(gcd), {}, gcd);
}

void EmitInheritanceDepthNotice(const char* fileName, int line, const char* className, GlobalData& gcd) {
  RaiseOptions options;
  options.fileName = fileName != nullptr ? fileName : "";
  options.entity = className != nullptr ? className : "";
  RaiseNotice(40, line, {gcd.cfg.maxInheritanceDepth}, gcd, options);
}

void EmitNumberOfChildrenNotice(const char* fileName, int line, const char* className, GlobalData& gcd) {
  RaiseOptions options;
  options.fileName = fileName != nullptr ? fileName : "";
  options.entity = className != nullptr ? className : "";
  RaiseNotice(41, line, {gcd.cfg.maxDerivedChildren}, gcd, options);
}

void EmitMultipleInheritanceNotice(const char* fileName, int line, const char* className, GlobalData& gcd) {
  // Raised at the head of the type that opens: it judges that type.
  const NoticeSubjectScope subject(NoticeSubject::Type, gcd);
  RaiseOptions options;
  options.fileName = fileName != nullptr ? fileName : "";
  RaiseNotice(42, line, {className}, gcd, options);
}

void EmitNewDelNotice(GlobalData& gcd) { RaiseNotice(45, CurrentLine(gcd), {}, gcd); }
