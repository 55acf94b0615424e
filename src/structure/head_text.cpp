// Head text gathering.
#include "structure/head_text.h"

#include "common/text.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

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
      if (c == '*' && line[i + 1] == '/') {
        inComment = 0;
        i += 2;
        Put(out, ' ');
        continue;
      }
      ++i;
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
    Put(out, c);
    ++i;
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
