// The class inheritance tree report: the forest in pre-order with depth,
// children and parents of every class, the depth and children notices, the
// totals and averages, and the classes whose base was never placed.
#include <cstring>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "inheritance/forest.h"
#include "inheritance/inheritance.h"
#include "notices/notices.h"
#include "reports/format.h"
#include "reports/report_text.h"

namespace {

constexpr const char* kTitle = "~~ Class Inheritance Tree ~~";
constexpr const char* kLostTitle = "~~ Parents Not Found - Inheritance Tree ~~";
// Levels below this are written at its indentation (the D figure still gives
// the depth): a chain of 100,000 classes would otherwise write 10 GB of blanks.
constexpr int kMaxIndentLevels = 100;

std::string Html(const std::string& text) {
  std::string out(text.size() * 6 + 1, '\0');
  HTML_esc(text.c_str(), out.data());
  out.resize(std::strlen(out.c_str()));
  return out;
}

std::string Xml(const std::string& text) { return XmlEncodeText(text.c_str()); }

void Heading(GlobalData& gcd) {
  switch (gcd.sw.outputMode) {
    case OutputMode::Csv:
      OutS("\nClass Inheritance Tree\n");
      OutS("\nD - Depth where base class depth = 0\nC - Number of direct child classes\n"
           "P - Number of direct parents, Multiple Inheritance > 1\n");
      break;
    case OutputMode::Xml:
      OutS("<report>\n");
      OutS("<name>Class Inheritance Tree</name>\n");
      OutS("<legend>\n");
      OutS("<depth>Depth where base class = 0</depth>\n");
      OutS("<children>Number of direct child classes</children>\n");
      OutS("<parents>Number of direct parents, Multiple inheritance &gt; 1</parents>\n");
      OutS("</legend>\n");
      break;
    case OutputMode::Text:
    case OutputMode::Html:
      RuledSectionTitle(kTitle, gcd);
      OutS("\n  D - Depth where base class depth = 0\n  C - Number of direct child classes\n"
           "  P - Number of direct parents, Multiple Inheritance > 1\n");
      break;
  }
}

void WriteNode(const TreeData& n, GlobalData& gcd) {
  const int children = n.children.items.count;
  const bool root = n.depth == 0;
  const int levels = n.depth < kMaxIndentLevels ? n.depth : kMaxIndentLevels;
  const Config& cfg = gcd.cfg;
  switch (gcd.sw.outputMode) {
    case OutputMode::Text:
      if (root)
        OutF("\n  + %s [D%d.C%d]\n", n.name.c_str(), n.depth, children);
      else
        OutF("%*s- %s [D%d.C%d.P%d]\n", 2 + 2 * levels, "", n.name.c_str(), n.depth, children, n.parents);
      break;
    case OutputMode::Html:
      if (root)
        OutF("\n  <b>+ <font color=\"%s\">%s</font></b> [<span><font color=\"%s\">D%d</font></span>"
             ".<span><font color=\"%s\">C%d</font></span>]<br />",
             cfg.htmlInheritanceColor.c_str(), Html(n.name).c_str(), cfg.htmlInheritanceDepthColor.c_str(),
             n.depth, cfg.htmlInheritanceChildColor.c_str(), children);
      else
        OutF("%*s<b>-</b> %s [<font color=\"%s\">D%d</font>.<font color=\"%s\">C%d</font>.P%d]<br />",
             2 + 2 * levels, "", Html(n.name).c_str(), cfg.htmlInheritanceDepthColor.c_str(), n.depth,
             cfg.htmlInheritanceChildColor.c_str(), children, n.parents);
      break;
    case OutputMode::Csv:
      if (root)
        OutF("\n'+ %s,[D%d.C%d]\n", CsvName(n.name.c_str()).c_str(), n.depth, children);
      else
        OutF("%s- %s,[D%d.C%d.P%d]\n", std::string(static_cast<std::size_t>(levels), ',').c_str(),
             CsvName(n.name.c_str()).c_str(), n.depth, children, n.parents);
      break;
    case OutputMode::Xml:
      OutF("<class>\n<name>%s</name>\n<depth>%d</depth>\n<children>%d</children>\n", Xml(n.name).c_str(), n.depth,
           children);
      if (!root) OutF("<parent>%d</parent>\n", n.parents);
      OutS("</class>\n");
      break;
  }
}

void ShowOne(const TreeData& n, GlobalData& gcd) {
  InheritanceStats& s = gcd.inh.stats;
  const int children = n.children.items.count;
  ++s.nodes;
  s.depthSum += n.depth;
  if (n.depth > s.maxDepth) s.maxDepth = n.depth;
  if (children > 0) {
    s.childrenSum += children;
    if (children > s.maxChildren) s.maxChildren = children;
  }
  if (n.depth == 0) ++s.baseNodes;
  else ++s.derivedNodes;
  if (!gcd.sw.totalsProfile) WriteNode(n, gcd);
  const char* file = n.fileName != nullptr ? n.fileName : "";
  if (n.depth > gcd.cfg.maxInheritanceDepth) EmitInheritanceDepthNotice(file, n.line, n.name.c_str(), gcd);
  if (children > gcd.cfg.maxDerivedChildren) EmitNumberOfChildrenNotice(file, n.line, n.name.c_str(), gcd);
}

struct Total {
  const char* label;  // text and HTML, with its padding and colon
  const char* csv;
  const char* xml;
  bool real;
  long long count;
  double value;
  bool blankBefore;  // text and HTML start a group with an empty line
};

void Totals(GlobalData& gcd) {
  const InheritanceStats& s = gcd.inh.stats;
  const long long t = s.totalClasses, b = s.baseNodes, d = s.derivedNodes;
  const double ratio = b > 0 ? static_cast<double>(d) / static_cast<double>(b) : 0.0;
  const double avgDepth = t > 0 ? static_cast<double>(s.depthSum) / static_cast<double>(t) : 0.0;
  const double avgChildren = t > 0 ? static_cast<double>(s.childrenSum) / static_cast<double>(t) : 0.0;
  const Total totals[] = {
      {"Total Classes        :", "Total Classes", "classes", false, t, 0, true},
      {"Total Base Classes   :", "Total Base Classes", "base_classes", false, b, 0, false},
      {"Total Derived Classes:", "Total Derived Classes", "derived_classes", false, d, 0, false},
      {"Derived/Based Ratio  :", "Derived/Based Ratio", "derived_to_base_ratio", true, 0, ratio, false},
      {"Maximum Depth of Inheritance:", "Maximum Depth of Inheritance", "max_depth_inheritance_tree", false,
       s.maxDepth, 0, true},
      {"Average Depth of Inheritance:", "Average Depth of Inheritance", "avg_depth_inheritance_tree", true, 0,
       avgDepth, false},
      {"Maximum Number of Direct Child Classes:", "Maximum Number of Direct Child Classes",
       "max_number_direct_children", false, s.maxChildren, 0, true},
      {"Average Number of Direct Child Classes:", "Average Number of Direct Child Classes",
       "avg_number_direct_children", true, 0, avgChildren, false},
  };
  const OutputMode mode = gcd.sw.outputMode;
  if (mode == OutputMode::Csv) OutS("\n");
  if (mode == OutputMode::Xml) OutS("<totals>\n");
  for (const Total& line : totals) {
    switch (mode) {
      case OutputMode::Text:
      case OutputMode::Html: {
        if (line.blankBefore) OutS("\n");
        const char* open = mode == OutputMode::Html ? "<b>" : "";
        const char* close = mode == OutputMode::Html ? "</b>" : "";
        if (line.real) OutF("  %s%s%s %-6.2f\n", open, line.label, close, line.value);
        else OutF("  %s%s%s %lld\n", open, line.label, close, line.count);
        break;
      }
      case OutputMode::Csv:
        if (line.real) OutF("%s,%-6.2f\n", line.csv, line.value);
        else OutF("%s,%lld\n", line.csv, line.count);
        break;
      case OutputMode::Xml:
        if (line.real) OutF("<%s>%.2f</%s>\n", line.xml, line.value, line.xml);
        else OutF("<%s>%lld</%s>\n", line.xml, line.count, line.xml);
        break;
    }
  }
  if (mode == OutputMode::Xml) OutS("</totals>\n");
}

void LostChildren(GlobalData& gcd) {
  const TreeList& lost = gcd.inh.lost;
  if (lost.items.head == nullptr) return;
  const OutputMode mode = gcd.sw.outputMode;
  if (mode == OutputMode::Csv) {
    OutS("Parents Not Found - Inheritance Tree\n");
  } else if (mode == OutputMode::Xml) {
    OutS("<parents_not_found_tree>\n");
  } else {
    RuledSectionTitle(kLostTitle, gcd);
    OutS("\n");
  }
  for (const TreeData& entry : lost.items) LostChildNodeShow(entry, gcd);
  if (mode == OutputMode::Xml) OutS("</parents_not_found_tree>\n");
}

}  // namespace

