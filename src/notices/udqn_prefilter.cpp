// Literal prefilters for user defined notice patterns. Most lines of a file
// cannot match most patterns, and a substring search rules them out far
// faster than a regexec call does. From the pattern's text the analysis
// derives a set of literals of which every match must contain at least one;
// a line holding none of them is not handed to the library.
//
// The analysis is conservative: whatever it does not understand (option
// settings, quoting, escapes with arguments, quantified or negative groups)
// contributes no requirement, and a pattern it cannot read at all gets no
// prefilter, so a prefilter never turns a match into a miss.
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "notices/udqn_internal.h"

namespace {

using Literals = std::vector<std::string>;  // any one of them must occur

struct Reader {
  std::string_view p;
  std::size_t i = 0;
  bool unreadable = false;
  bool AtEnd() const { return i >= p.size(); }
  char Peek(std::size_t ahead = 0) const { return i + ahead < p.size() ? p[i + ahead] : '\0'; }
};

bool IsAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Skips past the closing character (or to the end).
void SkipPast(Reader& r, char close) {
  while (!r.AtEnd() && r.Peek() != close) ++r.i;
  if (!r.AtEnd()) ++r.i;
}

// Skips a character class; r.i is on its '['.
void SkipClass(Reader& r) {
  ++r.i;
  if (r.Peek() == '^') ++r.i;
  if (r.Peek() == ']') ++r.i;  // a leading ']' is a member
  while (!r.AtEnd()) {
    const char c = r.Peek();
    if (c == '\\') {
      r.i += 2;
    } else if (c == '[' && r.Peek(1) == ':') {
      r.i += 2;
      while (!r.AtEnd() && !(r.Peek() == ':' && r.Peek(1) == ']')) ++r.i;
      r.i += 2;
    } else if (c == ']') {
      ++r.i;
      return;
    } else {
      ++r.i;
    }
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Skips an escape whose letter is alphanumeric, with its arguments; r.i is on
// the letter. Skipping too much only loses requirements, never adds one.
void SkipLetterEscape(Reader& r) {
  const char letter = r.Peek();
  ++r.i;
  switch (letter) {
    case 'Q':
    case 'E':
      r.unreadable = true;  // quoting: read by the library alone
      return;
    case 'c':  // control character: one more character
      ++r.i;
      return;
    case 'x':  // \xhh or \x{...}
      if (r.Peek() == '{') SkipPast(r, '}');
      else
        while (!r.AtEnd() && IsHex(r.Peek())) ++r.i;
      return;
    case 'o':
    case 'N':
      if (r.Peek() == '{') SkipPast(r, '}');
      return;
    case 'p':
    case 'P':  // \pL or \p{...}
      if (r.Peek() == '{') SkipPast(r, '}');
      else ++r.i;
      return;
    case 'g':
    case 'k':  // references: \g1 \g-1 \g{..} \g<..> \k<..> \k'..'
      if (r.Peek() == '{') SkipPast(r, '}');
      else if (r.Peek() == '<' || r.Peek() == '\'') SkipPast(r, r.Peek() == '<' ? '>' : '\'');
      else {
        if (r.Peek() == '+' || r.Peek() == '-') ++r.i;
        while (!r.AtEnd() && IsDigit(r.Peek())) ++r.i;
      }
      return;
    default:
      // Back references and octal escapes run on in digits.
      if (IsDigit(letter))
        while (!r.AtEnd() && IsDigit(r.Peek())) ++r.i;
      return;
  }
}

// Whether the item just read may occur zero times; consumes the quantifier.
bool OptionalQuantifier(Reader& r) {
  const char c = r.Peek();
  if (c == '?' || c == '*') {
    ++r.i;
    return true;
  }
  if (c == '{') {
    // {0...} and anything unclear count as optional.
    const bool atLeastOne = r.Peek(1) >= '1' && r.Peek(1) <= '9';
    SkipPast(r, '}');
    return !atLeastOne;
  }
  if (c == '+') {
    ++r.i;
    return false;
  }
  return false;
}

// Skips a group's content up to its closing ')', which is left unread.
void SkipToGroupEnd(Reader& r) {
  int depth = 0;
  while (!r.AtEnd()) {
    const char c = r.Peek();
    if (c == '\\') {
      r.i += 2;
    } else if (c == '[') {
      SkipClass(r);
    } else if (c == '(') {
      ++depth;
      ++r.i;
    } else if (c == ')') {
      if (depth == 0) return;
      --depth;
      ++r.i;
    } else {
      ++r.i;
    }
  }
}

// A quantifier's lazy or possessive mark.
void SkipQuantifierMark(Reader& r) {
  if (r.Peek() == '?' || r.Peek() == '+') ++r.i;
}

bool IsQuantifier(char c) { return c == '?' || c == '*' || c == '+' || c == '{'; }

// The better of two requirements: the one whose shortest literal is longer
// rules out more lines; fewer alternatives cost fewer searches.
const Literals& Better(const Literals& a, const Literals& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  auto shortest = [](const Literals& l) {
    std::size_t n = l[0].size();
    for (const std::string& s : l) n = std::min(n, s.size());
    return n;
  };
  const std::size_t sa = shortest(a), sb = shortest(b);
  if (sa != sb) return sa > sb ? a : b;
  return a.size() <= b.size() ? a : b;
}

Literals Alternation(Reader& r, int depth);

// One branch: a sequence of items up to '|', ')' or the end.
Literals Branch(Reader& r, int depth) {
  Literals best;
  std::string run;
  auto endRun = [&] {
    if (!run.empty()) best = Better(best, Literals{run});
    run.clear();
  };
  while (!r.AtEnd() && !r.unreadable) {
    const char c = r.Peek();
    if (c == '|' || c == ')') break;
    if (c == '(') {
      endRun();
      ++r.i;
      Literals inner;
      const char q = r.Peek(), q1 = r.Peek(1);
      if (q == '?' && q1 == ':') {
        r.i += 2;
        inner = Alternation(r, depth + 1);
      } else if (q == '?' && q1 == '#') {
        while (!r.AtEnd() && r.Peek() != ')') ++r.i;  // a comment ends at the first ')'
      } else if (q == '?' && (q1 == '\0' || std::strchr("imnsxJU-^)", q1) != nullptr)) {
        // Option settings may change case or white space rules for the rest.
        r.unreadable = true;
        break;
      } else if (q == '?' || q == '*') {
        SkipToGroupEnd(r);  // lookarounds, named groups, verbs: no contribution
      } else {
        inner = Alternation(r, depth + 1);
      }
      if (r.Peek() != ')') {
        r.unreadable = true;
        break;
      }
      ++r.i;
      if (IsQuantifier(r.Peek())) {
        if (OptionalQuantifier(r)) inner.clear();
        SkipQuantifierMark(r);
      }
      best = Better(best, inner);
      continue;
    }
    if (c == '[') {
      endRun();
      SkipClass(r);
      if (IsQuantifier(r.Peek())) {
        OptionalQuantifier(r);
        SkipQuantifierMark(r);
      }
      continue;
    }
    char literal = '\0';
    if (c == '\\') {
      ++r.i;
      if (r.AtEnd()) {
        r.unreadable = true;
        break;
      }
      if (IsAlnum(r.Peek())) {
        endRun();
        SkipLetterEscape(r);
        if (IsQuantifier(r.Peek())) {
          OptionalQuantifier(r);
          SkipQuantifierMark(r);
        }
        continue;
      }
      literal = r.Peek();
      ++r.i;
    } else if (c == '.' || c == '^' || c == '$') {
      endRun();
      ++r.i;
      if (IsQuantifier(r.Peek())) {
        OptionalQuantifier(r);
        SkipQuantifierMark(r);
      }
      continue;
    } else if (IsQuantifier(c)) {
      // A quantifier with nothing before it: leave it to the library.
      r.unreadable = true;
      break;
    } else {
      literal = c;
      ++r.i;
    }
    if (IsQuantifier(r.Peek())) {
      // The quantified character may be absent or repeated: it ends the run.
      const bool optional = OptionalQuantifier(r);
      SkipQuantifierMark(r);
      if (!optional) run.push_back(literal);
      endRun();
      continue;
    }
    run.push_back(literal);
  }
  endRun();
  return best;
}

// Branches separated by '|': a match holds a literal of whichever branch
// matched, so every branch must have one.
Literals Alternation(Reader& r, int depth) {
  if (depth > 64) {
    r.unreadable = true;
    return {};
  }
  Literals all = Branch(r, depth);
  bool everyBranch = !all.empty();
  while (!r.unreadable && r.Peek() == '|') {
    ++r.i;
    Literals next = Branch(r, depth);
    if (next.empty()) everyBranch = false;
    all.insert(all.end(), next.begin(), next.end());
  }
  if (!everyBranch) all.clear();
  return all;
}

}  // namespace

std::vector<std::string> udqn_required_literals(std::string_view pattern) {
  Reader r{pattern};
  Literals found = Alternation(r, 0);
  // A ')' without its '(' or any unread rest: no prefilter.
  if (r.unreadable || !r.AtEnd()) return {};
  // Searching for many alternatives costs more than it saves.
  if (found.size() > 8) return {};
  return found;
}

UdqnPrefilter udqn_build_prefilter(std::string_view pattern, int compileFlags) {
  UdqnPrefilter filter;
  filter.literals = udqn_required_literals(pattern);
  filter.endAnchored = udqn_end_characters(pattern, compileFlags, filter.lastChars) ? 1 : 0;
  return filter;
}

namespace {

bool HoldsLiteral(const UdqnPrefilter& filter, const char* text, bool icase) {
  for (const std::string& literal : filter.literals) {
    if (!icase && literal.size() == 1) {
      if (std::strchr(text, literal[0]) != nullptr) return true;
    } else if (icase ? strcasestr(text, literal.c_str()) != nullptr : std::strstr(text, literal.c_str()) != nullptr) {
      return true;
    }
  }
  return false;
}

// '$' matches at the very end or before the line end: the last character, or
// one before up to two line end characters, must be one a match can end with.
bool EndsWell(const UdqnPrefilter& filter, const char* text) {
  std::size_t len = std::strlen(text);
  for (int ends = 0; len > 0; ++ends) {
    const auto c = static_cast<unsigned char>(text[len - 1]);
    if (filter.lastChars[c]) return true;
    if (ends == 2 || (c != '\n' && c != '\r')) return false;
    --len;
  }
  return false;
}

}  // namespace

bool udqn_prefilter_passes(const UdqnPrefilter& filter, const char* text, int compileFlags, int matchFlags) {
  if (!filter.literals.empty() && !HoldsLiteral(filter, text, (compileFlags & kUdqnIcase) != 0)) return false;
  if (filter.endAnchored && (matchFlags & kUdqnNotEol) == 0 && !EndsWell(filter, text)) return false;
  return true;
}
