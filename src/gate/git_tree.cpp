#include "gate/git_tree.h"

#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/error_text.h"
#include "common/input_file.h"
#include "gate/child_process.h"
#include "gate/temp_tree.h"

namespace {

constexpr std::string_view kLfsPointer = "version https://git-lfs.github.com/spec/v1\n";
constexpr std::size_t kMaxBlob = std::size_t{1} << 30;

std::string FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

std::string Trimmed(const std::string& text) {
  std::string s = text;
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
  return s;
}

bool Git(const std::vector<std::string>& args, const GitRepo& repo, std::string& out, GitFailure& failure,
         SignalGuard& guard, const char* what) {
  std::string err;
  const int status = RunGit(args, repo.top, out, err, guard);
  if (status == 0) return true;
  if (guard.caught() != 0) failure.message = "interrupted";
  else if (status < 0) failure.message = "git could not be started (is it installed?)";
  else failure.message = std::string(what) + ": " + (err.empty() ? "git failed" : FirstLine(err));
  return false;
}

// Buffered reading from a pipe.
class PipeReader {
 public:
  explicit PipeReader(int fd) : fd_(fd) {}
  bool Line(std::string& out) {
    out.clear();
    for (;;) {
      const char* nl = static_cast<const char*>(std::memchr(buf_ + pos_, '\n', len_ - pos_));
      if (nl != nullptr) {
        const std::size_t n = static_cast<std::size_t>(nl - (buf_ + pos_));
        out.append(buf_ + pos_, n);
        pos_ += n + 1;
        return true;
      }
      out.append(buf_ + pos_, len_ - pos_);
      pos_ = len_;
      if (out.size() > 4096 || !Fill()) return false;
    }
  }
  bool Exact(std::size_t n, std::string& out) {
    out.clear();
    while (out.size() < n) {
      if (pos_ == len_ && !Fill()) return false;
      const std::size_t take = std::min(n - out.size(), len_ - pos_);
      out.append(buf_ + pos_, take);
      pos_ += take;
    }
    return true;
  }

 private:
  bool Fill() {
    for (;;) {
      const ssize_t n = read(fd_, buf_, sizeof buf_);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      pos_ = 0;
      len_ = static_cast<std::size_t>(n);
      return true;
    }
  }
  int fd_;
  char buf_[1 << 16];
  std::size_t pos_ = 0, len_ = 0;
};

// The path with its control characters shown as '?'.
std::string WithoutControls(std::string path) {
  for (char& c : path)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  return path;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

struct Entry {
  std::string id;
  std::string path;  // relative to the prefix
};

// Requests sent ahead of the answer being read: a round trip per blob would
// cost a pair of context switches each. Their bytes (at most 65 each) stay
// well below a pipe's capacity, so that writing them never blocks while git
// waits for its answers to be read.
constexpr std::size_t kRequestsAhead = 256;

// Streams the blobs through one cat-file --batch, requests running ahead of
// the answers.
bool FetchBlobs(const GitRepo& repo, const std::vector<Entry>& entries, const std::string& root, bool listPaths,
                TreeExport& result, GitFailure& failure, SignalGuard& guard) {
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0) return failure.message = ErrorText(errno), false;
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    return failure.message = ErrorText(errno), false;
  }
  SpawnSpec spec;
  spec.argv = {"git", "cat-file", "--batch"};
  spec.dir = repo.top;
  spec.in = in[0];
  spec.out = out[1];
  spec.gitEnvironment = true;
  const pid_t pid = Spawn(spec, guard);
  close(in[0]);
  close(out[1]);
  bool ok = pid > 0;
  if (!ok) failure.message = "git could not be started";
  PipeReader reader(out[0]);
  TreeWriter writer(root);
  std::string header, data, why, requests;
  std::size_t sent = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    if (!ok) break;
    if (sent <= i) {
      requests.clear();
      for (; sent < entries.size() && sent < i + kRequestsAhead; ++sent) requests += entries[sent].id + "\n";
      if (!WriteAll(in[1], requests)) {
        failure.message = "git cat-file stopped answering";
        ok = false;
        break;
      }
    }
    if (guard.Pending() != 0) {
      failure.message = "interrupted";
      ok = false;
      break;
    }
    if (!reader.Line(header)) {
      failure.message = "git cat-file stopped answering";
      ok = false;
      break;
    }
    // "<id> blob <size>"
    const std::size_t sp = header.rfind(' ');
    const std::string sizeText = sp == std::string::npos ? "" : header.substr(sp + 1);
    char* end = nullptr;
    const unsigned long long size = std::strtoull(sizeText.c_str(), &end, 10);
    if (header.find(" blob ") == std::string::npos || sizeText.empty() || *end != '\0' || size > kMaxBlob) {
      failure.message = "git cat-file: unexpected answer for " + e.path;
      ok = false;
      break;
    }
    if (!reader.Exact(static_cast<std::size_t>(size), data) || !reader.Exact(1, why)) {
      failure.message = "git cat-file: truncated object for " + e.path;
      ok = false;
      break;
    }
    if (data.size() < 200 && std::string_view(data).starts_with(kLfsPointer)) {
      result.skipped.push_back(e.path + " (LFS pointer)");
      continue;
    }
    if (!writer.Write(e.path, data, why)) {
      failure.message = "cannot write " + e.path + " into the temporary directory: " + why;
      ok = false;
      break;
    }
    ++result.files;
    if (result.keepIds) result.ids.emplace(e.path, e.id);
    if (listPaths) result.paths.push_back(e.path);
  }
  close(in[1]);
  close(out[0]);
  if (pid > 0) {
    if (!ok) kill(pid, SIGTERM);
    std::vector<int> statuses;
    WaitForChildren({pid}, statuses, guard);
  }
  return ok;
}

