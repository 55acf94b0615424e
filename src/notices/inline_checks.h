// The quality checks that ParseLine runs while it scans a line: each call is
// one named place in the scan; the conditions live here. None of them
// allocates.
#pragma once

#include "common/gcd.h"

// True when the in-line checks run on the next line: some report reads the
// notices, or reads whether the file raised any and it has raised none yet.
inline bool NoticeChecksOn(const GlobalData& gcd) {
  return gcd.needs.notices == NoticeNeed::All ||
         (gcd.needs.notices == NoticeNeed::Presence && gcd.eng.fc.notices == 0);
}

// Before the scan of every line: the key string (21 is raised at the end of
// the file when it was never seen) and the line length (1). len is the
// counted length, without the line end.
void LineStartChecks(const char* line, int len, int lineNumber, GlobalData& gcd);
// A tab character outside a string literal, in code or comment (30).
void TabNotice(int lineNumber, GlobalData& gcd);
// count such tabs in a row (an indentation): the same as count calls of TabNotice.
void TabNotices(int lineNumber, int count, GlobalData& gcd);
// The first code character of a line, at index i: a value assigned on a
// later line (50) and an if, else, for, while or do decided by the line after
// it (22).
void FirstCodeCharacter(const char* line, int i, int lineNumber, GlobalData& gcd);
// The code characters that concern the checks: their punctuation, and the
// first two letters of the words they look for, where such a word may start.
inline constexpr const char* kInlineCheckPunctuation = "=-+?.(){};";
struct InlineCheckFilter {
  // How a punctuation character is tested: not at all, always, only as the
  // second of a pair ("--", "++"), or only before another '.' ("...").
  enum Test : unsigned char { kNone, kAlways, kPair, kDots };
  Test punctuation[128] = {};
  bool wordStart[26][128] = {};
  bool lead[26][256] = {};
  // True when CodeCharacterCheck may do anything with the character at i.
  bool Wanted(const char* line, int i) const {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c >= 128) return false;
    if (c >= 'a' && c <= 'z') {
      const auto next = static_cast<unsigned char>(line[i + 1]);
      if (next >= 128 || !wordStart[c - 'a'][next]) return false;
      return i == 0 || lead[c - 'a'][static_cast<unsigned char>(line[i - 1])];
    }
    switch (punctuation[c]) {
      case kNone: return false;
      case kAlways: return true;
      case kPair: return i > 0 && line[i - 1] == line[i];
      case kDots: return line[i + 1] == '.';
    }
    return false;
  }
};
extern const InlineCheckFilter kInlineCheckFilter;
// A code character at index i, after the engine has counted it.
void CodeCharacterCheck(const char* line, int i, int lineNumber, GlobalData& gcd);
inline void CodeCharacterChecks(const char* line, int i, int lineNumber, GlobalData& gcd) {
  if (kInlineCheckFilter.Wanted(line, i)) CodeCharacterCheck(line, i, lineNumber, gcd);
}
// The characters CodeCharacterChecks must be given: its punctuation and the
// initial letters of its keywords.
const char* InlineCheckCharacters();
// A '{' that deepened the scope depth (55).
void ScopeDepthNotice(int lineNumber, GlobalData& gcd);
// A ')' or '}' beyond its openers, before the engine repairs the counts (12;
// only when notices are listed, and not in XML or CSV output).
void UnbalancedCloserNotice(char closer, int lineNumber, GlobalData& gcd);
