// The summaries that close the project listings: totals, averages, maxima
// and minima of the function, class, interface and namespace lists, in one
// pass over each list.
#include <span>
#include <string>
#include <vector>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/entity_listing.h"
#include "reports/entity_metrics.h"
#include "reports/format.h"
#include "reports/listing_rows.h"
#include "reports/metric_lines.h"
#include "reports/report_text.h"
#include "structure/namespace_rollup.h"

namespace {

// Values of a summary line beyond the per-record metrics.
enum SummaryValue {
  kValueCount = kEntityMetricCount,
  kValueNested,
  kValueFpLoc,
  kValueFpEloc,
  kValueFpLloc,
};

// One line of a summary block: a value in the left column and, unless the
// right label is null, a second one on the same line.
struct PairRow {
  const char* left;
  int leftValue;
  const char* right;
  int rightValue;
};

// Labels are written for the maxima; the minima swap "Max" for "Min".
constexpr PairRow kFunctionTotals[] = {
    {"  Total Functions .......: ", kValueCount, "  Total Physical Lines ..: ", kMetricLines},
    {"  Total LOC .............: ", kMetricLoc, "  Total Function Pts LOC : ", kValueFpLoc},
    {"  Total eLOC ............: ", kMetricEloc, "  Total Function Pts eLOC: ", kValueFpEloc},
    {"  Total lLOC.............: ", kMetricLloc, "  Total Function Pts lLOC: ", kValueFpLloc},
    {"  Total Cyclomatic Comp. : ", kMetricCyclomatic, "  Total Interface Comp. .: ", kMetricInterface},
    {"  Total Parameters ......: ", kMetricParameters, "  Total Return Points ...: ", kMetricReturns},
    {"  Total Comment Lines ...: ", kMetricComments, "  Total Blank Lines .....: ", kMetricBlanks},
};
constexpr PairRow kFunctionAverages[] = {
    {"  Avg Physical Lines ....: ", kMetricLines, nullptr, 0},
    {"  Avg LOC ...............: ", kMetricLoc, "  Avg eLOC ..............: ", kMetricEloc},
    {"  Avg lLOC ..............: ", kMetricLloc, "  Avg Cyclomatic Comp. ..: ", kMetricCyclomatic},
    {"  Avg Interface Comp. ...: ", kMetricInterface, "  Avg Parameters ........: ", kMetricParameters},
    {"  Avg Return Points .....: ", kMetricReturns, "  Avg Comment Lines .....: ", kMetricComments},
};
constexpr PairRow kFunctionExtremes[] = {
    {"  Max LOC ...............: ", kMetricLoc, nullptr, 0},
    {"  Max eLOC ..............: ", kMetricEloc, "  Max lLOC ..............: ", kMetricLloc},
    {"  Max Cyclomatic Comp. ..: ", kMetricCyclomatic, "  Max Interface Comp. ...: ", kMetricInterface},
    {"  Max Parameters ........: ", kMetricParameters, "  Max Return Points .....: ", kMetricReturns},
    {"  Max Comment Lines .....: ", kMetricComments, "  Max Total Lines .......: ", kMetricLines},
};

// Method and attribute lines of the class, interface and namespace blocks.
constexpr PairRow kTypeTotals[] = {
    {"  Total Physical Lines ..: ", kMetricLines, "  Total Methods .........: ", kMetricMethods},
    {"  Total Public Methods ..: ", kMetricPublicMethods, "  Total Public Attributes: ", kMetricPublicAttributes},
    {"  Total Protected Methods: ", kMetricProtectedMethods, "  Total Protected Attrib.: ",
     kMetricProtectedAttributes},
    {"  Total Private Methods .: ", kMetricPrivateMethods, "  Total Private Attrib. .: ", kMetricPrivateAttributes},
};
constexpr PairRow kTypeAverages[] = {
    {"  Avg Physical Lines ....: ", kMetricLines, "  Avg Methods ...........: ", kMetricMethods},
    {"  Avg Public Methods ....: ", kMetricPublicMethods, "  Avg Public Attributes .: ", kMetricPublicAttributes},
    {"  Avg Protected Methods .: ", kMetricProtectedMethods, "  Avg Protected Attrib. .: ",
     kMetricProtectedAttributes},
    {"  Avg Private Methods ...: ", kMetricPrivateMethods, "  Avg Private Attrib. ...: ", kMetricPrivateAttributes},
};
constexpr PairRow kTypeExtremes[] = {
    {"  Max Physical Lines ....: ", kMetricLines, "  Max Methods ...........: ", kMetricMethods},
    {"  Max Public Methods ....: ", kMetricPublicMethods, "  Max Public Attributes .: ", kMetricPublicAttributes},
    {"  Max Protected Methods .: ", kMetricProtectedMethods, "  Max Protected Attrib. .: ",
     kMetricProtectedAttributes},
    {"  Max Private Methods ...: ", kMetricPrivateMethods, "  Max Private Attrib. ...: ", kMetricPrivateAttributes},
};

constexpr PairRow kClassCount[] = {
    {"  Total Classes/Structs .: ", kValueCount, "  Total Nested Classes ..: ", kValueNested}};
constexpr PairRow kInterfaceCount[] = {
    {"  Total Interfaces ......: ", kValueCount, "  Total Nested Interfaces: ", kValueNested}};
constexpr PairRow kNamespaceCount[] = {
    {"  Total Namespace/Package: ", kValueCount, "  Total Classes/Structs .: ", kMetricClasses}};
constexpr PairRow kNamespaceClassAverage[] = {{"  Avg Classes/Structs ...: ", kMetricClasses, nullptr, 0}};
constexpr PairRow kNamespaceClassMaximum[] = {{"  Max Classes/Structs ...: ", kMetricClasses, nullptr, 0}};

enum class Block { Totals, Averages, Maxima, Minima };

std::string LabelFor(const char* label, Block block, GlobalData& gcd) {
  std::string text(label);
  if (block == Block::Minima && text.compare(2, 3, "Max") == 0) text.replace(2, 3, "Min");
  return Label(text.c_str(), gcd);
}

long long IntValue(const EntitySummary& s, int value, Block block) {
  if (value == kValueCount) return s.count;
  if (value == kValueNested) return s.nested;
  const auto m = static_cast<EntityMetric>(value);
  return block == Block::Maxima ? s.Max(m) : block == Block::Minima ? s.Min(m) : s.Total(m);
}

double FpValue(const EntitySummary& s, int value) {
  return value == kValueFpLoc ? s.fp.loc : value == kValueFpEloc ? s.fp.eloc : s.fp.lloc;
}

void WriteRows(std::span<const PairRow> rows, Block block, const EntitySummary& s, GlobalData& gcd) {
  for (const PairRow& row : rows) {
    const std::string left = LabelFor(row.left, block, gcd);
    if (block == Block::Averages)
      OutF("%s %9.2f", left.c_str(), s.Average(static_cast<EntityMetric>(row.leftValue)));
    else
      OutF("%s %9lld", left.c_str(), IntValue(s, row.leftValue, block));
    if (row.right == nullptr) {
      OutS("\n");
      continue;
    }
    const std::string right = LabelFor(row.right, block, gcd);
    if (block == Block::Averages)
      OutF("%s%10.2f\n", right.c_str(), s.Average(static_cast<EntityMetric>(row.rightValue)));
    else if (row.rightValue >= kValueFpLoc)
      OutF("%s%10.1f\n", right.c_str(), FpValue(s, row.rightValue));
    else
      OutF("%s%10lld\n", right.c_str(), IntValue(s, row.rightValue, block));
  }
}

// The four blocks of a summary, each made of the given row groups.
struct BlockRows {
  std::vector<std::span<const PairRow>> totals, averages, extremes;
};

void WriteBlocks(const BlockRows& rows, const EntitySummary& s, GlobalData& gcd) {
  for (auto part : rows.totals) WriteRows(part, Block::Totals, s, gcd);
  SummarySeparator();
  for (auto part : rows.averages) WriteRows(part, Block::Averages, s, gcd);
  SummarySeparator();
  for (auto part : rows.extremes) WriteRows(part, Block::Maxima, s, gcd);
  SummarySeparator();
  for (auto part : rows.extremes) WriteRows(part, Block::Minima, s, gcd);
}

// XML elements of the function metrics: totals, averages, maxima, minima.
struct XmlMetric {
  const char* name;
  EntityMetric metric;
};
constexpr XmlMetric kXmlMetrics[] = {
    {"loc", kMetricLoc},
    {"eloc", kMetricEloc},
    {"lloc", kMetricLloc},
    {"comments", kMetricComments},
    {"blanks", kMetricBlanks},
    {"params", kMetricParameters},
    {"returns", kMetricReturns},
    {"interface_complexity", kMetricInterface},
    {"cyclomatic_complexity", kMetricCyclomatic},
    {"total_complexity", kMetricTotal},
    {"lines", kMetricLines},
};

void XmlFunctionMetrics(const EntitySummary& s, const char* countElement) {
  if (countElement != nullptr) OutF("<%s>%d</%s>\n", countElement, s.count, countElement);
  for (const XmlMetric& x : kXmlMetrics) OutF("<%s>%lld</%s>\n", x.name, s.Total(x.metric), x.name);
  OutF("<function_points_loc>%.1f</function_points_loc>\n", s.fp.loc);
  OutF("<function_points_eloc>%.1f</function_points_eloc>\n", s.fp.eloc);
  OutF("<function_points_lloc>%.1f</function_points_lloc>\n", s.fp.lloc);
  const double n = s.count > 0 ? s.count : 1;
  if (countElement != nullptr)
    OutF("<average_%s>%.2f</average_%s>\n", countElement, s.count > 0 ? 1.0 : 0.0, countElement);
  for (const XmlMetric& x : kXmlMetrics) OutF("<average_%s>%.2f</average_%s>\n", x.name, s.Average(x.metric), x.name);
  OutF("<average_function_points_loc>%.2f</average_function_points_loc>\n", s.fp.loc / n);
  OutF("<average_function_points_eloc>%.2f</average_function_points_eloc>\n", s.fp.eloc / n);
  OutF("<average_function_points_lloc>%.2f</average_function_points_lloc>\n", s.fp.lloc / n);
  for (const XmlMetric& x : kXmlMetrics)
    if (x.metric != kMetricTotal) OutF("<max_%s>%lld</max_%s>\n", x.name, s.Max(x.metric), x.name);
  for (const XmlMetric& x : kXmlMetrics)
    if (x.metric != kMetricTotal) OutF("<min_%s>%lld</min_%s>\n", x.name, s.Min(x.metric), x.name);
}

void XmlMemberCounts(const EntitySummary& s) {
  static constexpr XmlMetric kMembers[] = {
      {"methods", kMetricMethods},
      {"public_methods", kMetricPublicMethods},
      {"protected_methods", kMetricProtectedMethods},
      {"private_methods", kMetricPrivateMethods},
      {"public_attributes", kMetricPublicAttributes},
      {"protected_attributes", kMetricProtectedAttributes},
      {"private_attributes", kMetricPrivateAttributes},
  };
  for (const XmlMetric& x : kMembers) OutF("<%s>%lld</%s>\n", x.name, s.Total(x.metric), x.name);
}

void CsvSummaryRows(RowLayout layout, const EntitySummary& s) {
  for (RowStat stat : {RowStat::Total, RowStat::Average, RowStat::Maximum, RowStat::Minimum})
    WriteSummaryRow(layout, stat, s);
}

// The complexity, LOC and function point lines of a class, interface or
// namespace list's totals.
void TotalsLines(const EntitySummary& s, GlobalData& gcd) {
  ComplexLine(static_cast<int>(s.Total(kMetricParameters)), static_cast<int>(s.Total(kMetricReturns)),
              static_cast<int>(s.Total(kMetricCyclomatic)), gcd);
  LOCLine(static_cast<int>(s.Total(kMetricLoc)), static_cast<int>(s.Total(kMetricEloc)),
          static_cast<int>(s.Total(kMetricLloc)), static_cast<int>(s.Total(kMetricComments)),
          static_cast<int>(s.Total(kMetricLines)), gcd);
  if (gcd.sw.functionPoints || IsXml(gcd)) FPLine(s.fp.loc, s.fp.eloc, s.fp.lloc, gcd);
}

void AnalysisTitle(const char* title, GlobalData& gcd) {
  HyphenRule();
  OutS("\n");
  SectionTitle(title, gcd);
  OutS("\n");
}

}  // namespace

