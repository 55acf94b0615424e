// The state of one ParseLine call, shared by the line scan and the keyword
// and code-character handlers it calls.
#pragma once

#include "engine/engine_state.h"

struct LineScan {
  const char* line;
  int len;            // counted length (without the line end)
  int lineNumber;
  LineFlags flags;
  int directiveWordEnd = -1;  // keywords inside a directive word are not keywords
  int singleChar[4] = {-1, -1, -1, -1};  // cached SingleChar results for ( ) { }
  bool checks = true;  // the in-line quality checks run on this line
  // The characters from len to the terminator are line ends: a scan for a
  // line end or NUL stops by len without counting.
  bool endsInText = false;
  // Bytes from line on that may be read in whole blocks: at least len, and up
  // to the end of the line buffer when the line is the driver's.
  int readable = 0;
};

inline bool IsLineEnd(char c) { return c == '\n' || c == '\r' || c == '\0'; }
inline bool IsCommentStart(const char* p) { return p[0] == '/' && (p[1] == '/' || p[1] == '*'); }

struct GlobalData;
// Tries every keyword that starts with the character at i: counts it in its
// file counter and runs its action (decision points, structure keywords).
void MatchKeyword(LineScan& s, int i, GlobalData& gcd);
// For each initial character, the characters after which a keyword with that
// initial may start (built from the keyword catalogue).
struct KeywordLeadTable {
  bool lead[128][256] = {};
  KeywordLeadTable();
};
extern const KeywordLeadTable kKeywordLeads;
// True when a keyword may start right after the character lead.
inline bool IsKeywordLead(unsigned char initial, unsigned char lead) {
  return initial < 128 && kKeywordLeads.lead[initial][lead];
}
// True when some keyword starts with the character.
bool IsKeywordInitial(unsigned char c);
// True when the word at i (its letters, digits and '_' before len) is spelled
// as a keyword of the catalogue. When false, MatchKeyword at i does nothing.
bool CatalogueWordAt(const char* line, int i, int len);
