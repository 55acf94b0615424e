#include "utilities/file_copy.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "common/atomic_file.h"
#include "common/error_text.h"
#include "common/input_file.h"
#include "common/output.h"
#include "reports/report_text.h"

namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

std::string Shown(const char* path, const GlobalData* gcd) { return gcd ? ShownText(path, *gcd) : path; }

long Failed(const char* what, const char* path, const std::string& why, const GlobalData* gcd) {
  OutF("\n  Error: Failed to %s the file %s\n         %s\n", what, Shown(path, gcd).c_str(), why.c_str());
  return -1;
}

}  // namespace

long FileCopy(const char* destination, const char* source, const GlobalData* gcd) {
  if (destination == nullptr || source == nullptr) {
    OutF("\n  Error: Invalid file pointer\n");
    return -1;
  }
  struct stat src {};
  FilePtr in(OpenInput(source, {}, &src));
  if (!in) {
    OutF("\n  Error: Failed to open the file %s\n  %s", Shown(source, gcd).c_str(), InputErrorText(errno));
    return -1;
  }
  struct stat dst {};
  if (stat(destination, &dst) == 0 && dst.st_dev == src.st_dev && dst.st_ino == src.st_ino)
    return static_cast<long>(src.st_size);
  AtomicFile out;
  AtomicOptions options;
  options.regularOnly = true;
  if (!out.Open(destination, options)) {
    const std::string why = errno == ENODEV ? out.error() : ErrorText(errno);
    OutF("\n  Error: Failed to create/open the file %s\n         %s\n", Shown(destination, gcd).c_str(), why.c_str());
    return -1;
  }
  char block[65536];
  long long left = static_cast<long long>(src.st_size);
  long copied = 0;
  while (left > 0) {
    const std::size_t want =
        left < static_cast<long long>(sizeof block) ? static_cast<std::size_t>(left) : sizeof block;
    const std::size_t n = std::fread(block, 1, want, in.get());
    if (n == 0) {
      if (std::ferror(in.get())) return Failed("read", source, ErrorText(errno ? errno : EIO), gcd);
      break;  // the file shrank while it was copied
    }
    if (std::fwrite(block, 1, n, out.stream()) != n) break;  // reported by the commit
    copied += static_cast<long>(n);
    left -= static_cast<long long>(n);
  }
  if (!out.Commit()) return Failed("write", destination, out.error(), gcd);
  return copied;
}
