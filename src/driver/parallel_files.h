// Analysis of the run's files on worker threads, merged in file order: the
// report, the totals and every list come out as the serial run makes them.
#pragma once

struct GlobalData;

// The number of workers the run's files are analysed on: 1 when they are
// analysed one after another by the main thread, as in every run that shows
// its work as it goes, rewrites files, compares baselines or writes what
// only a serial run can (see the definition for the list).
int WorkersForRun(const GlobalData& gcd);

// Analyses and merges every file of the input list with that many workers
// (more than 1). Returns the number of files analysed again on the main
// thread because a file merged after their analysis began changed what they
// read of the run.
int AnalyzeFilesInParallel(GlobalData& gcd, int workers);
