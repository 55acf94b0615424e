// The counts of function, class, interface and namespace records as the
// project listings see them, and their totals, averages, maxima and minima.
#pragma once

#include <array>

#include "common/records.h"
#include "reports/report_state.h"

struct GlobalData;

enum class EntityKind { Function, Class, Interface, Namespace };

enum EntityMetric {
  kMetricLoc = 0,
  kMetricEloc,
  kMetricLloc,
  kMetricComments,
  kMetricBlanks,
  kMetricLines,
  kMetricParameters,
  kMetricReturns,
  kMetricInterface,   // parameters + returns
  kMetricCyclomatic,
  kMetricTotal,       // parameters + returns + cyclomatic
  kMetricMethods,
  kMetricPublicMethods,
  kMetricProtectedMethods,
  kMetricPrivateMethods,
  kMetricAttributes,
  kMetricPublicAttributes,
  kMetricProtectedAttributes,
  kMetricPrivateAttributes,
  kMetricClasses,     // namespaces: classes and structs credited
  kMetricFunctions,   // classes and namespaces: functions credited
  kEntityMetricCount
};

using EntityValues = std::array<long long, kEntityMetricCount>;

EntityValues ValuesOf(const NodeData& record, EntityKind kind);
// Comment lines / eLOC, 0 when eLOC is 0 or below.
double CommentRatio(const NodeData& record);

struct FunctionPoints {
  double loc = 0, eloc = 0, lloc = 0;
};

// Makes the language of a record's file current for GetFP. Consecutive
// records of one file share its name, so the look-up runs once per file.
class FileLanguage {
 public:
  void MakeCurrent(const char* fileName, GlobalData& gcd);
  FunctionPoints Of(const NodeData& record, GlobalData& gcd);

 private:
  const char* current_ = nullptr;
  bool valid_ = false;
};

// One pass over a list: count, nested types, per metric the total, maximum
// and minimum, the comment ratios and the function points.
struct EntitySummary {
  int count = 0;
  int nested = 0;
  std::array<ColumnStat, kEntityMetricCount> metric{};
  RealColumnStat ratio;
  FunctionPoints fp;

  void Add(const NodeData& record, EntityKind kind, FileLanguage& language, GlobalData& gcd);
  long long Total(EntityMetric m) const { return metric[m].sum; }
  long long Max(EntityMetric m) const { return metric[m].max; }
  // A minimum below 0 is written as 0.
  long long Min(EntityMetric m) const { return metric[m].min < 0 ? 0 : metric[m].min; }
  double Average(EntityMetric m) const;
  double AverageRatio() const;
  double MinRatio() const { return ratio.min < 0 ? 0.0 : ratio.min; }
};

// A listing entry is written only for names that begin with a letter, '_' or '~'.
bool ListedName(const char* name);
// The name an interface record is shown with: the text after "Interface-".
const char* InterfaceName(const NodeData& record);
