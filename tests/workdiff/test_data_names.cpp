// Line data file names planned from the file list for files analysed on
// worker threads (the end-to-end tests write baselines with them).
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/gcd.h"
#include "test_support.h"
#include "workdiff/data_names.h"
#include "workdiff/line_data.h"

namespace {

class DataNames : public ::testing::Test {
 protected:
  void SetUp() override {
    run->sw.workLineDiff = 1;
    run->drv.workFileStream = std::tmpfile();
    run->wd.workFileName = dir.path() + "/w.dat";
    WorkDiffDataPathName(*run);
  }
  void TearDown() override { std::fclose(run->drv.workFileStream); }
  DataNamePlan Plan(const std::vector<std::string>& paths) {
    LlistDestroy(run->lists.files);
    for (const std::string& path : paths) {
      auto record = std::make_unique<FileData>();
      record->name = path;
      LlistAdd(run->lists.files, std::move(record), nullptr, 0);
    }
    return PlanDataFileNames(*run);
  }
  TempDir dir;
  std::unique_ptr<GlobalData> run = NewGlobalData();
};

// Whichever files turn out unreadable, the serial run's names are the plan's
// up to the first such file, and never the planned name of a later file
// (which that file's worker may be writing).
TEST_F(DataNames, SerialNamesNeverTakeALaterFilesPlannedName) {
  const std::vector<std::string> paths = {"a/b.c", "a_b.c", "a b.c", "a_b_c_2", "x.c", "a/b_c", "x_c_2", ".", ""};
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> list;
    for (int i = 0; i < 12; ++i) list.push_back(paths[random() % paths.size()]);
    const DataNamePlan plan = Plan(list);
    std::unordered_set<std::string> used;
    bool allRead = true;
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (list[i].size() < 2) {
        EXPECT_EQ(plan.names[i], "");  // turned away before it is opened
        continue;
      }
      if (random() % 3 == 0) {
        allRead = false;
        continue;
      }
      const std::string serial = FreeDataName(MungDataFilename(list[i], *run), used);
      used.insert(serial);
      if (allRead) {
        EXPECT_EQ(serial, plan.names[i]) << round;
      }
      for (std::size_t later = i + 1; later < list.size(); ++later) EXPECT_NE(serial, plan.names[later]) << round;
    }
  }
}

}  // namespace
