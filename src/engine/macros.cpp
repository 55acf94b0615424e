// The macro list: names from lqa_macro.cfg and from every #define read, the
// look-up that function and class recognition use, and the -m listing.
#include "engine/macros.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "common/atomic_file.h"
#include "common/gcd.h"
#include "common/run_share.h"
#include "common/shared_name_set.h"
#include "common/input_file.h"
#include "common/output.h"
#include "common/version.h"
#include "engine/lexical.h"
#include "engine/trace.h"
#include "reports/format.h"

namespace {

struct FileCloser {
  void operator()(FILE* f) const { if (f != nullptr) std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// The macro file written when none can be read, after its version line.
constexpr const char* kDefaultMacroFile[] = {
    "# Predefined Language Macro File",
    "# Place each macro on a single line followed by a carriage return",
    "# Each line starting with a # sign denotes a comment line",
    "",
    "# Win32 macros effecting data and functions",
    "__declspec",
    "DECLSPEC_UUID",
    "DECLARE_MESSAGE_MAP",
    "afx_msg",
    "ATL_NO_VTABLE",
    "",
    "# gcc language extension macros effecting data and functions",
    "__attribute__",
    "",
    "# End of File",
};

// Written under a temporary name and published when complete; a file that
// cannot be created is silently left out.
void WriteDefaultMacroFile(const std::string& path) {
  AtomicFile f;
  AtomicOptions options;
  options.regularOnly = true;
  if (!f.Open(path, options)) return;
  StreamF(f.stream(), "# Line Quality Analyzer Version %s\n", kLqaVersion);
  for (const char* line : kDefaultMacroFile) StreamF(f.stream(), "%s\n", line);
  f.Commit();
}

bool ListingOff(const GlobalData& gcd) { return gcd.sw.totalsOnly != 0; }

void WriteMacroName(const char* name, const char* lead, GlobalData& gcd) {
  if (gcd.sw.outputMode == OutputMode::Html) {
    // Every character escapes to at most six.
    std::string escaped(std::strlen(name) * 6 + 1, '\0');
    HTML_esc(name, escaped.data());
    OutF("%s  <b>Macro</b>: <b><font color=\"%s\">%s</font></b>\n", lead, gcd.cfg.htmlMacroColor.c_str(),
         escaped.c_str());
  } else {
    OutF("%s  Macro: %s\n", lead, name);
  }
}

void MacroBeginAt(const char* name, int lineNumber, GlobalData& gcd) {
  if (name == nullptr || ListingOff(gcd)) return;
  const bool notices = gcd.sw.qualityNotices != 0;
  if (notices) ShowStateLine(lineNumber, "Macro Begin");
  WriteMacroName(name, "", gcd);
  if (!notices) return;
  OutS("\n");
  static constexpr const char* kTitle = "~~ Macro Quality Notices ~~";
  if (gcd.sw.outputMode == OutputMode::Html) {
    const std::string decorated =
        std::string("<b><font color=\"") + gcd.cfg.htmlHeaderColor + "\">" + kTitle + "</font></b>";
    Center_HTML(kTitle, decorated.c_str());
  } else {
    Center(kTitle);
  }
}

void MacroEndAt(const char* name, int lineNumber, GlobalData& gcd) {
  if (name == nullptr || ListingOff(gcd)) return;
  WriteMacroName(name, "\n", gcd);
  if (gcd.sw.qualityNotices) ShowStateLine(lineNumber, "Macro End");
}

bool IsNameEnd(char c) {
  return c == ' ' || c == '\t' || c == '(' || c == '\n' || c == '\r' || c == '\0';
}

}  // namespace

void FileMacros::Clear() {
  defined.Clear();
  order.clear();
  missed.Clear();
  missedOrder.clear();
  found.Clear();
}

void AddMacroName(const char* name, GlobalData& gcd) {
  if (name == nullptr) return;
  FileMacros* file = gcd.macros.file;
  if (file == nullptr) {
    gcd.macros.names.Intern(name);
    return;
  }
  // Kept whether the run's list has it or not: the look-up in the run's
  // large table is left to the merge, which makes it anyway.
  const std::string_view view(name);
  const std::uint32_t hash = NameSet::Hash(view);
  const std::size_t known = file->defined.size();
  const char* stored = file->defined.Intern(view, hash);
  if (stored != nullptr && file->defined.size() > known) file->order.push_back({{stored, view.size()}, hash});
}

namespace {
// How many names ahead the merge loops prefetch their slots in the run's
// table: a file of a large tree defines thousands of names, each a cache
// miss in a table of millions.
constexpr std::size_t kPrefetchAhead = 8;
}  // namespace

void MergeMacroNames(const FileMacros& file, SharedNameSet& run) {
  const std::vector<FileMacros::Name>& names = file.order;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i + kPrefetchAhead < names.size()) run.Prefetch(names[i + kPrefetchAhead].hash);
    run.Intern(names[i].text, names[i].hash);
  }
}

