// Report writers: output captured by pointing the report stream at a temporary file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/file_report.h"
#include "reports/format.h"
#include "reports/function_points.h"
#include "reports/metric_lines.h"

namespace {

// Redirects gLQAOUT for the lifetime of the object.
class Capture {
 public:
  Capture() : file_(tmpfile()), saved_(gLQAOUT) { gLQAOUT = file_; }
  ~Capture() {
    gLQAOUT = saved_;
    if (file_) fclose(file_);
  }
  std::string Text() {
    fflush(file_);
    std::string out;
    rewind(file_);
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, file_)) > 0) out.append(buf, n);
    return out;
  }

 private:
  FILE* file_;
  FILE* saved_;
};

class ReportFormat : public ::testing::Test {
 protected:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  void Mode(OutputMode m) { gcd->sw.outputMode = m; }
};

std::string Centered(const std::string& text) {
  Capture cap;
  Center(text.c_str());
  return cap.Text();
}

size_t LeadingSpaces(const std::string& s) { return s.find_first_not_of(' '); }

TEST(Centering, LeadingSpacesDependOnHalfTheLength) {
  EXPECT_EQ(LeadingSpaces(Centered(std::string(20, 'x'))), 28u);
  EXPECT_EQ(LeadingSpaces(Centered(std::string(72, 'x'))), 2u);
  EXPECT_EQ(LeadingSpaces(Centered(std::string(74, 'x'))), 1u);
  EXPECT_EQ(LeadingSpaces(Centered(std::string(500, 'x'))), 1u);
  EXPECT_EQ(Centered("ab"), std::string(37, ' ') + "ab\n");
  {
    Capture cap;
    Center(nullptr);
    Center_HTML("1234", "<b>1234</b>");
    EXPECT_EQ(cap.Text(), std::string(36, ' ') + "<b>1234</b>\n");
  }
  // An over-long title is cut to fit the 2048-byte line buffer.
  EXPECT_EQ(Centered(std::string(5000, 'y')).size(), 2047u);
}

TEST(Escaping, XmlEntitiesAndTags) {
  EXPECT_EQ(xml_encode("a<b & c"), "a&lt;b &amp; c");
  EXPECT_EQ(xml_encode("it's \"x\" >"), "it&apos;s &quot;x&quot; &gt;");
  EXPECT_EQ(xml_encode(nullptr), "");
  EXPECT_EQ(xml_tag_encode("My Class/Name"), "my_class_name");
  EXPECT_EQ(xml_tag_encode("A<\"&'>B"), "a_____b");
  // A full buffer never ends in half an entity.
  const std::string amps(1000, '&');
  const std::string enc = xml_encode(amps.c_str());
  EXPECT_LE(enc.size(), 2047u);
  EXPECT_EQ(enc.size() % 5, 0u);
  EXPECT_EQ(XmlEncodeText(std::string(1000, '<').c_str()).size(), 4000u);

  char dest[64];
  EXPECT_STREQ(HTML_esc("a<b>&'c", dest), "a&lt;b&gt;&amp;&#39;c");
  dest[0] = 'z';
  dest[1] = '\0';
  EXPECT_EQ(HTML_esc(nullptr, dest), dest);
  EXPECT_STREQ(dest, "z");
}

TEST_F(ReportFormat, NameWrapping) {
  char dest[2048];
  const std::string n66(66, 'a');
  EXPECT_EQ(std::string(AdjNameLength(n66.c_str(), dest, 66, 8, *gcd)), n66);
  const std::string n67 = n66 + "b";
  EXPECT_EQ(std::string(AdjNameLength(n67.c_str(), dest, 66, 8, *gcd)), n66 + "\n        b");
  // Exactly two widths: no break after the last character.
  const std::string n10(10, 'c');
  EXPECT_EQ(std::string(AdjNameLength(n10.c_str(), dest, 5, 2, *gcd)), "ccccc\n  ccccc");
  gcd->cfg.wrapLongNames = 0;
  EXPECT_EQ(std::string(AdjNameLength(n67.c_str(), dest, 66, 8, *gcd)), n67);
  gcd->cfg.wrapLongNames = 1;
  const std::string huge(4000, 'd');
  EXPECT_EQ(std::strlen(AdjNameLength(huge.c_str(), dest, 10, 30, *gcd)), 2047u);
  EXPECT_STREQ(AdjNameLength(nullptr, dest, 10, 2, *gcd), "");
}

