// The example files installed with the documentation work as they say.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

TEST(ExamplesE2E, UserNoticeExampleLoadsAndEachNoticeFires) {
  TempDir dir, home;
  home.Write("lqa.cfg",
             std::string("LQA user defined quality notice file : ") + LQA_SOURCE_DIR + "/examples/lqa_udqn.cfg\n");
  const RunResult show = RunLqa({"-xUDQNSHOW"}, dir.path(), home.path());
  EXPECT_EQ(show.out.find("Error"), std::string::npos) << show.out;
  std::size_t matches = 0;
  for (const std::string& line : Lines(show.out))
    if (line.rfind("  Test         : Expression Match:", 0) == 0) ++matches;
  EXPECT_EQ(matches, 3u) << show.out;

  dir.Write("a.c", "int f(void) {\n  char b[9];\n  /* todo: size */\n  gets(b); /* FIXME */\n  fgets(b, 9, 0);\n}\n");
  dir.Write("A.java", "class A {\n  String s = \"PASSWORD\";\n  String t = \"word\";\n}\n");
  const RunResult r = RunLqa({"-n", "-Ns", "a.c", "A.java"}, dir.path(), home.path());
  EXPECT_TRUE(HasLine(r.out, "  Notice # 100: Line 4, gets() cannot limit its input, use fgets()")) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  Notice # 101: Line 4, A comment marks unfinished work")) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  Notice # 102: Line 2, A string literal mentions a password")) << r.out;
  // Only those: fgets, the lower case todo and the plain string fire nothing.
  std::size_t fired = 0;
  for (const std::string& line : Lines(r.out))
    if (line.rfind("  Notice # 1", 0) == 0 && line.size() > 14 && line[13] != ' ') ++fired;
  EXPECT_EQ(fired, 3u) << r.out;
}

}  // namespace
