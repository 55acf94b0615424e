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

#include "common/atomic_file.h"
#include "common/error_text.h"
#include "common/gcd.h"
#include "common/output.h"
#include "reports/file_report.h"
#include "reports/report_text.h"
#include "utilities/decharacter.h"

namespace {

constexpr std::size_t kBlock = 65536;

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

void Unchanged(const char* what, const char* path, const char* why, const GlobalData& gcd) {
  const std::string shown = ShownText(path, gcd);
  OutF("\n  Error: %s %s\n         %s\n         The file is left unchanged.\n\n", what, shown.c_str(), why);
}

// Reads the source through the transform into the new file. Returns false
// after reporting a read or write failure.
bool Rewrite(int in, const char* path, int outFd, Decharacter& transform, const GlobalData& gcd) {
  FdSink out(outFd);
  char block[kBlock];
  for (;;) {
    ssize_t n = read(in, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Unchanged("Cannot read the file:", path, ErrorText(errno), gcd);
      return false;
    }
    if (n == 0) break;
    transform.Feed(block, static_cast<std::size_t>(n), out);
    if (out.error != 0) break;
  }
  transform.Finish(out);
  if (!out.Flush()) {
    Unchanged("Cannot write the file:", path, ErrorText(out.error), gcd);
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
    OutF("\n  Error: Problem opening input file:\n         %s\n         For modification, %s\n\n",
         ShownText(path, gcd).c_str(), ErrorText(errno));
    return 0;
  }
  if (LockedElsewhere(fd)) {
    OutF("\n  Error: Problem opening input file:\n         %s\n         For modification, %s\n\n",
         ShownText(path, gcd).c_str(), "File is locked by another process");
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
    Unchanged("Not a regular file:", path, "Only regular files are rewritten.", gcd);
    return 0;
  }

  // The new text goes to a file beside the source (a symbolic link is
  // followed, so that the link stays a link to the rewritten file), unnamed
  // until it replaces the source, with the source's owner and mode.
  AtomicFile rewritten;
  AtomicOptions options;
  options.regularOnly = true;
  if (!rewritten.Open(path, options)) {
    Unchanged("Cannot create a temporary file for:", path, ErrorText(errno), gcd);
    return 0;
  }
  DecharOptions decharOptions;
  decharOptions.tabs = sw.deTabs != 0;
  decharOptions.toUnix = sw.deCarriageReturns != 0;
  decharOptions.toDos = sw.addCarriageReturns != 0;
  decharOptions.tabWidth = gcd.cfg.tabSize;
  Decharacter transform(decharOptions);
  if (!Rewrite(fd, path, fileno(rewritten.stream()), transform, gcd)) return 0;

  // A file that needs no change keeps its bytes and its date.
  if (!transform.Changed()) {
    rewritten.Abandon();
  } else {
    const std::string target = rewritten.target();
    bool changed = false;
    const bool replaced = rewritten.Commit([&] {
      changed = !StillTheFileRead(fd, target, st);
      return !changed;
    });
    if (changed) {
      Unchanged("The file changed while it was rewritten:", path, "Run again to rewrite it.", gcd);
      return 0;
    }
    if (!replaced) {
      Unchanged("Failure to update source file:", path, rewritten.error().c_str(), gcd);
      return 0;
    }
  }
  Complete(transform, sw);
  return 1;
}
