#include "gate/gate_run.h"

#include <getopt.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "common/error_text.h"
#include "common/gcd.h"
#include "common/output.h"
#include "common/text.h"
#include "driver/switches.h"
#include "gate/child_process.h"
#include "gate/gate_documents.h"
#include "gate/gate_overlay.h"
#include "gate/gate_report.h"
#include "gate/git_tree.h"
#include "gate/matcher.h"
#include "gate/gate_selection.h"
#include "gate/gate_sides.h"
#include "gate/snapshot.h"
#include "gate/temp_tree.h"
#include "sarif/source_location.h"

namespace {

constexpr int kGatePassed = 0;
constexpr int kCannotCompare = 3;

// The -x keywords a side run does not take.
constexpr const char* kDroppedX[] = {"SARIF", "GITLAB", "GATESNAP", "GATEANY", "DASHBOARD", "HELP"};

bool DroppedX(const char* arg) {
  std::string_view a = arg != nullptr ? arg : "";
  while (!a.empty() && (a.front() == ' ' || a.front() == '\t')) a.remove_prefix(1);
  std::size_t end = 0;
  while (end < a.size() && a[end] != ' ' && a[end] != '\t' && a[end] != '\r' && a[end] != '\n') ++end;
  for (const char* word : kDroppedX)
    if (EqualsNoCase(a.substr(0, end), word)) return true;
  return false;
}

std::string SelfPath(char** argv) {
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) return std::string(buffer, static_cast<std::size_t>(n));
  return argv != nullptr && argv[0] != nullptr ? argv[0] : "lqa";
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// One side of the comparison while it is prepared.
struct Side {
  const char* label;  // "base", "head"
  GateSide spec;
  GateSideSummary summary;
  std::string runDir;        // where its run works (empty: the current directory)
  std::string snapshotFile;  // read from here
  std::string view;          // the base's view of the head's directory, or empty (gate_overlay.h)
  bool analysed = false;     // a run of its own writes the snapshot
  GateSnapshot snapshot;
};

class GateSession {
 public:
  GateSession(GlobalData& gcd, int argc, char** argv, const GateSides& spec, const GateDocuments& documents)
      : gcd_(gcd), argc_(argc), argv_(argv), documents_(documents) {
    base_.label = "base";
    head_.label = "head";
    base_.spec = spec.base;
    head_.spec = spec.head;
  }

