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

TEST_F(Hostile, BrokenFunctionHeadsAndBodies) {
  // A head that never ends, parameters over 1,000 lines, a function of
  // 100,000 lines, unbalanced parentheses and braces, two heads for one body.
  std::string endless = "int endless(int a,\n";
  for (int i = 0; i < 200000; ++i) endless += "  int p" + std::to_string(i) + ",\n";
  dir.Write("endless.c", endless);
  std::string params = "int wide(\n";
  for (int i = 0; i < 1000; ++i) params += "  int p" + std::to_string(i) + ",\n";
  params += "  int last)\n{\n  return last;\n}\n";
  dir.Write("params.c", params);
  std::string longBody = "int big(void)\n{\n";
  for (int i = 0; i < 100000; ++i) longBody += "  if (x" + std::to_string(i % 7) + ") y++;\n";
  longBody += "  return 0;\n}\n";
  dir.Write("big.c", longBody);
  dir.Write("unbalanced.cpp", "int f(int a)) { ((( }}} int g( { class X { ;\n}\n} void h() {\n");
  dir.Write("branches.c", "#ifdef A\nint f(int a) {\n#else\nint f(int a, int b) {\n#endif\n  return 0;\n}\n");
  RunResult r = Run({"-c", "-fa", "-fd", "-o", "-fm", "-n", "endless.c", "params.c", "big.c", "unbalanced.cpp",
                     "branches.c"});
  ASSERT_EQ(r.status >= 0, true) << r.err;
  RunResult listing = Run({"-c", "-fa", "-fd", "params.c", "big.c"});
  ASSERT_EQ(listing.status, 0) << listing.err;
  EXPECT_NE(listing.out.find("  Function: wide\n"), std::string::npos);
  // The collected parameter text stops at 2047 characters.
  const std::size_t paramLine = listing.out.find("  Parameters: (int p0, int p1,");
  ASSERT_NE(paramLine, std::string::npos);
  EXPECT_LT(listing.out.find("\n  Complexity", paramLine) - paramLine, 2047u + 2047u / 60 * 15 + 20);
  EXPECT_NE(listing.out.find("  Function: big\n"), std::string::npos);
  EXPECT_NE(listing.out.find("Cyclo Vg 100001"), std::string::npos);
  EXPECT_TRUE(HasLine(listing.out, LocLine(100003, 100001, 100001, 0, 100003))) << listing.out.substr(0, 4000);
}

TEST_F(Hostile, HugeNamesNestingAndBaseLists) {
  const std::string name(5000, 'n');
  dir.Write("name.cpp", "class " + name + " : public " + name + " {\n  void " + name + "() { }\n};\nint " +
                            name + "(void) { return 0; }\n");
  std::string nested;
  for (int i = 0; i < 10000; ++i) nested += "class C" + std::to_string(i) + " { int a" + std::to_string(i) + ";\n";
  nested += "void deepest() { }\n";
  for (int i = 0; i < 10000; ++i) nested += "};\n";
  nested += "int after(void) { return 0; }\n";
  dir.Write("nested.cpp", nested);
  std::string bases = "class Many :\n";
  for (int i = 0; i < 1000; ++i) bases += "  public Base" + std::to_string(i) + "<int, long>" + (i < 999 ? ",\n" : "\n");
  bases += "{\n};\n";
  dir.Write("bases.cpp", bases);
  dir.Write("quoted.cpp", "const char *s = \"class Fake {\";\n// class Commented {\n#define MAKE class Made { int m; };\n"
                          "int real(void) { return 0; }\n");
  RunResult fm = Run({"-c", "-fa", "-fd", "-o", "-fm", "-n", "name.cpp", "nested.cpp", "bases.cpp", "quoted.cpp"});
  ASSERT_GE(fm.status, 0) << fm.err;
  RunResult r = Run({"-c", "-fa", "-fd", "-o", "name.cpp", "nested.cpp", "bases.cpp", "quoted.cpp"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("  Class: Many\n"), std::string::npos);
  EXPECT_NE(r.out.find("Function: after\n"), std::string::npos);
  EXPECT_NE(r.out.find("Function: real\n"), std::string::npos);
  EXPECT_EQ(r.out.find("Fake"), std::string::npos);
  EXPECT_EQ(r.out.find("Commented"), std::string::npos);
  EXPECT_EQ(r.out.find("Made"), std::string::npos);
  RunResult l = Run({"-l", "-o", "nested.cpp"});
  ASSERT_EQ(l.status, 0) << l.err;
  EXPECT_TRUE(HasLine(l.out, "  after (void)")) << l.out.substr(l.out.size() > 3000 ? l.out.size() - 3000 : 0);
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

// Notices under hostile input: the counts the rules give, the status held at
// 255, no crash and no hang.
class HostileNotices : public Hostile {};

TEST_F(HostileNotices, FiftyMegabyteLineOfQuestionMarks) {
  std::string line;
  line.reserve(50u << 20);
  while (line.size() < (50u << 20)) line += std::string(49, 'a') + "?";
  dir.Write("q.c", line + "\n");
  RunResult r = Run({"-n", "q.c"});
  // Only the part after the last full buffer of the line is analysed.
  ASSERT_GT(r.status, 0) << r.err;
  ASSERT_LE(r.status, 255);
  EXPECT_EQ(Count(r.out, "Error: Text line"), 1u);
}

TEST_F(HostileNotices, AMillionNoticesInOneFile) {
  std::string text = "/* tabs */\n";
  for (int i = 0; i < 1000000; ++i) text += "\t;\n";
  dir.Write("tabs.c", text);
  RunResult r = Run({"-n", "-Ts", "tabs.c"});
  ASSERT_EQ(r.status, 255) << r.err;
  EXPECT_EQ(r.out.find("Notice #"), std::string::npos);
  r = Run({"-Ns", "tabs.c"});
  ASSERT_EQ(r.status, 255) << r.err;
  // The project's quality profile names the notice once more, without a line.
  EXPECT_EQ(Count(r.out, ", TAB character has been identified\n"), 1000000u);
  // Both notice documents hold them all in the memory limit: one file's
  // notices are kept until its end.
  r = Run({"-xSARIF /dev/null", "-xGITLAB /dev/null", "tabs.c"});
  ASSERT_EQ(r.status, 255) << r.err;
  EXPECT_NE(r.err.find("holds 1000001 results"), std::string::npos) << r.err;
}

TEST_F(HostileNotices, SwitchesNestedTenThousandDeep) {
  std::string text = "void f(int x)\n{\n";
  for (int i = 0; i < 10000; ++i) text += "switch (x) {\ncase 1: break; break;\n";
  for (int i = 0; i < 10000; ++i) text += "}\n";
  text += "}\n";
  dir.Write("deep.c", text);
  RunResult r = Run({"-n", "-fa", "deep.c"});
  ASSERT_EQ(r.status, 255) << r.err;
  EXPECT_NE(r.out.find("Notice #55: Line 10"), std::string::npos);
}

TEST_F(HostileNotices, NoticesInUnterminatedCommentsAndStrings) {
  dir.Write("comment.c", "int a;\n/*\t\t never\n closed \t");
  // The open string runs on into the last line: its tab is no notice.
  dir.Write("string.c", "char *s = \"\t?\n int b; \t");
  RunResult r = Run({"-Ns", "comment.c", "string.c"});
  ASSERT_EQ(r.status, 4) << r.err;
  EXPECT_EQ(Count(r.out, ", TAB character has been identified"), 3u) << r.out;
  EXPECT_EQ(Count(r.out, ", File comment content < 10.0%"), 1u);
}
