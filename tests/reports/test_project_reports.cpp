// Project reports from counters and records set up here: the file function
// summary, quality profile, verbose metrics, estimation, language and file
// summaries, and the -T dispatcher.
#include <gtest/gtest.h>

#include <string>

#include "capture_out.h"
#include "common/gcd.h"
#include "reports/entity_listing.h"
#include "reports/estimation.h"
#include "reports/project_reports.h"
#include "structure/entity_records.h"
#include "test_support.h"

namespace {

class ProjectReports : public ::testing::Test {
 protected:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  void Mode(OutputMode m) { gcd->sw.outputMode = m; }
};

TEST_F(ProjectReports, FileFunctionSummaryAddsTheTwoInterfaceMaxima) {
  gcd->sw.functionAnalysis = 1;
  gcd->sw.complexity = 1;
  gcd->lang.isCpp = 1;  // 53 lines per function point
  FileComplexity& cx = gcd->eng.fileCx;
  gcd->eng.fc.functions = 2;
  cx.sumLoc = 106;
  cx.sumEloc = 90;
  cx.sumLloc = 40;
  cx.sumParameters = 5;
  cx.sumReturns = 3;
  cx.sumCyclomatic = 7;
  cx.maxLoc = 80;
  cx.maxParameters = 4;  // one function has the most parameters,
  cx.maxReturns = 2;     // the other the most return points
  cx.maxCyclomatic = 5;
  cx.maxTotal = 9;
  const std::string out = CaptureOut([&] { ShowFileFunctionSummary(*gcd); });
  EXPECT_NE(out.find("~~ File Functional Summary ~~"), std::string::npos);
  EXPECT_TRUE(HasLine(out, "  File Function Count....:          2"));
  EXPECT_TRUE(HasLine(out, "  Total Function LOC.....:        106  Total Function Pts LOC :        2.0")) << out;
  EXPECT_TRUE(HasLine(out, "  Total Cyclo Complexity :          7  Total Function Complex.:         15"));
  EXPECT_TRUE(HasLine(out, "  Max Function LOC ......:         80  Average Function LOC ..:      53.00"));
  EXPECT_TRUE(HasLine(out, "  Max Interface Complex. :          6  Avg Interface Complex. :       4.00"));

  Mode(OutputMode::Csv);
  const std::string csv = CaptureOut([&] { ShowFileFunctionSummary(*gcd); });
  EXPECT_NE(csv.find("File Functional Summary\nFunctions,2\nLOC,106,eLOC,90,lLOC,40,Comments,0,Parameters,5,"),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find("File Functional Maximum Summary\nLOC,80,eLOC,0,lLOC,0,,,Parameters,4,Returns,2,"
                     "Cyclo Complex,5,Inter Complex,6,Total Complex,9\n"),
            std::string::npos);

  Mode(OutputMode::Xml);
  const std::string xml = CaptureOut([&] { ShowFileFunctionSummary(*gcd); });
  EXPECT_NE(xml.find("<file_function_maximums>\n<LOC>80</LOC>\n"), std::string::npos);
  EXPECT_NE(xml.find("<function_points_loc>       2.0</function_points_loc>"), std::string::npos);

  gcd->eng.fc.functions = 0;
  EXPECT_EQ(CaptureOut([&] { ShowFileFunctionSummary(*gcd); }), "");
}

TEST_F(ProjectReports, QualityProfileRowsAndDensity) {
  gcd->notices.run.perNotice[20] = 4;
  gcd->notices.run.perNotice[47] = 3;
  gcd->eng.fc.loc = 3500;
  gcd->eng.fc.statements = 0;  // lLOC 0: no lLOC density
  const std::string out = CaptureOut([&] { ShowQualityProfile(*gcd); });
  EXPECT_TRUE(HasLine(out, "  20        4   57.14  File comment content < 10.0%")) << out;
  EXPECT_TRUE(HasLine(out, "  47        3   42.86  File Blank Line content < 10.0%"));
  EXPECT_TRUE(HasLine(out, "            7  100.00  Total Quality Notices"));
  EXPECT_TRUE(HasLine(out, "  Quality Notices/K LOC   =        2.0 (  0.20%)"));
  EXPECT_EQ(out.find("K lLOC"), std::string::npos);

  Mode(OutputMode::Csv);
  const std::string csv = CaptureOut([&] { ShowQualityProfile(*gcd); });
  EXPECT_NE(csv.find("\n20,      4, 57.14,File comment content < 10.0%\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("QN/K LOC,2.0,0.20\n"), std::string::npos);

  Mode(OutputMode::Xml);
  const std::string xml = CaptureOut([&] { ShowQualityProfile(*gcd); });
  EXPECT_NE(xml.find("<total_notices>7</total_notices>"), std::string::npos);
  EXPECT_NE(xml.find("<type>All</type>\n<count>7</count>\n<percent>100.00</percent>"), std::string::npos);
}

TEST_F(ProjectReports, EmptyQualityProfileAndNoNoticeSummary) {
  const std::string out = CaptureOut([&] { ShowQualityProfile(*gcd); });
  EXPECT_TRUE(HasLine(out, "            0  100.00  Total Quality Notices"));
  EXPECT_EQ(out.find("Quality Notices/K"), std::string::npos);
  EXPECT_EQ(CaptureOut([&] { ShowNoticeSummary(*gcd); }), "");
}

TEST_F(ProjectReports, NoticeSummaryFormsAndSorting) {
  AddNameNode("src/b.c", 7, 20, gcd->lists.noticeOccurrences, 0, *gcd);
  AddNameNode("src/a.c", 3, 9, gcd->lists.noticeOccurrences, 0, *gcd);
  AddNameNode("src/a.c", 5, 9, gcd->lists.noticeOccurrences, 0, *gcd);
  std::string out = CaptureOut([&] { ShowNoticeSummary(*gcd); });
  EXPECT_TRUE(HasLine(out, "  Total Quality Notices: 3"));
  EXPECT_TRUE(HasLine(out, "  src/b.c - Notice #20: Line 7, File comment content < 10.0%"));
  gcd->sw.sortKey = 2;
  gcd->sw.noticeVisualStudio = 1;
  out = CaptureOut([&] { ShowNoticeSummary(*gcd); });
  // By name; equal names come out in reverse order of arrival.
  EXPECT_LT(out.find("src/a.c(5)"), out.find("src/a.c(3)"));
  EXPECT_LT(out.find("src/a.c(3)"), out.find("src/b.c(7) : Notice #20 - File comment content < 10.0%"));
  Mode(OutputMode::Csv);
  // A second re-sort reverses the equal names once more.
  out = CaptureOut([&] { ShowNoticeSummary(*gcd); });
  EXPECT_NE(out.find("Total Quality Notices. 3\n\nFilename, Notice, Line, Description\nsrc/a.c,  9, 3, "),
            std::string::npos)
      << out;
}

TEST_F(ProjectReports, VerboseMetricsOfAnEmptyFile) {
  const std::string out = CaptureOut([&] { ShowVerbose(*gcd, 0); });
  EXPECT_NE(out.find("~~ File Keywords and Metrics ~~"), std::string::npos);
  EXPECT_TRUE(HasLine(out, "  Blank Lines .........:            0  namespace, package ..:     0,     0"));
  EXPECT_TRUE(HasLine(out, "  Comment Lines .......:            0  inline ..............:            0"));
  EXPECT_TRUE(HasLine(out, "  do, while ...........:      0,    0  Code, eCode Lines ...:  0.0%,  0.0%"));
  EXPECT_TRUE(HasLine(out, "  for .................:            0  Characters, Spaces ..:  0.0%,  0.0%"));
  Mode(OutputMode::Xml);
  const std::string xml = CaptureOut([&] { ShowVerbose(*gcd, 1); });
  EXPECT_NE(xml.find("<name>Total Verbose Metrics</name>"), std::string::npos);
  EXPECT_NE(xml.find("<loc_percent_logical_lines>0</loc_percent_logical_lines>"), std::string::npos);
  EXPECT_NE(xml.find("<spaces_percent>0.0</spaces_percent>"), std::string::npos);
}

TEST_F(ProjectReports, VerboseMetricsWithFunctions) {
  FileCounts& c = gcd->eng.fc;
  c.loc = 30;
  c.comment = 10;
  c.blank = 10;
  c.characters = 1000;
  c.whitespace = 200;
  c.functions = 4;
  c.virtuals = 1;
  const std::string out = CaptureOut([&] { ShowVerbose(*gcd, 1); });
  EXPECT_TRUE(HasLine(out, "  Comment Lines .......:           10  func, virtual, inline:     4,  1, 0"));
  EXPECT_TRUE(HasLine(out, "  const, enum .........:      0,    0  Chars/NBLine, Notices:    20,     0"));
  EXPECT_TRUE(HasLine(out, "  do, while ...........:      0,    0  Code, eCode Lines ...: 60.0%, 60.0%"));
}

TEST_F(ProjectReports, EstimationNeedsFunctionsAndGuardsEachDivisor) {
  EXPECT_EQ(CaptureOut([&] { ShowEstimation(*gcd); }), "");
  NodeData f;
  f.name = "f";
  f.loc = 30;
  f.eloc = 20;
  f.lloc = 10;
  f.cyclomatic = 4;
  FuncReturns(f) = 2;
  AddListNode(0, f, gcd->lists.functions, *gcd);
  AddListNode(0, f, gcd->lists.functions, *gcd);
  const std::string out = CaptureOut([&] { ShowEstimation(*gcd); });
  EXPECT_TRUE(HasLine(out, "  Total Function Count ..:          2"));
  EXPECT_TRUE(HasLine(out, "  Total Cylco. Complexity:          8  Total Function Complex.:         12"));
  EXPECT_TRUE(HasLine(out, "  Lines of Code, LOC, per Function ...........................:      30.00"));
  EXPECT_TRUE(HasLine(out, "  Lines of Code, LOC, per Function Input Parameter ...........:       0.00"));
  EXPECT_TRUE(HasLine(out, "  lLOC per Function Complexity (Cyclomatic+Interface Complex.):       1.67"));
  Mode(OutputMode::Csv);
  EXPECT_EQ(CaptureOut([&] { ShowEstimation(*gcd); }), "");
}

TEST_F(ProjectReports, LanguageSummaryAndProfileSkipEmptyLanguages) {
  gcd->langTot[kGroupC] = {100, 80, 60, 20, 10, 130};
  gcd->langTot[kGroupJava] = {300, 240, 180, 60, 30, 390};
  gcd->lang.cFiles = 2;
  gcd->lang.javaFiles = 3;
  gcd->sw.functionPoints = 1;
  const std::string out = CaptureOut([&] {
    ShowLanguageProfile(*gcd);
    ShowLanguageSummary(*gcd);
  });
  EXPECT_TRUE(HasLine(out, "  *.c         25.0      25.0      25.0          25.0       25.0       25.0")) << out;
  EXPECT_TRUE(HasLine(out, "  *.java      75.0      75.0      75.0          75.0       75.0       75.0"));
  EXPECT_EQ(out.find("*.cs "), std::string::npos);
  EXPECT_NE(out.find("\n  C Source Files *.c\n  LOC 100 "), std::string::npos);
  EXPECT_NE(out.find("  Average per File, metric/3 files\n  LOC 100 "), std::string::npos);
  EXPECT_EQ(out.find("C++ Source Files"), std::string::npos);
  EXPECT_NE(out.find("\n  Total All Languages\n  LOC 400 "), std::string::npos);

  Mode(OutputMode::Csv);
  const std::string csv = CaptureOut([&] { ShowLanguageSummary(*gcd); });
  EXPECT_NE(csv.find(" ,Java Source File *.java, , , 300/5.7       ,240/4.5       ,180/3.4       ,60,30,390\n"),
            std::string::npos)
      << csv;
  Mode(OutputMode::Xml);
  const std::string xml = CaptureOut([&] { ShowLanguageSummary(*gcd); });
  EXPECT_NE(xml.find("<name>Total All Languages</name>\n<loc>400</loc>"), std::string::npos);
  EXPECT_NE(xml.find("<lines>520</lines>\n<function_points_loc>0.0</function_points_loc>"), std::string::npos);
}

TEST_F(ProjectReports, FileDetailListTotalsAndAverageRoundedUp) {
  gcd->sw.totalsDetail = 1;
  gcd->sw.functionPoints = 1;
  gcd->cfg.showFileDateSize = 0;
  FileData a;
  a.name = "a.c";
  a.date = 1000;
  a.loc = 10;
  a.eloc = 9;
  a.functions = 1;
  a.notices = 1;
  a.size = 101;
  FileData b = a;
  b.name = "b.c";
  b.loc = 31;
  b.notices = 2;
  b.size = 50;
  AddFileNode(a, gcd->lists.files, 0, *gcd);
  AddFileNode(b, gcd->lists.files, 0, *gcd);
  gcd->lang.cFiles = 2;
  const std::string out = CaptureOut([&] { ShowFileSummary(*gcd); });
  EXPECT_NE(out.find("~~ File Detail Summary ~~"), std::string::npos);
  EXPECT_TRUE(HasLine(out, "  File: b.c"));
  EXPECT_NE(out.find("\n  Total All 2 Files\n  Quality      Funcs 2       Notice 3      QN/Func  1.5    QN/KeLOC    167\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("\n  Average per File\n  Quality      Funcs 1       Notice 2 "), std::string::npos);
  EXPECT_NE(out.find("  LOC 21       eLOC 9 "), std::string::npos);
  EXPECT_TRUE(HasLine(out, "  Other File Count ......:          0  Total File Count ......:          2"));

  gcd->rep = ReportState{};
  Mode(OutputMode::Csv);
  const std::string csv = CaptureOut([&] { ShowFileSummary(*gcd); });
  EXPECT_NE(csv.find("\nTotal All 2,Files\n"), std::string::npos);
  EXPECT_NE(csv.find("\nAverage Per File\n"), std::string::npos);
  EXPECT_NE(csv.find("\nC Source Files *.c,         2\n"), std::string::npos);
}

TEST_F(ProjectReports, TotalReportSelectsItsReportsInOrder) {
  gcd->sw.totalsOnly = 1;
  gcd->sw.analysisRequested = 1;
  gcd->sw.totalsSummary = 1;
  gcd->langTot[kGroupC] = {10, 10, 10, 0, 0, 10};
  std::string out = CaptureOut([&] { ShowTotalReport(*gcd); });
  EXPECT_NE(out.find("~~ Total Project Summary ~~"), std::string::npos);
  EXPECT_EQ(out.find("Language"), std::string::npos);
  gcd->sw.totalsLanguage = 1;
  out = CaptureOut([&] { ShowTotalReport(*gcd); });
  const size_t profile = out.find("~~ Total Language Profile ~~");
  const size_t summary = out.find("~~ Language Summary ~~");
  const size_t totals = out.find("~~ Total Project Summary ~~");
  ASSERT_NE(profile, std::string::npos);
  EXPECT_LT(profile, summary);
  EXPECT_LT(summary, totals);
}

}  // namespace
