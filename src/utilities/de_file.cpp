#include "utilities/de_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/file_report.h"
#include "utilities/decharacter.h"

namespace {

constexpr std::size_t kBlock = 65536;

// The temporary file of one rewrite; removed when it goes out of scope
// unless it was kept (renamed over the source, or left for the user).
struct TempFile {
  std::string path;
  int fd = -1;
  bool keep = false;
  TempFile() = default;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (fd >= 0) close(fd);
    if (!keep && !path.empty()) unlink(path.c_str());
  }
  // Closes the descriptor; false with errno set when the close reports an error.
  bool Close() {
    int result = close(fd);
    fd = -1;
    return result == 0;
  }
};

// Buffered writes to a descriptor; the first failure is kept and later
// output dropped.
struct FdSink {
  int fd;
  int error = 0;
  std::size_t len = 0;
  char buf[kBlock];
  explicit FdSink(int f) : fd(f) {}
  void Put(char c) {
    if (len == sizeof buf) Flush();
    buf[len++] = c;
  }
  bool Flush() {
    for (std::size_t done = 0; done < len && error == 0;) {
      ssize_t w = write(fd, buf + done, len - done);
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) error = w < 0 ? errno : ENOSPC;
      else done += static_cast<std::size_t>(w);
    }
    len = 0;
    return error == 0;
  }
};

// True when another process holds a lock on the file. The locks taken here
// are held until the file is closed, so that cooperating writers wait.
bool LockedElsewhere(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  if (fcntl(fd, F_SETLK, &lock) != 0 && (errno == EACCES || errno == EAGAIN)) return true;
  return flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

// The file the path names: a symbolic link is followed to its target, so
// that the link stays a link to the rewritten file.
std::string TargetOf(const char* path) {
  struct stat st {};
  if (lstat(path, &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* resolved = realpath(path, nullptr);
  if (resolved == nullptr) return path;
  std::string target = resolved;
  std::free(resolved);
  return target;
}

// Creates the temporary file beside the target: the target's name with
// ".tmp" appended, or a unique variant of it when that name is taken.
bool CreateTemp(const std::string& target, TempFile& temp) {
  temp.path = target + ".tmp";
  temp.fd = open(temp.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (temp.fd < 0 && errno == EEXIST) {
    std::string unique = target + ".tmpXXXXXX";
    temp.fd = mkostemp(unique.data(), O_CLOEXEC);
    if (temp.fd >= 0) temp.path = unique;
  }
  if (temp.fd < 0) {
    temp.path.clear();  // nothing of ours to remove
    return false;
  }
  return true;
}

// Gives the rewritten copy the owner and permissions of the original; the
// owner only where the system allows it.
void CopyOwnerAndMode(int fd, const struct stat& original) {
  if (original.st_uid != geteuid() || original.st_gid != getegid()) {
    if (fchown(fd, original.st_uid, original.st_gid) != 0) {
      // An ordinary user cannot give files away; the copy stays the user's.
    }
  }
  fchmod(fd, original.st_mode & 07777);
}

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// True when the path still names the file that was read, unchanged since.
bool StillTheFileRead(int fd, const std::string& target, const struct stat& before) {
  struct stat now {};
  struct stat named {};
  if (fstat(fd, &now) != 0 || stat(target.c_str(), &named) != 0) return false;
  return now.st_size == before.st_size && SameTime(now.st_mtim, before.st_mtim) && named.st_dev == before.st_dev &&
         named.st_ino == before.st_ino;
}

void Unchanged(const char* what, const char* path, const char* why) {
  OutF("\n  Error: %s %s\n         %s\n         The file is left unchanged.\n\n", what, path, why);
}

// Reads the source through the transform into the temporary file. Returns
// false after reporting a read or write failure.
bool Rewrite(int in, const char* path, TempFile& temp, Decharacter& transform) {
  FdSink out(temp.fd);
  char block[kBlock];
  for (;;) {
    ssize_t n = read(in, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Unchanged("Cannot read the file:", path, std::strerror(errno));
      return false;
    }
    if (n == 0) break;
    transform.Feed(block, static_cast<std::size_t>(n), out);
    if (out.error != 0) break;
  }
  transform.Finish(out);
  if (!out.Flush()) {
    Unchanged("Cannot write the file:", temp.path.c_str(), std::strerror(out.error));
    return false;
  }
  return true;
}

void Complete(const Decharacter& transform, const Switches& sw) {
  if (sw.deTabs)
    OutF("  Complete - Lines = %d, Tabs Replaced = %d\n", transform.Lines(), transform.Tabs());
  else
    OutF("  Complete - Lines = %d\n", transform.Lines());
}

}  // namespace

int DeFile(FILE* file, const char* path, GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  const int fd = fileno(file);
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    OutF("\n  Error: Problem opening input file:\n         %s\n         For modification, %s\n\n", path,
         std::strerror(errno));
    return 0;
  }
  if (LockedElsewhere(fd)) {
    OutF("\n  Error: Problem opening input file:\n         %s\n         For modification, %s\n\n", path,
         "File is locked by another process");
    return 0;
  }

  ShowFileLine(path, static_cast<long>(st.st_mtime), static_cast<long>(st.st_size), sw.totalsOnly, 0, gcd);
  gcd.tot.bytes += st.st_size;
  if (FileData* record = gcd.drv.currentFile) {
    record->size = static_cast<int>(st.st_size);
    record->date = static_cast<int>(st.st_mtime);
  }
  if (sw.deCarriageReturns && sw.addCarriageReturns) {
    OutF("  Error: Cannot De-Dos and Make Dos at the same time\n");
    return 0;
  }
  if (sw.deTabs) OutF("  Removing Tabs '\\t' from file\n");
  if (sw.deCarriageReturns) OutF("  Removing Carriage Returns '\\r' from file\n");
  if (sw.addCarriageReturns) OutF("  Adding Carriage Returns '\\r' to file\n");
  if (!S_ISREG(st.st_mode)) {
    Unchanged("Not a regular file:", path, "Only regular files are rewritten.");
    return 0;
  }

  const std::string target = TargetOf(path);
  TempFile temp;
  if (!CreateTemp(target, temp)) {
    const char* why = std::strerror(errno);
    OutF("\n  Error: Cannot open the specified file: %s\n  %s\n\n", (target + ".tmp").c_str(), why);
    return 0;
  }
  DecharOptions options;
  options.tabs = sw.deTabs != 0;
  options.toUnix = sw.deCarriageReturns != 0;
  options.toDos = sw.addCarriageReturns != 0;
  options.tabWidth = gcd.cfg.tabSize;
  Decharacter transform(options);
  if (!Rewrite(fd, path, temp, transform)) return 0;

  // A file that needs no change keeps its bytes and its date.
  if (transform.Changed()) {
    CopyOwnerAndMode(temp.fd, st);
    if (!temp.Close()) {
      Unchanged("Cannot write the file:", temp.path.c_str(), std::strerror(errno));
      return 0;
    }
    if (!StillTheFileRead(fd, target, st)) {
      Unchanged("The file changed while it was rewritten:", path, "Run again to rewrite it.");
      return 0;
    }
    if (rename(temp.path.c_str(), target.c_str()) != 0) {
      temp.keep = true;
      OutF("\n  Error: Failure to update source file.\n         Modified source in file: %s\n         %s\n\n",
           temp.path.c_str(), std::strerror(errno));
      return 0;
    }
    temp.keep = true;  // it is the source now
  }
  Complete(transform, sw);
  return 1;
}
