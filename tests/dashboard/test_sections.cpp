// The page as a whole, built from data made up in the test: well-formed
// XHTML (xmllint), no external reference, the same bytes twice, the
// histogram's and directory chart's numbers, the treemap's areas read back
// from the SVG, and hostile names.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "dashboard/sections.h"
#include "test_support.h"

namespace {

// Runs xmllint --noout on the page; returns its messages, empty when well-formed.
std::string XmlLint(const std::string& page) {
  TempDir dir;
  dir.Write("page.html", page);
  const std::string command = "xmllint --noout '" + dir.path() + "/page.html' 2>&1; echo \"rc=$?\"";
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return "popen failed";
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out == "rc=0\n" ? std::string() : out;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

// Names with markup, quotes, invalid UTF-8 and 5,000 characters.
struct HostileData {
  std::vector<std::string> names{"src/a<b>&c.c", "src/q\"uo'te.c", "src/bad\xFF\xFE.c",
                                 "src/" + std::string(5000, 'L') + ".c", "lib/ok.c", "top.c"};
  std::vector<std::string> functions{"f<int>&", "g\"'", "h\xC3", std::string(5000, 'F'), "k"};
  DashboardData data;

  HostileData() {
    for (std::size_t i = 0; i < names.size(); ++i) {
      DashFile f;
      f.name = names[i];
      f.eloc = static_cast<int>(10 * (i + 1));
      f.lines = f.eloc * 2;
      f.loc = f.eloc + 3;
      f.categories = {static_cast<int>(i), 1, 0, 0, 2};
      f.frequent = 5;
      f.notices = f.categories[0] + 3 + f.frequent;
      data.files.push_back(f);
    }
    const int complexities[] = {1, 4, 12, 60, 7};
    for (std::size_t i = 0; i < functions.size(); ++i) {
      DashFunction fn;
      fn.name = functions[i];
      fn.file = names[i];
      fn.line = static_cast<int>(i + 1);
      fn.complexity = complexities[i];
      fn.eloc = 5;
      fn.fileIndex = static_cast<int>(i);
      data.functions.push_back(fn);
      data.files[i].functions = 1;
      data.files[i].maxComplexity = complexities[i];
    }
    data.haveFunctions = data.haveNotices = data.haveClasses = true;
    data.commandLine = "-fa -n -x\"DASHBOARD d.html\" <&>";
  }
};

TEST(DashboardPage, HostileNamesKeepItWellFormedAndSelfContained) {
  HostileData h;
  const std::string page = DashboardDocument(h.data);
  EXPECT_EQ(XmlLint(page), "");
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\"", 0), 0u);
  EXPECT_NE(page.find("<meta charset=\"utf-8\"/>"), std::string::npos);
  // No reference leaves the page: links are fragments, no script, no url().
  EXPECT_EQ(Count(page, "<script"), 0u);
  EXPECT_EQ(Count(page, "src="), 0u);
  EXPECT_EQ(Count(page, "url("), 0u);
  EXPECT_EQ(Count(page, "@import"), 0u);
  EXPECT_EQ(Count(page, "href=\""), Count(page, "href=\"#"));
  EXPECT_EQ(Count(page, "http"), Count(page, "xmlns=\"http://www.w3.org/"));
  for (const char* id : {"id=\"summary\"", "id=\"complexity\"", "id=\"notices\"", "id=\"treemap\"", "id=\"top\""})
    EXPECT_EQ(Count(page, id), 1u) << id;
  EXPECT_EQ(page, DashboardDocument(h.data));  // same data, same bytes
  // A long name is cut in its label and kept whole in the title.
  EXPECT_NE(page.find(std::string(5000, 'L')), std::string::npos);
  EXPECT_NE(page.find("\xE2\x80\xA6"), std::string::npos);
}

