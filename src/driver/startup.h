// Start-up steps of the run driver that read the environment and locate files.
#pragma once

#include <span>
#include <string>

struct GlobalData;

// One environment variable the program reads and what it changes, for the
// manual page.
struct EnvironmentHelp {
  const char* name;
  const char* text;
};
std::span<const EnvironmentHelp> EnvironmentVariables();
// Reads LQAHOME, LQACFGHOME, PATH, LQADEBUG and LQACLASSMF.
void LoadEnv(GlobalData& gcd);
// The path of one of the program's own files: as given when it holds a '/',
// else in the home directory (or ./ without one).
std::string GetProgFile(const char* fileName, GlobalData& gcd);
// Program path, environment, command line text, working directory and the
// located lqa.cfg, lqa_macro.cfg and lqa_workdiff.cfg.
void SetProgramPaths(int argc, char** argv, GlobalData& gcd);
// The pause after a debug listing: Enter on a terminal report, else half a second.
void DebugPause(GlobalData& gcd);
