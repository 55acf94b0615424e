#include "utilities/extraction.h"

#include <cstring>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/format.h"

namespace {

bool AlNum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Lists one cleaned text with its line number; empty texts are not listed.
void Emit(std::string_view text, int lineNumber, GlobalData& gcd) {
  std::string_view clean = ExtractString(text, gcd);
  if (clean.empty()) return;
  OutF("  %6d: %.*s\n", lineNumber, static_cast<int>(clean.size()), clean.data());
}

// Removes [from, to) from the extraction buffer.
void Erase(LineText& buffer, int from, int to) {
  std::memmove(buffer.text + from, buffer.text + to, static_cast<size_t>(buffer.len - to + 1));
  buffer.len -= to - from;
}

}  // namespace


std::string_view ExtractString(std::string_view text, GlobalData& gcd) {
  ExtractionBuffers& buf = gcd.util.extract;
  CopyBounded(buf.clean, text);
  const char* s = buf.clean;
  size_t end = std::strlen(s);
  // The end: trailing punctuation, blanks, the closing quote or comment
  // marker, and line feed escapes.
  for (;;) {
    while (end > 0 && !AlNum(s[end - 1])) --end;
    if (end >= 2 && s[end - 1] == 'n' && s[end - 2] == '\\') {
      end -= 2;
      continue;
    }
    break;
  }
  // The start: the opening quote or comment marker and leading punctuation.
  size_t begin = 0;
  while (begin < end && !AlNum(s[begin])) ++begin;
  if (begin > 0 && begin < end && s[begin - 1] == '\\' && s[begin] == 'n') {
    ++begin;
    while (begin + 1 < end && s[begin] == '\\' && s[begin + 1] == 'n') begin += 2;
    if (begin < end && s[begin] == ' ') ++begin;
  }
  while (begin < end && s[begin] == ' ') ++begin;
  while (begin < end && (s[begin] == '\t' || s[begin] == '\n')) {
    ++begin;
    while (begin < end && s[begin] == ' ') ++begin;
  }
  std::string_view clean(s + begin, end - begin);
  const OutputMode mode = gcd.sw.outputMode;
  if ((mode != OutputMode::Html && mode != OutputMode::Xml) || clean.empty()) return clean;
  buf.clean[end] = '\0';
  if (mode == OutputMode::Html) {
    HTML_esc(buf.clean + begin, buf.html);
  } else {
    // Entities are at most six characters: the escaped text fits.
    CopyBounded(buf.html, XmlEncodeText(buf.clean + begin));
  }
  return buf.html;
}

void ExtractStringEnd(int lineNumber, GlobalData& gcd) {
  LexState& lex = gcd.eng.lex;
  LineText& buffer = lex.estring;
  // Comment text collected before the string on this line stays for the
  // end of the line.
  const int start = lex.estringStart <= buffer.len ? lex.estringStart : 0;
  Emit(std::string_view(buffer.text + start, static_cast<size_t>(buffer.len - start)), lineNumber, gcd);
  buffer.len = start;
  buffer.text[start] = '\0';
  lex.estringStart = start;
}

void ExtractCommentLine(int lineNumber, GlobalData& gcd) {
  LexState& lex = gcd.eng.lex;
  LineText& buffer = lex.estring;
  // A string still open at the end of the line keeps its text for the line
  // where it closes.
  int end = buffer.len;
  if (lex.in_string && gcd.sw.extractStrings && lex.estringStart <= buffer.len) end = lex.estringStart;
  if (end > 0) Emit(std::string_view(buffer.text, static_cast<size_t>(end)), lineNumber, gcd);
  Erase(buffer, 0, end);
  lex.estringStart = 0;
}
