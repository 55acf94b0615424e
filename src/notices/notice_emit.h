// One emission of a numbered notice: the enabling and skip-region test, the
// counters, and the choice between the verbose block and the single-line form.
#pragma once

#include "notices/notice_state.h"
#include "notices/notice_text.h"

struct GlobalData;

// Notice 22 names its keyword followed by this wording instead of its short text.
inline constexpr const char* kScopeNoticeWording = "is not bound with scope braces {}";

struct RaiseOptions {
  int variant = 0;                // which wording of the notice (verbose_texts.h)
  const char* fileName = nullptr; // file of a "File F: Line L" head; default the current file
  const char* keyword = nullptr;  // 22: the single-line form names this keyword
  bool ignoreSkipRegion = false;  // 58 announces the very region that it opens
  bool countOnly = false;         // counted but not written (22 inside a macro definition)
  const char* entity = nullptr;   // 40, 41: the type they judge, raised after the last file
};

// While it lives, the notices raised are about the function or type whose
// head or body is being judged, or about the whole file, instead of a line:
// the machine-readable outputs anchor them at the name's line (line 1 for a
// file) and name the function or type.
class NoticeSubjectScope {
 public:
  NoticeSubjectScope(NoticeSubject subject, GlobalData& gcd);
  ~NoticeSubjectScope();
  NoticeSubjectScope(const NoticeSubjectScope&) = delete;
  NoticeSubjectScope& operator=(const NoticeSubjectScope&) = delete;

 private:
  GlobalData& gcd_;
  NoticeSubject saved_;
};

// True when the notice is enabled and no quality skip region is open.
bool NoticeOn(int number, const GlobalData& gcd);
// True when notices are listed in this run: with -n outside the totals
// modes, or in the notice list mode of -N, -Tn and -Tq.
bool NoticesShown(const GlobalData& gcd);
// Counts the notice for the file, the notice and the run, then writes it in
// the active form. Returns false when the notice is off or suppressed.
bool RaiseNotice(int number, int line, NoticeArgs args, GlobalData& gcd, const RaiseOptions& options = {});
// RaiseNotice(number, line) count times over, for notices without arguments
// that one line raises several times in a row (the tabs of an indentation).
void RaiseRepeatedNotice(int number, int line, int count, GlobalData& gcd);
// The single-line form, with the keyword wording of notice 22 when keyword
// is given, and the occurrence record for the notice reports.
void EmitNoticeLine(const char* fileName, int line, int number, const char* keyword, GlobalData& gcd);
// Where an occurrence of a notice goes: the analysed file's own list, else
// the run's.
Llist<NameData>& NoticeOccurrenceList(GlobalData& gcd);
// The current file name, or "" before any file.
const char* CurrentFileName(const GlobalData& gcd);
