// Quality notices end to end: the forms a run writes, what it counts, and its
// exit status, which build pipelines gate on.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

class NoticesE2E : public ::testing::Test {
 protected:
  TempDir dir;
  TempDir home;
  RunResult Run(const std::vector<std::string>& args) { return RunLqa(args, dir.path(), home.path()); }
  void Config(const std::string& lines) { home.Write("lqa.cfg", lines); }
};

// Three tabs and nothing else to notice.
constexpr const char* kThreeTabs = "/* three tabs */\n\tx = y;\n\ty = x;\n\tz = y;\n";

TEST_F(NoticesE2E, ExitStatusIsTheNoticeCountHeldAt255) {
  dir.Write("three.c", kThreeTabs);
  std::string many = "/* many tabs */\n";
  for (int i = 0; i < 300; ++i) many += "\tx = y;\n";
  dir.Write("many.c", many);
  RunResult r = Run({"-n", "three.c"});
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_EQ(Count(r.out, "Notice #30: Line "), 3u);
  // 300 notices would read as 44 to a shell; the count is held at 255.
  EXPECT_EQ(Run({"-n", "many.c"}).status, 255);
  EXPECT_EQ(Run({"-n", "three.c", "many.c"}).status, 255);
  // Counted in every run, but the status is the count only with notices on.
  r = Run({"-s", "many.c"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.find("Notice #"), std::string::npos);
  // A totals report counts without writing them.
  r = Run({"-n", "-Ts", "three.c"});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out.find("Notice #"), std::string::npos) << r.out;
}

TEST_F(NoticesE2E, SingleLineAndVisualStudioForms) {
  dir.Write("main.c", std::string(kThreeTabs) + std::string(7, '\n') + "\tint k;\n");
  RunResult r = Run({"-Nv", "main.c"});
  EXPECT_EQ(r.status, 4);
  EXPECT_TRUE(HasLine(r.out, "main.c(12) : Notice #30   - TAB character has been identified")) << r.out;
  r = Run({"-Ns", "main.c"});
  EXPECT_TRUE(HasLine(r.out, "  Notice #  30: Line   12, TAB character has been identified")) << r.out;
  Config("Reorder notice, line in quality notices : Yes\n");
  r = Run({"-Ns", "main.c"});
  EXPECT_TRUE(HasLine(r.out, "  Line   12: Notice #  30: TAB character has been identified")) << r.out;
  r = Run({"-n", "main.c"});
  EXPECT_NE(r.out.find("\n    Line 12: Notice #30: A TAB character has been found.\n"), std::string::npos) << r.out;
}

TEST_F(NoticesE2E, DisabledNoticesAndQualitySkipRegions) {
  Config("Quality Notice 30 : No\n");
  dir.Write("tabs.c", kThreeTabs);
  EXPECT_EQ(Run({"-n", "tabs.c"}).status, 0);
  Config("Activate LQA code skip tokens : Yes\n");
  dir.Write("skip.c",
            "/* skip */\n"
            "\tx = y; // LQA_IGNORE_QUALITY_BEGIN\n"
            "\tx = y;\n"
            "\tx = y; // LQA_IGNORE_QUALITY_END\n"
            "\tx = y;\n");
  // The start token's line is inside the region, the end token's line is not.
  RunResult r = Run({"-Ns", "skip.c"});
  EXPECT_EQ(r.status, 2) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  Notice #  30: Line    4, TAB character has been identified")) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  Notice #  30: Line    5, TAB character has been identified"));
}

TEST_F(NoticesE2E, NewAndDeleteAtTheEndOfACppFile) {
  dir.Write("leak.cpp", "/* leaks */\nvoid f(T *p) { p = new T(); }\n");
  dir.Write("fine.cpp", "/* fine */\nvoid f(T *p) { p = new T(); delete p; }\n");
  dir.Write("leak.c", "/* not C++ */\nint x;\n");
  RunResult r = Run({"-n", "leak.cpp", "fine.cpp", "leak.c"});
  EXPECT_EQ(Count(r.out, "Notice #45"), 1u) << r.out;
  EXPECT_NE(r.out.find("\n    Notice #45: File leak.cpp: Line 2\n"
                       "           New and delete counts do not match for this file.\n"),
            std::string::npos);
}

TEST_F(NoticesE2E, NoticeTypeScreen) {
  Config("Maximum Line Length : 100\nQuality Notice 9 : No\n");
  RunResult r = Run({"-hn"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(HasLine(r.out, "                         LQA Quality Notice Types")) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  Notice 1   : [ On] Physical line length > 100 characters"));
  EXPECT_TRUE(HasLine(r.out, "  Notice 9   : [Off] 'goto' keyword identified"));
  EXPECT_TRUE(HasLine(r.out, "  Notice 58  : [Off] LQA skip quality notices token match - Quality Notices ignored"));
  EXPECT_EQ(r.out.find("not included in this build"), std::string::npos);
}

TEST_F(NoticesE2E, HtmlAndXmlRuns) {
  dir.Write("t.c", kThreeTabs);
  RunResult r = Run({"-H", "-n", "t.c"});
  EXPECT_NE(r.out.find("\n    <font color=\"#CC0000\"><b>Notice</b></font> #30: <b>Line 2</b>: A TAB character"),
            std::string::npos)
      << r.out;
  r = Run({"-X", "-Tn", "t.c"});
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.out.find("<notice>\n<type>30</type>\n<line>2</line><description>TAB character has been identified"
                       "</description>\n</notice>\n"),
            std::string::npos)
      << r.out;
}

}  // namespace
