// The newer switches' screen and the long options, and that the older -x
// keywords still reach their first-letter handling.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "test_support.h"

namespace {

TEST(NewerSwitchesE2E, HelpScreenVersionAndHelp) {
  TempDir dir, home;
  const RunResult screen = RunLqa({"-xHELP"}, dir.path(), home.path());
  EXPECT_EQ(screen.status, 0);
  EXPECT_NE(screen.out.find("LQA Newer Switches"), std::string::npos);
  EXPECT_NE(screen.out.find("    --version "), std::string::npos);

  const RunResult version = RunLqa({"--version"}, dir.path(), home.path());
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("lqa 7.75\nBuilt ", 0), 0u) << version.out;

  const RunResult help = RunLqa({"-s", "--help"}, dir.path(), home.path());
  EXPECT_EQ(help.status, 0);
  const std::size_t syntax = help.out.find("LQA Help Syntax");
  const std::size_t newer = help.out.find("LQA Newer Switches");
  ASSERT_NE(syntax, std::string::npos);
  ASSERT_NE(newer, std::string::npos);
  EXPECT_LT(syntax, newer);
}

// --help is the -hs screen followed by the body of the -xHELP screen, byte
// for byte, and --version two fixed lines; both exit 0 and write nothing to
// standard error.
TEST(NewerSwitchesE2E, LongOptionsRepeatTheExistingScreens) {
  TempDir dir, home;
  const RunResult help = RunLqa({"--help"}, dir.path(), home.path());
  const RunResult syntax = RunLqa({"-hs"}, dir.path(), home.path());
  const RunResult newer = RunLqa({"-xHELP"}, dir.path(), home.path());
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  std::string expected = syntax.out;
  const std::string command = "  Command Line: -hs \n";
  const std::size_t at = expected.find(command);
  ASSERT_NE(at, std::string::npos) << syntax.out;
  expected.replace(at, command.size(), "  Command Line: --help \n");
  const std::size_t body = newer.out.find("\n", newer.out.find("  Command Line: -xHELP "));
  ASSERT_NE(body, std::string::npos) << newer.out;
  expected += newer.out.substr(body + 1);
  EXPECT_EQ(help.out, expected);

  const RunResult version = RunLqa({"--version", "a.c"}, dir.path(), home.path());
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.err, "");
  EXPECT_TRUE(std::regex_match(version.out, std::regex("lqa 7\\.75\nBuilt [A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4}\n")))
      << version.out;
}

TEST(NewerSwitchesE2E, KeywordsAreMatchedOnTheirFirstWordOnly) {
  TempDir dir, home;
  // An argument after a keyword that takes none is an error, not a CSV template.
  const RunResult extra = RunLqa({"-xHELP now"}, dir.path(), home.path());
  EXPECT_EQ(extra.status, 1);
  EXPECT_NE(extra.out.find("Error: Invalid parameter for -x option"), std::string::npos);
  // Older keywords keep their first-letter meaning.
  const RunResult csv = RunLqa({"-xcsv"}, dir.path(), home.path());
  EXPECT_EQ(csv.status, 1);
  EXPECT_EQ(csv.out.find("LQA Newer Switches"), std::string::npos);
}

}  // namespace
