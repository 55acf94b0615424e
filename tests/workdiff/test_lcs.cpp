// The line comparison: the compact table must walk exactly as a table of
// LCS lengths does, ties must remove the older line first, the counters must
// follow the line types, and the block rule must hold for long files.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "capture_out.h"
#include "common/gcd.h"
#include "workdiff/lcs.h"

namespace {

DiffDataList Lines(const std::string& spec) {
  // One character per line: its type; lines of the same letter and case
  // match when their signature digit (the next character) is equal.
  DiffDataList list;
  for (std::size_t i = 0; i + 1 < spec.size(); i += 2)
    list.push_back(DiffDataNode{static_cast<int>(i / 2 + 1), static_cast<double>(spec[i + 1]), spec[i], 0});
  return list;
}

// The walk through a full table of lengths, as the reference.
std::vector<DiffListingEntry> ReferenceWalk(const DiffDataList& h, const DiffDataList& p) {
  const std::size_t n = h.size(), m = p.size();
  std::vector<std::vector<int>> len(n + 2, std::vector<int>(m + 2, 0));
  auto match = [&](std::size_t i, std::size_t j) { return h[i].type == p[j].type && h[i].signature == p[j].signature; };
  for (std::size_t i = n; i-- > 0;)
    for (std::size_t j = m; j-- > 0;)
      len[i][j] = match(i, j) ? len[i + 1][j + 1] + 1 : std::max(len[i + 1][j], len[i][j + 1]);
  std::vector<DiffListingEntry> out;
  std::size_t i = 0, j = 0;
  while (i < n && j < m) {
    if (match(i, j)) {
      out.push_back({h[i].line, '=', h[i].type, p[j].line});
      ++i, ++j;
    } else if (len[i + 1][j] < len[i][j + 1]) {
      out.push_back({h[i].line, '+', p[j].type, p[j].line});
      ++j;
    } else {
      out.push_back({h[i].line, '-', h[i].type, p[j].line});
      ++i;
    }
  }
  for (; j < m; ++j) out.push_back({0, '+', p[j].type, p[j].line});
  for (; i < n; ++i) out.push_back({h[i].line, '-', h[i].type, 0});
  return out;
}

std::vector<DiffListingEntry> CompactWalk(DiffDataList& h, DiffDataList& p, GlobalData& gcd) {
  LcsMatrix matrix;
  EXPECT_TRUE(lcsDiffData(h, 0, static_cast<int>(h.size()), p, 0, static_cast<int>(p.size()), matrix));
  lcsSequence(matrix, gcd);
  return matrix.listing;
}

std::string Describe(const std::vector<DiffListingEntry>& steps) {
  std::string s;
  for (const DiffListingEntry& e : steps)
    s += std::to_string(e.olderLine) + e.state + e.type + std::to_string(e.newerLine) + " ";
  return s;
}

class LcsTest : public ::testing::Test {
 protected:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  void SetUp() override { gcd->sw.workDetails = 1; }
  int Count(int state, int group) const { return gcd->wd.lines.count[state][group]; }
};

TEST_F(LcsTest, CompactTableWalksLikeTheTableOfLengths) {
  std::mt19937 rng(20260412);
  const char types[] = {'G', 'L', 'N', 'g'};
  for (int round = 0; round < 3000; ++round) {
    // Few distinct lines, so that ties and repeated lines are frequent; sizes
    // cross the 64-column word boundary.
    const int alphabet = 1 + static_cast<int>(rng() % 4);
    const int n = static_cast<int>(rng() % (round % 10 == 0 ? 150 : 20));
    const int m = static_cast<int>(rng() % (round % 10 == 0 ? 150 : 20));
    auto make = [&](int count) {
      DiffDataList list;
      for (int k = 0; k < count; ++k)
        list.push_back(DiffDataNode{k + 1, static_cast<double>(rng() % alphabet), types[rng() % 2 + (alphabet > 2)], 0});
      return list;
    };
    DiffDataList h = make(n), p = make(m);
    const auto expected = ReferenceWalk(h, p);
    const auto actual = CompactWalk(h, p, *gcd);
    ASSERT_EQ(Describe(actual), Describe(expected)) << "round " << round;
  }
}

TEST_F(LcsTest, TiesRemoveTheOlderLineFirst) {
  // One line changed in the middle: removal first, then the new line.
  DiffDataList h = Lines("G1G2G3"), p = Lines("G1G9G3");
  EXPECT_EQ(Describe(CompactWalk(h, p, *gcd)), "1=G1 2-G2 3+G2 3=G3 ");
  // A line moved from the front to the end.
  DiffDataList h2 = Lines("G1G2G3"), p2 = Lines("G2G3G1");
  EXPECT_EQ(Describe(CompactWalk(h2, p2, *gcd)), "1-G1 2=G1 3=G2 0+G3 ");
}

TEST_F(LcsTest, LinesOfEqualTextButOtherTypeDoNotMatch) {
  DiffDataList h = Lines("G1"), p = Lines("g1");
  EXPECT_EQ(Describe(CompactWalk(h, p, *gcd)), "1-G1 0+g1 ");
}

TEST_F(LcsTest, CountersFollowTheTypesOfTheirSide) {
  // Older: L C n B; newer: L g B N. '+' counts by the newer type, '-' and '='
  // by the older; lower-case types count in their group and in C.
  DiffDataList h = Lines("L1C2n3B4"), p = Lines("L1g5B4N6");
  CaptureOut([&] { ASSERT_EQ(CompareCodeLCS("f.c", h, p, *gcd), 1); });
  EXPECT_EQ(Count(kLineEqual, kLineGroupL), 1);
  EXPECT_EQ(Count(kLineEqual, kLineGroupB), 1);
  EXPECT_EQ(Count(kLineAdded, kLineGroupG), 1);
  EXPECT_EQ(Count(kLineAdded, kLineGroupN), 1);
  EXPECT_EQ(Count(kLineAdded, kLineGroupC), 1);  // the g line
  EXPECT_EQ(Count(kLineRemoved, kLineGroupC), 2);  // C and n
  EXPECT_EQ(Count(kLineRemoved, kLineGroupN), 1);
}

TEST_F(LcsTest, IdenticalFilesListEqualLinesAndTheEquivalentLine) {
  gcd->cfg.showEqualLines = 1;
  DiffDataList h = Lines("L1N2G3"), p = Lines("L1N2G3");
  const std::string text = CaptureOut([&] { CompareCodeLCS("same.c", h, p, *gcd); });
  EXPECT_NE(text.find("  File: same.c\n  Older                       Newer\n"), std::string::npos);
  EXPECT_NE(text.find("            2     =     N     2          \n"), std::string::npos);
  EXPECT_NE(text.find("       *** File is Equivalent ***\n  ----------------------------------------\n"),
            std::string::npos);
  EXPECT_EQ(Count(kLineEqual, kLineGroupG), 1);
}

TEST_F(LcsTest, ListingLinesFollowTheShowSettingsAndModes) {
  gcd->cfg.showAddedLines = 1;
  gcd->cfg.showRemovedLines = 1;
  EXPECT_EQ(CaptureOut([&] {
              ShowDiffLine(7, '-', 'G', 9, *gcd);
              ShowDiffLine(7, '+', 'l', 9, *gcd);
              ShowDiffLine(7, '=', 'N', 9, *gcd);  // equal lines are not shown
            }),
            "            7     -     G                \n"
            "                  +     l     9          \n");
  gcd->sw.outputMode = OutputMode::Csv;
  EXPECT_EQ(CaptureOut([&] { ShowDiffLine(7, '-', 'G', 9, *gcd); }), "          7,-,G,           \n");
  gcd->sw.outputMode = OutputMode::Html;
  EXPECT_EQ(CaptureOut([&] { ShowDiffLine(3, '+', 'L', 4, *gcd); }),
            "<b><font color=\"#993300\">                  +     L     4          </font></b>\n");
}

TEST_F(LcsTest, LongFilesAreComparedInBlocksFromTheirEnds) {
  gcd->cfg.maxLcsFileLines = 4;
  gcd->sw.diffDebug = 1;
  // 10 and 9 lines: two blocks of 4 from the ends, then remainders of 2 and 1.
  DiffDataList h = Lines("G1G2G3G4G5G6G7G8G9Ga"), p = Lines("G2G3G4G5G6G7G8G9Ga");
  int ok = 0;
  const std::string text = CaptureOut([&] { ok = CompareCodeLCS("long.c", h, p, *gcd); });
  ASSERT_EQ(ok, 1);
  EXPECT_NE(text.find("**** Hlist count 10\n**** Plist count 9\n**** Segment: 1\n**** hstart: 6\n**** hstop: 10\n"
                      "**** pstart: 5\n**** pstop: 9\n**** Segment: 2\n"),
            std::string::npos);
  EXPECT_NE(text.find("**** Remainder\n**** hstart: 0\n**** hstop: 2\n**** pstart: 0\n**** pstop: 1\n"),
            std::string::npos);
  EXPECT_NE(text.find("\nMod L0 N0 G0 C0 B0\nEq  L0 N0 G9 C0 B0\nRm  L0 N0 G1 C0 B0\n"), std::string::npos);
  // A single block when either file is shorter than the block size.
  DiffDataList shortList = Lines("G1G2G3");
  EXPECT_NE(CaptureOut([&] { CompareCodeLCS("short.c", h, shortList, *gcd); }).find("**** No Increments \n"),
            std::string::npos);
}

TEST_F(LcsTest, ABlockTooLargeForMemoryKeepsTheCountersReached) {
  gcd->cfg.maxLcsFileLines = 1 << 20;
  // Two files of 40000 different lines: the table would have 1.6e9 cells.
  DiffDataList h, p;
  for (int k = 0; k < 40000; ++k) {
    h.push_back(DiffDataNode{k + 1, 1.0 + k, 'G', 0});
    p.push_back(DiffDataNode{k + 1, -1.0 - k, 'G', 0});
  }
  int ok = 1;
  const std::string text = CaptureOut([&] { ok = CompareCodeLCS("huge.c", h, p, *gcd); });
  EXPECT_EQ(ok, 0);
  EXPECT_NE(text.find("\n  Error: Memory Allocation LCS Array\n         File - huge.c\n"
                            "         Size - 19201920048 bytes\n"),
            std::string::npos);
}

}  // namespace
