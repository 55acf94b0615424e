#include "utilities/file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/output.h"

namespace {
// A descriptor closed when it goes out of scope.
struct Fd {
  int fd = -1;
  explicit Fd(int f) : fd(f) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd >= 0) close(fd);
  }
  // Closes now; false when the close reports an error (a delayed write failure).
  bool Close() {
    int result = close(fd);
    fd = -1;
    return result == 0;
  }
};

// True when the destination path names the open source file: opening it
// for writing would truncate the source before it is read.
bool SameFile(int sourceFd, const char* destination) {
  struct stat src {};
  struct stat dst {};
  return fstat(sourceFd, &src) == 0 && stat(destination, &dst) == 0 && src.st_dev == dst.st_dev &&
         src.st_ino == dst.st_ino;
}

long Failed(const char* what, const char* path, int error) {
  OutF("\n  Error: Failed to %s the file %s\n         %s\n", what, path, std::strerror(error));
  return -1;
}
}  // namespace

long FileCopy(const char* destination, const char* source) {
  if (destination == nullptr || source == nullptr) {
    OutF("\n  Error: Invalid file pointer\n");
    return -1;
  }
  Fd in(open(source, O_RDONLY | O_CLOEXEC));
  if (in.fd < 0) {
    OutF("\n  Error: Failed to open the file %s\n  %s", source, std::strerror(errno));
    return -1;
  }
  if (SameFile(in.fd, destination)) {
    struct stat st {};
    return fstat(in.fd, &st) == 0 ? static_cast<long>(st.st_size) : 0;
  }
  Fd out(open(destination, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0660));
  if (out.fd < 0) {
    OutF("\n  Error: Failed to create/open the file %s\n         %s\n", destination, std::strerror(errno));
    return -1;
  }
  char block[4096];
  long copied = 0;
  for (;;) {
    ssize_t n = read(in.fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Failed("read", source, errno);
    if (n == 0) break;
    // A short write is taken up again until the block is out; a full disk
    // ends the copy as a failure.
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(out.fd, block + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return Failed("write", destination, w < 0 ? errno : ENOSPC);
      done += w;
    }
    copied += n;
  }
  if (!out.Close()) return Failed("write", destination, errno);
  return copied;
}
