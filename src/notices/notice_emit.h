// One emission of a numbered notice: the enabling and skip-region test, the
// counters, and the choice between the verbose block and the single-line form.
#pragma once

#include "notices/notice_text.h"

struct GlobalData;

struct RaiseOptions {
  int variant = 0;                // which wording of the notice (verbose_texts.h)
  const char* fileName = nullptr; // file of a "File F: Line L" head; default the current file
  const char* keyword = nullptr;  // 22: the single-line form names this keyword
  bool ignoreSkipRegion = false;  // 58 announces the very region that it opens
  bool countOnly = false;         // counted but not written (22 inside a macro definition)
};

// True when the notice is enabled and no quality skip region is open.
bool NoticeOn(int number, const GlobalData& gcd);
// True when notices are listed in this run: with -n outside the totals
// modes, or in the notice list mode of -N, -Tn and -Tq.
bool NoticesShown(const GlobalData& gcd);
// Counts the notice for the file, the notice and the run, then writes it in
// the active form. Returns false when the notice is off or suppressed.
bool RaiseNotice(int number, int line, NoticeArgs args, GlobalData& gcd, const RaiseOptions& options = {});
// The single-line form, with the keyword wording of notice 22 when keyword
// is given, and the occurrence record for the notice reports.
void EmitNoticeLine(const char* fileName, int line, int number, const char* keyword, GlobalData& gcd);
// The current file name, or "" before any file.
const char* CurrentFileName(const GlobalData& gcd);
