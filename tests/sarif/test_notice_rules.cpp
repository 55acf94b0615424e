// The rule table of the documents: ids that never collide, the one-line
// verbose texts, and which notices a run lists.
#include <gtest/gtest.h>

#include <memory>

#include "common/gcd.h"
#include "notices/notice_severity.h"
#include "sarif/notice_rules.h"

namespace {

TEST(NoticeRules, IdsHaveThreeDigitsAndUserNoticesBelow100StayApart) {
  EXPECT_EQ(NoticeRuleId(9, false), "LQA009");
  EXPECT_EQ(NoticeRuleId(58, false), "LQA058");
  EXPECT_EQ(NoticeRuleId(100, true), "LQA100");
  EXPECT_EQ(NoticeRuleId(12345, true), "LQA12345");
  EXPECT_EQ(NoticeRuleId(9, true), "LQAU009");
  EXPECT_EQ(NoticeRuleId(-5, true), "LQAU-05");
}

TEST(NoticeRules, VerboseTemplateOnOneLine) {
  EXPECT_EQ(OneLineText("The name:\n           %s\n           of %-4d is > %d.\n"), "The name: ... of n is > n.");
  EXPECT_EQ(OneLineText("white space, %.1f%% is less than %.1f%%.\n"), "white space, n% is less than n%.");
  EXPECT_EQ(OneLineText(""), "");
}

TEST(NoticeRules, EnabledBuiltinNoticesInOrderThenUserNotices) {
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  for (int n = 1; n <= kNoticeCount; ++n) gcd->cfg.notice[static_cast<std::size_t>(n)] = 1;
  gcd->cfg.notice[30] = 0;
  auto add = [&](int id, int active, int silent) {
    auto def = std::make_unique<UdqnDefinition>();
    def->id = id;
    def->hasId = 1;
    def->active = active;
    def->silent = silent;
    def->summary = "say \"hi\"\nnow";
    def->message = "line one\\nline two";
    def->rank.severity = GitlabSeverity::Critical;
    def->rank.level = LevelForSeverity(GitlabSeverity::Critical);
    gcd->udqn.definitions.push_back(std::move(def));
  };
  add(120, 1, 0);
  add(121, 0, 0);  // inactive
  add(122, 1, 1);  // silent
  const NoticeRuleTable table = BuildNoticeRules(*gcd);
  // 58 notices without 30 and without 25, which is never raised; then 120.
  ASSERT_EQ(table.rules.size(), 57u);
  EXPECT_EQ(table.rules.front().id, "LQA001");
  EXPECT_EQ(table.IndexOf(30, false), -1);
  EXPECT_EQ(table.IndexOf(25, false), -1);
  EXPECT_EQ(table.rules[static_cast<std::size_t>(table.IndexOf(31, false))].id, "LQA031");
  const NoticeRule& user = table.rules.back();
  EXPECT_EQ(table.IndexOf(120, true), 56);
  EXPECT_EQ(table.IndexOf(121, true), -1);
  EXPECT_EQ(table.IndexOf(122, true), -1);
  EXPECT_EQ(user.id, "LQA120");
  EXPECT_EQ(user.shortText, "say \"hi\" now");
  EXPECT_EQ(user.fullText, "line one line two");
  EXPECT_EQ(user.rank.level, SarifLevel::Error);
  // Short texts carry their limits, without trailing blanks.
  EXPECT_EQ(table.rules[static_cast<std::size_t>(table.IndexOf(39, false))].shortText,
            "Number of class/struct methods exceeds specified maximum 100");
}

TEST(NoticeSeverity, EveryBuiltinNoticeIsPlacedConsistently) {
  for (int n = 1; n <= kNoticeCount; ++n) {
    const NoticeSeverity& s = BuiltinNoticeSeverity(n);
    // A SARIF warning is exactly a major GitLab issue.
    EXPECT_EQ(s.level, LevelForSeverity(s.severity)) << "notice " << n;
  }
  NoticeCategory c{};
  EXPECT_TRUE(ParseCategory("bug risk", c));
  EXPECT_EQ(c, NoticeCategory::BugRisk);
  EXPECT_TRUE(ParseCategory("BugRisk", c));
  EXPECT_FALSE(ParseCategory("Security", c));
  GitlabSeverity g{};
  EXPECT_TRUE(ParseGitlabSeverity("MAJOR", g));
  EXPECT_EQ(g, GitlabSeverity::Major);
  EXPECT_FALSE(ParseGitlabSeverity("warning", g));
}

}  // namespace
