// CSV detail lines: headers, per-line values, and the Total, Average,
// Maximum and Minimum rows of each block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_out.h"
#include "common/gcd.h"
#include "reports/csv_export.h"
#include "test_support.h"

namespace {

class CsvExport : public ::testing::Test {
 protected:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  void SetUp() override {
    gcd->sw.outputMode = OutputMode::Csv;
    gcd->sw.csvFileSummary = 1;
    gcd->sw.csvFunctionLines = 1;
    gcd->lang.isC = 1;  // C: 128 lines per function point
  }
  void FunctionLine(const char* name, const char* params, int loc, int eloc, int comments, int cyclo) {
    CSV_Function_Line(gLQAOUT, name, params, loc, eloc, loc, comments, 1, loc + 2, 1, 2, 1, cyclo, 0, *gcd);
  }
  void FunctionTotals() { CSV_Function_Line(gLQAOUT, "function total", "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, *gcd); }
  void FileLine(const char* name, int loc, int notices) {
    CSV_File_Line(gLQAOUT, name, 0, 100, loc, loc, loc, 2, 3, loc + 5, 1, 2, 3, 1, 4, notices, 0, *gcd);
  }
};

size_t FieldCount(const std::string& line) { return static_cast<size_t>(std::count(line.begin(), line.end(), ',')) + 1; }

const char* kFunctionHeader =
    "Type, Name, Parameters, , , LOC, eLOC, lLOC, Comments, Blanks, Lines, Comment/eLOC, Classes, Functions, "
    "Parameters, Returns, InterComp, CycloComp, Total Complexity, Notices";
const char* kFileHeader =
    "Type, Name, , Date, Size, LOC, eLOC, lLOC, Comments, Blanks, Lines, Comment/eLOC, Classes, Functions, "
    "Parameters, Returns, InterComp, CycloComp, Total Complexity, Notices";

TEST_F(CsvExport, FunctionLinesAndTheirTotalsPerFile) {
  const std::string out = CaptureOut([&] {
    FunctionLine("operator,", "(int a, int b)", 10, 8, 4, 3);
    FunctionLine("g", "()", 20, 0, 2, 1);
    FunctionTotals();
    FunctionLine("h", "()", 6, 6, 0, 2);
    FunctionTotals();
    FunctionTotals();  // nothing since the last totals: nothing written
  });
  EXPECT_EQ(Count(out, kFunctionHeader), 1u);
  EXPECT_TRUE(HasLine(out, "Function, operator , (int a; int b), ,, 10, 8, 10, 4, 1, 12, 0.50, , 1, 2, 1, 3, 3, 6, "))
      << out;
  EXPECT_TRUE(HasLine(out, "Function, Total,, , , 30, 8, 30, 6, 2, 34, 0.75, , 2, 4, 2, 6, 4, 10, "));
  EXPECT_TRUE(HasLine(out, ", Average,, , , 15.00, 4.00, 15.00, 3.00, 1.00, 17.00, 0.25, , 1.00, 2.00, 1.00, 3.00, "
                           "2.00, 5.00, "));
  EXPECT_TRUE(HasLine(out, ", Maximum,, , , 20, 8, 20, 4, 1, 22, 0.50, , 1, 2, 1, 3, 3, 6, "));
  EXPECT_TRUE(HasLine(out, ", Minimum,, , , 10, 0, 10, 2, 1, 12, 0.00, , 1, 2, 1, 3, 1, 4, "));
  // The second file's block holds only its own function.
  EXPECT_TRUE(HasLine(out, "Function, Total,, , , 6, 6, 6, 0, 1, 8, 0.00, , 1, 2, 1, 3, 2, 5, "));
  EXPECT_EQ(Count(out, "Function, Total"), 2u);
  const std::vector<std::string> lines = Lines(out);
  for (const std::string& line : lines)
    if (!line.empty()) {
      EXPECT_EQ(FieldCount(line), FieldCount(kFunctionHeader)) << line;
    }
}

TEST_F(CsvExport, FunctionPointsFollowTheCountInTheLocColumns) {
  gcd->sw.functionPoints = 1;
  const std::string out = CaptureOut([&] {
    FunctionLine("f", "()", 256, 128, 0, 1);
    FunctionTotals();
  });
  EXPECT_NE(out.find("LOC/FP, eLOC/FP, lLOC/FP"), std::string::npos);
  EXPECT_NE(out.find("Function, f, (), ,, 256/2.0       , 128/1.0       , 256/2.0       , 0, "), std::string::npos)
      << out;
  EXPECT_NE(out.find("Function, Total, , ,, 256/2.0       , "), std::string::npos);
  EXPECT_NE(out.find(", Average, , ,, 256.00/2.0       , 128.00/1.0       , "), std::string::npos);
}

TEST_F(CsvExport, FileLinesHeaderBeforeEveryLineAndTheTotals) {
  const std::string out = CaptureOut([&] {
    FileLine("a,b.c", 10, 1);
    FileLine("c.c", 31, 0);
    CSV_File_Line(gLQAOUT, "total", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, *gcd);
  });
  EXPECT_EQ(Count(out, kFileHeader), 3u);
  EXPECT_NE(out.find("File, a b.c,, "), std::string::npos);
  EXPECT_TRUE(HasLine(out, "Files, 2"));
  EXPECT_TRUE(HasLine(out, "File, Total,, , 200, 41, 41, 41, 4, 6, 51, 0.10, 2, 4, 6, 2, 8, 8, 16, 1"));
  EXPECT_TRUE(HasLine(out, "File, Average,, , 100.00, 20.50, 20.50, 20.50, 2.00, 3.00, 25.50, 0.13, 1.00, 2.00, "
                           "3.00, 1.00, 4.00, 4.00, 8.00, 0.50"));
  EXPECT_TRUE(HasLine(out, "File, Minimum,, , 100, 10, 10, 10, 2, 3, 15, 0.06, 1, 2, 3, 1, 4, 4, 8, 0"));
  for (const std::string& line : Lines(out))
    if (line.rfind("File, ", 0) == 0) {
      EXPECT_EQ(FieldCount(line), FieldCount(kFileHeader)) << line;
    }
}

TEST_F(CsvExport, NothingWithoutTheCsvLinesOrWithoutLines) {
  EXPECT_EQ(CaptureOut([&] {
              CSV_File_Line(gLQAOUT, "total", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, *gcd);
              FunctionTotals();
            }),
            "");
  gcd->sw.csvFileSummary = gcd->sw.csvFunctionLines = 0;
  EXPECT_EQ(CaptureOut([&] {
              FunctionLine("f", "()", 1, 1, 0, 1);
              FileLine("x.c", 1, 0);
            }),
            "");
}

}  // namespace
