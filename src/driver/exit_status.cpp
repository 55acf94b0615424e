// The table of the program's exit statuses.
#include "driver/exit.h"

namespace {

constexpr ExitStatusHelp kExitStatuses[] = {
    {"0",
     "A normal run; also the help screens, --help and --version, and the few errors in switch arguments "
     "reported by the syntax error screen or as a file not found."},
    {"1",
     "An invalid switch or option, an output file that cannot be opened, a SARIF log or GitLab report that "
     "cannot be written, or another fatal error that ends the run early; also -xc after writing its template. "
     "Also a run that could not do what it was asked, with -n too whatever the count: a file it produces could "
     "not be written (the -O report, a baseline's work file or line data, the workfile.dat copy), a -D rewrite "
     "failed or its file could not be opened, a comparison's work file could not be loaded, or the -O file is "
     "one of the inputs."},
    {"1-255", "With -n: the number of quality notices found, held at 255 for 255 or more."},
    {"2", "With -G: the quality gate failed: at least one new notice, a function whose complexity rose above the "
          "limit (any rise with -xGATEANY) or a new function over it. With -G this replaces the notice count."},
    {"3", "With -G: the two sides could not be compared: not a git repository, git missing, a revision not found, "
          "a shallow clone without the base, an unsafe path in a tree, an unreadable or foreign snapshot, or a side "
          "whose analysis failed."},
    {"255", "The -F list file cannot be opened."},
};

}  // namespace

std::span<const ExitStatusHelp> ExitStatuses() { return kExitStatuses; }
