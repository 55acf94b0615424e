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
