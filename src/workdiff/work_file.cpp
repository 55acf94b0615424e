// The work file: its name, header and file lines as a run writes them, the
// copy made at the end of the run, and the reader used by the comparison.
#include "workdiff/work_file.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "common/atomic_file.h"
#include "common/error_text.h"
#include "common/gcd.h"
#include "common/input_file.h"
#include "common/output.h"
#include "common/version.h"
#include "driver/report_output.h"
#include "reports/format.h"
#include "reports/report_text.h"
#include "utilities/file_copy.h"
#include "workdiff/line_data.h"
#include "workdiff/work_entry.h"

namespace {

constexpr const char* kDefaultWorkFileName = "workfile.dat";
constexpr const char* kWorkFileTitle = "Line Quality Analyzer Work File";
constexpr const char* kWorkFileWarning = "DO NOT EDIT - This is a Generated File";
// File lines longer than this are not work file lines; the rest is dropped.
constexpr std::size_t kMaxWorkLine = 16384;

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

bool Html(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Html; }
bool TextOrHtml(const GlobalData& gcd) {
  return gcd.sw.outputMode == OutputMode::Text || gcd.sw.outputMode == OutputMode::Html;
}

bool IsLocationLead(char c, bool backslash) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '/' || (backslash && c == '\\');
}

// The work file location path when it is set (a value starting with a
// carriage return counts as empty).
std::string Location(const GlobalData& gcd) {
  const std::string& loc = gcd.cfg.workFileLocation;
  if (loc.empty() || loc[0] == '\r') return std::string();
  return loc;
}

