// The class inheritance tree report, byte for byte in the four output modes.
#include "forest_fixture.h"

namespace {

const std::string kHyphens = "  " + std::string(72, '-') + "\n\n";

class TreeReport : public ForestTest {
 protected:
  // A diamond and a class whose base can never be placed.
  void Diamond() {
    Class("Base");
    Class("Left", "Base");
    Class("Right", "Base");
    Class("Both", "Left,Right");
    Class("Orphan", "X::");
  }
};

TEST_F(TreeReport, Text) {
  Diamond();
  EXPECT_EQ(Report(OutputMode::Text),
            kHyphens + std::string(24, ' ') + "~~ Class Inheritance Tree ~~\n" +
                "\n  D - Depth where base class depth = 0\n"
                "  C - Number of direct child classes\n"
                "  P - Number of direct parents, Multiple Inheritance > 1\n"
                "\n  + Base [D0.C2]\n"
                "    - Left [D1.C1.P1]\n"
                "      - Both [D2.C0.P2]\n"
                "    - Right [D1.C1.P1]\n"
                "      - Both [D2.C0.P2]\n"
                "\n"
                "  Total Classes        : 4\n"
                "  Total Base Classes   : 1\n"
                "  Total Derived Classes: 3\n"
                "  Derived/Based Ratio  : 3.00  \n"
                "\n"
                "  Maximum Depth of Inheritance: 2\n"
                "  Average Depth of Inheritance: 1.50  \n"
                "\n"
                "  Maximum Number of Direct Child Classes: 2\n"
                "  Average Number of Direct Child Classes: 1.00  \n" +
                kHyphens + std::string(17, ' ') + "~~ Parents Not Found - Inheritance Tree ~~\n\n" +
                "  Lost Child Node: Orphan  Parent: X::\n");
  // The statistics start afresh for every report.
  EXPECT_EQ(Report(OutputMode::Text), Report(OutputMode::Text));
}

TEST_F(TreeReport, Csv) {
  Diamond();
  EXPECT_EQ(Report(OutputMode::Csv),
            "\nClass Inheritance Tree\n"
            "\nD - Depth where base class depth = 0\n"
            "C - Number of direct child classes\n"
            "P - Number of direct parents, Multiple Inheritance > 1\n"
            "\n'+ Base,[D0.C2]\n"
            ",- Left,[D1.C1.P1]\n"
            ",,- Both,[D2.C0.P2]\n"
            ",- Right,[D1.C1.P1]\n"
            ",,- Both,[D2.C0.P2]\n"
            "\n"
            "Total Classes,4\n"
            "Total Base Classes,1\n"
            "Total Derived Classes,3\n"
            "Derived/Based Ratio,3.00  \n"
            "Maximum Depth of Inheritance,2\n"
            "Average Depth of Inheritance,1.50  \n"
            "Maximum Number of Direct Child Classes,2\n"
            "Average Number of Direct Child Classes,1.00  \n"
            "Parents Not Found - Inheritance Tree\n"
            "Lost Child Node,Orphan,parent,X::\n");
}

TEST_F(TreeReport, CsvNamesKeepTheirColumns) {
  Class("Map<K,V>");
  Class("Hash<K,V>", "Map<K,V>");
  Class("Orphan<A,B>", "X<C,D>::");
  const std::string csv = Report(OutputMode::Csv);
  EXPECT_NE(csv.find("\n'+ Map<K V>,[D0.C1]\n,- Hash<K V>,[D1.C0.P1]\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\nLost Child Node,Orphan<A B>,parent,X<C D>::\n"), std::string::npos) << csv;
}

TEST_F(TreeReport, Xml) {
  Diamond();
  auto node = [](const char* name, int depth, int children, int parents) {
    std::string s = std::string("<class>\n<name>") + name + "</name>\n<depth>" + std::to_string(depth) +
                    "</depth>\n<children>" + std::to_string(children) + "</children>\n";
    if (parents >= 0) s += "<parent>" + std::to_string(parents) + "</parent>\n";
    return s + "</class>\n";
  };
  EXPECT_EQ(Report(OutputMode::Xml),
            "<report>\n<name>Class Inheritance Tree</name>\n<legend>\n"
            "<depth>Depth where base class = 0</depth>\n"
            "<children>Number of direct child classes</children>\n"
            "<parents>Number of direct parents, Multiple inheritance &gt; 1</parents>\n"
            "</legend>\n<inheritance_tree>\n" +
                node("Base", 0, 2, -1) + node("Left", 1, 1, 1) + node("Both", 2, 0, 2) + node("Right", 1, 1, 1) +
                node("Both", 2, 0, 2) +
                "</inheritance_tree>\n<totals>\n<classes>4</classes>\n<base_classes>1</base_classes>\n"
                "<derived_classes>3</derived_classes>\n<derived_to_base_ratio>3.00</derived_to_base_ratio>\n"
                "<max_depth_inheritance_tree>2</max_depth_inheritance_tree>\n"
                "<avg_depth_inheritance_tree>1.50</avg_depth_inheritance_tree>\n"
                "<max_number_direct_children>2</max_number_direct_children>\n"
                "<avg_number_direct_children>1.00</avg_number_direct_children>\n</totals>\n"
                "<parents_not_found_tree>\n<lost_child_node>\n<name>Orphan</name>\n<parent>X::</parent>\n"
                "</lost_child_node>\n</parents_not_found_tree>\n</report>\n");
}

TEST_F(TreeReport, HtmlEscapesNamesAndColoursRootsAndFigures) {
  Class("Base");
  Class("Kid<int>", "Base");
  EXPECT_EQ(Report(OutputMode::Html),
            kHyphens + "<b><font color=\"#993300\">" + std::string(24, ' ') +
                "~~ Class Inheritance Tree ~~\n</font></b>"
                "\n  D - Depth where base class depth = 0\n"
                "  C - Number of direct child classes\n"
                "  P - Number of direct parents, Multiple Inheritance > 1\n"
                "\n  <b>+ <font color=\"#FF3300\">Base</font></b> [<span><font color=\"#333300\">D0</font></span>"
                ".<span><font color=\"#CC6600\">C1</font></span>]<br />"
                "    <b>-</b> Kid&lt;int&gt; [<font color=\"#333300\">D1</font>.<font color=\"#CC6600\">C0</font>"
                ".P1]<br />"
                "\n"
                "  <b>Total Classes        :</b> 2\n"
                "  <b>Total Base Classes   :</b> 1\n"
                "  <b>Total Derived Classes:</b> 1\n"
                "  <b>Derived/Based Ratio  :</b> 1.00  \n"
                "\n"
                "  <b>Maximum Depth of Inheritance:</b> 1\n"
                "  <b>Average Depth of Inheritance:</b> 0.50  \n"
                "\n"
                "  <b>Maximum Number of Direct Child Classes:</b> 1\n"
                "  <b>Average Number of Direct Child Classes:</b> 0.50  \n");
}

TEST_F(TreeReport, ProfileModeWritesNothingButCounts) {
  Diamond();
  gcd->sw.totalsProfile = 1;
  EXPECT_EQ(Report(OutputMode::Text), "");
  EXPECT_EQ(Report(OutputMode::Xml), "");
  const InheritanceStats& s = gcd->inh.stats;
  EXPECT_EQ(s.nodes, 5);
  EXPECT_EQ(s.maxDepth, 2);
  EXPECT_EQ(s.totalClasses, 4);
}

TEST_F(TreeReport, NothingWithoutClasses) {
  EXPECT_EQ(Report(OutputMode::Text), "");
  // Classes whose names are all skipped leave the forest empty.
  Forest blank;
  blank.Class(" x");
  EXPECT_EQ(blank.Report(OutputMode::Xml), "");
}

TEST_F(TreeReport, DeepTreesAreIndentedUpToALimitAndShowTheirDepth) {
  Class("C0");
  for (int i = 1; i <= 150; ++i) Class("C" + std::to_string(i), "C" + std::to_string(i - 1));
  const Lines tree = Tree();
  ASSERT_EQ(tree.size(), 151u);
  EXPECT_EQ(tree[100], std::string(202, ' ') + "- C100 [D100.C1.P1]");
  EXPECT_EQ(tree[150], std::string(202, ' ') + "- C150 [D150.C0.P1]");
  const std::string csv = Report(OutputMode::Csv);
  EXPECT_NE(csv.find("\n" + std::string(100, ',') + "- C150,[D150.C0.P1]\n"), std::string::npos);
}

}  // namespace
