// The newer switches: -x keywords matched on their first word, --help and
// --version, and the -xHELP screen that lists them. The older help screens,
// the configuration dump and lqa.cfg never mention them, so a run that uses
// none of them writes exactly what it wrote before they existed.
#pragma once

#include <span>
#include <string_view>

struct GlobalData;

// How a newer -x keyword takes the text after its first word.
enum class XArgument { None, Optional, Required };

// One newer -x keyword: -x"WORD rest". `apply` receives the rest with the
// blanks around it removed (empty when none was given).
struct NewerXKeyword {
  const char* word;
  XArgument argument;
  void (*apply)(std::string_view rest, GlobalData& gcd);
};

// One entry of the -xHELP screen: the switch as it is typed and what it does
// (lines after the first are indented under the description column).
struct NewerSwitchHelp {
  const char* usage;
  const char* text;
};

// Handles a newer -x keyword. Returns false when the first word of arg is
// none of them, so that the older keywords and the first-letter handling
// see it as before. A keyword with a missing or unexpected argument ends the
// run with status 1.
bool HandleNewerX(const char* arg, GlobalData& gcd);
// --help and --version anywhere before a "--" argument: writes the screen
// and ends the run with status 0. Returns when neither is given.
void HandleLongOptions(int argc, char** argv, GlobalData& gcd);
// The -xHELP screen without the report header: the newer switches, then
// where the configuration files are looked for and which lqa.cfg this run read.
void ShowNewerSwitches(GlobalData& gcd);
// The entries of the -xHELP screen, for the manual page.
std::span<const NewerSwitchHelp> NewerSwitchHelpTable();