void CreditFunctionsToNamespaces(GlobalData& gcd) {
  if (gcd.rep.functionsCredited) return;
  gcd.rep.functionsCredited = 1;
  for (const NodeData& r : gcd.lists.functions) Add_Func2namespace(r, gcd);
}

void CreditClassesToNamespaces(GlobalData& gcd) {
  if (gcd.rep.classesCredited) return;
  gcd.rep.classesCredited = 1;
  for (const NodeData& r : gcd.lists.classes) Add_Class2namespace(r, gcd);
}

void TShowFunctionSummary(Llist<NodeData>& list, GlobalData& gcd) {
  EntitySummary s;
  FileLanguage language;
  const bool credit = !gcd.rep.functionsCredited && &list == &gcd.lists.functions;
  for (const NodeData& r : list) {
    s.Add(r, EntityKind::Function, language, gcd);
    if (credit) Add_Func2namespace(r, gcd);
  }
  if (credit) gcd.rep.functionsCredited = 1;

  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutS("<total_all_function_analysis>\n");
      XmlFunctionMetrics(s, "function_count");
      OutS("</total_all_function_analysis>\n");
      return;
    case OutputMode::Csv:
      CsvSummaryRows(RowLayout::Function, s);
      OutF(",Function Pts.,%10.1f,%10.1f,%10.1f,\n", s.fp.loc, s.fp.eloc, s.fp.lloc);
      return;
    case OutputMode::Html:
    case OutputMode::Text:
      break;
  }
  const bool html = IsHtml(gcd);
  OutS(html ? "  <b>Total</b>: <b>Functions  </b>\n" : "  Total: Functions  \n");
  OutF("%s%-7lld%s%-7lld%s%-7lld%s%-7lld", Label("  LOC ", gcd).c_str(), s.Total(kMetricLoc),
       Label("  eLOC ", gcd).c_str(), s.Total(kMetricEloc), Label("  lLOC ", gcd).c_str(), s.Total(kMetricLloc),
       Label("  InCmp ", gcd).c_str(), s.Total(kMetricInterface));
  if (html)
    OutF("%s%7lld\n\n", Bold("  CycloCmp ").c_str(), s.Total(kMetricCyclomatic));
  else
    OutF("%s%7lld\n", "  CycloCmp ", s.Total(kMetricCyclomatic));
  if (gcd.sw.functionPoints) FPLine(s.fp.loc, s.fp.eloc, s.fp.lloc, gcd);
  AnalysisTitle("~~ Project Functional Analysis ~~", gcd);
  WriteBlocks({{kFunctionTotals}, {kFunctionAverages}, {kFunctionExtremes}}, s, gcd);
}

