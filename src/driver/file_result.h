// What the analysis of one file hands to the run, applied by MergeFile.
#pragma once

#include <string>

#include "common/report_sink.h"
#include "dashboard/dashboard_state.h"
#include "driver/languages.h"
#include "engine/counters.h"
#include "engine/macros.h"
#include "notices/notice_state.h"
#include "notices/udqn_file_log.h"
#include "notices/udqn_state.h"
#include "reports/report_state.h"
#include "sarif/sarif_state.h"
#include "structure/structure_log.h"
#include "workdiff/data_names.h"

struct FileData;

struct FileResult {
  int index = -1;               // the file's place in the input list
  FileData* record = nullptr;   // its record in the list
  // The report text the file's analysis wrote. In the serial run it passes
  // on to gLQAOUT whenever it outgrows its bound, and the rest at the merge.
  ReportSink text;
  // The file was read to its end; the rest is set only then.
  bool analysed = false;
  FileCounts counts;                          // its counters for the project totals
  LanguageGroup group = kGroupOther;          // and its language group's totals
  int LanguageState::*kindCounter = nullptr;  // its language's file counter, if any
  long long bytes = 0;                        // its size
  NoticeCounts notices;                       // the notices counted in it
  Llist<NameData> occurrences;                // and listed in the single-line form
  CsvFileRow csvFile;                         // its CSV file line's values
  FileNoticeTally dashboard;                  // its notices by category
  std::string workLine;                       // its line of the baseline's work file
  FileMacros macros;                          // the macro names it defined and looked up
  FixedNoticeText fixedNotice;                // scratch of its notice writer
  UdqnMatchDataPtr udqnMatch;                 // and of its user notice searches (kept from file to file)
  // Analysed by a worker: the changes to the run's structure lists, made at
  // the merge; whether its progress mark is due; what it added to the run's
  // file count and whether it failed the run.
  StructureLog structure;
  DeferredFileNotices documentNotices;  // its notices for the SARIF log and GitLab report
  LineDataOutcome lineData;             // its line data file, with the name it was given
  bool progressDue = false;
  int workerProcessed = 0;
  int workerRunFailed = 0;
  // On a worker, what its user notices read from and changed in the run's
  // flags, counts and stops. BeginUdqnFile empties it before the analysis
  // (Reset leaves it alone: it runs inside AnalyzeFile, after that call);
  // the serial run never attaches it, so there it stays empty.
  UdqnFileLog udqn;

  // Made ready for the next file (its memory is kept).
  void Reset(int nextIndex, FileData& nextRecord, FILE* through);
};
