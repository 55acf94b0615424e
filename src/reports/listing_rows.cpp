#include "reports/listing_rows.h"

#include <span>

#include "common/output.h"

namespace {

// Column that holds the comment ratio ("Comments/eLOC").
constexpr int kRatioColumn = -1;

constexpr int kFunctionColumns[] = {
    kMetricLoc, kMetricEloc, kMetricLloc, kMetricComments, kRatioColumn, kMetricLines, kMetricParameters,
    kMetricReturns, kMetricInterface, kMetricCyclomatic, kMetricTotal,
};
constexpr int kClassColumns[] = {
    kMetricLoc, kMetricEloc, kMetricLloc, kMetricComments, kRatioColumn, kMetricLines, kMetricParameters,
    kMetricReturns, kMetricInterface, kMetricCyclomatic, kMetricTotal, kMetricMethods, kMetricPublicMethods,
    kMetricProtectedMethods, kMetricPrivateMethods, kMetricAttributes, kMetricPublicAttributes,
    kMetricProtectedAttributes, kMetricPrivateAttributes,
};
constexpr int kNamespaceColumns[] = {
    kMetricLoc, kMetricEloc, kMetricLloc, kMetricComments, kRatioColumn, kMetricLines, kMetricParameters,
    kMetricReturns, kMetricInterface, kMetricCyclomatic, kMetricTotal, kMetricClasses, kMetricFunctions,
    kMetricPublicMethods, kMetricProtectedMethods, kMetricPrivateMethods, kMetricAttributes,
    kMetricPublicAttributes, kMetricProtectedAttributes, kMetricPrivateAttributes,
};

std::span<const int> Columns(RowLayout layout) {
  switch (layout) {
    case RowLayout::Function: return kFunctionColumns;
    case RowLayout::Class: return kClassColumns;
    case RowLayout::Namespace: return kNamespaceColumns;
  }
  return kFunctionColumns;
}

const char* TypeWord(RowLayout layout) {
  switch (layout) {
    case RowLayout::Function: return "Function";
    case RowLayout::Class: return "Class";
    case RowLayout::Namespace: return "Namespace/Package";
  }
  return "Function";
}

void WriteCounts(RowLayout layout, const EntityValues& values, double ratio) {
  for (int column : Columns(layout)) {
    if (column == kRatioColumn)
      OutF(",%.2f", ratio);
    else
      OutF(",%lld", values[static_cast<std::size_t>(column)]);
  }
  OutS("\n");
}

}  // namespace

const char* ListingColumnHeader(RowLayout layout) {
  switch (layout) {
    case RowLayout::Function:
      return "Type,Name,Params,LOC,eLOC,lLOC,Comments,Comments/eLOC,Lines,Parameters,Returns,Interface Complexity,"
             "Cyclomatic Complexity,Functional Complexity\n";
    case RowLayout::Class:
      return "Type,Name,LOC,eLOC,lLOC,Comments,Comments/eLOC,Lines,Parameters,Returns,Interface Complexity,"
             "Cyclomatic Complexity,Functional Complexity,Methods,Public Methods,Protected Methods,Private Methods,"
             "Attributes,Public Attributes,Protected Attributes,Private Attributes\n";
    case RowLayout::Namespace:
      return "Type,Name,LOC,eLOC,lLOC,Comments,Comments/eLOC,Lines,Parameters,Returns,Interface Complexity,"
             "Cyclomatic Complexity,Functional Complexity,Classes,Functions,Public Methods,Protected Methods,"
             "Private Methods,Attributes,Public Attributes,Protected Attributes,Private Attributes\n";
  }
  return "";
}

void WriteEntryRow(RowLayout layout, const char* name, const EntityValues& values, double ratio) {
  OutF("%s,%s", TypeWord(layout), name);
  WriteCounts(layout, values, ratio);
}

void WriteFunctionRow(const char* name, const char* parameters, const EntityValues& values, double ratio) {
  OutF("Function,%s,%s", name, parameters);
  WriteCounts(RowLayout::Function, values, ratio);
}

void WriteSummaryRow(RowLayout layout, RowStat stat, const EntitySummary& s) {
  static constexpr const char* kStatNames[] = {"Total", "Average", "Maximum", "Minimum"};
  OutF("%s,%s", TypeWord(layout), kStatNames[static_cast<int>(stat)]);
  // The function rows keep an empty parameter column.
  if (layout == RowLayout::Function) OutS(",");
  for (int column : Columns(layout)) {
    const bool ratio = column == kRatioColumn;
    const auto m = static_cast<EntityMetric>(ratio ? 0 : column);
    switch (stat) {
      case RowStat::Total:
        if (ratio) OutF(",%.2f", s.ratio.sum);
        else OutF(",%lld", s.Total(m));
        break;
      case RowStat::Average:
        OutF(",%.2f", ratio ? s.AverageRatio() : s.Average(m));
        break;
      case RowStat::Maximum:
        if (ratio) OutF(",%.2f", s.ratio.max);
        else OutF(",%lld", s.Max(m));
        break;
      case RowStat::Minimum:
        if (ratio) OutF(",%.2f", s.MinRatio());
        else OutF(",%lld", s.Min(m));
        break;
    }
  }
  OutS("\n");
}
