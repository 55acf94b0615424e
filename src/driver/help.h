// Help, syntax and notice screens, and the command line of the report header.
#pragma once

struct GlobalData;
// Short syntax screen; with pause set it waits for Enter (-hp).
void ShowSyntax(GlobalData& gcd, int pause);
void ShowFullSyntax(GlobalData& gcd);   // -hs
void ShowHelpText(GlobalData& gcd);     // -hf
void ShowNotices(GlobalData& gcd);      // -hn
// Writes the command line, wrapped at 58 columns with indent 16.
void ShowCmdLine(GlobalData& gcd);
// Reports a bad command line and ends the run.
[[noreturn]] void ShowCmdError(GlobalData& gcd);
