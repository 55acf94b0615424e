// Type heads: the name after class, struct or interface, and the compacted
// template and base list texts.
#include <cstring>
#include <string>
#include <string_view>

#include "common/gcd.h"
#include "common/output.h"
#include "engine/lexical.h"
#include "engine/macros.h"
#include "structure/classes.h"

namespace {

constexpr int kMaxMacroSkips = 16;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsIdentChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// True when the word stands at p of text as a whole word.
bool WordAt(std::string_view text, std::size_t p, std::string_view word) {
  if (text.substr(p, word.size()) != word) return false;
  if (p > 0 && IsIdentChar(text[p - 1])) return false;
  const std::size_t end = p + word.size();
  return end >= text.size() || !IsIdentChar(text[end]);
}

std::size_t FindWord(std::string_view text, std::string_view word) {
  for (std::size_t p = text.find(word); p != std::string_view::npos; p = text.find(word, p + 1))
    if (WordAt(text, p, word)) return p;
  return std::string_view::npos;
}

void RemoveWord(std::string& text, std::string_view word) {
  for (std::size_t p = FindWord(text, word); p != std::string::npos; p = FindWord(text, word)) text.erase(p, word.size());
}

// Comments go, then the characters { } ; blank, line feed and carriage return;
// inside <...> white space stays as one blank, for FormatTemplateLine to
// decide on.
std::string Compacted(std::string_view text) {
  std::string out;
  int angle = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '/') break;
    if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      std::size_t end = text.find("*/", i + 2);
      if (end == std::string_view::npos) break;
      i = end + 1;
      continue;
    }
    if (text[i] == '<') ++angle;
    else if (text[i] == '>' && angle > 0) --angle;
    if (std::strchr("{}; \n\r\t", text[i]) != nullptr && text[i] != '\0') {
      if (angle > 0 && text[i] != '{' && text[i] != '}' && text[i] != ';' && !out.empty() && out.back() != ' ')
        out += ' ';
      continue;
    }
    out += text[i];
  }
  return out;
}

void Trim(std::string& s) {
  std::size_t b = 0;
  while (b < s.size() && (IsBlank(s[b]) || s[b] == '\n' || s[b] == '\r')) ++b;
  std::size_t e = s.size();
  while (e > b && (IsBlank(s[e - 1]) || s[e - 1] == '\n' || s[e - 1] == '\r')) --e;
  s = s.substr(b, e - b);
}

// Skips blanks, tabs and block comments from i; returns the new index, or -1
// when a // comment or an unclosed block comment ends the line first.
int SkipToName(const char* line, int i, int len) {
  int steps = 0;
  for (;;) {
    while (i < len && IsBlank(line[i])) ++i;
    if (i + 1 < len && line[i] == '/' && line[i + 1] == '/') return -1;
    if (i + 1 < len && line[i] == '/' && line[i + 1] == '*') {
      const char* end = std::strstr(line + i + 2, "*/");
      if (end == nullptr || end - line >= len) return -1;
      i = static_cast<int>(end - line) + 2;
      if (++steps > static_cast<int>(kTextBuf)) {
        OutF("  Error: Unexpected line length exceeding %d characters", static_cast<int>(kTextBuf));
        return i;
      }
      continue;
    }
    return i;
  }
}