TEST_F(ReportFormat, HyperlinkTargets) {
  gcd->drv.cwd = "/home/u/proj";
  char p1[] = "/home/u/proj/src/a.c";
  EXPECT_EQ(PathFile(p1, *gcd), "src/a.c");
  char p2[] = "/src/a.c";
  EXPECT_EQ(HTMLPathFile(p2, *gcd), "/src/a.c");
  char p3[] = "dir/";
  EXPECT_EQ(PathFile(p3, *gcd), "dir");
  EXPECT_STREQ(p3, "dir");  // the caller's string loses its trailing slash

  gcd->cfg.relativeHtmlLinks = 0;
  char p4[] = "/src/a.c";
  EXPECT_EQ(HTMLPathFile(p4, *gcd), "file:///src/a.c");
  char p5[] = "./b.c";
  EXPECT_EQ(PathFile(p5, *gcd), "/home/u/proj/b.c");
  char p6[] = "c/d.c";
  EXPECT_EQ(PathFile(p6, *gcd), "/home/u/proj/c/d.c");
  char p7[] = "C:\\x.c";
  EXPECT_EQ(PathFile(p7, *gcd), "C:\\x.c");
  // A long target is cut to the length of the report's text buffers.
  std::string longPath = "/" + std::string(3000, 'p');
  EXPECT_EQ(PathFile(longPath.data(), *gcd), longPath.substr(0, 2047));
  EXPECT_EQ(HTMLPathFile(longPath.data(), *gcd), ("file://" + longPath).substr(0, 2047));
}

TEST_F(ReportFormat, LocLinesClampAndAverage) {
  {
    Capture cap;
    LOCLine(10, -5, 3, -1, -2, *gcd);
    EXPECT_EQ(cap.Text(), "  LOC 10       eLOC 0        lLOC 3        Comment 0        Lines       -2\n");
  }
  {
    Capture cap;
    LOCFileAvg(10, 7, 4, 2, 20, 3, *gcd);
    LOCFileAvg(10, 7, 4, 2, 20, 0, *gcd);
    EXPECT_EQ(cap.Text(),
              "  Average per File, metric/3 files\n"
              "  LOC 3        eLOC 2        lLOC 1        Comment 0        Lines        6\n");
  }
  Mode(OutputMode::Csv);
  {
    Capture cap;
    LOCFileAvg(10, 7, 4, 2, 20, 3, *gcd);
    EXPECT_EQ(cap.Text(), "Avg LOC,3,eLOC,2,lLOC,1,Comment,0,Lines,6\n");
  }
  Mode(OutputMode::Xml);
  {
    Capture cap;
    LOCLine(1, 2, 3, 4, 5, *gcd);
    LOCFileAvg(1, 2, 3, 4, 5, 1, *gcd);
    EXPECT_EQ(cap.Text(), "<loc>1</loc>\n<eloc>2</eloc>\n<lloc>3</lloc>\n<comments>4</comments>\n<lines>5</lines>\n");
  }
  Mode(OutputMode::Html);
  {
    Capture cap;
    LOCLine(1, 2, 3, 4, 5, *gcd);
    EXPECT_EQ(cap.Text(),
              "  <b>LOC</b> 1        <b>eLOC</b> 2        <b>lLOC</b> 3        <b>Comment</b> 4        "
              "<b>Lines</b>        5\n");
  }
}

TEST_F(ReportFormat, RatioWritersGuardDivisions) {
  {
    Capture cap;
    ClassFuncLine(0, 5, *gcd);
    FileMethodNotices(3, 7, 3500, *gcd);
    FileMethodNotices(0, 7, 0, *gcd);
    EXPECT_EQ(cap.Text(),
              "  Total Classses 0           Total Functions 5       Avg Func/Class   0.00\n"
              "  Quality      Funcs 3       Notice 7      QN/Func  2.3    QN/KeLOC      2\n"
              "  Quality      Funcs 0       Notice 7      QN/Func  0.0    QN/KeLOC      0\n");
  }
  Mode(OutputMode::Csv);
  {
    Capture cap;
    ClassFuncLine(2, 5, *gcd);
    FileMethodNotices(3, 7, 3500, *gcd);
    EXPECT_EQ(cap.Text(),
              "Total Classses,2,Total Functions,5,Avg Func/Class,  2.50\n"
              "Funcs ,3      ,Notice,7      ,QN/Func,2.3    ,QN/KeLOC,2      \n");
  }
  Mode(OutputMode::Xml);
  {
    Capture cap;
    FileMethodNotices(3, 7, 3500, *gcd);
    EXPECT_EQ(cap.Text(),
              "<function_count>3</function_count>\n<quality_notices>7</quality_notices>\n"
              "<notices_per_function>2.3</notices_per_function>\n<notices_per_KeLOC>2</notices_per_KeLOC>\n");
  }
}

