// The complexity histogram and the table of the most complex functions.
#include <algorithm>
#include <cstdio>

#include "dashboard/markup.h"
#include "dashboard/sections.h"

const std::array<ComplexityBucket, kComplexityBuckets> kComplexityBucketTable = {{
    {1, 1, "1"},
    {2, 5, "2\xE2\x80\x93" "5"},
    {6, 10, "6\xE2\x80\x93" "10"},
    {11, 20, "11\xE2\x80\x93" "20"},
    {21, 50, "21\xE2\x80\x93" "50"},
    {51, 0, "over 50"},
}};

namespace {

// Colours of the buckets in the treemap, from calm to alarming; grey for a
// file without functions.
constexpr const char* kBucketColour[kComplexityBuckets] = {"#1a9850", "#91cf60", "#d9ef8b",
                                                           "#fee08b", "#fc8d59", "#d73027"};
constexpr const char* kNoFunctionColour = "#d9d9d9";

constexpr int kTopFunctions = 50;
constexpr double kWidth = 720, kHeight = 300;
constexpr double kLeft = 64, kRight = 16, kTop = 24, kBottom = 44;

// The axis has four intervals of a round step (1, 2, 2.5 or 5 times a power
// of ten, whole numbers only) whose top reaches the largest count.
long long NiceMaximum(long long largest) {
  for (long long power = 1;; power *= 10) {
    const long long steps[] = {power, 2 * power, power >= 10 ? 5 * power / 2 : 2 * power, 5 * power};
    for (long long step : steps)
      if (4 * step >= largest) return 4 * step;
  }
}

// Where the limit falls on the bucket axis, as a bucket index plus a fraction.
double LimitPosition(int limit) {
  const int first = limit + 1;  // the first complexity above the limit
  for (int b = 0; b < kComplexityBuckets; ++b) {
    const ComplexityBucket& k = kComplexityBucketTable[static_cast<std::size_t>(b)];
    if (first <= k.low) return b;
    if (k.high == 0 || first <= k.high) {
      const double span = k.high == 0 ? 50.0 : static_cast<double>(k.high - k.low + 1);
      return b + std::min(1.0, (first - k.low) / span);
    }
  }
  return kComplexityBuckets;
}

bool AboveLimit(int bucket, int limit) {
  const ComplexityBucket& k = kComplexityBucketTable[static_cast<std::size_t>(bucket)];
  return k.high == 0 || k.high > limit;
}

void WriteChart(std::string& out, const std::array<int, kComplexityBuckets>& counts, int limit) {
  long long largest = 1;
  for (int c : counts) largest = std::max<long long>(largest, c);
  const long long top = NiceMaximum(largest);
  const double plotW = kWidth - kLeft - kRight, plotH = kHeight - kTop - kBottom;
  const double slot = plotW / kComplexityBuckets;
  const auto yOf = [&](double v) { return kTop + plotH - v / static_cast<double>(top) * plotH; };
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" width=\"720\" height=\"300\" viewBox=\"0 0 720 300\" "
         "role=\"img\" aria-label=\"Functions by cyclomatic complexity\">\n";
  for (int i = 0; i <= 4; ++i) {
    const double v = static_cast<double>(top) * i / 4;
    const double y = yOf(v);
    out += "<line class=\"grid\" x1=\"" + Decimal1(kLeft) + "\" y1=\"" + Decimal1(y) + "\" x2=\"" +
           Decimal1(kWidth - kRight) + "\" y2=\"" + Decimal1(y) + "\"/>\n";
    char label[32];
    std::snprintf(label, sizeof label, "%lld", top * i / 4);
    out += "<text class=\"axis\" x=\"" + Decimal1(kLeft - 6) + "\" y=\"" + Decimal1(y + 4) +
           "\" text-anchor=\"end\">" + label + "</text>\n";
  }
  for (int b = 0; b < kComplexityBuckets; ++b) {
    const ComplexityBucket& k = kComplexityBucketTable[static_cast<std::size_t>(b)];
    const int count = counts[static_cast<std::size_t>(b)];
    const double x = kLeft + slot * b + slot * 0.15, w = slot * 0.7;
    const double y = yOf(count);
    const bool warn = AboveLimit(b, limit);
    out += "<rect class=\"" + std::string(warn ? "bar warn" : "bar") + "\" data-bucket=\"" + k.label +
           "\" data-count=\"" + std::to_string(count) + "\" x=\"" + Decimal1(x) + "\" y=\"" + Decimal1(y) +
           "\" width=\"" + Decimal1(w) + "\" height=\"" + Decimal1(kTop + plotH - y) + "\"><title>Complexity " +
           k.label + ": " + std::to_string(count) + (count == 1 ? " function" : " functions") +
           (warn ? " (above the limit)" : "") + "</title></rect>\n";
    out += "<text class=\"value\" x=\"" + Decimal1(x + w / 2) + "\" y=\"" + Decimal1(y - 4) +
           "\" text-anchor=\"middle\">" + std::to_string(count) + "</text>\n";
    out += "<text class=\"axis\" x=\"" + Decimal1(x + w / 2) + "\" y=\"" + Decimal1(kTop + plotH + 16) +
           "\" text-anchor=\"middle\">" + k.label + "</text>\n";
  }
  const double lx = kLeft + slot * LimitPosition(limit);
  out += "<line class=\"limit\" x1=\"" + Decimal1(lx) + "\" y1=\"" + Decimal1(kTop - 8) + "\" x2=\"" + Decimal1(lx) +
         "\" y2=\"" + Decimal1(kTop + plotH) + "\"><title>Complexity limit " + std::to_string(limit) +
         "</title></line>\n";
  out += "<text class=\"limitlabel\" x=\"" + Decimal1(std::min(lx + 4, kWidth - kRight - 60)) + "\" y=\"" +
         Decimal1(kTop - 10) + "\">limit " + std::to_string(limit) + "</text>\n";
  out += "<text class=\"axis\" x=\"" + Decimal1(kLeft + plotW / 2) + "\" y=\"" + Decimal1(kHeight - 6) +
         "\" text-anchor=\"middle\">cyclomatic complexity</text>\n";
  out += "</svg>\n";
}

void WriteTopFunctions(std::string& out, const DashboardData& data, const Treemap& map) {
  std::vector<const DashFunction*> order;
  order.reserve(data.functions.size());
  for (const DashFunction& f : data.functions) order.push_back(&f);
  const auto before = [](const DashFunction* a, const DashFunction* b) {
    if (a->complexity != b->complexity) return a->complexity > b->complexity;
    if (a->name != b->name) return a->name < b->name;
    if (a->file != b->file) return a->file < b->file;
    return a->line < b->line;
  };
  const std::size_t n = std::min<std::size_t>(order.size(), kTopFunctions);
  std::partial_sort(order.begin(), order.begin() + static_cast<long>(n), order.end(), before);
  out += "<h3>The " + std::to_string(n) + " most complex functions</h3>\n";
  out += "<table class=\"top\"><thead><tr><th>#</th><th>Function</th><th>File:line</th><th class=\"num\">Complexity</th>"
         "<th class=\"num\">eLOC</th></tr></thead>\n<tbody>\n";
  for (std::size_t i = 0; i < n; ++i) {
    const DashFunction& f = *order[i];
    const std::string anchor = TreemapAnchor(map, f.fileIndex);
    const std::string where = std::string(f.file) + ":" + std::to_string(f.line);
    out += "<tr" + std::string(f.complexity > data.complexityLimit ? " class=\"warn\"" : "") + "><td class=\"num\">" +
           std::to_string(i + 1) + "</td><td class=\"name\">" + Escaped(f.name) + "</td><td class=\"name\">";
    if (!anchor.empty()) out += "<a href=\"#" + anchor + "\">" + Escaped(where) + "</a>";
    else out += Escaped(where);
    out += "</td><td class=\"num\">" + std::to_string(f.complexity) + "</td><td class=\"num\">" +
           std::to_string(f.eloc) + "</td></tr>\n";
  }
  out += "</tbody></table>\n";
}

}  // namespace

