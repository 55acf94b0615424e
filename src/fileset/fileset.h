// Building the ordered list of input files.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/llist.h"
#include "common/records.h"

struct GlobalData;

struct FileSetState {
  int filesFound = 0;
  // Files are gathered here, then joined (headers first) into the input list.
  Llist<FileData> headerList;
  Llist<FileData> sourceList;
  // Set by SetFileDateSize for the file being added.
  int fileDate = 0;
  int fileSize = 0;
  // The pattern filter split into its patterns (lower case unless names are
  // case sensitive); prepared once per BuildFileList.
  std::vector<std::string> patterns;
  bool patternsPrepared = false;
  // Directories already read by the current top-level ReadDir, by device and
  // inode, so that a loop through symbolic links is read once.
  std::set<std::pair<unsigned long long, unsigned long long>> visitedDirs;
  int readDirDepth = 0;
  int lastErrno = 0;  // the error of the last failed directory open
  // Progress indicator while building (process lifetime).
  int progressCount = 0;
  int progressTotal = 0;
  bool progressStarted = false;
};

// Builds the input file list from the command line, -r or -F; returns the
// number of files.
int BuildFileList(int argc, char** argv, int firstArg, GlobalData& gcd);
// Adds the files of one directory and, unless recursion is off, of its
// subdirectories. Returns 1, or 0 after an error.
int ReadDir(const std::string& directory, const std::string& extensionList, GlobalData& gcd);
// 1 when the extension is one of the list's items (or validation is off).
int valid_ext(const std::string& extension, const std::string& list, int caseSensitive, GlobalData& gcd);
// 1 when the pattern filter is active and one of its patterns occurs in the path.
int FilenamePatternMatch(const std::string& path, GlobalData& gcd);
// Replaces every %NAME% of a list file line by the variable's value.
void ExpandEnvarString(std::string& line, GlobalData& gcd);
// Records the file's modification time and size (0 when its status cannot be read).
void SetFileDateSize(const std::string& path, GlobalData& gcd);
// Splits the pattern filter anew (at the start of every BuildFileList).
void PrepareFileFilters(GlobalData& gcd);
// Adds a file with the current date and size to the header or source list.
int AddInputFile(const std::string& name, const std::string& extension, GlobalData& gcd);
// Reads the -F list file (gcd.drv.fileListStream) and adds its files and directories.
void ReadFileList(GlobalData& gcd);
// Lists every entry of the input file list.
void FileShow(GlobalData& gcd);
