// The quality gate end to end on small git repositories made in temporary
// directories: what must pass (moves, renames, inserted lines), what must
// fail (new notices, complexity), what cannot be compared, snapshots and
// directories giving the git form's answer, and a repository left exactly
// as it was, also after an interrupt.
#include <gtest/gtest.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <regex>
#include <cstdio>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

// A C function whose complexity is 1 + ifs.
std::string Function(const std::string& name, int ifs, const std::string& extra = "") {
  std::string s = "int " + name + "(int x)\n{\n  int r = 0;\n";
  for (int i = 0; i < ifs; ++i) s += "  if (x == " + std::to_string(i) + ") r += " + std::to_string(i + 1) + ";\n";
  s += extra + "  return r;\n}\n";
  return s;
}

std::vector<std::string> Findings(const std::string& out) {
  std::vector<std::string> f;
  for (const std::string& line : Lines(out))
    if (line.find(": error: ") != std::string::npos && !line.empty() && line[0] != ' ') f.push_back(line);
  return f;
}

// The gate failed on exactly one finding, the goto notice in a.c; returns
// it for further checks (empty when there was not exactly one).
std::string OneGotoFindingInA(int status, const std::string& out) {
  EXPECT_EQ(status, 2) << out;
  const std::vector<std::string> f = Findings(out);
  EXPECT_EQ(f.size(), 1u) << out;
  if (f.size() != 1) return {};
  EXPECT_EQ(f[0].rfind("a.c:", 0), 0u) << f[0];
  EXPECT_NE(f[0].find("LQA009"), std::string::npos) << f[0];
  return f[0];
}

bool EmptyDirectory(const std::string& path) {
  DIR* d = opendir(path.c_str());
  if (d == nullptr) return false;
  int entries = 0;
  while (dirent* e = readdir(d))
    if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") ++entries;
  closedir(d);
  return entries == 0;
}

class GateE2E : public ::testing::Test {
 protected:
  TempDir repo, home, tmp;

  void SetUp() override {
    ASSERT_EQ(RunShell(repo.path(), "git init -q . && git config user.name Gate && git config user.email gate@example.invalid "
                              "&& git config commit.gpgsign false").status, 0);
  }
  void Commit(const std::string& message) {
    ASSERT_EQ(RunShell(repo.path(), "git add -A . && git commit -q -m '" + message + "'").status, 0);
  }
  // Only one notice on (the complexity limit stays 10).
  void OnlyNotice(int on) {
    std::string cfg;
    for (int n = 1; n <= 58; ++n) cfg += "Quality Notice " + std::to_string(n) + (n == on ? " : Yes\n" : " : No\n");
    home.Write("lqa.cfg", cfg);
  }
  void OnlyGoto() { OnlyNotice(9); }
  RunResult Gate(const std::string& spec, const std::vector<std::string>& more = {}, const std::string& dir = "") {
    std::vector<std::string> args = {"-G" + spec};
    args.insert(args.end(), more.begin(), more.end());
    if (more.empty()) args.push_back("-rc,cpp,h .");
    RunSetup setup;
    setup.env = {{"LQAHOME", home.path()}, {"TMPDIR", tmp.path()}, {"PATH", "/usr/local/bin:/usr/bin:/bin"}};
    RunResult r = RunLqaWith(args, dir.empty() ? repo.path() : dir, setup);
    EXPECT_TRUE(EmptyDirectory(tmp.path())) << "temporary files left behind";
    return r;
  }
};

