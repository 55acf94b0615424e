// The run driver: start-up, the per-file loop and the end-of-run sequence.
#include "driver/run.h"

#include <sys/stat.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstring>
#include <new>
#include <string>

#include "common/gcd.h"
#include "common/input_file.h"
#include "common/output.h"
#include "common/version.h"
#include "driver/exit.h"
#include "driver/file_result.h"
#include "driver/file_work.h"
#include "driver/parallel_files.h"
#include "driver/progress.h"
#include "driver/report_output.h"
#include "driver/startup.h"
#include "fileset/fileset.h"
#include "gate/gate_run.h"
#include "gate/snapshot_writer.h"
#include "inheritance/inheritance.h"
#include "notices/notices.h"
#include "reports/csv_export.h"
#include "reports/entity_listing.h"
#include "reports/estimation.h"
#include "reports/file_report.h"
#include "reports/format.h"
#include "reports/header.h"
#include "reports/project_reports.h"
#include "dashboard/dashboard.h"
#include "sarif/notice_documents.h"
#include "structure/entity_index.h"
#include "utilities/benchmark.h"
#include "utilities/code_listing.h"
#include "workdiff/work_file.h"

namespace {

void ReportTrailer(GlobalData& gcd) {
  const Config& cfg = gcd.cfg;
  switch (gcd.sw.outputMode) {
    case OutputMode::Html:
      if (cfg.reportHeaderActive) OutF("%s\n", cfg.reportHeaderHtmlLine.c_str());
      OutF("</pre></body></html>");
      break;
    case OutputMode::Xml:
      if (cfg.reportHeaderActive) OutF("<banner>%s</banner>\n", XmlEncodeText(cfg.reportHeaderTextLine.c_str()).c_str());
      OutF("</lqadoc>\n");
      gcd.drv.xmlDocumentOpen = 0;
      break;
    case OutputMode::Csv:
      if (cfg.reportHeaderActive) OutF("\n%s\n", cfg.reportHeaderTextLine.c_str());
      break;
    case OutputMode::Text:
      if (cfg.reportHeaderActive) Center(cfg.reportHeaderTextLine.c_str());
      break;
  }
}

// The project reports in their fixed order, or those the -T options select.
void ProjectReports(GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  ShowProjectTitle(gcd);
  if (sw.totalsOnly) {
    ShowTotalReport(gcd);
  } else {
    if (sw.fileList) ShowTotalDirSummary(gcd);
    if (sw.perFileSummary) {
      OutF("\n");
      ShowTotalSummary(gcd, 1, 1);
    }
    if (sw.functionAnalysis) ShowProjectFunctionSummary(gcd);
    if (sw.objectMetrics) {
      ShowProjectClassSummary(gcd);
      ShowProjectInterSummary(gcd);
      if (sw.inheritanceTree) ReportInheritanceTree(gcd);
      ShowProjectNamespaceSummary(gcd);
    } else if (sw.inheritanceTree) {
      ReportInheritanceTree(gcd);
    }
    if (sw.qualityNotices) ShowQualityProfile(gcd);
  }
  if (sw.verbose) ShowVerbose(gcd, 1);
  if (sw.memory) ShowMemorySummary(gcd);
  if (sw.estimation) ShowEstimation(gcd);
  if (sw.filesPresent || sw.totalsSummary) {
    if (sw.outputMode == OutputMode::Csv) OutF("\n");
    ShowFileSummary(gcd);
  }
}

void EndOfRun(GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  bool utility = sw.codeListing || sw.deTabs || sw.deCarriageReturns || sw.addCarriageReturns;
  bool extraction = sw.extractStrings || sw.extractComments || sw.commentDocumentation;
  if (!utility && !extraction) {
    // The notices judged after the last file (inheritance) name their own
    // files and lines: nothing of the last file analysed, an open type or
    // its last line, stands in for them. (Worker threads leave the run's
    // record without any such state.)
    ResetState(gcd);
    gcd.drv.currentFile = nullptr;
    gcd.drv.currentFileName = nullptr;
    gcd.drv.line[0] = '\0';
    SettleStructureLists(gcd);
    if (sw.totalsAll || sw.inheritanceTree || sw.totalsInheritance) BuildInheritanceTree(gcd);
    SetTotal(gcd);
    if (sw.outputMode == OutputMode::Csv && sw.csvFileSummary)
      CSV_File_Line(gLQAOUT, "total", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, gcd);
    if (!sw.functionListing && !sw.listFilesOnly) ProjectReports(gcd);
  }
  if (!utility) {
    Benchmark(gcd);
    FinishWorkFile(gcd);
    if (sw.outputMode != OutputMode::Csv && sw.outputMode != OutputMode::Xml)
      OutF("  %s%s\n\n", std::string(36, '_').c_str(), std::string(36, '_').c_str());
  } else {
    FinishWorkFile(gcd);  // closed without a copy: a listing run analyses no file
  }
  ReportTrailer(gcd);
}

int Run(int argc, char** argv, GlobalData& gcd) {
  SetProgramPaths(argc, argv, gcd);
  LoadCfg(gcd);
  BuildLanguageTable(gcd);
  LoadMacros(gcd);
  int firstFile = SetUpParams(argc, argv, gcd);
  AdjustAfterSwitches(gcd);
  // The gate compares two sides analysed by runs of their own.
  if (gcd.gate.requested) return RunGate(argc, argv, gcd);
  OpenNoticeDocuments(gcd);
  OpenDashboard(gcd);
  OpenGateSnapshot(gcd);

  Switches& sw = gcd.sw;
  if (sw.outputMode != OutputMode::Csv && !sw.codeListing && sw.outputMode != OutputMode::Xml)
    ShowHeader(gLQAOUT, gcd, 0);
  ShowFMCHeader(gcd);
  if (sw.benchmark) Timer(kTimerStart, gcd);
  if (sw.progress) StreamF(stderr, "  Acquiring Files\n");

  if (sw.fileList) {
    sw.fileArgCount = 0;
    if (!sw.analysisRequested) sw.perFileSummary = 1;
    struct stat st {};
    gcd.drv.fileListStream = OpenInput(sw.fileListName, {}, &st);
    if (gcd.drv.fileListStream == nullptr) {
      OutF("\n  Error: Cannot open the specified file: %s\n         for read, %s\n\n",
           sw.fileListName.c_str(), InputErrorText(errno));
      return -1;
    }
    if (IsReportTarget(st, gcd)) RefuseReportOverInput(sw.fileListName, gcd);
  }
  if (sw.workCreate) {
    gcd.drv.workFileStream = CreateWorkFile(gcd);
    if (gcd.drv.workFileStream == nullptr) sw.workCreate = 0;
  }
  if (sw.outputMode == OutputMode::Csv) CSV_Header(gLQAOUT, gcd);
  else if (sw.outputMode == OutputMode::Xml) XML_Header(gLQAOUT, gcd);
  if (sw.codeListing) BeginCodeListing(gcd);

  gcd.drv.fileCount = BuildFileList(argc, argv, firstFile, gcd);
  if (gcd.drv.fileListStream != nullptr) {
    fclose(gcd.drv.fileListStream);
    gcd.drv.fileListStream = nullptr;
  }
  if (gcd.drv.fileCount > 0) sw.filesPresent = 1;
  if (sw.debug) FileShow(gcd);
  ShowProgressStart(gcd);

  if (const int workers = WorkersForRun(gcd); workers > 1) {
    gcd.drv.workers = workers;
    AnalyzeFilesInParallel(gcd, workers);
  } else {
    FileResult file;
    int index = 0;
    for (FileData& record : gcd.lists.files) {
      AnalyzeFile(gcd, index++, record, file);
      MergeFile(gcd, file);
    }
  }

  ShowProgressEnd(gcd);
  EndOfRun(gcd);
  int result = FinishGateSnapshot(gcd.drv.runFailed ? 1 : NoticeExitStatus(gcd), gcd);
  result = FinishNoticeDocuments(result, gcd);
  result = FinishDashboard(result, gcd);
  if (sw.progress) StreamF(stderr, "  LQA Processed - %d Files\n", gcd.drv.filesProcessed);
  return result;
}

}  // namespace

int LqaMain(int argc, char** argv) {
  std::setlocale(LC_COLLATE, "");
  // A write past the file-size limit fails with EFBIG, which the run
  // reports, instead of killing the process without a word.
  std::signal(SIGXFSZ, SIG_IGN);
  GlobalData* gcd = CreateRunRecord();
  if (gcd == nullptr) {
    OutF("\n  Error: memory allocation failed\n\n");
    return 1;
  }
  int result = 1;
  try {
    result = Run(argc, argv, *gcd);
  } catch (const std::bad_alloc&) {
    OutF("\n  Error: memory allocation failed\n\n");
    CloseHtmlPage(*gcd);
    CloseXmlDocument(*gcd);
    result = 1;
  }
  if (!FinishReport(*gcd)) result = 1;
  ReleaseRunRecordAtExit();
  return result;
}
