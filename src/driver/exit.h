// Ending the run early: the fatal-error exit shared by every subsystem.
#pragma once

#include <span>

struct GlobalData;

// One exit status of the program and when it is returned. The manual page
// and the README list these rows in this order; a mode that brings statuses
// of its own adds one row each.
struct ExitStatusHelp {
  const char* status;
  const char* meaning;
};
std::span<const ExitStatusHelp> ExitStatuses();

// Closes an HTML page ("</pre></body></html>") when HTML mode is on and an
// open XML document, publishes the report (a failed write makes the status
// 1, as does a failure recorded in drv.runFailed), releases the run record
// and ends the process.
[[noreturn]] void ExitRun(int status, GlobalData& gcd);
// Closes the XML root element when it is open.
void CloseXmlDocument(GlobalData& gcd);
// Writes the HTML page closing text when HTML mode is on.
void CloseHtmlPage(GlobalData& gcd);
