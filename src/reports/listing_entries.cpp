// One entry of a project listing per record: its identification lines and
// its metric lines, or one CSV row.
#include <cstring>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/entity_listing.h"
#include "reports/entity_metrics.h"
#include "reports/format.h"
#include "reports/listing_rows.h"
#include "reports/metric_lines.h"
#include "reports/report_text.h"
#include "structure/entity_records.h"

namespace {

// Lines are 74 columns: a name after a label of n characters wraps at 74 - n
// and continues indented by n.
constexpr int kLineWidth = 74;

struct Wrap {
  int width;
  int indent;
};

Wrap WrapAfter(const char* label) {
  const int n = static_cast<int>(std::strlen(label)) + 4;  // "  " label ": "
  return {kLineWidth - n, n};
}

std::string Wrapped(const char* text, Wrap wrap, GlobalData& gcd) {
  char buffer[kTextBuf];
  return AdjNameLength(text, buffer, wrap.width, wrap.indent, gcd);
}

std::string LinkTarget(const char* fileName, GlobalData& gcd) {
  char path[kTextBuf];
  CopyBounded(path, fileName == nullptr ? "" : fileName);
  return HtmlEscaped(HTMLPathFile(path, gcd).c_str());
}

// "  Label: name" with the label as a hyperlink to the record's file in HTML.
void LinkedLine(const char* label, const char* text, Wrap wrap, const std::string& colour, const char* fileName,
                GlobalData& gcd) {
  const std::string wrapped = Wrapped(text, wrap, gcd);
  if (IsHtml(gcd))
    OutF("  <b><a href=\"%s\" target=\"_blank\">%s</a></b>: <b><font color=\"%s\">%s</font></b>\n",
         LinkTarget(fileName, gcd).c_str(), label, colour.c_str(), HtmlEscaped(wrapped.c_str()).c_str());
  else
    OutF("  %s: %s\n", label, wrapped.c_str());
}

// "  Label: text" with a bold label in HTML.
void PlainLine(const char* label, const char* text, Wrap wrap, const std::string& colour, GlobalData& gcd) {
  const std::string wrapped = Wrapped(text, wrap, gcd);
  if (IsHtml(gcd))
    OutF("  <b>%s</b>: <b><font color=\"%s\">%s</font></b>\n", label, colour.c_str(),
         HtmlEscaped(wrapped.c_str()).c_str());
  else
    OutF("  %s: %s\n", label, wrapped.c_str());
}

void XmlElement(const char* element, const char* text) {
  OutF("<%s>%s</%s>\n", element, XmlEscaped(text).c_str(), element);
}

// The metric lines that close every entry but a CSV one.
void EntryMetricLines(const NodeData& r, const EntityValues& v, FileLanguage& language, GlobalData& gcd) {
  ComplexLine(static_cast<int>(v[kMetricParameters]), static_cast<int>(v[kMetricReturns]), r.cyclomatic, gcd);
  LOCLine(r.loc, r.eloc, r.lloc, r.comments, r.lines, gcd);
  if (gcd.sw.functionPoints) {
    const FunctionPoints fp = language.Of(r, gcd);
    FPFileLine(fp.loc, fp.eloc, fp.lloc, gcd);
  }
}

// Template and inheritance texts of a class or interface record.
void TypeTexts(const NodeData& r, Wrap wrap, GlobalData& gcd) {
  const bool hasTemplate = !r.text1.empty();
  const bool hasBases = !r.text2.empty();
  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      if (hasTemplate) XmlElement("template", r.text1.c_str());
      if (hasBases) XmlElement("inheritance", r.text2.c_str());
      break;
    case OutputMode::Csv:
      if (hasTemplate) OutF("Template,%s\n", CsvName(r.text1.c_str()).c_str());
      if (hasBases) OutF("Inheritance,%s\n", CsvName(r.text2.c_str()).c_str());
      break;
    case OutputMode::Html:
    case OutputMode::Text:
      if (hasTemplate) PlainLine("Template", r.text1.c_str(), wrap, gcd.cfg.htmlTemplateColor, gcd);
      if (hasBases)
        PlainLine("Inheritance", r.text2.c_str(), WrapAfter("Inheritance"), gcd.cfg.htmlInheritanceColor, gcd);
      break;
  }
}

