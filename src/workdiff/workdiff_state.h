// What the run record keeps for baselines and their comparison: the work file
// and line data being written, the line counters of the pair being compared,
// the baseline and work totals, and the report configuration table.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <unordered_set>

class AtomicFile;
struct DataNamePlan;
struct LineDataOutcome;

// The directory a baseline's line data is written to: beside the data
// directory, under a name of its own, and published over it only when the
// whole baseline is complete. Removed with its files unless published.
struct DataStaging {
  std::string path;
  DataStaging() = default;
  DataStaging(const DataStaging&) = delete;
  DataStaging& operator=(const DataStaging&) = delete;
  ~DataStaging();
};

// The metrics a differential reports, in the order of its columns (the eLOC
// percent change, a real value, is kept apart).
enum DiffMetric {
  kDiffLoc,
  kDiffEloc,
  kDiffLloc,
  kDiffComments,
  kDiffBlanks,
  kDiffLines,
  kDiffFunctions,
  kDiffCyclomatic,
  kDiffInterface,
  kDiffComplexity,
  kDiffNotices,
  kDiffMetricCount
};

// Line type groups and line states of the line counters.
enum DiffLineGroup { kLineGroupL, kLineGroupN, kLineGroupG, kLineGroupC, kLineGroupB, kLineGroupCount };
enum DiffLineState { kLineAdded, kLineEqual, kLineRemoved, kLineStateCount };

// The 15 line counters of one compared pair.
struct LineCounters {
  int count[kLineStateCount][kLineGroupCount] = {};
};

// Sums over a set of files: how many, each metric, and their sizes.
struct MetricSums {
  long long files = 0;
  std::array<long long, kDiffMetricCount> value{};
  long long size = 0;
};

// The report configuration table: one entry per key of the differential
// report (and CSV template) configuration.
inline constexpr int kReportKeyCount = 80;
struct ReportCfgEntry {
  int show = 0;  // the item is shown
  int plus = 0;  // a removed file's value adds to the totals instead of subtracting
};
using ReportCfgTable = std::array<ReportCfgEntry, kReportKeyCount>;

struct WorkDiffState {
  // Writing a baseline.
  std::string workFileName;     // the work file being written
  // Its file, published when the run ends (shared only so that the record
  // stays copyable).
  std::shared_ptr<AtomicFile> workFile;
  std::shared_ptr<DataStaging> staging;  // where the line data is written
  int baselineFailed = 0;       // a write of the work file or of its line data failed
  std::string dataDir;          // the differential data directory, "<work file>.dif"
  std::string dataDirStored;    // its last path component, as the work file records it
  int dataDirReady = 0;         // the directory exists (made once per run)
  int modeShown = 0;            // -wv: the mode line has been printed
  std::string dataPath;         // the current file's data file, as it is named once published
  std::string dataWritePath;    // the same in the staging directory
  std::string dataStoredPath;   // the same, as the work file records it; empty without one
  int dataWriteFailed = 0;      // a record of the current data file could not be written
  std::unordered_set<std::string> dataNamesUsed;  // data file names given out this run
  // On a worker's record: the names planned for the run's files, taken in
  // place of dataNamesUsed, and where the current file's data file outcome
  // is kept for the merge (workdiff/data_names.h).
  const DataNamePlan* plan = nullptr;
  LineDataOutcome* outcome = nullptr;

  // Comparing two baselines.
  std::string olderWorkFile, newerWorkFile;  // their work files (data files are found beside them)
  LineCounters lines;           // the pair being compared
  MetricSums older, newer;      // the two baselines
  MetricSums work;              // the changes between them
  ReportCfgTable reportCfg{};
};
