// The end prefilter of user defined notice patterns. A pattern that ends in
// '$' (trailing white space, a missing ';') can only match a line whose last
// character, before the line end, is one its final items can consume; the
// library would otherwise try every start position of every line. The
// analysis reads a single sequence of literals, escapes, character classes
// and quantifiers; anything else gives no end prefilter.
#include <string_view>
#include <vector>

#include "notices/udqn_internal.h"

namespace {

using CharSet = std::bitset<256>;

struct Item {
  CharSet set;            // characters the item consumes
  bool optional = false;  // it may consume nothing
  bool known = true;      // its characters are known
};

bool IsAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

CharSet Range(int from, int to) {
  CharSet s;
  for (int c = from; c <= to; ++c) s.set(static_cast<std::size_t>(c));
  return s;
}

CharSet Chars(std::string_view chars) {
  CharSet s;
  for (char c : chars) s.set(static_cast<unsigned char>(c));
  return s;
}

CharSet Digits() { return Range('0', '9'); }
CharSet Spaces() { return Chars(" \t\n\v\f\r"); }
CharSet Words() { return Range('a', 'z') | Range('A', 'Z') | Digits() | Chars("_"); }

// The characters of a backslash escape that stands for one character of a
// known set; false for anything else (references, properties, anchors).
bool EscapeSet(char e, CharSet& set) {
  switch (e) {
    case 's': set = Spaces(); return true;
    case 'S': set = ~Spaces(); return true;
    case 'd': set = Digits(); return true;
    case 'D': set = ~Digits(); return true;
    case 'w': set = Words(); return true;
    case 'W': set = ~Words(); return true;
    case 't': set = Chars("\t"); return true;
    case 'n': set = Chars("\n"); return true;
    case 'r': set = Chars("\r"); return true;
    case 'f': set = Chars("\f"); return true;
    case 'v': set = Chars("\v\n\f\r") | Chars("\x85"); return true;  // vertical white space
    case 'e': set = Chars("\x1b"); return true;
    case 'a': set = Chars("\a"); return true;
    case 'h': set = Chars(" \t\xa0"); return true;  // horizontal white space
    case 'H': set = ~Chars(" \t\xa0"); return true;
    case 'N': set = ~Chars("\n"); return true;
    default:
      if (IsAlnum(e)) return false;
      set = Chars(std::string_view(&e, 1));
      return true;
  }
}

bool PosixClass(std::string_view name, CharSet& set) {
  if (name == "digit") set = Digits();
  else if (name == "space") set = Spaces();
  else if (name == "blank") set = Chars(" \t");
  else if (name == "alpha") set = Range('a', 'z') | Range('A', 'Z');
  else if (name == "alnum") set = Range('a', 'z') | Range('A', 'Z') | Digits();
  else if (name == "upper") set = Range('A', 'Z');
  else if (name == "lower") set = Range('a', 'z');
  else if (name == "word") set = Words();
  else return false;
  return true;
}

// Adds the other case of every ASCII letter.
CharSet FoldCase(CharSet s) {
  for (int c = 'a'; c <= 'z'; ++c) {
    const auto lower = static_cast<std::size_t>(c), upper = static_cast<std::size_t>(c - 'a' + 'A');
    if (s[lower] || s[upper]) s.set(lower).set(upper);
  }
  return s;
}

// A character class; i is on its '['. False when a member is beyond the analysis.
bool ClassSet(std::string_view p, std::size_t& i, bool icase, CharSet& out) {
  ++i;
  const bool negated = i < p.size() && p[i] == '^';
  if (negated) ++i;
  CharSet members;
  bool first = true;
  while (true) {
    if (i >= p.size()) return false;
    const char c = p[i];
    if (c == ']' && !first) {
      ++i;
      break;
    }
    first = false;
    CharSet one;
    int low = -1;  // a single character that may start a range
    if (c == '[' && i + 1 < p.size() && p[i + 1] == ':') {
      const std::size_t end = p.find(":]", i + 2);
      if (end == std::string_view::npos || !PosixClass(p.substr(i + 2, end - i - 2), one)) return false;
      i = end + 2;
    } else if (c == '[') {
      return false;  // [. and [= forms
    } else if (c == '\\') {
      if (i + 1 >= p.size() || !EscapeSet(p[i + 1], one)) return false;
      if (!IsAlnum(p[i + 1])) low = static_cast<unsigned char>(p[i + 1]);
      i += 2;
    } else {
      one.set(static_cast<unsigned char>(c));
      low = static_cast<unsigned char>(c);
      ++i;
    }
    if (low >= 0 && i + 1 < p.size() && p[i] == '-' && p[i + 1] != ']') {
      const char high = p[i + 1];
      if (high == '\\' || high == '[' || static_cast<unsigned char>(high) < low) return false;
      one = Range(low, static_cast<unsigned char>(high));
      i += 2;
    }
    members |= one;
  }
  if (icase) members = FoldCase(members);
  out = negated ? ~members : members;
  return true;
}

// Reads a quantifier after an item; false when it is beyond the analysis.
bool Quantifier(std::string_view p, std::size_t& i, Item& item) {
  if (i >= p.size()) return true;
  const char c = p[i];
  if (c == '?' || c == '*') {
    item.optional = true;
    ++i;
  } else if (c == '+') {
    ++i;
  } else if (c == '{') {
    const std::size_t close = p.find('}', i);
    if (close == std::string_view::npos || i + 1 >= close) return false;
    for (std::size_t k = i + 1; k < close; ++k)
      if (!(p[k] >= '0' && p[k] <= '9') && p[k] != ',') return false;
    if (p[i + 1] == ',') return false;  // "{,n}" is no quantifier in every version
    item.optional = p[i + 1] == '0';
    i = close + 1;
  } else {
    return true;
  }
  if (i < p.size() && (p[i] == '?' || p[i] == '+')) ++i;  // lazy or possessive
  return true;
}

// Skips a group up to and past its ')'; false when unbalanced.
bool SkipGroup(std::string_view p, std::size_t& i) {
  int depth = 0;
  while (i < p.size()) {
    const char c = p[i];
    if (c == '\\') {
      i += 2;
      continue;
    }
    if (c == '[') {
      CharSet ignored;
      // Classes inside a skipped group need only be stepped over correctly.
      std::size_t j = i;
      if (!ClassSet(p, j, false, ignored)) return false;
      i = j;
      continue;
    }
    ++i;
    if (c == '(') ++depth;
    else if (c == ')' && --depth == 0) return true;
  }
  return false;
}

}  // namespace