TEST_F(ReportFormat, MemberAndComplexityLines) {
  {
    Capture cap;
    DataLine(1, 2, 3, *gcd);
    MethodLine(4, 0, 1, *gcd);
    ComplexLine(2, 1, 4, *gcd);  // complexity off: nothing
    gcd->sw.complexity = 1;
    ComplexLine(2, 1, 4, *gcd);
    EXPECT_EQ(cap.Text(),
              "  Attributes   Publ 1        Prot 2        Private 3        Total        6\n"
              "  Methods      Publ 4        Prot 0        Private 1        Total        5\n"
              "  Complexity   Param 2       Return 1      Cyclo Vg 4       Total        7\n");
  }
  Mode(OutputMode::Csv);
  {
    Capture cap;
    DataLine(1, 2, 3, *gcd);
    MethodLine(4, 0, 1, *gcd);
    ComplexLine(2, 1, 4, *gcd);
    EXPECT_EQ(cap.Text(),
              "Attributes,Publ,      1,Prot,      2,Private,      3,Total,       6\n"
              "Methods,Publ,4,Prot,0,Private,1,Total,5\n"
              "Param,2,Return,1,Cyclo Vg,4,Total,7\n");
  }
  Mode(OutputMode::Xml);
  {
    Capture cap;
    MethodLine(4, 0, 1, *gcd);
    ComplexLine(2, 1, 4, *gcd);
    EXPECT_EQ(cap.Text(),
              "<methods>\n<public>4</public>\n<protected>0</protected>\n<private>1</private>\n<totals>5</totals>\n"
              "</methods>\n<parameters>2</parameters>\n<returns>1</returns>\n"
              "<interface_complexity>3</interface_complexity>\n<cyclomatic_complexity>4</cyclomatic_complexity>\n"
              "<total_complexity>7</total_complexity>\n");
  }
}

TEST_F(ReportFormat, FunctionPoints) {
  EXPECT_EQ(GetFP(256, 0, *gcd), 0.0);  // no current language
  gcd->lang.isC = 1;
  EXPECT_DOUBLE_EQ(GetFP(256, 0, *gcd), 2.0);
  EXPECT_EQ(GetFP(256, 3, *gcd), 0.0);
  EXPECT_EQ(GetFP(256, -1, *gcd), 0.0);
  gcd->lang.isHeader = 1;  // headers have no factors by default
  EXPECT_EQ(GetFP(256, 0, *gcd), 0.0);
  gcd->lang = LanguageState{};
  gcd->lang.isCpp = 1;
  EXPECT_DOUBLE_EQ(GetFP(106, 2, *gcd), 2.0);
  gcd->cfg.functionPoints[kGroupCpp][2] = 0;
  EXPECT_EQ(GetFP(106, 2, *gcd), 0.0);

  Capture cap;
  FPLine(2.0, 1.5, 10.25, *gcd);
  EXPECT_EQ(cap.Text(), "  Function Points         FP(LOC) 2.0     FP(eLOC) 1.5    FP(lLOC)    10.2\n");
}

