// Head text gathering.
#include "structure/head_text.h"

#include <algorithm>

#include "common/text.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Characters that are neither blank nor start a comment or a literal.
struct PlainTable {
  bool is[256] = {};
  PlainTable() {
    for (int c = 1; c < 256; ++c) is[c] = true;
    for (const char* p = " \t\n\r/\"'"; *p; ++p) is[static_cast<unsigned char>(*p)] = false;
  }
};
const PlainTable kPlain;
bool IsPlain(char c) { return kPlain.is[static_cast<unsigned char>(c)]; }

void Put(std::string& out, char c) {
  if (out.size() >= kTextMax) return;
  if (IsSpace(c)) {
    if (!out.empty() && out.back() != ' ') out += ' ';
    return;
  }
  out += c;
}

}  // namespace

void AppendHeadText(std::string& out, const char* line, int from, int to, int& inComment) {
  if (line == nullptr || from < 0) return;
  int i = from;
  while (i < to && line[i] != '\0') {
    const char c = line[i];
    if (inComment) {
      // Skip to the "*/" that ends the comment (its '/' may lie beyond to).
      while (i < to && line[i] != '\0' && !(line[i] == '*' && line[i + 1] == '/')) ++i;
      if (i < to && line[i] == '*') {
        inComment = 0;
        i += 2;
        Put(out, ' ');
      }
      continue;
    }
    if (c == '/' && line[i + 1] == '*') {
      inComment = 1;
      i += 2;
      continue;
    }
    if (c == '/' && line[i + 1] == '/') return;
    if (c == '"' || c == '\'') {
      // A literal is copied whole, so that no comment is seen inside it.
      Put(out, c);
      ++i;
      while (i < to && line[i] != '\0' && line[i] != c) {
        if (line[i] == '\\' && i + 1 < to) Put(out, line[i++]);
        Put(out, line[i++]);
      }
      if (i < to && line[i] == c) Put(out, line[i++]);
      continue;
    }
    if (IsSpace(c) || c == '/') {
      Put(out, c);
      ++i;
      continue;
    }
    // A run of characters that are copied as they stand, in one piece.
    int j = i + 1;
    while (j < to && IsPlain(line[j])) ++j;
    if (out.size() < kTextMax) out.append(line + i, std::min(static_cast<std::size_t>(j - i), kTextMax - out.size()));
    i = j;
  }
}

std::size_t AfterParameterList(const std::string& text) {
  std::size_t open = text.find('(');
  if (open == std::string::npos) return std::string::npos;
  int depth = 0;
  for (std::size_t i = open; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    else if (text[i] == ')' && --depth == 0) return i + 1;
  }
  return std::string::npos;
}

bool HoldsWord(const std::string& text, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to && i < text.size(); ++i) {
    const char c = text[i];
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') return true;
  }
  return false;
}
