// Line-by-line comparison of two differential data files with the longest
// common subsequence: every line of the pair is counted as equal (=), new or
// modified (+) or removed (-) by its line type group.
#pragma once

#include <cstdint>
#include <vector>

#include "workdiff/line_data.h"

struct GlobalData;

// One step of the -ws listing.
struct DiffListingEntry {
  int olderLine = 0;
  char state = 0;
  char type = 0;
  int newerLine = 0;
};

// The comparison table of one block. Row i and column j stand for the
// block's older line i and newer line j; L(i, j) is the length of the longest
// common subsequence of the older lines from i on and the newer lines from j
// on. The walk through the table asks, at a cell whose lines differ, whether
// L below is smaller than L to the right. The table keeps, for every cell,
// one bit: L(i, j) - L(i, j + 1), filled one row at a time with 64 cells per
// machine word (the bit-parallel row recurrence of the LCS). The walk
// recovers from those bits exactly the lengths it compares, so it takes the
// same steps as a walk through a table of lengths, at an eighth of a byte a
// cell instead of twelve bytes.
// The leading lines both ranges share are walked as equal before the table:
// a match always moves diagonally, and the lengths after them depend only on
// the lines after them.
struct LcsMatrix {
  DiffDataNode* older = nullptr;  // the block's older lines (rows)
  int olderCount = 0;
  DiffDataNode* newer = nullptr;  // the block's newer lines (columns)
  int newerCount = 0;
  int prefix = 0;                 // leading lines equal on both sides
  int rows = 0, cols = 0;         // the table after the prefix
  std::vector<int> olderKey, newerKey;  // equal keys for matching lines
  // Row i: bit k is L(i, j) - L(i, j + 1) for column j = cols - 1 - k.
  std::vector<std::uint64_t> bits;
  std::size_t wordsPerRow = 0;
  double bytes = 0;               // the block's classic matrix, 12 bytes a cell
  std::vector<DiffListingEntry> listing;  // the block's steps, with -ws
};

// Most cells one table may have (128 MiB of bits); a larger block is
// reported as a matrix that cannot be allocated.
inline constexpr std::uint64_t kMaxLcsCells = std::uint64_t{1} << 30;

// Fills the table of the block older[hstart, hstop) x newer[pstart, pstop).
// False when it cannot be allocated.
bool lcsDiffData(DiffDataList& older, int hstart, int hstop, DiffDataList& newer, int pstart, int pstop,
                 LcsMatrix& matrix);
// Walks the table from its first row and column, counting every line and,
// with -ws, recording the listing.
void lcsSequence(LcsMatrix& matrix, GlobalData& gcd);
// Counts one line: state '+', '=' or '-', type one of B C N G L n g l.
// Any other type ends the run.
void diffMetric(char state, char type, GlobalData& gcd);
// One line of the -ws listing, when the show setting of its state is Yes.
void ShowDiffLine(int olderLine, char state, char type, int newerLine, GlobalData& gcd);
// Compares one pair of data files block by block and sets the line
// counters. 1 on success, 0 when a table could not be allocated (the
// counters reached so far stay).
int CompareCodeLCS(const char* fileName, DiffDataList& older, DiffDataList& newer, GlobalData& gcd);
