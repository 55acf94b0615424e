// Switch flags and values set by SetUpParams from the command line.
#pragma once

#include <string>

enum class OutputMode { Text, Html, Csv, Xml };

struct Switches {
  // Run shape.
  int analysisRequested = 0;  // any (R) switch; 0 means a plain per-file LOC summary
  int perFileSummary = 0;     // per-file LOC summary (always on after parsing, and -s)
  int totalsOnly = 0;         // -T (every form), -X, -w (every form)
  int functionAnalysis = 0;   // -fa -fd -fm -c -e -l -EC -T -w"create"
  int functionsForClassesOnly = 0;  // function analysis runs only on behalf of object metrics
  int complexity = 0;         // -A -C -c -fd -T -w"create"
  int objectMetrics = 0;      // -o -i -fm -T -w"create"
  int qualityNotices = 0;     // -n -N -T -xUDQNSHOW
  int noticeListMode = 0;     // -N -Tn -Tq; cleared by -Tp
  OutputMode outputMode = OutputMode::Text;
  int jsonOutput = 0;         // -J: the XML document (outputMode Xml) written as JSON

  // Sorting (-k).
  int sortKey = 0;
  int sortOn = 0;
  int sortDescending = 0;

  // Input modes.
  int recursive = 0;             // -r
  std::string recursiveExtensions;  // -r extension list (the default list when -r gives none)
  std::string recursiveDir;      // -r start directory
  int fileList = 0;              // -F
  std::string fileListName;
  int dirNoRecurse = 0;          // -Rd
  int listFilesOnly = 0;         // -Rl
  int sortFilesByName = 0;       // -Rn
  int filesPresent = 0;
  int fileArgCount = 0;
  int firstFileIndex = 1;

  // Analyses and reports.
  int memory = 0;              // -a
  int benchmark = 0;           // -b
  int csvFileSummary = 0;      // -s or -fa after -C
  int csvFunctionLines = 0;    // -fa after -C
  int deTabs = 0;              // -Dt
  int deCarriageReturns = 0;   // -Du
  int addCarriageReturns = 0;  // -Dd
  int lineTrace = 0;           // -d
  int extractStrings = 0;      // -Es
  int extractComments = 0;     // -Ec
  int commentDocumentation = 0;  // -EC
  int templateIdentification = 0;  // -EC
  int estimation = 0;          // -e
  int functionDetail = 0;      // -fd
  int classMethodAnnotation = 0;  // -fm (also LQACLASSMF)
  int functionPoints = 0;      // -fp
  int inheritanceTree = 0;     // -i
  int functionListing = 0;     // -l
  int macroIdentification = 0;  // -m
  int noticeSingleLine = 0;    // -Ns
  int noticeVisualStudio = 0;  // -Nv
  std::string outputFile;      // -O
  int outputFileGiven = 0;
  int progress = 0;            // on exactly when -O was given
  int codeListing = 0;         // -p
  std::string title;           // -S
  int titleGiven = 0;
  int verbose = 0;             // -v

  // Worker threads (-j): 1 the serial run, 0 the CPUs the process may use.
  int jobs = 0;                // -j<n>: worker threads; 0, the default, one per usable CPU
  int jobsGiven = 0;           // 0: no -j on the command line

  // -T forms.
  int totalsAll = 0;           // -Ta
  int totalsFunctions = 0;     // -Tf
  int totalsDetail = 0;        // -Td
  int totalsStructs = 0;       // -To
  int totalsClasses = 0;       // -To
  int totalsNamespaces = 0;    // -To
  int totalsInheritance = 0;   // -Ti
  int totalsProfile = 0;       // -Tp
  int totalsQualityByFile = 0; // -Tq
  int totalsNotices = 0;       // -Tn
  int totalsSummary = 0;       // -Ts
  int noFileNames = 0;         // -TN (also every -w form)
  int totalsSummariesOnly = 0; // -Tl
  int totalsLanguage = 0;      // -TL
  int totalsVerbose = 0;       // -Tv
  int totalsWork = 0;          // -Tw

  // Work files and differentials (-w).
  int workCreate = 0;
  std::string workTopDir;
  std::string workFileName;
  int workDeterministic = 0;   // -wD
  int workLineDiff = 0;        // -wd
  int workSkipEqual = 0, workSkipModified = 0, workSkipNew = 0, workSkipRemoved = 0;
  int workGlossary = 0, workBasis = 0, workProductivity = 0, workDetails = 0, workVerbose = 0;
  std::string workDiffCfgFile;

  // -x keywords.
  int noConfigLine = 0;   // NOCONFIG
  int noCommandLine = 0;  // NOCOMMAND
  int udqnShow = 0;       // UDQNSHOW
  int noHeader = 0;       // NOHEADER
  int debug = 0;          // DEBUG, or LQADEBUG
  int diffDebug = 0;      // DIFFDEBUG
  std::string csvReportCfgFile;

  // -u.
  std::string xslFile;
};

// Parses the switches in command-line order; returns the index of the first
// file argument. Fatal switch errors end the process with the status given
// for them.
struct GlobalData;
int SetUpParams(int argc, char** argv, GlobalData& gcd);
// Applies one switch as if it stood at this place of the command line, for
// switches that imply others (-x"SARIF file" acts as -n -fa -o).
void ApplyOption(int opt, const char* arg, GlobalData& gcd);
// The getopt option string of the command line.
const char* SwitchOptionString();
// Whether a -r directory spells the current directory (".", "/", "*" ...).
bool IsCurrentDirSpelling(const std::string& d);
// Opens the -O file and makes it the report stream.
void set_output_file(const char* name, GlobalData& gcd);
// Start-up adjustments after the switches: progress indicator on exactly when
// -O was given, function analysis with object metrics, and the copy of
// "Treat C headers as C++".
void AdjustAfterSwitches(GlobalData& gcd);
