#include "gate/temp_tree.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
  remove(path);
  return 0;
}

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  void Reset(int fd) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

TempTree::~TempTree() { Remove(); }

bool TempTree::Create(std::string& error) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
  while (pattern.size() > 1 && pattern.back() == '/') pattern.pop_back();
  pattern += "/lqa-gate-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) {
    error = "cannot create a temporary directory (" + pattern + "): " + std::strerror(errno);
    return false;
  }
  path_ = name.data();
  return true;
}

void TempTree::Remove() {
  if (path_.empty()) return;
  nftw(path_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  path_.clear();
}

bool SafeTreePath(std::string_view path, std::string& why) {
  if (path.empty()) return why = "an empty path", false;
  if (path.size() > 4096) return why = "a path longer than 4096 bytes", false;
  if (path.front() == '/') return why = "an absolute path", false;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part.empty()) return why = "an empty path component", false;
    if (part == "." || part == "..") return why = "a \"" + std::string(part) + "\" component", false;
    if (EqualsNoCase(part, ".git")) return why = "a \".git\" component", false;
    if (part.size() > 255) return why = "a component longer than 255 bytes", false;
    for (char c : part)
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return why = "a control character", false;
    start = end + 1;
  }
  return true;
}

TreeWriter::TreeWriter(std::string root) : root_(std::move(root)) {}

TreeWriter::~TreeWriter() {
  if (dirFd_ >= 0) close(dirFd_);
}

// Enters root/dir one component at a time, creating what is missing.
bool TreeWriter::Enter(std::string_view dir, std::string& error) {
  if (dirFd_ >= 0) close(dirFd_);
  dirFd_ = -1;
  dir_.clear();
  Fd fd(open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) return error = std::strerror(errno), false;
  for (std::size_t start = 0; start < dir.size();) {
    std::size_t slash = dir.find('/', start);
    if (slash == std::string_view::npos) slash = dir.size();
    const std::string part(dir.substr(start, slash - start));
    if (mkdirat(fd.get(), part.c_str(), 0700) != 0 && errno != EEXIST) return error = std::strerror(errno), false;
    const int next = openat(fd.get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0) return error = std::strerror(errno), false;
    fd.Reset(next);
    start = slash + 1;
  }
  dirFd_ = dup(fd.get());
  if (dirFd_ < 0) return error = std::strerror(errno), false;
  dir_.assign(dir);
  return true;
}

bool TreeWriter::Write(std::string_view path, std::string_view data, std::string& error) {
  const std::size_t slash = path.rfind('/');
  const std::string_view dir = slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
  if ((dirFd_ < 0 || dir != dir_) && !Enter(dir, error)) return false;
  const std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
  Fd file(openat(dirFd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (file.get() < 0) return error = std::strerror(errno), false;
  const char* p = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    const ssize_t n = write(file.get(), p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return error = std::strerror(n < 0 ? errno : EIO), false;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteTreeFile(const std::string& root, std::string_view path, std::string_view data, std::string& error) {
  return TreeWriter(root).Write(path, data, error);
}
