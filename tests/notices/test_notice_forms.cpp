// The catalogue, the output forms of a notice and its counting.
#include <gtest/gtest.h>

#include <string>

#include "capture_out.h"
#include "common/gcd.h"
#include "notices/emitters.h"
#include "notices/inline_check_state.h"
#include "notices/inline_checks.h"
#include "notices/notice_emit.h"
#include "notices/notices.h"

namespace {

class NoticeForms : public ::testing::Test {
 protected:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  void SetUp() override {
    gcd->sw.qualityNotices = 1;
    gcd->sw.functionAnalysis = 1;
    gcd->drv.currentFileName = "main.c";
    gcd->drv.lineNumber = 12;
  }
  template <typename Fn>
  std::string Out(Fn fn) {
    return CaptureOut(fn);
  }
  void SingleLine() { gcd->sw.noticeSingleLine = gcd->sw.noticeListMode = 1; }
};

TEST_F(NoticeForms, ShortTextsKeepTheLimitsTheyWerePreparedWith) {
  EXPECT_STREQ(GetNoticeStr(1, *gcd), "Physical line length > 80 characters");  // the default
  gcd->cfg.maxLineLength = 100;
  PrepareNoticeTexts(*gcd);
  EXPECT_STREQ(GetNoticeStr(1, *gcd), "Physical line length > 100 characters");
  gcd->cfg.maxLineLength = 50;
  EXPECT_STREQ(GetNoticeStr(1, *gcd), "Physical line length > 100 characters");
  PrepareNoticeTexts(*gcd);
  EXPECT_STREQ(GetNoticeStr(1, *gcd), "Physical line length > 50 characters");
  gcd->cfg.maxLineLength = 100;
  PrepareNoticeTexts(*gcd);
  EXPECT_STREQ(GetNoticeStr(16, *gcd), "Function/class/struct/interface white space < 10.0%");
  EXPECT_STREQ(GetNoticeStr(39, *gcd), "Number of class/struct methods exceeds specified maximum 100 ");
  EXPECT_STREQ(GetNoticeStr(58, *gcd), "LQA skip quality notices token match - Quality Notices ignored");
  for (int n : {0, -3, 59, 100}) EXPECT_STREQ(GetNoticeStr(n, *gcd), "Unsupported") << n;
}

TEST_F(NoticeForms, EnablingFlagsOutsideTheCatalogue) {
  EXPECT_EQ(SetNoticeFlag(30, 0, *gcd), 0);
  EXPECT_EQ(GetNoticeFlag(30, *gcd), 0);
  EXPECT_EQ(SetNoticeFlag(59, 1, *gcd), 58);
  EXPECT_EQ(SetNoticeFlag(-1, 1, *gcd), 58);
  EXPECT_EQ(GetNoticeFlag(59, *gcd), -1);
  EXPECT_EQ(GetNoticeFlag(-1, *gcd), -1);
  EXPECT_EQ(GetNoticeFlag(0, *gcd), 0);
}

TEST_F(NoticeForms, VerboseBlockInItsThreeForms) {
  const std::string body =
      "The keyword 'continue' has been found.\n"
      "           The use of 'continue' can create code which is difficult\n"
      "           to maintain where the logic flow jumps to the beginning\n"
      "           of the framing control structure.\n";
  EXPECT_EQ(Out([&] { EmitContinueNotice(7, *gcd); }), "\n    Notice #43: Line 7, " + body);
  gcd->cfg.reorderNoticeLine = 1;
  EXPECT_EQ(Out([&] { EmitContinueNotice(7, *gcd); }), "\n    Line 7: Notice #43: " + body);
  // The same fixed text again, for another line: only the number changes.
  EXPECT_EQ(Out([&] { EmitContinueNotice(1234567, *gcd); }), "\n    Line 1234567: Notice #43: " + body);
  gcd->sw.outputMode = OutputMode::Html;
  EXPECT_EQ(Out([&] { EmitContinueNotice(7, *gcd); }),
            "\n    <font color=\"#CC0000\"><b>Notice</b></font> #43: <b>Line 7</b>: " + body);
}

TEST_F(NoticeForms, HeadsOfSingleNotices) {
  const auto starts = [](const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; };
  SetNoticeFlag(51, 1, *gcd);
  SetNoticeFlag(53, 1, *gcd);
  // Protected data: two blanks after the default head, one when the line comes first.
  EXPECT_PRED2(starts, Out([&] { EmitClassProtectedDataNotice(0, *gcd); }), "\n    Notice #36: Line 12:  Protected data");
  // No comment before a block: the notice number and kind are filled in.
  EXPECT_PRED2(starts, Out([&] { EmitNoComment(53, "struct", *gcd); }),
               "\n    Notice #53: Line 12, A struct has been identified which does not\n           have");
  // The scope depth: the line ends the head.
  EXPECT_EQ(Out([&] { EmitScopeNotice(9, 4, *gcd); }),
            "\n    Notice #55: Line 4\n           The depth of scope '9' exceeds the notice limit of 7.\n");
  // File and line for the inheritance and new/delete notices.
  EXPECT_PRED2(starts, Out([&] { EmitInheritanceDepthNotice("a.cpp", 3, "A", *gcd); }),
               "\n    Notice #40: File a.cpp: Line 3\n           The depth of the inheritance tree is greater");
  gcd->cfg.reorderNoticeLine = 1;
  EXPECT_PRED2(starts, Out([&] { EmitClassProtectedDataNotice(0, *gcd); }), "\n    Line 12: Notice #36: Protected data");
  EXPECT_PRED2(starts, Out([&] { EmitNoComment(51, "function", *gcd); }), "\n     Line 12: Notice #51: A function has");
  EXPECT_PRED2(starts, Out([&] { EmitScopeNotice(9, 4, *gcd); }), "\n    Line 4: Notice #55\n           The depth");
  EXPECT_EQ(Out([&] { EmitNewDelNotice(*gcd); }),
            "\n    File main.c: Line 12: Notice #45\n"
            "           New and delete counts do not match for this file.\n"
            "           This could indicate the potential for a memory leak.\n");
}

TEST_F(NoticeForms, SingleLineForms) {
  SingleLine();
  EXPECT_EQ(Out([&] { TabNotice(12, *gcd); }), "  Notice #  30: Line   12, TAB character has been identified\n");
  gcd->cfg.reorderNoticeLine = 1;
  EXPECT_EQ(Out([&] { TabNotice(12, *gcd); }), "  Line   12: Notice #  30: TAB character has been identified\n");
  gcd->sw.outputMode = OutputMode::Xml;
  EXPECT_EQ(Out([&] { TabNotice(12, *gcd); }),
            "<notice>\n<type>30</type>\n<line>12</line><description>TAB character has been identified</description>\n"
            "</notice>\n");
  gcd->sw.noFileNames = 1;
  EXPECT_EQ(Out([&] { TabNotice(12, *gcd); }), "");
  gcd->sw.outputMode = OutputMode::Html;
  EXPECT_EQ(Out([&] { TabNotice(12, *gcd); }),
            "  <font color=#CC0000><b>Notice</b></font> <b>#  30</b>: Line <b>12</b>, TAB character has been identified\n");
  gcd->sw.noticeVisualStudio = 1;
  EXPECT_EQ(Out([&] { TabNotice(12, *gcd); }), "main.c(12) : Notice #30   - TAB character has been identified\n");
  // Every one of them is an occurrence for the notice reports.
  EXPECT_EQ(gcd->lists.noticeOccurrences.count, 6);
  const NameData& first = *gcd->lists.noticeOccurrences.head->data;
  EXPECT_EQ(first.name, "main.c");
  EXPECT_EQ(first.value1, 12u);
  EXPECT_EQ(first.value2, 30u);
}

// The tabs of an indentation raised at once write and count what one call
// per tab writes, in every form, and a prepared text never outlives a change
// of line, notice or form.
TEST_F(NoticeForms, RepeatedTabsAsSingleCalls) {
  const auto oneByOne = [&](int line, int count) {
    return Out([&] {
      for (int k = 0; k < count; ++k) TabNotice(line, *gcd);
    });
  };
  const auto counts = [&] { return std::make_tuple(gcd->eng.fc.notices, gcd->notices.run.perNotice[30], gcd->notices.run.total); };
  for (int form = 0; form < 4; ++form) {
    gcd->cfg.reorderNoticeLine = form == 1 ? 1 : 0;
    gcd->sw.outputMode = form == 2 ? OutputMode::Html : OutputMode::Text;
    if (form == 3) SingleLine();
    const std::string expected = oneByOne(7, 3) + oneByOne(1234567, 1) + oneByOne(7, 2);
    const auto before = counts();
    const std::string batched = Out([&] {
      TabNotices(7, 3, *gcd);
      TabNotices(1234567, 1, *gcd);
      TabNotices(7, 2, *gcd);
      TabNotices(8, 0, *gcd);
    });
    EXPECT_EQ(batched, expected) << form;
    EXPECT_EQ(std::get<2>(counts()) - std::get<2>(before), 6) << form;
    // Another notice between two lines of tabs.
    EXPECT_NE(Out([&] { EmitContinueNotice(7, *gcd); }).find("43"), std::string::npos) << form;
    EXPECT_EQ(Out([&] { TabNotices(9, 2, *gcd); }), oneByOne(9, 2)) << form;
  }
  EXPECT_EQ(gcd->notices.run.perNotice[30], 4 * 16);
  EXPECT_EQ(gcd->eng.fc.notices, 4 * 17);
  // While a file is analysed, the whole batch counts into that file's
  // counters, which the merge adds to the run's.
  NoticeCounts fileCounts;
  gcd->notices.file = &fileCounts;
  Out([&] { TabNotices(10, 3, *gcd); });
  gcd->notices.file = nullptr;
  EXPECT_EQ(fileCounts.perNotice[30], 3);
  EXPECT_EQ(fileCounts.total, 3);
  EXPECT_EQ(gcd->notices.run.perNotice[30], 4 * 16);
  gcd->drv.skipQuality = 1;
  EXPECT_EQ(Out([&] { TabNotices(9, 2, *gcd); }), "");
  EXPECT_EQ(gcd->notices.run.perNotice[30], 4 * 16);
}

TEST_F(NoticeForms, UnboundScopeNamesItsKeywordOnOneLine) {
  SingleLine();
  EXPECT_EQ(Out([&] { EmitScopeError(kScopeElse, 5, *gcd); }),
            "  Notice #  22: Line    5, 'else' is not bound with scope braces {}\n");
  gcd->sw.noticeVisualStudio = 1;
  EXPECT_EQ(Out([&] { EmitScopeError(kScopeWhile, 5, *gcd); }),
            "main.c(5) : Notice #22   - 'while' is not bound with scope braces {}\n");
  gcd->sw.noticeVisualStudio = 0;
  gcd->sw.outputMode = OutputMode::Xml;
  EXPECT_NE(Out([&] { EmitScopeError(kScopeIf, 5, *gcd); }).find("<description>if is not bound with scope braces {}<"),
            std::string::npos);
  // Without function analysis there is no unbound-scope notice.
  gcd->sw.functionAnalysis = 0;
  EXPECT_EQ(Out([&] { EmitScopeError(kScopeIf, 5, *gcd); }), "");
  EXPECT_EQ(gcd->notices.run.perNotice[22], 3);
}

TEST_F(NoticeForms, CountingIsSeparateFromWriting) {
  const auto counts = [&] { return std::make_tuple(gcd->eng.fc.notices, gcd->notices.run.perNotice[30], gcd->notices.run.total); };
  // A totals report counts without writing.
  gcd->sw.totalsOnly = 1;
  EXPECT_EQ(Out([&] { TabNotice(12, *gcd); }), "");
  EXPECT_EQ(counts(), std::make_tuple(1, 1, 1));
  // ... unless its notice list mode lists them (-Tq, -Tn).
  gcd->sw.noticeListMode = 1;
  EXPECT_NE(Out([&] { TabNotice(12, *gcd); }), "");
  // A run without notices listed counts them too.
  gcd->sw = Switches{};
  EXPECT_EQ(Out([&] { TabNotice(12, *gcd); }), "");
  EXPECT_EQ(counts(), std::make_tuple(3, 3, 3));
  // A notice switched off, or one inside a quality skip region, is not counted.
  SetNoticeFlag(30, 0, *gcd);
  TabNotice(12, *gcd);
  SetNoticeFlag(30, 1, *gcd);
  gcd->drv.skipQuality = 1;
  TabNotice(12, *gcd);
  EXPECT_EQ(counts(), std::make_tuple(3, 3, 3));
  // The quality skip start token's own notice counts inside its region.
  SetNoticeFlag(58, 1, *gcd);
  SetNoticeFlag(57, 1, *gcd);
  EmitSkipTokenNotice(58, 3, *gcd);
  EmitSkipTokenNotice(57, 4, *gcd);
  EXPECT_EQ(gcd->notices.run.perNotice[58], 1);
  EXPECT_EQ(gcd->notices.run.perNotice[57], 0);
}

TEST_F(NoticeForms, ExitStatusIsTheCountHeldAt255) {
  for (auto [total, status] : {std::pair{0, 0}, {1, 1}, {254, 254}, {255, 255}, {256, 255}, {1000000, 255}}) {
    gcd->notices.run.total = total;
    EXPECT_EQ(NoticeExitStatus(*gcd), status) << total;
  }
  gcd->sw.qualityNotices = 0;
  EXPECT_EQ(NoticeExitStatus(*gcd), 0);
}

}  // namespace