// Files this small may be LFS pointers, which are told apart only by
// their bytes: they are always read from git.
constexpr long long kSmallBlob = 200;

// A new file of the private directory, already unlinked, for a child to
// read from or write into; -1 when it cannot be made.
int ScratchFile(const std::string& scratch, const char* name) {
  const std::string file = scratch + "/" + name;
  const int fd = open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd >= 0) unlink(file.c_str());
  return fd;
}

// Everything written into fd, from its start.
bool ReadBack(int fd, std::string& out) {
  out.clear();
  if (lseek(fd, 0, SEEK_SET) != 0) return false;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    out.append(buffer, static_cast<std::size_t>(n));
  }
}

// A git command run beside the gate's own work, its output kept in
// scratch files until it is collected.
class GitAside {
 public:
  GitAside(const GitRepo& repo, const std::vector<std::string>& args, const std::string& scratch, SignalGuard& guard)
      : guard_(guard) {
    out_ = ScratchFile(scratch, "aside.out");
    err_ = ScratchFile(scratch, "aside.err");
    if (out_ < 0 || err_ < 0) return;
    SpawnSpec spec;
    spec.argv = {"git"};
    spec.argv.insert(spec.argv.end(), args.begin(), args.end());
    spec.dir = repo.top;
    spec.out = out_;
    spec.err = err_;
    spec.gitEnvironment = true;
    pid_ = Spawn(spec, guard);
  }
  ~GitAside() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      std::vector<int> statuses;
      WaitForChildren({pid_}, statuses, guard_);
    }
    if (out_ >= 0) close(out_);
    if (err_ >= 0) close(err_);
  }
  GitAside(const GitAside&) = delete;
  GitAside& operator=(const GitAside&) = delete;
  bool started() const { return pid_ > 0; }
  // Waits for it: its output, or false with the failure told.
  bool Collect(std::string& out, GitFailure& failure, const char* what) {
    std::vector<int> statuses;
    WaitForChildren({pid_}, statuses, guard_);
    pid_ = -1;
    std::string err;
    if (guard_.caught() != 0) return failure.message = "interrupted", false;
    if (statuses[0] != 0) {
      ReadBack(err_, err);
      failure.message = std::string(what) + ": " + (err.empty() ? "git failed" : FirstLine(err));
      return false;
    }
    if (!ReadBack(out_, out)) return failure.message = std::string(what) + ": " + ErrorText(errno), false;
    return true;
  }

 private:
  SignalGuard& guard_;
  int out_ = -1, err_ = -1;
  pid_t pid_ = -1;
};

