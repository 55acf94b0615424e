// The run record of a worker thread: what the analysis of a file reads of
// the run's set-up (switches, configuration, language table, notice texts),
// copied once, with none of the run's lists, totals or open streams. What a
// worker's file changes in the run goes to its FileResult; what it reads of
// the files merged before it, through the RunShare.
#pragma once

#include <memory>

struct GlobalData;
struct RunShare;

std::unique_ptr<GlobalData> NewWorkerRecord(const GlobalData& run, const RunShare& share);