void GetClassnameAt(const char* line, int index, GlobalData& gcd, int depth) {
  TypeHead& head = gcd.st.head;
  head.name.clear();
  const int len = static_cast<int>(strnlen(line, kTextMax));
  if (index > len) {
    OutF("  Error: Internal Error, GetClassname... Aborting\n         Line: %s\n", line);
    return;
  }
  int i = SkipToName(line, index, len);
  if (i < 0) {
    head.namePending = 1;
    return;
  }
  if (i >= len || line[i] == '\n' || line[i] == '\r' || !isfirstchar(line[i])) {
    head.namePending = 1;
    return;
  }
  head.namePending = 0;
  std::string name;
  while (i < len) {
    const char c = line[i];
    if (c == '\n' || c == '\0' || IsBlank(c) || c == '\r' || c == '(' || c == '{' || c == '}') break;
    if (c == ':') {
      // A qualified name (class Outer::Inner) goes on over its "::".
      if (i + 2 < len && line[i + 1] == ':' && isfirstchar(line[i + 2])) {
        name += "::";
        i += 2;
        continue;
      }
      break;
    }
    if (c == ';') {
      head.forward = 1;
      break;
    }
    if (c == '<') {
      int angle = 0;
      const std::size_t open = name.size();
      while (i < len && line[i] != '\n' && line[i] != '\r') {
        if (line[i] == '<') ++angle;
        else if (line[i] == '>') --angle;
        name += line[i++];
        if (angle == 0) break;
      }
      if (angle > 0) {
        // The argument list goes on over the next lines: the name is the
        // word before it, and the rest of the list is skipped in the head.
        name.resize(open);
        head.openAngles = angle;
        break;
      }
      continue;
    }
    name += c;
    ++i;
  }
  // A macro of the macro file only decorates the declaration.
  if (depth < kMaxMacroSkips && is_macro(name.c_str(), gcd)) {
    char token[kTextBuf] = {};
    const char* next = GetNextRawToken(line, i, token);
    if (next != nullptr && token[0] == '(') {
      int p = i;
      while (p < len && line[p] != '(') ++p;
      int parens = 0;
      for (; p < len; ++p) {
        if (line[p] == '(') ++parens;
        else if (line[p] == ')' && --parens == 0) break;
      }
      GetClassnameAt(line, p < len ? p + 1 : len, gcd, depth + 1);
    } else {
      GetClassnameAt(line, i, gcd, depth + 1);
    }
    return;
  }
  std::string compact = Compacted(name);
  FormatTemplateLine(compact);
  Trim(compact);
  if (compact.size() > kTextMax) compact.resize(kTextMax);
  head.name = compact;
  head.named = !compact.empty();
  head.nameEndLine = gcd.drv.lineNumber;
  head.nameEndCol = i;
  head.collectCol = i;
}

}  // namespace

void GetClassname(const char* line, int index, GlobalData& gcd) {
  if (line == nullptr) return;
  GetClassnameAt(line, index, gcd, 0);
}

std::string& FormatTemplateLine(std::string& text) {
  if (text.size() >= kTextBuf) return text;
  std::string out;
  out.reserve(text.size());
  int angle = 0;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (IsBlank(c)) {
      // Inside <...> one blank stays where two words would run together
      // ("unsigned int", "V extends Comparable<V>").
      while (i < text.size() && IsBlank(text[i])) ++i;
      if (angle > 0 && !out.empty() && IsIdentChar(out.back()) && i < text.size() && IsIdentChar(text[i]) &&
          !WordAt(text, i, "class") && !WordAt(text, i, "typename"))
        out += ' ';
      continue;
    }
    if (c == '<') ++angle;
    else if (c == '>' && angle > 0) --angle;
    bool dropped = false;
    for (std::string_view word : {std::string_view("class"), std::string_view("typename")}) {
      const std::size_t end = i + word.size();
      if (WordAt(text, i, word) && end < text.size() && IsBlank(text[end])) {
        i = end;
        dropped = true;
        break;
      }
    }
    if (dropped) continue;
    if (WordAt(text, i, "operator") && i + 8 < text.size() && IsBlank(text[i + 8])) {
      out += "operator ";
      i += 8;
      while (i < text.size() && IsBlank(text[i])) ++i;
      continue;
    }
    out += c;
    ++i;
  }
  text.swap(out);
  return text;
}

std::string& FormatInheritline(std::string& text, GlobalData& gcd) {
  if (gcd.lang.isJava) {
    const std::size_t ext = FindWord(text, "extends");
    const std::size_t impl = FindWord(text, "implements");
    // Only the extends list names base classes: the implemented interfaces
    // go, also when no extends list precedes them.
    if (impl != std::string::npos && (ext == std::string::npos || ext < impl)) text.resize(impl);
    else if (ext != std::string::npos) text.erase(0, ext);
  } else if (gcd.lang.isCSharp) {
    if (std::size_t where = FindWord(text, "where"); where != std::string::npos) text.resize(where);
  }
  for (std::string_view word : {"public", "private", "protected", "extends", "virtual"}) RemoveWord(text, word);
  text = Compacted(text);
  FormatTemplateLine(text);
  Trim(text);
  return text;
}

int CountParents(const std::string& bases) {
  if (bases.empty()) return 0;
  int commas = 0;
  int depth = 0;
  for (char c : bases) {
    if (c == '<') ++depth;
    else if (c == '>' && depth > 0) --depth;
    else if (c == ',' && depth == 0) ++commas;
  }
  return commas + 1;
}
