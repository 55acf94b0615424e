#include "utilities/file_copy.h"

#include <fcntl.h>
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
};
}  // namespace

long FileCopy(const char* destination, const char* source) {
  if (destination == nullptr || source == nullptr) {
    OutF("\n  Error: Invalid file pointer\n");
    return -1;
  }
  Fd in(open(source, O_RDONLY));
  if (in.fd < 0) {
    OutF("\n  Error: Failed to open the file %s\n  %s", source, std::strerror(errno));
    return -1;
  }
  Fd out(open(destination, O_WRONLY | O_CREAT | O_TRUNC, 0660));
  if (out.fd < 0) {
    OutF("\n  Error: Failed to create/open the file %s\n         %s\n", destination, std::strerror(errno));
    return -1;
  }
  char block[4096];
  long copied = 0;
  for (;;) {
    ssize_t n = read(in.fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    // A short write (a full disk) is taken up again until the block is out.
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(out.fd, block + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return copied + done;
      done += w;
    }
    copied += n;
  }
  return copied;
}
