// Look-ahead, token and text clean-up routines of the line engine.
#include "engine/lexical.h"

#include <array>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "common/gcd.h"
#include "common/output.h"
#include "common/text.h"

namespace {

constexpr int kLineBuf = static_cast<int>(kTextBuf);

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\n' || c == '\r' || c == '\0'; }

const char* const kLineLengthError = "  Error: Unexpected line length with no line feed";

// Which token reader is running: they share one scanner and differ in their
// skip and stop sets.
enum class TokenKind { Identifier, Raw, Code };

bool IsTokenStop(char c, TokenKind kind) {
  switch (c) {
    case '\0': case ' ': case '\t': case '\r': case '\n':
      return true;
    case '{': case ':': case '(': case ';': case ')': case '/':
      return kind != TokenKind::Raw;
    default:
      return false;
  }
}

// Clears as much of the caller's buffer as its current text occupies.
void ClearToken(char* token) {
  std::size_t used = strnlen(token, kTextBuf);
  std::memset(token, 0, used < kTextBuf ? used + 1 : kTextBuf);
}

char* ReadToken(const char* line, int pos, char* token, TokenKind kind) {
  if (line == nullptr || token == nullptr) return nullptr;
  ClearToken(token);
  if (pos < 0) pos = 0;
  int i = pos;
  // The caller's position may already be past the text of a short line.
  if (pos >= kLineBuf || strnlen(line, kTextBuf) < static_cast<std::size_t>(pos)) return nullptr;
  auto tooLong = [&]() -> char* {
    OutS(kLineLengthError);
    return nullptr;
  };
  // A line end right at the start yields no token; one after a comment
  // leaves the token empty (step below).
  bool afterComment = false;
  for (;;) {
    while (i < kLineBuf && (IsBlankOrTab(line[i]) || (kind == TokenKind::Raw && line[i] == '\r'))) ++i;
    if (i >= kLineBuf) return tooLong();
    char c = line[i];
    if (!afterComment && (c == '\n' || (c == '\r' && kind != TokenKind::Raw))) return nullptr;
    if (c == '/' && i + 1 < kLineBuf && line[i + 1] == '/') return nullptr;
    if (c == '/' && i + 1 < kLineBuf && line[i + 1] == '*') {
      int j = i + 2;
      for (;;) {
        if (j >= kLineBuf) return tooLong();
        if (IsLineEnd(line[j])) return nullptr;
        if (j + 1 >= kLineBuf) return tooLong();
        if (line[j] == '*' && line[j + 1] == '/') break;
        ++j;
      }
      i = j + 2;
      afterComment = true;
      continue;
    }
    break;
  }
  if (kind == TokenKind::Code) {
    while (i < kLineBuf && (IsBlankOrTab(line[i]) || line[i] == '{' || line[i] == '(')) ++i;
    if (i >= kLineBuf) return tooLong();
  }
  if (line[i] == '\n') return kind == TokenKind::Identifier ? nullptr : token;
  const int limit = kLineBuf - pos;  // characters a token may take from pos on
  int n = 0;
  while (!IsTokenStop(line[i], kind)) {
    if (n >= limit || n >= static_cast<int>(kTextMax)) return tooLong();
    token[n++] = line[i++];
    if (i >= kLineBuf) return tooLong();
  }
  token[n] = '\0';
  if (kind == TokenKind::Identifier && !isfirstchar(token[0])) return nullptr;
  return token;
}

// Splits s at runs of delimiters and keeps the words for which keep() holds,
// joined by single blanks; s is left as it was when no word remains.
template <class Keep>
char* RebuildWords(char* s, const char* delims, Keep keep) {
  if (s == nullptr || delims == nullptr) return s;
  std::string out;
  try {
    const std::string copy(s);
    out.reserve(copy.size());
    std::size_t i = 0;
    while (i < copy.size()) {
      i = copy.find_first_not_of(delims, i);
      if (i == std::string::npos) break;
      std::size_t end = copy.find_first_of(delims, i);
      if (end == std::string::npos) end = copy.size();
      std::string word = copy.substr(i, end - i);
      if (keep(word)) {
        if (!out.empty()) out += ' ';
        out += word;
      }
      i = end;
    }
  } catch (const std::bad_alloc&) {
    return s;
  }
  // The words and single blanks never take more room than the original text.
  if (!out.empty()) std::memcpy(s, out.c_str(), out.size() + 1);
  return s;
}

}  // namespace

