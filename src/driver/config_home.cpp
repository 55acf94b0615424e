#include "driver/config_home.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "common/gcd.h"
#include "common/version.h"
#include "driver/startup.h"

namespace {

constexpr ConfigPlace kConfigPlaces[] = {
    {"$LQACFGHOME/", "when LQACFGHOME is set"},
    {"$LQAHOME/", "when LQAHOME is set"},
    {"the program's directory", "when lqa.cfg is already there"},
    {"$XDG_CONFIG_HOME/lqa/", "when XDG_CONFIG_HOME is an absolute path"},
    {"~/.config/lqa/", "otherwise"},
};

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Creates the directory and any missing parents, each private to the user.
bool MakeDirectories(const std::string& dir) {
  for (std::size_t slash = dir.find('/', 1); slash != std::string::npos; slash = dir.find('/', slash + 1)) {
    const std::string part = dir.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
  return IsDirectory(dir);
}

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace

std::span<const ConfigPlace> ConfigPlaces() { return kConfigPlaces; }

std::string UserConfigDir() {
  // Only an absolute XDG_CONFIG_HOME counts; a relative one is ignored, as if unset.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/')
    return WithSlash(xdg) + "lqa/";
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
    return WithSlash(home) + ".config/lqa/";
  return {};
}

std::string ProgramDirForLookup(const std::string& progPath) {
  const std::size_t slash = progPath.rfind('/');
  if (slash != std::string::npos) return progPath.substr(0, slash + 1);
  if (progPath.empty()) return {};
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  for (const char* entry = path;; ++entry) {
    const char* end = std::strchr(entry, ':');
    const std::size_t len = end != nullptr ? static_cast<std::size_t>(end - entry) : std::strlen(entry);
    // An empty entry is the current directory.
    const std::string dir = len == 0 ? std::string("./") : WithSlash(std::string(entry, len));
    const std::string candidate = dir + progPath;
    if (IsFile(candidate) && ::access(candidate.c_str(), X_OK) == 0) return dir;
    if (end == nullptr) return {};
    entry = end;
  }
}

void ChooseConfigHome(GlobalData& gcd) {
  DriverState& drv = gcd.drv;
  drv.homeDir = drv.progDir;
  if (drv.cfgHome.size() > 1) return;
  // A copy that already keeps lqa.cfg beside it goes on using it.
  drv.homeDir = ProgramDirForLookup(drv.progPath);
  if (drv.homeDir.size() > 1023) drv.homeDir.resize(1023);
  if (!drv.homeDir.empty() && IsFile(GetProgFile(kCfgFileName, gcd))) return;
  const std::string user = UserConfigDir();
  drv.homeDir = !user.empty() && user.size() <= 1023 && MakeDirectories(user) ? user : drv.progDir;
}
