// The work file as stored: names, the exact header and file lines, and a
// reader that takes damaged, truncated and foreign files without harm.
#include <gtest/gtest.h>

#include <string>

#include "capture_out.h"
#include "common/gcd.h"
#include "test_support.h"
#include "workdiff/work_entry.h"
#include "workdiff/work_file.h"

namespace {

constexpr const char* kHeader =
    "Line Quality Analyzer Work File\nDO NOT EDIT - This is a Generated File\n7.75\n1700000000\n"
    "Ignore Blank Lines: 1\nIgnore White Space: 1\n";

class WorkFileTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<GlobalData> gcd = NewGlobalData();

  struct Loaded {
    int ok = 0;
    std::string out;
    Llist<NodeData> list;
    time_t created = 0;
    int blank = -1, white = -1;
  };
  Loaded Load(const std::string& content) {
    Loaded r;
    const std::string path = dir.Write("w.dat", content);
    r.out = CaptureOut([&] { r.ok = LoadWorkFile(path, &r.created, r.list, &r.blank, &r.white, *gcd); });
    return r;
  }
};

TEST_F(WorkFileTest, CreatedNames) {
  gcd->sw.workFileName = "workfile.dat";
  const std::string dated = WorkFileCreateName(*gcd);  // WorkFile_MMDDYYYY.dat
  ASSERT_EQ(dated.size(), 21u) << dated;
  EXPECT_TRUE(dated.starts_with("WorkFile_") && dated.ends_with(".dat")) << dated;
  EXPECT_EQ(dated.find_first_not_of("0123456789", 9), 17u) << dated;
  EXPECT_TRUE(dated[9] <= '1' && dated.substr(13, 2) == "20") << dated;
  gcd->cfg.workFileLocation = "base/";
  EXPECT_TRUE(WorkFileCreateName(*gcd).starts_with("base/WorkFile_"));
  gcd->cfg.workFileLocation = "\rignored";
  EXPECT_TRUE(WorkFileCreateName(*gcd).starts_with("WorkFile_"));
  gcd->sw.workFileName = "out/my.dat";  // a given name is used as it is
  gcd->cfg.workFileLocation = "out";
  EXPECT_EQ(WorkFileCreateName(*gcd), "out/my.dat");
}

TEST_F(WorkFileTest, EntryNamesRelativeToTheTopDirectory) {
  gcd->sw.workTopDir = "src";
  EXPECT_EQ(WorkFileEntryName("src/io/main.c", *gcd), "io/main.c");
  EXPECT_EQ(WorkFileEntryName("src\\io.c", *gcd), "io.c");
  EXPECT_EQ(WorkFileEntryName("src2/a.c", *gcd), "src2/a.c");
  EXPECT_EQ(WorkFileEntryName("other/a.c", *gcd), "other/a.c");
  gcd->sw.workTopDir = ".";
  EXPECT_EQ(WorkFileEntryName("./a.c", *gcd), "./a.c");
  gcd->sw.workTopDir = "src";
  gcd->cfg.relativeWorkFiles = 0;
  EXPECT_EQ(WorkFileEntryName("src/io/main.c", *gcd), "src/io/main.c");
}

TEST_F(WorkFileTest, WrittenHeaderAndLinesLoadBack) {
  gcd->sw.workFileName = dir.path() + "/base.dat";
  gcd->sw.workTopDir = "src";
  const std::string shown = CaptureOut([&] { gcd->drv.workFileStream = CreateWorkFile(*gcd); });
  ASSERT_NE(gcd->drv.workFileStream, nullptr);
  EXPECT_EQ(shown, "\n  Creating Work File: " + dir.path() + "/base.dat\n");
  FileData a;
  a.name = "src/a.c";
  a.date = 1000;
  a.size = 7;
  a.loc = 1, a.eloc = 2, a.comments = 3, a.blanks = 4, a.lines = 5, a.lloc = 6, a.cyclomatic = 7;
  a.parameters = 4, a.returns = 5, a.functions = 11;
  gcd->eng.fc.notices = 8;
  WriteWorkFileLine(WorkFileLine(a, *gcd), *gcd);
  gcd->wd.dataStoredPath = "base.dat.dif/src_b_c.dif";
  a.name = "src/b.c";
  WriteWorkFileLine(WorkFileLine(a, *gcd), *gcd);
  gcd->cfg.workFileLocation = dir.path();
  CaptureOut([&] { FinishWorkFile(*gcd); });

  const std::string text = dir.Read("base.dat");
  const std::string head = "Line Quality Analyzer Work File\nDO NOT EDIT - This is a Generated File\n7.75\n";
  ASSERT_TRUE(text.starts_with(head)) << text;
  const std::size_t timeEnd = text.find_first_not_of("0123456789", head.size());
  EXPECT_GT(timeEnd, head.size());
  EXPECT_EQ(text.substr(timeEnd, 45), "\nIgnore Blank Lines: 1\nIgnore White Space: 1\n");
  EXPECT_NE(text.find("\na.c| 1000 7 1 2 3 4 5 6 7 8 9 11 \n"), std::string::npos);
  EXPECT_NE(text.find("\nb.c| 1000 7 1 2 3 4 5 6 7 8 9 11 base.dat.dif/src_b_c.dif\n"), std::string::npos);
  EXPECT_EQ(dir.Read("workfile.dat"), text);  // the copy under the location's final name

  Loaded r;
  r.out = CaptureOut([&] { r.ok = LoadWorkFile(dir.path() + "/base.dat", &r.created, r.list, &r.blank, &r.white, *gcd); });
  ASSERT_EQ(r.ok, 1) << r.out;
  ASSERT_EQ(r.list.count, 2);
  const NodeData& b = *r.list.tail->data;
  EXPECT_EQ(b.name, "b.c");
  EXPECT_EQ(b.text1, "base.dat.dif/src_b_c.dif");
  EXPECT_EQ(EntryDate(b), 1000);
  EXPECT_EQ(EntrySize(b), 7);
  EXPECT_EQ(EntryMetric(b, kDiffLloc), 6);
  EXPECT_EQ(EntryMetric(b, kDiffNotices), 8);
  EXPECT_EQ(EntryMetric(b, kDiffInterface), 9);
  EXPECT_EQ(EntryMetric(b, kDiffFunctions), 11);
  EXPECT_EQ(EntryMetric(b, kDiffComplexity), 16);  // cyclomatic + interface
}

