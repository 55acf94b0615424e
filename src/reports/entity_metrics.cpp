#include "reports/entity_metrics.h"

#include <cctype>
#include <cstring>

#include "common/gcd.h"
#include "driver/languages.h"
#include "reports/function_points.h"
#include "structure/entity_records.h"

EntityValues ValuesOf(const NodeData& r, EntityKind kind) {
  EntityValues v{};
  v[kMetricLoc] = r.loc;
  v[kMetricEloc] = r.eloc;
  v[kMetricLloc] = r.lloc;
  v[kMetricComments] = r.comments;
  v[kMetricBlanks] = r.blanks;
  v[kMetricLines] = r.lines;
  v[kMetricParameters] = r.parameters;
  v[kMetricCyclomatic] = r.cyclomatic;
  if (kind == EntityKind::Function) {
    v[kMetricReturns] = FuncReturns(r);
  } else {
    v[kMetricReturns] = ClassReturns(r);
    v[kMetricPublicMethods] = ClassPublicMethods(r);
    v[kMetricProtectedMethods] = ClassProtectedMethods(r);
    v[kMetricPrivateMethods] = ClassPrivateMethods(r);
    v[kMetricMethods] = ClassMethods(r);
    v[kMetricPublicAttributes] = ClassPublicAttributes(r);
    v[kMetricProtectedAttributes] = ClassProtectedAttributes(r);
    v[kMetricPrivateAttributes] = ClassPrivateAttributes(r);
    v[kMetricAttributes] = ClassAttributes(r);
    v[kMetricFunctions] = static_cast<long long>(ClassFunctions(r));
    if (kind == EntityKind::Namespace) v[kMetricClasses] = NamespaceClasses(r);
  }
  v[kMetricInterface] = v[kMetricParameters] + v[kMetricReturns];
  v[kMetricTotal] = v[kMetricInterface] + v[kMetricCyclomatic];
  return v;
}

double CommentRatio(const NodeData& r) {
  return r.eloc > 0 ? static_cast<double>(r.comments) / r.eloc : 0.0;
}

void FileLanguage::MakeCurrent(const char* fileName, GlobalData& gcd) {
  if (valid_ && fileName == current_) return;
  WhichFile(fileName == nullptr ? std::string() : std::string(fileName), 0, gcd);
  current_ = fileName;
  valid_ = true;
}

FunctionPoints FileLanguage::Of(const NodeData& r, GlobalData& gcd) {
  MakeCurrent(r.fileName, gcd);
  return {GetFP(r.loc, 0, gcd), GetFP(r.eloc, 1, gcd), GetFP(r.lloc, 2, gcd)};
}

void EntitySummary::Add(const NodeData& r, EntityKind kind, FileLanguage& language, GlobalData& gcd) {
  const bool first = count == 0;
  ++count;
  if (kind != EntityKind::Function && kind != EntityKind::Namespace && ClassIsNested(r)) ++nested;
  const EntityValues v = ValuesOf(r, kind);
  for (int m = 0; m < kEntityMetricCount; ++m) metric[m].Add(v[m], first);
  ratio.Add(CommentRatio(r), first);
  const FunctionPoints p = language.Of(r, gcd);
  fp.loc += p.loc;
  fp.eloc += p.eloc;
  fp.lloc += p.lloc;
}

double EntitySummary::Average(EntityMetric m) const {
  return count > 0 ? static_cast<double>(metric[m].sum) / count : 0.0;
}

double EntitySummary::AverageRatio() const { return count > 0 ? ratio.sum / count : 0.0; }

bool ListedName(const char* name) {
  if (name == nullptr) return false;
  const unsigned char c = static_cast<unsigned char>(name[0]);
  return std::isalpha(c) || c == '_' || c == '~';
}

const char* InterfaceName(const NodeData& r) {
  const char* name = r.name.c_str();
  if (const char* at = std::strstr(name, "Interface-")) {
    if (const char* hyphen = std::strchr(at, '-')) return hyphen + 1;
  }
  return name;
}
