// Pairing two baselines: the state of every file, the signs of removed
// files, the eLOC percent change, the totals, and the line differentials.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "capture_out.h"
#include "common/gcd.h"
#include "test_support.h"
#include "workdiff/diff_lists.h"
#include "workdiff/report_cfg.h"
#include "workdiff/work_entry.h"

namespace {

// A work entry with LOC, eLOC, lLOC, comments, blanks, lines and functions.
void Add(Llist<NodeData>& list, const std::string& name, std::vector<int> m, const std::string& data = "") {
  NodeData e;
  e.name = name;
  e.text1 = data;
  for (std::size_t k = 0; k < m.size(); ++k) EntryMetric(e, static_cast<int>(k)) = m[k];
  EntrySize(e) = 100;
  LlistAdd(list, std::make_unique<NodeData>(e), nullptr, 0);
}

struct Row {
  std::string state, name;
  std::vector<int> m;
  float percent;
  int unprocessed;
};

class DiffListsTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  Llist<NodeData> older, newer, diff;
  std::string out;

  void SetUp() override {
    for (ReportCfgEntry& e : gcd->wd.reportCfg) e = ReportCfgEntry{1, 0};
  }
  std::vector<Row> Run() {
    out = CaptureOut([&] { DiffWorkLists(older, newer, diff, *gcd); });
    std::vector<Row> rows;
    for (const NodeData& r : diff) {
      Row row{WorkStateName(r.state), r.name, {}, r.ratio, EntryUnprocessed(r)};
      for (int k = 0; k < kDiffMetricCount; ++k) row.m.push_back(EntryMetric(r, k));
      rows.push_back(row);
    }
    return rows;
  }
  // A data file of (type, signature) records beside the work file w.dat.
  std::string Data(const std::string& name, const std::string& lines) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
      char rec[13];
      std::int32_t n = static_cast<std::int32_t>(i / 2 + 1);
      double sig = lines[i + 1];
      std::memcpy(rec, &n, 4);
      rec[4] = lines[i];
      std::memcpy(rec + 5, &sig, 8);
      bytes.append(rec, 13);
    }
    dir.Write("w.dat.dif/" + name, bytes);
    return "w.dat.dif/" + name;
  }
};

TEST_F(DiffListsTest, FileStatesAndTotalsBySize) {
  Add(older, "same.c", {10, 8, 5, 2, 1, 13});
  Add(older, "grown.c", {10, 8, 5, 2, 1, 13, 1});
  Add(older, "gone.c", {4, 3, 2, 1, 0, 5, 1});
  Add(older, "Case.C", {1, 1, 1, 0, 0, 1});
  Add(newer, "new.c", {6, 5, 4, 0, 0, 6, 2});
  Add(newer, "grown.c", {14, 12, 6, 2, 1, 17, 2});
  Add(newer, "same.c", {10, 8, 5, 2, 1, 13});
  Add(newer, "case.c", {1, 1, 1, 0, 0, 1});
  gcd->sw.workSkipRemoved = 1;
  const auto rows = Run();
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].state, "Equ");
  EXPECT_EQ(rows[0].m, std::vector<int>(kDiffMetricCount, 0));
  EXPECT_EQ(rows[1].state, "Mod");
  EXPECT_EQ(rows[1].m[kDiffLoc], 4);
  EXPECT_EQ(rows[1].m[kDiffFunctions], 1);
  EXPECT_FLOAT_EQ(rows[1].percent, 50.0f);
  EXPECT_EQ(rows[2].state, "Rem");
  EXPECT_EQ(rows[2].m[kDiffLoc], -4);
  EXPECT_FLOAT_EQ(rows[2].percent, -100.0f);
  EXPECT_EQ(rows[2].unprocessed, 1);
  EXPECT_EQ(rows[3].state, "Equ");  // names pair ignoring case by default
  EXPECT_EQ(rows[4].state, "New");
  EXPECT_EQ(rows[4].name, "new.c");
  EXPECT_FLOAT_EQ(rows[4].percent, 100.0f);
  const WorkDiffState& wd = gcd->wd;
  EXPECT_EQ(wd.older.files, 4);
  EXPECT_EQ(wd.newer.files, 4);
  EXPECT_EQ(wd.newer.value[kDiffLoc], 31);
  // Work: grown +4, removed -4, new +6.
  EXPECT_EQ(wd.work.value[kDiffLoc], 6);
  EXPECT_EQ(wd.work.value[kDiffFunctions], 1 - 1 + 2);
}

