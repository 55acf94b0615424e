// The selection arguments of a gate (the -r directory and the file names)
// as a git side can honour them: a side run of a revision reads them in a
// private copy of the revision's files below the current directory, so a
// name that leaves that directory would read files of no revision at all.
#pragma once

#include <string>
#include <string_view>

struct GlobalData;

// Whether path stays below the current directory: relative, without a ".."
// component.
bool StaysBelowCurrentDirectory(std::string_view path);

// The first selection argument of this command line that a git side cannot
// read in its copy (as the user wrote it), or empty when there is none.
std::string OutsideSelection(int argc, char** argv, const GlobalData& gcd);
