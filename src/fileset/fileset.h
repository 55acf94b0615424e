// Building the ordered list of input files.
#pragma once

struct GlobalData;

struct FileSetState {
  int filesFound = 0;
};

// Builds the input file list from the command line, -r or -F; returns the
// number of files.
int BuildFileList(int argc, char** argv, int firstArg, GlobalData& gcd);