// The paths (from the top of the work tree) among candidates that no
// checkout filter rewrites: no line end conversion, smudge filter, ident
// or working tree encoding, by git's own reading of every attribute file
// that applies, and no core.autocrlf.
bool FilterFreePaths(const GitRepo& repo, const std::vector<std::string>& candidates, const std::string& scratch,
                     std::unordered_set<std::string>& clean, GitFailure& failure, SignalGuard& guard) {
  clean.clear();
  if (candidates.empty()) return true;
  std::string out, err;
  // Exit status 1: not set.
  if (RunGit({"config", "--get", "core.autocrlf"}, repo.top, out, err, guard) == 0) {
    std::string value = Trimmed(out);
    for (char& c : value)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (value != "false" && value != "no" && value != "off" && value != "0" && !value.empty()) return true;
  }
  if (guard.Pending() != 0) return failure.message = "interrupted", false;
  // The paths go to git through a file, so that its answers never wait
  // for the questions to be written.
  std::string list;
  for (const std::string& path : candidates) list.append(path).push_back('\0');
  const int fd = ScratchFile(scratch, "attributes.list");
  if (fd < 0 || !WriteAll(fd, list) || lseek(fd, 0, SEEK_SET) != 0) {
    if (fd >= 0) close(fd);
    return failure.message = "cannot write into " + scratch + ": " + ErrorText(errno), false;
  }
  out.clear();
  err.clear();
  const int status = RunGit({"check-attr", "-z", "--stdin", "text", "eol", "crlf", "filter", "ident",
                             "working-tree-encoding"},
                            repo.top, out, err, guard, fd, true);
  close(fd);
  if (status != 0) {
    if (guard.caught() != 0) return failure.message = "interrupted", false;
    return failure.message = "git check-attr: " + (err.empty() ? std::string("git failed") : FirstLine(err)), false;
  }
  // "path NUL attribute NUL value NUL" for every path and attribute.
  std::unordered_set<std::string> filtered;
  std::size_t at = 0;
  std::string_view field[3];
  while (at < out.size()) {
    for (std::string_view& f : field) {
      std::size_t end = out.find('\0', at);
      if (end == std::string::npos) end = out.size();
      f = std::string_view(out).substr(at, end - at);
      at = end + 1;
    }
    if (field[2] != "unspecified" && field[2] != "unset") filtered.emplace(field[0]);
  }
  for (const std::string& path : candidates)
    if (filtered.count(path) == 0) clean.insert(path);
  return true;
}

// Splits entries into those the head's directory holds unchanged (listed in
// result) and those left to be read from git.
bool LeaveInPlace(const GitRepo& repo, std::vector<Entry>& entries, const BlobReuse& reuse, TreeExport& result,
                  GitFailure& failure, SignalGuard& guard) {
  std::unordered_set<std::string> same;  // paths from the top
  if (reuse.workTree) {
    // Without a filter the file on disk holds the bytes git diff compared:
    // the blob's. It must still be a regular file, and one too small to be
    // told from an LFS pointer goes through git.
    std::vector<std::string> candidates;
    for (const Entry& e : entries) {
      const std::string full = repo.prefix + e.path;
      struct stat st {};
      if ((reuse.differing == nullptr || reuse.differing->count(full) == 0) &&
          lstat((repo.top + "/" + full).c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= kSmallBlob)
        candidates.push_back(full);
    }
    if (!FilterFreePaths(repo, candidates, reuse.scratch, same, failure, guard)) return false;
  }
  std::vector<Entry> rest;
  for (Entry& e : entries) {
    bool inPlace = false;
    if (reuse.headIds != nullptr) {
      const auto it = reuse.headIds->find(e.path);
      inPlace = it != reuse.headIds->end() && it->second == e.id;
    } else if (reuse.workTree) {
      inPlace = same.count(repo.prefix + e.path) != 0;
    }
    if (inPlace) {
      result.paths.push_back(e.path);
      ++result.inPlace;
      ++result.files;
    } else {
      rest.push_back(std::move(e));
    }
  }
  entries = std::move(rest);
  return true;
}

}  // namespace

