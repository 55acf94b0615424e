// A base that shares most files with its head writes only the others: which
// files the head's directory holds unchanged (a git head's export, or the
// work tree when no checkout filter rewrote them) and that every file
// written holds the committed bytes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gate/child_process.h"
#include "gate/git_tree.h"
#include "test_support.h"

namespace {

// A C file of more than the size below which blobs always come from git.
std::string Big(const std::string& name, const std::string& body = "") {
  std::string s = "/* " + std::string(220, '-') + " */\nint " + name + "(int x)\n{\n" + body + "  return x;\n}\n";
  return s;
}

class BaseViewTest : public ::testing::Test {
 protected:
  TempDir repo, out;
  GitRepo git;
  SignalGuard guard;

  void SetUp() override {
    ASSERT_EQ(Shell("git init -q . && git config user.name Gate && git config user.email gate@example.invalid "
                    "&& git config commit.gpgsign false"),
              0);
    git.top = repo.path();
  }
  int Shell(const std::string& command) { return RunShell(repo.path(), command).status; }
  std::string Committed(const std::string& rev, const std::string& path) {
    return RunShell(repo.path(), "git cat-file blob " + rev + ":" + path).out;
  }
  std::string Commit(const std::string& rev) {
    std::string commit;
    GitFailure failure;
    EXPECT_TRUE(ResolveRevision(git, rev, false, commit, failure, guard)) << failure.message;
    return commit;
  }
  // Exports rev's tree into out/name with the reuse given.
  TreeExport Export(const std::string& rev, const std::string& name, const BlobReuse* reuse, bool keepIds = false) {
    TreeExport result;
    result.keepIds = keepIds;
    GitFailure failure;
    EXPECT_EQ(mkdir((out.path() + "/" + name).c_str(), 0700), 0);
    EXPECT_TRUE(ExportTree(git, Commit(rev), MakeTreeFilter("c"), out.path() + "/" + name, result, failure, guard,
                           reuse))
        << failure.message;
    return result;
  }
  // The work tree against rev, as the gate sees it.
  BlobReuse WorkTree(const std::string& rev, ChangeSet& changes) {
    GitFailure failure;
    EXPECT_TRUE(ChangedPaths(git, Commit(rev), "", changes, failure, guard)) << failure.message;
    BlobReuse reuse;
    reuse.workTree = true;
    reuse.differing = &changes.basePaths;
    reuse.scratch = out.path();
    return reuse;
  }
  bool Written(const std::string& path) {
    struct stat st {};
    return stat((out.path() + "/" + path).c_str(), &st) == 0;
  }
  static std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
  }
};

// Whatever git diff does not name stays in the work tree unless a checkout
// filter could have rewritten it (a smudge filter that keeps the size is
// the case a size check alone would miss) or it is small enough to be an
// LFS pointer; every file written holds the committed bytes.
TEST_F(BaseViewTest, TheWorkTreeHoldsOnlyUnfilteredUnchangedFiles) {
  repo.Write("same.c", Big("same"));
  repo.Write("sub/deep.c", Big("deep"));
  repo.Write("small.c", "int small;\n");
  repo.Write("edited.c", Big("edited"));
  repo.Write("smudged.c", Big("smudged", "  if (x) GOTO out;\nout:\n"));
  repo.Write("gone.c", Big("gone"));
  repo.Write(".gitattributes", "smudged.c filter=lower\n");
  ASSERT_EQ(Shell("git config filter.lower.smudge 'sed s/GOTO/goto/' && git config filter.lower.clean 'sed s/goto/GOTO/'"
                  " && git add -A && git commit -q -m base"),
            0);
  ASSERT_EQ(Shell("rm smudged.c gone.c && git checkout -- smudged.c"), 0);
  ASSERT_NE(repo.Read("smudged.c").find("goto out"), std::string::npos);
  repo.Write("edited.c", Big("EDITED"));  // the same size, not committed
  const std::string status = RunShell(repo.path(), "git status --porcelain").out;

  ChangeSet changes;
  const BlobReuse reuse = WorkTree("HEAD", changes);
  const TreeExport base = Export("HEAD", "base", &reuse);
  EXPECT_EQ(base.inPlace, 2);  // same.c, sub/deep.c
  EXPECT_EQ(Sorted(base.paths),
            (std::vector<std::string>{"edited.c", "gone.c", "same.c", "small.c", "smudged.c", "sub/deep.c"}));
  EXPECT_FALSE(Written("base/same.c"));
  EXPECT_FALSE(Written("base/sub/deep.c"));
  for (const char* path : {"small.c", "edited.c", "smudged.c", "gone.c"})
    EXPECT_EQ(out.Read(std::string("base/") + path), Committed("HEAD", path)) << path;
  EXPECT_EQ(RunShell(repo.path(), "git status --porcelain").out, status);

  // With core.autocrlf every text file may differ on disk: nothing stays.
  ASSERT_EQ(Shell("git config core.autocrlf true"), 0);
  const TreeExport crlf = Export("HEAD", "crlf", &reuse);
  EXPECT_EQ(crlf.inPlace, 0);
  EXPECT_EQ(out.Read("crlf/same.c"), Committed("HEAD", "same.c"));
  // An attribute asking for line end conversion keeps its files out.
  ASSERT_EQ(Shell("git config core.autocrlf false"), 0);
  repo.Write(".gitattributes", "smudged.c filter=lower\nsub/*.c text eol=crlf\n");
  const TreeExport eol = Export("HEAD", "eol", &reuse);
  EXPECT_EQ(eol.inPlace, 1);
  EXPECT_TRUE(Written("eol/sub/deep.c"));
  EXPECT_FALSE(Written("eol/same.c"));
}

// A git head is exported first; the base leaves out every file the head
// wrote with the same blob at the same path. A blob that moved to another
// path is written: the base reads its files at their own paths.
TEST_F(BaseViewTest, AGitHeadHoldsTheBlobsItSharesAtTheSamePath) {
  repo.Write("same.c", Big("same"));
  repo.Write("changed.c", Big("before"));
  repo.Write("old/name.c", Big("moved"));
  ASSERT_EQ(Shell("git add -A && git commit -q -m base"), 0);
  repo.Write("changed.c", Big("after!"));
  ASSERT_EQ(Shell("mkdir new && git mv old/name.c new/name.c && git add -A && git commit -q -m head"), 0);

  const TreeExport head = Export("HEAD", "head", nullptr, true);
  EXPECT_EQ(head.files, 3);
  ASSERT_EQ(head.ids.size(), 3u);
  BlobReuse reuse;
  reuse.headIds = &head.ids;
  const TreeExport base = Export("HEAD~1", "base", &reuse);
  EXPECT_EQ(base.inPlace, 1);
  EXPECT_FALSE(Written("base/same.c"));
  EXPECT_EQ(Sorted(base.paths), (std::vector<std::string>{"changed.c", "old/name.c", "same.c"}));
  for (const char* path : {"changed.c", "old/name.c"})
    EXPECT_EQ(out.Read(std::string("base/") + path), Committed("HEAD~1", path)) << path;
}

}  // namespace
