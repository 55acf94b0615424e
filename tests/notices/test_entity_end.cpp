// The notices of functions and types at their closing brace, and of class data.
#include <gtest/gtest.h>

#include "notice_engine.h"
#include "notices/notices.h"

namespace {

class EntityEnd : public ::testing::Test {
 protected:
  NoticeEngine e;
  void SetUp() override { e.gcd().drv.lineNumber = 40; }
  // A function that breaks no rule: every limit at its value.
  static FunctionEndInfo Clean() {
    FunctionEndInfo f;
    f.name = "abcdefghijklmnopqrstuvwxyz012345";  // 32 characters
    f.loc = 8;
    f.eloc = 200;
    f.lloc = 1;
    f.comments = 1;   // 1 of 9 lines: 11.1%
    f.blanks = 1;     // 1 of 10 lines: 10.0%
    f.whitespace = 10;
    f.characters = 100;
    f.cases = 2;
    f.defaults = 1;
    f.breaks = 1;
    f.fallThrough = 1;
    f.switches = 1;
    f.parameters = 6;
    f.returnPoints = 1;
    f.cyclomatic = 10;
    return f;
  }
  std::string Run(const FunctionEndInfo& f) {
    return CaptureOut([&] { CheckFunctionEnd(f, e.gcd()); });
  }
};

TEST_F(EntityEnd, LimitsAtTheirValueDoNotFire) {
  SetNoticeFlag(46, 1, e.gcd());
  Run(Clean());
  EXPECT_TRUE(e.Fired().empty());
}

TEST_F(EntityEnd, FunctionNoticesInTheirOrder) {
  SetNoticeFlag(46, 1, e.gcd());
  FunctionEndInfo f;
  f.name = "a_function_name_of_thirty_three_c";
  f.oldStyleParams = 1;
  f.bracketDepth = 1;
  f.parenDepth = -1;
  f.switches = 2;
  f.defaults = 1;
  f.cases = 3;
  f.breaks = 1;
  f.loc = 10;
  f.characters = 100;
  f.eloc = 201;
  f.returnPoints = 2;
  f.parameters = 7;
  f.cyclomatic = 11;
  Run(f);
  EXPECT_EQ(e.Numbers(), (std::vector<int>{2, 10, 11, 12, 13, 14, 17, 46, 16, 18, 27, 29, 48, 28}));
  for (const auto& fired : e.Fired()) EXPECT_EQ(fired.first, 40);
  // No parameters and no (void): 49, but never for a destructor.
  NoticeEngine other;
  FunctionEndInfo g = Clean();
  g.parameters = 0;
  CheckFunctionEnd(g, other.gcd());
  g.name = "Foo::~Foo";
  CheckFunctionEnd(g, other.gcd());
  g.name = "f";
  g.voidParams = 1;
  CheckFunctionEnd(g, other.gcd());
  EXPECT_EQ(other.Numbers(), (std::vector<int>{49}));
}

TEST_F(EntityEnd, ContentChecksWaitForTheMinimumSize) {
  e.gcd().cfg.minFunctionLocForContent = 10;
  FunctionEndInfo f = Clean();
  f.loc = 10;
  f.comments = 0;
  f.whitespace = 0;
  Run(f);
  EXPECT_TRUE(e.Fired().empty());
  f.loc = 11;
  Run(f);
  EXPECT_EQ(e.Numbers(), (std::vector<int>{17, 16}));
}

TEST_F(EntityEnd, CaseAndBreakCounts) {
  e.gcd().sw.noticeSingleLine = e.gcd().sw.noticeListMode = 0;
  FunctionEndInfo f = Clean();
  f.cases = 3;
  f.defaults = 1;
  f.breaks = 1;
  f.fallThrough = 1;
  const std::string tail =
      "           This condition can occur when sequential case statements are used.\n"
      "           Check this function to insure no erroneous behavior will occur\n"
      "           by an unexpected fall through to the next case statement.\n"
      "           You may indicate to LQA that a 'case' statement is designed\n"
      "           to fall through by using a comment with these words\n";
  const std::string head =
      "\n    Notice #14: All 'case/default' conditions do not have a matching\n"
      "           'break', or 'fall through' comments.\n";
  EXPECT_EQ(Run(f), head + "           case : 3   " + std::string(30, ' ') + "Total 3   \n" +
                        "           break: 1     fall through comment: 1     Total 2   \n" + tail);
  e.gcd().cfg.useDefaultInCaseBreak = 1;
  EXPECT_EQ(Run(f), head + "           case : 3     default: 1                  Total 4   \n" +
                        "           break: 1     fall through comment: 1     Total 2   \n" + tail);
  // Equal counts, with the default included, do not fire.
  f.breaks = 2;
  f.fallThrough = 2;
  EXPECT_EQ(Run(f), "");
}

TEST_F(EntityEnd, TypeNotices) {
  SetNoticeFlag(46, 1, e.gcd());
  e.gcd().sw.noticeSingleLine = e.gcd().sw.noticeListMode = 0;
  ClassEndInfo c;
  c.kind = "Struct";
  c.isStruct = 1;
  c.loc = 10;
  c.characters = 100;
  c.methods = 101;
  c.virtualMethods = 1;
  const std::string out = CaptureOut([&] { CheckClassEnd(c, e.gcd()); });
  const std::string percentages =
      "\n    Notice #31: Struct comments, 0.0% are less than 10.0%.\n"
      "\n    Notice #16: Struct white space, 0.0% is less than 10.0%.\n"
      "\n    Notice #46: Struct blank line percent, 0.0% is less than 10.0%.\n";
  EXPECT_EQ(out.substr(0, percentages.size()), percentages);
  EXPECT_NE(out.find("\n    Notice #39: Line 40: The Number of struct methods exceeds the specified\n"
                     "           maximum of 100 methods (public, protected and private).\n"),
            std::string::npos);
  EXPECT_NE(out.find("\n    Notice #37: Line 40: This class does not appear"), std::string::npos);
  c.virtualDestructor = 1;
  c.methods = 100;
  c.loc = 0;
  EXPECT_EQ(CaptureOut([&] { CheckClassEnd(c, e.gcd()); }), "");
}

TEST_F(EntityEnd, PublicAndProtectedClassData) {
  GlobalData& g = e.gcd();
  for (const char* decl : {"public event EventHandler Changed;", "public const int X = 1;", "public delegate void D();"})
    EmitClassPublicDataNotice(decl, 0, g);
  EmitClassPublicDataNotice("public int count;", 1, g);  // a struct
  EmitClassProtectedDataNotice(1, g);
  EXPECT_TRUE(e.Fired().empty());
  EmitClassPublicDataNotice("public int constant_count;", 0, g);
  EmitClassProtectedDataNotice(0, g);
  EXPECT_EQ(e.Numbers(), (std::vector<int>{35, 36}));
  g.cfg.ignorePublicEvent = 0;
  EmitClassPublicDataNotice("public event EventHandler Changed;", 0, g);
  g.lang.isJava = 1;
  EmitClassPublicDataNotice("public static final int MAX = 3;", 0, g);
  EXPECT_EQ(e.Numbers(), (std::vector<int>{35, 36, 35}));
}

}  // namespace
