// The notices raised when a function or a class, struct or interface body
// closes, reported at the line of its closing brace.
#include <cstring>

#include "common/gcd.h"
#include "notices/emitters.h"
#include "notices/notice_emit.h"
#include "notices/notices.h"
#include "notices/verbose_texts.h"

namespace {

double Percent(int part, int whole) { return whole > 0 ? part * 100.0 / whole : 0.0; }

// The minimum as the configuration holds it decides, so that a percentage
// equal to the limit does not fire.
bool Below(double percent, float minimum) { return static_cast<float>(percent) < minimum; }

// 14: case (and default, when it is part of the comparison) against break
// and fall-through comments.
void CaseBreakNotice(const FunctionEndInfo& f, int line, GlobalData& gcd) {
  const bool withDefault = gcd.cfg.useDefaultInCaseBreak != 0;
  const int cases = f.cases + (withDefault ? f.defaults : 0);
  const int ends = f.breaks + f.fallThrough;
  if (cases <= ends) return;
  RaiseOptions options;
  if (withDefault) {
    options.variant = kVariantWithDefault;
    RaiseNotice(14, line, {f.cases, f.defaults, cases, f.breaks, f.fallThrough, ends}, gcd, options);
  } else {
    RaiseNotice(14, line, {f.cases, cases, f.breaks, f.fallThrough, ends}, gcd, options);
  }
}

}  // namespace

void CheckFunctionEnd(const FunctionEndInfo& f, GlobalData& gcd) {
  const NoticeSubjectScope subject(NoticeSubject::Function, gcd);
  const Config& cfg = gcd.cfg;
  const int line = gcd.drv.lineNumber;
  const char* name = f.name != nullptr ? f.name : "";
  const int nameLength = static_cast<int>(std::strlen(name));
  if (nameLength > cfg.maxFunctionNameLength) RaiseNotice(2, line, {name, nameLength, cfg.maxFunctionNameLength}, gcd);
  if (f.oldStyleParams) RaiseNotice(10, line, {}, gcd);
  if (f.bracketDepth != 0) RaiseNotice(11, line, {}, gcd);
  if (f.parenDepth != 0) RaiseNotice(12, line, {}, gcd);
  if (f.switches > f.defaults) RaiseNotice(13, line, {}, gcd);
  CaseBreakNotice(f, line, gcd);
  if (f.loc > cfg.minFunctionLocForContent) {
    const double comments = Percent(f.comments, f.loc + f.comments);
    if (Below(comments, cfg.minFunctionCommentPct))
      RaiseNotice(17, line, {comments, static_cast<double>(cfg.minFunctionCommentPct)}, gcd);
    const double blanks = Percent(f.blanks, f.loc + f.comments + f.blanks);
    if (Below(blanks, cfg.minFunctionBlankPct))
      RaiseNotice(46, line, {blanks, static_cast<double>(cfg.minFunctionBlankPct)}, gcd);
    const double white = Percent(f.whitespace, f.characters);
    if (Below(white, cfg.minFunctionWhitespacePct))
      RaiseNotice(16, line, {white, static_cast<double>(cfg.minFunctionWhitespacePct)}, gcd);
  }
  if (f.eloc > cfg.maxFunctionEloc) RaiseNotice(18, line, {cfg.maxFunctionEloc}, gcd);
  if (f.returnPoints > cfg.maxReturnPoints) Notice_Return_Limit(f.returnPoints, line, gcd);
  if (f.parameters > cfg.maxInterfaceComplexity) Notice_Interface_Limit(f.parameters, line, gcd);
  if (f.parameters == 0 && !f.voidParams) Notice_FuncNoParams(name, line, gcd);
  if (f.lloc <= cfg.minFunctionLloc) Notice_MinFuncLloc(f.lloc, line, gcd);
  if (f.cyclomatic > cfg.maxCyclomatic) Notice_Logical_Limit(f.cyclomatic, line, gcd);
}

void CheckClassEnd(const ClassEndInfo& c, GlobalData& gcd) {
  const NoticeSubjectScope subject(NoticeSubject::Type, gcd);
  const Config& cfg = gcd.cfg;
  const int line = gcd.drv.lineNumber;
  const char* kind = c.kind != nullptr ? c.kind : "Class";
  RaiseOptions options;
  options.variant = kVariantTypeKind;
  if (c.loc > cfg.minClassLocForContent) {
    const double comments = Percent(c.comments, c.loc + c.comments);
    if (Below(comments, cfg.minClassCommentPct))
      RaiseNotice(31, line, {kind, comments, static_cast<double>(cfg.minClassCommentPct)}, gcd, options);
    const double white = Percent(c.whitespace, c.characters);
    if (Below(white, cfg.minFunctionWhitespacePct))
      RaiseNotice(16, line, {kind, white, static_cast<double>(cfg.minFunctionWhitespacePct)}, gcd, options);
    const double blanks = Percent(c.blanks, c.loc + c.comments + c.blanks);
    if (Below(blanks, cfg.minFunctionBlankPct))
      RaiseNotice(46, line, {kind, blanks, static_cast<double>(cfg.minFunctionBlankPct)}, gcd, options);
  }
  if (c.methods > cfg.maxMethodsPerClass) EmitClassFunctionNotice(c.isStruct, line, gcd);
  if (c.virtualMethods > 0 && !c.virtualDestructor) EmitVirtualDestructorNotice(line, gcd);
}
