// The catalogue of lqa.cfg keys: one row per key with its label, value type,
// the field it lives in, its reading rules and what the writer puts before it.
#pragma once

#include <cstddef>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "common/text.h"
#include "driver/config.h"

struct GlobalData;

enum class CfgType {
  YesNo,       // "Yes"/"No"; a value starting with n or N is No, anything else Yes
  NoYes,       // Yes/No held inverted: the field is 1 when the value is No
  Integer,     // accepted when the value starts with a digit
  Percent,     // accepted when the value starts with a digit
  Text,        // copied when not empty
  Extensions,  // comma separated extension list, starts with a letter or digit
  Colour,      // HTML colour, starts with a letter, a digit or '#'
  UdqnFile,    // user defined notice file name, resolved against the configuration home
  Deprecated,  // accepted only to tell the user it is no longer used
};

// Whether the reader, the writer or both know a key.
enum class CfgUse { ReadWrite, ReadOnly, WriteOnly };

inline constexpr std::size_t kExtensionListMax = 254;
inline constexpr std::size_t kColourMax = 20;
inline constexpr std::size_t kCfgVersionMax = 40;
// Labels are padded to this width so that the colon lines up.
inline constexpr int kCfgLabelWidth = 40;
inline constexpr int kCfgCycloLabelWidth = 48;
// The largest integer a configuration value may hold unless its key says less.
inline constexpr int kCfgIntegerMax = 1000000;

using CfgIntRef = int& (*)(Config&);
using CfgFloatRef = float& (*)(Config&);
using CfgTextRef = std::string& (*)(Config&);

struct CfgKey {
  const char* label = "";
  CfgType type = CfgType::Text;
  CfgIntRef num = nullptr;     // YesNo, NoYes, Integer
  CfgFloatRef pct = nullptr;   // Percent
  CfgTextRef text = nullptr;   // Text, Extensions, Colour, UdqnFile
  std::size_t maxLen = kTextMax;
  bool alnumStart = false;     // text accepted only when it starts with a letter or digit
  bool crIsEmpty = false;      // text starting with a carriage return counts as empty
  CfgIntRef setsFlag = nullptr;  // set to 1 whenever a non-empty text is stored
  int zeroAs = 0;              // integer: a read 0 is replaced by this when non-zero
  // Integer and percent: the range a read value is held to (with a warning),
  // so that no count or product built from it can overflow.
  int minValue = 0;
  int maxValue = kCfgIntegerMax;
  int language = -1;           // extension list: index of the language it belongs to
  int notice = 0;              // enabling key of this quality notice
  CfgUse use = CfgUse::ReadWrite;
  int labelWidth = kCfgLabelWidth;
  const char* section = nullptr;  // section title line opened before this key
  const char* comment = nullptr;  // comment written before the key, lines split by '\n'

  constexpr CfgKey Section(const char* title) const { CfgKey k = *this; k.section = title; return k; }
  constexpr CfgKey ZeroAs(int v) const { CfgKey k = *this; k.zeroAs = v; return k; }
  constexpr CfgKey Range(int lo, int hi) const { CfgKey k = *this; k.minValue = lo; k.maxValue = hi; return k; }
  constexpr CfgKey Max(std::size_t n) const { CfgKey k = *this; k.maxLen = n; return k; }
  constexpr CfgKey AlnumStart() const { CfgKey k = *this; k.alnumStart = true; return k; }
  constexpr CfgKey CrIsEmpty() const { CfgKey k = *this; k.crIsEmpty = true; return k; }
  constexpr CfgKey SetsFlag(CfgIntRef f) const { CfgKey k = *this; k.setsFlag = f; return k; }
  constexpr CfgKey Language(int l) const { CfgKey k = *this; k.language = l; return k; }
  constexpr CfgKey Use(CfgUse u) const { CfgKey k = *this; k.use = u; return k; }
  constexpr CfgKey Width(int w) const { CfgKey k = *this; k.labelWidth = w; return k; }
};

// Every key in the order the writer uses (reader-only keys at the end).
std::span<const CfgKey> CfgKeyTable();
// The key whose label matches, ignoring case, or nullptr.
const CfgKey* FindCfgKey(std::string_view label);
// Writes the whole file layout; html selects the page form with coloured values.
void WriteCfg(FILE* stream, GlobalData& gcd, bool html);