TEST_F(WorkFileTest, SplittingFileLines) {
  WorkLine w;
  EXPECT_EQ(ParseWorkLine("a.b/file| 1 2 3 4 5 6 7 8 9 10 11 12 d/x.dif", w), WorkLineResult::Parsed);
  EXPECT_EQ(w.name, "a.b/file");
  EXPECT_EQ(w.dataPath, "d/x.dif");
  EXPECT_EQ(w.date, 1);
  EXPECT_EQ(w.functions, 12);
  EXPECT_EQ(ParseWorkLine("Makefile| 1 2 3 4 5 6 7 8 9 10 11 12 ", w), WorkLineResult::Skipped);
  EXPECT_EQ(ParseWorkLine("no bar at all.c", w), WorkLineResult::Skipped);
  EXPECT_EQ(ParseWorkLine("lib/io.c@@/main/3| 1 2 3 4 5 6 7 8 9 10 11 12 ", w), WorkLineResult::Parsed);
  EXPECT_EQ(w.name, "lib/io.c");
  EXPECT_EQ(w.dataPath, "");
  EXPECT_EQ(ParseWorkLine("my dir/a file.c| 1 2 3 4 5 6 7 8 9 10 11 12 d/my_dir_a_file_c.dif", w),
            WorkLineResult::Parsed);
  EXPECT_EQ(w.name, "my dir/a file.c");
  // A '|' in the data path does not move the split.
  EXPECT_EQ(ParseWorkLine("a|b.c| 1 2 3 4 5 6 7 8 9 10 11 12 d/a|b_c.dif", w), WorkLineResult::Parsed);
  EXPECT_EQ(w.name, "a|b.c");
  EXPECT_EQ(w.dataPath, "d/a|b_c.dif");
  EXPECT_EQ(ParseWorkLine("x.c| 1 2 3", w), WorkLineResult::Damaged);
  EXPECT_EQ(ParseWorkLine("x.c| 1 2 3 4 5 6 7 8 9 10 11 99999999999 ", w), WorkLineResult::Damaged);
}

TEST_F(WorkFileTest, ReaderOfHeaderAndLines) {
  Loaded r = Load(std::string(kHeader) + "a.c| 5 6 1 1 0 0 1 1 0 0 0 0 \n\n" + std::string(5000, 'n') +
                  ".c| 5 6 1 1 0 0 1 1 0 0 0 0 d/x.dif");
  ASSERT_EQ(r.ok, 1) << r.out;
  EXPECT_EQ(r.created, 1700000000);
  EXPECT_EQ(r.blank, 1);
  EXPECT_EQ(r.white, 1);
  ASSERT_EQ(r.list.count, 2);
  EXPECT_EQ(r.list.tail->data->name.size(), 5002u);  // long names load whole
  EXPECT_EQ(r.list.tail->data->text1, "d/x.dif");    // a last line without its line feed
  EXPECT_EQ(r.out, "");
}

TEST_F(WorkFileTest, DamagedAndForeignFilesAreReported) {
  std::string missingOut;
  Llist<NodeData> list;
  int ok = 1;
  missingOut = CaptureOut([&] { ok = LoadWorkFile(dir.path() + "/none.dat", nullptr, list, nullptr, nullptr, *gcd); });
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(missingOut, "  Error: Loading Work File: " + dir.path() +
                            "/none.dat\n         Use the -wc option to create a base work file\n"
                            "         No such file or directory\n");

  const std::string damaged = "  Error: Loading Work File: " + dir.path() +
                              "/w.dat\n         The work file header is damaged or missing\n";
  EXPECT_EQ(Load(std::string("\x7f" "ELF\x01\x02\0\0garbage\xff\xfe", 17)).out, damaged);
  EXPECT_EQ(Load("Line Quality Analyzer Work File\nDO NOT EDIT - This is a Generated File\n7.75\n").out, damaged);
  EXPECT_EQ(Load("").ok, 0);

  Loaded lines = Load(std::string(kHeader) + "a.c| 1 2 x\nb.c| 1 2 3 4 5 6 7 8 9 10 11 12 \n");
  EXPECT_EQ(lines.ok, 1);
  EXPECT_EQ(lines.list.count, 1);
  EXPECT_NE(lines.out.find("           1 damaged file lines were skipped\n"), std::string::npos);

  std::string old = kHeader;
  old.replace(old.find("7.75"), 4, "6.10");
  Loaded version = Load(old);
  EXPECT_EQ(version.ok, 1);
  EXPECT_NE(version.out.find("\n  WARNING: Work file version does not match the current version\n"
                             "           of LQA .  Reprocess the work file with this version of LQA\n"),
            std::string::npos);
  EXPECT_NE(version.out.find("             Version: 6.10 \n"), std::string::npos);
}

}  // namespace
