// Where lqa keeps lqa.cfg, lqa_macro.cfg and lqa_workdiff.cfg when no
// environment variable names the directory: beside the program when lqa.cfg
// is already there (a build folder or an unpacked copy), else in the user's
// configuration directory, so that an installed lqa never needs to write
// into the directory of its program.
#pragma once

#include <span>
#include <string>

struct GlobalData;

// The lines that introduce the table of places on the -xHELP screen (the
// manual page joins them into one paragraph).
inline constexpr const char* kConfigLookupText[] = {
    "The configuration files lqa.cfg, lqa_macro.cfg and lqa_workdiff.cfg are",
    "read from the first of these directories; the last two are created on",
    "first use:",
};

// One step of the look-up, in the order the steps are tried: the place and
// when it is taken. The -xHELP screen and the manual page print this table.
struct ConfigPlace {
  const char* where;
  const char* when;
};
std::span<const ConfigPlace> ConfigPlaces();

// Chooses the home directory when LQAHOME is unset. With LQACFGHOME set the
// configuration files come from there and the home stays the program's
// directory. Otherwise: the program's directory when lqa.cfg is there, else
// the user's configuration directory, created (mode 0700) when missing; the
// program's directory again when that cannot be made.
void ChooseConfigHome(GlobalData& gcd);

// The user's configuration directory of lqa with a trailing '/':
// $XDG_CONFIG_HOME/lqa/ when that variable holds an absolute path, else
// $HOME/.config/lqa/; empty when neither is usable.
std::string UserConfigDir();

// The directory the program was started from, with a trailing '/': that of
// argv[0] when it holds a '/', else the first PATH entry holding an
// executable of that name (as the shell found it); empty when not found.
std::string ProgramDirForLookup(const std::string& progPath);
