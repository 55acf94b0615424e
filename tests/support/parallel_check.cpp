#include "parallel_check.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "dir_snapshot.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kScheduleVariable = "LQA_TEST_SCHEDULE";

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The existing directories among dirs that lie under the temporary
// directory, without those inside another one of them.
std::vector<std::string> WatchedRoots(const std::vector<std::string>& dirs) {
  std::error_code ec;
  const fs::path temp = fs::canonical(fs::temp_directory_path(), ec);
  std::vector<std::string> roots;
  for (const std::string& d : dirs) {
    if (d.empty()) continue;
    const fs::path p = fs::canonical(d, ec);
    if (ec || !fs::is_directory(p, ec) || p == temp) continue;
    const std::string rel = p.lexically_relative(temp).string();
    if (rel.empty() || rel.rfind("..", 0) == 0) continue;
    roots.push_back(p.string());
  }
  std::vector<std::string> outer;
  for (const std::string& r : roots) {
    bool inside = false;
    for (const std::string& o : roots)
      if (o != r && r.size() > o.size() && r.compare(0, o.size(), o) == 0 && r[o.size()] == '/') inside = true;
    bool seen = false;
    for (const std::string& o : outer) seen = seen || o == r;
    if (!inside && !seen) outer.push_back(r);
  }
  return outer;
}

// Snapshots of the roots; files unchanged since the earlier snapshots are
// not read again.
std::vector<DirSnapshot> Snapshots(const std::vector<std::string>& roots, bool keepAll,
                                   const std::vector<DirSnapshot>* earlier = nullptr) {
  SnapshotLimits limits;
  limits.keepAll = keepAll;
  std::vector<DirSnapshot> all;
  for (std::size_t i = 0; i < roots.size(); ++i)
    all.push_back(TakeSnapshot(roots[i], limits, earlier == nullptr ? nullptr : &(*earlier)[i]));
  return all;
}

// Git keeps file times and inode numbers in its index: the gate's runs of
// git rewrite it differently each time, whatever lqa does.
bool IsGitState(const std::string& rel) {
  return rel == ".git" || rel.rfind(".git/", 0) == 0 || rel.find("/.git/") != std::string::npos ||
         (rel.size() > 5 && rel.compare(rel.size() - 5, 5, "/.git") == 0);
}

void DropGitState(DirSnapshot& s) {
  std::erase_if(s.entries, [](const auto& entry) { return IsGitState(entry.first); });
}

// The first difference of contents, with clock readings masked in files
// whose contents both snapshots kept.
std::string FilesDifference(std::vector<DirSnapshot> a, std::vector<DirSnapshot> b, std::time_t from,
                            std::time_t to) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    DropGitState(a[i]);
    DropGitState(b[i]);
    for (auto& [rel, e] : b[i].entries) {
      const auto other = a[i].entries.find(rel);
      if (other == a[i].entries.end() || !e.hasData || !other->second.hasData || other->second.hash == e.hash) continue;
      if (MaskRunNoise(e.data, from, to) == MaskRunNoise(other->second.data, from, to)) e = other->second;
    }
    const std::string diff = SnapshotDifference(a[i], b[i]);
    if (!diff.empty()) return "written files differ under " + a[i].root + ":\n  " + diff;
  }
  return "";
}

std::string TextDifference(const std::string& name, const std::string& a, const std::string& b, std::time_t from,
                           std::time_t to) {
  if (a == b) return "";
  const std::string ma = MaskRunNoise(a, from, to);
  const std::string mb = MaskRunNoise(b, from, to);
  if (ma == mb) return "";
  return name + ": " + FirstDifferentLine(ma, mb, "serial   ", "scheduled");
}

}  // namespace

void ApplyScheduleEnv(const ScheduleEnv& env) {
  switch (env.mode) {
    case ScheduleEnv::Mode::kInherit: break;
    // One worker: the serial run, whatever -j the arguments give.
    case ScheduleEnv::Mode::kSerial: setenv(kScheduleVariable, "jobs=1", 1); break;
    case ScheduleEnv::Mode::kScheduled: setenv(kScheduleVariable, env.schedule.c_str(), 1); break;
  }
}

std::string ParallelCheckSchedule() {
  const char* v = std::getenv("LQA_TEST_PARALLEL_CHECK");
  return v == nullptr ? "" : v;
}

