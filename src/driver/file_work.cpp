#include "driver/file_work.h"

#include <sys/stat.h>

#include <cerrno>
#include <exception>
#include <memory>
#include <mutex>
#include <string>

#include "common/gcd.h"
#include "common/input_file.h"
#include "common/output.h"
#include "common/report_sink.h"
#include "dashboard/dashboard.h"
#include "driver/file_loop.h"
#include "driver/file_result.h"
#include "driver/progress.h"
#include "engine/macros.h"
#include "gate/gate_overlay.h"
#include "notices/udqn_worker.h"
#include "reports/csv_export.h"
#include "reports/file_report.h"
#include "reports/report_text.h"
#include "sarif/notice_documents.h"
#include "utilities/code_listing.h"
#include "utilities/de_file.h"
#include "workdiff/data_names.h"
#include "workdiff/line_data.h"
#include "workdiff/work_file.h"

namespace {

struct FileCloser {
  void operator()(FILE* f) const { fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

void OpenError(const char* name, GlobalData& gcd) {
  const char* why = InputErrorText(errno);
  const std::string shown = ShownText(name, gcd);
  if (gcd.sw.deTabs || gcd.sw.deCarriageReturns || gcd.sw.addCarriageReturns)
    OutF("\n  Error: Problem opening input file:\n         %s\n         For modification, %s\n\n", shown.c_str(), why);
  else
    OutF("\n  Error: Problem opening input file:\n         %s\n         For read, %s\n\n", shown.c_str(), why);
}

// While a file is analysed its text goes to its sink and its notices are
// counted and listed in its result. When an exception leaves the analysis, the text
// written so far goes out ahead of the message that reports it.
class AnalysisScope {
 public:
  AnalysisScope(ReportSink* sink, FileResult& result, GlobalData& gcd)
      : gcd_(gcd), sink_(sink), scope_(sink != nullptr ? sink : CurrentReportSink()),
        exceptions_(std::uncaught_exceptions()) {
    gcd.notices.file = &result.notices;
    gcd.notices.fileOccurrences = &result.occurrences;
    gcd.macros.file = &result.macros;
    gcd.notices.fileFixedText = &result.fixedNotice;
    gcd.udqn.fileMatchData = &result.udqnMatch;
    if (gcd.drv.share != nullptr) {
      gcd.st.log = &result.structure;
      gcd.sarif.deferred = &result.documentNotices;
      gcd.wd.outcome = &result.lineData;
    }
  }
  ~AnalysisScope() {
    gcd_.notices.file = nullptr;
    gcd_.notices.fileOccurrences = nullptr;
    gcd_.macros.file = nullptr;
    gcd_.notices.fileFixedText = nullptr;
    gcd_.udqn.fileMatchData = nullptr;
    gcd_.st.log = nullptr;
    gcd_.sarif.deferred = nullptr;
    gcd_.wd.outcome = nullptr;
    // A worker's text and data file are dropped: the main thread analyses
    // the file again.
    const bool failed = std::uncaught_exceptions() > exceptions_;
    if (failed && gcd_.drv.share != nullptr) AbandonDataFile(gcd_);
    if (sink_ != nullptr && gcd_.drv.share == nullptr && failed) sink_->FlushTo(gLQAOUT);
  }
  AnalysisScope(const AnalysisScope&) = delete;
  AnalysisScope& operator=(const AnalysisScope&) = delete;

 private:
  GlobalData& gcd_;
  ReportSink* sink_;
  ReportSinkScope scope_;
  int exceptions_;
};

// A file of a -F list is credited to the first listed directory that holds it.
void CreditDirectory(const FileData& record, GlobalData& gcd) {
  const std::string& name = record.name;
  const std::size_t slash = name.rfind('/');
  const std::string dir = name.substr(0, slash == std::string::npos ? 0 : slash);
  for (DirMetrics& d : gcd.lists.directories) {
    if (dir.compare(0, d.name.size(), d.name) == 0) {
      d.parameters += 1;
      d.loc += record.loc;
      d.eloc += record.eloc;
      d.lloc += record.lloc;
      d.comments += record.comments;
      d.lines += record.lines;
      break;
    }
  }
}

}  // namespace

void FileResult::Reset(int nextIndex, FileData& nextRecord, FILE* through) {
  index = nextIndex;
  record = &nextRecord;
  text.Reset(through);
  analysed = false;
  counts = FileCounts{};
  group = kGroupOther;
  kindCounter = nullptr;
  bytes = 0;
  notices = NoticeCounts{};
  occurrences = Llist<NameData>{};
  csvFile = CsvFileRow{};
  dashboard = FileNoticeTally{};
  workLine.clear();
  macros.Clear();
  fixedNotice.Forget();
  structure.Clear();
  documentNotices.Reset();
  lineData.Clear();
  progressDue = false;
  workerProcessed = 0;
  workerRunFailed = 0;
}

void AnalyzeFile(GlobalData& gcd, int index, FileData& record, FileResult& result) {
  DriverState& drv = gcd.drv;
  const Switches& sw = gcd.sw;
  const char* name = record.name.c_str();
  // A worker's text waits whole for its merge; the serial run's passes on
  // whenever it outgrows the sink, since nothing comes between.
  const bool worker = gcd.drv.share != nullptr;
  result.Reset(index, record, worker ? nullptr : gLQAOUT);
  drv.currentFile = &record;
  drv.fileSerial = index + 1;
  drv.currentFileName = name;
  if (record.name.empty() || static_cast<unsigned char>(name[0]) < 33 || record.name == ".") return;

  bool modify = sw.deTabs || sw.deCarriageReturns || sw.addCarriageReturns;
  AnalysisScope scope(sw.codeListing || modify || sw.debug ? nullptr : &result.text, result, gcd);
  // A FIFO or a device named as a source (or met in a tree) is reported and
  // skipped: it would block the run or feed it without end.
  InputOptions options;
  options.write = modify;
  struct stat st {};
  FilePtr file(OpenInput(GateInputPath(record.name, gcd), options, &st));
  if (!file) {
    OpenError(name, gcd);
    if (modify) gcd.drv.runFailed = 1;  // a file asked to be rewritten was not
    return;
  }
  // The code listing and de-charactering utilities take the open file here.
  if (sw.codeListing) {
    PrintCode(file.get(), name, gcd);
    ++drv.filesProcessed;
    return;
  }
  if (modify) {
    if (!DeFile(file.get(), name, gcd)) gcd.drv.runFailed = 1;
    ++drv.filesProcessed;
    return;
  }

  if (worker) result.progressDue = true;
  else ShowProgress(name, gcd);
  if (gcd.sw.outputMode == OutputMode::Xml && !sw.noFileNames) OutF("<file>\n");

  record.size = static_cast<int>(st.st_size);
  record.date = static_cast<int>(st.st_mtime);
  result.bytes = st.st_size;
  ResetState(gcd);
  ShowFileLine(name, record.date, record.size, sw.totalsOnly, 0, gcd);
  record.language = WhichFile(record.name, 0, gcd);
  result.kindCounter = FileKindCounter(record.language);
  gcd.lang.current = record.language;
  ++drv.filesProcessed;
  if (drv.workFileStream != nullptr && sw.workLineDiff) WorkDiffDataFileOpen(gcd);

  BeginFileNotices(gcd);
  BeginDashboardFile(gcd);
  AnalyzeLines(file.get(), gcd);
  EndOfFile(record, gcd, result);
}

void MergeSharedRecords(GlobalData& gcd, FileResult& result, std::shared_mutex* lock) {
  MergeMacroNames(result.macros, gcd.macros.names);
  std::unique_lock<std::shared_mutex> exclusive;
  if (lock != nullptr) exclusive = std::unique_lock<std::shared_mutex>(*lock);
  MergeUdqnFile(result.udqn, gcd.udqn);
  ReplayStructureLog(result.structure, gcd);
}

void MergeFileOutputs(GlobalData& gcd, FileResult& result) {
  if (result.progressDue) ShowProgress(result.record->name.c_str(), gcd);
  gcd.drv.filesProcessed += result.workerProcessed;
  if (result.workerRunFailed) gcd.drv.runFailed = 1;
  result.text.FlushTo(gLQAOUT);
  gcd.notices.run.Add(result.notices);
  LlistSpliceAtTail(gcd.lists.noticeOccurrences, result.occurrences);
  WriteDeferredFileNotices(result.documentNotices, gcd);
  MergeLineData(result.lineData, gcd);
  if (!result.analysed) return;
  const FileData& record = *result.record;
  gcd.tot.bytes += result.bytes;
  if (result.kindCounter != nullptr) ++(gcd.lang.*result.kindCounter);
  if (gcd.sw.fileList) CreditDirectory(record, gcd);
  gcd.tot.fpLoc += record.fpLoc;
  gcd.tot.fpEloc += record.fpEloc;
  gcd.tot.fpLloc += record.fpLloc;
  AddTotal(result.counts, result.group, gcd);
  AddCsvFileRow(result.csvFile, gcd);
  KeepDashboardTally(record, result.dashboard, gcd);
  WriteWorkFileLine(result.workLine, gcd);
}

void MergeFile(GlobalData& gcd, FileResult& result) {
  MergeSharedRecords(gcd, result);
  MergeFileOutputs(gcd, result);
}
