#include "dir_snapshot.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kFnvOffset = 1469598103934665603ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

std::uint64_t Fnv(std::uint64_t h, const char* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(p[i])) * kFnvPrime;
  return h;
}


bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

// Reads a regular file, hashing it and keeping its contents when asked.
// Returns false when it cannot be opened.
bool ReadFile(const std::string& path, bool keep, SnapshotEntry& e) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  std::uint64_t h = kFnvOffset;
  std::uint64_t size = 0;
  std::vector<char> buf(1 << 16);
  ssize_t n;
  while ((n = read(fd, buf.data(), buf.size())) > 0) {
    h = Fnv(h, buf.data(), static_cast<std::size_t>(n));
    size += static_cast<std::uint64_t>(n);
    if (keep) e.data.append(buf.data(), static_cast<std::size_t>(n));
  }
  close(fd);
  e.hash = h;
  e.size = size;
  e.hasData = keep;
  return n == 0;
}

bool SameFile(const SnapshotEntry& a, const struct stat& st) {
  return a.kind == SnapshotEntry::Kind::kFile && a.inode == st.st_ino &&
         a.size == static_cast<std::uint64_t>(st.st_size) && SameTime(a.mtime, st.st_mtim) &&
         SameTime(a.ctime, st.st_ctim);
}

// Adds one entry; reused names the entries taken from the reference.
void AddEntry(DirSnapshot& s, const std::string& relative, const SnapshotLimits& limits, const DirSnapshot* reference,
              std::set<std::string>& reused) {
  const std::string full = relative.empty() ? s.root : s.root + "/" + relative;
  struct stat st{};
  if (lstat(full.c_str(), &st) != 0) return;
  SnapshotEntry e;
  e.mode = st.st_mode & 07777;
  e.mtime = st.st_mtim;
  e.ctime = st.st_ctim;
  e.inode = st.st_ino;
  e.size = static_cast<std::uint64_t>(st.st_size);
  if (S_ISDIR(st.st_mode)) {
    e.kind = SnapshotEntry::Kind::kDirectory;
  } else if (S_ISLNK(st.st_mode)) {
    e.kind = SnapshotEntry::Kind::kSymlink;
    std::error_code ec;
    e.data = fs::read_symlink(full, ec).string();
  } else if (S_ISREG(st.st_mode)) {
    const bool keep = limits.keepAll || e.size <= limits.smallFile;
    if (keep && s.bytesKept + e.size > limits.maxBytes) s.complete = false;
    const bool keepNow = keep && s.complete;
    const SnapshotEntry* before = nullptr;
    if (reference != nullptr) {
      const auto it = reference->entries.find(relative);
      if (it != reference->entries.end() && SameFile(it->second, st) && (!keepNow || it->second.hasData))
        before = &it->second;
    }
    if (before != nullptr) {
      e.kind = SnapshotEntry::Kind::kFile;
      e.hash = before->hash;
      e.hasData = keepNow;
      reused.insert(relative);
    } else {
      e.kind = ReadFile(full, keepNow, e) ? SnapshotEntry::Kind::kFile : SnapshotEntry::Kind::kUnreadable;
    }
    if (keepNow) s.bytesKept += e.size;
    // A file the test wants restored but whose contents were not kept.
    if (keep && !keepNow) s.complete = false;
  }
  s.entries.emplace(relative, std::move(e));
}

std::string KindName(SnapshotEntry::Kind k) {
  switch (k) {
    case SnapshotEntry::Kind::kFile: return "file";
    case SnapshotEntry::Kind::kDirectory: return "directory";
    case SnapshotEntry::Kind::kSymlink: return "symbolic link";
    case SnapshotEntry::Kind::kUnreadable: return "unreadable file";
    case SnapshotEntry::Kind::kOther: break;
  }
  return "special file";
}

std::string Shown(const std::string& line) {
  constexpr std::size_t kMax = 160;
  return line.size() <= kMax ? line : line.substr(0, kMax) + "...";
}

