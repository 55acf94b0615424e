// The code listing: layout strings, rows and wrapping, page headings and
// page breaks.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "capture_out.h"
#include "common/gcd.h"
#include "test_support.h"
#include "utilities/code_listing.h"

namespace {

class Listing : public ::testing::Test {
 protected:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  void Layout(int length, int margin, int page, bool breaks, int top = 0) {
    gcd->cfg.printedLineLength = length;
    gcd->cfg.printedLeftMargin = margin;
    gcd->cfg.printedPageLength = page;
    gcd->cfg.printedTopMargin = top;
    gcd->cfg.noPageBreaks = !breaks;
    SetBars(*gcd);
  }
  std::string Put(const std::string& line, int number = 1) {
    return CaptureOut([&] { rows = PutLine(line.data(), line.size(), number, *gcd); });
  }
  // Lists the text as the file "nofile.c" (no such file: no date).
  std::string List(const std::string& text) {
    TempDir dir;
    const std::string path = dir.Write("in.c", text);
    FILE* f = std::fopen(path.c_str(), "rb");
    std::string out = CaptureOut([&] { PrintCode(f, "nofile.c", *gcd); });
    std::fclose(f);
    return out;
  }
  int rows = 0;
};

TEST_F(Listing, TitleIsCentredRoundingUp) {
  Layout(80, 5, 55, true);
  EXPECT_EQ(gcd->util.listing.titleLine, std::string(37, ' ') + "LQA Code Listing\n");
  gcd->cfg.printedPageHeader = "fifteen chars..";
  SetBars(*gcd);
  EXPECT_EQ(gcd->util.listing.titleLine, std::string(38, ' ') + "fifteen chars..\n");
  EXPECT_EQ(gcd->util.listing.ruleHeading, "     " + std::string(80, '_') + "\n\n");
  Layout(80, -3, 55, true);
  EXPECT_EQ(gcd->util.listing.margin, "");
}

TEST_F(Listing, LongLinesWrapWithoutAnEmptyRow) {
  Layout(80, 2, 55, true);
  EXPECT_EQ(Put(std::string(72, 'a') + "\n", 12), "     12| " + std::string(72, 'a') + "\n");
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(Put(std::string(73, 'b') + "\n"), "      1| " + std::string(73, 'b') + "\n");
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(Put(std::string(150, 'c')),
            "      1| " + std::string(73, 'c') + "\n       | " + std::string(73, 'c') + "\n       | cccc\n");
  EXPECT_EQ(rows, 3);
}

TEST_F(Listing, PageBreaksFollowThePageLength) {
  Layout(40, 0, 1, true);
  std::string out = List("1\n2\n3\n");
  // Page length 1: every line on its own page, and no empty page at the end.
  EXPECT_EQ(Count(out, "\f\n"), 2u);
  EXPECT_NE(out.find("Page: 3\n"), std::string::npos);
  EXPECT_EQ(out.find("Page: 4"), std::string::npos);
  EXPECT_NE(out.find("    3| 3\n" + std::string(40, '_') + "\n\n"), std::string::npos) << out;

  Layout(40, 0, 12, true, 1);  // rows 2..6 are free after the heading
  out = List("a\nb\nc\n");
  EXPECT_EQ(Count(out, "\f\n"), 0u);
  EXPECT_NE(out.find("    3| c\n\n\n" + std::string(40, '_') + "\n\n"), std::string::npos) << out;

  Layout(40, 0, 10, false, 1);
  out = List("a\nb\nc\nd\ne\nf\ng\n");
  EXPECT_EQ(Count(out, "\f"), 0u);
  EXPECT_EQ(Count(out, "LQA Code Listing"), 1u);
  EXPECT_NE(out.find("    7| g\n" + std::string(40, '_') + "\n\n"), std::string::npos);
}

TEST_F(Listing, HugeLinesStreamAndHtmlIsEscaped) {
  Layout(80, 0, 55, false);
  std::string out = List(std::string(200000, 'x') + "\ny");
  EXPECT_EQ(Count(out, "     | "), 200000u / 73);
  EXPECT_NE(out.find("    2| y\n"), std::string::npos);
  EXPECT_EQ(out.find("| \n"), std::string::npos);
  // A last line without a line feed is listed whatever its first character.
  EXPECT_NE(List("x\n\ty").find("    2| \ty\n"), std::string::npos);

  gcd->sw.outputMode = OutputMode::Html;
  EXPECT_EQ(Put(std::string("a<b&c>\0d\n", 9)), "    1| a&lt;b&amp;c&gt; d\n");
}

}  // namespace