int ComplexityBucketOf(int complexity) {
  for (int b = 0; b < kComplexityBuckets - 1; ++b)
    if (complexity <= kComplexityBucketTable[static_cast<std::size_t>(b)].high) return b;
  return kComplexityBuckets - 1;
}

std::array<int, kComplexityBuckets> CountComplexityBuckets(const std::vector<DashFunction>& functions) {
  std::array<int, kComplexityBuckets> counts{};
  for (const DashFunction& f : functions) ++counts[static_cast<std::size_t>(ComplexityBucketOf(f.complexity))];
  return counts;
}

const char* ComplexityColour(int complexity) {
  if (complexity <= 0) return kNoFunctionColour;
  return kBucketColour[ComplexityBucketOf(complexity)];
}

void WriteHistogramSection(std::string& out, const DashboardData& data, const Treemap& map) {
  out += "<section id=\"complexity\">\n<h2>Complexity</h2>\n";
  if (!data.haveFunctions) {
    out += "<p class=\"none\">Run with -fa to include functions.</p>\n</section>\n";
    return;
  }
  const std::array<int, kComplexityBuckets> counts = CountComplexityBuckets(data.functions);
  out += "<p>" + std::to_string(data.functions.size()) +
         " functions by cyclomatic complexity. Bars in the warning colour hold functions above the limit of " +
         std::to_string(data.complexityLimit) + " (the dashed line).</p>\n";
  WriteChart(out, counts, data.complexityLimit);
  if (!data.functions.empty()) WriteTopFunctions(out, data, map);
  out += "</section>\n";
}
