// The gate's small parts: the -G argument, tree paths and the private
// directory, the command line of the side runs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "gate/gate_run.h"
#include "gate/git_tree.h"
#include "gate/gate_sides.h"
#include "gate/temp_tree.h"
#include "test_support.h"

namespace {

TEST(GateSides, ClassifiesSidesAndRefusesOptionLikeRevisions) {
  GateSides spec;
  std::string error;
  ASSERT_TRUE(ParseGateSides("git:origin/main...", spec, error)) << error;
  EXPECT_EQ(spec.base.kind, SideKind::Git);
  EXPECT_EQ(spec.base.revision, "origin/main");
  EXPECT_TRUE(spec.base.mergeBase);
  EXPECT_EQ(spec.head.kind, SideKind::Disk);

  ASSERT_TRUE(ParseGateSides("  main.lqagate   some/dir ", spec, error)) << error;
  EXPECT_EQ(spec.base.kind, SideKind::Snapshot);
  EXPECT_EQ(spec.base.path, "main.lqagate");
  EXPECT_EQ(spec.head.kind, SideKind::Directory);
  EXPECT_EQ(spec.head.path, "some/dir");

  ASSERT_TRUE(ParseGateSides("git:HEAD~1 git:HEAD", spec, error)) << error;
  EXPECT_FALSE(spec.base.mergeBase);
  EXPECT_EQ(spec.head.revision, "HEAD");

  for (const char* bad : {"", "git:", "git:...", "git:--output=x", "git:-p", "a b c", "git:a\x01"}) {
    EXPECT_FALSE(ParseGateSides(bad, spec, error)) << bad;
    EXPECT_FALSE(error.empty());
  }
}

TEST(TreePaths, OnlyPlainRelativePathsAreSafe) {
  std::string why;
  for (const char* ok : {"a.c", "src/b/c.cpp", "name with blanks.c", "\xff\xfe.c", "..a/b..c"})
    EXPECT_TRUE(SafeTreePath(ok, why)) << ok;
  for (const char* bad : {"", "/etc/passwd", "../x.c", "a/../../x.c", "a/./b.c", "a//b.c", ".git/config",
                          "sub/.GIT/hooks/pre-commit", "a/\n.c", "a/"})
    EXPECT_FALSE(SafeTreePath(bad, why)) << bad;
  EXPECT_FALSE(SafeTreePath(std::string(300, 'a'), why));
}

TEST(TreePaths, FilesAreCreatedNewAndNeverThroughLinks) {
  TempDir dir, outside;
  std::string error;
  ASSERT_TRUE(WriteTreeFile(dir.path(), "a/b/c.c", "int x;\n", error)) << error;
  EXPECT_EQ(dir.Read("a/b/c.c"), "int x;\n");
  EXPECT_FALSE(WriteTreeFile(dir.path(), "a/b/c.c", "again", error));  // never replaced
  ASSERT_EQ(symlink(outside.path().c_str(), (dir.path() + "/link").c_str()), 0);
  EXPECT_FALSE(WriteTreeFile(dir.path(), "link/x.c", "escape", error));
  ASSERT_EQ(symlink((outside.path() + "/target.c").c_str(), (dir.path() + "/l.c").c_str()), 0);
  EXPECT_FALSE(WriteTreeFile(dir.path(), "l.c", "escape", error));
  struct stat st {};
  EXPECT_NE(stat((outside.path() + "/x.c").c_str(), &st), 0);
  EXPECT_NE(stat((outside.path() + "/target.c").c_str(), &st), 0);
}

// One writer for a whole tree keeps its last directory open: files in the
// root, going back to a directory left earlier, and a link met on the way
// to a new directory.
TEST(TreePaths, OneWriterForManyFilesKeepsEveryDirectoryRight) {
  TempDir dir, outside;
  std::string error;
  TreeWriter writer(dir.path());
  ASSERT_TRUE(writer.Write("a/x.c", "1", error)) << error;
  ASSERT_TRUE(writer.Write("a/y.c", "2", error)) << error;
  ASSERT_TRUE(writer.Write("top.c", "3", error)) << error;
  ASSERT_TRUE(writer.Write("a/b/z.c", "4", error)) << error;
  ASSERT_TRUE(writer.Write("a/w.c", "5", error)) << error;
  EXPECT_FALSE(writer.Write("a/x.c", "again", error));
  EXPECT_EQ(dir.Read("a/x.c") + dir.Read("a/y.c") + dir.Read("top.c") + dir.Read("a/b/z.c") + dir.Read("a/w.c"),
            "12345");
  ASSERT_EQ(symlink(outside.path().c_str(), (dir.path() + "/a/link").c_str()), 0);
  EXPECT_FALSE(writer.Write("a/link/x.c", "escape", error));
  struct stat st {};
  EXPECT_NE(stat((outside.path() + "/x.c").c_str(), &st), 0);
}

TEST(TreePaths, TheTemporaryDirectoryGoesWithItsContents) {
  std::string path, error;
  {
    TempTree tree;
    ASSERT_TRUE(tree.Create(error)) << error;
    path = tree.path();
    ASSERT_TRUE(WriteTreeFile(path, "deep/er/file.c", "x", error));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
  }
  struct stat st {};
  EXPECT_NE(stat(path.c_str(), &st), 0);
}

TEST(TreeFilter, KeepsAnalysedExtensionsBelowThePrefix) {
  const TreeFilter f = MakeTreeFilter("c,h,CPP,,java");
  EXPECT_TRUE(f.Keeps("sub/a.c", "sub/"));
  EXPECT_TRUE(f.Keeps("sub/x/A.Cpp", "sub/"));
  EXPECT_FALSE(f.Keeps("other/a.c", "sub/"));
  EXPECT_FALSE(f.Keeps("sub/README", "sub/"));
  EXPECT_FALSE(f.Keeps("sub/a.c/b", "sub/"));
  EXPECT_FALSE(f.Keeps("sub/a.txt", "sub/"));
}

TEST(SideRuns, TakeTheAnalysisSwitchesButNotTheGateOrDocuments) {
  std::vector<std::string> words = {"lqa", "-G", "git:HEAD~1", "-n", "-Oreport.txt", "-x", "SARIF out.sarif",
                                    "-xGATEANY", "-r", "c,h src", "-xNOHEADER", "-fa", "file.c"};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  const std::vector<std::string> args =
      SideArguments(static_cast<int>(argv.size()), argv.data(), "/tmp/x/base.lqagate");
  const std::vector<std::string> expected = {"lqa", "-n", "-rc,h src", "-xNOHEADER", "-fa",
                                             "-xGATESNAP /tmp/x/base.lqagate", "file.c"};
  EXPECT_EQ(args, expected);
}

}  // namespace
