// Evaluating the user defined notices: the per-file selection by extension,
// the flag state machines and the firing of a notice.
#include <time.h>

#include <cctype>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "dashboard/dashboard.h"
#include "notices/udqn.h"
#include "notices/udqn_file_log.h"
#include "notices/udqn_internal.h"
#include "sarif/notice_capture.h"

namespace {

// A single search of one line that takes longer than this stops its definition.
constexpr long long kSlowSearchMs = 100;

// Every check flag set and every not-check flag clear; empty lists hold.
bool FlagsAllow(const UdqnDefinition& def, const std::array<int, kUdqnFlagSlots>& flags) {
  for (int f : def.checkFlags)
    if (!flags[static_cast<std::size_t>(f)]) return false;
  for (int f : def.notCheckFlags)
    if (flags[static_cast<std::size_t>(f)]) return false;
  return true;
}

// The same test on a worker, noting each flag read in the file's log.
bool FlagsAllowLogged(const UdqnDefinition& def, const std::array<int, kUdqnFlagSlots>& flags, UdqnFileLog& log) {
  for (int f : def.checkFlags) {
    const int value = flags[static_cast<std::size_t>(f)];
    log.Read(f, value);
    if (!value) return false;
  }
  for (int f : def.notCheckFlags) {
    const int value = flags[static_cast<std::size_t>(f)];
    log.Read(f, value);
    if (value) return false;
  }
  return true;
}

// The part of the line the definition looks at, or null when the line has no
// such part (a comment rule has nothing to match on a line without comment).
const char* ContextText(const UdqnDefinition& def, const char* line, const EngineState& eng) {
  const LineText* part = nullptr;
  switch (def.context) {
    case kUdqnLine: return line;
    case kUdqnCode: part = &eng.codeText; break;
    case kUdqnComment: part = &eng.commentText; break;
    case kUdqnString: part = &eng.stringText; break;
    default: return nullptr;
  }
  return part->len > 0 ? part->text : nullptr;
}

// Milliseconds of a cheap clock: coarse, but a search that needs stopping
// takes far longer than its resolution.
long long CoarseMillis() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// A search that ran into the library's limits or took too long: reported,
// and the definition rests for the rest of the file, so that a pathological
// file costs one such search; after kUdqnStopsPerRun files it rests for the run.
void StopDefinition(UdqnDefinition& def, const std::string& why, GlobalData& gcd) {
  UdqnState& u = gcd.udqn;
  CountUdqnStop(def, gcd.drv.fileSerial, u);
  if (u.log != nullptr) {
    u.log->stopped.push_back(def.index);
    u.log->stoppedSerial = gcd.drv.fileSerial;
  }
  const char* file = gcd.drv.currentFileName != nullptr ? gcd.drv.currentFileName : "";
  OutF("\n  Error: UDQN Identifier %d pattern %s\n"
       "         File %s, line %d\n"
       "         The notice is not evaluated for the rest of %s.\n\n",
       def.id, why.c_str(), udqn_mode_text(file, gcd).c_str(), gcd.drv.lineNumber,
       def.stoppedForRun ? "the run" : "this file");
}

}  // namespace

void CountUdqnStop(UdqnDefinition& def, int serial, UdqnState& state) {
  def.stoppedInFile = serial;
  if (++def.stops >= kUdqnStopsPerRun) def.stoppedForRun = 1;
  state.stopHistory.push_back(def.index);
}

void udqn_reset_file(GlobalData& gcd) {
  UdqnState& u = gcd.udqn;
  u.current = nullptr;
  if (u.log != nullptr) u.log->selected = false;
  if (u.bySource.empty()) return;
  if (u.needContext) gcd.eng.keepContextText = 1;
  const char* name = gcd.drv.currentFileName;
  std::string extension;
  if (name == nullptr || !FileExtension(name, extension)) return;
  if (!u.caseSensitive)
    for (char& ch : extension) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  auto it = u.bySource.find(extension);
  if (it == u.bySource.end()) return;
  u.current = &it->second;
  if (u.log != nullptr) {
    u.log->source = extension;
    u.log->selected = true;
  }
}

