// Function bodies: what happens when a recognised head's body opens and
// closes, the header lines written around the notices, and the roll-up of a
// function into the classes that own it.
#include <algorithm>
#include <string>

#include "common/gcd.h"
#include "gate/snapshot_writer.h"
#include "structure/entity_records.h"
#include "common/output.h"
#include "engine/complexity.h"
#include "engine/trace.h"
#include "notices/notices.h"
#include "reports/entity_lines.h"
#include "reports/format.h"
#include "structure/classes.h"
#include "structure/entity_index.h"
#include "structure/functions.h"
#include "structure/structure_log.h"

namespace {

// Header and closing lines are written when functions are shown for their
// own sake and not only in the totals.
bool HeaderLinesShown(const GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  return !sw.totalsOnly && !sw.functionsForClassesOnly && !sw.functionListing && !sw.classMethodAnnotation;
}

void WriteFunctionLine(const char* leadingNewline, GlobalData& gcd) {
  char name[kTextBuf];
  std::string plain = gcd.st.fn.name;
  while (!plain.empty() && (plain.back() == '\n' || plain.back() == '\r')) plain.pop_back();
  AdjNameLength(plain.c_str(), name, 62, 12, gcd);
  if (gcd.sw.outputMode == OutputMode::Html) {
    std::string escaped(6 * std::string_view(name).size() + 1, '\0');
    HTML_esc(name, escaped.data());
    OutF("%s  <b>Function</b>: <b><font color=\"%s\">%s</font></b>\n", leadingNewline,
         gcd.cfg.htmlFunctionColor.c_str(), escaped.c_str());
  } else if (gcd.sw.outputMode == OutputMode::Text) {
    OutF("%s  Function: %s\n", leadingNewline, name);
  }
}

void AddInto(NodeData& rec, const FunctionMetrics& m, bool linesToo) {
  if (linesToo) {
    rec.loc += m.loc;
    rec.eloc += m.eloc;
    rec.lloc += m.lloc;
    rec.comments += m.comments;
    rec.blanks += m.blanks;
    rec.lines += m.lines;
  }
  rec.cyclomatic += m.cyclomatic;
  rec.parameters += m.parameters;
  ClassReturns(rec) += m.returns;
  ClassFunctions(rec) += 1.0f;
}

void RaiseFileSums(const FunctionMetrics& m, GlobalData& gcd) {
  FileComplexity& cx = gcd.eng.fileCx;
  cx.maxParameters = std::max(cx.maxParameters, m.parameters);
  cx.maxReturns = std::max(cx.maxReturns, m.returns);
  cx.sumCyclomatic += m.cyclomatic;
  cx.maxCyclomatic = std::max(cx.maxCyclomatic, m.cyclomatic);
  cx.sumReturns += m.returns;
  cx.sumParameters += m.parameters;
  cx.maxTotal = std::max(cx.maxTotal, TotalComplexity(m.cyclomatic, m.parameters, m.returns));
}

void RaiseFileLineMaxima(const FunctionMetrics& m, GlobalData& gcd) {
  FileComplexity& cx = gcd.eng.fileCx;
  cx.sumLoc += m.loc;
  cx.sumEloc += m.eloc;
  cx.sumLloc += m.lloc;
  cx.sumComments += m.comments;
  cx.maxLoc = std::max(cx.maxLoc, m.loc);
  cx.maxEloc = std::max(cx.maxEloc, m.eloc);
  cx.maxLloc = std::max(cx.maxLloc, m.lloc);
}

bool BelongsToClass(const std::string& name) {
  return name.find("::") != std::string::npos || name.find('.') != std::string::npos;
}

}  // namespace

LineSnapshot TakeLineSnapshot(int lineNumber, const GlobalData& gcd) {
  const FileCounts& fc = gcd.eng.fc;
  LineSnapshot s;
  s.line = lineNumber;
  s.loc = fc.loc;
  s.nonEffective = fc.parenOnlyLines + fc.braceOnlyLines;
  s.statements = fc.statements;
  s.comments = fc.comment;
  s.blanks = fc.blank;
  s.whitespace = gcd.eng.lineStartWhitespace;
  s.characters = gcd.eng.lineStartCharacters;
  s.fallThrough = fc.fallThrough;
  s.commentRun = fc.commentRun;
  s.fors = fc.fors;
  s.virtuals = fc.virtuals;
  return s;
}

