// Hostile input end to end: every run is bounded in CPU time, wall-clock time
// and (outside sanitizer builds) memory, must end normally with the expected
// status, and prints the program's own message where one exists.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;

class Hostile : public ::testing::Test {
 protected:
  TempDir dir;
  TempDir home;
  RunLimits limits;
  RunResult Run(const std::vector<std::string>& args) { return RunLqaLimited(args, dir.path(), home.path(), limits); }
};

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

std::string LocLine(int loc, int eloc, int lloc, int comment, int lines) {
  char buf[160];
  snprintf(buf, sizeof buf, "  LOC %-8d eLOC %-8d lLOC %-8d Comment %-8d Lines %8d", loc, eloc, lloc, comment, lines);
  return buf;
}

TEST_F(Hostile, BinaryAndNulBytesAreReadAsText) {
  std::string binary;
  for (unsigned i = 0; i < 400000; ++i) binary += static_cast<char>((i * 7919u + i / 13) % 256);
  dir.Write("bin.c", binary);
  // A NUL ends the text of its line; the rest of the physical line is ignored.
  dir.Write("nul.c", std::string("int a;\0 /* \n", 12) + "x;\n");
  RunResult r = Run({"bin.c", "nul.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("File: bin.c"), std::string::npos);
  EXPECT_TRUE(HasLine(r.out, LocLine(2, 2, 2, 0, 2))) << r.out;
}

TEST_F(Hostile, FiftyMegabyteLineIsOneLineWithOneMessage) {
  std::string line(50u << 20, 'y');
  line += ";\n";
  dir.Write("huge.c", line + "int z;\n");
  RunResult r = Run({"huge.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Count(r.out, "Error: Text line"), 1u);
  EXPECT_NE(r.out.find("\n  Error: Text line 1 length greater than 2048 characters\n"
                       "         Examine file for proper text file formatting.\n"),
            std::string::npos);
  EXPECT_TRUE(HasLine(r.out, LocLine(2, 2, 2, 0, 2))) << r.out;
}

TEST_F(Hostile, DeepNestingAndUnbalancedBrackets) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "{ (\n";
  text += std::string(100000, ')') + "\n";
  dir.Write("deep.c", text);
  dir.Write("closers.c", std::string(1000000, '}') + "\n" + std::string(1000000, ']') + "\n");
  RunResult r = Run({"deep.c", "closers.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("open brace count { 100000 != 0 } close brace count"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("File: closers.c"), std::string::npos);
}

TEST_F(Hostile, UnterminatedCommentAndStringAtEndOfFile) {
  dir.Write("comment.c", "int a;\n/* never\nclosed");
  dir.Write("string.c", "char *s = \"open\nint b;");
  RunResult r = Run({"comment.c", "string.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(HasLine(r.out, LocLine(1, 1, 1, 2, 3))) << r.out;
  EXPECT_NE(r.out.find("File: string.c"), std::string::npos);
}

TEST_F(Hostile, CarriageReturnOnlyLineEndsMakeOneLine) {
  dir.Write("cr.c", "int a;\rint b;\rint c;\r");
  RunResult r = Run({"cr.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(HasLine(r.out, LocLine(1, 1, 3, 0, 1))) << r.out;
}

TEST_F(Hostile, FilesThatCannotBeOpenedAreSkipped) {
  fs::create_directory(dir.path() + "/folder.c");
  dir.Write("ok.c", "int x;\n");
  dir.Write("secret.c", "int y;\n");
  chmod((dir.path() + "/secret.c").c_str(), 0);
  // Root reads anything: drop to an ordinary user so that the mode applies.
  if (geteuid() == 0) {
    limits.runAsUid = 65534;
    chmod(dir.path().c_str(), 0755);
    chmod(home.path().c_str(), 0777);
  }
  RunResult r = Run({"folder.c", "missing.c", "secret.c", "ok.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\n  Error: Problem opening input file:\n         folder.c\n         For read, Is a directory\n\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\n  Error: Problem opening input file:\n         missing.c\n"
                       "         For read, No such file or directory\n\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("\n  Error: Problem opening input file:\n         secret.c\n         For read, Permission denied\n\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("File: ok.c"), std::string::npos);
}

TEST_F(Hostile, SymbolicLinkLoopUnderRecursiveDescentIsVisitedOnce) {
  dir.Write("src/a.c", "int a;\n");
  dir.Write("src/sub/b.c", "int b;\n");
  fs::create_directory_symlink("..", dir.path() + "/src/sub/up");
  fs::create_directory_symlink(".", dir.path() + "/src/self");
  RunResult r = Run({"-rc src", "-Rn"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Count(r.out, "\n  File: "), 2u) << r.out;
  EXPECT_NE(r.out.find("src/a.c"), std::string::npos);
  EXPECT_NE(r.out.find("src/sub/b.c"), std::string::npos);
}

TEST_F(Hostile, ListFileWithHugeLinesAndBrokenEntries) {
  dir.Write("x.c", "int x;\n");
  std::string list = std::string(3u << 20, 'q') + ".c\n";  // a megabytes-long name
  list += "%NO_SUCH_LQA_VARIABLE%/x.c\n%unclosed/x.c\n-r\nx.c\n";
  dir.Write("files.lst", list);
  RunResult r = Run({"-Ffiles.lst"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("  Error: Expanding environment variable from -F file.\n"
                       "         Environment Variable: NO_SUCH_LQA_VARIABLE does not exist\n\n"),
            std::string::npos)
      << r.out.substr(0, 2000);
  EXPECT_NE(r.out.find("\n  Error: Malformed directory entry line in file.\n"), std::string::npos);
  EXPECT_NE(r.out.find("File: x.c"), std::string::npos);
}

TEST_F(Hostile, UtilitiesStreamAHundredMegabyteFileInFlatMemory) {
  const std::string line = "\tx = \"a\tb\"; /* c */\r\n";
  std::string text;
  for (size_t n = (100u << 20) / line.size(); n > 0; --n) text += line;
  dir.Write("big.c", text);
  limits.memoryBytes = 48LL << 20;  // far below the file's size
  RunResult r = Run({"-Es", "-Ec", "-O/dev/null", "big.c"});
  EXPECT_EQ(r.status, 0) << r.err;
  r = Run({"-p", "-O/dev/null", "big.c"});
  EXPECT_EQ(r.status, 0) << r.err;
  r = Run({"-Dt", "-Du", "big.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Complete - Lines = " + std::to_string(text.size() / line.size())), std::string::npos);
  std::string expected;
  const std::string rewritten = "  x = \"a\tb\"; /* c */\n";
  for (size_t n = text.size() / line.size(); n > 0; --n) expected += rewritten;
  EXPECT_TRUE(dir.Read("big.c") == expected);
}

TEST_F(Hostile, UtilitiesKeepBinaryBytesAndSurviveHugeLines) {
  std::string binary;
  for (unsigned i = 0; i < 400000; ++i) binary += static_cast<char>((i * 7919u + i / 13) % 256);
  dir.Write("bin.c", binary);
  dir.Write("huge.c", std::string(50u << 20, '\t') + "\r\n");
  dir.Write("cr.c", "a;\r\tb;\r\"\t\"\r");
  limits.memoryBytes = 48LL << 20;
  for (const char* mode : {"-p", "-Es", "-Ec"}) {
    RunResult r = Run({mode, "-O/dev/null", "bin.c", "huge.c", "cr.c"});
    EXPECT_EQ(r.status, 0) << mode << r.err;
  }
  RunResult r = Run({"-Du", "bin.c", "huge.c", "cr.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string expected;
  for (size_t i = 0; i < binary.size(); ++i) {
    if (binary[i] == '\r' && i + 1 < binary.size() && binary[i + 1] == '\n') continue;
    expected += binary[i];
  }
  EXPECT_TRUE(dir.Read("bin.c") == expected);
  EXPECT_EQ(dir.Read("huge.c").size(), (50u << 20) + 1);
  r = Run({"-Dt", "cr.c", "huge.c"});
  EXPECT_EQ(dir.Read("cr.c"), "a;\r  b;\r\"\t\"\r");
  EXPECT_EQ(dir.Read("huge.c").size(), (100u << 20) + 1);
}

}  // namespace
