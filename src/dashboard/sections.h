// The sections of the dashboard page, each an XHTML <section> with an id
// for in-page links, appended to the page text.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "dashboard/dashboard_data.h"
#include "dashboard/treemap_layout.h"

// The complexity buckets of the histogram: 1, 2-5, 6-10, 11-20, 21-50, over 50.
inline constexpr int kComplexityBuckets = 6;
struct ComplexityBucket {
  int low = 0;
  int high = 0;  // 0: no upper bound
  const char* label = "";
};
extern const std::array<ComplexityBucket, kComplexityBuckets> kComplexityBucketTable;
// The bucket of a complexity (values below 1 count as 1).
int ComplexityBucketOf(int complexity);
std::array<int, kComplexityBuckets> CountComplexityBuckets(const std::vector<DashFunction>& functions);
// The treemap colour of a highest function complexity (0: no function).
const char* ComplexityColour(int complexity);

// Notices of one directory (the directory part of its files' names).
struct DirectoryNotices {
  std::string name;
  CategoryCounts categories{};
  int shown = 0;     // the sum of the categories
  int frequent = 0;  // tab and line length notices, left out of the bars
  int notices = 0;   // every notice of its files
  long long eloc = 0;
};
// Every directory with its notices, most shown notices first, then by name.
std::vector<DirectoryNotices> NoticesByDirectory(const DashboardData& data);

// The id of the treemap rectangle that holds a file, empty when it has none.
std::string TreemapAnchor(const Treemap& map, int fileIndex);

void WriteSummarySection(std::string& out, const DashboardData& data);
void WriteHistogramSection(std::string& out, const DashboardData& data, const Treemap& map);
void WriteDirectorySection(std::string& out, const DashboardData& data);
void WriteTreemapSection(std::string& out, const DashboardData& data, const Treemap& map);
void WriteTopTablesSection(std::string& out, const DashboardData& data, const Treemap& map);

// The treemap of the data laid out as the page draws it.
Treemap DashboardTreemap(const DashboardData& data);
// The whole page.
std::string DashboardDocument(const DashboardData& data);
