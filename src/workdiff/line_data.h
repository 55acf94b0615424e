// Differential line data: one binary file per analysed source file, with one
// 13-byte record per counted line (line number, line type, signature), written
// while a baseline is created with -wd and read back to compare two baselines.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct GlobalData;

// A record on disk: int32 line number at offset 0, the type character at 4,
// the signature (an IEEE 754 double) at 5; host byte order, no padding.
inline constexpr std::size_t kDiffRecordSize = 13;

// One loaded record. state is 0 when loaded, later '+', '-' or '='.
struct DiffDataNode {
  int line = 0;
  double signature = 0.0;
  char type = 0;
  char state = 0;
};
// The records of one data file in file order.
using DiffDataList = std::vector<DiffDataNode>;

// Computes the differential directory ("<work file>.dif") once per run and
// makes the staging directory beside it (mode 0700) that the run writes its
// line data to. A name in the way that is no directory, or a staging
// directory that cannot be made, ends the run with status 1.
void WorkDiffDataPathName(GlobalData& gcd);
// Publishes the staging directory as the differential directory once every
// data file is on disk; the previous directory and its files are removed.
// False after a message when the directory could not be replaced.
bool PublishDataDirectory(GlobalData& gcd);
// Removes the staging directory and its files: the differential directory
// stays as it was.
void DiscardDataDirectory(GlobalData& gcd);
// The data file name of a source path: relative to the working directory
// when "Relative Work Files" is Yes, without a leading '/', with every '.',
// '/', blank and '\' turned into '_', and at most 240 characters (the last ones).
std::string MungDataFilename(const std::string& path, GlobalData& gcd);
// Computes the current file's data file path and the path the work file
// stores; a name already given out in this run gets a number appended (on a
// worker's record, the name planned for the file, see data_names.h).
void WorkDiffDataFileName(GlobalData& gcd);
// Opens the current file's data file in the staging directory; 1 when it is open.
int WorkDiffDataFileOpen(GlobalData& gcd);
// Closes the current file's data file, if one is open.
void WorkDiffDataFileClose(GlobalData& gcd);
// Closes the current file's data file without a word: its file is being
// given up (a worker's analysis that failed; the file is analysed again).
void AbandonDataFile(GlobalData& gcd);
// Writes the record of one line with the current line number. Lines without
// a type, and blank lines while "Ignore code differential blank lines" is
// Yes, are not written.
void WorkDiffDataLineWrite(FILE* stream, char type, const char* line, GlobalData& gcd);
// Reads one record: 1 when read, 0 at the end of the file, -1 for a partial
// record at the end.
int WorkDiffDataLineRead(FILE* stream, int* line, char* type, double* signature);
// The signature of a line: the sum of c / k over its counted characters.
double CodeCrc(const char* text, GlobalData& gcd);
// The path of a stored data path, relative to the work file's directory and
// never out of it (no absolute path, no empty, "." or ".." component), or
// empty when the stored path is anything else.
std::string DiffDataPath(const std::string& storedPath, const std::string& workFileName);
// Loads the records of one data file, found by its stored path under the
// work file's directory (a regular file, not a link). False, after
// a message naming the file (and for a damaged file the record), when it
// cannot be read or holds a record the writer cannot have written.
bool LoadDiffDataFile(const std::string& storedPath, const std::string& workFileName, DiffDataList& list,
                      GlobalData& gcd);
// Appends a record; 0 when memory runs out.
int AddDiffDataNode(int line, char type, double signature, char state, DiffDataList& list, GlobalData& gcd);