RunResult RunCompared(const std::string& schedule, const std::vector<std::string>& watched, const std::string& what,
                      const std::function<RunResult(const ScheduleEnv&)>& run) {
  if (schedule.empty()) return run({});
  const std::vector<std::string> roots = WatchedRoots(watched);
  const std::vector<DirSnapshot> before = Snapshots(roots, true);
  for (const DirSnapshot& s : before) {
    if (!s.complete) {
      std::fprintf(stderr, "Parallel check of %s skipped: %s is too large to restore\n", what.c_str(), s.root.c_str());
      return run({});
    }
  }

  const std::time_t from = std::time(nullptr);
  RunResult serial = run({ScheduleEnv::Mode::kSerial, ""});
  const std::vector<DirSnapshot> afterSerial = Snapshots(roots, false, &before);
  for (std::size_t i = 0; i < roots.size(); ++i) {
    // A tree that could not be read cannot be compared nor put back.
    if (!afterSerial[i].complete) {
      std::fprintf(stderr, "Parallel check of %s skipped: %s could not be read after the run\n", what.c_str(),
                   roots[i].c_str());
      return serial;
    }
  }
  for (std::size_t i = 0; i < roots.size(); ++i) {
    const std::string failed = RestoreSnapshot(before[i], afterSerial[i]);
    if (!failed.empty()) {
      ADD_FAILURE() << "Parallel check of " << what << ": the directory could not be restored: " << failed;
      return serial;
    }
  }
  const RunResult scheduled = run({ScheduleEnv::Mode::kScheduled, schedule});
  const std::time_t to = std::time(nullptr);
  const std::vector<DirSnapshot> afterScheduled = Snapshots(roots, false, &afterSerial);

  std::string diff;
  if (serial.status != scheduled.status) {
    // A crash or a sanitizer's stop shows on standard error.
    diff = "exit status " + std::to_string(serial.status) + " against " + std::to_string(scheduled.status);
    const std::string err = TextDifference("standard error", serial.err, scheduled.err, from, to);
    if (!err.empty()) diff += "\n  " + err;
  }
  if (diff.empty()) diff = TextDifference("standard output", serial.out, scheduled.out, from, to);
  if (diff.empty()) diff = TextDifference("standard error", serial.err, scheduled.err, from, to);
  if (diff.empty()) diff = FilesDifference(afterSerial, afterScheduled, from, to);
  if (!diff.empty())
    ADD_FAILURE() << "Parallel check of " << what << ": the run under LQA_TEST_SCHEDULE=\"" << schedule
                  << "\" differs from the serial run\n  " << diff;

  // Leave the tree as the serial run left it (its times, or what can be put
  // back when the runs differed).
  for (std::size_t i = 0; i < roots.size(); ++i) RestoreSnapshot(afterSerial[i], afterScheduled[i]);
  return serial;
}

namespace {

// Replaces each occurrence of prefix and the count characters after it.
void MaskAfter(std::string& text, const std::string& prefix, std::size_t count, const std::string& with) {
  for (std::size_t p = text.find(prefix); p != std::string::npos; p = text.find(prefix, p + with.size())) {
    std::size_t end = p + prefix.size();
    std::size_t n = 0;
    while (end < text.size() && n < count && std::isalnum(static_cast<unsigned char>(text[end]))) ++end, ++n;
    text.replace(p, end - p, with);
  }
}

// Replaces the number (digits and points, and the blanks that pad it) just
// before each suffix.
void MaskNumberBefore(std::string& text, const std::string& suffix, const std::string& with) {
  for (std::size_t p = text.find(suffix); p != std::string::npos; p = text.find(suffix, p + 1)) {
    std::size_t start = p;
    while (start > 0 && (IsDigit(text[start - 1]) || text[start - 1] == '.')) --start;
    if (start == p) continue;
    while (start > 0 && text[start - 1] == ' ') --start;
    text.replace(start, p - start, with);
    p = start + with.size();
  }
}

// Replaces the number just after each prefix.
void MaskNumberAfter(std::string& text, const std::string& prefix, const std::string& with) {
  for (std::size_t p = text.find(prefix); p != std::string::npos; p = text.find(prefix, p + 1)) {
    const std::size_t start = p + prefix.size();
    std::size_t end = start;
    while (end < text.size() && (IsDigit(text[end]) || text[end] == '.' || text[end] == ' ')) ++end;
    text.replace(start, end - start, with);
  }
}

}  // namespace

std::string MaskRunNoise(const std::string& text, std::time_t from, std::time_t to) {
  std::string out;
  out.reserve(text.size());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const bool startsNumber = IsDigit(text[i]) && (i == 0 || !IsDigit(text[i - 1]));
    if (!startsNumber) {
      out += text[i++];
      continue;
    }
    std::size_t end = i;
    while (end < n && IsDigit(text[end])) ++end;
    const std::size_t len = end - i;
    // A time of day, hh:mm:ss.
    if (len == 2 && end + 5 < n && text[end] == ':' && IsDigit(text[end + 1]) && IsDigit(text[end + 2]) &&
        text[end + 3] == ':' && IsDigit(text[end + 4]) && IsDigit(text[end + 5]) &&
        (end + 6 == n || !IsDigit(text[end + 6]))) {
      out += "hh:mm:ss";
      i = end + 6;
      continue;
    }
    // Seconds since 1970 read while the runs went on.
    if (len == 10) {
      const long long value = std::atoll(text.substr(i, len).c_str());
      if (value >= static_cast<long long>(from) - 1 && value <= static_cast<long long>(to) + 1) {
        out += "<seconds>";
        i = end;
        continue;
      }
    }
    // A search stopped on the clock says how long it took.
    if (out.size() >= 5 && out.compare(out.size() - 5, 5, "took ") == 0 && text.compare(end, 3, " ms") == 0) {
      out += "<ms>";
      i = end;
      continue;
    }
    out.append(text, i, len);
    i = end;
  }
  // The run's own timing and speed (-b).
  MaskNumberBefore(out, " Sec\n", " <t>");
  MaskNumberBefore(out, " Physical Lines Processed/s", " <n>");
  MaskNumberBefore(out, " Characters Parsed/s", " <n>");
  MaskNumberAfter(out, "Processed/s,", "<n>");
  // The gate's temporary trees are named at random.
  MaskAfter(out, "lqa-gate-", 6, "lqa-gate-XXXXXX");
  return out;
}
