// The dashboard page: head with its inline style, the summary, and the
// sections in their fixed order.
#include "dashboard/markup.h"
#include "dashboard/sections.h"

namespace {

constexpr const char* kStyle =
    "body{font-family:system-ui,-apple-system,'Segoe UI',sans-serif;margin:0;background:#f6f7f9;color:#1f2328}\n"
    "header{background:#24292f;color:#fff;padding:14px 24px}\n"
    "header h1{margin:0;font-size:20px}\n"
    "nav a{color:#d0d7de;margin-right:16px;font-size:14px;text-decoration:none}\n"
    "main{padding:8px 24px 32px}\n"
    "section{background:#fff;border:1px solid #d0d7de;border-radius:6px;padding:12px 18px;margin:16px 0;"
    "overflow-x:auto}\n"
    "h2{font-size:17px;margin:4px 0 8px}\n"
    "h3{font-size:15px;margin:16px 0 6px}\n"
    "p{font-size:14px;margin:6px 0}\n"
    ".none{color:#57606a;font-style:italic}\n"
    ".cards{display:flex;flex-wrap:wrap;gap:10px;margin:8px 0}\n"
    ".card{border:1px solid #d0d7de;border-radius:6px;padding:8px 14px;min-width:110px}\n"
    ".card .v{font-size:22px;font-weight:600}\n"
    ".card .k{font-size:12px;color:#57606a}\n"
    "code{font-size:13px;word-break:break-all}\n"
    "table.top{border-collapse:collapse;font-size:13px}\n"
    "table.top th,table.top td{border-bottom:1px solid #eaeef2;padding:3px 10px;text-align:left}\n"
    "table.top .num{text-align:right;font-variant-numeric:tabular-nums}\n"
    "table.top .name{max-width:520px;overflow-wrap:anywhere}\n"
    "tr.warn td{background:#fff1ee}\n"
    ".legend{font-size:13px}\n"
    ".swatch{display:inline-block;width:11px;height:11px;margin:0 4px 0 8px;border:1px solid #8c959f;"
    "vertical-align:middle}\n"
    "svg text{font-family:system-ui,sans-serif}\n"
    ".grid{stroke:#eaeef2}\n"
    ".axis{font-size:11px;fill:#57606a}\n"
    ".value{font-size:11px;fill:#1f2328}\n"
    ".label{font-size:12px;fill:#1f2328}\n"
    ".bar{fill:#4575b4}\n"
    ".bar.warn{fill:#d73027}\n"
    ".limit{stroke:#a50f15;stroke-width:1.5;stroke-dasharray:6 4}\n"
    ".limitlabel{font-size:11px;fill:#a50f15}\n"
    ".tile{stroke:#fff;stroke-width:0.5}\n"
    ".tile.other{stroke:#bbb;stroke-dasharray:2 2}\n"
    ".tilelabel{font-size:9px;fill:#24292f;pointer-events:none}\n"
    ".dir{fill:none;stroke:#24292f}\n"
    ".dir.d1{stroke-width:2}\n"
    ".dir.d2{stroke-width:1;stroke:#57606a}\n"
    ".dir.d3{stroke-width:0.5;stroke:#8c959f}\n"
    ".dirlabel{font-weight:600;fill:#000;stroke:#fff;stroke-width:3px;paint-order:stroke;"
    "pointer-events:none}\n"
    ".dirlabel.l1{font-size:12px}\n"
    ".dirlabel.l2{font-size:10px}\n"
    ":target{stroke:#000;stroke-width:3}\n";

struct Section {
  const char* id;
  const char* title;
};
constexpr Section kSections[] = {
    {"summary", "Summary"},   {"complexity", "Complexity"}, {"notices", "Notices per directory"},
    {"treemap", "Treemap"},   {"top", "Top files"},
};

void Card(std::string& out, const std::string& value, const char* key) {
  out += "<div class=\"card\"><div class=\"v\">" + value + "</div><div class=\"k\">" + key + "</div></div>\n";
}

}  // namespace

void WriteSummarySection(std::string& out, const DashboardData& data) {
  long long lines = 0, loc = 0, eloc = 0;
  for (const DashFile& f : data.files) {
    lines += f.lines;
    loc += f.loc;
    eloc += f.eloc;
  }
  out += "<section id=\"summary\">\n<h2>Summary</h2>\n<div class=\"cards\">\n";
  Card(out, Grouped(static_cast<long long>(data.files.size())), "files");
  Card(out, Grouped(lines), "lines");
  Card(out, Grouped(loc), "LOC");
  Card(out, Grouped(eloc), "eLOC");
  Card(out, data.haveFunctions ? Grouped(static_cast<long long>(data.functions.size())) : "\xE2\x80\x93", "functions");
  Card(out, data.haveClasses ? Grouped(data.classes) : "\xE2\x80\x93", "classes");
  Card(out, data.haveNotices ? Grouped(data.noticeTotal) : "\xE2\x80\x93", "notices");
  out += "</div>\n";
  if (!data.haveFunctions) out += "<p class=\"none\">Run with -fa to include functions.</p>\n";
  if (!data.haveClasses) out += "<p class=\"none\">Run with -o to include classes.</p>\n";
  if (!data.haveNotices) out += "<p class=\"none\">Run with -n to include notices.</p>\n";
  out += "<p>Command line: <code>" + Escaped(data.commandLine) + "</code></p>\n";
  if (!data.date.empty()) out += "<p>Run at " + Escaped(data.date) + "</p>\n";
  out += "</section>\n";
}

std::string DashboardDocument(const DashboardData& data) {
  const Treemap map = DashboardTreemap(data);
  std::string out;
  out.reserve(256 * 1024);
  out += "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
         "<meta charset=\"utf-8\"/>\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
         "<title>lqa dashboard</title>\n<style>\n";
  out += kStyle;
  out += "</style>\n</head>\n<body>\n<header>\n<h1>lqa dashboard</h1>\n<nav>";
  for (const Section& s : kSections) out += std::string("<a href=\"#") + s.id + "\">" + s.title + "</a>";
  out += "</nav>\n</header>\n<main>\n";
  WriteSummarySection(out, data);
  WriteHistogramSection(out, data, map);
  WriteDirectorySection(out, data);
  WriteTreemapSection(out, data, map);
  WriteTopTablesSection(out, data, map);
  out += "</main>\n</body>\n</html>\n";
  return out;
}
