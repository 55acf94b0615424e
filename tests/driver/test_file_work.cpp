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
  static std::vector<std::string> Names(const Llist<NameData>& list) {
    std::vector<std::string> names;
    for (const NameData& r : list) names.push_back(r.name);
    return names;
  }
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  TempDir dir;
};

TEST_F(FileWork, AnalysisChangesNoRunTotalAndWritesNothingUntilTheMerge) {
  const std::string source = "int f(int x)\n{\n\tif (x) return 1;\n\treturn 0;\n}\n";
  FileData record;
  record.name = dir.Write("a.c", source);
  FileResult result;
  EXPECT_EQ(CaptureOut([&] { AnalyzeFile(*gcd, 0, record, result); }), "");
  ASSERT_TRUE(result.analysed);
  EXPECT_EQ(result.counts.loc, 5);
  EXPECT_EQ(result.group, kGroupC);
  EXPECT_EQ(result.bytes, static_cast<long long>(source.size()));
  EXPECT_GT(result.notices.total, 0);  // the tabs
  EXPECT_NE(result.text.Text().find("a.c"), std::string::npos);
  EXPECT_EQ(gcd->tot.counts.loc, 0);
  EXPECT_EQ(gcd->tot.bytes, 0);
  EXPECT_EQ(gcd->lang.cFiles, 0);
  EXPECT_EQ(gcd->langTot[kGroupC].loc, 0);
  EXPECT_EQ(gcd->notices.run.total, 0);
  EXPECT_EQ(gcd->notices.file, nullptr);
  EXPECT_EQ(result.occurrences.count, result.notices.total);
  EXPECT_EQ(gcd->lists.noticeOccurrences.count, 0);

  const std::string held(result.text.Text());
  EXPECT_EQ(CaptureOut([&] { MergeFile(*gcd, result); }), held);
  EXPECT_EQ(gcd->tot.counts.loc, 5);
  EXPECT_EQ(gcd->tot.bytes, static_cast<long long>(source.size()));
  EXPECT_EQ(gcd->lang.cFiles, 1);
  EXPECT_EQ(gcd->langTot[kGroupC].loc, 5);
  EXPECT_EQ(gcd->notices.run.total, result.notices.total);
  EXPECT_EQ(gcd->notices.run.perNotice, result.notices.perNotice);
  EXPECT_EQ(gcd->lists.noticeOccurrences.count, gcd->notices.run.total);
}

TEST_F(FileWork, TheWorkFileLineIsWrittenAtTheMerge) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* work = open_memstream(&data, &size);
  gcd->drv.workFileStream = work;
  FileData record;
  record.name = dir.Write("b.c", "int x;\n");
  FileResult result;
  CaptureOut([&] { AnalyzeFile(*gcd, 0, record, result); });
  std::fflush(work);
  EXPECT_EQ(size, 0u);
  CaptureOut([&] { MergeFile(*gcd, result); });
  std::fflush(work);
  const std::string line(data, size);
  EXPECT_EQ(line, result.workLine);
  EXPECT_EQ(line.rfind(record.name + "| ", 0), 0u);
  EXPECT_EQ(line.back(), '\n');
  gcd->drv.workFileStream = nullptr;
  std::fclose(work);
  std::free(data);
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
      result.csvFile.ratio = points[i];
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
  EXPECT_EQ(gcd->notices.run.total, 3);
  const CsvBlock& csv = gcd->rep.csvFiles;
  EXPECT_EQ(csv.count, 2);
  EXPECT_EQ(csv.ratio.sum, 0.0);
  EXPECT_EQ(csv.columns[kCsvLoc].min, 8);  // the first line set the minimum
  EXPECT_EQ(csv.columns[kCsvLoc].max, 10);
  EXPECT_EQ(Names(gcd->lists.noticeOccurrences), (std::vector<std::string>{"f0", "f1", "f2"}));
  ASSERT_EQ(gcd->dash.tallies.size(), 3u);
  EXPECT_EQ(gcd->dash.tallies.at(&records[2]).frequent, 3);
}

}  // namespace
