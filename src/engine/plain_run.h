// Skipping the plain text of a comment, string or character literal sixteen
// bytes at a time: inside them only the closing character, tabs and the line
// end mean anything, and blanks only add to the white space.
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
