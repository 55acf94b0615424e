#include "reports/function_points.h"

#include "common/gcd.h"

namespace {

// The language group of the current file, tested in the order of the
// language totals (a header is a header whatever its language), or -1.
int CurrentGroup(const LanguageState& lang) {
  struct GroupFlag {
    int LanguageState::*flag;
    LanguageGroup group;
  };
  static constexpr GroupFlag kOrder[] = {
      {&LanguageState::isHeader, kGroupHeader}, {&LanguageState::isC, kGroupC},
      {&LanguageState::isCpp, kGroupCpp},       {&LanguageState::isJava, kGroupJava},
      {&LanguageState::isCSharp, kGroupCSharp}, {&LanguageState::isOther, kGroupOther},
  };
  for (const GroupFlag& g : kOrder)
    if (lang.*g.flag) return g.group;
  return -1;
}

}  // namespace

double GetFP(int count, int kind, GlobalData& gcd) {
  const int group = CurrentGroup(gcd.lang);
  if (group < 0 || kind < 0 || kind > 2) return 0.0;
  const int factor = gcd.cfg.functionPoints[group][kind];
  if (factor < 1) return 0.0;
  return static_cast<double>(count) / factor;
}
