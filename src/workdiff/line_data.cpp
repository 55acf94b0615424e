// Differential line data files: the directory and names, the per-line record
// writer fed by the line engine, the record reader and the loader.
#include "workdiff/line_data.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "common/error_text.h"
#include "common/gcd.h"
#include "common/input_file.h"
#include "common/output.h"
#include "driver/exit.h"
#include "reports/report_text.h"
#include "workdiff/data_names.h"

namespace {

// Longest data file name kept (before ".dif"), so that a name with a number
// appended still fits a file system's 255-byte name limit.
constexpr std::size_t kMaxDataName = 240;
// A data file with more records than this is not loaded: no source file has
// that many lines, and comparing it would take unbounded time.
constexpr long long kMaxDiffRecords = 2000000;

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

std::string LastComponent(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string Join(const std::string& dir, const std::string& name) {
  std::string path = dir;
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
  return path;
}

constexpr const char* kStagingMark = ".lqatmp.";

// Removes the files of a data directory and the directory; anything the run
// does not write there (a subdirectory) is left, and the directory with it.
void RemoveDataDirectory(const std::string& path) {
  struct stat self {};
  if (path.empty() || lstat(path.c_str(), &self) != 0) return;
  // A data directory that was a symbolic link: the link goes, what it
  // points to stays.
  if (!S_ISDIR(self.st_mode)) {
    unlink(path.c_str());
    return;
  }
  if (DIR* dir = opendir(path.c_str())) {
    while (const struct dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      const std::string file = path + "/" + name;
      struct stat st {};
      if (lstat(file.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) unlink(file.c_str());
    }
    closedir(dir);
  }
  rmdir(path.c_str());
}

// Staging directories "<data dir>.lqatmp.<pid>.<n>" of runs that were killed
// (their process no longer exists) are removed.
void RemoveStaleStaging(const std::string& dataDir) {
  const std::string parent = DirectoryOf(dataDir);
  const std::string prefix = LastComponent(dataDir) + kStagingMark;
  DIR* dir = opendir(parent.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> stale;
  while (const struct dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    char* end = nullptr;
    const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
    if (end == name.c_str() + prefix.size() || *end != '.' || pid <= 0 || pid == getpid()) continue;
    if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) stale.push_back(parent + "/" + name);
  }
  closedir(dir);
  for (const std::string& path : stale) {
    RemoveDataDirectory(path + ".old");
    RemoveDataDirectory(path);
  }
}

// Makes the staging directory of this run; 0 or the error.
int MakeStaging(const std::string& dataDir, std::string& path) {
  for (int n = 0; n < 100; ++n) {
    path = dataDir + kStagingMark + std::to_string(getpid()) + "." + std::to_string(n);
    if (mkdir(path.c_str(), 0700) == 0) return 0;
    if (errno != EEXIST) break;
  }
  const int err = errno;
  path.clear();
  return err;
}

}  // namespace

DataStaging::~DataStaging() { RemoveDataDirectory(path); }

void WorkDiffDataPathName(GlobalData& gcd) {
  WorkDiffState& wd = gcd.wd;
  if (wd.dataDirReady) return;
  wd.dataDir = wd.workFileName + ".dif";
  wd.dataDirStored = LastComponent(wd.dataDir);
  struct stat st {};
  int err = stat(wd.dataDir.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) ? ENOTDIR : 0;
  if (err == 0) {
    RemoveStaleStaging(wd.dataDir);
    auto staging = std::make_shared<DataStaging>();
    err = MakeStaging(wd.dataDir, staging->path);
    if (err == 0) wd.staging = std::move(staging);
  }
  if (err != 0) {
    OutF("  Directory Create Error: %s\n                          %s\n"
         "                          Check permission on the parent directory\n",
         ShownText(wd.dataDir, gcd).c_str(), ErrorText(err));
    ExitRun(1, gcd);
  }
  wd.dataDirReady = 1;
}

bool PublishDataDirectory(GlobalData& gcd) {
  WorkDiffState& wd = gcd.wd;
  if (!wd.staging) return true;
  const std::string& staging = wd.staging->path;
  // Every data file is on disk before the directory takes the old one's place.
  const int dirFd = open(staging.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    syncfs(dirFd);
    close(dirFd);
  }
  struct stat st {};
  int err = 0;
  if (lstat(wd.dataDir.c_str(), &st) != 0) {
    if (rename(staging.c_str(), wd.dataDir.c_str()) != 0) err = errno;
  } else if (renameat2(AT_FDCWD, staging.c_str(), AT_FDCWD, wd.dataDir.c_str(), RENAME_EXCHANGE) != 0) {
    // Without an exchange the old directory is moved aside first.
    const std::string aside = staging + ".old";
    if (rename(wd.dataDir.c_str(), aside.c_str()) != 0) {
      err = errno;
    } else if (rename(staging.c_str(), wd.dataDir.c_str()) != 0) {
      err = errno;
      rename(aside.c_str(), wd.dataDir.c_str());
    } else {
      RemoveDataDirectory(aside);
    }
  }
  if (err != 0) {
    OutF("\n  Error: The line data directory could not be replaced: %s\n         %s\n",
         ShownText(wd.dataDir, gcd).c_str(), ErrorText(err));
    return false;
  }
  // The staging name now holds the previous line data (or nothing).
  wd.staging.reset();
  return true;
}

void DiscardDataDirectory(GlobalData& gcd) { gcd.wd.staging.reset(); }

std::string MungDataFilename(const std::string& path, GlobalData& gcd) {
  std::string name = path;
  const std::string& cwd = gcd.drv.cwd;
  if (gcd.cfg.relativeWorkFiles && !cwd.empty() && name.compare(0, cwd.size(), cwd) == 0) {
    if (cwd.back() == '/') name.erase(0, cwd.size());
    else if (name.size() > cwd.size() && (name[cwd.size()] == '/' || name[cwd.size()] == '\\'))
      name.erase(0, cwd.size() + 1);
  }
  if (!name.empty() && name[0] == '/') name.erase(0, 1);
  for (char& c : name)
    if (c == '.' || c == '/' || c == ' ' || c == '\\') c = '_';
  if (name.size() > kMaxDataName) name.erase(0, name.size() - kMaxDataName);
  return name;
}

void WorkDiffDataFileName(GlobalData& gcd) {
  WorkDiffState& wd = gcd.wd;
  std::string base = MungDataFilename(gcd.drv.currentFileName ? gcd.drv.currentFileName : "", gcd);
  std::string name;
  if (wd.plan != nullptr) {
    // A worker takes the name planned for the file's place in the list and
    // assumes the mode line shown unless it is the first file with a name;
    // the merge checks both against the run.
    const std::size_t index = static_cast<std::size_t>(gcd.drv.fileSerial - 1);
    if (index < wd.plan->names.size()) name = wd.plan->names[index];
    wd.modeShown = static_cast<int>(index) != wd.plan->first;
    if (name.empty()) {
      // Not a file of the plan: no data file here; the merge has the file
      // analysed again on the main thread.
      if (wd.outcome != nullptr) wd.outcome->failed = true;
      return;
    }
  } else {
    // Two paths can give the same name ("a/b.c" and "a_b.c"): the second
    // gets a number so that it does not overwrite the first's data.
    name = FreeDataName(base, wd.dataNamesUsed);
    wd.dataNamesUsed.insert(name);
  }
  if (wd.outcome != nullptr) {
    wd.outcome->base = std::move(base);
    wd.outcome->name = name;
    wd.outcome->modeShown = wd.modeShown != 0;
  }
  wd.dataPath = wd.dataDir + "/" + name + ".dif";
  wd.dataStoredPath = wd.dataDirStored + "/" + name + ".dif";
}

int WorkDiffDataFileOpen(GlobalData& gcd) {
  WorkDiffState& wd = gcd.wd;
  WorkDiffDataFileClose(gcd);
  wd.dataPath.clear();
  wd.dataStoredPath.clear();
  wd.dataWritePath.clear();
  wd.dataWriteFailed = 0;
  if (!wd.dataDirReady || !wd.staging) return 0;
  WorkDiffDataFileName(gcd);
  if (wd.dataPath.empty()) return 0;
  wd.dataWritePath = wd.staging->path + wd.dataPath.substr(wd.dataDir.size());
  // The staging directory is the run's own: nothing in it is followed or replaced.
  const int fd = open(wd.dataWritePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  FILE* fp = fd >= 0 ? fdopen(fd, "wb") : nullptr;
  if (fd >= 0 && wd.outcome != nullptr) {
    wd.outcome->opened = true;
    wd.outcome->writePath = wd.dataWritePath;
  }
  if (fp == nullptr) {
    const int err = errno;
    if (fd >= 0) close(fd);
    OutF("\n  Create File Error: %s - %s\n", ShownText(wd.dataPath, gcd).c_str(), ErrorText(err));
    wd.dataPath.clear();
    wd.dataStoredPath.clear();
    wd.baselineFailed = 1;
    if (wd.outcome != nullptr) wd.outcome->failed = true;
    return 0;
  }
  if (gcd.sw.workVerbose) {
    if (!wd.modeShown) OutF("  Code Differential Mode\n");
    wd.modeShown = 1;
    OutF("  %s\n", ShownText(wd.dataPath, gcd).c_str());
  }
  gcd.drv.diffDataStream = fp;
  return 1;
}

void WorkDiffDataFileClose(GlobalData& gcd) {
  FILE* fp = gcd.drv.diffDataStream;
  if (fp == nullptr) return;
  gcd.drv.diffDataStream = nullptr;
  const bool failed = std::ferror(fp) != 0;
  errno = 0;
  if (std::fclose(fp) != 0 || failed) {
    gcd.wd.baselineFailed = 1;
    if (gcd.wd.outcome != nullptr) gcd.wd.outcome->failed = true;
    if (!gcd.wd.dataWriteFailed)
      OutF("\n  Write File Error: %s - %s\n", ShownText(gcd.wd.dataPath, gcd).c_str(),
           ErrorText(errno ? errno : EIO));
  }
}

void AbandonDataFile(GlobalData& gcd) {
  FILE* fp = gcd.drv.diffDataStream;
  gcd.drv.diffDataStream = nullptr;
  if (fp != nullptr) std::fclose(fp);
}

void WorkDiffDataLineWrite(FILE* stream, char type, const char* line, GlobalData& gcd) {
  if (stream == nullptr || line == nullptr) return;
  if (type == ' ' || type == '\0') return;
  if (type == 'B' && gcd.cfg.diffIgnoreBlankLines) return;
  const std::int32_t number = gcd.drv.lineNumber;
  const double signature = CodeCrc(line, gcd);
  unsigned char record[kDiffRecordSize];
  std::memcpy(record, &number, sizeof number);
  record[4] = static_cast<unsigned char>(type);
  std::memcpy(record + 5, &signature, sizeof signature);
  if (std::fwrite(record, 1, sizeof record, stream) != sizeof record && !gcd.wd.dataWriteFailed) {
    gcd.wd.dataWriteFailed = 1;
    gcd.wd.baselineFailed = 1;
    if (gcd.wd.outcome != nullptr) gcd.wd.outcome->failed = true;
    OutF("\n  Write File Error: %s - %s\n", ShownText(gcd.wd.dataPath, gcd).c_str(),
         ErrorText(errno ? errno : EIO));
  }
}

int WorkDiffDataLineRead(FILE* stream, int* line, char* type, double* signature) {
  if (stream == nullptr) return 0;
  unsigned char record[kDiffRecordSize];
  const std::size_t n = std::fread(record, 1, sizeof record, stream);
  if (n == 0) return 0;
  if (n != sizeof record) return -1;
  std::int32_t number = 0;
  double value = 0.0;
  std::memcpy(&number, record, sizeof number);
  std::memcpy(&value, record + 5, sizeof value);
  if (line) *line = number;
  if (type) *type = static_cast<char>(record[4]);
  if (signature) *signature = value;
  return 1;
}

double CodeCrc(const char* text, GlobalData& gcd) {
  if (text == nullptr) return 0.0;
  const bool skipWhite = gcd.cfg.diffIgnoreWhiteSpace != 0;
  long double sum = 0.0L;
  long k = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != '\0'; ++p) {
    const unsigned c = *p;
    if (c != 11 && (c < 32 || c > 127)) continue;
    if (skipWhite && (c == ' ' || c == '\t')) continue;
    ++k;
    sum += static_cast<long double>(c) / static_cast<long double>(k);
  }
  return static_cast<double>(sum);
}

int AddDiffDataNode(int line, char type, double signature, char state, DiffDataList& list, GlobalData&) {
  try {
    list.push_back(DiffDataNode{line, signature, type, state});
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return 1;
}

std::string DiffDataPath(const std::string& storedPath, const std::string& workFileName) {
  // Relative to the work file's directory, and never out of it: no absolute
  // path, no empty, "." or ".." component.
  std::string stored = storedPath;
  while (!stored.empty() && (stored.back() == '\n' || stored.back() == '\r')) stored.pop_back();
  if (stored.empty() || stored[0] == '/') return {};
  for (std::size_t start = 0; start <= stored.size();) {
    std::size_t end = stored.find('/', start);
    if (end == std::string::npos) end = stored.size();
    const std::string_view part(stored.data() + start, end - start);
    if (part.empty() || part == "." || part == "..") return {};
    start = end + 1;
  }
  return Join(DirectoryOf(workFileName), stored);
}

bool LoadDiffDataFile(const std::string& storedPath, const std::string& workFileName, DiffDataList& list,
                      GlobalData& gcd) {
  list.clear();
  const std::string path = DiffDataPath(storedPath, workFileName);
  const std::string shownStored = ShownText(storedPath, gcd);
  if (path.empty() && !storedPath.empty()) {
    OutF("  Error: Loading Work Differential File: %s\n"
         "         The path leads out of the work file's directory\n"
         "         Work File: %s\n",
         shownStored.c_str(), ShownText(workFileName, gcd).c_str());
    return false;
  }
  // The data directory's own files only: a link planted in it, a FIFO or a
  // device is refused without blocking.
  InputOptions noFollow;
  noFollow.noFollow = true;
  struct stat st {};
  errno = ENOENT;  // no data file recorded
  FilePtr fp(path.empty() ? nullptr : OpenInput(path, noFollow, &st));
  if (!fp) {
    OutF("  Error: Loading Work Differential File: %s\n"
         "         Check the differential directory associated with the work file\n"
         "         Current Working Directory: %s\n"
         "         Work File: %s\n"
         "         %s\n",
         shownStored.c_str(), ShownText(gcd.drv.cwd, gcd).c_str(), ShownText(workFileName, gcd).c_str(),
         InputErrorText(errno));
    return false;
  }
  const std::string shown = ShownText(path, gcd);
  const long long records = static_cast<long long>(st.st_size) / static_cast<long long>(kDiffRecordSize);
  if (records > kMaxDiffRecords) {
    OutF("  Error: Loading Work Differential File: %s\n"
         "         The file holds more than %lld line records and is not compared\n",
         shown.c_str(), kMaxDiffRecords);
    return false;
  }
  try {
    list.reserve(static_cast<std::size_t>(records));
  } catch (const std::bad_alloc&) {
    OutF("  Memory Error: %s\n", ErrorText(ENOMEM));
    return false;
  }
  const bool debug = gcd.sw.diffDebug != 0;
  if (debug) OutF("  File Start: %s\n", shown.c_str());
  int line = 0;
  char type = 0;
  double signature = 0.0;
  int r = 0;
  long long number = 0;
  while ((r = WorkDiffDataLineRead(fp.get(), &line, &type, &signature)) == 1) {
    ++number;
    // A record the writer cannot have written: the file is damaged, and the
    // pair is not compared rather than compared on wrong data.
    const char* damage = nullptr;
    if (std::strchr("BCNLGnlg", type) == nullptr || type == '\0') damage = "unknown line type";
    else if (line < 1 || (!list.empty() && line <= list.back().line)) damage = "line number out of order";
    else if (!std::isfinite(signature) || signature < 0.0) damage = "impossible line signature";
    if (damage == nullptr && static_cast<long long>(list.size()) >= kMaxDiffRecords) damage = "too many records";
    if (damage != nullptr) {
      OutF("  Error: Loading Work Differential File: %s\n"
           "         Record %lld is damaged (%s): the pair is not compared\n",
           shown.c_str(), number, damage);
      list.clear();
      return false;
    }
    if (!AddDiffDataNode(line, type, signature, 0, list, gcd)) {
      OutF("  Memory Error: %s\n", ErrorText(ENOMEM));
      list.clear();
      return false;
    }
    if (debug && type != 'B') OutF("  %-5d - %c %.14f\n", line, type, signature);
  }
  if (debug) OutF("  File End:\n");
  if (r < 0)
    OutF("  Warning: Work Differential File: %s\n           ends in a partial record, which was ignored\n",
         shown.c_str());
  return true;
}

