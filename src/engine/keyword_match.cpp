// Keyword recognition of the line engine: which word stands at a position,
// whether it is delimited as its rule wants, its file counter and its action.
#include <cstring>

#include "common/gcd.h"
#include "engine/complexity.h"
#include "engine/keywords.h"
#include "engine/lexical.h"
#include "engine/line_scan.h"
#include "structure/structure_events.h"

namespace {

constexpr unsigned kKeywordCount = sizeof kKeywords / sizeof kKeywords[0];
constexpr unsigned char kNoKeyword = 0xFF;

constexpr int kMaxKeywordLength = 9;
constexpr int kMaxSameInitialAndLength = 4;

constexpr bool CatalogueFitsIndex() {
  for (const KeywordInfo& kw : kKeywords) {
    if (kw.length < 2 || kw.length > kMaxKeywordLength) return false;
    int same = 0;
    for (const KeywordInfo& other : kKeywords) same += other.word[0] == kw.word[0] && other.length == kw.length;
    if (same > kMaxSameInitialAndLength) return false;
  }
  return true;
}
static_assert(CatalogueFitsIndex(), "a keyword too long, or too many of one initial and length, for KeywordIndex");

// Look-up tables built once from the keyword catalogue: the keywords of each
// initial letter and length, in catalogue order, the first two letters of
// every keyword, the characters of words, and the action of every keyword.
struct KeywordIndex {
  bool initial[128] = {};
  bool firstTwo[128][128] = {};
  // indexes into kKeywords, kNoKeyword ends
  unsigned char byWord[128][kMaxKeywordLength + 1][kMaxSameInitialAndLength] = {};
  bool wordCharacter[256] = {};
  KeywordAction action[kKeywordCount] = {};
  KeywordIndex() {
    for (auto& row : byWord)
      for (auto& list : row)
        for (auto& v : list) v = kNoKeyword;
    for (int c = 0; c < 256; ++c)
      wordCharacter[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    for (unsigned k = 0; k < kKeywordCount; ++k) {
      auto first = static_cast<unsigned char>(kKeywords[k].word[0]);
      initial[first] = true;
      firstTwo[first][static_cast<unsigned char>(kKeywords[k].word[1])] = true;
      for (auto& v : byWord[first][kKeywords[k].length])
        if (v == kNoKeyword) {
          v = static_cast<unsigned char>(k);
          break;
        }
      action[k] = kKeywords[k].action;
      for (const KeywordActionOf& a : kCountedKeywordActions)
        if (std::strcmp(a.word, kKeywords[k].word) == 0) action[k] = a.action;
    }
  }
};
const KeywordIndex kKeywordIndex;

// True when some keyword starts with the two characters at p.
bool FirstTwoOfKeyword(const KeywordIndex& index, const char* p) {
  const auto c = static_cast<unsigned char>(p[0]);
  const auto next = static_cast<unsigned char>(p[1]);
  return c < 128 && next < 128 && index.firstTwo[c][next];
}

// True when the word at p, of length characters, is spelled as kw (whose
// initial it shares and which is as long).
bool SpelledAs(const char* p, const KeywordInfo& kw) {
  for (int k = 1; k < kw.length; ++k)
    if (p[k] != kw.word[k]) return false;
  return true;
}

// The end-of-keyword test for a word that ends just before pos.
bool KeywordEnds(const KeywordInfo& kw, const char* line, int pos, int* counter) {
  const char* after = line + pos;
  char c = *after;
  auto plainDelimiter = [&]() {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\0') return true;
    if (c == '\r') return kw.carriageReturnEnds;
    if (IsCommentStart(after)) return true;
    return c != '\0' && std::strchr(kw.extraDelimiters, c) != nullptr;
  };
  switch (kw.end) {
    case KeywordEnd::Delimiter:
      if (!plainDelimiter()) return false;
      ++*counter;
      return true;
    case KeywordEnd::Return:
      if (c == ' ' || c == '\t' || c == ';' || IsCommentStart(after)) {
        ++*counter;
        return true;
      }
      [[fallthrough]];
    case KeywordEnd::Terminator:
      if (c == '\0') {  // a last line without a line feed ends here
        ++*counter;
        return true;
      }
      return KeywordTermin(line, pos, counter, kw.terminator, '\n') != 0;
  }
  return false;
}

// An enum opens a body when a { follows on its line before any ; ) , or =;
// when the line ends first, the next { decides.
void EnumKeyword(const char* line, int pos, FileCounts& fc, EngineState& eng, StructureState& st) {
  st.enumInStatement = 1;
  for (const char* p = line + pos; !IsLineEnd(*p); ++p) {
    if (*p == '{') {
      ++fc.enums;
      eng.enumPending = 2;  // counted already: the brace only opens the body
      return;
    }
    if (*p == ';' || *p == ')' || *p == ',' || *p == '=') return;
  }
  eng.enumPending = 1;
}

// A template is counted unless the rest of its line, after the matched <...>
// parameter list, holds a ';' with no '{' before it (a declaration).
bool TemplateIsDeclaration(const char* line, int pos) {
  const char* p = line + pos;
  while (*p == ' ' || *p == '\t') ++p;
  if (*p != '<') return false;
  int depth = 0;
  for (; !IsLineEnd(*p); ++p) {
    if (*p == '<') ++depth;
    else if (*p == '>' && --depth == 0) break;
  }
  if (depth != 0) return false;
  for (++p; !IsLineEnd(*p); ++p) {
    if (*p == '{') return false;
    if (*p == ';') return true;
  }
  return false;
}

// What a recognised keyword does beyond its file counter.
void KeywordAct(KeywordAction action, LineScan& s, int i, int pos, GlobalData& gcd) {
  switch (action) {
    case KeywordAction::None:
      return;
    case KeywordAction::Class:
    case KeywordAction::Struct:
    case KeywordAction::Interface:
    case KeywordAction::Namespace:
    case KeywordAction::Package:
    case KeywordAction::Public:
    case KeywordAction::Protected:
    case KeywordAction::Private:
    case KeywordAction::Typedef:
    case KeywordAction::Template:
    case KeywordAction::Using:
    case KeywordAction::Friend:
    case KeywordAction::Union:
    case KeywordAction::Virtual:
      StructureKeyword(action, s.line, i, pos, gcd);
      return;
    default:
      CountDecisionKeyword(action, s.line, pos, gcd);
      return;
  }
}

}  // namespace

KeywordLeadTable::KeywordLeadTable() {
  for (int c = 0; c < 128; ++c)
    for (const char* l = KeywordLeadSet(static_cast<char>(c)); *l; ++l) lead[c][static_cast<unsigned char>(*l)] = true;
}
const KeywordLeadTable kKeywordLeads;

bool IsKeywordInitial(unsigned char c) { return c < 128 && kKeywordIndex.initial[c]; }

bool CatalogueWordAt(const char* line, int i, int len) {
  const KeywordIndex& index = kKeywordIndex;
  if (i + 1 >= len || !FirstTwoOfKeyword(index, line + i)) return false;
  int wordLength = 2;
  while (i + wordLength < len && index.wordCharacter[static_cast<unsigned char>(line[i + wordLength])]) ++wordLength;
  if (wordLength > kMaxKeywordLength) return false;
  const auto c = static_cast<unsigned char>(line[i]);
  for (unsigned char k : index.byWord[c][wordLength]) {
    if (k == kNoKeyword) break;
    if (SpelledAs(line + i, kKeywords[k])) return true;
  }
  return false;
}

void MatchKeyword(LineScan& s, int i, GlobalData& gcd) {
  const char* line = s.line;
  const KeywordIndex& index = kKeywordIndex;
  auto c = static_cast<unsigned char>(line[i]);
  if (c >= 128 || !index.initial[c] || i <= s.directiveWordEnd) return;
  if (i > 0 && !kKeywordLeads.lead[c][static_cast<unsigned char>(line[i - 1])]) return;
  if (!FirstTwoOfKeyword(index, line + i)) return;
  // Every character that may end a keyword lies outside [A-Za-z0-9_], so only
  // a keyword as long as the whole word can match.
  int wordLength = 1;
  while (index.wordCharacter[static_cast<unsigned char>(line[i + wordLength])]) ++wordLength;
  if (wordLength > kMaxKeywordLength || i + wordLength > s.len) return;
  FileCounts& fc = gcd.eng.fc;
  const LanguageState& lang = gcd.lang;
  for (unsigned char k : index.byWord[c][wordLength]) {
    if (k == kNoKeyword) break;
    const KeywordInfo& kw = kKeywords[k];
    if (!SpelledAs(line + i, kw)) continue;
    int pos = i + kw.length;
    switch (kw.rule) {
      case KeywordRule::JavaOnly:
        if (!lang.isJava) return;
        break;
      case KeywordRule::NotInC:
        // In C files new and delete are not counted (a later check reports them).
        if (lang.isC && !lang.isCpp) return;
        break;
      case KeywordRule::ClassBody:
        if (gcd.st.classBodyDepth <= 0) return;
        break;
      case KeywordRule::Template:
        // A template in a C file is reported by the in-line checks instead.
        if (lang.isC && !lang.isCpp) return;
        if (TemplateIsDeclaration(line, pos)) return;
        break;
      case KeywordRule::Enum: {
        int dummy = 0;
        if (KeywordEnds(kw, line, pos, &dummy)) EnumKeyword(line, pos, fc, gcd.eng, gcd.st);
        return;
      }
      case KeywordRule::None:
        break;
    }
    const KeywordAction action = index.action[k];
    // A C# delegate's return belongs to the delegate, not to the function.
    if (action == KeywordAction::Return && lang.isCSharp && gcd.eng.cond.delegateInStatement) return;
    int scratch = 0;
    int* counter = kw.counter != nullptr ? &(fc.*kw.counter) : &scratch;
    if (KeywordEnds(kw, line, pos, counter)) {
      if (kw.counter == &FileCounts::news) gcd.eng.newInStatement = 1;
      KeywordAct(action, s, i, pos, gcd);
      return;
    }
  }
}