// Searches are timed line by line; after a slow line every search of the
// rest of the file is timed, and the one that is slow stops its definition.
void udqn_process(const char* text, int eof, GlobalData& gcd) {
  UdqnState& u = gcd.udqn;
  const UdqnSelection* selection = u.current;
  if (selection == nullptr || text == nullptr) return;
  const int file = gcd.drv.fileSerial;
  const bool timeEach = u.timedFile == file;
  long long lineStart = -1;
  UdqnFileLog* log = u.log;
  // Flags set by one definition count for the later ones of the same line.
  for (UdqnDefinition* def : eof ? selection->eofDefs : selection->lineDefs) {
    if (def->stoppedInFile == file || def->stoppedForRun) continue;
    if (!(log == nullptr ? FlagsAllow(*def, u.flags) : FlagsAllowLogged(*def, u.flags, *log))) continue;
    // At the end of a file every definition sees the given text.
    const char* subject = eof ? text : ContextText(*def, text, gcd.eng);
    if (subject == nullptr || !udqn_prefilter_passes(def->prefilter, subject, def->compileFlags, def->matchFlags))
      continue;
    if (lineStart < 0) lineStart = CoarseMillis();
    const long long start = timeEach ? CoarseMillis() : 0;
    const int rc = pcre_match(subject, *def, gcd);
    const long long took = timeEach ? CoarseMillis() - start : 0;
    if (rc == 0) emit_udqn(*def, text, gcd);
    if (rc == kUdqnMatchLimit)
      StopDefinition(*def, "reached the match limit of the regular expression library", gcd);
    else if (rc != 0 && rc != kUdqnNoMatch)
      StopDefinition(*def, "failed in the regular expression library: " + udqn_regerror(rc), gcd);
    else if (took > kSlowSearchMs)
      StopDefinition(*def, "took " + std::to_string(took) + " ms to search one line", gcd);
  }
  if (lineStart >= 0 && !timeEach && CoarseMillis() - lineStart > kSlowSearchMs) u.timedFile = file;
}

void emit_udqn(UdqnDefinition& def, const char* line, GlobalData& gcd) {
  std::array<int, kUdqnFlagSlots>& flags = gcd.udqn.flags;
  UdqnFileLog* log = gcd.udqn.log;
  for (int f : def.setFlags) flags[static_cast<std::size_t>(f)] = 1;
  for (int f : def.clearFlags) flags[static_cast<std::size_t>(f)] = 0;
  if (log != nullptr) {
    for (int f : def.setFlags) log->Write(f, 1);
    for (int f : def.clearFlags) log->Write(f, 0);
  }
  // Silent definitions only drive the flags; inside a quality skip region the
  // flags still move, so that state machines stay in step, but nothing is
  // counted or printed.
  if (def.silent || gcd.drv.skipQuality) return;
  ++def.hits;
  if (log != nullptr) log->Hit(def.index);
  ++gcd.eng.fc.notices;
  ++gcd.notices.Counting().total;
  if (gcd.sarif.capturing) {
    RaisedNotice raised;
    raised.number = def.id;
    raised.user = true;
    raised.line = gcd.drv.lineNumber;
    // A definition evaluated at the end of a file judges the whole file.
    raised.subject = def.emitAtEof ? NoticeSubject::File : NoticeSubject::Line;
    raised.lineText = def.emitAtEof ? nullptr : line;
    CaptureNotice(raised, gcd);
  }
  if (gcd.dash.wanted) DashboardUserNotice(def.rank.category, gcd);
  const Switches& sw = gcd.sw;
  if (sw.qualityNotices && !sw.totalsOnly) {
    if (!sw.noticeVisualStudio && !sw.noticeSingleLine) emit_udqn_verbose(def, line, gcd);
    else emit_udqn_lite(def, gcd);
  } else if (sw.noticeListMode) {
    emit_udqn_lite(def, gcd);
  }
}
