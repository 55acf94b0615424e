// The run-wide macro list: lqa_macro.cfg and every #define seen.
#pragma once

#include "common/name_set.h"
#include "common/text.h"

struct MacroState {
  // Every distinct macro name known so far: the macro file's and those of
  // the #define lines read. Only look-ups read it, so each name is kept once.
  NameSet names;
  char mname[kTextBuf] = {};            // name of the macro defined by the last #define
};

struct GlobalData;
// Reads the macro file, writing the default one when it is missing. Returns
// the number of names loaded (0 when the file had to be written).
int LoadMacros(GlobalData& gcd);
// Adds a name to the macro names (a known name stays as it is; a name that
// finds no memory is dropped).
void AddMacroName(const char* name, GlobalData& gcd);
// 1 when the name is a known macro.
int is_macro(const char* name, GlobalData& gcd);
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