  int Run() {
    for (Side* side : {&base_, &head_}) {
      side->summary.name = side->spec.text;
      side->summary.mergeBase = side->spec.mergeBase;
    }
    const bool git = base_.spec.kind == SideKind::Git || head_.spec.kind == SideKind::Git;
    if (git && !OpenRepo(repo_, failure_, guard_)) return Fail(failure_.message);
    if (base_.spec.kind != SideKind::Snapshot || head_.spec.kind != SideKind::Snapshot) {
      std::string error;
      if (!temp_.Create(error)) return Fail(error);
    }
    // A git base against a git head or the files on disk: both sides are
    // analysed in full (what a file yields can depend on the others), but
    // only the files that differ are recorded in full; every other file
    // is recorded as a digest of its records. The head's documents need
    // all of its records.
    sparse_ = base_.spec.kind == SideKind::Git &&
              (head_.spec.kind == SideKind::Git || head_.spec.kind == SideKind::Disk) && documents_.empty();
    for (Side* side : {&base_, &head_})
      if (side->spec.kind == SideKind::Git && !Resolve(*side)) return Interrupted() ? kCannotCompare : Fail(failure_.message);
    if ((sparse_ || InPlace()) &&
        !ChangedPaths(repo_, base_.summary.commit, head_.summary.commit, changes_, failure_, guard_, temp_.path()))
      return Interrupted() ? kCannotCompare : Fail(failure_.message);
    if (sparse_ && head_.spec.kind == SideKind::Disk) {
      // The head is analysed where it is; its changed files that a commit's
      // tree would not give as regular files are left out, as on a git side.
      TreeExport checked;
      if (!SkipWorkTreeFiles(repo_, changes_.headPaths, Filter(), checked, headSkipped_, failure_, guard_))
        return Interrupted() ? kCannotCompare : Fail(failure_.message);
      head_.summary.skipped = std::move(checked.skipped);
    }
    std::unordered_set<std::string> record;  // the paths recorded in full, as the snapshots give them
    if (sparse_) {
      for (const auto* paths : {&changes_.basePaths, &changes_.headPaths})
        for (const std::string& path : *paths)
          if (path.compare(0, repo_.prefix.size(), repo_.prefix) == 0) record.insert(path.substr(repo_.prefix.size()));
      for (const std::string& path : headSkipped_) record.erase(path);
    }
    std::size_t changedRecorded = record.size();
    // A file whose digest differs changed through another file (a macro,
    // a base class): the sides run again recording it in full. Should that
    // not settle it, the last round records everything.
    for (int round = 0;; ++round) {
      if (sparse_ && !WriteRecordList(record, round < 2)) return Fail(failure_.message);
      if (!Analyse(round == 0)) return Interrupted() ? kCannotCompare : Fail(failure_.message);
      if (const int status = ReadSnapshots(); status >= 0) return status;
      if (!sparse_ || round == 2) break;
      const std::size_t before = record.size();
      DifferingDigests(record);
      if (record.size() == before) break;
    }
    GateOptions options;
    options.limit = gcd_.cfg.maxCyclomatic;
    options.anyRise = gcd_.gate.anyRise != 0;
    std::string note;
    const GateResult result = CompareSnapshots(base_.snapshot, head_.snapshot, changes_.renames, options);
    if (sparse_) {
      std::unordered_set<std::string> all = changes_.basePaths;
      all.insert(changes_.headPaths.begin(), changes_.headPaths.end());
      const TreeFilter filter = Filter();
      long long changed = 0;
      for (const std::string& path : all) changed += filter.Keeps(path, repo_.prefix) ? 1 : 0;
      note = std::to_string(changed) + " changed file" + (changed == 1 ? "" : "s");
      if (recordList_.empty()) {
        note += " and every other file (the analysis of unchanged files changed with them)";
      } else {
        if (record.size() > changedRecorded)
          note += " and " + std::to_string(record.size() - changedRecorded) + " whose analysis changed with them";
        note += " (the others are the same on both sides)";
      }
    }
    const int verdict = ReportGate(base_.summary, head_.summary, base_.snapshot, result, note, warnings_);
    // A git head was analysed in a copy of its tree: its SARIF log's
    // source root is the directory the gate runs in.
    std::string root = head_.spec.kind == SideKind::Git ? FileUri(ResolvedCurrentDirectory()) : "";
    if (!root.empty() && root.back() != '/') root += '/';
    std::string error;
    if (!documents_.Publish(head_.snapshotFile, result.newNotices, root, error)) {
      OutF("\n  Error: Could not write a document of the head\n         %s\n\n", error.c_str());
      return 1;
    }
    return verdict;
  }

  int caught() const { return guard_.caught(); }

 private:
  bool Interrupted() { return guard_.Pending() != 0; }

  int Fail(const std::string& message) {
    OutF("\n  Error: The quality gate could not compare\n         %s\n\n", message.c_str());
    return kCannotCompare;
  }

  bool Resolve(Side& side) {
    std::string commit;
    if (!ResolveRevision(repo_, side.spec.revision, side.spec.mergeBase, commit, failure_, guard_)) return false;
    side.summary.commit = commit;
    return true;
  }