std::string WriteBack(const std::string& path, const SnapshotEntry& e) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, e.mode);
  if (fd < 0) return "cannot write " + path;
  std::size_t done = 0;
  while (done < e.data.size()) {
    const ssize_t n = write(fd, e.data.data() + done, e.data.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  close(fd);
  return done == e.data.size() ? "" : "short write to " + path;
}

void SetTime(const std::string& path, const timespec& mtime) {
  const timespec times[2] = {{0, UTIME_OMIT}, mtime};
  utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

}  // namespace

namespace {

DirSnapshot SnapshotHere(const std::string& root, const SnapshotLimits& limits, const DirSnapshot* reference,
                         std::set<std::string>& reused) {
  DirSnapshot s;
  s.root = root;
  AddEntry(s, "", limits, reference, reused);
  std::error_code ec;
  const auto options = fs::directory_options::skip_permission_denied;
  for (auto it = fs::recursive_directory_iterator(root, options, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    AddEntry(s, it->path().lexically_relative(root).string(), limits, reference, reused);
  }
  return s;
}

// A snapshot travels from the child that took it as a byte stream.
template <typename T>
void Put(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}
void PutText(std::string& out, const std::string& text) {
  Put(out, text.size());
  out += text;
}
template <typename T>
bool Get(const std::string& in, std::size_t& pos, T& value) {
  if (in.size() - pos < sizeof value) return false;
  std::memcpy(&value, in.data() + pos, sizeof value);
  pos += sizeof value;
  return true;
}
bool GetText(const std::string& in, std::size_t& pos, std::string& text) {
  std::size_t n = 0;
  if (!Get(in, pos, n) || in.size() - pos < n) return false;
  text.assign(in, pos, n);
  pos += n;
  return true;
}

// Contents taken from the reference are not sent: the receiver has them.
std::string Encode(const DirSnapshot& s, const std::set<std::string>& reused) {
  std::string out;
  Put(out, s.complete);
  Put(out, s.bytesKept);
  for (const auto& [rel, e] : s.entries) {
    const bool fromReference = reused.count(rel) != 0;
    PutText(out, rel);
    Put(out, e.kind);
    Put(out, e.mode);
    Put(out, e.mtime);
    Put(out, e.ctime);
    Put(out, e.inode);
    Put(out, e.size);
    Put(out, e.hash);
    Put(out, e.hasData);
    Put(out, fromReference);
    PutText(out, fromReference ? std::string() : e.data);
  }
  return out;
}

bool Decode(const std::string& in, const DirSnapshot* reference, DirSnapshot& s) {
  std::size_t pos = 0;
  if (!Get(in, pos, s.complete) || !Get(in, pos, s.bytesKept)) return false;
  while (pos < in.size()) {
    std::string rel;
    SnapshotEntry e;
    bool fromReference = false;
    if (!GetText(in, pos, rel) || !Get(in, pos, e.kind) || !Get(in, pos, e.mode) || !Get(in, pos, e.mtime) ||
        !Get(in, pos, e.ctime) || !Get(in, pos, e.inode) || !Get(in, pos, e.size) || !Get(in, pos, e.hash) ||
        !Get(in, pos, e.hasData) || !Get(in, pos, fromReference) || !GetText(in, pos, e.data))
      return false;
    if (fromReference && e.hasData) {
      if (reference == nullptr || reference->entries.count(rel) == 0) return false;
      e.data = reference->entries.at(rel).data;
    }
    s.entries.emplace(std::move(rel), std::move(e));
  }
  return true;
}

}  // namespace

DirSnapshot TakeSnapshot(const std::string& root, const SnapshotLimits& limits, const DirSnapshot* reference) {
  // The files are read in a child process: closing a file releases every
  // lock the process holds on it, and a test may hold one on purpose.
  DirSnapshot s;
  s.root = root;
  s.complete = false;
  int fds[2];
  if (pipe(fds) != 0) return s;
  pid_t pid = fork();
  for (int tries = 0; pid < 0 && errno == EAGAIN && tries < 50; ++tries) {
    usleep(20000);
    pid = fork();
  }
  if (pid < 0) {
    close(fds[0]);
    close(fds[1]);
    return s;
  }
  if (pid == 0) {
    close(fds[0]);
    std::set<std::string> reused;
    const DirSnapshot here = SnapshotHere(root, limits, reference, reused);
    const std::string bytes = Encode(here, reused);
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = write(fds[1], bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) _exit(1);
      done += static_cast<std::size_t>(n);
    }
    _exit(0);
  }
  close(fds[1]);
  std::string bytes;
  std::vector<char> buf(1 << 16);
  ssize_t n;
  while ((n = read(fds[0], buf.data(), buf.size())) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    bytes.append(buf.data(), static_cast<std::size_t>(n));
  }
  close(fds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !Decode(bytes, reference, s)) {
    s.entries.clear();
    s.complete = false;
  }
  return s;
}

std::string RestoreSnapshot(const DirSnapshot& target, const DirSnapshot& current) {
  using Kind = SnapshotEntry::Kind;
  const std::string& root = target.root;
  auto full = [&](const std::string& rel) { return rel.empty() ? root : root + "/" + rel; };
  std::error_code ec;
  // Children sort after their parents, so going backwards removes the
  // deepest entries first.
  for (auto it = current.entries.rbegin(); it != current.entries.rend(); ++it) {
    if (it->first.empty()) continue;
    const auto t = target.entries.find(it->first);
    if (t == target.entries.end() || t->second.kind != it->second.kind) fs::remove_all(full(it->first), ec);
  }
  for (const auto& [rel, e] : target.entries) {
    const std::string path = full(rel);
    const auto c = current.entries.find(rel);
    const bool present = c != current.entries.end() && c->second.kind == e.kind;
    bool rewritten = !present;
    switch (e.kind) {
      case Kind::kDirectory:
        if (!present) fs::create_directory(path, ec);
        break;
      case Kind::kFile:
        if (!present || c->second.size != e.size || c->second.hash != e.hash) {
          if (!e.hasData) return "the contents of " + path + " were not kept";
          const std::string failed = WriteBack(path, e);
          if (!failed.empty()) return failed;
          rewritten = true;
        }
        break;
      case Kind::kSymlink:
        if (!present || c->second.data != e.data) {
          fs::remove(path, ec);
          if (symlink(e.data.c_str(), path.c_str()) != 0) return "cannot make the link " + path;
          rewritten = true;
        }
        break;
      case Kind::kOther:
      case Kind::kUnreadable:
        if (!present) return "cannot recreate the " + KindName(e.kind) + " " + path;
        break;
    }
    if (e.kind != Kind::kSymlink && (!present || c->second.mode != e.mode)) chmod(path.c_str(), e.mode);
    // Files left alone keep their times (and so their change time, which
    // lets the next snapshot skip reading them).
    if (e.kind != Kind::kDirectory && (rewritten || !SameTime(c->second.mtime, e.mtime))) SetTime(path, e.mtime);
  }
  // Writing into a directory changes its time: directories come last,
  // deepest first.
  for (auto it = target.entries.rbegin(); it != target.entries.rend(); ++it)
    if (it->second.kind == Kind::kDirectory) SetTime(full(it->first), it->second.mtime);
  return "";
}

std::string SnapshotDifference(const DirSnapshot& a, const DirSnapshot& b) {
  auto ia = a.entries.begin();
  auto ib = b.entries.begin();
  while (ia != a.entries.end() || ib != b.entries.end()) {
    if (ib == b.entries.end() || (ia != a.entries.end() && ia->first < ib->first))
      return ia->first + ": only after the first run";
    if (ia == a.entries.end() || ib->first < ia->first) return ib->first + ": only after the second run";
    const SnapshotEntry& x = ia->second;
    const SnapshotEntry& y = ib->second;
    const std::string& name = ia->first.empty() ? "." : ia->first;
    if (x.kind != y.kind) return name + ": " + KindName(x.kind) + " against " + KindName(y.kind);
    if (x.kind == SnapshotEntry::Kind::kSymlink && x.data != y.data)
      return name + ": links to " + x.data + " against " + y.data;
    if (x.kind == SnapshotEntry::Kind::kFile && (x.size != y.size || x.hash != y.hash)) {
      if (x.hasData && y.hasData) return name + ": " + FirstDifferentLine(x.data, y.data, "first", "second");
      return name + ": " + std::to_string(x.size) + " bytes against " + std::to_string(y.size) +
             " bytes, contents differ";
    }
    if (x.mode != y.mode) return name + ": permissions differ";
    ++ia;
    ++ib;
  }
  return "";
}

std::string FirstDifferentLine(const std::string& a, const std::string& b, const std::string& nameA,
                               const std::string& nameB) {
  if (a == b) return "";
  std::size_t pos = 0;
  int line = 1;
  const std::size_t common = std::min(a.size(), b.size());
  while (pos < common && a[pos] == b[pos]) {
    if (a[pos] == '\n') ++line;
    ++pos;
  }
  auto lineAt = [&](const std::string& s) {
    const std::size_t start = s.rfind('\n', pos == 0 ? 0 : pos - 1);
    const std::size_t from = (start == std::string::npos || pos == 0) ? 0 : start + 1;
    if (from >= s.size()) return std::string("<end>");
    const std::size_t end = s.find('\n', from);
    return "\"" + Shown(s.substr(from, end == std::string::npos ? std::string::npos : end - from)) + "\"";
  };
  return "line " + std::to_string(line) + " differs\n    " + nameA + ": " + lineAt(a) + "\n    " + nameB + ": " +
         lineAt(b);
}
