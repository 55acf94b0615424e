// The run-wide macro list: lqa_macro.cfg and every #define seen.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "common/name_set.h"
#include "common/shared_name_set.h"
#include "common/text.h"

// What one file's analysis did with macro names, kept in its result: the
// names its #defines gave (in the order defined) and the names the run's
// list was asked for and did not hold. The run's list grows by the first at
// the file's merge; the second is what tells whether the file would have
// been read differently had a file merged before it defined one of them.
struct FileMacros {
  struct Name {
    std::string_view text;  // stored in one of the sets
    std::uint32_t hash;     // its NameSet::Hash
  };
  NameSet defined;             // the names its #defines gave, each once
  std::vector<Name> order;     // the same, in the order of their #defines
  NameSet missed;              // every name answered "not a macro"
  std::vector<Name> missedOrder;
  NameSet found;               // analysed by a worker: names the run's list held when asked

  void Clear();
};

struct MacroState {
  // Every distinct macro name known so far: the macro file's and those of
  // the files merged. Only look-ups read it, so each name is kept once;
  // workers read it while the main thread merges.
  SharedNameSet names;
  // While a file is analysed, its own names and look-ups (in its
  // FileResult); null between files, when names go straight to the run's.
  FileMacros* file = nullptr;
  char mname[kTextBuf] = {};            // name of the macro defined by the last #define
};

struct GlobalData;
// Reads the macro file, writing the default one when it is missing. Returns
// the number of names loaded (0 when the file had to be written).
int LoadMacros(GlobalData& gcd);
// Adds a name to the macro names: to the run's between files, to the file's
// own during a file (a known name stays as it is; a name that finds no
// memory is dropped).
void AddMacroName(const char* name, GlobalData& gcd);
// 1 when the name is a known macro: one of the run's or, during a file, one
// the file defined before. A name neither holds is noted in the file's misses.
int is_macro(const char* name, GlobalData& gcd);
// Adds the names a file defined to the run's list, in the order defined.
// Workers look names up meanwhile; any name they find is one of a file
// before theirs.
void MergeMacroNames(const FileMacros& file, SharedNameSet& run);
// How many of the names the file was told were no macro the run's list now
// holds: asked before the file's own names are merged, 0 when every file
// merged since the file's analysis began was known to it, as in a serial run.
int OverturnedMacroLookups(const FileMacros& file, const SharedNameSet& run);
// Reads the #define whose directive word ends just before pos (ParseLine calls
// it after matching "define"): counts it (define_count, MACRO_COUNT), sets
// define_flag, records the name, and starts a function-like macro definition.
void ReadDefine(const char* line, int pos, int lineNumber, GlobalData& gcd);
// Called by ParseLine when a line ends without a continuation: ends a
// function-like macro definition that is being read.
void MacroLineEnd(int lineNumber, GlobalData& gcd);
// 1 while a function-like macro definition is being read: the in-line checks
// then use their macro wording (notices 6, 7), raise no notice 23 and count
// notice 22 without printing it.
int InMacroDefinition(const GlobalData& gcd);
// The -m listing of function-like macro definitions (nothing in the total
// report modes). The separators use the current line number of the driver.
void MacroBegin(const char* name, GlobalData& gcd);
void EmitMacro(const char* name, GlobalData& gcd);
void MacroEnd(const char* name, GlobalData& gcd);
