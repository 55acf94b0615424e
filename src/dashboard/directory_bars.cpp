// Notices per directory: the directories with the most notices as bars
// stacked by notice category, with the notices per thousand eLOC beside.
#include <algorithm>
#include <map>

#include "dashboard/markup.h"
#include "dashboard/sections.h"
#include "notices/notice_severity.h"

namespace {

constexpr int kTopDirectories = 20;
constexpr const char* kCategoryColour[kDashCategories] = {"#d73027", "#fc8d59", "#4575b4", "#91bfdb", "#999999"};
constexpr double kRowHeight = 22, kTop = 8;
constexpr double kLabelWidth = 300, kBarLeft = 310, kBarWidth = 440, kRateLeft = 760;

std::string_view DirectoryOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string Rate(int notices, long long eloc) {
  if (eloc <= 0) return "\xE2\x80\x93";  // en dash: no eLOC to divide by
  return Decimal1(static_cast<double>(notices) * 1000.0 / static_cast<double>(eloc));
}

void WriteLegend(std::string& out) {
  out += "<p class=\"legend\">";
  for (int c = 0; c < kDashCategories; ++c)
    out += std::string("<span class=\"swatch\" style=\"background:") + kCategoryColour[c] + "\"></span>" +
           CategoryName(static_cast<NoticeCategory>(c)) + " ";
  out += "</p>\n";
}

}  // namespace

std::vector<DirectoryNotices> NoticesByDirectory(const DashboardData& data) {
  std::map<std::string_view, DirectoryNotices> byName;
  for (const DashFile& f : data.files) {
    DirectoryNotices& d = byName[DirectoryOf(f.name)];
    for (int c = 0; c < kDashCategories; ++c) {
      d.categories[static_cast<std::size_t>(c)] += f.categories[static_cast<std::size_t>(c)];
      d.shown += f.categories[static_cast<std::size_t>(c)];
    }
    d.frequent += f.frequent;
    d.notices += f.notices;
    d.eloc += f.eloc;
  }
  std::vector<DirectoryNotices> out;
  out.reserve(byName.size());
  for (auto& [name, d] : byName) {
    d.name.assign(name);
    out.push_back(std::move(d));
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const DirectoryNotices& a, const DirectoryNotices& b) { return a.shown > b.shown; });
  return out;
}

void WriteDirectorySection(std::string& out, const DashboardData& data) {
  out += "<section id=\"notices\">\n<h2>Notices per directory</h2>\n";
  if (!data.haveNotices) {
    out += "<p class=\"none\">Run with -n to include notices.</p>\n</section>\n";
    return;
  }
  const std::vector<DirectoryNotices> dirs = NoticesByDirectory(data);
  long long frequent = 0;
  for (const DirectoryNotices& d : dirs) frequent += d.frequent;
  std::size_t rows = 0;
  while (rows < dirs.size() && rows < kTopDirectories && dirs[rows].shown > 0) ++rows;
  out += "<p>The directories with the most notices, by category, with the notices per thousand eLOC beside "
         "each bar.";
  if (frequent > 0)
    out += " Tab and line length notices, which fire on most lines, are left out of this chart (" +
           std::to_string(frequent) + " of them).";
  out += "</p>\n";
  if (rows == 0) {
    out += "<p class=\"none\">No directory has notices to show.</p>\n</section>\n";
    return;
  }
  WriteLegend(out);
  // Labels name each directory below the one all of them share.
  std::size_t common = dirs[0].name.size();
  for (const DirectoryNotices& d : dirs) {
    std::size_t n = 0;
    while (n < common && n < d.name.size() && d.name[n] == dirs[0].name[n]) ++n;
    common = n;
  }
  while (common > 0 && dirs[0].name[common - 1] != '/') --common;
  int largest = 1;
  for (std::size_t i = 0; i < rows; ++i) largest = std::max(largest, dirs[i].shown);
  const double height = kTop * 2 + kRowHeight * static_cast<double>(rows) + 16;
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" width=\"900\" height=\"" + Decimal1(height) +
         "\" viewBox=\"0 0 900 " + Decimal1(height) + "\" role=\"img\" aria-label=\"Notices per directory\">\n";
  out += "<text class=\"axis\" x=\"" + Decimal1(kRateLeft) + "\" y=\"" + Decimal1(kTop + 4) +
         "\">per kELOC</text>\n";
  for (std::size_t i = 0; i < rows; ++i) {
    const DirectoryNotices& d = dirs[i];
    const double y = kTop + 10 + kRowHeight * static_cast<double>(i);
    std::string_view shortName = std::string_view(d.name).substr(std::min(common, d.name.size()));
    if (shortName.empty()) shortName = d.name;
    const std::string label = FitLabelTail(shortName, kLabelWidth, 12);
    out += "<g class=\"dirbar\" data-directory=\"" + Escaped(d.name) + "\" data-notices=\"" + std::to_string(d.notices) +
           "\" data-shown=\"" + std::to_string(d.shown) + "\" data-frequent=\"" + std::to_string(d.frequent) + "\">";
    out += "<title>" + Escaped(d.name) + ": " + std::to_string(d.notices) + " notices";
    for (int c = 0; c < kDashCategories; ++c)
      if (d.categories[static_cast<std::size_t>(c)] > 0)
        out += std::string(", ") + CategoryName(static_cast<NoticeCategory>(c)) + " " +
               std::to_string(d.categories[static_cast<std::size_t>(c)]);
    if (d.frequent > 0) out += ", tab and line length " + std::to_string(d.frequent);
    out += ", " + std::to_string(d.eloc) + " eLOC</title>\n";
    out += "<text class=\"label\" x=\"" + Decimal1(kLabelWidth) + "\" y=\"" + Decimal1(y + 15) +
           "\" text-anchor=\"end\">" + Escaped(label) + "</text>\n";
    double x = kBarLeft;
    for (int c = 0; c < kDashCategories; ++c) {
      const int n = d.categories[static_cast<std::size_t>(c)];
      if (n == 0) continue;
      const double w = kBarWidth * n / largest;
      out += "<rect class=\"seg\" data-category=\"" + std::string(CategoryName(static_cast<NoticeCategory>(c))) +
             "\" data-count=\"" + std::to_string(n) + "\" x=\"" + Decimal1(x) + "\" y=\"" + Decimal1(y + 3) +
             "\" width=\"" + Decimal1(w) + "\" height=\"16.0\" fill=\"" + kCategoryColour[c] + "\"/>";
      x += w;
    }
    out += "\n<text class=\"value\" x=\"" + Decimal1(kRateLeft) + "\" y=\"" + Decimal1(y + 15) + "\">" +
           Rate(d.shown, d.eloc) + "</text></g>\n";
  }
  out += "</svg>\n</section>\n";
}
