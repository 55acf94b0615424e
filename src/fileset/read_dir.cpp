// Reading one directory, and its subdirectories unless recursion is off.
#include <cerrno>
#include <cstring>
#include <memory>
#include <string_view>

#include <dirent.h>
#include <sys/stat.h>

#include "common/error_text.h"
#include "common/gcd.h"
#include "common/output.h"
#include "common/text.h"
#include "driver/languages.h"
#include "fileset/fileset.h"
#include "reports/report_text.h"

namespace {

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool IsLocalDirSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }
bool IsDirExtSeparator(char c) {
  return c == ' ' || c == '.' || c == ',' || c == '*' || c == '\t' || c == '\r' || c == '\n';
}

// The directory is one of "Local directory names not processed".
bool IsExcludedLocalDir(const std::string& directory, const GlobalData& gcd) {
  if (!gcd.cfg.skipLocalDirs) return false;
  return ForEachItem(gcd.cfg.localDirsNotProcessed, IsLocalDirSeparator, [&](std::string_view name) {
    return gcd.cfg.caseSensitiveNames ? name == directory : EqualsNoCase(name, directory);
  });
}

// The directory reader compares extensions case-sensitively; "*.c,*.h"
// works like "c,h".
bool ExtensionListed(const std::string& extension, std::string_view list) {
  return ForEachItem(list, IsDirExtSeparator, [&](std::string_view item) { return item == extension; });
}

void CountProgress(GlobalData& gcd) {
  if (!gcd.sw.progress) return;
  FileSetState& fs = gcd.fileset;
  const int interval = gcd.cfg.progressInterval < 1 ? 1 : gcd.cfg.progressInterval;
  ++fs.progressCount;
  if (!fs.progressStarted) {
    fs.progressStarted = true;
    StreamF(stderr, "  Building File List - Status(.) %d files\n  ", interval);
  } else if (fs.progressCount % interval == 0) {
    StreamF(stderr, ".");
  }
  if (fs.progressCount >= 64 * interval) {
    fs.progressTotal += fs.progressCount;
    StreamF(stderr, "(%6d)\n  ", fs.progressTotal);
    fs.progressCount = 1;
  }
}

// True when the entry is a directory (symbolic links followed).
bool IsDirectoryEntry(const struct dirent* entry, const std::string& path) {
#ifdef DT_DIR
  if (entry->d_type == DT_DIR) return true;
  if (entry->d_type == DT_REG) return false;
#endif
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Marks the open directory as read; false when it was read before (a loop).
bool FirstVisit(DIR* dir, GlobalData& gcd) {
  struct stat st {};
  if (fstat(dirfd(dir), &st) != 0) return true;
  auto key = std::make_pair(static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino));
  return gcd.fileset.visitedDirs.insert(key).second;
}

int ReadDirEntries(const std::string& directory, const std::string& extensionList, GlobalData& gcd) {
  if (IsExcludedLocalDir(directory, gcd)) return 1;
  std::string base = directory;
  if (base.empty() || base.back() != '/') base += '/';
  DirHandle dir(opendir(base.c_str()));
  if (!dir) {
    gcd.fileset.lastErrno = errno;
    OutF("  Open Dir Error: %s : %s\n", ErrorText(errno), ShownText(base, gcd).c_str());
    return 0;
  }
  if (!FirstVisit(dir.get(), gcd)) {
    if (gcd.sw.debug) OutF("*** Debug: Directory already read: %s\n", base.c_str());
    return 1;
  }
  std::string extension;
  while (const struct dirent* entry = readdir(dir.get())) {
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    std::string path = base + name;
    if (IsDirectoryEntry(entry, path)) {
      if (gcd.sw.dirNoRecurse) continue;
      if (ReadDirEntries(path, extensionList, gcd) == 0) {
        OutF("  Read Dir Error: %s : %s\n", ErrorText(gcd.fileset.lastErrno), ShownText(path, gcd).c_str());
        return 0;
      }
      continue;
    }
    if (FilenamePatternMatch(path, gcd)) continue;
    if (!getExtension(path, extension, gcd)) continue;
    if (!ExtensionListed(extension, extensionList)) continue;
    if (AddInputFile(path, extension, gcd)) CountProgress(gcd);
  }
  return 1;
}

}  // namespace

int ReadDir(const std::string& directory, const std::string& extensionList, GlobalData& gcd) {
  FileSetState& fs = gcd.fileset;
  // Each top-level read starts with no directory seen.
  if (fs.readDirDepth == 0) fs.visitedDirs.clear();
  ++fs.readDirDepth;
  int result = ReadDirEntries(directory, extensionList, gcd);
  --fs.readDirDepth;
  return result;
}
