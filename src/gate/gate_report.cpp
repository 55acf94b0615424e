#include "gate/gate_report.h"

#include "common/output.h"

namespace {

void SideLine(const char* label, const GateSideSummary& side) {
  if (side.commit.empty()) {
    OutF("  %s: %s\n", label, side.name.c_str());
    return;
  }
  OutF("  %s: %s (%s%s)\n", label, side.name.c_str(), side.mergeBase ? "merge base " : "commit ",
       side.commit.substr(0, 12).c_str());
}

void Skipped(const char* label, const GateSideSummary& side) {
  for (const std::string& s : side.skipped) OutF("  Skipped in the %s: %s\n", label, s.c_str());
}

}  // namespace

int ReportGate(const GateSideSummary& base, const GateSideSummary& head, const GateSnapshot& baseSnap,
               const GateResult& result, std::string_view compared, std::string_view warnings) {
  OutS("\n  Quality gate\n");
  SideLine("Base", base);
  SideLine("Head", head);
  if (!compared.empty()) OutF("  Compared: %.*s\n", static_cast<int>(compared.size()), compared.data());
  if (!warnings.empty()) OutF("  Warning: %.*s\n", static_cast<int>(warnings.size()), warnings.data());
  OutF("  Functions: %lld matched, %lld moved, %lld renamed, %zu new, %zu removed\n", result.matchedCount,
       result.movedCount, result.renamedCount, result.newFunctions.size(), result.removedFunctions.size());
  OutF("  Notices: %lld unchanged, %lld new, %lld fixed\n", result.noticesUnchanged, result.noticesNew,
       result.noticesFixed);
  Skipped("base", base);
  Skipped("head", head);
  for (int i : result.removedFunctions) {
    const GateFunction& f = baseSnap.functions[static_cast<std::size_t>(i)];
    OutF("  Removed: %s (%s:%d)\n", f.name.c_str(), f.path.c_str(), f.line);
  }
  OutS("\n");
  for (const GateFinding& f : result.findings)
    OutF("%s%s:%d: error: %s\n", head.pathPrefix.c_str(), f.path.c_str(), f.line, f.message.c_str());
  if (result.findings.empty()) {
    OutS("Gate passed\n");
    return 0;
  }
  OutF("Gate failed: %zu finding%s\n", result.findings.size(), result.findings.size() == 1 ? "" : "s");
  return 2;
}
