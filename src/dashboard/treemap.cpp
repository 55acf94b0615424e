// The treemap of eLOC: directories as outlined, labelled groups, files as
// tiles with areas proportional to their eLOC, coloured by the highest
// complexity of their functions.
#include "dashboard/markup.h"
#include "dashboard/sections.h"

namespace {

constexpr double kWidth = 1160, kHeight = 720;
constexpr int kRectangleCap = 2000;
constexpr const char* kPlainColour = "#9ecae1";  // tiles when no function was analysed
constexpr const char* kOtherColour = "#e8e8e8";

std::string Whole(double size) { return std::to_string(static_cast<long long>(size)); }

void AppendRectAttributes(std::string& out, const TreemapRect& r) {
  out += " x=\"" + Decimal1(r.x) + "\" y=\"" + Decimal1(r.y) + "\" width=\"" + Decimal1(r.w) + "\" height=\"" +
         Decimal1(r.h) + "\"";
}

// A label inside a rectangle, when any of it fits: a directory's in its top
// left corner (below the label of a parent that shares the corner), a
// file's at the bottom, so that the directory labels stay readable.
void AppendLabel(std::string& out, const TreemapRect& r, std::string_view text, double fontSize, const char* cls,
                 double down, bool bottom) {
  const double inset = 2;
  if (r.h < fontSize + 3 + down || r.w < fontSize * 2) return;
  const std::string label = FitLabel(text, r.w - 2 * inset, fontSize);
  if (label.empty()) return;
  const double y = bottom ? r.y + r.h - inset - fontSize * 0.2 : r.y + down + inset + fontSize * 0.85;
  out += std::string("<text class=\"") + cls + "\" x=\"" + Decimal1(r.x + inset) + "\" y=\"" + Decimal1(y) + "\">" +
         Escaped(label);
  if (label != text) out += "<title>" + Escaped(text) + "</title>";
  out += "</text>\n";
}

void WriteTile(std::string& out, const TreemapNode& node, int index, const DashboardData& data) {
  const char* colour = kOtherColour;
  std::string title = Escaped(node.path);
  if (node.kind == TreemapKind::File) {
    const DashFile& f = data.files[static_cast<std::size_t>(node.id)];
    if (data.haveFunctions) colour = ComplexityColour(f.maxComplexity);
    else colour = kPlainColour;
    title += "\n" + std::to_string(f.eloc) + " eLOC";
    if (data.haveFunctions)
      title += f.functions > 0 ? ", " + std::to_string(f.functions) + (f.functions == 1 ? " function" : " functions") +
                                     ", highest complexity " +
                                     std::to_string(f.maxComplexity)
                               : ", no functions";
    if (data.haveNotices) title += ", " + std::to_string(f.notices) + " notices";
  } else {
    title += "/\n" + Escaped(node.label) + ": " + Whole(node.size) +
             " eLOC";
  }
  out += "<rect id=\"tm" + std::to_string(index) + "\" class=\"" +
         (node.kind == TreemapKind::File ? std::string("tile") : std::string("tile other")) + "\" data-eloc=\"" +
         Whole(node.size) + "\"";
  AppendRectAttributes(out, node.rect);
  out += std::string(" fill=\"") + colour + "\"><title>" + title + "</title></rect>\n";
  if (node.rect.h >= 24) AppendLabel(out, node.rect, node.label, 9, "tilelabel", 0, true);
}

void WriteLegend(std::string& out, const DashboardData& data) {
  out += "<p class=\"legend\">";
  if (!data.haveFunctions) {
    out += "Area: eLOC. Run with -fa to colour the files by the complexity of their functions.</p>\n";
    return;
  }
  out += "Area: eLOC; colour: the highest complexity of the file's functions: ";
  for (int b = 0; b < kComplexityBuckets; ++b) {
    const ComplexityBucket& k = kComplexityBucketTable[static_cast<std::size_t>(b)];
    out += std::string("<span class=\"swatch\" style=\"background:") + ComplexityColour(k.low) + "\"></span>" +
           k.label + " ";
  }
  out += std::string("<span class=\"swatch\" style=\"background:") + ComplexityColour(0) +
         "\"></span>no functions</p>\n";
}

}  // namespace

Treemap DashboardTreemap(const DashboardData& data) {
  std::vector<TreemapInput> inputs;
  inputs.reserve(data.files.size());
  for (std::size_t i = 0; i < data.files.size(); ++i)
    inputs.push_back(TreemapInput{data.files[i].name, static_cast<double>(data.files[i].eloc), static_cast<int>(i)});
  return BuildTreemap(inputs, TreemapRect{0, 0, kWidth, kHeight}, kRectangleCap, static_cast<int>(data.files.size()));
}

std::string TreemapAnchor(const Treemap& map, int fileIndex) {
  if (fileIndex < 0 || static_cast<std::size_t>(fileIndex) >= map.nodeOfId.size()) return {};
  const int node = map.nodeOfId[static_cast<std::size_t>(fileIndex)];
  return node < 0 ? std::string() : "tm" + std::to_string(node);
}

void WriteTreemapSection(std::string& out, const DashboardData& data, const Treemap& map) {
  out += "<section id=\"treemap\">\n<h2>Treemap of eLOC</h2>\n";
  if (map.nodes.empty()) {
    out += "<p class=\"none\">No file has eLOC to show.</p>\n</section>\n";
    return;
  }
  int files = 0, merged = 0;
  for (const TreemapNode& node : map.nodes) {
    if (node.kind == TreemapKind::File) ++files;
    if (node.kind == TreemapKind::Other) merged += node.merged;
  }
  out += "<p>" + std::to_string(files + merged) + " files with eLOC in " + Escaped(map.nodes[0].path) + ".";
  if (merged > 0)
    out += " The smallest " + std::to_string(merged) + " files are merged per directory into \xE2\x80\x9Cother\xE2\x80\x9D tiles, "
           "so that the map holds at most " + std::to_string(kRectangleCap) + " tiles.";
  out += "</p>\n";
  WriteLegend(out, data);
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart treemap\" width=\"1160\" height=\"720\" "
         "viewBox=\"0 0 1160 720\" role=\"img\" aria-label=\"Treemap of eLOC\">\n";
  for (std::size_t i = 0; i < map.nodes.size(); ++i)
    if (map.nodes[i].kind != TreemapKind::Directory) WriteTile(out, map.nodes[i], static_cast<int>(i), data);
  // Directory outlines and labels over the tiles, outer directories last so
  // that their borders stay visible.
  for (int depth = 3; depth >= 1; --depth) {
    for (std::size_t i = 1; i < map.nodes.size(); ++i) {
      const TreemapNode& node = map.nodes[i];
      if (node.kind != TreemapKind::Directory || node.depth != depth) continue;
      if (node.rect.w < 4 || node.rect.h < 4) continue;
      out += "<rect class=\"dir d" + std::to_string(depth) + "\"";
      AppendRectAttributes(out, node.rect);
      out += "><title>" + Escaped(node.path) + "/: " + Whole(node.size) +
             " eLOC</title></rect>\n";
      if (depth > 2) continue;
      const TreemapRect& up = map.nodes[static_cast<std::size_t>(node.parent)].rect;
      const bool sharesCorner = depth == 2 && node.rect.x - up.x < 1 && node.rect.y - up.y < 1;
      AppendLabel(out, node.rect, node.label, depth == 1 ? 12 : 10, depth == 1 ? "dirlabel l1" : "dirlabel l2", sharesCorner ? 14 : 0, false);
    }
  }
  out += "</svg>\n</section>\n";
}