void FunctionBegin(GlobalData& gcd) {
  if (!HeaderLinesShown(gcd)) return;
  FunctionState& fn = gcd.st.fn;
  while (!fn.name.empty() && (fn.name.back() == '\n' || fn.name.back() == '\r')) fn.name.pop_back();
  ShowStateLine(gcd.drv.lineNumber, "Function Begin");
  const OutputMode mode = gcd.sw.outputMode;
  if (mode != OutputMode::Text && mode != OutputMode::Html) return;
  WriteFunctionLine("", gcd);
  char params[kTextBuf];
  AdjNameLength(fn.params.c_str(), params, 60, 14, gcd);
  char templ[kTextBuf];
  AdjNameLength(fn.templ.c_str(), templ, 62, 12, gcd);
  if (mode == OutputMode::Html) {
    std::string escParams(6 * std::string_view(params).size() + 1, '\0');
    HTML_esc(params, escParams.data());
    OutF("  <b>Parameters:</b> <b><font color=\"%s\">%s</font></b>\n", gcd.cfg.htmlFunctionParamColor.c_str(),
         escParams.c_str());
    if (fn.templateFunction) {
      std::string escTempl(6 * std::string_view(templ).size() + 1, '\0');
      HTML_esc(templ, escTempl.data());
      OutF("  <b>Template:</b> <b><font color=\"%s\">%s</font></b>\n", gcd.cfg.htmlTemplateColor.c_str(),
           escTempl.c_str());
    }
  } else {
    OutF("  Parameters: %s\n", params);
    if (fn.templateFunction) OutF("  Template: %s\n", templ);
  }
}

void FunctionEnd(GlobalData& gcd) {
  if (!HeaderLinesShown(gcd)) return;
  WriteFunctionLine("\n", gcd);
}

void Add_Func2Class(const std::string& functionName, const FunctionMetrics& m, int inClassBody, GlobalData& gcd) {
  FunctionCredit credit;
  credit.functionName = functionName;
  credit.metrics = m;
  credit.inClassBody = inClassBody;
  credit.passes = gcd.st.classDepth + 1;
  credit.dotted = gcd.lang.isJava || gcd.lang.isCSharp;
  credit.fileName = gcd.drv.currentFileName;
  credit.line = gcd.drv.lineNumber;
  CreditFunction(std::move(credit), gcd);
}

void ApplyFunctionCredit(const FunctionCredit& credit, GlobalData& gcd) {
  const std::string& functionName = credit.functionName;
  const FunctionMetrics& m = credit.metrics;
  const int inClassBody = credit.inClassBody;
  const bool dotted = credit.dotted;
  std::string work = functionName;
  const int passes = credit.passes;
  for (int pass = 0; pass < passes && !work.empty(); ++pass) {
    std::string owner = work;
    bool cut = false;
    const std::size_t last = dotted ? owner.rfind('.') : owner.rfind(':');
    if (last != std::string::npos) {
      std::size_t at = last;
      if (!dotted && at > 0 && owner[at - 1] == ':') --at;
      owner.resize(at);
      cut = true;
    }
    // C and C++ owners lose their template arguments (Stack<T>::push goes to
    // Stack); Java and C# types keep theirs in their names.
    if (!dotted) {
      if (std::size_t angle = owner.find('<'); angle != std::string::npos) owner.resize(angle);
    }
    if (std::size_t op = owner.find("::operator"); op != std::string::npos) owner.resize(op);
    NodeData* rec = FindClassRecord(owner, gcd);
    if (gcd.sw.debug)
      OutF("*** Debug: Add_Func2Class: %s - %s, %p\n", functionName.c_str(), owner.c_str(),
           static_cast<void*>(rec));
    if (rec == nullptr) {
      if (!cut) break;
      if (FindNamespaceRecord(owner, gcd) != nullptr) {
        work = owner;
        continue;
      }
      // An interface's own methods belong to the interface record.
      rec = FindInterfaceRecord("Interface-" + owner, gcd);
      if (rec == nullptr && !owner.empty()) {
        NodeData placeholder;
        placeholder.name = owner;
        placeholder.fileName = credit.fileName;
        placeholder.line = credit.line;
        if (gcd.sw.debug) OutF("**** Debug: Add Class %s - %d\n", owner.c_str(), credit.line);
        rec = AddPlaceholderClass(std::move(placeholder), gcd);
        if (rec == nullptr) return;
      }
    }
    if (rec != nullptr) AddInto(*rec, m, !inClassBody);
    work = owner;
  }
}

