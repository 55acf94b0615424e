// The quality gate run (-G"BASE [HEAD]"): each side that is no snapshot is
// analysed by a run of this program of its own (the two concurrently) that
// writes a snapshot; the snapshots are compared and the findings reported.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct GlobalData;

// -G: turns on quality notices and function and class analysis, as -n -fa
// -o at the same place of the command line.
void RequestGate(std::string_view spec, GlobalData& gcd);
// -xGATEANY.
void RequestGateAnyRise(std::string_view, GlobalData& gcd);
// Runs the gate instead of an analysis; returns the exit status: 0 passed,
// 2 failed, 3 could not compare. A SIGINT or SIGTERM stops the side runs,
// removes the temporary files and then ends the program by that signal.
int RunGate(int argc, char** argv, GlobalData& gcd);
// The command line of a side run: every switch of this one (each as one
// argument) but -G, -O and the -x keywords of documents, gates and help,
// then -x"GATESNAP snapshot" and extra, then the file arguments.
std::vector<std::string> SideArguments(int argc, char** argv, const std::string& snapshot,
                                       const std::vector<std::string>& extra = {});