char NextChar(const char* p) {
  if (p == nullptr || *p == '\0') return '\0';
  const char* q = p + 1;
  for (;;) {
    while (IsBlankOrTab(*q)) ++q;
    if (*q != '/') return *q;
    if (q[1] == '/') return '\n';
    if (q[1] != '*') return '/';
    // The search for the closing */ starts at the opening '/', so "/*/"
    // is a complete comment.
    const char* r = q;
    while (!(r[0] == '*' && r[1] == '/')) {
      if (*r == '\n' || *r == '\0') return *r;
      ++r;
    }
    q = r + 2;
  }
}

int FindCodeChar(const char* s, char c) {
  if (s == nullptr) return 0;
  for (int i = 0; i < kLineBuf && !IsLineEnd(s[i]);) {
    if (s[i] == '/' && i + 1 < kLineBuf) {
      if (s[i + 1] == '/' || s[i + 1] == '*') {
        int j = i + 1;
        for (;;) {
          if (j + 1 >= kLineBuf || IsLineEnd(s[j])) return 0;
          if (s[j] == '*' && s[j + 1] == '/') break;
          ++j;
        }
        i = j + 2;
      } else {
        ++i;  // a lone '/' is never compared, the character after it is
      }
      continue;
    }
    if (s[i] == c) return 1;
    ++i;
  }
  return 0;
}

int KeywordTermin(const char* line, int pos, int* counter, char t1, char t2) {
  if (line == nullptr || pos < 0 || pos >= kLineBuf) return 0;
  if (strnlen(line, kTextBuf) < static_cast<std::size_t>(pos)) return 0;
  int i = pos;
  while (i < kLineBuf && IsBlankOrTab(line[i])) ++i;
  if (i >= kLineBuf) return 0;
  char c = line[i];
  bool comment = c == '/' && i + 1 < kLineBuf && (line[i + 1] == '/' || line[i + 1] == '*');
  // The end of a last line without a line feed ends the keyword too.
  if (c == t1 || c == t2 || c == '\r' || c == '\n' || c == '\0' || comment) {
    if (counter != nullptr) ++*counter;
    return 1;
  }
  return 0;
}

int SingleChar(const char* line, char c) {
  if (line == nullptr || c == '\0') return 0;
  // Most lines do not start with c: decide those without scanning the line.
  // (Cutting at "//" cannot change the first character after the blanks
  // unless c is '/' itself.)
  if (c != '/') {
    const char* q = line;
    for (std::size_t n = 0; n < kTextMax && IsBlankOrTab(*q); ++n) ++q;
    if (*q != c) return 0;
  }
  // The line as the reader holds it, up to a "//" comment; read in place, so
  // that callers on several threads share nothing.
  std::string_view text(line, strnlen(line, kTextMax));
  if (const std::size_t cut = text.find("//"); cut != std::string_view::npos) text = text.substr(0, cut);
  const auto at = [&text](std::size_t k) { return k < text.size() ? text[k] : '\0'; };
  std::size_t i = 0;
  while (IsBlankOrTab(at(i))) ++i;
  if (at(i) != c) return 0;
  ++i;
  for (;;) {
    while (IsBlankOrTab(at(i)) || at(i) == ';') ++i;
    if (at(i) == '/' && at(i + 1) == '*') {
      const std::size_t end = text.find("*/", i + 2);
      if (end == std::string_view::npos) break;
      i = end + 2;
      continue;
    }
    break;
  }
  const char last = at(i);
  return (last == '\0' || last == '\n' || last == '\r') ? 1 : 0;
}