void TShowClassInterSummary(Llist<NodeData>& list, const char* listName, int interfaces, GlobalData& gcd) {
  EntitySummary s;
  FileLanguage language;
  const bool credit = !interfaces && !gcd.rep.classesCredited && &list == &gcd.lists.classes;
  for (const NodeData& r : list) {
    s.Add(r, interfaces ? EntityKind::Interface : EntityKind::Class, language, gcd);
    if (credit) Add_Class2namespace(r, gcd);
  }
  if (credit) gcd.rep.classesCredited = 1;

  const bool parents = s.nested > 0;
  switch (ReportMode(gcd)) {
    case OutputMode::Xml: {
      const std::string tag = xml_tag_encode(listName);
      OutF(parents ? "<total_all_parent_%s>\n" : "<total_all_%s>\n", tag.c_str());
      TotalsLines(s, gcd);
      const char* analysis = interfaces ? "total_all_interface_analysis" : "total_all_class_struct_analysis";
      const char* count = interfaces ? "interface_count" : "class_struct_count";
      OutF("<%s>\n<%s>%d</%s>\n<nested_count>%d</nested_count>\n", analysis, count, s.count, count, s.nested);
      XmlMemberCounts(s);
      XmlFunctionMetrics(s, nullptr);
      OutF("</%s>\n", analysis);
      OutF(parents ? "</total_all_parent_%s>\n" : "</total_all_%s>\n", tag.c_str());
      return;
    }
    case OutputMode::Csv:
      CsvSummaryRows(RowLayout::Class, s);
      return;
    case OutputMode::Html:
      OutF(parents ? "  <b>Total</b>: <b>All Parent %s</b>\n" : "  <b>Total</b>: <b>All %s</b>\n", listName);
      break;
    case OutputMode::Text:
      OutF(parents ? "  Total: All Parent %s\n" : "  Total: All %s\n", listName);
      break;
  }
  TotalsLines(s, gcd);
  AnalysisTitle(interfaces ? "~~ Project Interface Analysis ~~" : "~~ Project Class/Struct Analysis ~~", gcd);
  const std::span<const PairRow> count = interfaces ? std::span<const PairRow>(kInterfaceCount)
                                                    : std::span<const PairRow>(kClassCount);
  const std::span<const PairRow> functionTotals = std::span<const PairRow>(kFunctionTotals).subspan(1);
  const std::span<const PairRow> functionAverages = std::span<const PairRow>(kFunctionAverages).subspan(1);
  WriteBlocks({{count, kTypeTotals, functionTotals}, {kTypeAverages, functionAverages}, {kTypeExtremes, kFunctionExtremes}},
              s, gcd);
}

