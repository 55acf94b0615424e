#include "notices/udqn_worker.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "notices/udqn_internal.h"

namespace {

// Every member but the compiled pattern, which is compiled again so that the
// copy shares nothing with the original; the run counters start at zero.
std::unique_ptr<UdqnDefinition> CopyDefinition(const UdqnDefinition& from, int index) {
  auto to = std::make_unique<UdqnDefinition>();
  to->index = index;
  to->id = from.id;
  to->hasId = from.hasId;
  to->active = from.active;
  to->context = from.context;
  to->sources = from.sources;
  to->pattern = from.pattern;
  to->compileStatus = from.compileStatus;
  to->message = from.message;
  to->summary = from.summary;
  to->testString = from.testString;
  to->testResult = from.testResult;
  to->setFlags = from.setFlags;
  to->checkFlags = from.checkFlags;
  to->notCheckFlags = from.notCheckFlags;
  to->clearFlags = from.clearFlags;
  to->emitAtEof = from.emitAtEof;
  to->silent = from.silent;
  to->rank = from.rank;
  to->compileFlags = from.compileFlags;
  to->matchFlags = from.matchFlags;
  if (from.regex) {
    std::string status;
    to->regex = udqn_compile_pattern(from.pattern, from.compileFlags, status);
  }
  to->prefilter = from.prefilter;
  to->stoppedInFile = from.stoppedInFile;
  to->stops = from.stops;
  to->stoppedForRun = from.stoppedForRun;
  return to;
}

void CopyStopState(const UdqnDefinition& from, UdqnDefinition& to) {
  to.stoppedInFile = from.stoppedInFile;
  to.stops = from.stops;
  to.stoppedForRun = from.stoppedForRun;
}

bool Holds(const std::vector<UdqnDefinition*>& defs, const UdqnDefinition* def) {
  return std::find(defs.begin(), defs.end(), def) != defs.end();
}

}  // namespace

void CopyUdqnForWorker(const UdqnState& run, UdqnState& worker) {
  worker.current = nullptr;
  worker.log = nullptr;
  worker.fileMatchData = nullptr;
  worker.runMatchData.reset();
  worker.bySource.clear();
  worker.byId.clear();
  worker.definitions.clear();
  worker.loaded = run.loaded;
  worker.showing = run.showing;
  worker.needContext = run.needContext;
  worker.checksFlags = run.checksFlags;
  worker.caseSensitive = run.caseSensitive;
  worker.flags = run.flags;
  worker.timedFile = -1;
  worker.stopHistory = run.stopHistory;
  worker.syncedStops = run.stopHistory.size();

  std::unordered_map<const UdqnDefinition*, UdqnDefinition*> mine;
  worker.definitions.reserve(run.definitions.size());
  for (std::size_t i = 0; i < run.definitions.size(); ++i) {
    const UdqnDefinition* from = run.definitions[i].get();
    worker.definitions.push_back(CopyDefinition(*from, static_cast<int>(i)));
    mine.emplace(from, worker.definitions.back().get());
  }
  for (const auto& [id, def] : run.byId) worker.byId.emplace(id, mine.at(def));
  for (const auto& [source, selection] : run.bySource) {
    UdqnSelection& to = worker.bySource[source];
    for (const UdqnDefinition* def : selection.lineDefs) to.lineDefs.push_back(mine.at(def));
    for (const UdqnDefinition* def : selection.eofDefs) to.eofDefs.push_back(mine.at(def));
    if (run.current == &selection) worker.current = &to;
  }
}

void BeginUdqnFile(UdqnState& worker, const UdqnState& run, UdqnFileLog& log) {
  log.Clear();
  log.stopsSeen = run.stopHistory.size();
  worker.log = &log;
  // Without definitions nothing is evaluated, so nothing is logged.
  if (worker.definitions.empty()) return;
  if (log.flagMark.size() != static_cast<std::size_t>(kUdqnFlagSlots)) log.flagMark.assign(kUdqnFlagSlots, 0);
  if (log.hits.size() != worker.definitions.size()) log.hits.assign(worker.definitions.size(), 0);
  // Only checks read the flags: without any, the worker's table may differ
  // from the run's, whose writes come from the logs alone.
  if (run.checksFlags) worker.flags = run.flags;
  // The stop state differs only in the definitions stopped since the last
  // sync, by the run (merged files) or by the worker (its own files).
  const std::size_t synced = worker.syncedStops;
  if (run.stopHistory.size() != synced || worker.stopHistory.size() != synced) {
    for (std::size_t i = synced; i < worker.stopHistory.size(); ++i) {
      const auto d = static_cast<std::size_t>(worker.stopHistory[i]);
      CopyStopState(*run.definitions[d], *worker.definitions[d]);
    }
    for (std::size_t i = synced; i < run.stopHistory.size(); ++i) {
      const auto d = static_cast<std::size_t>(run.stopHistory[i]);
      CopyStopState(*run.definitions[d], *worker.definitions[d]);
    }
    worker.stopHistory = run.stopHistory;
    worker.syncedStops = run.stopHistory.size();
  }
}

bool UdqnOverturned(const UdqnFileLog& log, const UdqnState& run) {
  for (const UdqnFlagValue& read : log.reads)
    if (run.flags[static_cast<std::size_t>(read.flag)] != read.value) return true;
  if (run.stopHistory.size() == log.stopsSeen || !log.selected) return false;
  auto it = run.bySource.find(log.source);
  if (it == run.bySource.end()) return false;
  for (std::size_t i = log.stopsSeen; i < run.stopHistory.size(); ++i) {
    const UdqnDefinition* def = run.definitions[static_cast<std::size_t>(run.stopHistory[i])].get();
    if (Holds(it->second.lineDefs, def) || Holds(it->second.eofDefs, def)) return true;
  }
  return false;
}

void MergeUdqnFile(const UdqnFileLog& log, UdqnState& run) {
  for (const UdqnFlagValue& write : log.writes) run.flags[static_cast<std::size_t>(write.flag)] = write.value;
  for (int d : log.hitDefs)
    run.definitions[static_cast<std::size_t>(d)]->hits += log.hits[static_cast<std::size_t>(d)];
  for (int d : log.stopped) CountUdqnStop(*run.definitions[static_cast<std::size_t>(d)], log.stoppedSerial, run);
}
