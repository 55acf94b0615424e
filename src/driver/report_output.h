// The report file of -O: written under a temporary name in its directory and
// published over the target only when the run ends with every write done, so
// that a failed or killed run never leaves a half-written report and never
// destroys the previous one. A report that holds an error message is complete.
#pragma once

#include <sys/stat.h>

#include <string>

struct GlobalData;

// Opens the -O file and makes it the report stream. False (errno set, the
// reason in why) when it cannot be opened.
bool OpenReportFile(const std::string& name, std::string& why, GlobalData& gcd);
// Publishes the report: flushes standard output, or commits the -O file.
// False after a message on standard error when a write failed; the previous
// -O file is then left as it was.
bool FinishReport(GlobalData& gcd);
// Drops the -O report: its target stays as it was.
void AbandonReport(GlobalData& gcd);
// True when the status names the -O target.
bool IsReportTarget(const struct stat& st, const GlobalData& gcd);
// Ends the run with status 1 when the -O target is one of the input files,
// before the target is touched (the message goes to standard error).
void RefuseReportOverInputs(GlobalData& gcd);
[[noreturn]] void RefuseReportOverInput(const std::string& input, GlobalData& gcd);
