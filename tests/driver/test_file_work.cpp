// The seam between one file's work and the run's: the analysis of a file
// holds its text and its counts in its result, and the merge applies them to
// the run in file order.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "capture_out.h"
#include "common/gcd.h"
#include "driver/file_result.h"
#include "driver/file_work.h"
#include "test_support.h"

namespace {

class FileWork : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildLanguageTable(*gcd);
    Switches& s = gcd->sw;
    s.qualityNotices = s.noticeSingleLine = s.noticeListMode = 1;
  }
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  TempDir dir;
};

TEST_F(FileWork, AnalysisChangesNoRunRecordAndWritesNothingUntilTheMerge) {
  const std::string source = "int f(int x)\n{\n\tif (x) return 1;\n\treturn 0;\n}\n";
  FileData record;
  record.name = dir.Write("a.c", source);
  char* work = nullptr;
  std::size_t workSize = 0;
  gcd->drv.workFileStream = open_memstream(&work, &workSize);
  FileResult result;
  EXPECT_EQ(CaptureOut([&] { AnalyzeFile(*gcd, 0, record, result); }), "");
  ASSERT_TRUE(result.analysed);
  EXPECT_EQ(result.counts.loc, 5);
  EXPECT_GT(result.notices.total, 0);  // the tabs
  EXPECT_EQ(result.occurrences.count, result.notices.total);
  EXPECT_NE(result.text.Text().find("a.c"), std::string::npos);
  std::fflush(gcd->drv.workFileStream);
  EXPECT_EQ(workSize, 0u);
  EXPECT_EQ(gcd->tot.counts.loc + gcd->tot.bytes + gcd->lang.cFiles + gcd->langTot[kGroupC].loc, 0);
  EXPECT_EQ(gcd->notices.run.total + gcd->lists.noticeOccurrences.count, 0);
  EXPECT_EQ(gcd->notices.file, nullptr);

  const std::string held(result.text.Text());
  EXPECT_EQ(CaptureOut([&] { MergeFile(*gcd, result); }), held);
  EXPECT_EQ(gcd->tot.counts.loc, 5);
  EXPECT_EQ(gcd->tot.bytes, static_cast<long long>(source.size()));
  EXPECT_EQ(gcd->lang.cFiles, 1);
  EXPECT_EQ(gcd->langTot[kGroupC].loc, 5);
  EXPECT_EQ(gcd->notices.run.perNotice, result.notices.perNotice);
  EXPECT_EQ(gcd->lists.noticeOccurrences.count, result.notices.total);
  std::fclose(gcd->drv.workFileStream);
  gcd->drv.workFileStream = nullptr;
  EXPECT_EQ(std::string(work, workSize).rfind(record.name + "| ", 0), 0u);
  std::free(work);
}

TEST_F(FileWork, AnUnreadableFileGivesItsMessageAndNoCounts) {
  FileData record;
  record.name = dir.path() + "/missing.c";
  FileResult result;
  EXPECT_EQ(CaptureOut([&] { AnalyzeFile(*gcd, 0, record, result); }), "");
  EXPECT_FALSE(result.analysed);
  const std::string merged = CaptureOut([&] { MergeFile(*gcd, result); });
  EXPECT_NE(merged.find("Error: Problem opening input file"), std::string::npos);
  EXPECT_EQ(gcd->tot.counts.physical, 0);
  EXPECT_EQ(gcd->lang.cFiles, 0);
}