TEST_F(GateE2E, MovesRenamesAndInsertedLinesAreNoFindings) {
  const std::string gotoLine = "  if (x < 0) goto out;\nout:\n";
  repo.Write("a.c", Function("alpha", 12, gotoLine) + Function("beta", 2) + Function("gamma", 3, gotoLine) +
                        Function("delta", 4) + Function("epsilon", 2, gotoLine));
  Commit("base");
  // Each step is one commit compared with the one before it, then with the
  // first (the changes added up).
  repo.Write("a.c", "/* inserted */\n\n\n" + Function("alpha", 12, gotoLine) + Function("beta", 2) +
                        Function("gamma", 3, gotoLine) + Function("delta", 4) + Function("epsilon", 2, gotoLine));
  Commit("lines inserted above");
  // gamma moves to the end of its file, delta to another file.
  repo.Write("a.c", "/* inserted */\n\n\n" + Function("alpha", 12, gotoLine) + Function("beta", 2) +
                        Function("epsilon", 2, gotoLine) + Function("gamma", 3, gotoLine));
  // A new file raises the file-level notices of its own unless it is
  // commented like the others.
  repo.Write("d.c", "/* The delta function moved here from a.c, where it was too far from\n"
                    " * the functions that call it; nothing else about it has changed at all,\n"
                    " * so the gate must not see anything new or worse in this file. */\n" +
                        Function("delta", 4));
  Commit("moved within and to another file");
  ASSERT_EQ(RunShell(repo.path(), "git mv a.c renamed.c").status, 0);
  Commit("file renamed");
  // epsilon renamed with its body unchanged.
  repo.Write("renamed.c", "/* inserted */\n\n\n" + Function("alpha", 12, gotoLine) + Function("beta", 2) +
                              Function("omega", 2, gotoLine) + Function("gamma", 3, gotoLine));
  Commit("function renamed");
  const std::string status = RunShell(repo.path(), "git status --porcelain; git worktree list").out;
  for (const char* spec : {"git:HEAD~1 git:HEAD", "git:HEAD~2", "git:HEAD~3", "git:HEAD~4 git:HEAD", "git:HEAD~4"}) {
    const RunResult r = Gate(spec);
    EXPECT_EQ(r.status, 0) << spec << "\n" << r.out << r.err;
    EXPECT_TRUE(HasLine(r.out, "Gate passed")) << spec << "\n" << r.out;
    EXPECT_TRUE(Findings(r.out).empty()) << spec << "\n" << r.out;
  }
  const RunResult all = Gate("git:HEAD~4");
  EXPECT_NE(all.out.find("1 moved, 1 renamed, 0 new, 0 removed"), std::string::npos) << all.out;
  EXPECT_NE(all.out.find(" unchanged, 0 new, "), std::string::npos) << all.out;
  EXPECT_EQ(RunShell(repo.path(), "git status --porcelain; git worktree list").out, status);
}

TEST_F(GateE2E, AGotoAddedIsExactlyOneFindingNamingItsFunction) {
  OnlyGoto();
  repo.Write("a.c", Function("first", 2) + Function("second", 2));
  Commit("base");
  repo.Write("a.c", Function("first", 2) + Function("second", 2, "  if (x < 0) goto out;\nout:\n"));
  const RunResult r = Gate("git:HEAD");
  EXPECT_NE(OneGotoFindingInA(r.status, r.out).find("second"), std::string::npos);
  EXPECT_TRUE(HasLine(r.out, "Gate failed: 1 finding")) << r.out;
}

TEST_F(GateE2E, ComplexityRisesAndNewFunctionsAgainstTheLimit) {
  OnlyNotice(28);
  repo.Write("a.c", Function("big", 11) + Function("small", 2));
  Commit("base");
  repo.Write("a.c", Function("big", 14) + Function("small", 2));
  RunResult r = Gate("git:HEAD");
  EXPECT_EQ(r.status, 2) << r.out;
  ASSERT_EQ(Findings(r.out).size(), 1u) << r.out;
  EXPECT_EQ(Findings(r.out)[0], "a.c:1: error: complexity of big rose from 12 to 15 (limit 10)");

  repo.Write("a.c", Function("big", 11) + Function("small", 3));
  r = Gate("git:HEAD");
  EXPECT_EQ(r.status, 0) << r.out;
  r = Gate("git:HEAD", {"-xGATEANY", "-rc ."});
  EXPECT_EQ(r.status, 2) << r.out;
  EXPECT_EQ(Findings(r.out).size(), 1u) << r.out;

  repo.Write("a.c", Function("big", 11) + Function("small", 2) + Function("fresh", 13));
  r = Gate("git:HEAD");
  EXPECT_EQ(r.status, 2) << r.out;
  ASSERT_EQ(Findings(r.out).size(), 1u) << r.out;  // the complexity notice is not repeated
  EXPECT_NE(Findings(r.out)[0].find("new function fresh has complexity 14 (limit 10)"), std::string::npos);
  repo.Write("a.c", Function("big", 11) + Function("small", 2) + Function("fresh", 3));
  EXPECT_EQ(Gate("git:HEAD").status, 0);
}

