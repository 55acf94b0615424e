// Reading the UDQN file: "key : value" lines, "UDQN Begin:" ... "UDQN End:"
// blocks, includes, and the checks of every field. Problems are reported; a
// definition without a usable identifier is skipped, one without a usable
// context, pattern or sources is kept (it shows in the listings) but never
// fires; the definitions before and after it are kept.
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/gcd.h"
#include "common/input_file.h"
#include "common/output.h"
#include "common/version.h"
#include "notices/udqn_internal.h"

namespace {

// Included files may nest this deep below the main file.
constexpr int kMaxIncludeDepth = 16;

struct FileId {
  dev_t dev = 0;
  ino_t ino = 0;
};

// The UDQN file being read: its own compile and match flags and the
// definition that is open in it.
struct UdqnFile {
  const GlobalData* gcd = nullptr;  // for the output mode of the messages
  std::string name;
  int lineNumber = 0;
  int compileFlags = 0;
  int matchFlags = 0;
  std::unique_ptr<UdqnDefinition> open;
  // Problems already reported for the open definition, so that "UDQN End"
  // does not report them twice.
  int badLine = 0;       // an over-long line fell inside it
  int idRefused = 0;     // its identifier was not a number or a duplicate
  int contextBad = 0;    // its context value was not understood (already reported)
};

constexpr const char* kNeverFires = "The notice never fires.";
constexpr const char* kOpenDefinition =
    "The unfinished definition is discarded; its end line needs its colon: \"UDQN End:\".";

// What a run of the loader shares between the main file and its includes.
struct LoadRun {
  std::string mainDir;           // directory of the main file, with '/'
  std::vector<FileId> openFiles;  // the include chain, to stop loops
  // Every file read so far: each is read once, so that files including the
  // next one several times, level after level, cannot multiply the work.
  std::vector<FileId> readFiles;
};

bool Holds(const std::vector<FileId>& ids, const struct stat& st) {
  for (const FileId& id : ids)
    if (id.dev == st.st_dev && id.ino == st.st_ino) return true;
  return false;
}

void ReportProblem(const UdqnFile& file, const std::string& problem, const char* consequence) {
  OutF("\n  Error: %s\n         UDQN file %s, line %d\n         %s\n\n", udqn_mode_text(problem, *file.gcd).c_str(),
       udqn_mode_text(file.name, *file.gcd).c_str(), file.lineNumber, consequence);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}
std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

bool IsOn(std::string_view value) { return EqualsNoCase(value, "on") || EqualsNoCase(value, "yes"); }
bool IsOff(std::string_view value) { return EqualsNoCase(value, "off") || EqualsNoCase(value, "no"); }

bool IsListSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

// A whole decimal number (optional sign) within the range of int.
bool ParseInt(std::string_view text, int& out) {
  if (text.empty() || text.size() > 12) return false;
  std::string s(text);
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(s.c_str(), &end, 10);
  if (errno != 0 || end == s.c_str() || *end != '\0' || v < INT_MIN || v > INT_MAX) return false;
  out = static_cast<int>(v);
  return true;
}

enum class Key {
  Include, Begin, Id, Active, Sources, Context, Pattern, TestString, Message, Summary,
  SetFlags, CheckFlags, NotCheckFlags, ClearFlags, EmitEof, Silent, End, CompileFlag, MatchFlag,
  Severity, Category
};

struct KeyEntry {
  const char* label;
  Key key;
  int flag;  // the POSIX flag of the compile and match flag keys
};

constexpr KeyEntry kKeys[] = {
    {"include", Key::Include, 0},
    {"UDQN Begin", Key::Begin, 0},
    {"UDQN Identifier", Key::Id, 0},
    {"udqn id", Key::Id, 0},
    {"active", Key::Active, 0},
    {"sources", Key::Sources, 0},
    {"context", Key::Context, 0},
    {"pattern", Key::Pattern, 0},
    {"string", Key::TestString, 0},
    {"message", Key::Message, 0},
    {"summary", Key::Summary, 0},
    {"set flags", Key::SetFlags, 0},
    {"check flags", Key::CheckFlags, 0},
    {"!check flags", Key::NotCheckFlags, 0},
    {"clear flags", Key::ClearFlags, 0},
    {"emit eof flag", Key::EmitEof, 0},
    {"silent flag", Key::Silent, 0},
    {"UDQN End", Key::End, 0},
    {"severity", Key::Severity, 0},
    {"category", Key::Category, 0},
    {"REG_ICASE", Key::CompileFlag, kUdqnIcase},
    {"REG_NEWLINE", Key::CompileFlag, kUdqnNewline},
    {"REG_NOSUB", Key::CompileFlag, kUdqnNoSub},
    {"REG_EXTENDED", Key::CompileFlag, kUdqnExtended},
    {"REG_NOTBOL", Key::MatchFlag, kUdqnNotBol},
    {"REG_NOTEOL", Key::MatchFlag, kUdqnNotEol},
};

const KeyEntry* FindKey(std::string_view label) {
  for (const KeyEntry& entry : kKeys)
    if (EqualsNoCase(label, entry.label)) return &entry;
  return nullptr;
}

constexpr const char* kContextNames[] = {"Unknown", "Line", "Code", "Comment", "String"};

void ReadSources(std::string_view value, UdqnFile& file) {
  UdqnDefinition& def = *file.open;
  def.sources.clear();
  bool tooMany = false;
  ForEachItem(value, IsListSeparator, [&](std::string_view item) {
    // "*.java" and ".java" name the extension "java".
    if (item.starts_with("*.")) item.remove_prefix(2);
    else if (item.starts_with('.')) item.remove_prefix(1);
    if (item.empty()) return false;
    if (static_cast<int>(def.sources.size()) >= kUdqnListMax) {
      tooMany = true;
      return true;
    }
    def.sources.emplace_back(item);
    return false;
  });
  if (tooMany) ReportProblem(file, "UDQN sources list holds more than 64 extensions", "The extensions after the 64th are ignored.");
}

void ReadFlags(std::string_view value, UdqnFlagList& flags, UdqnFile& file) {
  flags.clear();
  int positions = 0;
  bool tooMany = false;
  ForEachItem(value, IsListSeparator, [&](std::string_view item) {
    if (positions >= kUdqnListMax) {
      tooMany = true;
      return true;
    }
    ++positions;
    int n = 0;
    if (!ParseInt(item, n) || n < 1 || n >= kUdqnFlagSlots) {
      ReportProblem(file, "UDQN flag " + std::string(item) + " is not a number from 1 to 1999",
                    "The flag is skipped.");
      return false;
    }
    flags.push_back(n);
    return false;
  });
  if (tooMany) ReportProblem(file, "UDQN flag list holds more than 64 flags", "The flags after the 64th are ignored.");
}

void ReadIdentifier(std::string_view value, UdqnFile& file, GlobalData& gcd) {
  UdqnDefinition& def = *file.open;
  int id = 0;
  if (!ParseInt(value, id)) {
    ReportProblem(file, "UDQN Identifier is not a number: " + std::string(value), "The definition is skipped.");
    def.hasId = 0;
    file.idRefused = 1;
    return;
  }
  if (id < kUdqnFirstId)
    OutF("  Error: UDQN Identifiers %d cannot be less than 100.\n"
         "         Please correct UDQN file %s\n"
         "         to create unique UDQN Ids.\n\n",
         id, udqn_mode_text(file.name, gcd).c_str());
  if (search_udqn_id(id, gcd.udqn)) {
    OutF("  Error: Duplicate UDQN Identifier %d\n"
         "         Please correct UDQN file %s\n"
         "         to create unique UDQN Ids.\n\n",
         id, udqn_mode_text(file.name, gcd).c_str());
    def.hasId = 0;
    file.idRefused = 1;
    return;
  }
  def.id = id;
  def.hasId = 1;
  file.idRefused = 0;
}

void ReadContext(std::string_view value, UdqnFile& file) {
  UdqnDefinition& def = *file.open;
  def.context = kUdqnUnknown;
  for (int c = kUdqnLine; c <= kUdqnString; ++c)
    if (EqualsNoCase(value, kContextNames[c])) def.context = c;
  file.contextBad = def.context == kUdqnUnknown;
  if (file.contextBad)
    ReportProblem(file, "UDQN context is not Line, Code, Comment or String: " + std::string(value), kNeverFires);
}

// The optional ranking keys of the machine-readable outputs; an unknown
// value keeps the default and is reported.
void ReadSeverity(std::string_view value, UdqnFile& file) {
  GitlabSeverity severity{};
  if (!ParseGitlabSeverity(value, severity)) {
    ReportProblem(file, "UDQN severity is not info, minor, major, critical or blocker: " + std::string(value),
                  "The default, minor, is used.");
    return;
  }
  file.open->rank.severity = severity;
  file.open->rank.level = LevelForSeverity(severity);
}

void ReadCategory(std::string_view value, UdqnFile& file) {
  NoticeCategory category{};
  if (!ParseCategory(value, category)) {
    ReportProblem(file,
                  "UDQN category is not Bug Risk, Complexity, Clarity, Compatibility or Style: " + std::string(value),
                  "The default, Style, is used.");
    return;
  }
  file.open->rank.category = category;
}

void ReadPattern(std::string_view value, UdqnFile& file) {
  UdqnDefinition& def = *file.open;
  def.pattern.assign(value);
  def.compileFlags = file.compileFlags;
  def.matchFlags = file.matchFlags;
  if (def.pattern.empty()) {
    def.regex.reset();
    def.compileStatus.clear();
    return;
  }
  if (!udqn_compile(def))
    ReportProblem(file, "UDQN pattern does not compile: " + def.compileStatus, "The notice never matches.");
}

// "UDQN End:": the definition is checked, its test string matched, and it is
// appended to the list. One without an identifier, or with a line that was
// too long, is dropped; one that can never fire is reported and kept, so
// that the listings show every definition read.
void EndDefinition(UdqnFile& file, GlobalData& gcd) {
  std::unique_ptr<UdqnDefinition> def = std::move(file.open);
  const bool dropped = file.badLine || file.idRefused;
  const bool contextReported = file.contextBad;
  file.badLine = file.idRefused = file.contextBad = 0;
  if (dropped) return;
  if (!def->hasId) {
    ReportProblem(file, "UDQN definition has no UDQN Identifier", "The definition is skipped.");
    return;
  }
  const char* missing = nullptr;
  if (def->pattern.empty()) missing = "UDQN definition has no pattern";
  else if (def->context == kUdqnUnknown && !contextReported)
    missing = "UDQN definition has no context (Line, Code, Comment or String)";
  else if (def->sources.empty()) missing = "UDQN definition has no sources";
  if (missing != nullptr)
    ReportProblem(file, std::string(missing) + ": Identifier " + std::to_string(def->id), kNeverFires);
  pcre_match_test(def->testString, *def, gcd, def->testResult);
  gcd.udqn.byId.emplace(def->id, def.get());
  gcd.udqn.definitions.push_back(std::move(def));
}

void BeginDefinition(UdqnFile& file) {
  if (file.open) ReportProblem(file, "UDQN Begin before the UDQN End of the definition above it", kOpenDefinition);
  file.open = std::make_unique<UdqnDefinition>();
  file.badLine = file.idRefused = file.contextBad = 0;
}

void ReadUdqnFile(const std::string& path, int include, LoadRun& run, GlobalData& gcd);

void Include(std::string_view value, UdqnFile& file, LoadRun& run, GlobalData& gcd) {
  if (value.empty()) {
    ReportProblem(file, "UDQN include names no file", "The line is ignored.");
    return;
  }
  if (static_cast<int>(run.openFiles.size()) > kMaxIncludeDepth) {
    ReportProblem(file, "UDQN includes nest deeper than 16 files", "The include is ignored.");
    return;
  }
  std::string path(value);
  if (path.find('/') == std::string::npos) path = run.mainDir + path;
  ReadUdqnFile(path, 1, run, gcd);
}

// One line of a UDQN file.
void parse_udqn_line(std::string_view line, UdqnFile& file, LoadRun& run, GlobalData& gcd) {
  if (line.empty() || line[0] == '#') return;
  // A line without a colon is ignored, "UDQN Begin" and "UDQN End" too.
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return;
  const std::string_view label = TrimLeft(TrimRight(line.substr(0, colon)));
  const std::string_view value = TrimRight(TrimLeft(line.substr(colon + 1)));
  const KeyEntry* entry = FindKey(label);
  if (entry == nullptr) return;
  switch (entry->key) {
    case Key::Include: Include(value, file, run, gcd); return;
    case Key::Begin: BeginDefinition(file); return;
    case Key::CompileFlag:
      if (IsOn(value)) file.compileFlags |= entry->flag;
      else if (IsOff(value)) file.compileFlags &= ~entry->flag;
      return;
    case Key::MatchFlag:
      if (IsOn(value)) file.matchFlags |= entry->flag;
      else if (IsOff(value)) file.matchFlags &= ~entry->flag;
      return;
    default: break;
  }
  if (!file.open) {
    ReportProblem(file,
                  entry->key == Key::End ? std::string("UDQN End without UDQN Begin")
                                         : "\"" + std::string(label) + "\" outside a UDQN Begin ... UDQN End block",
                  "The line is ignored.");
    return;
  }
  UdqnDefinition& def = *file.open;
  switch (entry->key) {
    case Key::Id: ReadIdentifier(value, file, gcd); break;
    case Key::Active: def.active = IsOn(value) ? 1 : 0; break;
    case Key::Sources: ReadSources(value, file); break;
    case Key::Context: ReadContext(value, file); break;
    case Key::Pattern: ReadPattern(value, file); break;
    case Key::TestString: def.testString.assign(value); break;
    case Key::Message: def.message.assign(value); break;
    case Key::Summary: def.summary.assign(value); break;
    case Key::SetFlags: ReadFlags(value, def.setFlags, file); break;
    case Key::CheckFlags: ReadFlags(value, def.checkFlags, file); break;
    case Key::NotCheckFlags: ReadFlags(value, def.notCheckFlags, file); break;
    case Key::ClearFlags: ReadFlags(value, def.clearFlags, file); break;
    case Key::EmitEof: def.emitAtEof = IsOn(value) ? 1 : 0; break;
    case Key::Silent: def.silent = IsOn(value) ? 1 : 0; break;
    case Key::End: EndDefinition(file, gcd); break;
    case Key::Severity: ReadSeverity(value, file); break;
    case Key::Category: ReadCategory(value, file); break;
    default: break;
  }
}

// Reads one physical line: at most 2047 characters are kept (the text stops
// at a NUL byte); the rest of a longer line is consumed and reported.
bool ReadLine(FILE* fp, std::string& line, bool& overlong) {
  line.clear();
  overlong = false;
  bool any = false;
  bool nul = false;
  int c;
  while ((c = getc_unlocked(fp)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (c == '\0') nul = true;
    if (nul) continue;
    if (line.size() < kTextMax) line.push_back(static_cast<char>(c));
    else overlong = true;
  }
  return any;
}

void ReadUdqnFile(const std::string& path, int include, LoadRun& run, GlobalData& gcd) {
  struct stat st {};
  // A FIFO or a device is refused without blocking; a rule file reached
  // through a symbolic link is read.
  FILE* fp = OpenInput(path, {}, &st);
  if (fp == nullptr) {
    OutF("\n  Error: Problem opening User Defined Quality Notice file:\n         %s\n         For modification, %s\n\n",
         udqn_mode_text(path, gcd).c_str(), InputErrorText(errno));
    return;
  }
  if (Holds(run.openFiles, st)) {
    std::fclose(fp);
    OutF("\n  Error: UDQN include loop: %s is already being read\n         The include is ignored.\n\n",
         udqn_mode_text(path, gcd).c_str());
    return;
  }
  if (Holds(run.readFiles, st)) {
    std::fclose(fp);
    OutF("\n  Error: UDQN file %s was read before\n         The include is ignored.\n\n",
         udqn_mode_text(path, gcd).c_str());
    return;
  }
  run.openFiles.push_back({st.st_dev, st.st_ino});
  run.readFiles.push_back({st.st_dev, st.st_ino});
  if (gcd.sw.qualityNotices && !gcd.sw.noConfigLine) udqn_announce_file(path, include, gcd);

  UdqnFile file;
  file.gcd = &gcd;
  file.name = path;
  std::string line;
  bool overlong = false;
  while (ReadLine(fp, line, overlong)) {
    ++file.lineNumber;
    if (overlong) {
      ReportProblem(file, "UDQN line longer than 2047 characters",
                    file.open ? "The line is ignored and its definition skipped." : "The line is ignored.");
      if (file.open) file.badLine = 1;
      continue;
    }
    parse_udqn_line(line, file, run, gcd);
  }
  std::fclose(fp);
  run.openFiles.pop_back();
  if (file.open) ReportProblem(file, "UDQN file ends inside a definition", kOpenDefinition);
}

}  // namespace

std::string udqn_file_path(const GlobalData& gcd) {
  const std::string& configured = gcd.cfg.udqnFile;
  if (!configured.empty() || gcd.drv.cfgHome.size() > 1) return configured;
  const std::string& cfgFile = gcd.drv.cfgFile;
  const std::size_t slash = cfgFile.rfind('/');
  const std::string beside = (slash == std::string::npos ? std::string() : cfgFile.substr(0, slash + 1)) + kUdqnFileName;
  struct stat st {};
  if (stat(beside.c_str(), &st) != 0 || S_ISDIR(st.st_mode) || access(beside.c_str(), R_OK) != 0) return {};
  return beside;
}

void load_udqn_file(const char* fileName, GlobalData& gcd) {
  if (fileName == nullptr || fileName[0] == '\0') return;
  LoadRun run;
  const std::string path(fileName);
  const std::size_t slash = path.rfind('/');
  if (slash != std::string::npos) run.mainDir = path.substr(0, slash + 1);
  ReadUdqnFile(path, 0, run, gcd);
  udqn_build_index(gcd);
}

void udqn_build_index(GlobalData& gcd) {
  UdqnState& u = gcd.udqn;
  u.bySource.clear();
  u.current = nullptr;
  u.needContext = 0;
  u.checksFlags = 0;
  u.caseSensitive = gcd.cfg.caseSensitiveNames;
  for (std::size_t i = 0; i < u.definitions.size(); ++i) {
    UdqnDefinition* def = u.definitions[i].get();
    def->index = static_cast<int>(i);
    // A definition without a context or a compiled pattern never fires.
    if (!def->active || !def->regex || def->context == kUdqnUnknown) continue;
    if (def->context != kUdqnLine && !def->emitAtEof) u.needContext = 1;
    if (!def->checkFlags.empty() || !def->notCheckFlags.empty()) u.checksFlags = 1;
    for (const std::string& source : def->sources) {
      std::string key = source;
      if (!u.caseSensitive)
        for (char& ch : key) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      std::vector<UdqnDefinition*>& defs = def->emitAtEof ? u.bySource[key].eofDefs : u.bySource[key].lineDefs;
      // A source named twice still selects the definition once.
      if (defs.empty() || defs.back() != def) defs.push_back(def);
    }
  }
}

int search_udqn_id(int id, const UdqnState& state) { return state.byId.count(id) != 0 ? 1 : 0; }

UdqnDefinition* get_udqn_ptr(int id, const UdqnState& state) {
  auto it = state.byId.find(id);
  return it == state.byId.end() ? nullptr : it->second;
}

void free_udqn(GlobalData& gcd) {
  UdqnState& u = gcd.udqn;
  u.current = nullptr;
  u.bySource.clear();
  u.byId.clear();
  u.definitions.clear();
}
