// BuildFileList: the ordered input file list of the run, headers first.
#include "fileset/fileset.h"

#include <cstring>
#include <string>

#include <unistd.h>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/exit.h"
#include "driver/languages.h"
#include "driver/report_output.h"
#include "gate/gate_overlay.h"
#include "reports/file_report.h"
#include "reports/format.h"
#include "reports/report_text.h"
#include "utilities/benchmark.h"

namespace {


void AddArgument(const char* arg, GlobalData& gcd) {
  if (arg == nullptr) return;
  const std::string name(arg);
  std::string extension;
  if (!getExtension(name, extension, gcd)) return;
  if (FilenamePatternMatch(name, gcd)) return;
  const std::string& accepted = gcd.lang.acceptedExtensions;
  if (!valid_ext(extension, accepted, gcd.cfg.caseSensitiveNames, gcd)) {
    // "-O report.txt" written as two words leaves the output file among the arguments.
    if (gcd.sw.outputFileGiven && name == gcd.sw.outputFile) return;
    OutF("\n  Error: %s - Not a valid file type for LQA\n         Valid types: %s\n", ShownText(name, gcd).c_str(),
         ShownText(accepted, gcd).c_str());
    return;
  }
  AddInputFile(name, extension, gcd);
}

// The input list becomes the header list followed by the source list.
void JoinLists(GlobalData& gcd) {
  Llist<FileData>& headers = gcd.fileset.headerList;
  Llist<FileData>& sources = gcd.fileset.sourceList;
  Llist<FileData>& files = gcd.lists.files;
  files = std::move(headers);
  if (files.head == nullptr) {
    files = std::move(sources);
  } else if (sources.head != nullptr) {
    files.tail->next = sources.head;
    sources.head->prev = files.tail;
    files.tail = sources.tail;
    files.count += sources.count;
    sources.head = sources.tail = nullptr;
    sources.count = 0;
  }
  files.sortedBy = nullptr;
  sources.sortedBy = nullptr;
}

// -Rl: the list, the closing rule and the report trailer, then the end of the run.
[[noreturn]] void ListFilesAndExit(GlobalData& gcd) {
  const OutputMode mode = gcd.sw.outputMode;
  const Config& cfg = gcd.cfg;
  FileShow(gcd);
  OutS("\n");
  Benchmark(gcd);
  if (mode != OutputMode::Csv && mode != OutputMode::Xml) {
    const std::string rule(36, '_');
    OutF("  %s%s\n\n", rule.c_str(), rule.c_str());
  }
  if (cfg.reportHeaderActive) {
    if (mode == OutputMode::Html)
      OutF("%s\n", cfg.reportHeaderHtmlLine.c_str());
    else if (mode == OutputMode::Csv)
      OutF("\n%s\n", cfg.reportHeaderTextLine.c_str());
    else
      Center(cfg.reportHeaderTextLine.c_str());
  }
  ExitRun(0, gcd);  // closes the HTML page
}

}  // namespace

void FileShow(GlobalData& gcd) {
  for (const FileData& file : gcd.lists.files) ShowFileLine(file.name.c_str(), file.date, file.size, 0, 1, gcd);
}

int BuildFileList(int argc, char** argv, int firstArg, GlobalData& gcd) {
  Switches& sw = gcd.sw;
  PrepareFileFilters(gcd);
  if (sw.benchmark) Timer(kTimerStart, gcd);  // times the list building of -Rl

  if (sw.recursive) {
    sw.fileArgCount = 0;
    std::string dir = sw.recursiveDir;
    if (dir.empty() || dir == "*" || dir == "*.*") dir = ".";
    const std::string& exts = sw.recursiveExtensions.empty() ? gcd.lang.acceptedExtensions : sw.recursiveExtensions;
    ReadDir(dir, exts, gcd);
    ApplyGateOverlay(dir, exts, gcd);
  } else if (sw.fileList) {
    ReadFileList(gcd);
  } else if (argv != nullptr) {
    for (int i = firstArg; i < argc; ++i) AddArgument(argv[i], gcd);
  }

  if (sw.sortFilesByName) {
    LlistResort_FileData(gcd.fileset.headerList, 1, gcd);
    LlistResort_FileData(gcd.fileset.sourceList, 1, gcd);
  }
  JoinLists(gcd);
  // Before anything is listed: the -O file must not be one of the inputs.
  RefuseReportOverInputs(gcd);
  const int count = gcd.lists.files.count;
  gcd.fileset.filesFound = count;

  if (sw.listFilesOnly && sw.outputMode != OutputMode::Xml) ListFilesAndExit(gcd);

  if (!gcd.drv.cwd.empty() && chdir(gcd.drv.cwd.c_str()) != 0 && sw.debug)
    OutF("*** Debug: Cannot change back to %s\n", gcd.drv.cwd.c_str());
  if (sw.progress && !sw.fileList) StreamF(stderr, "(%6d)\n", count);
  return count;
}
