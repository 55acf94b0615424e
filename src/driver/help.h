// Help, syntax and notice screens, and the command line of the report header.
#pragma once

#include <span>

struct GlobalData;

// How a chapter of the full help text appears in the manual page.
enum class InManual { Subsection, Opening, No };

// One chapter of the full help text: a centred title and its prose.
struct HelpChapter {
  const char* title;
  const char* text;
  InManual manual = InManual::Subsection;
};
std::span<const HelpChapter> HelpChapters();
// The lines of the full syntax screen after its head, each ending in '\n':
// switches at ten blanks, their sub-options at thirteen, continuation lines
// deeper or without a leading '-'.
std::span<const char* const> FullSyntaxLines();

// Short syntax screen; with pause set it waits for Enter (-hp).
void ShowSyntax(GlobalData& gcd, int pause);
void ShowFullSyntax(GlobalData& gcd);   // -hs
void ShowHelpText(GlobalData& gcd);     // -hf
void ShowNotices(GlobalData& gcd);      // -hn
// Writes the command line, wrapped at 58 columns with indent 16.
void ShowCmdLine(GlobalData& gcd);
// Reports a bad command line and ends the run.
[[noreturn]] void ShowCmdError(GlobalData& gcd);
