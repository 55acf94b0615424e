// Hostile shapes: long chains given backwards, huge base lists, huge names,
// rings of bases. Each must end, keep the stack shallow and stay bounded.
#include "forest_fixture.h"

namespace {

std::string Name(int i) { return "C" + std::to_string(i); }

TEST_F(ForestTest, ChainOfAHundredThousandGivenBackwards) {
  constexpr int kN = 100000;
  for (int i = kN - 1; i > 0; --i) Class(Name(i), Name(i - 1));
  Class(Name(0));
  gcd->sw.totalsProfile = 1;
  EXPECT_EQ(Report(), "");
  const InheritanceStats& s = gcd->inh.stats;
  EXPECT_EQ(s.nodes, kN);
  EXPECT_EQ(s.maxDepth, kN - 1);
  EXPECT_EQ(s.depthSum, static_cast<long long>(kN - 1) * kN / 2);
  EXPECT_EQ(s.totalClasses, kN);
  EXPECT_EQ(gcd->inh.lost.items.count, 0);
  // Each level has one child: the XML report is written without recursion.
  gcd->sw.totalsProfile = 0;
  const std::string xml = Report(OutputMode::Xml);
  EXPECT_NE(xml.find("<name>C99999</name>\n<depth>99999</depth>"), std::string::npos);
}

TEST_F(ForestTest, ThousandBasesAndFiveThousandCharacterNames) {
  std::string bases;
  for (int i = 0; i < 1000; ++i) bases += (i ? "," : "") + std::string("B") + std::to_string(i);
  Class("Many", bases);
  Class("Under", "Many");
  const std::string longBase(5000, 'b');
  const std::string longName = std::string(4999, 'n') + "N";
  Class(longName, longBase + "," + longBase + "<" + std::string(5000, ',') + ">");
  const Lines tree = Tree();
  // Every base a made-up root holding Many; Under hangs below the first.
  EXPECT_EQ(tree.size(), 1000u * 2 + 1 + 2 * 2);
  EXPECT_EQ(tree[0], "  + B0 [D0.C1]");
  EXPECT_EQ(tree[1], "    - Many [D1.C1.P1000]");
  EXPECT_EQ(tree[2], "      - Under [D2.C0.P1]");
  EXPECT_EQ(tree[3], "  + B1 [D0.C1]");
  EXPECT_NE(std::find(tree.begin(), tree.end(), "    - " + longName + " [D1.C0.P2]"), tree.end());
  EXPECT_EQ(gcd->inh.stats.totalClasses, 1000 + 2 + 3);
}

TEST_F(ForestTest, RingsAndSelfBasesEndWithBoundedCopies) {
  // A ring of 5,000 classes, each also deriving from itself and from the
  // class two steps on: every placement has lost entries to copy into.
  constexpr int kN = 5000;
  for (int i = 0; i < kN; ++i)
    Class(Name(i), Name((i + 1) % kN) + "," + Name(i) + "," + Name((i + 2) % kN));
  Build();
  const InheritanceState& st = gcd->inh;
  EXPECT_LE(st.copiesMade, st.copyBudget);
  EXPECT_LE(st.copyWork, st.copyWorkBudget + st.copyBudget);
  gcd->sw.totalsProfile = 1;
  EXPECT_EQ(Report(), "");
  EXPECT_EQ(gcd->inh.stats.totalClasses, kN);
}

}  // namespace
