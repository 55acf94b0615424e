// Differential line data as stored: signatures, the 13-byte records, the
// file names and directory, and a loader that finds files and survives
// damaged ones.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "capture_out.h"
#include "common/gcd.h"
#include "test_support.h"
#include "workdiff/line_data.h"

namespace {

class LineDataTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
};

TEST_F(LineDataTest, Signatures) {
  EXPECT_DOUBLE_EQ(CodeCrc("ab\n", *gcd), 97 + 98 / 2.0);
  EXPECT_NE(CodeCrc("ab", *gcd), CodeCrc("ba", *gcd));
  // Blanks and tabs do not count and do not advance the position k; neither
  // do line ends and bytes outside 11 and 32..127.
  EXPECT_EQ(CodeCrc("  a b\t\r\n", *gcd), CodeCrc("ab", *gcd));
  EXPECT_EQ(CodeCrc("a\xc3\xa9" "b", *gcd), CodeCrc("ab", *gcd));
  EXPECT_DOUBLE_EQ(CodeCrc("\va", *gcd), 11 + 97 / 2.0);
  EXPECT_EQ(CodeCrc("", *gcd), 0.0);
  gcd->cfg.diffIgnoreWhiteSpace = 0;
  EXPECT_NE(CodeCrc("a b", *gcd), CodeCrc("ab", *gcd));
  EXPECT_DOUBLE_EQ(CodeCrc("a b", *gcd), 97 + 32 / 2.0 + 98 / 3.0);
  EXPECT_EQ(CodeCrc("\ta", *gcd), CodeCrc("a", *gcd));  // a tab is never counted
}

TEST_F(LineDataTest, RecordsAreThirteenBytesInHostOrder) {
  FILE* fp = tmpfile();
  ASSERT_NE(fp, nullptr);
  gcd->drv.lineNumber = 258;
  WorkDiffDataLineWrite(fp, 'g', "x;\n", *gcd);
  WorkDiffDataLineWrite(fp, 'B', "\n", *gcd);  // blank lines are ignored by default
  WorkDiffDataLineWrite(fp, ' ', "/\n", *gcd); // lines without a type never written
  gcd->cfg.diffIgnoreBlankLines = 0;
  gcd->drv.lineNumber = 259;
  WorkDiffDataLineWrite(fp, 'B', "\n", *gcd);
  ASSERT_EQ(ftell(fp), 26);
  rewind(fp);
  unsigned char bytes[26];
  ASSERT_EQ(fread(bytes, 1, 26, fp), 26u);
  std::int32_t line = 0;
  double sig = 0;
  std::memcpy(&line, bytes, 4);
  std::memcpy(&sig, bytes + 5, 8);
  EXPECT_EQ(line, 258);
  EXPECT_EQ(bytes[4], 'g');
  EXPECT_DOUBLE_EQ(sig, 'x' + ';' / 2.0);
  EXPECT_EQ(bytes[17], 'B');
  rewind(fp);
  int n = 0;
  char type = 0;
  EXPECT_EQ(WorkDiffDataLineRead(fp, &n, &type, &sig), 1);
  EXPECT_EQ(WorkDiffDataLineRead(fp, &n, &type, &sig), 1);
  EXPECT_EQ(n, 259);
  EXPECT_EQ(WorkDiffDataLineRead(fp, &n, &type, &sig), 0);
  fclose(fp);
}

TEST_F(LineDataTest, DataFileNames) {
  gcd->drv.cwd = "/home/me/proj";
  EXPECT_EQ(MungDataFilename("src/io/main.c", *gcd), "src_io_main_c");
  EXPECT_EQ(MungDataFilename("./a.c", *gcd), "__a_c");
  EXPECT_EQ(MungDataFilename("/home/me/proj/lib/my file.c", *gcd), "lib_my_file_c");
  EXPECT_EQ(MungDataFilename("/home/me/project2/x.c", *gcd), "home_me_project2_x_c");
  EXPECT_EQ(MungDataFilename("a\\b.c", *gcd), "a_b_c");
  EXPECT_EQ(MungDataFilename("/" + std::string(300, 'd') + "/tail.c", *gcd).size(), 240u);
  gcd->cfg.relativeWorkFiles = 0;
  EXPECT_EQ(MungDataFilename("/home/me/proj/a.c", *gcd), "home_me_proj_a_c");
}

