// Per-file reset and the roll-up of file counters into the project totals.
#include <new>

#include "common/gcd.h"
#include "notices/udqn.h"

void ResetState(GlobalData& gcd) {
  // Made anew in place: assigning a fresh record would build its 10 KB of
  // line buffers twice, once in a temporary and once by the copy. Every
  // member has its initializer, so no "()": that would clear the whole
  // record first, line buffers included.
  gcd.eng.~EngineState();
  ::new (static_cast<void*>(&gcd.eng)) EngineState;
  gcd.eng.lex.first_line = 1;
  // The debug trace shows the line's code, string and comment text; a gate
  // snapshot asks for it per file (GateFileBegins), user notices in udqn.
  gcd.eng.keepContextText = gcd.sw.debug ? 1 : 0;
  udqn_reset_file(gcd);
  StructureLog* log = gcd.st.log;  // the file's, set before its analysis begins
  gcd.st = StructureState{};
  gcd.st.log = log;
  gcd.st.classMarker = 1;
  gcd.drv.skipLines = 0;
  gcd.drv.skipQuality = 0;
  gcd.drv.lineNumber = 0;
}

LanguageGroup FileLanguageGroup(const LanguageState& lang) {
  if (lang.isHeader) return kGroupHeader;
  if (lang.isC) return kGroupC;
  if (lang.isCpp) return kGroupCpp;
  if (lang.isJava) return kGroupJava;
  if (lang.isCSharp) return kGroupCSharp;
  return kGroupOther;
}

void AddTotal(const FileCounts& fc, LanguageGroup group, GlobalData& gcd) {
  for (const FileCounterInfo& info : kFileCounterTable) gcd.tot.counts.*info.field += fc.*info.field;
  LanguageGroupTotals& g = gcd.langTot[group];
  g.loc += fc.loc;
  g.eloc += Eloc(fc);
  g.lloc += Lloc(fc);
  g.comments += fc.comment;
  g.blanks += fc.blank;
  g.lines += fc.physical;
}

void SetTotal(GlobalData& gcd) {
  FileCounts& fc = gcd.eng.fc;
  for (const FileCounterInfo& info : kFileCounterTable) fc.*info.field = gcd.tot.counts.*info.field;
  const LanguageState& l = gcd.lang;
  gcd.tot.files = l.otherFiles + l.cFiles + l.cHeaderFiles + l.cppFiles + l.cppHeaderFiles + l.javaFiles +
                  l.csharpFiles;
}
