#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "common/error_text.h"

namespace {

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path a write to `path` lands on: symbolic links are followed, also a
// link whose file does not exist yet.
std::string ResolveTarget(const std::string& path) {
  // Made absolute, so that the commit lands where the file was opened even
  // when the working directory changed in between.
  std::string current = path;
  if (!current.empty() && current[0] != '/') {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) != nullptr) current = std::string(cwd) + "/" + current;
  }
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st {};
    if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    char link[PATH_MAX];
    const ssize_t n = readlink(current.c_str(), link, sizeof link - 1);
    if (n <= 0) return current;
    link[n] = '\0';
    if (link[0] == '/') current = link;
    else current = DirectoryOf(current) + "/" + link;
  }
  return current;
}

mode_t NewFileMode() {
  // umask can only be read by setting it; the run is single-threaded here.
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

bool ProcFdUsable() { return access("/proc/self/fd", X_OK) == 0; }

// ".<name>.lqatmp.<pid>.<n>" beside the target, with at most the first 64
// bytes of the name, so that a target whose name is near the system's limit
// still has a temporary name that fits.
std::string TempNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  return DirectoryOf(target) + "/." + BaseOf(target).substr(0, 64) + ".lqatmp." + std::to_string(getpid()) + "." +
         std::to_string(counter++);
}

// True when the directory takes a name of this length; a file that is
// unnamed until its commit would otherwise fail only then.
bool NameFits(const std::string& dir, const std::string& name) {
  const long max = pathconf(dir.c_str(), _PC_NAME_MAX);
  return max < 0 || name.size() <= static_cast<std::size_t>(max);
}

}  // namespace

AtomicFile::~AtomicFile() {
  if (stream_ != nullptr) Abandon();
}

bool AtomicFile::Fail(const char* what) {
  const int saved = errno;
  error_ = std::string(what) + ": " + ErrorText(saved ? saved : EIO);
  errno = saved;
  return false;
}

bool AtomicFile::Open(const std::string& target, const AtomicOptions& options) {
  if (stream_ != nullptr) Abandon();
  error_.clear();
  target_ = ResolveTarget(target);
  tempName_.clear();
  unnamed_ = direct_ = false;
  sync_ = options.sync;

  struct stat existing {};
  const bool exists = stat(target_.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    // A device, FIFO or terminal is written as it is: replacing /dev/null
    // with a regular file would be a disaster.
    if (S_ISDIR(existing.st_mode)) {
      errno = EISDIR;
      return Fail("Could not open");
    }
    if (options.regularOnly) {
      error_ = "Not a regular file";
      errno = ENODEV;
      return false;
    }
    stream_ = std::fopen(target_.c_str(), "wb");
    if (stream_ == nullptr) return Fail("Could not open");
    direct_ = true;
    return true;
  }
  const mode_t mode = exists ? (existing.st_mode & 07777) : NewFileMode();
  const std::string dir = DirectoryOf(target_);
  if (!NameFits(dir, BaseOf(target_))) {
    errno = ENAMETOOLONG;
    return Fail("Could not open");
  }
  int fd = -1;
#ifdef O_TMPFILE
  if (ProcFdUsable()) {
    fd = open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) unnamed_ = true;
  }
#endif
  if (fd < 0) {
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
      tempName_ = TempNameFor(target_);
      fd = open(tempName_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
      if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
      tempName_.clear();
      return Fail("Could not create a temporary file");
    }
  }
  if (exists) {
    // Keep the owner of a file that is replaced (effective only for root).
    if (fchown(fd, existing.st_uid, existing.st_gid) != 0) { /* not ours to change: keep ours */ }
  }
  if (fchmod(fd, mode) != 0) { /* the file stays private; never fatal */ }
  stream_ = fdopen(fd, "wb");
  if (stream_ == nullptr) {
    const int saved = errno;
    close(fd);
    if (!tempName_.empty()) unlink(tempName_.c_str());
    tempName_.clear();
    unnamed_ = false;
    errno = saved;
    return Fail("Could not open");
  }
  return true;
}

bool AtomicFile::Commit(const std::function<bool()>& stillValid) {
  if (stream_ == nullptr) {
    errno = EBADF;
    return Fail("Not open");
  }
  if (direct_) {
    const bool ok = std::fflush(stream_) == 0 && !std::ferror(stream_);
    const int saved = errno;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    errno = saved;
    if (!ok || !closed) return Fail("Write error");
    return true;
  }
  const int fd = fileno(stream_);
  if (std::fflush(stream_) != 0 || std::ferror(stream_)) {
    if (errno == 0) errno = EIO;
    Fail("Write error");
    Abandon();
    return false;
  }
  if (sync_ && fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
    Fail("Write error");
    Abandon();
    return false;
  }
  if (stillValid && !stillValid()) {
    Abandon();
    return false;
  }
  if (unnamed_) {
    // Give the unnamed file a temporary name, then move it over the target.
    char procPath[64];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
    bool linked = false;
    for (int attempt = 0; attempt < 100 && !linked; ++attempt) {
      tempName_ = TempNameFor(target_);
      if (linkat(AT_FDCWD, procPath, AT_FDCWD, tempName_.c_str(), AT_SYMLINK_FOLLOW) == 0) linked = true;
      else if (errno != EEXIST) break;
    }
    if (!linked) {
      tempName_.clear();
      Fail("Could not name the new file");
      Abandon();
      return false;
    }
  }
  if (std::fclose(stream_) != 0) {
    stream_ = nullptr;
    Fail("Write error");
    unlink(tempName_.c_str());
    tempName_.clear();
    return false;
  }
  stream_ = nullptr;
  if (std::rename(tempName_.c_str(), target_.c_str()) != 0) {
    Fail("Could not replace the file");
    unlink(tempName_.c_str());
    tempName_.clear();
    return false;
  }
  tempName_.clear();
  return true;
}

void AtomicFile::Abandon() {
  if (stream_ != nullptr) std::fclose(stream_);
  stream_ = nullptr;
  if (!tempName_.empty()) unlink(tempName_.c_str());
  tempName_.clear();
  unnamed_ = direct_ = false;
}