TEST_F(GateE2E, DeletionsPassAndAreListed) {
  OnlyNotice(28);
  repo.Write("a.c", Function("keep", 2) + Function("drop", 12));
  repo.Write("b.c", Function("whole_file", 3));
  Commit("base");
  ASSERT_EQ(RunShell(repo.path(), "git rm -q b.c").status, 0);
  repo.Write("a.c", Function("keep", 2));
  const RunResult r = Gate("git:HEAD");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("  Removed: drop (a.c:8)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  Removed: whole_file (b.c:1)"), std::string::npos) << r.out;
}

TEST_F(GateE2E, OverloadsAndConditionalVariantsAreToldApart) {
  OnlyNotice(28);
  auto source = [](int intIfs, int charIfs, int variantIfs) {
    std::string s;
    s += "int f(int x)\n{\n  int r = 0;\n";
    for (int i = 0; i < intIfs; ++i) s += "  if (x == " + std::to_string(i) + ") r++;\n";
    s += "  return r;\n}\nint f(char c)\n{\n  int r = 0;\n";
    for (int i = 0; i < charIfs; ++i) s += "  if (c == " + std::to_string(i) + ") r++;\n";
    s += "  return r;\n}\n#ifdef FAST\n" + Function("v", 11) + "#else\n" + Function("v", variantIfs) + "#endif\n";
    return s;
  };
  repo.Write("a.cpp", source(11, 11, 11));
  Commit("base");
  repo.Write("a.cpp", source(11, 13, 11));
  RunResult r = Gate("git:HEAD");
  ASSERT_EQ(Findings(r.out).size(), 1u) << r.out;
  EXPECT_NE(Findings(r.out)[0].find("a.cpp:17: error: complexity of f rose from 12 to 14"), std::string::npos) << r.out;
  repo.Write("a.cpp", source(11, 11, 12));
  r = Gate("git:HEAD");
  ASSERT_EQ(Findings(r.out).size(), 1u) << r.out;
  EXPECT_NE(Findings(r.out)[0].find("complexity of v rose from 12 to 13"), std::string::npos) << r.out;
}

