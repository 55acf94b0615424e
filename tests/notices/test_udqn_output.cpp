// The text of user defined notices in every output mode: fired notices,
// message expansion, the definition listing, the profile rows and -hn.
#include <gtest/gtest.h>

#include <string>

#include "capture_out.h"
#include "common/gcd.h"
#include "notices/udqn.h"
#include "notices/udqn_internal.h"
#include "test_support.h"

namespace {

class UdqnOutput : public ::testing::Test {
 protected:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  UdqnDefinition def;
  void SetUp() override {
    def.id = 123;
    def.active = 1;
    def.summary = "no printf, use log";
    def.message = "printf at _FILE_:_LINE#_ 100%\\n_LINE_ <here>";
    gcd->drv.currentFileName = "src/a.c";
    gcd->drv.lineNumber = 42;
  }
  std::string Fire(OutputMode mode, int singleLine = 0, int visualStudio = 0) {
    gcd->sw.outputMode = mode;
    gcd->sw.qualityNotices = 1;
    gcd->sw.noticeSingleLine = singleLine;
    gcd->sw.noticeVisualStudio = visualStudio;
    return CaptureOut([&] { emit_udqn(def, "  printf(\"a, b\");\r\n", *gcd); });
  }
};

TEST_F(UdqnOutput, VerboseFormsExpandTheMessage) {
  EXPECT_EQ(Fire(OutputMode::Text),
            "\n    Notice #123: printf at src/a.c:42 100%\n             printf(\"a, b\"); <here>\n");
  EXPECT_EQ(Fire(OutputMode::Html),
            "\n    <font color=\"#CC0000\"><b>Notice</b></font> #123: printf at <b>src/a.c</b>:<b>42</b> 100%\n"
            "           <b>  printf(\"a, b\");</b> &lt;here&gt;\n");
  // CSV drops the commas of the message, inserted text included.
  EXPECT_EQ(Fire(OutputMode::Csv),
            "\n    Notice #123: printf at src/a.c:42 100%\n             printf(\"a b\"); <here>\n");
  EXPECT_EQ(gcd->notices.run.total, 3);
  EXPECT_EQ(gcd->eng.fc.notices, 3);
  EXPECT_EQ(def.hits, 3);
  EXPECT_EQ(gcd->lists.noticeOccurrences.count, 0);  // verbose notices are not listed
}

TEST_F(UdqnOutput, SingleLineFormsAndTheOccurrenceList) {
  def.summary = "no printf, use <log>";
  EXPECT_EQ(Fire(OutputMode::Text, 1), "  Notice # 123: Line 42, no printf, use <log>\n");
  EXPECT_EQ(Fire(OutputMode::Text, 0, 1), "src/a.c(42) : Notice #123  - no printf, use <log>\n");
  EXPECT_EQ(Fire(OutputMode::Html, 1),
            "  <font color=#CC0000>Notice</font> <b># 123</b>: Line <b>42</b>, no printf, use &lt;log&gt;\n");
  EXPECT_EQ(Fire(OutputMode::Csv, 1), "Notice #, 123,Line,42,no printf  use <log>\n");
  EXPECT_EQ(Fire(OutputMode::Xml, 1),
            "<notice>\n<type>123</type>\n<line>42</line>\n<description>no printf, use &lt;log&gt;</description>"
            "</notice>\n");
  gcd->sw.noFileNames = 1;
  EXPECT_EQ(Fire(OutputMode::Xml, 1), "");
  ASSERT_EQ(gcd->lists.noticeOccurrences.count, 6);
  const NameData& first = *gcd->lists.noticeOccurrences.head->data;
  EXPECT_EQ(first.name, "src/a.c");
  EXPECT_EQ(first.value1, 42u);
  EXPECT_EQ(first.value2, 123u);
}

TEST_F(UdqnOutput, TotalsModeCountsWithoutPrintingUnlessNoticesAreListed) {
  gcd->sw.totalsOnly = 1;
  EXPECT_EQ(Fire(OutputMode::Text), "");
  gcd->sw.noticeListMode = 1;
  EXPECT_EQ(Fire(OutputMode::Text), "  Notice # 123: Line 42, no printf, use log\n");
  EXPECT_EQ(gcd->notices.run.total, 2);
}

TEST_F(UdqnOutput, SilentDefinitionsOnlyMoveFlags) {
  def.silent = 1;
  def.setFlags = {4};
  def.clearFlags = {6};
  gcd->udqn.flags[6] = 1;
  EXPECT_EQ(Fire(OutputMode::Text), "");
  EXPECT_EQ(gcd->udqn.flags[4], 1);
  EXPECT_EQ(gcd->udqn.flags[6], 0);
  EXPECT_EQ(gcd->notices.run.total, 0);
  EXPECT_EQ(def.hits, 0);
}

TEST_F(UdqnOutput, ShowListsADefinitionWithExampleValues) {
  def.sources = {"c", "h"};
  def.context = kUdqnCode;
  def.pattern = "printf";
  def.setFlags = {1, 2};
  def.notCheckFlags = {9};
  def.compileStatus = "Successful Pattern Compile";
  def.testString = "printf(x)";
  def.testResult = "Expression Match: Start[1] End[6] Span[6]";
  gcd->udqn.showing = 1;
  const std::string out = CaptureOut([&] { UdqnShow(def, *gcd); });
  EXPECT_EQ(out,
            "\n  #------------------------------------------------------\n"
            "  UDQN Id      : 123\n"
            "  Active       : Yes\n"
            "  Sources      : c h \n"
            "  Context      : Code\n"
            "  Pattern      : printf\n"
            "  Set Flags    : 1, 2\n"
            "  Check Flags  : \n"
            "  !Check Flags : 9\n"
            "  Clear Flags  : \n"
            "  Emit EOF Flag: No\n"
            "  Silent Flag  : No\n"
            "  Compile      : Successful Pattern Compile\n"
            "  String       : printf(x)\n"
            "  Test         : Expression Match: Start[1] End[6] Span[6]\n"
            "  Count        : 0\n"
            "  Summary      : no printf, use log\n"
            "  Message      : printf at _FILE_:_LINE#_ 100%\\n_LINE_ <here>\n"
            "  Formated     : \n"
            "printf at ExampleFileName.c:127 100%\n"
            "           Some Example Source Code Line; <here>\n");
}

TEST_F(UdqnOutput, MessagePlaceholdersAtTheEdges) {
  const std::string out = CaptureOut([&] {
    emit_message("_FUNC__CLASS_\\n%s%d\\", "x\n", *gcd);
    emit_message("_LINE", "y\n", *gcd);
  });
  // No function or class is open; a lone backslash and an unfinished token stay.
  EXPECT_EQ(out, "\n           %s%d\\\n_LINE\n");
}

TEST_F(UdqnOutput, ProfileRowsInEveryMode) {
  auto add = [&](int id, int hits, int active, int silent, const char* summary) {
    auto d = std::make_unique<UdqnDefinition>();
    d->id = id;
    d->hits = hits;
    d->active = active;
    d->silent = silent;
    d->summary = summary;
    gcd->udqn.byId[id] = d.get();
    gcd->udqn.definitions.push_back(std::move(d));
  };
  add(100, 3, 1, 0, "a, <b>");
  add(101, 0, 1, 0, "never");
  add(102, 5, 0, 0, "inactive");
  add(103, 2, 1, 1, "silent");
  add(104, 1, 1, 0, "one");
  auto profile = [&](OutputMode mode, int total) {
    gcd->sw.outputMode = mode;
    return CaptureOut([&] { udqn_profile(total, *gcd); });
  };
  EXPECT_EQ(profile(OutputMode::Text, 8), "  100       3   37.50  a, <b>\n  104       1   12.50  one\n");
  EXPECT_EQ(profile(OutputMode::Csv, 8), " 100,     3, 37.50,a  <b>\n 104,     1, 12.50,one\n");
  EXPECT_TRUE(profile(OutputMode::Xml, 8).starts_with(
            "<notice>\n<type>100</type>\n<count>3</count>\n<percent>37.50</percent>\n"
            "<description>a, &lt;b&gt;</description>\n</notice>\n<notice>\n<type>104</type>\n"));
  EXPECT_TRUE(profile(OutputMode::Html, 8).starts_with(
            "  <b><font color=\"#CC0000\">100 </font></b> <b><font color=\"#0000FF\">     3</font></b>  <b><font "
            "color=\"#663300\"> 37.50</font></b>  <b>a, &lt;b&gt;</b>\n"));
  EXPECT_EQ(profile(OutputMode::Text, 0), "");
  EXPECT_EQ(udqn_notice_total_count(*gcd), 6);
  EXPECT_STREQ(UdqnSummary(104, *gcd), "one");
  EXPECT_EQ(UdqnSummary(999, *gcd), nullptr);
}

TEST_F(UdqnOutput, NoticeTypesScreenListsDefinitionsWithASummary) {
  TempDir dir;
  const std::string path = dir.Write(
      "u.cfg",
      "UDQN Begin:\nudqn id: 150\nsources: c\ncontext: Line\npattern: a\nsummary: first rule\nUDQN End:\n"
      "UDQN Begin:\nudqn id: 151\nactive: yes\nsources: c\ncontext: Line\npattern: b\nsummary: x\nUDQN End:\n"
      "UDQN Begin:\nudqn id: 152\nactive: yes\nsources: c\ncontext: Line\npattern: c\nsummary: third\nUDQN End:\n");
  gcd->cfg.udqnFile = path;
  const std::string out = CaptureOut([&] { udqn_notice_types(*gcd); });
  EXPECT_EQ(out, "  UDQN File   : " + path + "\n  PCRE Version: " + udqn_pcre_version() +
                     "\n  Notice 150 : [Off] first rule\n  Notice 152 : [ On] third\n");
  EXPECT_NE(std::string(udqn_pcre_version()).find("10."), std::string::npos);
}

}  // namespace
