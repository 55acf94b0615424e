// The determinism check itself: it passes runs that agree, names the first
// difference of those that do not, starts the second run from the state the
// first one found, and its directory snapshots survive what the end-to-end
// tests leave in their directories.
#include <fcntl.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "dir_snapshot.h"
#include "parallel_check.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSchedule = "jobs=3 order=reverse";

// Runs a shell script in place of lqa, with LQA_TEST_SCHEDULE as the check
// sets it.
RunResult RunScript(const std::string& dir, const std::string& script, const ScheduleEnv& env) {
  std::string prefix = "unset LQA_TEST_SCHEDULE; ";
  if (env.mode == ScheduleEnv::Mode::kScheduled) prefix = "export LQA_TEST_SCHEDULE='" + env.schedule + "'; ";
  const ShellResult s = RunShell(dir, prefix + script);
  RunResult r;
  r.status = s.status;
  r.out = s.out;
  return r;
}

RunResult Checked(const TempDir& dir, const std::string& script, const std::string& schedule = kSchedule) {
  return RunCompared(schedule, {dir.path()}, "script",
                     [&](const ScheduleEnv& env) { return RunScript(dir.path(), script, env); });
}

TEST(ParallelCheck, RunsThatAgreePassAndTheSecondStartsFromTheFirstOnesState) {
  TempDir dir;
  dir.Write("input.c", "int x;\n");
  // The log grows by one line per run and the input's time changes: both
  // must be put back before the second run, or its output differs.
  const std::string script = "echo run >> log.txt; cat log.txt; stat -c %y input.c; touch input.c; "
                             "mkdir -p made; echo data > made/out.txt";
  const RunResult r = Checked(dir, script);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.substr(0, 4), "run\n") << r.out;
  // The tree is left as the first run left it.
  EXPECT_EQ(dir.Read("log.txt"), "run\n");
  EXPECT_EQ(dir.Read("made/out.txt"), "data\n");
}

TEST(ParallelCheck, WithoutAScheduleTheRunIsMadeOnce) {
  TempDir dir;
  Checked(dir, "echo run >> log.txt", "");
  EXPECT_EQ(dir.Read("log.txt"), "run\n");
}

TEST(ParallelCheck, DifferencesAreFailuresThatNameTheFirstDifferingLine) {
  TempDir dir;
  EXPECT_NONFATAL_FAILURE(Checked(dir, "echo same; if [ -n \"$LQA_TEST_SCHEDULE\" ]; then echo B; else echo A; fi"),
                          "standard output: line 2 differs\n    serial   : \"A\"\n    scheduled: \"B\"");
  EXPECT_NONFATAL_FAILURE(Checked(dir, "[ -z \"$LQA_TEST_SCHEDULE\" ]"), "exit status 0 against 1");
  EXPECT_NONFATAL_FAILURE(Checked(dir, "mkdir -p out; echo \"${LQA_TEST_SCHEDULE:-none}\" > out/w.txt"),
                          "out/w.txt: line 1 differs");
  EXPECT_NONFATAL_FAILURE(Checked(dir, "[ -n \"$LQA_TEST_SCHEDULE\" ] && touch extra.txt; true"),
                          "extra.txt: only after the second run");
}

TEST(ParallelCheck, ClockReadingsAndRandomNamesAreNotDifferences) {
  const std::time_t from = 1796700000;
  EXPECT_EQ(MaskRunNoise("at 03:46:04 2026 and 1796700001 or 1796700009", from, from + 3),
            "at hh:mm:ss 2026 and <seconds> or 1796700009");
  EXPECT_EQ(MaskRunNoise("pattern took 1044 ms to search", from, from), "pattern took <ms> ms to search");
  EXPECT_EQ(MaskRunNoise("/tmp/lqa-gate-Ab3xZ9/head.sarif", from, from), "/tmp/lqa-gate-XXXXXX/head.sarif");
  EXPECT_EQ(MaskRunNoise("  Wait Time      :        0.010 Sec\n", from, from), "  Wait Time      : <t> Sec\n");
  EXPECT_EQ(MaskRunNoise("  Elapsed Time   :       10.250 Sec\n", from, from), "  Elapsed Time   : <t> Sec\n");
  EXPECT_EQ(MaskRunNoise("Benchmark: 58000 Physical Lines Processed/s\n : 9 Characters Parsed/s", from, from),
            "Benchmark: <n> Physical Lines Processed/s\n : <n> Characters Parsed/s");
  EXPECT_EQ(MaskRunNoise("Physical Lines Processed/s,5800\n", from, from), "Physical Lines Processed/s,<n>\n");
  // Other numbers stay: a count of 12 ms or a longer digit run is data.
  EXPECT_EQ(MaskRunNoise("12 ms, 103:46:04, 17967000011", from, from + 3), "12 ms, 103:46:04, 17967000011");
}