TEST_F(GateE2E, WhatCannotBeComparedEndsWithThree) {
  repo.Write("a.c", Function("f", 2));
  Commit("one");
  repo.Write("a.c", Function("f", 3));
  Commit("two");
  RunResult r = Gate("git:no-such-branch");
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_NE(r.out.find("revision no-such-branch not found"), std::string::npos) << r.out;
  r = Gate("git:--output=x");
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_NE(r.out.find("looks like an option"), std::string::npos) << r.out;
  EXPECT_NE(access((repo.path() + "/x").c_str(), F_OK), 0);
  r = Gate("no/such/dir");
  EXPECT_EQ(r.status, 3) << r.out;
  // A head's document is not written when the sides cannot be compared.
  r = Gate("git:no-such-branch", {"-xSARIF out.sarif", "-rc ."});
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_NE(access((repo.path() + "/out.sarif").c_str(), F_OK), 0);

  TempDir plain;
  plain.Write("a.c", Function("f", 2));
  r = Gate("git:HEAD", {}, plain.path());
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_NE(r.out.find("not in a git repository"), std::string::npos) << r.out;

  TempDir clones;
  ASSERT_EQ(RunShell(clones.path(), "git clone -q --depth 1 'file://" + repo.path() + "' shallow").status, 0);
  r = Gate("git:HEAD~1", {}, clones.path() + "/shallow");
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_NE(r.out.find("shallow clone"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("fetch-depth: 0"), std::string::npos) << r.out;

  // A crafted tree with a path that climbs out, and one into .git.
  for (const char* bad : {"../evil.c", ".git/hooks.c"}) {
    const ShellResult blob = RunShell(repo.path(), "printf 'int x;\\n' | git hash-object -w --stdin");
    ASSERT_EQ(blob.status, 0);
    const std::string id = blob.out.substr(0, 40);
    // mktree takes one name per entry: nest the path through sub-trees.
    std::string tree = RunShell(repo.path(), "printf '100644 blob " + id + "\\tevil.c\\n' | git mktree").out.substr(0, 40);
    const std::string first = std::string(bad).substr(0, std::string(bad).find('/'));
    const ShellResult outer = RunShell(repo.path(), "printf '040000 tree " + tree + "\\t" + first + "\\n' | git mktree --missing");
    const ShellResult commit = RunShell(repo.path(), "git commit-tree -m crafted " + outer.out.substr(0, 40));
    if (outer.status != 0 || commit.status != 0) continue;  // this git refuses to build it at all
    r = Gate("git:" + commit.out.substr(0, 40));
    EXPECT_EQ(r.status, 3) << bad << "\n" << r.out;
    EXPECT_NE(r.out.find("unsafe path"), std::string::npos) << r.out;
  }
  EXPECT_NE(access((repo.path() + "/../evil.c").c_str(), F_OK), 0);
}

TEST_F(GateE2E, SnapshotsAndDirectoriesGiveTheGitFormsAnswer) {
  OnlyGoto();
  TempDir base, head;
  base.Write("src/a.c", Function("f", 11) + Function("g", 2));
  head.Write("src/a.c", Function("f", 13) + Function("g", 2, "  if (x) goto out;\nout:\n"));
  ASSERT_EQ(RunShell(repo.path(), "cp -r '" + base.path() + "/src' . ").status, 0);
  Commit("base");
  ASSERT_EQ(RunShell(repo.path(), "cp -r '" + head.path() + "/src' . ").status, 0);
  Commit("head");

  const RunResult git = Gate("git:HEAD~1 git:HEAD");
  EXPECT_EQ(git.status, 2) << git.out;
  ASSERT_EQ(Findings(git.out).size(), 2u) << git.out;

  const RunResult dirs = Gate(base.path() + " " + head.path(), {"-rc ."});
  EXPECT_EQ(dirs.status, 2) << dirs.out;
  std::vector<std::string> expected;
  for (const std::string& f : Findings(git.out)) expected.push_back(head.path() + "/" + f);
  EXPECT_EQ(Findings(dirs.out), expected) << dirs.out;

  // The base as a snapshot written in another place.
  TempDir artefacts;
  RunSetup setup;
  setup.env = {{"LQAHOME", home.path()}};
  const std::string file = artefacts.path() + "/base.lqagate";
  const RunResult snap = RunLqaWith({"-xGATESNAP " + file, "-rc ."}, base.path(), setup);
  ASSERT_EQ(snap.status, 0) << snap.out << snap.err;
  const RunResult fromSnap = Gate(file);
  EXPECT_EQ(fromSnap.status, git.status) << fromSnap.out;
  EXPECT_EQ(Findings(fromSnap.out), Findings(git.out)) << fromSnap.out;

  // A snapshot of another format version cannot be compared.
  repo.Write("v2.lqagate", "{\"format\":\"lqa-gate\",\"version\":2,\"lqa\":\"x\",\"complexityLimit\":10}\n");
  const RunResult v2 = Gate("v2.lqagate");
  EXPECT_EQ(v2.status, 3) << v2.out;
  EXPECT_NE(v2.out.find("version 2"), std::string::npos) << v2.out;
}

TEST_F(GateE2E, OnlyChangedFilesAreComparedFromASubdirectoryUntrackedOnesIncluded) {
  OnlyGoto();
  repo.Write("sub/a.c", Function("a", 2));
  repo.Write("sub/same.c", Function("same", 2, "  if (x) goto out;\nout:\n"));
  repo.Write("other/b.c", Function("b", 2));
  Commit("base");
  repo.Write("sub/a.c", Function("a", 2, "  if (x) goto out;\nout:\n"));
  repo.Write("sub/untracked.c", Function("u", 2, "  if (x) goto out;\nout:\n"));
  repo.Write("other/b.c", Function("b", 2, "  if (x) goto out;\nout:\n"));  // outside the current directory
  const RunResult r = Gate("git:HEAD", {"-rc ."}, repo.path() + "/sub");
  EXPECT_EQ(r.status, 2) << r.out;
  EXPECT_NE(r.out.find("  Compared: 2 changed files"), std::string::npos) << r.out;
  const std::vector<std::string> f = Findings(r.out);
  ASSERT_EQ(f.size(), 2u) << r.out;
  EXPECT_EQ(f[0].rfind("a.c:", 0), 0u) << f[0];
  EXPECT_EQ(f[1].rfind("untracked.c:", 0), 0u) << f[1];
}

// Both sides are analysed whole; a file that did not change is compared
// only when its records differ between the sides.
TEST_F(GateE2E, AnUnchangedFileIsComparedOnlyWhenItsAnalysisChanged) {
  OnlyGoto();
  const std::string gotoLine = "  if (x < 0) goto out;\nout:\n";
  repo.Write("a.c", Function("a", 2));
  repo.Write("same.c", Function("same", 2, gotoLine) + Function("other", 3, gotoLine));
  Commit("base");
  // A plain change: the unchanged file's goto notices are the same on both
  // sides and count nowhere.
  repo.Write("a.c", Function("a", 2, gotoLine));
  Commit("plain change");
  const RunResult plain = Gate("git:HEAD~1 git:HEAD", {"a.c", "same.c"});
  EXPECT_EQ(plain.status, 2) << plain.out;
  EXPECT_TRUE(HasLine(plain.out, "  Compared: 1 changed file (the others are the same on both sides)")) << plain.out;
  EXPECT_TRUE(HasLine(plain.out, "  Notices: 0 unchanged, 1 new, 0 fixed")) << plain.out;
  const std::vector<std::string> f = Findings(plain.out);
  ASSERT_EQ(f.size(), 1u) << plain.out;
  EXPECT_EQ(f[0].rfind("a.c:", 0), 0u) << f[0];
}

// The side runs' list of files and view of the base are heeded only beside
// their snapshot: variables left in a user's environment change nothing.
TEST_F(GateE2E, ARecordListElsewhereLeavesASnapshotRunAsItWas) {
  repo.Write("a.c", Function("a", 2));
  tmp.Write("record.list", std::string("other.c") + '\0');  // a.c would be a digest
  tmp.Write("base.view", tmp.path() + '\0' + "other.c" + '\0');  // a.c would not be the base's
  RunSetup setup;
  setup.env = {{"LQAHOME", home.path()},
               {"LQA_GATE_RECORD", tmp.path() + "/record.list"},
               {"LQA_GATE_OVERLAY", tmp.path() + "/base.view"}};
  const RunResult r = RunLqaWith({"-xGATESNAP " + repo.path() + "/out.lqagate", "-rc ."}, repo.path(), setup);
  const std::string snapshot = repo.Read("out.lqagate");
  EXPECT_EQ(snapshot.find("\"digest\""), std::string::npos) << snapshot;
  EXPECT_NE(snapshot.find("\"name\":\"a\""), std::string::npos) << snapshot;
  EXPECT_NE(r.out.find("Function: a"), std::string::npos) << r.out;
  std::remove((tmp.path() + "/record.list").c_str());
  std::remove((tmp.path() + "/base.view").c_str());
}

// The base reads the files git diff does not name in the work tree, but
// never one a checkout filter rewrote there (a smudge filter that keeps the
// size): its committed bytes are compared, so the goto the filter put on
// disk is new, while the goto of an untouched file is not.
TEST_F(GateE2E, AFileAFilterRewroteOnDiskIsComparedByItsCommittedBytes) {
  OnlyGoto();
  const std::string padding = "/* " + std::string(300, '-') + " */\n";
  repo.Write("a.c", padding + Function("a", 2, "  if (x < 0) GOTO out;\nout:\n"));
  repo.Write("sub/b.c", padding + Function("b", 2, "  if (x < 0) goto out;\nout:\n"));
  repo.Write(".gitattributes", "a.c filter=lower\n");
  ASSERT_EQ(RunShell(repo.path(), "git config filter.lower.smudge 'sed s/GOTO/goto/' && "
                                  "git config filter.lower.clean 'sed s/goto/GOTO/'").status,
            0);
  Commit("base");
  ASSERT_EQ(RunShell(repo.path(), "rm a.c && git checkout -- a.c").status, 0);
  ASSERT_NE(repo.Read("a.c").find("goto out"), std::string::npos);
  const RunResult r = Gate("git:HEAD");
  OneGotoFindingInA(r.status, r.out);
}

TEST_F(GateE2E, AMacroDefinedInAChangedFileComparesTheUnchangedFilesItAffects) {
  OnlyNotice(28);
  // Once ATTR is a known macro, uses.c holds no function ATTR any more.
  repo.Write("a.c", Function("helper", 1));
  repo.Write("uses.c", "int value ATTR (int x)\n" + Function("", 12).substr(std::string("int (int x)\n").size()));
  repo.Write("other.c", Function("other", 14));
  Commit("without the macro");
  repo.Write("a.c", "#define ATTR\n" + Function("helper", 1));
  Commit("the macro defined");
  const RunResult defined = Gate("git:HEAD~1 git:HEAD", {"a.c", "uses.c", "other.c"});
  EXPECT_EQ(defined.status, 0) << defined.out;
  EXPECT_TRUE(HasLine(defined.out, "  Compared: 1 changed file and 1 whose analysis changed with them "
                                   "(the others are the same on both sides)")) << defined.out;
  EXPECT_TRUE(HasLine(defined.out, "  Removed: ATTR (uses.c:1)")) << defined.out;
  // The other way round the function appears in the file nobody touched,
  // over the limit; other.c, over the limit on both sides, is no finding.
  const RunResult removed = Gate("git:HEAD git:HEAD~1", {"a.c", "uses.c", "other.c"});
  EXPECT_EQ(removed.status, 2) << removed.out;
  const std::vector<std::string> f = Findings(removed.out);
  ASSERT_EQ(f.size(), 1u) << removed.out;
  EXPECT_EQ(f[0], "uses.c:1: error: new function ATTR has complexity 13 (limit 10)");
}

TEST_F(GateE2E, NamesWithLineFeedsAreSkippedOthersOfAnyBytesCompared) {
  OnlyGoto();
  repo.Write("line\nfeed.c", Function("lf", 2));
  repo.Write("bad\xff.c", Function("bad", 2));
  Commit("base");
  repo.Write("line\nfeed.c", Function("lf", 2, "  if (x) goto out;\nout:\n"));
  repo.Write("bad\xff.c", Function("bad", 2, "  if (x) goto out;\nout:\n"));
  const RunResult disk = Gate("git:HEAD");
  EXPECT_NE(disk.out.find("line?feed.c (control character in its name)"), std::string::npos) << disk.out;
  EXPECT_EQ(Findings(disk.out).size(), 1u) << disk.out;  // the file on disk is skipped as the commit's is
  ASSERT_EQ(RunShell(repo.path(), "git add -A . && git commit -q -m head").status, 0);
  const RunResult r = Gate("git:HEAD~1 git:HEAD");
  EXPECT_NE(r.out.find("line?feed.c (control character in its name)"), std::string::npos) << r.out;
  EXPECT_EQ(r.status, 2) << r.out;
  const std::vector<std::string> f = Findings(r.out);
  ASSERT_EQ(f.size(), 1u) << r.out;
  EXPECT_EQ(f[0].rfind("bad", 0), 0u) << f[0];
}

TEST_F(GateE2E, AnInterruptLeavesNothingBehind) {
  repo.Write("first.c", Function("first", 2));
  Commit("base");
  for (int i = 0; i < 1500; ++i) repo.Write("d" + std::to_string(i % 30) + "/f" + std::to_string(i) + ".c", Function("f" + std::to_string(i), 3));
  Commit("many files");
  const std::string before = RunShell(repo.path(), "git status --porcelain; git worktree list; git stash list").out;
  for (int delayMs : {30, 150, 400}) {
    const pid_t pid = fork();
    if (pid == 0) {
      if (chdir(repo.path().c_str()) != 0) _exit(126);
      setenv("LQAHOME", home.path().c_str(), 1);
      setenv("TMPDIR", tmp.path().c_str(), 1);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      execl(LQA_BINARY, LQA_BINARY, "-Ggit:HEAD~1 git:HEAD", "-rc .", static_cast<char*>(nullptr));
      _exit(127);
    }
    usleep(static_cast<useconds_t>(delayMs) * 1000);
    kill(pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) || WIFEXITED(status));
    // Side runs that outlive the gate would still be writing: give them none.
    usleep(100 * 1000);
    EXPECT_TRUE(EmptyDirectory(tmp.path())) << "after " << delayMs << " ms";
  }
  EXPECT_EQ(RunShell(repo.path(), "git status --porcelain; git worktree list; git stash list").out, before);
}

