// Files written whole or not at all: the previous file survives every failure.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <string>

#include "common/atomic_file.h"
#include "test_support.h"

namespace {

int EntryCount(const std::string& dir) {
  int n = 0;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") ++n;
    closedir(d);
  }
  return n;
}

TEST(AtomicFile, ReplacesOnlyOnCommitAndLeavesNothingElse) {
  TempDir dir;
  const std::string target = dir.Write("out.txt", "old\n");
  chmod(target.c_str(), 0640);
  {
    AtomicFile f;
    ASSERT_TRUE(f.Open(target)) << f.error();
    std::fputs("new\n", f.stream());
    std::fflush(f.stream());
    EXPECT_EQ(dir.Read("out.txt"), "old\n");  // not visible before the commit
    // Unnamed until the commit where the system allows it: a run killed now
    // leaves nothing behind.
    EXPECT_EQ(EntryCount(dir.path()), 1);
    ASSERT_TRUE(f.Commit()) << f.error();
  }
  EXPECT_EQ(dir.Read("out.txt"), "new\n");
  struct stat st {};
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the replaced file's mode is kept
  EXPECT_EQ(EntryCount(dir.path()), 1);

  {
    AtomicFile f;  // dropped without a commit
    ASSERT_TRUE(f.Open(target));
    std::fputs("lost\n", f.stream());
  }
  EXPECT_EQ(dir.Read("out.txt"), "new\n");
  EXPECT_EQ(EntryCount(dir.path()), 1);
}

TEST(AtomicFile, FollowsALinkAndWritesDevicesInPlace) {
  TempDir dir;
  dir.Write("real.txt", "old\n");
  ASSERT_EQ(symlink("real.txt", (dir.path() + "/link.txt").c_str()), 0);
  AtomicFile f;
  ASSERT_TRUE(f.Open(dir.path() + "/link.txt"));
  std::fputs("through the link\n", f.stream());
  ASSERT_TRUE(f.Commit());
  struct stat st {};
  ASSERT_EQ(lstat((dir.path() + "/link.txt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(dir.Read("real.txt"), "through the link\n");

  AtomicFile null;
  ASSERT_TRUE(null.Open("/dev/null"));
  std::fputs("discarded\n", null.stream());
  ASSERT_TRUE(null.Commit());
  ASSERT_EQ(stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(AtomicFile, AFailedWriteKeepsThePreviousFile) {
  TempDir dir;
  const std::string target = dir.Write("big.txt", "previous\n");
  // A child with a small file-size limit stands for a full disk.
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    AtomicFile f;
    if (!f.Open(target)) _exit(2);
    const std::string chunk(1000, 'x');
    for (int i = 0; i < 100; ++i) std::fputs(chunk.c_str(), f.stream());
    _exit(f.Commit() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(dir.Read("big.txt"), "previous\n");
  EXPECT_EQ(EntryCount(dir.path()), 1);
}

TEST(AtomicFile, ANameNearTheSystemLimitCommits) {
  TempDir dir;
  const std::string name(250, 'n');  // its temporary name must not be longer
  AtomicFile f;
  ASSERT_TRUE(f.Open(dir.path() + "/" + name)) << f.error();
  std::fputs("long\n", f.stream());
  ASSERT_TRUE(f.Commit()) << f.error();
  EXPECT_EQ(dir.Read(name), "long\n");
  // A name the directory cannot take fails at once, not at the commit.
  AtomicFile tooLong;
  EXPECT_FALSE(tooLong.Open(dir.path() + "/" + std::string(300, 'n')));
  EXPECT_EQ(errno, ENAMETOOLONG);
  EXPECT_EQ(EntryCount(dir.path()), 1);
}

TEST(AtomicFile, RegularOnlyRefusesDevicesAndACheckCanStopTheCommit) {
  AtomicFile device;
  AtomicOptions regular;
  regular.regularOnly = true;
  EXPECT_FALSE(device.Open("/dev/null", regular));
  EXPECT_EQ(device.error(), "Not a regular file");

  TempDir dir;
  const std::string target = dir.Write("t.txt", "before\n");
  AtomicOptions noSync;
  noSync.sync = false;
  AtomicFile f;
  ASSERT_TRUE(f.Open(target, noSync));
  std::fputs("after\n", f.stream());
  int checks = 0;
  EXPECT_FALSE(f.Commit([&] { ++checks; return false; }));
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(dir.Read("t.txt"), "before\n");
  EXPECT_EQ(EntryCount(dir.path()), 1);
  ASSERT_TRUE(f.Open(target, noSync));
  std::fputs("after\n", f.stream());
  EXPECT_TRUE(f.Commit([] { return true; }));
  EXPECT_EQ(dir.Read("t.txt"), "after\n");
}

TEST(AtomicFile, ARelativeTargetStaysWhereItWasOpened) {
  TempDir dir, other;
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  AtomicFile f;
  const bool opened = f.Open("rel.txt");
  const bool moved = chdir(other.path().c_str()) == 0;
  if (opened) std::fputs("here\n", f.stream());
  const bool committed = opened && f.Commit();
  ASSERT_EQ(chdir(cwd), 0);
  ASSERT_TRUE(opened && moved && committed) << f.error();
  EXPECT_EQ(dir.Read("rel.txt"), "here\n");
  EXPECT_EQ(EntryCount(other.path()), 0);
}

TEST(AtomicFile, UnwritableDirectoryIsAnError) {
  AtomicFile f;
  EXPECT_FALSE(f.Open("/nonexistent-dir/x.txt"));
  EXPECT_FALSE(f.error().empty());
}

}  // namespace