int OverturnedMacroLookups(const FileMacros& file, const SharedNameSet& run) {
  const std::vector<FileMacros::Name>& names = file.missedOrder;
  int overturned = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i + kPrefetchAhead < names.size()) run.Prefetch(names[i + kPrefetchAhead].hash);
    overturned += run.Contains(names[i].text, names[i].hash) ? 1 : 0;
  }
  return overturned;
}

int LoadMacros(GlobalData& gcd) {
  const std::string& path = gcd.drv.macroFile;
  if (path.empty()) return 0;
  FilePtr f(OpenInput(path));
  if (!f) {
    // Only a missing file is created; one that is no regular file is named.
    if (errno == ENOENT) WriteDefaultMacroFile(path);
    else if (errno == kNotRegularFile || errno == EISDIR)
      StreamF(stderr, "\n  Error: Cannot read the macro file %s\n         %s; no macro names are loaded\n",
              path.c_str(), InputErrorText(errno));
    return 0;
  }
  int loaded = 0;
  char line[kTextBuf];
  bool atLineStart = true;
  while (std::fgets(line, sizeof line, f.get()) != nullptr) {
    const std::size_t len = std::strlen(line);
    const bool complete = len > 0 && line[len - 1] == '\n';
    // The rest of a line longer than the buffer is not a name of its own.
    const bool startsLine = atLineStart;
    atLineStart = complete;
    if (!startsLine) continue;
    if (line[0] == '#' || static_cast<signed char>(line[0]) <= 32) continue;
    Rtrim(line);
    AddMacroName(line, gcd);
    ++loaded;
  }
  return loaded;
}

int is_macro(const char* name, GlobalData& gcd) {
  if (name == nullptr || static_cast<signed char>(name[0]) <= 32) return 0;
  const std::string_view view(name, strnlen(name, kTextMax));
  const std::uint32_t hash = NameSet::Hash(view);
  if (gcd.macros.names.Contains(view, hash)) return 1;
  FileMacros* file = gcd.macros.file;
  if (file == nullptr) return 0;
  if (file->defined.Contains(view, hash)) return 1;
  if (const RunShare* share = gcd.drv.share;
      share != nullptr && share->macroNames != nullptr && gcd.drv.workerNumber >= 0 &&
      gcd.drv.workerNumber < SharedNameSet::kMaxReaders) {
    // A worker's own list is empty: the run's holds the names of the files
    // merged so far, all of them before this one. A name asked before in
    // the file is answered as then: a "no" that a merge has overturned since
    // has the file analysed again anyway.
    if (file->found.Contains(view, hash)) return 1;
    if (file->missed.Contains(view, hash)) return 0;
    if (share->macroNames->ContainsAsReader(view, hash, gcd.drv.workerNumber)) {
      file->found.Intern(view, hash);
      return 1;
    }
  }
  const std::size_t known = file->missed.size();
  const char* stored = file->missed.Intern(view, hash);
  if (stored != nullptr && file->missed.size() > known) file->missedOrder.push_back({{stored, view.size()}, hash});
  return 0;
}

void ReadDefine(const char* line, int pos, int lineNumber, GlobalData& gcd) {
  LexState& lex = gcd.eng.lex;
  char* mname = gcd.macros.mname;
  gcd.eng.fc.defineCount += 1;
  lex.define_flag = 1;
  mname[0] = '\0';
  if (line == nullptr) return;
  const int lineLen = static_cast<int>(strnlen(line, kTextMax));
  int i = pos < 0 ? 0 : (pos > lineLen ? lineLen : pos);
  while (i < lineLen && (line[i] == ' ' || line[i] == '\t')) ++i;
  int n = 0;
  while (i < lineLen && !IsNameEnd(line[i]) && n < static_cast<int>(kTextMax)) mname[n++] = line[i++];
  mname[n] = '\0';
  if (n > 0 && i < lineLen && line[i] == '(') {
    lex.macro_function = 1;
    if (gcd.sw.macroIdentification) {
      if (gcd.sw.qualityNotices) MacroBeginAt(mname, lineNumber, gcd);
      else EmitMacro(mname, gcd);
    }
  }
  gcd.eng.fc.macros += 1;
  AddMacroName(mname, gcd);
}

void MacroLineEnd(int lineNumber, GlobalData& gcd) {
  if (!gcd.eng.lex.macro_function) return;
  gcd.eng.lex.macro_function = 0;
  if (gcd.sw.macroIdentification && gcd.sw.qualityNotices) MacroEndAt(gcd.macros.mname, lineNumber, gcd);
}

int InMacroDefinition(const GlobalData& gcd) { return gcd.eng.lex.macro_function; }

void MacroBegin(const char* name, GlobalData& gcd) { MacroBeginAt(name, gcd.drv.lineNumber, gcd); }

void EmitMacro(const char* name, GlobalData& gcd) {
  if (name == nullptr || ListingOff(gcd)) return;
  WriteMacroName(name, "", gcd);
  OutS("\n");
}

void MacroEnd(const char* name, GlobalData& gcd) { MacroEndAt(name, gcd.drv.lineNumber, gcd); }