void OpenFunctionBody(int lineNumber, GlobalData& gcd) {
  StructureState& st = gcd.st;
  FunctionState& fn = st.fn;
  EngineState& eng = gcd.eng;
  packParams(fn.params, fn.name, gcd);
  eng.func = FunctionCounts{};
  eng.func.parameters = countParams(fn.params);
  eng.func.void_params = fn.params == "(void)" ? 1 : 0;
  fn.headOpen = 0;
  fn.collecting = 0;
  fn.inlineInClass = st.class_flag;
  st.functionScopeOpen = 1;
  fn.begin = TakeLineSnapshot(lineNumber, gcd);
  if (eng.fc.commentRun == 0) EmitNoComment(51, "function", gcd);
  eng.fc.commentRun = 0;
  eng.lex.comment_pending = 0;
  st.pendingTemplate.clear();
  if (st.class_flag) ClassMethod(gcd);
  if (gcd.sw.functionListing || gcd.sw.templateIdentification)
    EmitFunction(gcd);
  else if (gcd.sw.qualityNotices)
    FunctionBegin(gcd);
}

void CloseFunctionBody(int lineNumber, GlobalData& gcd) {
  StructureState& st = gcd.st;
  FunctionState& fn = st.fn;
  EngineState& eng = gcd.eng;
  const FileCounts& fc = eng.fc;
  const LineSnapshot& b = fn.begin;
  FunctionMetrics m;
  m.loc = fc.loc + 1 - b.loc;
  m.eloc = m.loc - (fc.parenOnlyLines + fc.braceOnlyLines - b.nonEffective);
  m.lloc = fc.statements - b.statements - eng.func.for_count;
  m.comments = fc.comment - b.comments + b.commentRun;
  m.blanks = fc.blank - b.blanks;
  m.lines = lineNumber - b.line + 1;
  m.cyclomatic = GetCycloComplexity(gcd);
  m.parameters = eng.func.parameters;
  m.returns = eng.func.return_points;

  FunctionEndInfo info;
  info.name = fn.name.c_str();
  info.loc = m.loc;
  info.eloc = m.eloc;
  info.lloc = m.lloc;
  info.comments = m.comments;
  info.blanks = m.blanks;
  info.whitespace = fc.whitespace - b.whitespace;
  info.characters = fc.characters - b.characters;
  info.oldStyleParams = fn.nonAnsiParams;
  info.bracketDepth = eng.lex.bracket_depth;
  info.parenDepth = eng.lex.paren_depth;
  info.switches = eng.func.switch_count;
  info.cases = eng.func.case_count;
  info.defaults = eng.func.default_count;
  info.breaks = eng.func.break_count;
  info.fallThrough = fc.fallThrough - b.fallThrough;
  info.parameters = m.parameters;
  info.voidParams = eng.func.void_params;
  info.returnPoints = m.returns;
  info.cyclomatic = m.cyclomatic;
  CheckFunctionEnd(info, gcd);

  RaiseFileSums(m, gcd);
  if (BelongsToClass(fn.name)) Add_Func2Class(fn.name, m, fn.inlineInClass, gcd);

  NodeData rec;
  rec.name = fn.name;
  rec.text1 = fn.params;
  if (fn.templateFunction) rec.text3 = fn.templ;
  rec.fileName = gcd.drv.currentFileName;
  rec.line = lineNumber;
  rec.loc = m.loc;
  rec.eloc = m.eloc;
  rec.lloc = m.lloc;
  rec.comments = m.comments;
  rec.blanks = m.blanks;
  rec.lines = m.lines;
  rec.cyclomatic = m.cyclomatic;
  rec.parameters = m.parameters;
  FuncReturns(rec) = m.returns;
  FuncInline(rec) = fn.inlineInClass;
  FuncBeginLine(rec) = b.line;
  if (gcd.gate.writing) GateFunctionClosed(rec, fn.nameLine, fn.bodyHash, gcd);
  PlaceFunctionRecord(std::move(rec), gcd);
  ++eng.fc.functions;

  const Switches& sw = gcd.sw;
  if (!sw.functionListing && !sw.classMethodAnnotation) {
    if (sw.qualityNotices)
      FunctionEnd(gcd);
    else if (!sw.templateIdentification)
      EmitFunction(gcd);
    if (!sw.functionsForClassesOnly) ShowFunction(m, gcd);
  }
  RaiseFileLineMaxima(m, gcd);

  st.funcname_flag = 0;
  st.functionScopeOpen = 0;
  eng.lex.function_scope = 0;
  fn = FunctionState{};
}

void DropFunctionHead(GlobalData& gcd) {
  gcd.st.funcname_flag = 0;
  gcd.st.fn = FunctionState{};
}