std::string JoinLocation(const std::string& location, const char* name) {
  std::string path = location;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + name;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Reads one line without its line feed, keeping at most kMaxWorkLine
// characters. False at the end of the file.
bool ReadWorkLine(FILE* fp, std::string& line, bool& overlong) {
  line.clear();
  overlong = false;
  int c = std::getc(fp);
  if (c == EOF) return false;
  while (c != EOF && c != '\n') {
    if (line.size() < kMaxWorkLine) line.push_back(static_cast<char>(c));
    else overlong = true;
    c = std::getc(fp);
  }
  return true;
}

void StripLineEnd(std::string& s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
}

// Reads the twelve numbers of a file line from pos and the data path after
// them. False when they are not all there.
bool ParseNumbers(const std::string& line, std::size_t pos, WorkLine& out) {
  const char* p = line.c_str() + pos;
  char* end = nullptr;
  errno = 0;
  long date = std::strtol(p, &end, 10);
  if (end == p || errno == ERANGE || (*end != ' ' && *end != '\t')) return false;
  int* const fields[] = {&out.size,    &out.loc,        &out.eloc,    &out.comments,
                         &out.blanks,  &out.lines,      &out.lloc,    &out.cyclomatic,
                         &out.notices, &out.interface,  &out.functions};
  p = end;
  for (int* field : fields) {
    errno = 0;
    long v = std::strtol(p, &end, 10);
    if (end == p || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    if (*end != ' ' && *end != '\t' && *end != '\0' && *end != '\r') return false;
    *field = static_cast<int>(v);
    p = end;
  }
  out.date = date;
  if (*p == ' ') ++p;
  out.dataPath.assign(p);
  StripLineEnd(out.dataPath);
  return true;
}

void VersionWarning(const std::string& fileName, double version, GlobalData& gcd) {
  if (gcd.sw.outputMode == OutputMode::Xml) {
    OutF("<warning>Work file version does not match the current version of LQA</warning>\n");
    return;
  }
  OutF("\n  WARNING: Work file version does not match the current version\n"
       "           of LQA .  Reprocess the work file with this version of LQA\n"
       "           Work File: %s\n"
       "             Version: %-5.2f\n"
       "             Program: %s\n"
       "             Version: %s\n\n",
       ShownText(fileName, gcd).c_str(), version, ShownText(gcd.drv.progPath, gcd).c_str(), kLqaVersion);
}

void DamagedHeader(const std::string& fileName, const GlobalData& gcd) {
  OutF("  Error: Loading Work File: %s\n         The work file header is damaged or missing\n",
       ShownText(fileName, gcd).c_str());
}

}  // namespace

const char* WorkStateName(int state) {
  static const char* const kNames[] = {"Unp", "Equ", "Mod", "Dif", "Rem", "New", "Prc", "Tot"};
  if (state < 0 || state > kWorkTotal) return kNames[0];
  return kNames[state];
}

std::string WorkFileCreateName(GlobalData& gcd) {
  std::string name = gcd.sw.workFileName.empty() ? kDefaultWorkFileName : gcd.sw.workFileName;
  if (name != kDefaultWorkFileName) return name;
  char dated[64] = "WorkFile.dat";
  const time_t now = time(nullptr);
  struct tm local {};
  if (localtime_r(&now, &local) != nullptr) strftime(dated, sizeof dated, "WorkFile_%m%d%Y.dat", &local);
  const std::string location = Location(gcd);
  if (!location.empty() && IsLocationLead(location[0], true)) return JoinLocation(location, dated);
  return dated;
}

FILE* CreateWorkFile(GlobalData& gcd) {
  WorkDiffState& wd = gcd.wd;
  wd.workFileName = WorkFileCreateName(gcd);
  auto file = std::make_shared<AtomicFile>();
  AtomicOptions options;
  options.regularOnly = true;  // a baseline written to a device is no baseline
  if (!file->Open(wd.workFileName, options)) {
    const char* why = errno == ENODEV ? file->error().c_str() : ErrorText(errno);
    OutF("\n  Create File Error: %s - %s\n", ShownText(wd.workFileName, gcd).c_str(), why);
    gcd.drv.runFailed = 1;
    return nullptr;
  }
  FILE* fp = file->stream();
  wd.workFile = std::move(file);
  wd.baselineFailed = 0;
  char wrapped[kTextBuf];
  const std::string name = ShownText(wd.workFileName, gcd);
  const char* shown = AdjNameLength(name.c_str(), wrapped, 52, 22, gcd);
  if (Html(gcd))
    OutF("  <b><font color=\"%s\">Creating Work File</font></b>: %s\n", gcd.cfg.htmlHeaderColor.c_str(), shown);
  else if (gcd.sw.outputMode == OutputMode::Text)
    OutF("\n  Creating Work File: %s\n", shown);
  StreamF(fp, "%s\n", kWorkFileTitle);
  StreamF(fp, "%s\n", kWorkFileWarning);
  StreamF(fp, "%s\n", kLqaVersion);
  StreamF(fp, "%ld\n", static_cast<long>(time(nullptr)));
  StreamF(fp, "Ignore Blank Lines: %d\n", gcd.cfg.diffIgnoreBlankLines ? 1 : 0);
  StreamF(fp, "Ignore White Space: %d\n", gcd.cfg.diffIgnoreWhiteSpace ? 1 : 0);
  if (gcd.sw.workLineDiff) WorkDiffDataPathName(gcd);
  return fp;
}

std::string WorkFileEntryName(const std::string& fileName, const GlobalData& gcd) {
  const std::string& top = gcd.sw.workTopDir;
  if (!gcd.cfg.relativeWorkFiles || top.empty() || top == ".") return fileName;
  if (fileName.compare(0, top.size(), top) != 0) return fileName;
  // The top directory must end at a separator: "src" is no prefix of "src2/a.c".
  if (fileName.size() == top.size()) return fileName;
  const char next = fileName[top.size()];
  if (next == '/' || next == '\\') return fileName.substr(top.size() + 1);
  if (top.back() == '/' || top.back() == '\\') return fileName.substr(top.size());
  return fileName;
}

std::string WorkFileLine(const FileData& record, const GlobalData& gcd) {
  if (gcd.drv.workFileStream == nullptr) return {};
  char numbers[256];
  std::snprintf(numbers, sizeof numbers, "| %ld %d %d %d %d %d %d %d %d %d %d %d ", static_cast<long>(record.date),
                record.size, record.loc, record.eloc, record.comments, record.blanks, record.lines, record.lloc,
                record.cyclomatic, gcd.eng.fc.notices, record.parameters + record.returns, record.functions);
  return WorkFileEntryName(record.name, gcd) + numbers + gcd.wd.dataStoredPath + "\n";
}

void WriteWorkFileLine(const std::string& line, GlobalData& gcd) {
  FILE* fp = gcd.drv.workFileStream;
  if (fp != nullptr && !line.empty()) std::fwrite(line.data(), 1, line.size(), fp);
}

void FinishWorkFile(GlobalData& gcd) {
  WorkDiffState& wd = gcd.wd;
  std::shared_ptr<AtomicFile> file = std::move(wd.workFile);
  gcd.drv.workFileStream = nullptr;
  if (!file) return;
  WorkDiffDataFileClose(gcd);
  // A code listing or de-charactering run analyses no file: its work file
  // does not replace the last complete one.
  const Switches& sw = gcd.sw;
  if (sw.codeListing || sw.deTabs || sw.deCarriageReturns || sw.addCarriageReturns) {
    file->Abandon();
    DiscardDataDirectory(gcd);
    return;
  }
  const std::string shown = ShownText(wd.workFileName, gcd);
  // A baseline is published whole or not at all: a failed write of its work
  // file or of any line data leaves the previous files as they were.
  if (wd.baselineFailed || std::ferror(file->stream())) {
    file->Abandon();
    DiscardDataDirectory(gcd);
    OutF("\n  Error: The baseline was not written: %s\n"
         "         A write failed; the previous work file and line data are left as they were\n\n",
         shown.c_str());
    gcd.drv.runFailed = 1;
    return;
  }
  bool dataPublished = true;
  if (!file->Commit([&] { return dataPublished = PublishDataDirectory(gcd); })) {
    if (dataPublished)
      OutF("\n  Write File Error: %s - %s\n         The previous work file is left as it was\n", shown.c_str(),
           file->error().c_str());
    DiscardDataDirectory(gcd);
    gcd.drv.runFailed = 1;
    return;
  }
  const std::string location = Location(gcd);
  const std::string finalName = !location.empty() && IsLocationLead(location[0], false)
                                    ? JoinLocation(location, kDefaultWorkFileName)
                                    : std::string(kDefaultWorkFileName);
  // A work file created under the final name itself is not copied onto itself.
  if (!SameFile(finalName, wd.workFileName) && FileCopy(finalName.c_str(), wd.workFileName.c_str(), &gcd) < 0)
    gcd.drv.runFailed = 1;
  if (TextOrHtml(gcd)) OutF("\n\n  Completed Work File: %s\n\n", shown.c_str());
}

WorkLineResult ParseWorkLine(const std::string& line, WorkLine& out) {
  std::size_t bar = line.rfind('|');
  if (bar == std::string::npos) return WorkLineResult::Skipped;
  if (line.find('\0') != std::string::npos) return WorkLineResult::Damaged;
  // The separator is the last '|' that the numbers follow; a '|' in the
  // data path or in the name moves it.
  for (bool first = true;; first = false) {
    const std::size_t dot = bar == 0 ? std::string::npos : line.rfind('.', bar - 1);
    if (dot == std::string::npos) return first ? WorkLineResult::Skipped : WorkLineResult::Damaged;
    if (ParseNumbers(line, bar + 1, out)) {
      std::string word = line.substr(dot + 1, bar - dot - 1);
      // A version-extended name ("a.c@@/main/3") loads as the plain name.
      if (word.find("@@") != std::string::npos) word.resize(word.find('@'));
      out.name = line.substr(0, dot + 1) + word;
      return WorkLineResult::Parsed;
    }
    if (bar == 0) return WorkLineResult::Damaged;
    bar = line.rfind('|', bar - 1);
    if (bar == std::string::npos) return WorkLineResult::Damaged;
  }
}

int LoadWorkFile(const std::string& fileName, time_t* created, Llist<NodeData>& list, int* ignoreBlank,
                 int* ignoreWhite, GlobalData& gcd) {
  errno = 0;
  struct stat st {};
  // A FIFO or a device named as a work file is refused without blocking.
  FilePtr fp(OpenInput(fileName, {}, &st));
  if (!fp) {
    OutF("  Error: Loading Work File: %s\n         Use the -wc option to create a base work file\n         %s\n",
         ShownText(fileName, gcd).c_str(), InputErrorText(errno));
    return 0;
  }
  if (IsReportTarget(st, gcd)) RefuseReportOverInput(fileName, gcd);
  std::string header[6];
  bool overlong = false;
  for (std::string& h : header) {
    if (!ReadWorkLine(fp.get(), h, overlong)) {
      DamagedHeader(fileName, gcd);
      return 0;
    }
    StripLineEnd(h);
  }
  const double version = std::strtod(header[2].c_str(), nullptr);
  char* end = nullptr;
  const long when = std::strtol(header[3].c_str(), &end, 10);
  int blank = 0, white = 0;
  if (end == header[3].c_str() || std::sscanf(header[4].c_str(), "Ignore Blank Lines: %d", &blank) != 1 ||
      std::sscanf(header[5].c_str(), "Ignore White Space: %d", &white) != 1) {
    DamagedHeader(fileName, gcd);
    return 0;
  }
  const double programVersion = std::strtod(kLqaVersion, nullptr);
  if (!std::isfinite(version) || std::trunc(version) != std::trunc(programVersion))
    VersionWarning(fileName, std::isfinite(version) ? version : 0.0, gcd);
  if (created) *created = static_cast<time_t>(when);
  if (ignoreBlank) *ignoreBlank = blank;
  if (ignoreWhite) *ignoreWhite = white;

  std::string line;
  int damaged = 0;
  WorkLine parsed;
  while (ReadWorkLine(fp.get(), line, overlong)) {
    StripLineEnd(line);
    if (line.empty()) continue;
    const WorkLineResult r = overlong ? WorkLineResult::Damaged : ParseWorkLine(line, parsed);
    if (r == WorkLineResult::Damaged) ++damaged;
    if (r != WorkLineResult::Parsed) continue;
    NodeData rec;
    rec.name = parsed.name;
    rec.text1 = parsed.dataPath;
    EntryDate(rec) = parsed.date > INT_MAX ? INT_MAX : parsed.date < INT_MIN ? INT_MIN : static_cast<int>(parsed.date);
    EntrySize(rec) = parsed.size;
    EntryMetric(rec, kDiffLoc) = parsed.loc;
    EntryMetric(rec, kDiffEloc) = parsed.eloc;
    EntryMetric(rec, kDiffLloc) = parsed.lloc;
    EntryMetric(rec, kDiffComments) = parsed.comments;
    EntryMetric(rec, kDiffBlanks) = parsed.blanks;
    EntryMetric(rec, kDiffLines) = parsed.lines;
    EntryMetric(rec, kDiffFunctions) = parsed.functions;
    EntryMetric(rec, kDiffCyclomatic) = parsed.cyclomatic;
    EntryMetric(rec, kDiffInterface) = parsed.interface;
    const long long complexity = static_cast<long long>(parsed.cyclomatic) + parsed.interface;
    EntryMetric(rec, kDiffComplexity) =
        complexity > INT_MAX ? INT_MAX : complexity < INT_MIN ? INT_MIN : static_cast<int>(complexity);
    EntryMetric(rec, kDiffNotices) = parsed.notices;
    if (!AddListNode(0, std::move(rec), list, gcd)) {
      OutF("  Memory Error: %s\n", ErrorText(ENOMEM));
      return 0;
    }
  }
  if (damaged > 0)
    OutF("\n  Warning: Work File: %s\n           %d damaged file lines were skipped\n",
         ShownText(fileName, gcd).c_str(), damaged);
  return 1;
}
