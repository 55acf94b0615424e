// The top tables: files by eLOC and by notices, each row linking to the
// file's rectangle in the treemap.
#include <algorithm>

#include "dashboard/markup.h"
#include "dashboard/sections.h"

namespace {

constexpr std::size_t kTopFiles = 25;

// The first n file indices by key descending, then by name.
template <typename Key>
std::vector<int> TopFiles(const DashboardData& data, Key key) {
  std::vector<int> order;
  for (std::size_t i = 0; i < data.files.size(); ++i)
    if (key(data.files[i]) > 0) order.push_back(static_cast<int>(i));
  const auto before = [&](int a, int b) {
    const DashFile& fa = data.files[static_cast<std::size_t>(a)];
    const DashFile& fb = data.files[static_cast<std::size_t>(b)];
    if (key(fa) != key(fb)) return key(fa) > key(fb);
    if (fa.name != fb.name) return fa.name < fb.name;
    return a < b;
  };
  const std::size_t n = std::min(order.size(), kTopFiles);
  std::partial_sort(order.begin(), order.begin() + static_cast<long>(n), order.end(), before);
  order.resize(n);
  return order;
}

void WriteTable(std::string& out, const char* heading, const std::vector<int>& rows, const DashboardData& data,
                const Treemap& map) {
  out += std::string("<h3>") + heading + "</h3>\n";
  out += "<table class=\"top\"><thead><tr><th>#</th><th>File</th><th class=\"num\">eLOC</th><th class=\"num\">Lines</th>";
  if (data.haveFunctions) out += "<th class=\"num\">Functions</th><th class=\"num\">Highest complexity</th>";
  if (data.haveNotices) out += "<th class=\"num\">Notices</th>";
  out += "</tr></thead>\n<tbody>\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const DashFile& f = data.files[static_cast<std::size_t>(rows[i])];
    const std::string anchor = TreemapAnchor(map, rows[i]);
    out += "<tr><td class=\"num\">" + std::to_string(i + 1) + "</td><td class=\"name\">";
    if (!anchor.empty()) out += "<a href=\"#" + anchor + "\">" + Escaped(f.name) + "</a>";
    else out += Escaped(f.name);
    out += "</td><td class=\"num\">" + std::to_string(f.eloc) + "</td><td class=\"num\">" + std::to_string(f.lines) +
           "</td>";
    if (data.haveFunctions)
      out += "<td class=\"num\">" + std::to_string(f.functions) + "</td><td class=\"num\">" +
             std::to_string(f.maxComplexity) + "</td>";
    if (data.haveNotices) out += "<td class=\"num\">" + std::to_string(f.notices) + "</td>";
    out += "</tr>\n";
  }
  out += "</tbody></table>\n";
}

}  // namespace

void WriteTopTablesSection(std::string& out, const DashboardData& data, const Treemap& map) {
  out += "<section id=\"top\">\n<h2>Top files</h2>\n";
  const std::vector<int> byEloc = TopFiles(data, [](const DashFile& f) { return f.eloc; });
  if (byEloc.empty()) out += "<p class=\"none\">No file has eLOC to show.</p>\n";
  else WriteTable(out, "Files by eLOC", byEloc, data, map);
  if (!data.haveNotices) {
    out += "<p class=\"none\">Run with -n to include notices.</p>\n";
  } else {
    const std::vector<int> byNotices = TopFiles(data, [](const DashFile& f) { return f.notices; });
    if (byNotices.empty()) out += "<p class=\"none\">No file has notices.</p>\n";
    else WriteTable(out, "Files by notices", byNotices, data, map);
  }
  out += "</section>\n";
}