TEST_F(GateE2E, TheHeadsDocumentsMarkWhatIsNewAgainstTheBase) {
  OnlyGoto();
  const std::string gotoLine = "  if (x < 0) goto out;\nout:\n";
  repo.Write("src/a.c", Function("first", 2, gotoLine) + Function("second", 2));
  Commit("base");
  // first's notice moves down a line and stays; second gets one; third is
  // new with its notice.
  repo.Write("src/a.c", "\n" + Function("first", 2, gotoLine) + Function("second", 2, gotoLine) +
                            Function("third", 1, gotoLine));
  Commit("head");
  const std::vector<std::string> docs = {"-xSARIF out.sarif", "-xGITLAB gl.json", "-xGATESNAP head.lqagate",
                                         "-xDASHBOARD page.html", "-rc ."};
  // A git head is analysed in a copy of its tree: the log still names the
  // repository as its source root.
  const RunResult git = Gate("git:HEAD~1 git:HEAD", docs);
  EXPECT_EQ(git.status, 2) << git.out << git.err;
  const std::string sarif = repo.Read("out.sarif");
  const std::regex state("\"baselineState\":\"(\\w+)\"");
  std::vector<std::string> states;
  for (auto it = std::sregex_iterator(sarif.begin(), sarif.end(), state); it != std::sregex_iterator(); ++it)
    states.push_back((*it)[1]);
  EXPECT_EQ(states, (std::vector<std::string>{"unchanged", "new", "new"})) << sarif;
  EXPECT_NE(sarif.find("\"uri\":\"file://" + repo.path() + "/\""), std::string::npos) << sarif;
  EXPECT_EQ(sarif.find("lqa-gate"), std::string::npos) << sarif;
  const ShellResult check = RunPython(repo.path(), "tools/check_notice_docs.py",
                                      "--schema '" LQA_SOURCE_DIR "/tests/e2e/data/sarif-schema-2.1.0.json' "
                                      "--sarif out.sarif --gitlab gl.json --count 3");
  EXPECT_EQ(check.status, 0) << check.out;
  EXPECT_NE(repo.Read("page.html").find("<html"), std::string::npos);

  // Same bytes on every run, and from the files on disk (the head itself).
  EXPECT_EQ(Gate("git:HEAD~1 git:HEAD", docs).status, 2);
  EXPECT_EQ(repo.Read("out.sarif"), sarif);
  EXPECT_EQ(Gate("git:HEAD~1", docs).status, 2);
  EXPECT_EQ(repo.Read("out.sarif"), sarif);

  // The head's snapshot serves as the base of the next change.
  const RunResult again = Gate("head.lqagate");
  EXPECT_EQ(again.status, 0) << again.out;
  EXPECT_NE(again.out.find("Notices: 3 unchanged, 0 new, 0 fixed"), std::string::npos) << again.out;

  // The report stream carries the gate's report; a snapshot head has no
  // notices to write a log of.
  EXPECT_EQ(Gate("git:HEAD~1", {"-xSARIF", "-rc ."}).status, 1);
  const RunResult snapshotHead = Gate("head.lqagate head.lqagate", {"-xSARIF again.sarif", "-rc ."});
  EXPECT_EQ(snapshotHead.status, 1) << snapshotHead.out;
  EXPECT_NE(access((repo.path() + "/again.sarif").c_str(), F_OK), 0);
}

}  // namespace

