// Pairing two baselines file by file: removed, new, changed and equal files,
// their metric changes, the baseline totals and the work totals.
#include "workdiff/diff_lists.h"

#include <array>
#include <cctype>
#include <climits>
#include <string>
#include <unordered_map>

#include "common/gcd.h"
#include "common/output.h"
#include "workdiff/lcs.h"
#include "workdiff/line_data.h"
#include "workdiff/report_cfg.h"
#include "workdiff/work_entry.h"

namespace {

using Values = std::array<long long, kDiffMetricCount>;

int Clamp(long long v) { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v); }

std::string NameKey(const std::string& name, bool caseSensitive) {
  if (caseSensitive) return name;
  std::string key = name;
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

Values MetricsOf(const NodeData& e) {
  Values v{};
  for (int k = 0; k < kDiffMetricCount; ++k) v[static_cast<std::size_t>(k)] = EntryMetric(e, k);
  return v;
}

void AddToSums(MetricSums& sums, const NodeData& e) {
  ++sums.files;
  for (int k = 0; k < kDiffMetricCount; ++k) sums.value[static_cast<std::size_t>(k)] += EntryMetric(e, k);
  sums.size += EntrySize(e);
}

void AddValues(MetricSums& sums, const Values& v) {
  for (int k = 0; k < kDiffMetricCount; ++k) sums.value[static_cast<std::size_t>(k)] += v[static_cast<std::size_t>(k)];
}

void AppendRecord(Llist<NodeData>& diff, const std::string& name, int date, int state, const Values& v,
                  double elocPercent, bool unprocessed, GlobalData& gcd) {
  NodeData rec;
  rec.name = name;
  EntryDate(rec) = date;
  for (int k = 0; k < kDiffMetricCount; ++k) EntryMetric(rec, k) = Clamp(v[static_cast<std::size_t>(k)]);
  rec.state = state;
  rec.ratio = static_cast<float>(elocPercent);
  EntryUnprocessed(rec) = unprocessed ? 1 : 0;
  AddListNode(0, std::move(rec), diff, gcd);
}

// The line metrics of one state of the line counters.
void LineValues(const LineCounters& c, int state, Values& v) {
  const int* n = c.count[state];
  v[kDiffLoc] = static_cast<long long>(n[kLineGroupL]) + n[kLineGroupN] + n[kLineGroupG];
  v[kDiffEloc] = static_cast<long long>(n[kLineGroupL]) + n[kLineGroupG];
  v[kDiffLloc] = n[kLineGroupG];
  v[kDiffComments] = n[kLineGroupC];
  v[kDiffBlanks] = n[kLineGroupB];
}

void SetLineTotal(Values& v) { v[kDiffLines] = v[kDiffLoc] + v[kDiffComments] + v[kDiffBlanks]; }

// Progress on standard error while the files are paired.
struct Progress {
  bool on = false, names = false;
  int interval = 1, total = 0, counter = 0, done = 0;

  void Start(GlobalData& gcd, int files) {
    on = gcd.sw.progress != 0;
    names = gcd.cfg.detailedProgress != 0;
    interval = gcd.cfg.progressInterval < 1 ? 1 : gcd.cfg.progressInterval;
    total = files;
    if (!on) return;
    if (names) StreamF(stderr, "  Processing %d Files - Status By File Name\n", files);
    else StreamF(stderr, "  Processing %d Files - Status(.) %d Files\n  ", files, interval);
  }
  void Pair(const std::string& older, const std::string& newer) {
    if (!on) return;
    if (names) {
      StreamF(stderr, "  + %s vs %s\n", older.c_str(), newer.c_str());
      return;
    }
    ++counter;
    ++done;
    if (counter % interval == 0) StreamF(stderr, ".");
    if (counter >= 65 * interval) {
      StreamF(stderr, "(%4.1f%%)\n  ", total > 0 ? 100.0 * done / total : 100.0);
      counter = 0;
    }
  }
};

// The line counters of one compared pair of data files.
struct PairResult {
  bool compared = false;  // both files loaded
  LineCounters lines;
};

// The data files of the pairs compared so far: each pair is compared once,
// and a file that several pairs name in a row is loaded once, so that a work
// file whose entries all name one large pair costs one comparison.
struct LineData {
  std::unordered_map<std::string, PairResult> pairs;
  DiffDataList older, newer;
  std::string olderPath, newerPath;  // what the two lists hold ("" none)
  bool olderLoaded = false, newerLoaded = false;
};

const PairResult& ComparePair(const NodeData& o, const NodeData& p, LineData& data, GlobalData& gcd) {
  WorkDiffState& wd = gcd.wd;
  const std::string olderPath = DiffDataPath(o.text1, wd.olderWorkFile);
  const std::string newerPath = DiffDataPath(p.text1, wd.newerWorkFile);
  // Stored paths outside the data directories are refused on every pair,
  // so that each refusal names its own entry.
  const bool valid = !olderPath.empty() && !newerPath.empty();
  auto [it, fresh] = data.pairs.try_emplace(valid ? olderPath + '\n' + newerPath : std::string());
  if (!fresh && valid) return it->second;
  PairResult& result = it->second;
  result = PairResult{};
  if (olderPath.empty() || olderPath != data.olderPath) {
    data.olderLoaded = LoadDiffDataFile(o.text1, wd.olderWorkFile, data.older, gcd);
    data.olderPath = olderPath;
  }
  if (newerPath.empty() || newerPath != data.newerPath) {
    data.newerLoaded = LoadDiffDataFile(p.text1, wd.newerWorkFile, data.newer, gcd);
    data.newerPath = newerPath;
  }
  if (!data.olderLoaded || !data.newerLoaded) return result;
  wd.lines = LineCounters{};
  CompareCodeLCS(p.name.c_str(), data.older, data.newer, gcd);
  result.compared = true;
  result.lines = wd.lines;
  return result;
}

}  // namespace

