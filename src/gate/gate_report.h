// The gate's report: a summary of both sides and of the matching, one line
// per finding in the "file:line: error: message" form that editors and CI
// logs parse, and the verdict.
#pragma once

#include <string>
#include <vector>

#include "gate/matcher.h"

struct GateSideSummary {
  std::string name;        // as -G named it, or "the files on disk"
  std::string commit;      // a git side's commit, else empty
  bool mergeBase = false;  // the commit is a merge base
  std::string pathPrefix;  // joined before the paths of findings (a head directory), else empty
  std::vector<std::string> skipped;  // symbolic links, submodules, LFS pointers
};

// Writes the report on the report stream; returns the exit status, 0
// passed or 2 failed. compared says what was compared when only the changed
// files were.
int ReportGate(const GateSideSummary& base, const GateSideSummary& head, const GateSnapshot& baseSnap,
               const GateResult& result, std::string_view compared, std::string_view warnings);
