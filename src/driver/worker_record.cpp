#include "driver/worker_record.h"

#include "common/gcd.h"
#include "common/run_share.h"
#include "notices/udqn_worker.h"
#include "workdiff/data_names.h"

std::unique_ptr<GlobalData> NewWorkerRecord(const GlobalData& run, const RunShare& share) {
  std::unique_ptr<GlobalData> w = NewGlobalData();
  w->drv = run.drv;
  // The run's streams are written by the main thread only. The work file's
  // stays known, unwritten: a file's line of it is made when it is analysed.
  w->drv.fileListStream = nullptr;
  w->drv.diffDataStream = nullptr;
  w->drv.report.reset();
  w->drv.json.reset();
  w->drv.share = &share;
  w->sw = run.sw;
  w->needs = run.needs;
  w->cfg = run.cfg;
  w->lang.table.reserve(run.lang.table.size());
  for (const auto& language : run.lang.table) w->lang.table.push_back(std::make_unique<Ulpi>(*language));
  w->lang.lastIndex = run.lang.lastIndex;
  w->lang.headerAsCpp = run.lang.headerAsCpp;
  w->lang.acceptedExtensions = run.lang.acceptedExtensions;
  w->notices.shortTexts = run.notices.shortTexts;
  w->util.listing = run.util.listing;
  w->dash.wanted = run.dash.wanted;
  CopyUdqnForWorker(run.udqn, w->udqn);
  w->sarif.capturing = run.sarif.capturing;
  w->sarif.capture = run.sarif.capture;
  // A gate side run: the worker gathers its files' snapshot records for the
  // merge, and reads the files the run reads from elsewhere where it does.
  w->gate.writing = run.gate.writing;
  w->gate.runReadFrom = &run.gate.readFrom;
  // Line data files go to the run's staging directory under planned names.
  if (share.dataNames != nullptr) PrepareWorkerLineData(run.wd, *share.dataNames, w->wd);
  return w;
}
