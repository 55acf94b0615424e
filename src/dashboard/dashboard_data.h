// What the dashboard draws, taken from the run record once the run is over:
// only what the run computed, so the page never asks for an analysis.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

struct GlobalData;

// The notice categories in the order of the severity table (Bug Risk,
// Complexity, Clarity, Compatibility, Style).
inline constexpr int kDashCategories = 5;
using CategoryCounts = std::array<int, kDashCategories>;

struct DashFile {
  std::string_view name;  // as the run named it
  int lines = 0;
  int loc = 0;
  int eloc = 0;
  int functions = 0;
  int notices = 0;          // every notice of the file
  int maxComplexity = 0;    // highest cyclomatic complexity of its functions, 0 with none
  CategoryCounts categories{};  // its notices by category, the frequent ones left out
  int frequent = 0;         // its tab and line length notices
};

struct DashFunction {
  std::string_view name;
  std::string_view file;
  int line = 0;
  int complexity = 0;
  int eloc = 0;
  int fileIndex = -1;  // index into DashboardData::files, -1 when unknown
};

struct DashboardData {
  std::vector<DashFile> files;  // in processing order
  std::vector<DashFunction> functions;
  bool haveFunctions = false;  // function analysis ran (-fa, -c, ...)
  bool haveClasses = false;    // object metrics ran (-o)
  bool haveNotices = false;    // quality notices ran (-n)
  int classes = 0;
  long long noticeTotal = 0;  // every notice of the run
  int complexityLimit = 10;    // the cyclomatic complexity notice's limit
  std::string commandLine;
  std::string date;            // empty unless the run is timed (-b)
};

// Fills the data from the run record.
DashboardData CollectDashboardData(const GlobalData& gcd);