// Class, struct and interface entries share everything but their kind words.
void TypeDataShow(const NodeData& r, const char* name, const char* kind, const char* xmlElement,
                  FileLanguage& language, GlobalData& gcd) {
  if (!ListedName(name)) return;
  const EntityValues v = ValuesOf(r, EntityKind::Class);
  const Wrap wrap = WrapAfter(kind);
  switch (ReportMode(gcd)) {
    case OutputMode::Csv:
      WriteEntryRow(RowLayout::Class, CsvName(name).c_str(), v, CommentRatio(r));
      TypeTexts(r, wrap, gcd);
      return;
    case OutputMode::Xml:
      OutF("<%s>\n", xmlElement);
      XmlElement("name", name);
      break;
    case OutputMode::Html:
    case OutputMode::Text:
      LinkedLine(kind, name, wrap, ClassIsStruct(r) ? gcd.cfg.htmlStructColor : gcd.cfg.htmlClassColor, r.fileName,
                 gcd);
      break;
  }
  TypeTexts(r, wrap, gcd);
  DataLine(ClassPublicAttributes(r), ClassProtectedAttributes(r), ClassPrivateAttributes(r), gcd);
  MethodLine(ClassPublicMethods(r), ClassProtectedMethods(r), ClassPrivateMethods(r), gcd);
  EntryMetricLines(r, v, language, gcd);
  if (IsXml(gcd))
    OutF("</%s>\n", xmlElement);
  else
    OutS("\n");
}

}  // namespace

void FunctionDataShow(const NodeData& r, FileLanguage& language, GlobalData& gcd) {
  const char* name = r.name.c_str();
  if (!ListedName(name)) return;
  const EntityValues v = ValuesOf(r, EntityKind::Function);
  switch (ReportMode(gcd)) {
    case OutputMode::Csv:
      WriteFunctionRow(CsvName(name).c_str(), CsvParameters(r.text1.c_str()).c_str(), v, CommentRatio(r));
      return;
    case OutputMode::Xml:
      OutS("<function>\n");
      XmlElement("name", name);
      XmlElement("parameters", r.text1.c_str());
      XmlElement("file", r.fileName == nullptr ? "" : r.fileName);
      OutF("<line>%d</line>\n", r.line);
      XmlElement("template", r.text3.c_str());
      break;
    case OutputMode::Html:
    case OutputMode::Text:
      LinkedLine("Function", name, WrapAfter("Function"), gcd.cfg.htmlFunctionColor, r.fileName, gcd);
      PlainLine("Parameters", r.text1.c_str(), WrapAfter("Parameters"), gcd.cfg.htmlFunctionParamColor, gcd);
      if (!r.text3.empty())
        PlainLine("Template", r.text3.c_str(), WrapAfter("Template"), gcd.cfg.htmlTemplateColor, gcd);
      break;
  }
  EntryMetricLines(r, v, language, gcd);
  if (IsXml(gcd))
    OutS("</function>\n");
  else
    OutS("\n");
}

void ClassDataShow(const NodeData& r, FileLanguage& language, GlobalData& gcd) {
  const bool nested = ClassIsNested(r) != 0;
  const bool isStruct = ClassIsStruct(r) != 0;
  const char* kind = isStruct ? (nested ? "Nested Struct" : "Struct") : (nested ? "Nested Class" : "Class");
  const char* element = isStruct ? (nested ? "nested_struct" : "struct") : (nested ? "nested_class" : "class");
  TypeDataShow(r, r.name.c_str(), kind, element, language, gcd);
}

void InterDataShow(const NodeData& r, FileLanguage& language, GlobalData& gcd) {
  const bool nested = ClassIsNested(r) != 0;
  TypeDataShow(r, InterfaceName(r), nested ? "Nested Interface" : "Interface",
               nested ? "nested_interface" : "interface", language, gcd);
}

void NamespaceDataShow(const NodeData& r, FileLanguage& language, GlobalData& gcd) {
  const EntityValues v = ValuesOf(r, EntityKind::Namespace);
  const char* name = ListedName(r.name.c_str()) ? r.name.c_str() : "Anonymous - File Scope";
  switch (ReportMode(gcd)) {
    case OutputMode::Csv:
      WriteEntryRow(RowLayout::Namespace, CsvName(name).c_str(), v, CommentRatio(r));
      return;
    case OutputMode::Xml:
      OutS("<namespace_package>\n");
      XmlElement("name", name);
      break;
    case OutputMode::Html:
    case OutputMode::Text:
      LinkedLine("Namespace/Package", name, WrapAfter("Namespace/Package"), gcd.cfg.htmlNoticeColor, r.fileName,
                 gcd);
      break;
  }
  ClassFuncLine(NamespaceClasses(r), static_cast<int>(v[kMetricFunctions]), gcd);
  DataLine(ClassPublicAttributes(r), ClassProtectedAttributes(r), ClassPrivateAttributes(r), gcd);
  MethodLine(ClassPublicMethods(r), ClassProtectedMethods(r), ClassPrivateMethods(r), gcd);
  EntryMetricLines(r, v, language, gcd);
  if (IsXml(gcd))
    OutS("</namespace_package>\n");
  else
    OutS("\n");
}