void TreeNodeShow(const TreeData& node, GlobalData& gcd) {
  // A node without a name, or whose name begins with a blank, is skipped
  // together with its subtree.
  ForEachInSubtree(&node, [&](const TreeData* n) {
    if (n->name.empty() || n->name[0] == ' ') return false;
    ShowOne(*n, gcd);
    return true;
  });
}

void LostChildNodeShow(const TreeData& node, GlobalData& gcd) {
  switch (gcd.sw.outputMode) {
    case OutputMode::Text:
      OutF("  Lost Child Node: %s  Parent: %s\n", node.name.c_str(), node.parentName.c_str());
      break;
    case OutputMode::Html:
      OutF("  <b>Lost Child Node</b>: %s  Parent: %s\n", Html(node.name).c_str(), Html(node.parentName).c_str());
      break;
    case OutputMode::Csv:
      OutF("Lost Child Node,%s,parent,%s\n", CsvName(node.name.c_str()).c_str(), CsvName(node.parentName.c_str()).c_str());
      break;
    case OutputMode::Xml:
      OutF("<lost_child_node>\n<name>%s</name>\n<parent>%s</parent>\n</lost_child_node>\n", Xml(node.name).c_str(),
           Xml(node.parentName).c_str());
      break;
  }
}

void ReportInheritanceTree(GlobalData& gcd) {
  InheritanceState& st = gcd.inh;
  if (gcd.lists.classes.count + gcd.lists.interfaces.count == 0 || st.forest.items.head == nullptr) return;
  st.stats = InheritanceStats{};
  const bool write = !gcd.sw.totalsProfile;
  const bool xml = gcd.sw.outputMode == OutputMode::Xml;
  if (write) Heading(gcd);
  if (write && xml) OutS("<inheritance_tree>\n");
  for (const TreeData& root : st.forest.items) TreeNodeShow(root, gcd);
  if (write && xml) OutS("</inheritance_tree>\n");
  UniqueClassesInTree(st.forest, st.stats.baseNodes, st.stats.derivedNodes, st.stats.totalClasses, gcd);
  if (!write) return;
  Totals(gcd);
  LostChildren(gcd);
  if (xml) OutS("</report>\n");
}