bool OpenRepo(GitRepo& repo, GitFailure& failure, SignalGuard& guard) {
  std::string out, err;
  const int status =
      RunGit({"rev-parse", "--show-toplevel", "--show-prefix", "--is-shallow-repository"}, "", out, err, guard);
  if (status < 0) return failure.message = "git could not be started (is it installed?)", false;
  if (status != 0) {
    failure.message = "the current directory is not in a git repository";
    if (!err.empty()) failure.message += " (" + FirstLine(err) + ")";
    return false;
  }
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < out.size()) {
    std::size_t nl = out.find('\n', start);
    if (nl == std::string::npos) nl = out.size();
    lines.push_back(out.substr(start, nl - start));
    start = nl + 1;
  }
  // The prefix line is empty at the top of the work tree.
  if (lines.size() == 2) lines.insert(lines.begin() + 1, std::string());
  if (lines.size() != 3 || lines[0].empty()) return failure.message = "git rev-parse: unexpected answer", false;
  repo.top = lines[0];
  repo.prefix = lines[1];
  repo.shallow = lines[2] == "true";
  return true;
}

namespace {

// A revision git cannot resolve in a shallow clone may simply be missing
// from it: the message says how to fetch it.
std::string ShallowHint(const GitRepo& repo) {
  return repo.shallow ? "; this is a shallow clone: fetch the history the gate needs (fetch-depth: 0 in "
                        "actions/checkout, or git fetch --deepen=N, or git fetch --unshallow)"
                      : "";
}

}  // namespace

bool ResolveRevision(const GitRepo& repo, const std::string& revision, bool mergeBase, std::string& commit,
                     GitFailure& failure, SignalGuard& guard) {
  std::string out, err;
  const int status =
      RunGit({"rev-parse", "--verify", "--quiet", "--end-of-options", revision + "^{commit}"}, repo.top, out, err,
             guard);
  if (status != 0) {
    if (guard.caught() != 0) return failure.message = "interrupted", false;
    failure.message = "revision " + revision + " not found in the repository" + ShallowHint(repo);
    return false;
  }
  commit = Trimmed(out);
  if (!mergeBase) return true;
  out.clear();
  if (!Git({"merge-base", commit, "HEAD"}, repo, out, failure, guard, "git merge-base")) {
    failure.message = "no merge base of " + revision + " and HEAD" + ShallowHint(repo);
    return false;
  }
  commit = Trimmed(out);
  return true;
}

bool ExportTree(const GitRepo& repo, const std::string& commit, const TreeFilter& filter, const std::string& root,
                TreeExport& result, GitFailure& failure, SignalGuard& guard, const BlobReuse* reuse) {
  std::string out;
  if (!Git({"ls-tree", "-r", "-z", "--full-tree", commit}, repo, out, failure, guard, "git ls-tree")) return false;
  std::vector<Entry> entries;
  std::string why;
  std::size_t start = 0;
  while (start < out.size()) {
    std::size_t end = out.find('\0', start);
    if (end == std::string::npos) end = out.size();
    const std::string_view record(out.data() + start, end - start);
    start = end + 1;
    // "<mode> SP <type> SP <id> TAB <path>"
    const std::size_t tab = record.find('\t');
    if (tab == std::string_view::npos) return failure.message = "git ls-tree: unexpected answer", false;
    const std::string_view meta = record.substr(0, tab);
    const std::string path(record.substr(tab + 1));
    if (!SafeTreePath(path, why)) {
      // A name with a control character (a line feed) is only skipped: it
      // could not be named in a report line. Anything that could reach
      // outside the directory refuses the whole tree.
      const bool control = why == "a control character" && path.find("/../") == std::string::npos &&
                           !path.starts_with("../") && path.front() != '/';
      std::string rest;
      if (!control || !SafeTreePath(WithoutControls(path), rest)) {
        failure.message = "the tree of " + commit.substr(0, 12) + " holds an unsafe path (" + why + ")";
        return false;
      }
      if (filter.Keeps(path, repo.prefix)) result.skipped.push_back(WithoutControls(path) + " (control character in its name)");
      continue;
    }
    if (!filter.Keeps(path, repo.prefix)) continue;
    const std::string rel = path.substr(repo.prefix.size());
    if (meta.starts_with("120000 ")) {
      result.skipped.push_back(rel + " (symbolic link)");
      continue;
    }
    if (meta.starts_with("160000 ")) {
      result.skipped.push_back(rel + " (submodule)");
      continue;
    }
    if (!meta.starts_with("100644 blob ") && !meta.starts_with("100755 blob ") && !meta.starts_with("100664 blob "))
      continue;
    entries.push_back(Entry{std::string(meta.substr(meta.rfind(' ') + 1)), rel});
  }
  if (reuse != nullptr && !LeaveInPlace(repo, entries, *reuse, result, failure, guard)) return false;
  return entries.empty() || FetchBlobs(repo, entries, root, reuse != nullptr, result, failure, guard);
}