bool udqn_end_characters(std::string_view p, int compileFlags, std::bitset<256>& result) {
  // With the newline flag '$' also matches before inner line ends.
  if ((compileFlags & kUdqnNewline) != 0 || p.empty() || p.back() != '$') return false;
  if (p.size() >= 2 && p[p.size() - 2] == '\\') return false;  // an escaped '$'
  const bool icase = (compileFlags & kUdqnIcase) != 0;
  std::vector<Item> items;
  std::size_t i = 0;
  const std::size_t end = p.size() - 1;  // the final '$'
  while (i < end) {
    const char c = p[i];
    Item item;
    if (c == '|' || c == '$' || c == ')' || c == '?' || c == '*' || c == '+' || c == '{') {
      return false;
    } else if (c == '(') {
      // Option settings and verbs change how the rest is read.
      if (i + 1 < p.size() && (p[i + 1] == '*' || (p[i + 1] == '?' && i + 2 < p.size() &&
                                                    std::string_view("imnsxJU-^)").find(p[i + 2]) != std::string_view::npos)))
        return false;
      if (!SkipGroup(p, i)) return false;
      item.known = false;
    } else if (c == '[') {
      if (!ClassSet(p, i, icase, item.set)) return false;
    } else if (c == '\\') {
      if (i + 1 >= end) return false;
      const char e = p[i + 1];
      i += 2;
      if (e == 'b' || e == 'B') {
        item.optional = true;  // zero width
      } else if (!EscapeSet(e, item.set)) {
        return false;
      } else if (icase) {
        item.set = FoldCase(item.set);
      }
    } else if (c == '^') {
      ++i;
      item.optional = true;  // zero width
    } else if (c == '.') {
      ++i;
      item.set = ~Chars("\n");
    } else {
      ++i;
      item.set = Chars(std::string_view(&c, 1));
      if (icase) item.set = FoldCase(item.set);
    }
    if (i > end || !Quantifier(p, i, item) || i > end) return false;
    items.push_back(item);
  }
  // The last character of a match comes from the last item that must consume
  // one, or from any optional item after it.
  CharSet last;
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    if (!it->known) return false;
    last |= it->set;
    if (!it->optional && it->set.any()) {
      result = last;
      return true;
    }
  }
  return false;  // an empty match is possible
}
