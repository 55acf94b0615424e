// Command-line switch parsing: every switch sets flags and values of the run
// record; a few do their work at once and end the run.
#include "driver/switches.h"

#include <getopt.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/config.h"
#include "driver/exit.h"
#include "driver/help.h"
#include "driver/newer_switches.h"
#include "driver/report_output.h"
#include "driver/usable_cpus.h"
#include "gate/gate_run.h"
#include "reports/header.h"
#include "workdiff/diff_report.h"
#include "workdiff/report_cfg.h"

namespace {

constexpr const char* kOptString = "AabB:cCD:dE:ef:F:G:h:HiJj::k:lmnN:opM:O:P:L:S:qr:R:sT:u:vw:x:XWxy";

[[noreturn]] void Fail(const char* message, int status, GlobalData& gcd) {
  OutS(message);
  ExitRun(status, gcd);
}

long ToLong(const char* text) {
  long v = std::strtol(text ? text : "", nullptr, 10);
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  return v;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Splits the words of a "File kind name" argument: the first two words, and
// the rest (after the blanks following the second word) up to a line feed.
struct FileWords {
  std::string first, second, rest;
};

FileWords SplitFileWords(const char* arg) {
  FileWords w;
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  const char* p = arg;
  auto word = [&](std::string& out) {
    while (*p && blank(*p)) ++p;
    const char* s = p;
    while (*p && !blank(*p)) ++p;
    AssignBounded(out, std::string_view(s, static_cast<std::size_t>(p - s)));
  };
  word(w.first);
  word(w.second);
  while (*p && blank(*p) && *p != '\n') ++p;
  const char* s = p;
  while (*p && *p != '\n') ++p;
  AssignBounded(w.rest, std::string_view(s, static_cast<std::size_t>(p - s)));
  while (!w.rest.empty() && (w.rest.back() == ' ' || w.rest.back() == '\t' || w.rest.back() == '\r'))
    w.rest.pop_back();
  return w;
}

bool Readable(const std::string& name) { return !name.empty() && access(name.c_str(), R_OK) == 0; }

void SetTotalsBase(Switches& sw) {
  sw.totalsOnly = sw.complexity = sw.functionAnalysis = sw.objectMetrics = 1;
  sw.qualityNotices = sw.analysisRequested = 1;
}

void HandleT(const char* arg, GlobalData& gcd) {
  Switches& sw = gcd.sw;
  const char c = arg ? arg[0] : '\0';
  switch (c) {
    case 'a': sw.totalsAll = 1; break;
    case 'f': sw.totalsFunctions = 1; sw.functionPoints = 1; break;
    case 'd': sw.totalsDetail = 1; sw.functionPoints = 1; break;
    case 'o': sw.totalsStructs = sw.totalsClasses = sw.totalsNamespaces = 1; break;
    case 'i': sw.totalsInheritance = 1; break;
    case 'p': sw.totalsProfile = 1; sw.inheritanceTree = 1; sw.noticeListMode = 0; break;
    case 'q':
      sw.totalsQualityByFile = 1; sw.inheritanceTree = 1; sw.noticeListMode = 1;
      if (!sw.noticeVisualStudio) sw.noticeSingleLine = 1;
      break;
    case 'n': sw.totalsNotices = 1; sw.noticeListMode = 1; break;
    case 's': sw.totalsSummary = 1; break;
    case 'N': sw.noFileNames = 1; break;
    case 'l': sw.totalsSummariesOnly = 1; break;
    case 'L': sw.totalsLanguage = 1; break;
    case 'v': sw.totalsVerbose = 1; sw.verbose = 1; break;
    case 'w': sw.totalsWork = 1; break;
    default:
      Fail("\n  Error: Invalid or missing parameter for -T option\n         Use -hs for help text\n", 1, gcd);
  }
  SetTotalsBase(sw);
}

void HandleR(const char* arg, GlobalData& gcd) {
  Switches& sw = gcd.sw;
  std::string text;
  AssignBounded(text, arg ? arg : "");
  const std::size_t blank = text.find(' ');
  std::string exts = text.substr(0, blank);
  std::string dir;
  if (blank != std::string::npos) {
    dir = text.substr(blank + 1);
    const std::size_t lf = dir.find('\n');
    if (lf != std::string::npos) dir.resize(lf);
  }
  if (IsCurrentDirSpelling(dir)) {
    char cwd[kTextBuf] = {};
    if (getcwd(cwd, sizeof cwd)) dir = cwd;
  }
  const bool extOk = !exts.empty() && IsLetter(exts[0]);
  const bool dirOk = !dir.empty() && IsLetter(dir[0]);
  if (!extOk && !dirOk)
    Fail("\n  Error: In the specified parameter: -r\n"
         "         For the recursive descent option -r,\n"
         "         The option parameters must be delimited by quotes.\n"
         "         Specify the file extensions separated by commas.\n"
         "         The specified directory must be the last parameter.\n\n"
         "         Windows Example: -r\"h,c,java,cs c:\\my project\"\n"
         "         UNIX Example: -r\"h,cpp,java,cs /my_project\"\n"
         "         Use -hs for help text\n",
         1, gcd);
  sw.recursive = 1;
  sw.fileList = 0;
  sw.recursiveExtensions = exts;
  sw.recursiveDir = dir;
}

void HandleW(const char* arg, GlobalData& gcd) {
  Switches& sw = gcd.sw;
  sw.totalsOnly = 1;
  sw.noFileNames = 1;
  sw.analysisRequested = 1;
  const char* a = arg ? arg : "";
  switch (a[0]) {
    case 'c': case 'C': {
      if (!StartsWithNoCase(a, "create"))
        Fail("\n  Error: The correct syntax for the work file create\n"
             "         option is: -w \"Create top directory of baseline\"\n"
             "         Windows Example: -w \"Create c:\\my project\"\n"
             "         Unix Example: -w \"Create /Project_Dir\"\n"
             "         Current Directory Example: -w \"Create .\"\n",
             1, gcd);
      std::string dir;
      if (std::strlen(a) > 7) AssignBounded(dir, a + 7);
      if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
      if (dir.empty() || (dir.size() == 1 && dir != "."))
        Fail("\n  Error: No baseline directory specififed for the\n         -w \"Create dir\" option.\n", 1, gcd);
      sw.workCreate = 1;
      sw.workTopDir = dir;
      sw.complexity = sw.objectMetrics = sw.functionAnalysis = 1;
      if (sw.workFileName.empty()) sw.workFileName = "workfile.dat";
      break;
    }
    case 'D': sw.workDeterministic = 1; sw.noFileNames = 0; sw.workCreate = 0; break;
    case 'd': sw.workLineDiff = 1; break;
    case 'e': sw.workSkipEqual = 1; break;
    case 'm': sw.workSkipModified = 1; break;
    case 'n': sw.workSkipNew = 1; break;
    case 'r': sw.workSkipRemoved = 1; break;
    case 'g': sw.workGlossary = 1; break;
    case 'b': sw.workBasis = 1; break;
    case 'p': sw.workProductivity = 1; break;
    case 's': sw.workDetails = 1; break;
    case 'v': sw.workVerbose = 1; break;
    case 'f': case 'F': {
      const FileWords w = SplitFileWords(a);
      if (EqualsNoCase(w.second, "dat")) {
        if (w.rest.empty())
          Fail("\n  Error: -w \"File dat\" file name not parsed\n         Check command line syntax\n", 0, gcd);
        sw.workFileName = w.rest;
        const std::size_t slash = w.rest.rfind('/');
        gcd.cfg.workFileLocation = slash == std::string::npos ? "." : w.rest.substr(0, slash);
      } else if (EqualsNoCase(w.second, "cfg")) {
        if (w.rest.empty())
          Fail("\n  Error: -w \"File cfg\" file name not parsed\n         Check command line syntax\n", 0, gcd);
        if (!Readable(w.rest)) {
          OutF("\n  Error: File name [%s] not found\n", w.rest.c_str());
          ExitRun(0, gcd);
        }
        sw.workDiffCfgFile = w.rest;
        gcd.drv.workDiffCfgFile = w.rest;
      } else {
        Fail("\n  Error: -w \"File [dat|cfg] [path\\filename]\"\n         Command line syntax is not correct\n", 0,
             gcd);
      }
      break;
    }
    case 'W':
      Fail("\n  Error: The -wW switch has been deprecated and is no\n"
           "         longer supported.  Use the -wx switch to perform\n"
           "         baseline differentials\n\n",
           0, gcd);
    case 'x': {
      const char* comma = std::strchr(a + 1, ',');
      if (!comma)
        Fail("\n  Error: -wx option syntax is invalid\n"
             "         Example -w\"x work file old, work file new\"\n"
             "         Use -hs for help text\n",
             1, gcd);
      // The comparison runs at once with the switches given before it.
      auto trimmed = [](std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
          s.remove_suffix(1);
        return std::string(s);
      };
      const std::string older = trimmed(std::string_view(a + 1, static_cast<std::size_t>(comma - a - 1)));
      const std::string newer = trimmed(comma + 1);
      sw.progress = sw.outputFileGiven;
      ExitRun(ExtractWork(older, newer, gcd, 1) ? 0 : 1, gcd);
    }
    default:
      Fail("\n  Error: Invalid or missing parameter for -w option\n         Use -hs for help text\n", 1, gcd);
  }
}

struct XKeyword {
  const char* name;
  int Switches::*flag;
};

void HandleX(const char* arg, GlobalData& gcd) {
  Switches& sw = gcd.sw;
  static const XKeyword kKeywords[] = {
      {"NOCONFIG", &Switches::noConfigLine}, {"NOCOMMAND", &Switches::noCommandLine},
      {"NOHEADER", &Switches::noHeader},     {"DEBUG", &Switches::debug},
      {"DIFFDEBUG", &Switches::diffDebug},
  };
  const char* a = arg ? arg : "";
  // Newer keywords are matched on their first word first, so that none of
  // them falls into the first-letter handling below (-xc, "File csv").
  if (HandleNewerX(a, gcd)) return;
  for (const XKeyword& k : kKeywords) {
    if (EqualsNoCase(a, k.name)) {
      sw.*k.flag = 1;
      return;
    }
  }
  if (EqualsNoCase(a, "NOWRAP")) {
    gcd.cfg.wrapLongNames = 0;
    return;
  }
  if (EqualsNoCase(a, "UDQNSHOW")) {
    sw.udqnShow = 1;
    sw.qualityNotices = 1;
    return;
  }
  switch (a[0]) {
    case 'c': case 'C':
      CreateCSVCfg(gcd);
      ExitRun(1, gcd);
    case 'f': case 'F': {
      const FileWords w = SplitFileWords(a);
      const bool typeOk = EqualsNoCase(w.second, "csv");
      if (sw.debug)
        OutF("*** Debug: Report File Options\n*** Type: %s\n*** File: %s\n",
             typeOk ? "Comma Separated Variables - CSV" : "Unknown", w.rest.c_str());
      if (!EqualsNoCase(w.first, "file") || !typeOk) Fail("\n  Error: Invalid report file type\n", 1, gcd);
      sw.csvReportCfgFile = w.rest;
      sw.analysisRequested = 1;
      return;
    }
    case ' ':
      Fail("\n  -x Work Diff extraction mode is now supported under the -wx option\n", 1, gcd);
    default:
      Fail("\n  Error: Invalid parameter for -x option\n         Use -hs for help text\n", 1, gcd);
  }
}

void HandleU(const char* arg, GlobalData& gcd) {
  const char* a = arg ? arg : "";
  if (a[0] != 'f' && a[0] != 'F')
    Fail("\n  Error: Invalid or missing parameter for -u option\n         Use -hs for help text\n", 1, gcd);
  const FileWords w = SplitFileWords(a);
  auto headerThenFail = [&](const char* message) {
    ShowHeader(gLQAOUT, gcd, 0);
    ShowFMCHeader(gcd);
    Fail(message, 0, gcd);
  };
  if (EqualsNoCase(w.second, "cfg")) {
    if (!gcd.cfg.enableUserCfgFiles) return;  // user configuration files are not allowed
    if (w.rest.empty()) headerThenFail("\n  Error: -w \"File cfg\" file name not parsed\n         Check command line syntax\n");
    if (!Readable(w.rest)) {
      ShowHeader(gLQAOUT, gcd, 0);
      ShowFMCHeader(gcd);
      OutF("\n  Error: File name [%s] not found\n         path\\filename required\n", w.rest.c_str());
      ExitRun(0, gcd);
    }
    gcd.drv.cfgFile = w.rest;
    LoadCfg(gcd);
  } else if (EqualsNoCase(w.second, "xsl")) {
    if (w.rest.empty()) headerThenFail("\n  Error: -w \"File xsl\" file name not parsed\n         Check command line syntax\n");
    gcd.sw.xslFile = w.rest;
  } else {
    headerThenFail("\n  Error: -u \"File [cfg | xsl] [path\\filename]\"\n         Command line syntax is not correct\n");
  }
}

[[noreturn]] void HelpScreen(const char* arg, GlobalData& gcd) {
  const char c = arg ? arg[0] : '\0';
  if (c == 'c') {
    ShowCfg(gLQAOUT, gcd);
    ExitRun(0, gcd);
  }
  ShowHeader(gLQAOUT, gcd, 0);
  ShowFMCHeader(gcd);
  switch (c) {
    case 's': ShowFullSyntax(gcd); break;
    case 'n': ShowNotices(gcd); break;
    case 'p': ShowSyntax(gcd, 1); break;
    default: ShowHelpText(gcd); break;
  }
  ExitRun(0, gcd);
}

void HandleK(const char* arg, GlobalData& gcd) {
  Switches& sw = gcd.sw;
  if (arg && arg[0] == 'd') {
    sw.sortDescending = 1;
    return;
  }
  const long key = ToLong(arg);
  sw.sortOn = 1;
  if (key < 0 || key > 10) {
    OutF("\n  Error: %d invalid sort key value.\n         Defaulting to no sort\n         Use -hs for help text\n",
         static_cast<int>(key));
    sw.sortKey = 0;
    sw.sortOn = 0;
    return;
  }
  sw.sortKey = static_cast<int>(key);
  if (key == 0) sw.sortOn = 0;
}

// -j<n>: the count is written right after the switch, digits only; counts
// above the largest are lowered to it.
void HandleJ(const char* arg, GlobalData& gcd) {
  const char* p = arg != nullptr ? arg : "";
  bool number = *p != '\0';
  int jobs = 0;
  for (; number && *p != '\0'; ++p) {
    number = *p >= '0' && *p <= '9';
    // Held just above the cap, however many digits follow.
    jobs = std::min(jobs * 10 + (*p - '0'), kMaxJobs + 1);
  }
  if (!number) Fail("\n  Error: Invalid parameter for -j option\n         Use -hs for help text\n", 1, gcd);
  gcd.sw.jobs = std::min(jobs, kMaxJobs);
  gcd.sw.jobsGiven = 1;
}

void HandleOption(int opt, const char* arg, GlobalData& gcd) {
  Switches& sw = gcd.sw;
  Config& cfg = gcd.cfg;
  const char a0 = arg ? arg[0] : '\0';
  switch (opt) {
    case 'A':
    case 'C':
      sw.outputMode = OutputMode::Csv; sw.complexity = 1; sw.analysisRequested = 1;
      sw.jsonOutput = 0;
      SetReportBytes(ReportBytes::AsIs);
      break;
    case 'a': sw.memory = 1; sw.analysisRequested = 1; break;
    case 'B': { long v = ToLong(arg); cfg.printedTopMargin = v < 0 ? 0 : static_cast<int>(v); break; }
    case 'b': sw.benchmark = 1; break;
    case 'c': sw.complexity = 1; sw.functionAnalysis = 1; sw.analysisRequested = 1; break;
    case 'D':
      if (a0 == 't') sw.deTabs = 1;
      else if (a0 == 'u') sw.deCarriageReturns = 1;
      else if (a0 == 'd') sw.addCarriageReturns = 1;
      else Fail("\n  Error: Invalid or missing parameter for -D option\n         Use -hs for help text\n", 1, gcd);
      sw.analysisRequested = 1;
      break;
    case 'd': sw.lineTrace = 1; sw.analysisRequested = 1; break;
    case 'E':
      if (a0 == 's') sw.extractStrings = 1;
      else if (a0 == 'c') sw.extractComments = 1;
      else if (a0 == 'C') {
        sw.commentDocumentation = sw.templateIdentification = sw.functionAnalysis = 1;
      } else Fail("\n  Error: Invalid parameter for -E option\n         Use -hs for help text\n", 1, gcd);
      sw.analysisRequested = 1;
      break;
    case 'e': sw.estimation = 1; sw.functionAnalysis = 1; sw.analysisRequested = 1; break;
    case 'F':
      sw.fileList = 1; sw.recursive = 0;
      AssignBounded(sw.fileListName, arg ? arg : "");
      break;
    case 'f':
      if (a0 == 'a') {
        sw.functionAnalysis = 1; sw.analysisRequested = 1;
        if (sw.outputMode == OutputMode::Csv) sw.csvFileSummary = sw.csvFunctionLines = 1;
      } else if (a0 == 'd') {
        sw.functionDetail = sw.complexity = sw.functionAnalysis = 1; sw.analysisRequested = 1;
      } else if (a0 == 'm') {
        sw.classMethodAnnotation = sw.objectMetrics = sw.functionAnalysis = 1; sw.analysisRequested = 1;
      } else if (a0 == 'p') {
        sw.functionPoints = 1;
      } else {
        Fail("\n  Error: As of version 6.20 the -f flag requires\n"
             "         -fa for functional analysis\n"
             "         -fd function file details\n"
             "         -fm function and attribute detail for classes\n"
             "         -fp for function points derived from LOC metrics\n"
             "         Use -hs for program syntax\n",
             1, gcd);
      }
      break;
    case 'G': RequestGate(arg != nullptr ? arg : "", gcd); break;
    case 'H':
      sw.outputMode = OutputMode::Html; sw.jsonOutput = 0;
      SetReportBytes(ReportBytes::HtmlUtf8);
      break;
    case 'h': HelpScreen(arg, gcd);
    case 'i': sw.inheritanceTree = 1; sw.objectMetrics = 1; sw.analysisRequested = 1; break;
    case 'j': HandleJ(arg, gcd); break;
    case 'k': HandleK(arg, gcd); break;
    case 'L': { long v = ToLong(arg); cfg.printedLineLength = v < 20 ? 20 : static_cast<int>(v); break; }
    case 'l': sw.functionListing = 1; sw.functionAnalysis = 1; sw.analysisRequested = 1; break;
    case 'M': { long v = ToLong(arg); cfg.printedLeftMargin = v < 0 ? 0 : static_cast<int>(v); break; }
    case 'm': sw.macroIdentification = 1; sw.analysisRequested = 1; break;
    case 'N':
      if (a0 == 's') sw.noticeSingleLine = 1;
      else if (a0 == 'v') sw.noticeVisualStudio = 1;
      else Fail("\n  Error: Invalid or missing parameter for -N option\n         Use -hs for help text\n", 1, gcd);
      sw.qualityNotices = sw.noticeListMode = sw.analysisRequested = 1;
      break;
    case 'n': sw.qualityNotices = 1; sw.analysisRequested = 1; break;
    case 'O': set_output_file(arg ? arg : "", gcd); break;
    case 'o': sw.objectMetrics = 1; sw.analysisRequested = 1; break;
    case 'P': {
      const long v = ToLong(arg);
      cfg.printedPageLength = static_cast<int>(v);
      if (v < 0) cfg.noPageBreaks = 1;
      break;
    }
    case 'p': sw.codeListing = 1; break;
    case 'q':
      OutF("\n  -q Query setup mode is now supported in the %s file.\n", "lqa.cfg");
      ExitRun(1, gcd);
    case 'R':
      if (a0 == 'd') sw.dirNoRecurse = 1;
      else if (a0 == 'l') sw.listFilesOnly = 1;
      else if (a0 == 'n') sw.sortFilesByName = 1;
      else Fail("\n  Error: Invalid parameter for -R option\n         Use -hs for help text\n", 1, gcd);
      break;
    case 'r': HandleR(arg, gcd); break;
    case 'S':
      AssignBounded(sw.title, arg ? arg : "");
      sw.titleGiven = 1;
      cfg.printedPageHeader = sw.title;
      break;
    case 's':
      sw.perFileSummary = 1;
      if (sw.outputMode == OutputMode::Csv) sw.csvFileSummary = 1;
      break;
    case 'T': HandleT(arg, gcd); break;
    case 'u': HandleU(arg, gcd); break;
    case 'v': sw.verbose = 1; sw.analysisRequested = 1; break;
    case 'W': Fail("\n  -W Work Diff mode is now supported under the -wx option\n", 1, gcd);
    case 'w': HandleW(arg, gcd); break;
    case 'J':
    case 'X':
      sw.outputMode = OutputMode::Xml; sw.totalsOnly = 1; sw.analysisRequested = 1;
      sw.jsonOutput = opt == 'J' ? 1 : 0;
      SetReportBytes(ReportBytes::AsIs);
      break;
    case 'x': HandleX(arg, gcd); break;
    case 'y':
      ShowCfg(gLQAOUT, gcd);
      ExitRun(0, gcd);
    default:
      Fail("\n  Error: Command line parse error, invalid option.\n         Use -hs to show program help syntax.\n", 1,
           gcd);
  }
}

}  // namespace

bool IsCurrentDirSpelling(const std::string& d) {
  static const char* const kSpellings[] = {".", "./", ".\\", "\\", "/", "*", "*.*"};
  for (const char* s : kSpellings)
    if (d == s) return true;
  return false;
}

void ApplyOption(int opt, const char* arg, GlobalData& gcd) { HandleOption(opt, arg, gcd); }

const char* SwitchOptionString() { return kOptString; }

void set_output_file(const char* name, GlobalData& gcd) {
  std::string file;
  AssignBounded(file, name ? name : "");
  errno = 0;
  std::string reason;
  if (!OpenReportFile(file, reason, gcd)) {
    OutF("\n  Error: Could not open output file\n         Filename: %s\n         %s\n\n", file.c_str(), reason.c_str());
    ExitRun(1, gcd);
  }
  StreamF(stdout, "\n  LQA using output file: %s\n", file.c_str());
  fflush(stdout);
  gcd.sw.outputFile = file;
  gcd.sw.outputFileGiven = 1;
}

int SetUpParams(int argc, char** argv, GlobalData& gcd) {
  if (argc <= 1) {
    ShowSyntax(gcd, 0);
    ExitRun(0, gcd);
  }
  HandleLongOptions(argc, argv, gcd);
  optind = 0;  // 0 makes glibc getopt start afresh (reset of its scan state)
  opterr = 0;
  int index = 1;
  int opt;
  while ((opt = getopt(argc, argv, kOptString)) != -1) {
    HandleOption(opt, optarg, gcd);
    ++index;
  }
  Switches& sw = gcd.sw;
  sw.perFileSummary = 1;
  int first = 1;
  while (first < argc && argv[first] && argv[first][0] == '-') ++first;
  sw.fileArgCount = argc - first;
  sw.filesPresent = sw.fileArgCount > 0 ? 1 : 0;
  sw.firstFileIndex = index;
  return index;
}

void AdjustAfterSwitches(GlobalData& gcd) {
  gcd.sw.progress = gcd.sw.outputFileGiven ? 1 : 0;
  if (gcd.sw.objectMetrics && !gcd.sw.functionAnalysis) {
    // Class analysis needs the functions, but lists none of its own.
    gcd.sw.functionAnalysis = 1;
    gcd.sw.functionsForClassesOnly = 1;
  }
  gcd.lang.headerAsCpp = gcd.cfg.notice[25];
  gcd.needs = DecideReportNeeds(gcd.sw, gcd.sarif.sarif.wanted || gcd.sarif.gitlab.wanted);
}
