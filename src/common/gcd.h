// The global run record: one record holds every switch, configuration value,
// list, counter and state of the run, grouped by subsystem.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "common/atomic_file.h"
#include "common/records.h"
#include "common/text.h"
#include "dashboard/dashboard_state.h"
#include "driver/config.h"
#include "driver/languages.h"
#include "driver/report_needs.h"
#include "driver/switches.h"
#include "engine/counters.h"
#include "engine/engine_state.h"
#include "engine/macros.h"
#include "fileset/fileset.h"
#include "gate/gate_state.h"
#include "inheritance/inheritance_state.h"
#include "notices/notice_state.h"
#include "notices/udqn_state.h"
#include "reports/report_state.h"
#include "sarif/sarif_state.h"
#include "structure/entity_index.h"
#include "structure/structure_state.h"
#include "utilities/utility_state.h"
#include "workdiff/workdiff_state.h"

struct JsonReport;
struct RunShare;

// What the run driver itself owns: program paths, the current file and line.
struct DriverState {
  int argc = 0;
  char** argv = nullptr;
  std::string progPath;      // argv[0] as given
  std::string commandLine;   // the arguments joined by blanks (at most 4095 characters)
  std::string progDir;       // directory of argv[0] with a trailing '/', or empty
  std::string homeDir;       // LQAHOME with a trailing '/', else chosen by ChooseConfigHome
  std::string cfgHome;       // LQACFGHOME with a trailing '/', or empty
  std::string cfgFile;       // located lqa.cfg
  std::string macroFile;     // located lqa_macro.cfg
  std::string workDiffCfgFile;  // located lqa_workdiff.cfg
  std::string pathEnv;       // PATH, for the debug listing
  std::string cwd;           // working directory at start-up
  char line[kTextBuf] = {};  // the current line, one fgets of at most 2047 characters
  int lineNumber = 0;
  const char* currentFileName = nullptr;
  FileData* currentFile = nullptr;
  int skipLines = 0;
  int skipQuality = 0;
  int filesProcessed = 0;
  int fileSerial = 0;        // the current file's place in the input list plus one, whoever analyses it
  FILE* fileListStream = nullptr;
  FILE* workFileStream = nullptr;
  FILE* diffDataStream = nullptr;
  int keyStringFound = 0;    // the LQA KEY string was seen in the current file
  int workDiffReport = 0;    // set while the work differential report runs: headers show its cfg file
  // Progress indicator counters (process lifetime).
  int progressCounter = 0;
  int progressProcessed = 0;
  int fileCount = 0;         // files in the input list
  int workers = 1;           // threads the files were analysed on; the project listings use as many
  // The -O report: written to a temporary file, published when the run ends.
  std::shared_ptr<AtomicFile> report;  // shared only so that the record stays copyable
  bool reportIdentified = false;  // the -O target existed: its device and inode
  unsigned long long reportDev = 0, reportIno = 0;
  // -J: the transcoder in front of the report stream (json/json_report.h);
  // declared after the report, so that it goes first.
  std::shared_ptr<JsonReport> json;
  // Something the run was asked to produce or read could not be (a work
  // file, a rewrite, a comparison): the run ends with status 1.
  int runFailed = 0;
  int xmlDocumentOpen = 0;   // the XML root element is open (closed on an early exit)
  // In a worker's record: what it may read of the run's record (common/run_share.h)
  // and the worker's number (0 up), by which it reads the run's macro names.
  const RunShare* share = nullptr;
  int workerNumber = -1;
};

// The run-wide lists.
struct RunLists {
  Llist<FileData> files;        // the input files, in processing order
  Llist<DirMetrics> directories;  // directory records of -F list files, sorted by name
  // Structure records (layout of their slots: structure/entity_records.h).
  // Re-sorting relinks nodes, so a record keeps its address for the whole run.
  Llist<NodeData> functions;    // every function found, in order of their ends
  Llist<NodeData> classes;      // classes and structs
  Llist<NodeData> interfaces;   // interfaces, named "Interface-..."
  Llist<NodeData> namespaces;   // namespaces and packages
  EntityIndex index;            // classes, interfaces and namespaces by name
  // One entry per notice printed in single-line form: file name, line, number.
  Llist<NameData> noticeOccurrences;
};

struct GlobalData {
  DriverState drv;
  Switches sw;
  ReportNeeds needs;  // what the requested reports read (after the switches)
  Config cfg;
  LanguageState lang;
  FileSetState fileset;
  RunLists lists;
  EngineState eng;
  MacroState macros;
  StructureState st;
  NoticeState notices;
  UdqnState udqn;
  InheritanceState inh;  // the inheritance forest (built after the last file)
  WorkDiffState wd;  // baselines being written or compared
  ProjectTotals tot;
  LanguageTotals langTot{};
  ReportState rep;  // state the reports carry between calls
  UtilityState util;
  SarifState sarif;  // the SARIF log and GitLab report of the notices
  DashboardState dash;  // the dashboard page (-x"DASHBOARD file")
  GateState gate;    // the quality gate and its snapshot
};

// Allocates a fresh run record with every default set (InitGlobals).
std::unique_ptr<GlobalData> NewGlobalData();

// The run record of the program run: created by the driver at start-up and
// released at the end or by an early exit (every list, record and stream).
GlobalData* CreateRunRecord();
void ReleaseRunRecord();
// The same as the process ends: the record lists (memory only, hundreds of
// thousands of nodes on a large tree) are left to the operating system instead of being freed node by node; everything that
// owns a file or a stream is released as by ReleaseRunRecord.
void ReleaseRunRecordAtExit();
