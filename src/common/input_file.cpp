#include "common/input_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/error_text.h"

namespace {

// errno for a status that is not a regular file: EISDIR for a directory.
int KindError(const struct stat& st) { return S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile; }

}  // namespace

FILE* OpenInput(const std::string& path, const InputOptions& options, struct stat* status) {
  struct stat st {};
  // A device or FIFO is refused before it is opened: opening some devices
  // has effects of its own.
  const int lookup = options.noFollow ? lstat(path.c_str(), &st) : stat(path.c_str(), &st);
  if (lookup == 0 && !S_ISREG(st.st_mode)) {
    errno = options.noFollow && S_ISLNK(st.st_mode) ? ELOOP : KindError(st);
    return nullptr;
  }
  int flags = (options.write ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  if (options.noFollow) flags |= O_NOFOLLOW;
  const int fd = open(path.c_str(), flags);
  if (fd < 0) return nullptr;
  // The path may have been replaced since the lookup: the open file decides.
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int error = S_ISREG(st.st_mode) ? errno : KindError(st);
    close(fd);
    errno = error;
    return nullptr;
  }
  // O_NONBLOCK stays: it changes nothing for the reads of a regular file.
  FILE* stream = fdopen(fd, options.write ? "r+b" : "rb");
  if (stream == nullptr) {
    const int error = errno;
    close(fd);
    errno = error;
    return nullptr;
  }
  if (status != nullptr) *status = st;
  return stream;
}

const char* InputErrorText(int error) {
  if (error == kNotRegularFile) return "Not a regular file";
  return ErrorText(error != 0 ? error : ENOENT);
}
