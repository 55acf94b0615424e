// Bounded text helpers shared by every subsystem.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text buffers of the system hold at most this many characters (2048 bytes with NUL).
inline constexpr std::size_t kTextMax = 2047;
inline constexpr std::size_t kTextBuf = 2048;

// Copies at most cap-1 characters of src into dst[cap] and terminates it.
void CopyBounded(char* dst, std::size_t cap, std::string_view src);
template <std::size_t N>
void CopyBounded(char (&dst)[N], std::string_view src) { CopyBounded(dst, N, src); }

// Assigns at most max characters of src to dst.
void AssignBounded(std::string& dst, std::string_view src, std::size_t max = kTextMax);

// Length of the valid UTF-8 sequence that starts the text (1 to 4 bytes;
// overlong forms, surrogates and code points above U+10FFFF are not valid),
// or 0 when the text is empty or does not start with one.
std::size_t Utf8SequenceLength(std::string_view text);

// Hands the bytes above 0x20 of text to use(kept, count), in pieces of at
// most 256. The bytes are gathered without a branch per byte (code mixes
// words and blanks unpredictably), so the hash fed by use runs unbroken.
template <class Use>
inline void ForNonBlankBytes(std::string_view text, Use&& use) {
  unsigned char kept[256];
  while (!text.empty()) {
    const std::size_t n = text.size() < sizeof kept ? text.size() : sizeof kept;
    std::size_t k = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      kept[k] = c;
      k += c > 0x20 ? 1 : 0;
    }
    use(static_cast<const unsigned char*>(kept), k);
    text.remove_prefix(n);
  }
}

// Writes value in decimal backwards ending just before end and returns where
// the text starts; the space before end must hold 11 characters. Unsigned
// arithmetic keeps the most negative int exact. Inline: report numbers and
// notice lines are written through it per line.
inline char* DecimalBackwards(int value, char* end) {
  char* p = end;
  unsigned u = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    *--p = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  if (value < 0) *--p = '-';
  return p;
}
// Appends the UTF-8 form of a code point below U+110000 (surrogates are the
// caller's to refuse).
void AppendUtf8(std::string& out, unsigned long cp);

// Case-insensitive comparisons of ASCII text.
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Calls fn for each non-empty item of text between separators (isSeparator
// decides), in order, until fn returns true; true when it did.
template <typename IsSeparator, typename Fn>
bool ForEachItem(std::string_view text, IsSeparator isSeparator, Fn fn) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && isSeparator(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !isSeparator(text[i])) ++i;
    if (i > start && fn(text.substr(start, i - start))) return true;
  }
  return false;
}