bool ChangedPaths(const GitRepo& repo, const std::string& base, const std::string& head, ChangeSet& changes,
                  GitFailure& failure, SignalGuard& guard, const std::string& scratch) {
  // Files not yet added are part of the head on disk: they are listed
  // while git diff runs.
  const std::vector<std::string> othersArgs = {"ls-files", "--others", "--exclude-standard", "-z", "--full-name",
                                               "--", ":/"};
  std::unique_ptr<GitAside> others;
  if (head.empty() && !scratch.empty()) others = std::make_unique<GitAside>(repo, othersArgs, scratch, guard);
  std::vector<std::string> args = {"diff", "--name-status", "-z", "-M", "--no-ext-diff", "--no-textconv", base};
  if (!head.empty()) args.push_back(head);
  args.push_back("--");
  std::string out;
  if (!Git(args, repo, out, failure, guard, "git diff")) return false;
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (start < out.size()) {
    std::size_t end = out.find('\0', start);
    if (end == std::string::npos) end = out.size();
    fields.emplace_back(out.data() + start, end - start);
    start = end + 1;
  }
  for (std::size_t i = 0; i < fields.size();) {
    const std::string_view status = fields[i];
    const bool two = !status.empty() && (status[0] == 'R' || status[0] == 'C');
    if (i + (two ? 2 : 1) >= fields.size()) break;
    const std::string first(fields[i + 1]);
    if (two) {
      const std::string second(fields[i + 2]);
      if (status[0] == 'R') {
        changes.basePaths.insert(first);
        if (first.starts_with(repo.prefix) && second.starts_with(repo.prefix))
          changes.renames[first.substr(repo.prefix.size())] = second.substr(repo.prefix.size());
      }
      changes.headPaths.insert(second);
    } else {
      if (status[0] != 'A') changes.basePaths.insert(first);
      if (status[0] != 'D') changes.headPaths.insert(first);
    }
    i += two ? 3 : 2;
  }
  if (!head.empty()) return true;
  out.clear();
  if (others && others->started() ? !others->Collect(out, failure, "git ls-files")
                                  : !Git(othersArgs, repo, out, failure, guard, "git ls-files"))
    return false;
  start = 0;
  while (start < out.size()) {
    std::size_t end = out.find('\0', start);
    if (end == std::string::npos) end = out.size();
    if (end > start) changes.headPaths.emplace(out.data() + start, end - start);
    start = end + 1;
  }
  return true;
}

bool SkipWorkTreeFiles(const GitRepo& repo, const std::unordered_set<std::string>& paths, const TreeFilter& filter,
                       TreeExport& result, std::unordered_set<std::string>& skipped, GitFailure& failure,
                       SignalGuard& guard) {
  std::vector<std::string> sorted(paths.begin(), paths.end());
  std::sort(sorted.begin(), sorted.end());
  std::string why;
  for (const std::string& path : sorted) {
    if (guard.Pending() != 0) return failure.message = "interrupted", false;
    if (!filter.Keeps(path, repo.prefix)) continue;
    const std::string rel = path.substr(repo.prefix.size());
    if (!SafeTreePath(path, why)) {
      if (!SafeTreePath(WithoutControls(path), why))
        return failure.message = "unsafe path in the work tree (" + why + ")", false;
      result.skipped.push_back(WithoutControls(rel) + " (control character in its name)");
      skipped.insert(rel);
      continue;
    }
    struct stat st {};
    if (lstat((repo.top + "/" + path).c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
      result.skipped.push_back(rel + " (symbolic link)");
      skipped.insert(rel);
      continue;
    }
    ++result.files;
  }
  return true;
}