  // Whether the base can be analysed in the head's directory, reading
  // there every file the two share: a git base against a git head or the
  // files on disk, with the files selected by a directory walk.
  // The walk starts below the current directory (a directory named in
  // full elsewhere is left to the full export).
  bool InPlace() const {
    const std::string& dir = gcd_.sw.recursiveDir;
    return base_.spec.kind == SideKind::Git &&
           (head_.spec.kind == SideKind::Git || head_.spec.kind == SideKind::Disk) && gcd_.sw.recursive &&
           !gcd_.sw.fileList && (dir.empty() || dir.front() != '/' || dir == CurrentDirectory());
  }

  // The current directory as the -r switch spells "." (unresolved).
  static std::string CurrentDirectory() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
  }

  // Writes the base's view: its own directory, then every path of its tree.
  bool WriteView(Side& side, const std::string& root, const std::vector<std::string>& paths) {
    std::string text = root;
    text.push_back('\0');
    for (const std::string& path : paths) text.append(path).push_back('\0');
    const std::string file = temp_.path() + "/" + side.label + ".view";
    if (!WritePrivateFile(file, text)) return false;
    side.view = file;
    return true;
  }

  TreeFilter Filter() const {
    return MakeTreeFilter(gcd_.lang.acceptedExtensions + "," + gcd_.sw.recursiveExtensions);
  }

