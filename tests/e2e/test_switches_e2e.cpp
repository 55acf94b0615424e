// The real program on bad switches: error texts reach standard output and
// the exit status is the one of the error (the full table is in the unit tests).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

class SwitchesE2E : public ::testing::Test {
 protected:
  TempDir dir, home;
  RunResult Run(const std::vector<std::string>& args) { return RunLqa(args, dir.path(), home.path()); }
};

TEST_F(SwitchesE2E, ErrorTextsAndStatus) {
  struct Case {
    std::string arg;
    int status;
    std::string text;
  };
  const std::string use = "\n         Use -hs for help text\n";
  const std::vector<Case> cases = {
      {"-Z", 1, "\n  Error: Command line parse error, invalid option.\n         Use -hs to show program help syntax.\n"},
      {"-Rq", 1, "\n  Error: Invalid parameter for -R option" + use},
      {"-q", 1, "\n  -q Query setup mode is now supported in the lqa.cfg file.\n"},
      {"-wW", 0,
       "\n  Error: The -wW switch has been deprecated and is no\n         longer supported.  Use the -wx switch to "
       "perform\n         baseline differentials\n\n"},
      {"-wFile dat", 0, "\n  Error: -w \"File dat\" file name not parsed\n         Check command line syntax\n"},
  };
  for (const Case& c : cases) {
    const RunResult r = Run({c.arg});
    EXPECT_EQ(r.status, c.status) << c.arg;
    EXPECT_NE(r.out.find(c.text), std::string::npos) << c.arg << "\n" << r.out;
  }
}

// A bad -j count ends the run before any report: the error is all it writes.
TEST_F(SwitchesE2E, BadWorkerCountWritesOnlyTheError) {
  dir.Write("a.c", "int main(void) { return 0; }\n");
  for (const char* jobs : {"-j", "-jx", "-j-1", "-j2x"}) {
    const RunResult r = Run({"-s", jobs, "a.c"});
    EXPECT_EQ(r.status, 1) << jobs;
    EXPECT_EQ(r.out, "\n  Error: Invalid parameter for -j option\n         Use -hs for help text\n") << jobs;
    EXPECT_EQ(r.err, "") << jobs;
  }
}

// Any worker count writes the bytes of the serial run, and a run without -j
// is the serial run.
TEST_F(SwitchesE2E, WorkerCountsWriteTheSerialBytes) {
  dir.Write("a.h", "#define TWICE(x) ((x) * 2)\nint twice(int x);\n");
  dir.Write("a.c", "#include \"a.h\"\nint twice(int x) {\n  if (x > 3) return TWICE(x);\n  return x;\n}\n");
  dir.Write("b.cpp", "class B {\n public:\n  int f() { for (;;) { goto out; } out: return 1; }\n};\n");
  dir.Write("C.java", "class C {\n  int g(int a) { return a > 0 ? a : -a; }\n}\n");
  const std::vector<std::string> base = {"-xNOHEADER", "-xNOCOMMAND", "-s", "-c", "-fa", "-o", "-n",
                                         "a.h", "a.c", "b.cpp", "C.java"};
  const RunResult serial = Run(base);
  ASSERT_NE(serial.out.find("End of File: C.java"), std::string::npos) << serial.out;
  for (const char* jobs : {"-j1", "-j4", "-j0"}) {
    std::vector<std::string> args = base;
    args.insert(args.begin(), jobs);
    const RunResult r = Run(args);
    EXPECT_EQ(r.status, serial.status) << jobs;
    EXPECT_EQ(r.out, serial.out) << jobs;
    EXPECT_EQ(r.err, serial.err) << jobs;
  }
}

TEST_F(SwitchesE2E, HtmlPageIsClosedOnError) {
  const RunResult r = Run({"-H", "-Rq"});
  EXPECT_EQ(r.status, 1);
  const std::string end = "Use -hs for help text\n</pre></body></html>";
  ASSERT_GE(r.out.size(), end.size());
  EXPECT_EQ(r.out.substr(r.out.size() - end.size()), end);
}

TEST_F(SwitchesE2E, SortKeyErrorDoesNotEndTheRun) {
  const RunResult r = Run({"-k11", "-y"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\n  Error: 11 invalid sort key value.\n         Defaulting to no sort\n"), std::string::npos);
}

TEST_F(SwitchesE2E, OutputFileThatCannotBeCreated) {
  const std::string name = dir.path() + "/no/such/dir/report.txt";
  const RunResult r = Run({"-O" + name, "-y"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\n  Error: Could not open output file\n         Filename: " + name +
                       "\n         No such file or directory\n\n"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "/no"));
}

TEST_F(SwitchesE2E, OutputFileReceivesTheReport) {
  const std::string name = dir.path() + "/cfg.txt";
  const RunResult r = Run({"-O" + name, "-y"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\n  LQA using output file: " + name + "\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(name));
}

}  // namespace
