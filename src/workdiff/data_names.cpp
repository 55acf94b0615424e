#include "workdiff/data_names.h"

#include <unistd.h>

#include "common/gcd.h"
#include "workdiff/line_data.h"

void LineDataOutcome::Clear() {
  opened = failed = modeShown = false;
  base.clear();
  name.clear();
  writePath.clear();
}

std::string FreeDataName(const std::string& base, const std::unordered_set<std::string>& used) {
  std::string name = base;
  for (int n = 2; used.count(name) != 0; ++n) name = base + "_" + std::to_string(n);
  return name;
}

DataNamePlan PlanDataFileNames(GlobalData& run) {
  DataNamePlan plan;
  const WorkDiffState& wd = run.wd;
  if (run.drv.workFileStream == nullptr || !run.sw.workLineDiff || !wd.dataDirReady || !wd.staging) return plan;
  plan.names.reserve(run.lists.files.count > 0 ? static_cast<std::size_t>(run.lists.files.count) : 0);
  std::unordered_set<std::string> used;
  for (const FileData& record : run.lists.files) {
    const std::string& path = record.name;
    // The names AnalyzeFile turns away before it opens anything.
    if (path.empty() || static_cast<unsigned char>(path[0]) < 33 || path == ".") {
      plan.names.emplace_back();
      continue;
    }
    std::string name = FreeDataName(MungDataFilename(path, run), used);
    used.insert(name);
    if (plan.first < 0) plan.first = static_cast<int>(plan.names.size());
    plan.names.push_back(std::move(name));
  }
  return plan;
}

void PrepareWorkerLineData(const WorkDiffState& run, const DataNamePlan& plan, WorkDiffState& worker) {
  if (plan.first < 0) return;
  worker.dataDir = run.dataDir;
  worker.dataDirStored = run.dataDirStored;
  worker.dataDirReady = run.dataDirReady;
  worker.staging = run.staging;
  worker.plan = &plan;
}

bool LineDataOverturned(const LineDataOutcome& outcome, const GlobalData& run) {
  if (outcome.failed) return true;
  if (!outcome.opened) return false;  // the file was not read: no name was given
  if (FreeDataName(outcome.base, run.wd.dataNamesUsed) != outcome.name) return true;
  return run.sw.workVerbose && outcome.modeShown != (run.wd.modeShown != 0);
}

void DiscardWorkerDataFile(const LineDataOutcome& outcome) {
  if (outcome.opened && !outcome.writePath.empty()) unlink(outcome.writePath.c_str());
}

void MergeLineData(const LineDataOutcome& outcome, GlobalData& run) {
  if (!outcome.opened) return;
  run.wd.dataNamesUsed.insert(outcome.name);
  if (run.sw.workVerbose) run.wd.modeShown = 1;
}
