// Reading one file's lines into the fixed line buffer, and its end-of-file
// sequence (AnalyzeFile, driver/file_work.h, calls both).
#pragma once

#include <cstdio>

struct FileData;
struct FileResult;
struct GlobalData;
// Reads every line of the open file into the one line buffer, applies the
// skip tokens and hands each line to the engine.
void AnalyzeLines(FILE* file, GlobalData& gcd);
// Fills the file's record, raises the file-level notices, writes the file's
// sections and hands its notices to the notice documents; the counters the
// totals take go to the result. Clears the per-file state.
void EndOfFile(FileData& record, GlobalData& gcd, FileResult& result);
