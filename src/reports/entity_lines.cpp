// Identification lines of functions, types and namespaces, and the metric
// block of a function, in the four output modes.
#include "reports/entity_lines.h"

#include <cstring>
#include <string>
#include <string_view>

#include "common/gcd.h"
#include "common/output.h"
#include "engine/complexity.h"
#include "engine/trace.h"
#include "reports/csv_export.h"
#include "reports/format.h"
#include "reports/metric_lines.h"
#include "reports/report_text.h"
#include "structure/functions.h"
#include "structure/qualify.h"

namespace {

std::string WithoutLineEnd(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

std::string Wrapped(const std::string& text, int width, int indent, GlobalData& gcd) {
  // A text that fits is what AdjNameLength would copy: up to its first NUL.
  const std::size_t length = strnlen(text.c_str(), kTextMax);
  if (width >= 1 && length <= static_cast<std::size_t>(width)) return std::string(text.c_str(), length);
  char out[kTextBuf];
  AdjNameLength(text.c_str(), out, width, indent, gcd);
  return out;
}

std::string Escaped(const std::string& text) {
  std::string out(6 * text.size() + 1, '\0');
  HTML_esc(text.c_str(), out.data());
  out.resize(std::string_view(out.c_str()).size());
  return out;
}

// The hyperlink target of the current file.
std::string FileLink(GlobalData& gcd) {
  char path[kTextBuf];
  CopyBounded(path, gcd.drv.currentFileName != nullptr ? gcd.drv.currentFileName : "");
  return HTMLPathFile(path, gcd);
}

void EmitFunctionListing(const std::string& name, const std::string& params, const std::string& templ, bool inlined,
                         bool isTemplate, GlobalData& gcd) {
  const Config& cfg = gcd.cfg;
  switch (gcd.sw.outputMode) {
    case OutputMode::Text:
      if (isTemplate)
        OutF(inlined ? "  inline template %s %s %s\n" : "  template %s %s %s\n", templ.c_str(), name.c_str(),
             params.c_str());
      else
        OutF(inlined ? "  Inline %s %s\n" : "  %s %s\n", name.c_str(), params.c_str());
      break;
    case OutputMode::Html:
      if (inlined)
        OutF("  <b>Inline <font color=\"%s\">%s</font></b>", cfg.htmlFunctionColor.c_str(), Escaped(name).c_str());
      else
        OutF("  <b><font color=\"%s\">%s</font></b>", cfg.htmlFunctionColor.c_str(), Escaped(name).c_str());
      OutF(" <b><font color=\"%s\">%s</font></b>", cfg.htmlFunctionParamColor.c_str(), Escaped(params).c_str());
      if (isTemplate)
        OutF(" <b>template</b> <b><font color=\"%s\">%s</font></b>\n", cfg.htmlTemplateColor.c_str(),
             Escaped(templ).c_str());
      else
        OutF("\n");
      break;
    case OutputMode::Csv: {
      const char* label = inlined ? "Inline Function" : "Function";
      if (isTemplate)
        OutF("%s,%s,%s,template %s\n", label, name.c_str(), params.c_str(), templ.c_str());
      else
        OutF("%s,%s,%s\n", label, name.c_str(), params.c_str());
      break;
    }
    case OutputMode::Xml:
      break;
  }
}

void EmitFunctionLines(const std::string& name, const std::string& params, const std::string& templ, bool inlined,
                       bool isTemplate, GlobalData& gcd) {
  const Config& cfg = gcd.cfg;
  switch (gcd.sw.outputMode) {
    case OutputMode::Text:
      OutF(inlined ? "  Inline Function: %s\n" : "  Function: %s\n", name.c_str());
      OutF("  Parameters: %s\n", params.c_str());
      if (isTemplate) OutF("  Template: %s\n", templ.c_str());
      break;
    case OutputMode::Html:
      if (inlined)
        OutF("  <b>Inline Function</b>: <b><font color=\"%s\">%s</font></b>\n", cfg.htmlFunctionColor.c_str(),
             Escaped(name).c_str());
      else
        OutF("  <b><a href=\"%s\" target=\"_blank\">Function</a></b>: <b><font color=\"%s\">%s</font></b>\n",
             FileLink(gcd).c_str(), cfg.htmlFunctionColor.c_str(), Escaped(name).c_str());
      OutF("  <b>Parameters</b>: <b><font color=\"%s\">%s</font></b>\n", cfg.htmlFunctionParamColor.c_str(),
           Escaped(params).c_str());
      if (isTemplate)
        OutF("  <b>Template</b>: <b><font color=\"%s\">%s</font></b>\n", cfg.htmlTemplateColor.c_str(),
             Escaped(templ).c_str());
      break;
    case OutputMode::Csv:
    case OutputMode::Xml:
      break;
  }
}

// One detail row for each counter whose key is Yes and whose count is above 0.
struct DetailRow {
  const char* text;
  int Config::*key;
  int FunctionCounts::*count;
};
constexpr DetailRow kDetailRows[] = {
    {"      Loops while / do        : ", &Config::cycloWhile, &FunctionCounts::while_count},
    {"      Loops for / foreach     : ", &Config::cycloFor, &FunctionCounts::for_count},
    {"      Selection switch        : ", &Config::cycloSwitch, &FunctionCounts::switch_count},
    {"      Selection case          : ", &Config::cycloCase, &FunctionCounts::case_count},
    {"      Conditional if / else if: ", &Config::cycloIf, &FunctionCounts::if_count},
    {"      Conditional else        : ", &Config::cycloElse, &FunctionCounts::else_count},
    {"      Inlined if-else ( ? : ) : ", &Config::cycloInlineIf, &FunctionCounts::ternary_count},
    {"      goto                    : ", &Config::cycloGoto, &FunctionCounts::goto_count},
    {"      Logical or ( || )       : ", &Config::cycloOr, &FunctionCounts::or_count},
    {"      Logical and ( && )      : ", &Config::cycloAnd, &FunctionCounts::and_count},
};

}  // namespace

void EmitFunction(GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  if (sw.functionsForClassesOnly || sw.totalsOnly) return;
  const FunctionState& fn = gcd.st.fn;
  const bool inlined = fn.inlineInClass != 0;
  const bool isTemplate = fn.templateFunction != 0;
  const std::string name = WithoutLineEnd(fn.name);
  if (sw.commentDocumentation) OutF("\n");
  if (sw.outputMode == OutputMode::Csv) {
    if (sw.functionListing) EmitFunctionListing(name, fn.params, fn.templ, inlined, isTemplate, gcd);
    return;
  }
  const std::string wrappedName = inlined ? Wrapped(name, 55, 19, gcd) : Wrapped(name, 62, 12, gcd);
  const std::string params = Wrapped(fn.params, 60, 14, gcd);
  const std::string templ = isTemplate ? Wrapped(fn.templ, 62, 12, gcd) : std::string();
  if (sw.functionListing)
    EmitFunctionListing(wrappedName, params, templ, inlined, isTemplate, gcd);
  else
    EmitFunctionLines(wrappedName, params, templ, inlined, isTemplate, gcd);
}

void ShowFunction(const FunctionMetrics& m, GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  const FunctionState& fn = gcd.st.fn;
  if (sw.outputMode == OutputMode::Csv && sw.csvFunctionLines) {
    std::string params = fn.params;
    for (char& c : params)
      if (c == ',') c = ';';
    CSV_Function_Line(gLQAOUT, fn.name.c_str(), params.c_str(), m.loc, m.eloc, m.lloc, m.comments, m.blanks, m.lines,
                      1, m.parameters, m.returns, m.cyclomatic, 0, gcd);
    return;
  }
  if (sw.totalsOnly || sw.commentDocumentation) return;
  ComplexDetails(m.cyclomatic, gcd);
  ComplexLine(m.parameters, m.returns, m.cyclomatic, gcd);
  LOCLine(m.loc, m.eloc, m.lloc, m.comments, m.lines, gcd);
  FPLOCLine(gcd.drv.currentFileName, m.loc, m.eloc, m.lloc, gcd);
  if (sw.qualityNotices)
    ShowStateLine(gcd.drv.lineNumber, "Function End");
  else
    OutF("\n");
}

void ComplexDetails(int cyclomatic, GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  if (!sw.complexity || !sw.functionDetail || cyclomatic <= 1 || sw.outputMode == OutputMode::Csv) return;
  if (sw.outputMode == OutputMode::Xml) {
    OutF(" ");
    return;
  }
  if (sw.outputMode == OutputMode::Html)
    OutF("    <B>Cyclomatic Complexity Vg Detail</B>\n");
  else
    OutF("    Cyclomatic Complexity Vg Detail\n");
  OutF("      Function Base           : 1\n");
  const FunctionCounts& f = gcd.eng.func;
  for (const DetailRow& row : kDetailRows)
    if (gcd.cfg.*row.key && f.*row.count > 0) OutF("%s%-6d\n", row.text, f.*row.count);
}

void EmitClass(GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  if (!sw.objectMetrics || sw.totalsOnly) return;
  const TypeState& t = gcd.st.type;
  std::string name = WithoutLineEnd(t.name);
  // An interface name carries "Interface-" only in its record; a name that
  // does carry it is shown without it.
  bool isInterface = t.isInterface != 0;
  if (name.find("Interface-") != std::string::npos) {
    name.erase(0, name.find('-') + 1);
    isInterface = true;
  }
  const bool nested = gcd.st.classDepth >= 1;
  const char* kind = isInterface ? "Interface" : t.isStruct ? "Struct" : "Class";
  const std::string label = std::string(nested ? "Nested " : "") + kind;
  const bool showTemplate = !isInterface && !t.templ.empty();
  const int indent = static_cast<int>(label.size()) + 4;
  const int width = 74 - indent;
  switch (sw.outputMode) {
    case OutputMode::Text: {
      const std::string n = Wrapped(name, width, indent, gcd);
      if (showTemplate)
        OutF("  %s: %s\n  Template: %s\n", label.c_str(), n.c_str(), Wrapped(t.templ, width, indent, gcd).c_str());
      else
        OutF("  %s: %s\n", label.c_str(), n.c_str());
      break;
    }
    case OutputMode::Csv:
      OutF("%s,%s\n", label.c_str(), CsvName(name.c_str()).c_str());
      if (showTemplate) OutF("Template,%s\n", CsvName(t.templ.c_str()).c_str());
      break;
    case OutputMode::Html:
      OutF("  <b><a href=\"%s\" target=\"_blank\">%s</a></b>: <b><font color=\"%s\">%s</font></b>\n",
           FileLink(gcd).c_str(), label.c_str(), gcd.cfg.htmlClassColor.c_str(),
           Escaped(Wrapped(name, width, indent, gcd)).c_str());
      if (showTemplate)
        OutF("  <b>Template</b>: <b><font color=\"%s\">%s</font></b>\n", gcd.cfg.htmlTemplateColor.c_str(),
             Escaped(Wrapped(t.templ, width, indent, gcd)).c_str());
      break;
    case OutputMode::Xml:
      break;
  }
}

void EmitNamespace(int begin, GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  if (sw.totalsOnly || (!sw.objectMetrics && !sw.commentDocumentation)) return;
  if (sw.commentDocumentation || (sw.qualityNotices && gcd.eng.fc.notices > 0)) OutF("\n");
  const NamespaceState& ns = gcd.st.ns;
  std::string name = WithoutLineEnd(ns.name);
  if (!StartsLikeName(name)) name = "Anonymous - File Scope";
  const std::string label = std::string(ns.depth >= 1 ? "Nested " : "") + (gcd.lang.isJava ? "Package" : "Namespace") +
                            (begin ? " Begin" : " End");
  const int indent = static_cast<int>(label.size()) + 4;
  if (begin) name = Wrapped(name, 74 - indent, indent, gcd);
  switch (sw.outputMode) {
    case OutputMode::Text:
      OutF("  %s: %s\n", label.c_str(), name.c_str());
      break;
    case OutputMode::Csv:
      OutF("%s,%s\n", label.c_str(), CsvName(name.c_str()).c_str());
      break;
    case OutputMode::Html:
      OutF("  <b><a href=\"%s\" target=\"_blank\">%s</a></b>: <b><font color=\"%s\">%s</font></b>\n",
           FileLink(gcd).c_str(), label.c_str(), gcd.cfg.htmlNoticeColor.c_str(), Escaped(name).c_str());
      break;
    case OutputMode::Xml:
      break;
  }
}