TEST(DirSnapshot, RestoreUndoesRemovalsAdditionsAndModeChanges) {
  TempDir dir;
  dir.Write("keep/a.c", "int a;\n");
  dir.Write("gone.c", "int g;\n");
  chmod((dir.path() + "/keep/a.c").c_str(), 0640);
  SnapshotLimits all;
  all.keepAll = true;
  const DirSnapshot before = TakeSnapshot(dir.path(), all);
  ASSERT_TRUE(before.complete);

  fs::remove(dir.path() + "/gone.c");
  dir.Write("new/deep/file.txt", "x");
  dir.Write("keep/a.c", "changed\n");
  chmod((dir.path() + "/keep/a.c").c_str(), 0600);
  const DirSnapshot after = TakeSnapshot(dir.path());
  EXPECT_NE(SnapshotDifference(before, after), "");

  EXPECT_EQ(RestoreSnapshot(before, after), "");
  EXPECT_EQ(SnapshotDifference(before, TakeSnapshot(dir.path())), "");
  EXPECT_EQ(dir.Read("gone.c"), "int g;\n");
  EXPECT_FALSE(fs::exists(dir.path() + "/new"));
  struct stat st{};
  ASSERT_EQ(stat((dir.path() + "/keep/a.c").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(st.st_mtim.tv_sec, before.entries.at("keep/a.c").mtime.tv_sec);
  EXPECT_EQ(st.st_mtim.tv_nsec, before.entries.at("keep/a.c").mtime.tv_nsec);
}

TEST(DirSnapshot, UnchangedFilesComeFromTheReferenceAndChangedOnesAreRead) {
  TempDir dir;
  dir.Write("same.c", "int same;\n");
  dir.Write("edited.c", "aaaa\n");
  SnapshotLimits all;
  all.keepAll = true;
  const DirSnapshot first = TakeSnapshot(dir.path(), all);
  // Same size, and the modification time put back: only the change time
  // tells that the contents differ.
  dir.Write("edited.c", "bbbb\n");
  const timespec times[2] = {{0, UTIME_OMIT}, first.entries.at("edited.c").mtime};
  ASSERT_EQ(utimensat(AT_FDCWD, (dir.path() + "/edited.c").c_str(), times, 0), 0);
  const DirSnapshot second = TakeSnapshot(dir.path(), all, &first);
  ASSERT_TRUE(second.complete);
  EXPECT_EQ(second.entries.at("edited.c").data, "bbbb\n");
  EXPECT_NE(second.entries.at("edited.c").hash, first.entries.at("edited.c").hash);
  EXPECT_EQ(second.entries.at("same.c").data, "int same;\n");
  EXPECT_EQ(second.entries.at("same.c").hash, first.entries.at("same.c").hash);
  EXPECT_EQ(SnapshotDifference(first, second), "edited.c: line 1 differs\n    first: \"aaaa\"\n    second: \"bbbb\"");
}

TEST(DirSnapshot, LinkLoopsFifosAndLargeTrees) {
  TempDir dir;
  dir.Write("src/a.c", "int a;\n");
  fs::create_directory_symlink("..", dir.path() + "/src/up");
  ASSERT_EQ(mkfifo((dir.path() + "/pipe.c").c_str(), 0644), 0);
  // Neither the loop is followed nor the FIFO read (which would block).
  const DirSnapshot s = TakeSnapshot(dir.path());
  ASSERT_TRUE(s.complete);
  EXPECT_EQ(s.entries.size(), 5u);  // the root, src, src/a.c, src/up, pipe.c
  EXPECT_EQ(s.entries.at("src/up").kind, SnapshotEntry::Kind::kSymlink);
  EXPECT_EQ(s.entries.at("pipe.c").kind, SnapshotEntry::Kind::kOther);

  // Past the byte limit a snapshot meant for restoring says it cannot.
  dir.Write("big.c", std::string(4096, 'x'));
  SnapshotLimits small;
  small.keepAll = true;
  small.maxBytes = 1024;
  EXPECT_FALSE(TakeSnapshot(dir.path(), small).complete);
  // A comparing snapshot keeps only a hash of large files.
  small.keepAll = false;
  small.smallFile = 100;
  const DirSnapshot hashed = TakeSnapshot(dir.path(), small);
  EXPECT_TRUE(hashed.complete);
  EXPECT_FALSE(hashed.entries.at("big.c").hasData);
  EXPECT_EQ(hashed.entries.at("big.c").size, 4096u);
}

TEST(DirSnapshot, TakingOneKeepsTheTestsFileLocks) {
  TempDir dir;
  const std::string path = dir.Write("locked.c", "x\n");
  const int fd = open(path.c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  ASSERT_EQ(fcntl(fd, F_SETLK, &lock), 0);
  TakeSnapshot(dir.path());
  // Another process still finds the file locked.
  const pid_t pid = fork();
  if (pid == 0) {
    const int other = open(path.c_str(), O_RDWR);
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    _exit(fcntl(other, F_SETLK, &probe) == 0 ? 1 : 0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  close(fd);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(DirSnapshot, FirstDifferentLine) {
  EXPECT_EQ(FirstDifferentLine("a\nb\n", "a\nb\n", "x", "y"), "");
  EXPECT_EQ(FirstDifferentLine("a\nb\nc\n", "a\nb\nd\n", "x", "y"), "line 3 differs\n    x: \"c\"\n    y: \"d\"");
  EXPECT_EQ(FirstDifferentLine("a\n", "a\nmore\n", "x", "y"), "line 2 differs\n    x: <end>\n    y: \"more\"");
  const std::string longLine(500, 'q');
  const std::string shown = FirstDifferentLine(longLine + "1", longLine + "2", "x", "y");
  EXPECT_LT(shown.size(), 400u);
  EXPECT_NE(shown.find("qqq...\"\n"), std::string::npos) << shown;
}

}  // namespace