  bool Prepare(Side& side) {
    switch (side.spec.kind) {
      case SideKind::Snapshot: {
        struct stat st {};
        if (stat(side.spec.path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
          return failure_.message = "no snapshot file " + side.spec.path, false;
        side.snapshotFile = side.spec.path;
        return true;
      }
      case SideKind::Directory:
        if (!IsDirectory(side.spec.path))
          return failure_.message = side.spec.path + " is neither a directory, nor a git:REV, nor a .lqagate snapshot",
                 false;
        side.runDir = side.spec.path;
        if (&side == &head_ && side.spec.path != ".") side.summary.pathPrefix = side.spec.path + "/";
        break;
      case SideKind::Disk:
        break;
      case SideKind::Git: {
        // The tree's files are written without the current directory's
        // prefix, so that the selection arguments read the same below root.
        const std::string root = temp_.path() + "/" + side.label;
        if (mkdir(root.c_str(), 0700) != 0) return failure_.message = ErrorText(errno), false;
        const TreeFilter filter = Filter();
        TreeExport exported;
        // The base leaves out the files the head's directory holds
        // unchanged (a git head is exported first): only the files that
        // differ are written.
        const bool base = &side == &base_;
        BlobReuse reuse;
        if (head_.spec.kind == SideKind::Git) {
          reuse.headIds = &headIds_;
        } else {
          reuse.workTree = true;
          reuse.differing = &changes_.basePaths;
          reuse.scratch = temp_.path();
        }
        exported.keepIds = !base && InPlace();
        if (!ExportTree(repo_, side.summary.commit, filter, root, exported, failure_, guard_,
                        base && InPlace() ? &reuse : nullptr))
          return false;
        side.summary.skipped = std::move(exported.skipped);
        if (exported.keepIds) headIds_ = std::move(exported.ids);
        side.runDir = root;
        if (base && exported.inPlace > 0) {
          if (!WriteView(side, root, exported.paths)) return false;
          side.runDir = head_.runDir;
        }
        break;
      }
    }
    side.analysed = true;
    side.snapshotFile = temp_.path() + "/" + side.label + ".lqagate";
    return true;
  }

  // Both analysed sides at once: on two cores the gate costs one analysis.
  // With prepare, each side is prepared right before its run starts, the
  // head first: the files on disk need no export, so the head's analysis
  // overlaps the export of the base.
  bool Analyse(bool prepare) {
    std::vector<pid_t> pids;
    std::vector<Side*> sides;
    const std::string self = SelfPath(argv_);
    const auto stop = [&]() {
      for (pid_t p : pids) kill(p, SIGTERM);
      std::vector<int> ignored;
      WaitForChildren(pids, ignored, guard_);
      return false;
    };
    for (Side* side : {&head_, &base_}) {
      if (prepare && !Prepare(*side)) return stop();
      if (!side->analysed) continue;
      SpawnSpec spec;
      spec.argv = SideArguments(argc_, argv_, side->snapshotFile,
                                side == &head_ ? documents_.HeadArguments(temp_.path()) : std::vector<std::string>{});
      spec.argv[0] = self;
      spec.dir = side->runDir;
      spec.environment.emplace_back(kGateRecordVariable, recordList_);
      spec.environment.emplace_back(kGateOverlayVariable, side->view);
      const pid_t pid = Spawn(spec, guard_);
      if (pid < 0) {
        failure_.message = std::string("cannot start the analysis: ") + ErrorText(errno);
        return stop();
      }
      pids.push_back(pid);
      sides.push_back(side);
    }
    std::vector<int> statuses;
    if (WaitForChildren(pids, statuses, guard_) != 0) return failure_.message = "interrupted", false;
    for (std::size_t i = 0; i < sides.size(); ++i) {
      // A run's status is its notice count; only a signal or a missing
      // snapshot says it failed.
      if (statuses[i] < 0 || statuses[i] > 255) {
        failure_.message = "the analysis of the " + std::string(sides[i]->label) + " (" + sides[i]->spec.text +
                           ") ended abnormally (status " + std::to_string(statuses[i]) + ")";
        return false;
      }
    }
    return true;
  }

  // Reads both snapshots: -1 when read, else the status to end with.
  int ReadSnapshots() {
    for (Side* side : {&base_, &head_}) {
      std::string error, warning;
      if (!ReadSnapshot(side->snapshotFile, side->snapshot, error, warning)) {
        if (side->analysed) return Fail("the analysis of the " + std::string(side->label) + " wrote no usable snapshot: " + error);
        return Fail("the snapshot " + side->spec.path + " cannot be used: " + error);
      }
      if (!warning.empty() && !warned_)
        warnings_ += (warnings_.empty() ? "" : "; ") + std::string(side->label) + ": " + warning;
    }
    warned_ = true;
    return -1;
  }

  // Adds to record the files whose digests differ between the sides. A
  // file digested on one side only is the same on both but was left out of
  // the other (skipped by the tree export, or ignored by git on disk).
  void DifferingDigests(std::unordered_set<std::string>& record) const {
    const auto& head = head_.snapshot.digests;
    for (const auto& [path, digest] : base_.snapshot.digests) {
      auto it = head.find(path);
      if (it != head.end() && it->second != digest && headSkipped_.count(path) == 0) record.insert(path);
    }
  }

  // The list of files the side runs record in full; with all false, none
  // is written and they record everything.
  bool WriteRecordList(const std::unordered_set<std::string>& record, bool some) {
    recordList_.clear();
    if (!some) return true;
    std::string text;
    for (const std::string& path : record) text.append(path).push_back('\0');
    const std::string file = temp_.path() + "/record.list";
    if (!WritePrivateFile(file, text)) return false;
    recordList_ = file;
    return true;
  }

  // Writes a file of the private directory (replacing an earlier one).
  bool WritePrivateFile(const std::string& file, const std::string& text) {
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    bool ok = fd >= 0;
    for (std::size_t at = 0; ok && at < text.size();) {
      const ssize_t n = write(fd, text.data() + at, text.size() - at);
      if (n < 0 && errno == EINTR) continue;
      ok = n > 0;
      if (ok) at += static_cast<std::size_t>(n);
    }
    if (fd >= 0 && close(fd) != 0) ok = false;
    if (!ok) return failure_.message = "cannot write " + file + ": " + ErrorText(errno), false;
    return true;
  }

  GlobalData& gcd_;
  int argc_;
  char** argv_;
  GateDocuments documents_;
  SignalGuard guard_;
  GitRepo repo_;
  GitFailure failure_;
  TempTree temp_;  // destroyed before the guard: removed while signals are still held
  Side base_, head_;
  bool sparse_ = false;  // unchanged files recorded as digests
  std::string recordList_;  // the side runs' list of files recorded in full, or empty
  ChangeSet changes_;
  std::unordered_map<std::string, std::string> headIds_;  // a git head's blob id of each file written
  std::unordered_set<std::string> headSkipped_;  // changed files on disk left out of the comparison
  std::string warnings_;
  bool warned_ = false;
};

}  // namespace

void RequestGate(std::string_view spec, GlobalData& gcd) {
  gcd.gate.requested = 1;
  gcd.gate.spec.assign(spec);
  ApplyOption('n', nullptr, gcd);
  ApplyOption('f', "a", gcd);
  ApplyOption('o', nullptr, gcd);
}

void RequestGateAnyRise(std::string_view, GlobalData& gcd) { gcd.gate.anyRise = 1; }

std::vector<std::string> SideArguments(int argc, char** argv, const std::string& snapshot,
                                       const std::vector<std::string>& extra) {
  std::vector<std::string> args;
  args.push_back(argv != nullptr && argc > 0 && argv[0] != nullptr ? argv[0] : "lqa");
  std::vector<char*> copy(argv, argv + argc);
  copy.push_back(nullptr);
  optind = 0;  // glibc: start afresh
  opterr = 0;
  int opt;
  while ((opt = getopt(argc, copy.data(), SwitchOptionString())) != -1) {
    if (opt == 'G' || opt == 'O' || opt == '?') continue;
    if (opt == 'x' && DroppedX(optarg)) continue;
    std::string a = "-";
    a.push_back(static_cast<char>(opt));
    if (optarg != nullptr) {
      // An empty argument would take the next word as its value.
      if (optarg[0] == '\0') continue;
      a += optarg;
    }
    args.push_back(std::move(a));
  }
  args.push_back("-xGATESNAP " + snapshot);
  args.insert(args.end(), extra.begin(), extra.end());
  for (int i = optind; i < argc; ++i) args.push_back(copy[static_cast<std::size_t>(i)]);
  optind = 0;
  return args;
}

int RunGate(int argc, char** argv, GlobalData& gcd) {
  // The report stream carries the gate's report; the documents asked for
  // are those of the head.
  GateDocuments documents;
  std::string error;
  if (!documents.Collect(gcd, error)) {
    OutF("\n  Error: %s\n\n", error.c_str());
    return 1;
  }
  GateSides spec;
  if (!ParseGateSides(gcd.gate.spec, spec, error)) {
    OutF("\n  Error: The quality gate could not compare\n         %s\n\n", error.c_str());
    return kCannotCompare;
  }
  if (spec.base.kind == SideKind::Git || spec.head.kind == SideKind::Git) {
    // A revision's files are read in a copy of the current directory's part
    // of its tree: a selection outside that part names no file of it.
    const std::string outside = OutsideSelection(argc, argv, gcd);
    if (!outside.empty()) {
      OutF("\n  Error: The quality gate could not compare\n"
           "         %s is not a path below the current directory; a git revision\n"
           "         is compared only there: change to a directory that holds the\n"
           "         files and name them relative to it\n\n",
           outside.c_str());
      return kCannotCompare;
    }
  }
  if (spec.head.kind == SideKind::Snapshot && documents.NeedAnalysedHead()) {
    OutS("\n  Error: A head that is a snapshot has no SARIF log, GitLab report or dashboard\n"
         "         Gate an analysed head: git:REV, a directory or the files on disk\n\n");
    return 1;
  }
  int status = kGatePassed;
  int caught = 0;
  {
    GateSession session(gcd, argc, argv, spec, documents);
    status = session.Run();
    caught = session.caught();
  }
  if (caught != 0) {
    // Everything is cleaned up: end as the signal would have.
    std::fflush(nullptr);
    std::signal(caught, SIG_DFL);
    raise(caught);
  }
  return status;
}