TEST(DashboardPage, HistogramBucketsAndTheLimit) {
  HostileData h;
  const auto counts = CountComplexityBuckets(h.data.functions);
  EXPECT_EQ(counts, (std::array<int, kComplexityBuckets>{1, 1, 1, 1, 0, 1}));
  EXPECT_EQ(ComplexityBucketOf(0), 0);
  EXPECT_EQ(ComplexityBucketOf(5), 1);
  EXPECT_EQ(ComplexityBucketOf(6), 2);
  EXPECT_EQ(ComplexityBucketOf(50), 4);
  EXPECT_EQ(ComplexityBucketOf(51), 5);
  std::string out;
  WriteHistogramSection(out, h.data, DashboardTreemap(h.data));
  // Limit 10: the three buckets from 11 up are in the warning colour.
  EXPECT_EQ(Count(out, "class=\"bar warn\""), 3u);
  EXPECT_EQ(Count(out, "class=\"bar\""), 3u);
  EXPECT_EQ(Count(out, "class=\"limit\""), 1u);
  // The top table: complexity descending.
  const std::size_t f60 = out.find(std::string(5000, 'F')), f12 = out.find("h?"), f1 = out.find("f&lt;int&gt;&amp;");
  EXPECT_LT(f60, f12);
  EXPECT_LT(f12, f1);
  h.data.complexityLimit = 20;
  out.clear();
  WriteHistogramSection(out, h.data, DashboardTreemap(h.data));
  EXPECT_EQ(Count(out, "class=\"bar warn\""), 2u);
}

TEST(DashboardPage, DirectoryBarsSumTheFilesNotices) {
  HostileData h;
  const std::vector<DirectoryNotices> dirs = NoticesByDirectory(h.data);
  ASSERT_EQ(dirs.size(), 3u);
  // src: files 0..3; lib: 4; ".": 5. Shown = category 0 (= index) + 3 per file.
  EXPECT_EQ(dirs[0].name, "src");
  EXPECT_EQ(dirs[0].shown, (0 + 1 + 2 + 3) + 4 * 3);
  EXPECT_EQ(dirs[0].frequent, 20);
  EXPECT_EQ(dirs[0].notices, dirs[0].shown + dirs[0].frequent);
  EXPECT_EQ(dirs[1].name, ".");  // 5 + 3 = 8 shown
  EXPECT_EQ(dirs[2].name, "lib");  // 4 + 3 = 7 shown
  std::string out;
  WriteDirectorySection(out, h.data);
  EXPECT_EQ(Count(out, "class=\"dirbar\""), 3u);
  EXPECT_NE(out.find("left out of this chart (30 of them)"), std::string::npos);
}

TEST(DashboardPage, WhatTheRunDidNotComputeIsOneLine) {
  DashboardData data;
  const std::string page = DashboardDocument(data);
  EXPECT_EQ(XmlLint(page), "");
  EXPECT_NE(page.find("Run with -fa to include functions."), std::string::npos);
  EXPECT_NE(page.find("Run with -n to include notices."), std::string::npos);
  EXPECT_NE(page.find("No file has eLOC to show."), std::string::npos);
  EXPECT_EQ(Count(page, "<svg"), 0u);
}

// The tiles read back from the SVG: areas in proportion to the files' eLOC.
TEST(DashboardPage, TreemapTilesAreaMatchesELOC) {
  std::vector<std::string> names;
  DashboardData data;
  for (int i = 0; i < 300; ++i) names.push_back("d" + std::to_string(i % 7) + "/s" + std::to_string(i % 3) + "/f" +
                                                std::to_string(i) + ".c");
  for (int i = 0; i < 300; ++i) {
    DashFile f;
    f.name = names[static_cast<std::size_t>(i)];
    f.eloc = 1 + (i * 37) % 400;
    data.files.push_back(f);
  }
  const std::string page = DashboardDocument(data);
  const std::regex tile("<rect id=\"tm[0-9]+\" class=\"tile\" data-eloc=\"([0-9]+)\" x=\"([0-9.]+)\" y=\"([0-9.]+)\" "
                        "width=\"([0-9.]+)\" height=\"([0-9.]+)\"");
  double total = 0;
  for (const DashFile& f : data.files) total += f.eloc;
  int tiles = 0;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), tile); it != std::sregex_iterator(); ++it) {
    const double eloc = std::stod((*it)[1]), w = std::stod((*it)[4]), h = std::stod((*it)[5]);
    const double share = w * h / (1160.0 * 720.0), expected = eloc / total;
    // One decimal of rounding on each side is all the error allowed.
    const double rounding = 0.05 * (w + h + 0.05) / (1160.0 * 720.0);
    EXPECT_LE(std::abs(share - expected), std::max(0.01 * expected, rounding)) << (*it)[0];
    ++tiles;
  }
  EXPECT_EQ(tiles, 300);
}

}  // namespace