namespace {

// The private directory's path goes to the side runs inside switch values
// (-x"GATESNAP file" and the documents'): blanks and quotes in TMPDIR must
// reach them whole, whatever the sides.
TEST_F(GateE2E, ATemporaryDirectoryWithBlanksWorksForEverySideAndDocument) {
  OnlyGoto();
  repo.Write("a.c", Function("f", 2));
  Commit("one");
  repo.Write("a.c", Function("f", 2, "  goto out;\nout:\n"));
  Commit("two");
  const std::string odd = tmp.path() + "/a  b 'c\"";
  ASSERT_EQ(mkdir(odd.c_str(), 0700), 0);
  RunSetup setup;
  setup.env = {{"LQAHOME", home.path()}, {"TMPDIR", odd}, {"PATH", "/usr/local/bin:/usr/bin:/bin"}};
  const std::vector<std::vector<std::string>> runs = {
      {"-Ggit:HEAD~1", "-rc ."},
      {"-Ggit:HEAD~1 git:HEAD", "-rc ."},
      {"-Ggit:HEAD~1", "-xSARIF o.sarif", "-xGITLAB o.json", "-xDASHBOARD o.html", "-xGATESNAP o.lqagate", "-rc ."},
  };
  for (const std::vector<std::string>& args : runs) {
    const RunResult r = RunLqaWith(args, repo.path(), setup);
    EXPECT_EQ(r.status, 2) << args[0] << "\n" << r.out;
    EXPECT_EQ(Findings(r.out).size(), 1u) << args[0] << "\n" << r.out;
    EXPECT_TRUE(EmptyDirectory(odd)) << "temporary files left behind";
  }
  for (const char* doc : {"o.sarif", "o.json", "o.html", "o.lqagate"})
    EXPECT_EQ(access((repo.path() + "/" + doc).c_str(), F_OK), 0) << doc;
  // No run split the path at its blank and wrote beside it.
  EXPECT_EQ(RunShell(tmp.path(), "ls -A").out, "a  b 'c\"\n");
}

// A git side is read in a copy of the revision below the current
// directory: a selection leaving it is refused before any analysis, named,
// and nothing outside is read (a goto there would otherwise count or hide).
TEST_F(GateE2E, ASelectionOutsideTheCurrentDirectoryCannotBeComparedWithARevision) {
  OnlyGoto();
  repo.Write("sub/a.c", Function("f", 2));
  repo.Write("other/b.c", Function("g", 2, "  goto out;\nout:\n"));
  Commit("one");
  repo.Write("sub/a.c", Function("f", 3));
  const std::string sub = repo.path() + "/sub";
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"-rc ../other"}, {"-rc,h " + repo.path() + "/other"}, {"-rc " + sub}, {"../other/b.c"},
           {"a.c", sub + "/a.c"}, {"-rc sub/../../x"}}) {
    for (const char* spec : {"git:HEAD", "git:HEAD git:HEAD", "git:HEAD ."}) {
      const RunResult r = Gate(spec, args, sub);
      EXPECT_EQ(r.status, 3) << spec << " " << args.back() << "\n" << r.out;
      const std::string named = args.back().substr(args.back().rfind(' ') + 1);
      EXPECT_NE(r.out.find(named + " is not a path below the current directory"), std::string::npos) << r.out;
      EXPECT_EQ(r.out.find("Quality gate"), std::string::npos) << r.out;
    }
  }
  // The same selections against a directory, and names below, still compare.
  EXPECT_EQ(Gate(repo.path() + "/other", {"../other/b.c"}, sub).status, 0);
  for (const char* ok : {"-rc .", "-rc /", "a.c"}) EXPECT_EQ(Gate("git:HEAD", {ok}, sub).status, 0) << ok;
}

}  // namespace