TEST_F(ReportFormat, FileNameLines) {
  gcd->cfg.showFileDateSize = 1;
  {
    Capture cap;
    ShowFileLine(nullptr, 1, 1, 0, 0, *gcd);
    ShowFileLine("Total", 0, 1234, 0, 1, *gcd);
    EXPECT_EQ(cap.Text(), "\n  Total\n");  // totals row, no date line
  }
  {
    Capture cap;
    ShowFileLine("a.c", 0, 10, 0, 1, *gcd);
    EXPECT_EQ(cap.Text(), "\n  File: a.c\n");
  }
  {
    Capture cap;
    gcd->sw.analysisRequested = 1;
    ShowFileLine("a.c", 86400, 10, 0, 0, *gcd);
    const std::string out = cap.Text();
    EXPECT_EQ(out.rfind("\n  File: a.c\n  Date: ", 0), 0u);
    EXPECT_NE(out.find("File Size: 10 Bytes\n  ____"), std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 3), "_\n\n");
  }
  {
    Capture cap;
    gcd->sw.noFileNames = 1;
    ShowFileLine("a.c", 86400, 10, 1, 0, *gcd);
    EXPECT_EQ(cap.Text(), "");
  }
  gcd->sw.noFileNames = 0;
  Mode(OutputMode::Xml);
  {
    Capture cap;
    ShowFileLine("x&y.c", 0, 10, 0, 1, *gcd);
    ShowFileLine("Average", 0, 10, 0, 1, *gcd);
    EXPECT_EQ(cap.Text(), "<name>x&amp;y.c</name>\n<name>Average</name>\n<bytes>10</bytes>\n");
  }
  Mode(OutputMode::Csv);
  {
    Capture cap;
    ShowFileLine("a.c", 86400, 10, 0, 0, *gcd);
    const std::string out = cap.Text();
    EXPECT_EQ(out.rfind("\nFile,a.c\nDate,", 0), 0u);
    EXPECT_EQ(out.substr(out.size() - 15), "\nSize,10,Bytes\n");
  }
}

TEST_F(ReportFormat, TotalSummaryBlocks) {
  gcd->eng.fc.loc = 12;
  gcd->eng.fc.braceOnlyLines = 2;
  gcd->eng.fc.statements = 6;
  gcd->eng.fc.comment = 4;
  gcd->eng.fc.physical = 20;
  gcd->eng.fc.skippedLines = 3;
  {
    Capture cap;
    ShowTotalSummary(*gcd, 0, 0);
    EXPECT_EQ(cap.Text(),
              "  LOC 12       eLOC 10       lLOC 6        Comment 4        Lines       20\n"
              "  Total physical lines skipped from skip token match: 3\n\n");
  }
  gcd->sw.analysisRequested = 1;
  gcd->drv.filesProcessed = 2;
  {
    Capture cap;
    ShowTotalSummary(*gcd, 1, 1);
    const std::string out = cap.Text();
    EXPECT_EQ(out.rfind("  ----", 0), 0u);
    EXPECT_NE(out.find("~~ Total Project Summary ~~\n\n  LOC 12"), std::string::npos);
    EXPECT_NE(out.find("metric/2 files\n  LOC 6 "), std::string::npos);
  }
  Mode(OutputMode::Xml);
  {
    Capture cap;
    ShowTotalSummary(*gcd, 0, 0);  // per-file XML values come from the driver
    EXPECT_EQ(cap.Text(), "");
  }
  gcd->eng.fc.braceOnlyLines = 12;  // eLOC 0: no division
  {
    Capture cap;
    ShowTotalSummary(*gcd, 1, 1);
    const std::string out = cap.Text();
    EXPECT_EQ(out.rfind("<totals>\n<loc>12</loc>\n<eloc>0</eloc>\n", 0), 0u);
    EXPECT_NE(out.find("<comment_per_eloc>0.00</comment_per_eloc>\n"), std::string::npos);
    EXPECT_NE(out.find("<lines_skipped>3</lines_skipped>\n</totals>\n"), std::string::npos);
  }
  Mode(OutputMode::Csv);
  gcd->sw.functionListing = 1;
  gcd->eng.fc.braceOnlyLines = 2;
  {
    Capture cap;
    ShowTotalSummary(*gcd, 1, 1);
    EXPECT_EQ(cap.Text(),
              "\nTotal,Skipped,Lines,3\nProject,Totals\n"
              "LOC,12,eLOC,10,lLOC,6,Comment,4,Lines,20,Comment/eLOC,0.40\n\n");
  }
}

TEST_F(ReportFormat, EndOfFileLine) {
  {
    Capture cap;
    ShowEndOfFile("a.c", *gcd);  // no report switch
    gcd->sw.analysisRequested = 1;
    ShowEndOfFile("a.c", *gcd);
    EXPECT_EQ(cap.Text(), "  " + std::string(72, '_') + "\n  End of File: a.c\n\n");
  }
  Mode(OutputMode::Csv);
  Capture cap;
  ShowEndOfFile("a.c", *gcd);
  EXPECT_EQ(cap.Text(), "File End\n");
}

}  // namespace
