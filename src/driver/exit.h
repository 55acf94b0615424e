// Ending the run early: the fatal-error exit shared by every subsystem.
#pragma once

struct GlobalData;

// Closes an HTML page ("</pre></body></html>") when HTML mode is on, flushes
// the report stream, releases the run record and ends the process.
[[noreturn]] void ExitRun(int status, GlobalData& gcd);
// Writes the HTML page closing text when HTML mode is on.
void CloseHtmlPage(GlobalData& gcd);
