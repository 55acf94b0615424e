// What the reports keep from one call to the next: the accumulators of the
// CSV detail lines, the run-wide totals of the file detail list and the
// one-time roll-ups of the project listings.
#pragma once

#include <array>

// Sum, maximum and minimum of one column. The first value of a block sets
// the minimum; the maximum starts at 0.
struct ColumnStat {
  long long sum = 0;
  long long max = 0;
  long long min = 0;
  void Add(long long value, bool first) {
    sum += value;
    if (value > max) max = value;
    if (first || value < min) min = value;
  }
};

struct RealColumnStat {
  double sum = 0;
  double max = 0;
  double min = 0;
  void Add(double value, bool first) {
    sum += value;
    if (value > max) max = value;
    if (first || value < min) min = value;
  }
};

// Columns of the CSV function and file lines, in the order they are written.
enum CsvColumn {
  kCsvSize = 0,  // file lines only
  kCsvLoc,
  kCsvEloc,
  kCsvLloc,
  kCsvComments,
  kCsvBlanks,
  kCsvLines,
  kCsvClasses,  // file lines only
  kCsvFunctions,
  kCsvParameters,
  kCsvReturns,
  kCsvInterface,
  kCsvCyclomatic,
  kCsvTotal,
  kCsvNotices,  // file lines only
  kCsvColumnCount
};

// One block of CSV detail lines (the functions since the last function
// totals, or every file of the run).
struct CsvBlock {
  int count = 0;
  std::array<ColumnStat, kCsvColumnCount> columns{};
  RealColumnStat ratio;                 // comment lines / eLOC of each line
  std::array<RealColumnStat, 3> fp{};   // function points of LOC, eLOC, lLOC
};

// What one CSV file line adds to the run's file block.
struct CsvFileRow {
  bool present = false;  // a file line was written
  std::array<long long, kCsvColumnCount> values{};
  double ratio = 0;
  std::array<double, 3> fp{};
};

// Totals of the file detail list (-Td).
struct FileDetailTotals {
  int files = 0;
  long long loc = 0, eloc = 0, lloc = 0, comments = 0, blanks = 0, lines = 0;
  long long functions = 0, parameters = 0, returns = 0, cyclomatic = 0, notices = 0, size = 0;
  double fpLoc = 0, fpEloc = 0, fpLloc = 0;
};

struct ReportState {
  int csvFunctionHeaderWritten = 0;  // the function column header goes out once per run
  CsvBlock csvFunctions;
  CsvBlock csvFiles;
  FileDetailTotals fileDetail;
  // Functions and classes are credited to their namespaces once per run,
  // whichever listing totals them first.
  int functionsCredited = 0;
  int classesCredited = 0;
};