TEST_F(LineDataTest, DirectoryAndFilesOfOneRun) {
  // The data of an earlier baseline of the same name.
  dir.Write("WorkFile_12042026.dat.dif/old_c.dif", "old");
  gcd->wd.workFileName = dir.path() + "/WorkFile_12042026.dat";
  WorkDiffDataPathName(*gcd);
  EXPECT_EQ(gcd->wd.dataDirStored, "WorkFile_12042026.dat.dif");
  // Two source paths that give the same name do not share a data file.
  for (const char* source : {"src/io/main.c", "src/io_main.c"}) {
    gcd->drv.currentFileName = source;
    ASSERT_EQ(WorkDiffDataFileOpen(*gcd), 1);
    WorkDiffDataFileClose(*gcd);
  }
  EXPECT_EQ(gcd->wd.dataStoredPath, "WorkFile_12042026.dat.dif/src_io_main_c_2.dif");
  // Nothing is visible before the baseline is published; then the new
  // directory replaces the old one whole.
  struct stat st {};
  const std::string data = dir.path() + "/WorkFile_12042026.dat.dif";
  EXPECT_NE(stat((data + "/src_io_main_c.dif").c_str(), &st), 0);
  ASSERT_TRUE(PublishDataDirectory(*gcd));
  ASSERT_EQ(stat(data.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(stat((data + "/src_io_main_c.dif").c_str(), &st), 0);
  EXPECT_NE(stat((data + "/old_c.dif").c_str(), &st), 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST_F(LineDataTest, ADiscardedBaselineLeavesThePreviousDataAndStaleStagingGoes) {
  dir.Write("w.dat.dif/old_c.dif", "old");
  // A staging directory left by a killed run (no such process) is removed.
  dir.Write("w.dat.dif.lqatmp.999999999.0/a_c.dif", "half");
  gcd->wd.workFileName = dir.path() + "/w.dat";
  WorkDiffDataPathName(*gcd);
  gcd->drv.currentFileName = "a.c";
  ASSERT_EQ(WorkDiffDataFileOpen(*gcd), 1);
  WorkDiffDataFileClose(*gcd);
  DiscardDataDirectory(*gcd);
  EXPECT_EQ(dir.Read("w.dat.dif/old_c.dif"), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

// A data directory that is a link to another directory is replaced by the
// new directory; what the link pointed to is left alone.
TEST_F(LineDataTest, ALinkedDataDirectoryIsReplacedNotEmptied) {
  dir.Write("elsewhere/keep_c.dif", "kept");
  ASSERT_EQ(symlink("elsewhere", (dir.path() + "/w.dat.dif").c_str()), 0);
  gcd->wd.workFileName = dir.path() + "/w.dat";
  WorkDiffDataPathName(*gcd);
  gcd->drv.currentFileName = "a.c";
  ASSERT_EQ(WorkDiffDataFileOpen(*gcd), 1);
  WorkDiffDataFileClose(*gcd);
  ASSERT_TRUE(PublishDataDirectory(*gcd));
  EXPECT_FALSE(std::filesystem::is_symlink(dir.path() + "/w.dat.dif"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() + "/w.dat.dif/a_c.dif"));
  EXPECT_EQ(dir.Read("elsewhere/keep_c.dif"), "kept");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 2);
}

TEST_F(LineDataTest, LoaderFindsFilesBesideTheWorkFile) {
  std::string records;
  for (int k = 1; k <= 3; ++k) {
    char rec[13] = {};
    std::int32_t n = k;
    double sig = 100.0 + k;
    std::memcpy(rec, &n, 4);
    rec[4] = k == 2 ? 'B' : 'L';
    std::memcpy(rec + 5, &sig, 8);
    records.append(rec, 13);
  }
  dir.Write("base/w.dat.dif/a_c.dif", records + "xyz");  // ends in a partial record
  dir.Write("base/w.dat.dif/empty_c.dif", "");
  gcd->drv.cwd = "/nonexistent";
  gcd->sw.diffDebug = 1;
  DiffDataList list;
  bool ok = false;
  std::string out = CaptureOut([&] { ok = LoadDiffDataFile("w.dat.dif/a_c.dif", dir.path() + "/base/w.dat", list, *gcd); });
  ASSERT_TRUE(ok) << out;
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[2].line, 3);
  EXPECT_EQ(list[2].signature, 103.0);
  EXPECT_EQ(out, "  File Start: " + dir.path() + "/base/w.dat.dif/a_c.dif\n"
                 "  1     - L 101.00000000000000\n  3     - L 103.00000000000000\n  File End:\n"
                 "  Warning: Work Differential File: " + dir.path() + "/base/w.dat.dif/a_c.dif\n"
                 "           ends in a partial record, which was ignored\n");
  gcd->sw.diffDebug = 0;
  // A file with no records loads as an empty file.
  EXPECT_TRUE(LoadDiffDataFile("w.dat.dif/empty_c.dif", dir.path() + "/base/w.dat", list, *gcd));
  EXPECT_TRUE(list.empty());
  // A missing file, or no stored path, is an error and loads nothing.
  for (const char* stored : {"w.dat.dif/gone_c.dif", ""}) {
    out = CaptureOut([&] { ok = LoadDiffDataFile(stored, dir.path() + "/base/w.dat", list, *gcd); });
    EXPECT_FALSE(ok);
    EXPECT_EQ(out, std::string("  Error: Loading Work Differential File: ") + stored +
                       "\n         Check the differential directory associated with the work file\n"
                       "         Current Working Directory: /nonexistent\n         Work File: " +
                       dir.path() + "/base/w.dat\n         No such file or directory\n");
  }
}

// Only files under the work file's directory are read: no absolute path, no
// way up, no link planted in the data directory.
TEST_F(LineDataTest, LoaderReadsOnlyTheDataDirectory) {
  dir.Write("base/w.dat.dif/a_c.dif", "");
  dir.Write("secret.dif", "");
  ASSERT_EQ(symlink("../../secret.dif", (dir.path() + "/base/w.dat.dif/link_c.dif").c_str()), 0);
  const std::string work = dir.path() + "/base/w.dat";
  EXPECT_EQ(DiffDataPath("w.dat.dif/a_c.dif", work), dir.path() + "/base/w.dat.dif/a_c.dif");
  for (const std::string& stored : {dir.path() + "/secret.dif", std::string("../secret.dif"),
                                   std::string("w.dat.dif/../../secret.dif"), std::string("w.dat.dif//a_c.dif"),
                                   std::string("./w.dat.dif/a_c.dif"), std::string("../w.dat.dif/a_c.dif"),
                                   std::string("w.dat.dif/..")}) {
    EXPECT_EQ(DiffDataPath(stored, work), "") << stored;
  }
  DiffDataList list;
  bool ok = true;
  std::string out = CaptureOut([&] { ok = LoadDiffDataFile("../secret.dif", work, list, *gcd); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(out, "  Error: Loading Work Differential File: ../secret.dif\n"
                 "         The path leads out of the work file's directory\n"
                 "         Work File: " + work + "\n");
  out = CaptureOut([&] { ok = LoadDiffDataFile("w.dat.dif/link_c.dif", work, list, *gcd); });
  EXPECT_FALSE(ok);
  EXPECT_NE(out.find("Too many levels of symbolic links"), std::string::npos) << out;
}

// A record the writer cannot have written names the file and the record and
// loads nothing, so that the pair is left out instead of the run ending.
TEST_F(LineDataTest, DamagedRecordsAreNamed) {
  auto record = [](std::int32_t line, char type, double sig) {
    char rec[13];
    std::memcpy(rec, &line, 4);
    rec[4] = type;
    std::memcpy(rec + 5, &sig, 8);
    return std::string(rec, 13);
  };
  const std::string good = record(1, 'G', 10.0) + record(3, 'l', 4.5);
  struct Case {
    std::string bytes;
    const char* damage;
  } cases[] = {
      {good + record(4, 'Q', 1.0), "Record 3 is damaged (unknown line type)"},
      {good + record(3, 'G', 1.0), "Record 3 is damaged (line number out of order)"},
      {record(0, 'G', 1.0), "Record 1 is damaged (line number out of order)"},
      {good + record(9, 'G', std::nan("")), "Record 3 is damaged (impossible line signature)"},
      {good + record(9, 'C', -2.0), "Record 3 is damaged (impossible line signature)"},
  };
  const std::string work = dir.path() + "/w.dat";
  for (const Case& c : cases) {
    dir.Write("w.dat.dif/d_c.dif", c.bytes);
    DiffDataList list;
    bool ok = true;
    const std::string out = CaptureOut([&] { ok = LoadDiffDataFile("w.dat.dif/d_c.dif", work, list, *gcd); });
    EXPECT_FALSE(ok) << c.damage;
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(out, "  Error: Loading Work Differential File: " + dir.path() + "/w.dat.dif/d_c.dif\n         " +
                       c.damage + ": the pair is not compared\n");
  }
}

}  // namespace
