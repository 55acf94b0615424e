// Report headers: written to a temporary stream and read back.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/header.h"

namespace {

std::string ReadAll(FILE* f) {
  fflush(f);
  rewind(f);
  std::string out;
  char buf[512];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  return out;
}

class ReportHeader : public ::testing::Test {
 protected:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  FILE* file = tmpfile();
  FILE* saved = gLQAOUT;
  void SetUp() override {
    gLQAOUT = file;
    gcd->drv.cfgFile = "/home/u/lqa.cfg";
    gcd->drv.commandLine = "-n a<b.c";
  }
  void TearDown() override {
    gLQAOUT = saved;
    fclose(file);
  }
  std::string Out() { return ReadAll(file); }
};

bool Contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

TEST_F(ReportHeader, TextHeaderShape) {
  gcd->sw.titleGiven = 1;
  gcd->sw.title = "My Title";
  ShowHeader(gLQAOUT, *gcd, 0);
  const std::string out = Out();
  EXPECT_EQ(out.rfind("\n           Line Quality Analyzer (TM) for C, C++, C# and Java\n", 0), 0u);
  EXPECT_TRUE(Contains(out, std::string(32, ' ') + "Version 7.75\n\n  Build Date  : "));
  EXPECT_TRUE(Contains(out, "                     Run Date: "));
  EXPECT_TRUE(Contains(out, "\n  " + std::string(72, '_') + "\n\n  Config. File: /home/u/lqa.cfg\n"));
  EXPECT_TRUE(Contains(out, "  Command Line: "));
  EXPECT_EQ(out.substr(out.size() - 45), "\n" + std::string(34, ' ') + "My Title\n\n");
}

TEST_F(ReportHeader, HtmlPreambleSurvivesNoHeader) {
  gcd->sw.outputMode = OutputMode::Html;
  gcd->sw.noHeader = 1;
  gcd->sw.titleGiven = 1;
  gcd->sw.title = "T";
  ShowHeader(gLQAOUT, *gcd, 0);
  const std::string out = Out();
  EXPECT_EQ(out.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE html", 0), 0u);
  EXPECT_TRUE(Contains(out, "<title>Line Quality Analyzer 7.75</title>\n"));
  EXPECT_TRUE(Contains(out, "<body bgcolor=\"#F8F8F8\" text=\"#000000\" vlink=\"#660099\" link=\"#0000EE\" "
                            "alink=\"#CCCCCC\" >\n"));
  EXPECT_EQ(out.substr(out.size() - 6), "<pre>\n");  // nothing after the preamble, not even the title
}

TEST_F(ReportHeader, HtmlBodyFallsBackWithoutLinkColours) {
  gcd->sw.outputMode = OutputMode::Html;
  gcd->sw.noHeader = 1;
  gcd->cfg.htmlBackgroundColor.clear();
  gcd->cfg.htmlLinkColor.clear();
  ShowHeader(gLQAOUT, *gcd, 0);
  EXPECT_TRUE(Contains(Out(), "<body text=\"#000000\" vlink=\"#660099\" link=\"#0000ee\" alink=\"#CCCCCC\">\n"));
}

TEST_F(ReportHeader, XmlHeaderEscapesCommandOnly) {
  gcd->sw.xslFile = "c:\\style\\x.xsl";
  gcd->sw.noConfigLine = 1;
  XML_Header(gLQAOUT, *gcd);
  const std::string out = Out();
  EXPECT_EQ(out.rfind("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
                      "<?xml-stylesheet type=\"text/xsl\" href=\"file:///c:/style/x.xsl\"?>\n<lqadoc>\n"
                      "<program>Line Quality Analyzer</program>\n<version>7.75</version>\n<date>",
                      0),
            0u);
  EXPECT_TRUE(Contains(out, "</date>\n<command>-n a&lt;b.c</command>\n"));
  EXPECT_FALSE(Contains(out, "config_file"));
}

TEST_F(ReportHeader, CsvHeaderLines) {
  gcd->cfg.reportHeaderActive = 1;
  gcd->cfg.reportHeaderTextLine = "ACME";
  CSV_Header(gLQAOUT, *gcd);
  const std::string out = Out();
  EXPECT_EQ(out.rfind("ACME\n\nLine Quality Analyzer\nVersion,7.75\nDate Processed,", 0), 0u);
  EXPECT_TRUE(Contains(out, "\n\nLQA Command Line,-n a<b.c\nConfiguration File,/home/u/lqa.cfg\n"));
}

TEST_F(ReportHeader, SectionTitlesInOrder) {
  gcd->sw.functionAnalysis = 1;
  gcd->sw.functionListing = 1;
  gcd->sw.complexity = 1;
  gcd->sw.qualityNotices = 1;
  gcd->sw.macroIdentification = 1;  // hidden by -n
  ShowFMCHeader(*gcd);
  const std::string out = Out();
  const size_t listing = out.find("~~ Function Listing ~~\n");
  const size_t complexity = out.find("~~ Complexity Analysis ~~\n");
  const size_t quality = out.find("~~ Quality Analysis ~~\n");
  ASSERT_NE(listing, std::string::npos);
  EXPECT_LT(listing, complexity);
  EXPECT_LT(complexity, quality);
  EXPECT_FALSE(Contains(out, "Macro"));

  gcd->sw.totalsOnly = 1;
  rewind(file);
  const long before = ftell(file);
  ShowFMCHeader(*gcd);
  EXPECT_EQ(before, ftell(file));
}

}  // namespace
