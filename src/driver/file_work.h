// The seam between one file's work and the run's. AnalyzeFile reads and
// analyses a file into a FileResult: its report text goes to the result's
// sink, its counts to the result. MergeFile applies a result to the run: the
// text to the report stream, the counts to the totals, in file order, so
// that floating-point sums are added in the same order whoever analysed the
// file.
#pragma once

#include <shared_mutex>

struct FileData;
struct FileResult;
struct GlobalData;

// Analyses the file at the index of the input list. Under -p, -D and
// -xDEBUG the text goes straight to the report as it is written.
void AnalyzeFile(GlobalData& gcd, int index, FileData& record, FileResult& result);
// Applies the result to the run; the results of a run are merged in the
// order of their indexes. It is MergeSharedRecords, then MergeFileOutputs.
void MergeFile(GlobalData& gcd, FileResult& result);
// What worker threads read of the run while others are merged: the macro
// names (which workers read without the lock), the user notice state and the
// structure records (under the lock, when one is given, held exclusively).
void MergeSharedRecords(GlobalData& gcd, FileResult& result, std::shared_mutex* lock = nullptr);
// The rest, which no worker reads: progress, report text, notice counts,
// notice documents, line data, totals and the work file line.
void MergeFileOutputs(GlobalData& gcd, FileResult& result);