void TShowNamespaceSummary(Llist<NodeData>& list, GlobalData& gcd) {
  EntitySummary s;
  FileLanguage language;
  for (const NodeData& r : list) s.Add(r, EntityKind::Namespace, language, gcd);

  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutS("<total_all_namespaces_packages>\n");
      TotalsLines(s, gcd);
      OutF("<total_all_namespace_package_analysis>\n<namespace_package_count>%d</namespace_package_count>\n"
           "<class_struct_count>%lld</class_struct_count>\n",
           s.count, s.Total(kMetricClasses));
      XmlMemberCounts(s);
      XmlFunctionMetrics(s, nullptr);
      OutS("</total_all_namespace_package_analysis>\n</total_all_namespaces_packages>\n");
      return;
    case OutputMode::Csv:
      CsvSummaryRows(RowLayout::Namespace, s);
      return;
    case OutputMode::Html:
      OutS("  <b>Total</b>: <b>All Namespaces/Packages</b>\n");
      break;
    case OutputMode::Text:
      OutS("  Total: All Namespaces/Packages\n");
      break;
  }
  TotalsLines(s, gcd);
  AnalysisTitle("~~ Project Namespace/Package Analysis ~~", gcd);
  const std::span<const PairRow> functionTotals = std::span<const PairRow>(kFunctionTotals).subspan(1);
  const std::span<const PairRow> functionAverages = std::span<const PairRow>(kFunctionAverages).subspan(1);
  WriteBlocks({{kNamespaceCount, kTypeTotals, functionTotals},
               {kNamespaceClassAverage, kTypeAverages, functionAverages},
               {kNamespaceClassMaximum, kTypeExtremes, kFunctionExtremes}},
              s, gcd);
}
