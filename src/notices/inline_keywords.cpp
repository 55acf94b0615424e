// The keywords the in-line checks look for, as a table: how each word must
// end, and what it does. A word counts only where a keyword can start (the
// lead sets of the keyword catalogue) and never as a directive word.
#include <cstring>

#include "common/gcd.h"
#include "engine/keywords.h"
#include "engine/lexical.h"
#include "notices/emitters.h"
#include "notices/inline_checks.h"
#include "notices/inline_internal.h"
#include "notices/notice_emit.h"
#include "notices/notices.h"

namespace {

enum class Act : unsigned char {
  If, While, For, Else, Do, Break, CaseOrDefault, Goto, Continue, Realloc, Try, Catch, Friend, Class, Void,
  Const, Final, Virtual, CppOnly,
};

// How the end of a word is tested.
enum class End : unsigned char {
  Delimiter,   // blank, tab, line end, comment start or one of the extra characters
  Terminator,  // optional blanks, then the terminator, a line end or a comment start
  Break,       // blank, tab, ';' or comment start, then ';', a comment or the line end
  Statement,   // blank, tab, ';' or comment start
  Call,        // '(', blank, tab or comment start
  NoWordChar,  // anything that cannot continue a name
  Operator,    // blank, tab, line end or an operator character
};

struct CheckKeyword {
  const char* word;
  int length;
  Act act;
  End end;
  const char* extra = "";     // extra delimiters
  char terminator = 0;
  bool crEnds = true;         // a carriage return ends the word
  bool cppKeyword = false;    // a C++ keyword: notice 24 in a C file
};

const CheckKeyword kCheckKeywords[] = {
    {"if", 2, Act::If, End::Terminator, "", '('},
    {"while", 5, Act::While, End::Terminator, "", '('},
    {"foreach", 7, Act::For, End::Terminator, "", '('},
    {"for", 3, Act::For, End::Terminator, "", '('},
    {"else", 4, Act::Else, End::Delimiter},
    {"do", 2, Act::Do, End::Delimiter},
    {"break", 5, Act::Break, End::Break},
    {"case", 4, Act::CaseOrDefault, End::Delimiter, ":("},
    {"default", 7, Act::CaseOrDefault, End::Terminator, "", ':'},
    {"goto", 4, Act::Goto, End::Delimiter},
    {"continue", 8, Act::Continue, End::Statement},
    {"realloc", 7, Act::Realloc, End::Call},
    {"void", 4, Act::Void, End::NoWordChar},
    {"const", 5, Act::Const, End::Delimiter, "("},
    {"final", 5, Act::Final, End::Delimiter},
    // The C++ keywords; those that also mean something to the checks first.
    {"try", 3, Act::Try, End::Delimiter, "{", 0, true, true},
    {"catch", 5, Act::Catch, End::Delimiter, "(", 0, true, true},
    {"friend", 6, Act::Friend, End::Delimiter, "", 0, true, true},
    {"class", 5, Act::Class, End::Delimiter, "", 0, true, true},
    {"using", 5, Act::CppOnly, End::Delimiter, "", 0, false, true},
    {"namespace", 9, Act::CppOnly, End::Delimiter, "", 0, true, true},
    {"virtual", 7, Act::Virtual, End::Delimiter, "(", 0, false, true},
    {"asm", 3, Act::CppOnly, End::Delimiter, "(", 0, true, true},
    {"bool", 4, Act::CppOnly, End::Delimiter, "", 0, true, true},
    {"const_cast", 10, Act::CppOnly, End::Delimiter, "<", 0, true, true},
    {"delete", 6, Act::CppOnly, End::Delimiter, "([", 0, true, true},
    {"dynamic_cast", 12, Act::CppOnly, End::Delimiter, "<", 0, true, true},
    {"false", 5, Act::CppOnly, End::Delimiter, "", 0, true, true},
    {"mutable", 7, Act::CppOnly, End::Delimiter, "", 0, true, true},
    {"new", 3, Act::CppOnly, End::Delimiter, "(", 0, true, true},
    {"operator", 8, Act::CppOnly, End::Operator, "", 0, true, true},
    {"overload", 8, Act::CppOnly, End::Delimiter, "", 0, true, true},
    {"private", 7, Act::CppOnly, End::Delimiter, ":", 0, true, true},
    {"protected", 9, Act::CppOnly, End::Delimiter, ":", 0, true, true},
    {"public", 6, Act::CppOnly, End::Delimiter, ":", 0, true, true},
    {"reinterpret_cast", 16, Act::CppOnly, End::Delimiter, "<", 0, true, true},
    {"static_cast", 11, Act::CppOnly, End::Delimiter, "<", 0, true, true},
    {"template", 8, Act::CppOnly, End::Terminator, "", '<', true, true},
    {"this", 4, Act::CppOnly, End::Delimiter, "", 0, true, true},
    {"throw", 5, Act::CppOnly, End::Delimiter, "(", 0, true, true},
    {"true", 4, Act::CppOnly, End::Delimiter, "", 0, true, true},
    {"typeid", 6, Act::CppOnly, End::Delimiter, "(", 0, true, true},
    {"wchar_t", 7, Act::CppOnly, End::Delimiter, "", 0, true, true},
};
constexpr int kCheckKeywordCount = sizeof kCheckKeywords / sizeof kCheckKeywords[0];

// The words of each initial letter, and for each initial the characters that
// may stand before a keyword.
struct CheckKeywordIndex {
  unsigned char byInitial[26][8] = {};
  bool lead[26][256] = {};
  CheckKeywordIndex() {
    for (auto& row : byInitial)
      for (auto& v : row) v = 0xFF;
    for (int k = 0; k < kCheckKeywordCount; ++k) {
      for (auto& v : byInitial[kCheckKeywords[k].word[0] - 'a'])
        if (v == 0xFF) {
          v = static_cast<unsigned char>(k);
          break;
        }
    }
    for (int c = 0; c < 26; ++c)
      for (const char* l = KeywordLeadSet(static_cast<char>('a' + c)); *l; ++l) lead[c][static_cast<unsigned char>(*l)] = true;
  }
};
const CheckKeywordIndex kIndex;

InlineCheckFilter BuildFilter() {
  InlineCheckFilter filter;
  // '(' concerns none of the checks; a sign only after the same sign, a '.'
  // only before another.
  for (const char* p = kInlineCheckPunctuation; *p; ++p) {
    const char c = *p;
    filter.punctuation[static_cast<unsigned char>(c)] = c == '(' ? InlineCheckFilter::kNone
                                                        : c == '-' || c == '+' ? InlineCheckFilter::kPair
                                                        : c == '.' ? InlineCheckFilter::kDots
                                                                   : InlineCheckFilter::kAlways;
  }
  for (const CheckKeyword& kw : kCheckKeywords)
    filter.wordStart[kw.word[0] - 'a'][static_cast<unsigned char>(kw.word[1])] = true;
  for (int c = 0; c < 26; ++c)
    for (const char* l = KeywordLeadSet(static_cast<char>('a' + c)); *l; ++l)
      filter.lead[c][static_cast<unsigned char>(*l)] = true;
  return filter;
}

// The initials of the words, after the punctuation.
struct CheckCharacters {
  char text[64] = {};
  CheckCharacters() {
    std::size_t n = 0;
    for (const char* p = kInlineCheckPunctuation; *p; ++p) text[n++] = *p;
    for (char c = 'a'; c <= 'z'; ++c)
      for (const CheckKeyword& kw : kCheckKeywords)
        if (kw.word[0] == c) {
          text[n++] = c;
          break;
        }
  }
};

bool WordEnds(const CheckKeyword& kw, const char* line, int pos) {
  const char* after = line + pos;
  const char c = *after;
  switch (kw.end) {
    case End::Delimiter:
      if (c == ' ' || c == '\t' || c == '\n' || c == '\0' || IsCommentOpen(after)) return true;
      if (c == '\r') return kw.crEnds;
      return std::strchr(kw.extra, c) != nullptr;
    case End::Terminator: {
      if (c == '\0') return true;
      int counted = 0;
      return KeywordTermin(line, pos, &counted, kw.terminator, '\n') != 0;
    }
    case End::Break: {
      if (c != ' ' && c != '\t' && c != ';' && !IsCommentOpen(after) && !IsLineEndChar(c)) return false;
      int p = pos;
      while (line[p] == ' ' || line[p] == '\t') ++p;
      return line[p] == ';' || IsCommentOpen(line + p) || IsLineEndChar(line[p]);
    }
    case End::Statement:
      return c == ' ' || c == '\t' || c == ';' || IsCommentOpen(after);
    case End::Call:
      return c == '(' || c == ' ' || c == '\t' || IsCommentOpen(after);
    case End::NoWordChar:
      return !isfirstchar(c) && !IsDigitChar(c);
    case End::Operator:
      return c == ' ' || c == '\t' || IsLineEndChar(c) || is_operator(c);
  }
  return false;
}

// True when text, whose first two characters are those of word, goes on with
// the rest of word's first length characters (the comparison stops at the
// first difference, a NUL of text included).
bool SpelledAt(const char* text, const char* word, int length) {
  for (int k = 2; k < length; ++k)
    if (text[k] != word[k]) return false;
  return true;
}

// A word right after '#' (and blanks) is a directive word, not a keyword.
bool IsDirectiveWord(const char* line, int i, const GlobalData& gcd) {
  if (!gcd.eng.lex.preproc_flag) return false;
  int p = i - 1;
  while (p >= 0 && (line[p] == ' ' || line[p] == '\t')) --p;
  return p >= 0 && line[p] == '#';
}

// A break statement: the sequential-break (56) and outside-switch (44)
// checks; a break followed only by the line end is counted, not checked.
void BreakChecks(const char* line, int pos, int lineNumber, GlobalData& gcd) {
  int p = pos;
  while (line[p] == ' ' || line[p] == '\t') ++p;
  if (IsLineEndChar(line[p])) return;
  InlineCheckState& st = gcd.eng.checks;
  if (st.last_was_break) EmitBreakBreak(lineNumber, gcd);
  EmitBreakNotice(lineNumber, gcd);
  st.last_was_break = 1;
}

void FriendClassName(const char* line, int pos, GlobalData& gcd) {
  InlineCheckState& st = gcd.eng.checks;
  char token[kTextBuf];
  token[0] = '\0';
  if (GetNextToken(line, pos, token) != nullptr) CopyBounded(st.friendName, token);
  else st.friendName[0] = '\0';
}

void Perform(const CheckKeyword& kw, const char* line, int pos, int lineNumber, GlobalData& gcd) {
  const LanguageState& lang = gcd.lang;
  InlineCheckState& st = gcd.eng.checks;
  const bool scope = gcd.sw.functionAnalysis != 0;
  if (kw.cppKeyword && lang.isC) {
    CPP_Symbol(lineNumber, kw.word, gcd);
    return;
  }
  switch (kw.act) {
    case Act::If:
      st.last_was_break = 0;
      if (scope) ScopeConditionKeyword(kScopeIf, lineNumber, gcd);
      break;
    case Act::While:
      if (scope) ScopeConditionKeyword(kScopeWhile, lineNumber, gcd);
      break;
    case Act::For:
      if (scope) ScopeConditionKeyword(kScopeFor, lineNumber, gcd);
      break;
    case Act::Else:
      if (scope) ScopeBodyKeyword(kScopeElse, line, pos, lineNumber, gcd);
      break;
    case Act::Do:
      if (scope) ScopeBodyKeyword(kScopeDo, line, pos, lineNumber, gcd);
      break;
    case Act::Break:
      BreakChecks(line, pos, lineNumber, gcd);
      break;
    case Act::CaseOrDefault:
      // default ends a run of breaks as case does: "break; default: break;"
      // is the usual end of a switch.
      st.last_was_break = 0;
      break;
    case Act::Goto:
      RaiseNotice(9, lineNumber, {}, gcd);
      break;
    case Act::Continue:
      EmitContinueNotice(lineNumber, gcd);
      break;
    case Act::Realloc:
      RaiseNotice(8, lineNumber, {}, gcd);
      break;
    case Act::Void:
      if (const int next = NextCodeIndex(line, pos - 1); next >= 0 && line[next] == '*')
        EmitVoidStarNotice(lineNumber, gcd);
      break;
    case Act::Const:
      st.const_flag = 1;
      break;
    case Act::Final:
      if (lang.isJava) st.final_flag = 1;
      break;
    case Act::Try:
      EmitExceptionNotice(lineNumber, gcd);
      break;
    case Act::Catch:
      st.catch_parens = 1;
      break;
    case Act::Friend:
      if (lang.isCpp) st.friend_flag = 1;
      break;
    case Act::Class:
      if (lang.isCpp && st.friend_flag && !st.friend_class) {
        st.friend_class = 1;
        FriendClassName(line, pos, gcd);
      }
      break;
    case Act::Virtual:
      if (gcd.st.classBodyDepth > 0) st.virtual_flag = 1;
      break;
    case Act::CppOnly:
      break;
  }
}

}  // namespace

const InlineCheckFilter kInlineCheckFilter = BuildFilter();

const char* InlineCheckCharacters() {
  static const CheckCharacters characters;
  return characters.text;
}

void KeywordChecks(const char* line, int i, int lineNumber, GlobalData& gcd) {
  const int initial = line[i] - 'a';
  if (initial < 0 || initial >= 26) return;
  if (i > 0 && !kIndex.lead[initial][static_cast<unsigned char>(line[i - 1])]) return;
  for (unsigned char k : kIndex.byInitial[initial]) {
    if (k == 0xFF) return;
    const CheckKeyword& kw = kCheckKeywords[k];
    if (line[i + 1] != kw.word[1] || !SpelledAt(line + i, kw.word, kw.length)) continue;
    const int pos = i + kw.length;
    if (!WordEnds(kw, line, pos)) continue;
    if (IsDirectiveWord(line, i, gcd)) return;
    Perform(kw, line, pos, lineNumber, gcd);
    return;
  }
}
