// Building the forest: placement, resolution of base names, lost children,
// made-up roots, duplicate roots, cycles and order.
#include "forest_fixture.h"

namespace {

TEST_F(ForestTest, RootsAndChildrenInByteOrderAndReversedWithKd) {
  Class("alpha");
  Class("Zeta");
  Class("Mid", "Zeta");
  Class("Alpha2", "Zeta");
  EXPECT_EQ(Tree(), (Lines{"  + Zeta [D0.C2]", "    - Alpha2 [D1.C0.P1]", "    - Mid [D1.C0.P1]",
                           "  + alpha [D0.C0]"}));

  Forest descending;
  descending.gcd->sw.sortDescending = 1;
  for (const char* n : {"alpha", "Zeta"}) descending.Class(n);
  descending.Class("Mid", "Zeta");
  descending.Class("Alpha2", "Zeta");
  EXPECT_EQ(descending.Tree(), (Lines{"  + alpha [D0.C0]", "  + Zeta [D0.C2]", "    - Mid [D1.C0.P1]",
                                      "    - Alpha2 [D1.C0.P1]"}));
}

TEST_F(ForestTest, DiamondShowsTheClassUnderEachBaseAndCountsItOnce) {
  Class("Top");
  Class("Left", "Top");
  Class("Right", "Top");
  Class("Both", "Left,Right");
  EXPECT_EQ(Tree(), (Lines{"  + Top [D0.C2]", "    - Left [D1.C1.P1]", "      - Both [D2.C0.P2]",
                           "    - Right [D1.C1.P1]", "      - Both [D2.C0.P2]"}));
  const InheritanceStats& s = gcd->inh.stats;
  EXPECT_EQ(s.totalClasses, 4);
  EXPECT_EQ(s.baseNodes, 1);
  EXPECT_EQ(s.derivedNodes, 3);
  EXPECT_EQ(s.nodes, 5);
  EXPECT_EQ(s.depthSum, 6);
}

TEST_F(ForestTest, BasesSeenAfterTheirDerivedClassesAreResolvedInLaterPasses) {
  // A chain given from its last class to its first, and a base whose own
  // base is never defined.
  Class("C3", "C2", "c3.cpp", 30);
  Class("C2", "C1", "c2.cpp", 20);
  Class("C1", "C0", "c1.cpp", 10);
  Class("C0", "", "c0.cpp", 5);
  Class("Leaf", "Missing", "leaf.cpp", 7);
  EXPECT_EQ(Tree(), (Lines{"  + C0 [D0.C1]", "    - C1 [D1.C1.P1]", "      - C2 [D2.C1.P1]",
                           "        - C3 [D3.C0.P1]", "  + Missing [D0.C1]", "    - Leaf [D1.C0.P1]"}));
  const TreeData* c0 = Root("C0");
  ASSERT_NE(c0, nullptr);
  EXPECT_EQ(c0->line, 5);
  // The made-up root: line 0, the file of its first lost child, no parents.
  const TreeData* missing = Root("Missing");
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ(missing->line, 0);
  EXPECT_STREQ(missing->fileName, "leaf.cpp");
  EXPECT_EQ(missing->parents, 0);
  EXPECT_EQ(gcd->inh.lost.items.count, 0);
}

TEST_F(ForestTest, CyclesEndAndShowEachClassOnItsPath) {
  Class("Self", "Self");
  Class("A", "B");
  Class("B", "A");
  Class("P", "R");
  Class("Q", "P");
  Class("R", "Q");
  EXPECT_EQ(Tree(), (Lines{"  + A [D0.C1]", "    - B [D1.C1.P1]", "      - A [D2.C1.P1]", "        - B [D3.C0.P1]",
                           "  + P [D0.C1]", "    - Q [D1.C1.P1]", "      - R [D2.C1.P1]", "        - P [D3.C1.P1]",
                           "          - Q [D4.C1.P1]", "            - R [D5.C0.P1]", "  + Self [D0.C1]", "    - Self [D1.C0.P1]"}));
}

TEST_F(ForestTest, BaseNamesResolveInTheClassScopeFirst) {
  // The same names in two namespaces, each class under the base of its own.
  Class("ns1::B");
  Class("ns2::B");
  Class("ns1::A", "B");
  Class("ns2::A", "B");
  // A global base found through "::" + name; a qualified base used as written.
  Class("Outer::G");
  Class("Free", "G");
  Class("ns1::C", "ns2::B");
  EXPECT_EQ(Tree(), (Lines{"  + Outer::G [D0.C1]", "    - Free [D1.C0.P1]", "  + ns1::B [D0.C1]",
                           "    - ns1::A [D1.C0.P1]", "  + ns2::B [D0.C2]", "    - ns1::C [D1.C0.P1]",
                           "    - ns2::A [D1.C0.P1]"}));
}

TEST_F(ForestTest, ScopedLookUpMatchesWholeNamesNotFragments) {
  // "pkg.List" is part of "pkg.List.Node" and "n::B" of "n::Bar": neither
  // may stand for the other.
  Class("pkg.List.Node", "", "List.java", 3);
  Class("pkg.List", "", "List.java", 1);
  Class("pkg.ArrayList", "List");
  Class("n::Bar");
  Class("n::D", "B");
  EXPECT_EQ(Tree(), (Lines{"  + B [D0.C1]", "    - n::D [D1.C0.P1]", "  + n::Bar [D0.C0]", "  + pkg.List [D0.C1]",
                           "    - pkg.ArrayList [D1.C0.P1]", "  + pkg.List.Node [D0.C0]"}));
  EXPECT_TRUE(ListCompPartName("Interface-ns.IFoo", "ns.IFoo"));
  EXPECT_TRUE(ListCompPartName("a::ns::B", "ns::B"));
  EXPECT_FALSE(ListCompPartName("myns::B", "ns::B"));
}

TEST_F(ForestTest, InterfacesAndTemplateBasesAmongTheBases) {
  Interface("ns.IFoo");
  Class("ns.Base");
  Class("ns.A", "IFoo,Base");
  // The template arguments stay with their base.
  Class("T", "Pair<int,char>,Other");
  EXPECT_EQ(Tree(), (Lines{"  + Interface-ns.IFoo [D0.C1]", "    - ns.A [D1.C0.P2]", "  + Other [D0.C1]",
                           "    - T [D1.C0.P2]", "  + Pair<int,char> [D0.C1]", "    - T [D1.C0.P2]",
                           "  + ns.Base [D0.C1]", "    - ns.A [D1.C0.P2]"}));
  EXPECT_EQ(SplitBaseList("A<B<C,D>,E>,F"), (std::vector<std::string_view>{"A<B<C,D>,E>", "F"}));
  EXPECT_EQ(SplitBaseList("A>,B"), (std::vector<std::string_view>{"A>", "B"}));
}

TEST_F(ForestTest, BaseArgumentsChooseAmongSpecialisations) {
  // A specialisation is taken for its own arguments, the primary template
  // for any others; a qualified base prefers the class of exactly its name.
  Class("Base");
  Class("Base<int>");
  Class("D", "Base<int>");
  Class("E", "Base<char>");
  Class("n::B");
  Class("outer::n::B");
  Class("m::X", "n::B");
  EXPECT_EQ(Tree(), (Lines{"  + Base [D0.C1]", "    - E [D1.C0.P1]", "  + Base<int> [D0.C1]", "    - D [D1.C0.P1]",
                           "  + n::B [D0.C1]", "    - m::X [D1.C0.P1]", "  + outer::n::B [D0.C0]"}));
  EXPECT_EQ(WithoutArguments("a.Map<K,V>.Entry<K,Set<V>>"), "a.Map.Entry");
  EXPECT_EQ(WithoutArguments("Open<int"), "Open");
}

TEST_F(ForestTest, DuplicateRootIsReportedAndKeptOnce) {
  Class("A", "", "one.cpp");
  Class("A", "", "two.cpp");
  Class("B", "A");
  Class("B", ",");  // a base list without a base name is no base list
  Build();
  EXPECT_EQ(buildOutput, "  Error: Duplicate Root Node: A - Inheritance \n"
                         "  Error: Duplicate Root Node: B - Inheritance ,\n");
  EXPECT_EQ(Tree(), (Lines{"  + A [D0.C1]", "    - B [D1.C0.P1]"}));
  EXPECT_STREQ(Root("A")->fileName, "one.cpp");
}

TEST_F(ForestTest, MadeUpRootMergesIntoTheClassFoundLater) {
  // X is lost until its own base Y gets a made-up root; the made-up root X
  // made for A then merges into the real X.
  Class("A", "X");
  Class("X", "Y");
  EXPECT_EQ(Tree(), (Lines{"  + Y [D0.C1]", "    - X [D1.C1.P1]", "      - A [D2.C0.P1]"}));
}

TEST_F(ForestTest, MergedRootKeepsTheChildrenTheOtherNodeLacks) {
  Class("Foo");
  Class("Bar", "Foo");
  Class("Base");
  Class("Foo", "Base");
  Class("Baz", "Foo");
  Class("Deep", "Bar");
  EXPECT_EQ(Tree(), (Lines{"  + Base [D0.C1]", "    - Foo [D1.C2.P1]", "      - Bar [D2.C1.P1]",
                           "        - Deep [D3.C0.P1]", "      - Baz [D2.C0.P1]"}));
}

TEST_F(ForestTest, BaseThatCanNeverBeMadeStaysLost) {
  Class("D", "X::");
  Class("E", "Known");
  Class("Known");
  const std::string report = Report();
  EXPECT_EQ(Tree(), (Lines{"  + Known [D0.C1]", "    - E [D1.C0.P1]"}));
  EXPECT_NE(report.find("~~ Parents Not Found - Inheritance Tree ~~\n\n  Lost Child Node: D  Parent: X::\n"),
            std::string::npos);
}

TEST_F(ForestTest, NamesAtOrBelowTheSpaceAreSkipped) {
  Class("");
  Class(" Blank");
  Class("\xc3\x9c" "ber", "Base");
  EXPECT_EQ(Tree(), (Lines{"  + Base [D0.C1]", "    - \xc3\x9c" "ber [D1.C0.P1]"}));
}

}  // namespace
