#include "reports/estimation.h"

#include <cstdio>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/format.h"
#include "reports/report_text.h"
#include "structure/entity_records.h"

namespace {

struct FunctionBasis {
  long long count = 0, loc = 0, eloc = 0, lloc = 0, comments = 0, parameters = 0, returns = 0, cyclomatic = 0;
};

// One quotient line per divisor, in this order.
enum Divisor { kPerFunction, kPerParameter, kPerReturn, kPerInterface, kPerCyclomatic, kPerComplexity };

long long DivisorValue(const FunctionBasis& b, Divisor d) {
  switch (d) {
    case kPerFunction: return b.count;
    case kPerParameter: return b.parameters;
    case kPerReturn: return b.returns;
    case kPerInterface: return b.parameters + b.returns;
    case kPerCyclomatic: return b.cyclomatic;
    case kPerComplexity: return b.cyclomatic + b.parameters + b.returns;
  }
  return 0;
}

struct FactorSection {
  const char* title;
  const char* labels[6];
};

constexpr FactorSection kSections[] = {
    {"LOC Estimation Factors",
     {"  Lines of Code, LOC, per Function ...........................: ",
      "  Lines of Code, LOC, per Function Input Parameter ...........: ",
      "  Lines of Code, LOC, per Function Return State ..............: ",
      "  LOC per Function Interface Complexity (Parameters + Return) : ",
      "  LOC per Function Cyclomatic Complexity .....................: ",
      "  LOC per Function Complexity (Cyclomatic+Interface Complex.) : "}},
    {"eLOC Estimation Factors",
     {"  Effective Lines of Code, eLOC, per Function ................: ",
      "  Effective Lines of Code, eLOC, per Function Input Parameter : ",
      "  Effective Lines of Code, eLOC, per Function Return State ...: ",
      "  eLOC per Function Interface Complexity (Parameters + Return): ",
      "  eLOC per Function Cyclomatic Complexity ....................: ",
      "  eLOC per Function Complexity (Cyclomatic+Interface Complex.): "}},
    {"lLOC Estimation Factors",
     {"  Logical Lines of Code, lLOC, per Function ..................: ",
      "  Logical Lines of Code, lLOC, per Function Input Parameter ..: ",
      "  Logical Lines of Code, lLOC, per Function Return State .....: ",
      "  lLOC per Function Interface Complexity (Parameters + Return): ",
      "  lLOC per Function Cyclomatic Complexity ....................: ",
      "  lLOC per Function Complexity (Cyclomatic+Interface Complex.): "}},
};

void SubTitle(const char* title, GlobalData& gcd) {
  if (IsHtml(gcd)) {
    char decorated[256];
    snprintf(decorated, sizeof decorated, "<b><font color=\"%s\">%s</font></b>", gcd.cfg.htmlHeaderColor.c_str(),
             title);
    Center_HTML(title, decorated);
  } else {
    Center(title);
  }
  OutS("\n");
}

}  // namespace

void ShowEstimation(GlobalData& gcd) {
  if (!IsText(gcd) && !IsHtml(gcd)) return;
  FunctionBasis b;
  for (const NodeData& f : gcd.lists.functions) {
    ++b.count;
    b.loc += f.loc;
    b.eloc += f.eloc;
    b.lloc += f.lloc;
    b.comments += f.comments;
    b.parameters += f.parameters;
    b.returns += FuncReturns(f);
    b.cyclomatic += f.cyclomatic;
  }
  if (b.count < 1) return;
  auto L = [&gcd](const char* label) { return Label(label, gcd); };

  OutS("\n");
  HyphenRule();
  OutS("\n");
  SectionTitle("~~ Estimation Analysis ~~", gcd);
  OutS("\n");
  SubTitle("Functional Basis", gcd);
  OutF("%s%10lld\n", L("  Total Function Count ..: ").c_str(), b.count);
  OutF("%s%10lld%s%10lld\n", L("  Total Function LOC ....: ").c_str(), b.loc, L("  Total Function eLOC ...: ").c_str(),
       b.eloc);
  OutF("%s%10lld%s%10lld\n", L("  Total Function lLOC ...: ").c_str(), b.lloc,
       L("  Total Function Comments: ").c_str(), b.comments);
  OutF("%s%10lld%s%10lld\n", L("  Total Func. Parameters : ").c_str(), b.parameters,
       L("  Total Function Returns : ").c_str(), b.returns);
  OutF("%s%10lld%s%10lld\n", L("  Total Cylco. Complexity: ").c_str(), b.cyclomatic,
       L("  Total Function Complex.: ").c_str(), b.parameters + b.returns + b.cyclomatic);
  OutS("\n");
  const long long numerators[] = {b.loc, b.eloc, b.lloc};
  for (int s = 0; s < 3; ++s) {
    SubTitle(kSections[s].title, gcd);
    for (int d = 0; d < 6; ++d) {
      const long long divisor = DivisorValue(b, static_cast<Divisor>(d));
      const double value = divisor < 1 ? 0.0 : static_cast<double>(numerators[s]) / divisor;
      OutF("%s%10.2f\n", L(kSections[s].labels[d]).c_str(), value);
    }
    OutS("\n");
  }
}
