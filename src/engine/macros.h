// The run-wide macro list: lqa_macro.cfg and every #define seen.
#pragma once

#include <string>
#include <unordered_set>

#include "common/records.h"

struct MacroState {
  Llist<NameData> list;                 // macro names in the order they became known
  std::unordered_set<std::string> index;  // the same names, for look-ups
};

struct GlobalData;
// Reads the macro file, writing the default one when it is missing.
void LoadMacros(GlobalData& gcd);
// 1 when the name is a known macro.
int is_macro(const char* name, GlobalData& gcd);
// Reads the #define whose directive word ends just before pos (ParseLine calls
// it after matching "define"): counts it, records the name, and starts a
// function-like macro definition.
void ReadDefine(const char* line, int pos, int lineNumber, GlobalData& gcd);
// Called by ParseLine when a line ends without a continuation: ends a
// function-like macro definition that is being read.
void MacroLineEnd(int lineNumber, GlobalData& gcd);
void MacroBegin(const char* name, GlobalData& gcd);
void EmitMacro(const char* name, GlobalData& gcd);
void MacroEnd(const char* name, GlobalData& gcd);