TEST_F(FileWork, MergesAddInFileOrder) {
  // Floating-point sums depend on their order: in file order 1e16 + 1 loses
  // the 1, which any other order would keep.
  const double points[] = {1e16, 1.0, -1e16};
  FileData records[3];
  gcd->dash.wanted = 1;
  const std::string text = CaptureOut([&] {
    FileResult result;
    for (int i = 0; i < 3; ++i) {
      result.Reset(i, records[i], nullptr);
      records[i].fpLoc = points[i];
      result.analysed = true;
      result.counts.loc = 1 << i;
      result.notices.perNotice[5] = 1;
      result.notices.total = 1;
      result.csvFile.present = i != 1;  // no CSV line for the second file
      result.csvFile.values[kCsvLoc] = 10 - i;
      result.dashboard.frequent = i + 1;
      AddNameNode("f" + std::to_string(i), 1, 5, result.occurrences, 0, *gcd);
      const std::string line = "file " + std::to_string(i) + "\n";
      result.text.Append(line.data(), line.size());
      MergeFile(*gcd, result);
    }
  });
  EXPECT_EQ(text, "file 0\nfile 1\nfile 2\n");
  EXPECT_EQ(gcd->tot.fpLoc, 0.0);
  EXPECT_EQ(gcd->tot.counts.loc, 7);
  EXPECT_EQ(gcd->notices.run.perNotice[5], 3);
  std::vector<std::string> listed;
  for (const NameData& r : gcd->lists.noticeOccurrences) listed.push_back(r.name);
  EXPECT_EQ(listed, (std::vector<std::string>{"f0", "f1", "f2"}));
  EXPECT_EQ(gcd->rep.csvFiles.count, 2);
  EXPECT_EQ(gcd->rep.csvFiles.columns[kCsvLoc].min, 8);
  EXPECT_EQ(gcd->dash.tallies.at(&records[2]).frequent, 3);
}

// A file analysed before the one that defines a macro it uses (as a worker
// would) logs the name as no macro; the check after that file's merge finds
// the answer overturned, and the file analysed again reads it as a macro.
TEST_F(FileWork, MacroNamesReachTheRunAtTheMergeAndOverturnedLookupsShow) {
  gcd->sw.functionAnalysis = 1;
  FileData a, b;
  a.name = dir.Write("a.h", "#define g(x) x\n");
  b.name = dir.Write("b.c", "int g(void)\n{\n  return 0;\n}\n");
  FileResult first, second;
  CaptureOut([&] {
    AnalyzeFile(*gcd, 0, a, first);
    AnalyzeFile(*gcd, 1, b, second);
  });
  ASSERT_EQ(first.macros.order.size(), 1u);
  EXPECT_EQ(first.macros.order[0].text, "g");
  EXPECT_FALSE(gcd->macros.names.Contains("g"));
  EXPECT_EQ(gcd->macros.file, nullptr);
  EXPECT_TRUE(second.macros.missed.Contains("g"));
  EXPECT_EQ(OverturnedMacroLookups(second.macros, gcd->macros.names), 0);
  const std::string speculative(second.text.Text());

  CaptureOut([&] { MergeFile(*gcd, first); });
  EXPECT_TRUE(gcd->macros.names.Contains("g"));
  EXPECT_EQ(OverturnedMacroLookups(second.macros, gcd->macros.names), 1);
  CaptureOut([&] { AnalyzeFile(*gcd, 1, b, second); });
  EXPECT_FALSE(second.macros.missed.Contains("g"));
  EXPECT_EQ(OverturnedMacroLookups(second.macros, gcd->macros.names), 0);
  EXPECT_NE(std::string(second.text.Text()), speculative);
}

// The CSV function column header goes before the first function line of
// the run, also when the files are analysed before any of them is merged.
TEST_F(FileWork, CsvFunctionHeaderGoesOutOnceWhateverTheOrderOfAnalysis) {
  Switches& s = gcd->sw;
  s.qualityNotices = s.noticeSingleLine = s.noticeListMode = 0;
  s.outputMode = OutputMode::Csv;
  s.functionAnalysis = s.csvFileSummary = s.csvFunctionLines = 1;
  FileData a, b, c;
  a.name = dir.Write("a.h", "#define ONE 1\n");  // no function line
  b.name = dir.Write("b.c", "int f(void)\n{\n  return 0;\n}\nint g(void)\n{\n  return 1;\n}\n");
  c.name = dir.Write("c.c", "int h(void)\n{\n  return 2;\n}\n");
  FileResult results[3];
  FileData* records[3] = {&a, &b, &c};
  const std::string merged = CaptureOut([&] {
    for (int i = 2; i >= 0; --i) AnalyzeFile(*gcd, i, *records[i], results[i]);
    EXPECT_EQ(gcd->rep.csvFunctionHeaderWritten, 0);
    for (FileResult& r : results) MergeFile(*gcd, r);
  });
  const std::string header = "Type, Name, Parameters, , , LOC, eLOC, lLOC, Comments";
  const std::size_t at = merged.find(header);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(merged.find(header, at + 1), std::string::npos);
  EXPECT_LT(at, merged.find("Function, f"));
  EXPECT_GT(at, merged.find("a.h"));
  EXPECT_NE(merged.find("Function, h"), std::string::npos);
}

}  // namespace