char* GetNextToken(const char* line, int pos, char* token) {
  return ReadToken(line, pos, token, TokenKind::Identifier);
}

char* GetNextRawToken(const char* line, int pos, char* token) {
  return ReadToken(line, pos, token, TokenKind::Raw);
}

char* GetNextCodeToken(const char* line, int pos, char* token) {
  return ReadToken(line, pos, token, TokenKind::Code);
}

int is_operator(char c) {
  // 'd' and 'n' admit operatordelete and operatornew written without a blank.
  static constexpr std::string_view kOperatorChars = "!%&(*+,-/<=>[^dn|~";
  return c != '\0' && kOperatorChars.find(c) != std::string_view::npos ? 1 : 0;
}

int isfirstchar(char c) {
  return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '~') ? 1 : 0;
}

int is_systype(const char* name, const GlobalData& gcd) {
  static constexpr std::array<std::string_view, 13> kSysTypes = {
      "unsigned", "char", "short", "int", "long", "float", "double",
      "void", "signed", "while", "if", "else", "for"};
  if (name == nullptr || static_cast<signed char>(name[0]) <= 32) return 0;
  if (gcd.eng.assignment_flag) return 0;
  const std::string_view word(name, strnlen(name, kTextMax));
  for (std::string_view t : kSysTypes) {
    if (word != t) continue;
    if (gcd.sw.debug) {
      OutF("*** Debug:\n  Warning: Line No. %d\n           Function name is a system type - %s\n"
           "           This may occur if a macro name is equivalent\n"
           "           to a function name.  Functional analysis has\n"
           "           been skipped by LQA.\n\n",
           gcd.drv.lineNumber, name);
    }
    return 1;
  }
  return 0;
}

char* Lefttrim(char* s) {
  if (s == nullptr) return s;
  while (IsBlankOrTab(*s)) ++s;
  return s;
}

const char* Lefttrim(const char* s) {
  if (s == nullptr) return s;
  while (IsBlankOrTab(*s)) ++s;
  return s;
}

char* Rtrim(char* s) {
  if (s == nullptr) return s;
  std::size_t n = std::strlen(s);
  while (n > 1 && (IsBlankOrTab(s[n - 1]) || s[n - 1] == '\n' || s[n - 1] == '\r')) s[--n] = '\0';
  return s;
}

char* Strip_nrt(const char* s, char* out) {
  if (out == nullptr) return out;
  out[0] = '\0';
  if (s == nullptr) return out;
  std::size_t n = 0;
  for (const char* p = s; *p != '\0' && n < kTextMax; ++p) {
    if (*p == '\n' || *p == '\r' || *p == '\t' || *p == '{') continue;
    out[n++] = *p;
    if (*p == ',' && n < kTextMax) out[n++] = ' ';
  }
  out[n] = '\0';
  return out;
}

char* StripChars(char* s, const char* delims) {
  return RebuildWords(s, delims, [](const std::string&) { return true; });
}

char* StripStrings(char* s, const char* words) {
  if (words == nullptr) return s;
  return RebuildWords(s, " \t\r\n", [words](const std::string& w) { return std::strstr(words, w.c_str()) == nullptr; });
}

char* StripCComment(char* s) {
  if (s == nullptr) return s;
  char* open = std::strstr(s, "/*");
  char* close = std::strstr(s, "*/");
  if (open == nullptr || close == nullptr || close <= open) return s;
  char* rest = close + 2;
  std::memmove(open, rest, std::strlen(rest) + 1);
  return s;
}

char* StripCPPComment(char* s) {
  if (s == nullptr) return s;
  if (char* cut = std::strstr(s, "//")) *cut = '\0';
  return s;
}