TEST_F(DiffListsTest, RemovedFilesFollowTheirSignAndNamesTheirCase) {
  gcd->wd.reportCfg[FindReportKey("LOC_COUNT")].plus = 1;
  gcd->wd.reportCfg[FindReportKey("ELOC_PERCENT_DIFF")].plus = 1;
  gcd->cfg.caseSensitiveNames = 1;
  Add(older, "Main.C", {4, 3, 2, 1, 0, 5});
  Add(newer, "main.c", {0, 0, 0, 0, 0, 0});
  const auto rows = Run();
  ASSERT_EQ(rows.size(), 2u);  // a renamed file: removed and new
  EXPECT_EQ(rows[0].state, "Rem");
  EXPECT_EQ(rows[0].m[kDiffLoc], 4);
  EXPECT_EQ(rows[0].m[kDiffEloc], -3);
  EXPECT_FLOAT_EQ(rows[0].percent, 100.0f);
  EXPECT_EQ(rows[1].state, "New");
}

TEST_F(DiffListsTest, LineDifferentials) {
  gcd->sw.workLineDiff = 1;
  gcd->wd.olderWorkFile = gcd->wd.newerWorkFile = dir.path() + "/w.dat";
  // changed.c: one G line changed, one C line added. same.c: identical.
  // cut.c: only lines removed. lost.c: its newer data file is missing.
  Add(older, "changed.c", {3, 3, 3, 0, 0, 3}, Data("o_changed", "G1G2G3"));
  Add(newer, "changed.c", {3, 3, 3, 1, 0, 4}, Data("n_changed", "G1G9G3C5"));
  Add(older, "same.c", {2, 2, 2, 0, 0, 2}, Data("o_same", "L1G2"));
  Add(newer, "same.c", {2, 2, 2, 0, 0, 2}, Data("n_same", "L1G2"));
  Add(older, "cut.c", {2, 2, 2, 0, 0, 2}, Data("o_cut", "G1G2"));
  Add(newer, "cut.c", {1, 1, 1, 0, 0, 1}, Data("n_cut", "G1"));
  Add(older, "lost.c", {2, 2, 2, 0, 0, 2}, Data("o_lost", "G1G2"));
  Add(newer, "lost.c", {5, 5, 5, 0, 0, 5}, "w.dat.dif/missing");
  auto rows = Run();
  ASSERT_EQ(rows.size(), 6u) << out;
  EXPECT_EQ(rows[0].state, "Dif");
  EXPECT_EQ(rows[0].m[kDiffLoc], 1);
  EXPECT_EQ(rows[0].m[kDiffComments], 1);
  EXPECT_EQ(rows[0].m[kDiffLines], 2);
  EXPECT_EQ(rows[1].state, "Equ");
  EXPECT_EQ(rows[1].m[kDiffLoc], 2);
  EXPECT_EQ(rows[2].state, "Equ");  // an equal file gives only its equal lines
  EXPECT_EQ(rows[2].m[kDiffEloc], 2);
  EXPECT_EQ(rows[2].m[kDiffLloc], 1);
  EXPECT_EQ(rows[3].state, "Dif");  // removed lines make a file changed
  EXPECT_EQ(rows[3].m[kDiffLoc], 0);
  EXPECT_EQ(rows[5].state, "Equ");  // no line data: line changes 0
  EXPECT_EQ(rows[5].m[kDiffLoc], 0);
  EXPECT_NE(out.find("  Error: Loading Work Differential File: w.dat.dif/missing\n"), std::string::npos);
  EXPECT_EQ(gcd->wd.work.value[kDiffLoc], 1);

  // With removed older lines counted as modified, the removals add in.
  gcd->cfg.addRemovedAsModified = 1;
  LlistDestroy(diff);
  for (NodeData& n : newer) n.state = 0;
  rows = Run();
  EXPECT_EQ(rows[0].m[kDiffLoc], 2);
  EXPECT_EQ(rows[3].m[kDiffLoc], 1);
}

}  // namespace