void DiffWorkLists(Llist<NodeData>& older, Llist<NodeData>& newer, Llist<NodeData>& diff, GlobalData& gcd) {
  WorkDiffState& wd = gcd.wd;
  const Switches& sw = gcd.sw;
  const ReportCfgTable& cfg = wd.reportCfg;
  const bool lineDiff = sw.workLineDiff != 0;
  const bool caseSensitive = gcd.cfg.caseSensitiveNames != 0;
  wd.older = wd.newer = wd.work = MetricSums{};

  Progress progress;
  progress.Start(gcd, older.count > newer.count ? older.count : newer.count);

  // The first newer record of each name, for pairing without a list search.
  std::unordered_map<std::string, NodeData*> byName;
  byName.reserve(static_cast<std::size_t>(newer.count));
  for (NodeData& n : newer) byName.emplace(NameKey(n.name, caseSensitive), &n);

  LineData lineData;
  for (NodeData& o : older) {
    auto found = byName.find(NameKey(o.name, caseSensitive));
    if (found == byName.end()) {
      // Removed: each metric counts with the sign its configuration gives it.
      AddToSums(wd.older, o);
      Values v = MetricsOf(o);
      for (int k = 0; k < kDiffMetricCount; ++k)
        if (!cfg[MetricKey(static_cast<DiffMetric>(k))].plus) v[static_cast<std::size_t>(k)] = -v[static_cast<std::size_t>(k)];
      AddValues(wd.work, v);
      wd.work.size -= EntrySize(o);
      const double percent = cfg[kKeyElocPercent].plus ? 100.0 : -100.0;
      AppendRecord(diff, o.name, EntryDate(o), kWorkRemoved, v, percent, sw.workSkipRemoved != 0, gcd);
      continue;
    }
    NodeData& p = *found->second;
    p.state = kWorkPaired;
    progress.Pair(o.name, p.name);

    Values change{}, equal{};
    bool linesRemoved = false;
    if (!lineDiff) {
      for (int k = kDiffLoc; k <= kDiffLines; ++k)
        change[static_cast<std::size_t>(k)] = static_cast<long long>(EntryMetric(p, k)) - EntryMetric(o, k);
    } else {
      const PairResult& pair = ComparePair(o, p, lineData, gcd);
      wd.lines = pair.lines;
      if (pair.compared) {
        LineValues(wd.lines, kLineAdded, change);
        if (gcd.cfg.addRemovedAsModified) {
          Values removed{};
          LineValues(wd.lines, kLineRemoved, removed);
          for (int k = kDiffLoc; k <= kDiffBlanks; ++k)
            change[static_cast<std::size_t>(k)] += removed[static_cast<std::size_t>(k)];
        }
        SetLineTotal(change);
        LineValues(wd.lines, kLineEqual, equal);
        SetLineTotal(equal);
        for (int g = 0; g < kLineGroupCount; ++g)
          if (wd.lines.count[kLineRemoved][g] != 0) linesRemoved = true;
      }
    }
    for (int k = kDiffFunctions; k < kDiffMetricCount; ++k)
      change[static_cast<std::size_t>(k)] = static_cast<long long>(EntryMetric(p, k)) - EntryMetric(o, k);
    const long long sizeChange = static_cast<long long>(EntrySize(p)) - EntrySize(o);
    const int olderEloc = EntryMetric(o, kDiffEloc);
    const double percent =
        olderEloc < 1 ? 100.0 : static_cast<double>(change[kDiffEloc]) / olderEloc * 100.0;

    AddToSums(wd.older, o);
    AddToSums(wd.newer, p);
    bool unchanged = !linesRemoved;
    for (long long v : change)
      if (v != 0) unchanged = false;
    wd.work.size += sizeChange;
    if (unchanged) {
      AppendRecord(diff, p.name, EntryDate(p), kWorkEqual, equal, 0.0, sw.workSkipEqual != 0, gcd);
      continue;
    }
    AddValues(wd.work, change);
    AppendRecord(diff, p.name, EntryDate(p), lineDiff ? kWorkDifferential : kWorkModified, change, percent,
                 sw.workSkipModified != 0, gcd);
    if (lineDiff) AppendRecord(diff, p.name, EntryDate(p), kWorkEqual, equal, 0.0, sw.workSkipEqual != 0, gcd);
  }

  for (NodeData& p : newer) {
    if (p.state == kWorkPaired) continue;
    AddToSums(wd.newer, p);
    const Values v = MetricsOf(p);
    AddValues(wd.work, v);
    wd.work.size += EntrySize(p);
    AppendRecord(diff, p.name, EntryDate(p), kWorkNew, v, 100.0, sw.workSkipNew != 0, gcd);
  }
}
