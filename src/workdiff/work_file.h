// The work file: a text record of a baseline, one header and one line per
// analysed file, written during a run with -w"create dir" and read back to
// compare two baselines.
#pragma once

#include <cstdio>
#include <ctime>
#include <string>

#include "common/llist.h"
#include "common/records.h"

struct GlobalData;

// The name of the work file a run creates: the -w"File dat" name, or the
// dated default name in the work file location.
std::string WorkFileCreateName(GlobalData& gcd);
// Opens the work file (a temporary file published at the end of the run),
// writes its header and, with -wd, makes the line data staging directory.
// Returns the stream, or null (after a message; the run then fails) when the
// file cannot be created or names something that is not a regular file.
FILE* CreateWorkFile(GlobalData& gcd);
// The work file line of the file just analysed (with its notices so far and
// its line data file), or empty when no baseline is being written.
std::string WorkFileLine(const FileData& record, const GlobalData& gcd);
// Writes a line made by WorkFileLine to the work file (when the file is merged).
void WriteWorkFileLine(const std::string& line, GlobalData& gcd);
// The name written in a work file line: relative to the baseline top
// directory when "Relative Work Files" is Yes.
std::string WorkFileEntryName(const std::string& fileName, const GlobalData& gcd);
// End of run: publishes the line data directory and the work file, copies
// the work file to the location's workfile.dat and reports it. A baseline
// with a failed write is not published (the previous files stay and the run
// fails); a listing or de-charactering run drops its work file.
void FinishWorkFile(GlobalData& gcd);

// One file line of a work file, split.
struct WorkLine {
  std::string name;
  long date = 0;
  int size = 0, loc = 0, eloc = 0, comments = 0, blanks = 0, lines = 0, lloc = 0;
  int cyclomatic = 0, notices = 0, interface = 0, functions = 0;
  std::string dataPath;
};
enum class WorkLineResult { Parsed, Skipped, Damaged };
// Splits a file line. Skipped: no '|' or no '.' before it (a file without
// an extension); Damaged: the numbers after the '|' cannot be read.
WorkLineResult ParseWorkLine(const std::string& line, WorkLine& out);

// Loads a work file into a list of NodeData records (work_entry.h). Returns
// 1, or 0 after a message when the file cannot be opened or is no work file.
int LoadWorkFile(const std::string& fileName, time_t* created, Llist<NodeData>& list, int* ignoreBlank,
                 int* ignoreWhite, GlobalData& gcd);
