// The base as a gate side run sees it when most of its files are the
// head's: the run works in the head's directory and reads there every file
// the base shares with the head; the files that differ, or that only the
// base has, come from a private directory holding the base's versions. So
// the gate writes only the files that changed, not a copy of the tree.
//
// The gate describes the view in a file beside the run's snapshot, named by
// LQA_GATE_OVERLAY: the private directory, then every path of the base's
// tree (relative to the run's directory), each NUL-terminated.
#pragma once

#include <string>

struct GlobalData;

inline constexpr const char* kGateOverlayVariable = "LQA_GATE_OVERLAY";

// After the directory walk of a recursive selection (dir, extensions):
// keeps the files of the base, walks the private directory the same way
// for the others, and notes which files are read from there. Nothing
// happens without a view for this run.
void ApplyGateOverlay(const std::string& dir, const std::string& extensions, GlobalData& gcd);

// The file to open for an input file of the run.
const std::string& GateInputPath(const std::string& name, const GlobalData& gcd);
