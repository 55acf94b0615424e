// Start-up of a run: the environment, the program's own files, the command
// line text of the report header.
#include "driver/startup.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "common/gcd.h"
#include "common/output.h"
#include "common/version.h"
#include "driver/config_home.h"

namespace {

constexpr EnvironmentHelp kEnvironment[] = {
    {"LQAHOME", "Directory of lqa.cfg, lqa_macro.cfg and lqa_workdiff.cfg."},
    {"LQACFGHOME",
     "Directory of the configuration files, taken before LQAHOME; also the directory of lqa_udqn.cfg when "
     "lqa.cfg names no other file."},
    {"XDG_CONFIG_HOME",
     "When an absolute path and neither LQAHOME nor LQACFGHOME is set, and no lqa.cfg lies beside the "
     "program: the configuration files are kept in its subdirectory lqa."},
    {"HOME", "Without XDG_CONFIG_HOME, the configuration files are kept in $HOME/.config/lqa."},
    {"PATH",
     "When lqa is started by name, the directory where the shell found it is the program's directory; "
     "also shown in the debug listing."},
    {"LQADEBUG", "Set to any value: debug tracing from the start of the run, as -xDEBUG."},
    {"LQACLASSMF", "Set to any value: the class method and attribute annotation of -fm."},
};

// Copies an environment directory (at most 1023 characters) with a trailing '/'.
std::string DirectoryValue(const char* value) {
  std::string dir(value, strnlen(value, 1023));
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace

std::span<const EnvironmentHelp> EnvironmentVariables() { return kEnvironment; }

void LoadEnv(GlobalData& gcd) {
  DriverState& drv = gcd.drv;
  if (const char* home = std::getenv("LQAHOME")) drv.homeDir = DirectoryValue(home);
  if (const char* cfgHome = std::getenv("LQACFGHOME")) drv.cfgHome = DirectoryValue(cfgHome);
  if (const char* path = std::getenv("PATH")) drv.pathEnv.assign(path, strnlen(path, 4095));
  if (std::getenv("LQADEBUG") != nullptr) {
    gcd.sw.debug = 1;
    OutF("*** Debug: Global Data Size = %d\n", static_cast<int>(sizeof(GlobalData)));
  }
  if (std::getenv("LQACLASSMF") != nullptr) {
    gcd.sw.classMethodAnnotation = 1;
    OutF("\n  Showing Class Methods and Functions\n");
  }
}

std::string GetProgFile(const char* fileName, GlobalData& gcd) {
  if (std::strchr(fileName, '/') != nullptr) return fileName;
  const std::string& home = gcd.drv.homeDir;
  return (home.size() >= 2 ? home : std::string("./")) + fileName;
}

void SetProgramPaths(int argc, char** argv, GlobalData& gcd) {
  DriverState& drv = gcd.drv;
  drv.argc = argc;
  drv.argv = argv;
  drv.progPath = argc > 0 && argv[0] != nullptr ? argv[0] : "lqa";
  LoadEnv(gcd);
  std::string::size_type slash = drv.progPath.rfind('/');
  drv.progDir = slash == std::string::npos ? std::string() : drv.progPath.substr(0, slash) + "/";
  if (drv.progDir.size() > 1023) drv.progDir.resize(1023);
  if (drv.homeDir.empty()) ChooseConfigHome(gcd);

  // The command line of the report header: the arguments joined by blanks.
  drv.commandLine.clear();
  if (argc > 1) {
    drv.commandLine.assign(argv[1], strnlen(argv[1], 4095));
    for (int i = 2; i < argc && drv.commandLine.size() <= 3995; ++i) {
      drv.commandLine += ' ';
      drv.commandLine += argv[i];
      if (drv.commandLine.size() > 4095) drv.commandLine.resize(4095);
    }
  }

  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) != nullptr) drv.cwd = cwd;

  for (auto [name, target] : {std::pair{kMacroFileName, &drv.macroFile}, std::pair{kCfgFileName, &drv.cfgFile},
                              std::pair{kWorkDiffCfgFileName, &drv.workDiffCfgFile}}) {
    *target = drv.cfgHome.size() > 1 ? drv.cfgHome + name : GetProgFile(name, gcd);
  }

  if (gcd.sw.debug) {
    OutF("*** Debug: System Parameters\n");
    OutF("*** Debug: Prog Path   = %s\n", drv.progDir.c_str());
    OutF("*** Debug: Macro File  = %s\n", drv.macroFile.c_str());
    OutF("*** Debug: LQAHOME     = %s\n", drv.homeDir.c_str());
    OutF("*** Debug: System Path = %s\n", drv.pathEnv.c_str());
    DebugPause(gcd);
  }
}

void DebugPause(GlobalData&) {
  if (gLQAOUT == stdout) {
    OutF("\n  Press Enter Key To Continue ...\n");
    fflush(gLQAOUT);
    char answer[16];
    if (fgets(answer, sizeof answer, gLQAIN) == nullptr) clearerr(gLQAIN);
  } else {
    usleep(500000);
  }
}
