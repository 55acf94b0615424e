// Skipping runs of text sixteen bytes at a time: the plain text of a
// comment, string or character literal, in which only the closing character,
// tabs and the line end mean anything and blanks only add to the white
// space; and the letters, digits and '_' of words in code.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The bytes a plain run never passes over: every byte up to 13 (the NUL,
// tab, line feed and carriage return among them) and the run's own closer.
inline bool EndsPlainRun(unsigned char c, unsigned char closer) { return c <= 13 || c == closer; }

// From j on, passes over whole 16-byte blocks of line (none reaching
// `readable` or beyond) while they hold only bytes that do not end a plain
// run; in the block that holds such a byte, stops at it. Adds the blanks
// passed over to *blanks and returns the index reached: the first byte that
// ends the run, or the start of the first block that would reach
// `readable`. Everything from there on is left to the caller's byte loop.
// Without SSE2 nothing is skipped here.
inline int SkipPlainRun(const char* line, int j, int readable, unsigned char closer, int* blanks) {
#if defined(__SSE2__)
  const __m128i low = _mm_set1_epi8(13);
  const __m128i close = _mm_set1_epi8(static_cast<char>(closer));
  const __m128i blank = _mm_set1_epi8(' ');
  int counted = 0;
  while (j + 16 <= readable) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + j));
    // v <= 13 as unsigned bytes: the minimum of v and 13 is v itself.
    const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(v, low), v), _mm_cmpeq_epi8(v, close));
    const unsigned endMask = static_cast<unsigned>(_mm_movemask_epi8(ends));
    unsigned blankMask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, blank)));
    if (endMask != 0) {
      const int at = __builtin_ctz(endMask);
      blankMask &= (1u << at) - 1;
      counted += __builtin_popcount(blankMask);
      j += at;
      break;
    }
    counted += __builtin_popcount(blankMask);
    j += 16;
  }
  *blanks += counted;
  return j;
#else
  (void)line;
  (void)readable;
  (void)closer;
  (void)blanks;
  return j;
#endif
}

// True for a letter, digit or '_' (the characters SkipWordRun passes over).
inline bool IsWordByte(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// From j on, passes over whole 16-byte blocks of line (none reaching
// `readable` or beyond) while they hold only letters, digits and '_'; in the
// block that holds another byte, stops at it. Returns the index reached.
// Without SSE2 nothing is skipped here.
inline int SkipWordRun(const char* line, int j, int readable) {
#if defined(__SSE2__)
  const __m128i zero = _mm_set1_epi8('0');
  const __m128i nine = _mm_set1_epi8(9);
  const __m128i upperA = _mm_set1_epi8('A');
  const __m128i letters = _mm_set1_epi8(25);
  const __m128i caseBit = _mm_set1_epi8(0x20);
  const __m128i underscore = _mm_set1_epi8('_');
  while (j + 16 <= readable) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + j));
    // x - lo <= hi - lo as unsigned bytes: the minimum of the two is x - lo.
    const __m128i d = _mm_sub_epi8(v, zero);
    const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(d, nine), d);
    // Lower case letters fold onto upper case with the 0x20 bit cleared.
    const __m128i l = _mm_sub_epi8(_mm_andnot_si128(caseBit, v), upperA);
    const __m128i letter = _mm_cmpeq_epi8(_mm_min_epu8(l, letters), l);
    const __m128i word = _mm_or_si128(_mm_or_si128(digit, letter), _mm_cmpeq_epi8(v, underscore));
    const unsigned other = ~static_cast<unsigned>(_mm_movemask_epi8(word)) & 0xFFFFu;
    if (other != 0) return j + __builtin_ctz(other);
    j += 16;
  }
  return j;
#else
  (void)line;
  (void)readable;
  return j;
#endif
}
