// The longest-common-subsequence comparison of two data files: the blocks, the
// table of each block, the walk that counts the lines, and the -ws listing.
#include "workdiff/lcs.h"

#include <cmath>
#include <cstring>
#include <new>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/exit.h"

namespace {

constexpr const char* kListingRule = "  ----------------------------------------\n";

// Lines match when their types and signatures are equal: each distinct
// (type, signature) gets one key. Signatures compare as numbers, so -0 and
// +0 are one key and a NaN signature matches nothing.
struct LineKey {
  std::uint64_t bits;
  char type;
  bool operator==(const LineKey& o) const { return bits == o.bits && type == o.type; }
};
struct LineKeyHash {
  std::size_t operator()(const LineKey& k) const {
    return std::hash<std::uint64_t>()(k.bits * 31u + static_cast<unsigned char>(k.type));
  }
};

bool LinesMatch(const DiffDataNode& a, const DiffDataNode& b) {
  return a.type == b.type && a.signature == b.signature;
}

void AssignKeys(const DiffDataNode* lines, int count, std::vector<int>& keys,
                std::unordered_map<LineKey, int, LineKeyHash>& index, int nanKey) {
  keys.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    double sig = lines[i].signature;
    if (std::isnan(sig)) {
      keys[static_cast<std::size_t>(i)] = nanKey;
      continue;
    }
    if (sig == 0.0) sig = 0.0;  // -0 and +0 are equal signatures
    std::uint64_t bits = 0;
    std::memcpy(&bits, &sig, sizeof bits);
    auto [it, added] = index.emplace(LineKey{bits, lines[i].type}, static_cast<int>(index.size()));
    keys[static_cast<std::size_t>(i)] = it->second;
  }
}

bool Bit(const LcsMatrix& m, int row, int k) {
  const std::uint64_t word = m.bits[static_cast<std::size_t>(row) * m.wordsPerRow + (static_cast<unsigned>(k) >> 6)];
  return ((word >> (k & 63)) & 1u) != 0;
}

// The set bits of row from bit lo to bit hi (inclusive).
long long CountBits(const LcsMatrix& m, int row, int lo, int hi) {
  if (lo > hi) return 0;
  const std::uint64_t* w = m.bits.data() + static_cast<std::size_t>(row) * m.wordsPerRow;
  const int first = lo >> 6, last = hi >> 6;
  const std::uint64_t loMask = ~std::uint64_t{0} << (lo & 63);
  const std::uint64_t hiMask = (hi & 63) == 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << ((hi & 63) + 1)) - 1;
  if (first == last) return __builtin_popcountll(w[first] & loMask & hiMask);
  long long n = __builtin_popcountll(w[first] & loMask) + __builtin_popcountll(w[last] & hiMask);
  for (int x = first + 1; x < last; ++x) n += __builtin_popcountll(w[x]);
  return n;
}

// L(row, j) for the column j = cols - 1 - kmax: the bits of the row from the
// column on, which are bits 0 to kmax.
long long RowCount(const LcsMatrix& m, int row, int kmax) { return CountBits(m, row, 0, kmax); }

// L below the walk's cell. On one row the walk only moves right, so the
// count of the row is kept and lowered as its column advances.
struct BelowCount {
  int row = -1, kmax = -1;
  long long count = 0;
  long long Get(const LcsMatrix& m, int r, int k) {
    if (r >= m.rows) return 0;  // below the last row every length is 0
    if (r != row || k > kmax) {
      row = r;
      kmax = k;
      count = RowCount(m, r, k);
    } else if (k < kmax) {
      count -= CountBits(m, r, k + 1, kmax);
      kmax = k;
    }
    return count;
  }
};

// Fills the bits of every row, from the last row up. The row recurrence works
// on the columns in reverse order (bit k is column cols - 1 - k), where each
// row is one multi-word addition: V' = (V + (V & M)) | (V & ~M), M being the
// columns that match the row's line; the complement of V holds the row's
// bits.
void FillTable(LcsMatrix& m, int keyCount) {
  const int rows = m.rows, cols = m.cols;
  const std::size_t words = (static_cast<std::size_t>(cols) + 63) / 64;
  m.wordsPerRow = words;
  m.bits.assign(static_cast<std::size_t>(rows) * words, 0);
  // The columns of each key, as bit positions (compressed row storage).
  std::vector<int> start(static_cast<std::size_t>(keyCount) + 1, 0);
  for (int j = 0; j < cols; ++j) {
    const int key = m.newerKey[static_cast<std::size_t>(j)];
    if (key >= 0) ++start[static_cast<std::size_t>(key) + 1];
  }
  for (int k = 0; k < keyCount; ++k) start[static_cast<std::size_t>(k) + 1] += start[static_cast<std::size_t>(k)];
  std::vector<int> positions(static_cast<std::size_t>(start[static_cast<std::size_t>(keyCount)]));
  {
    std::vector<int> next(start.begin(), start.end() - 1);
    for (int j = 0; j < cols; ++j) {
      const int key = m.newerKey[static_cast<std::size_t>(j)];
      if (key >= 0) positions[static_cast<std::size_t>(next[static_cast<std::size_t>(key)]++)] = cols - 1 - j;
    }
  }
  // Keys on many columns keep a ready mask; the others set their few bits in
  // a scratch mask and clear them again.
  std::vector<int> maskOf(static_cast<std::size_t>(keyCount), -1);
  std::vector<std::uint64_t> masks;
  std::vector<std::uint64_t> scratch(words, 0);
  std::vector<std::uint64_t> v(words, ~std::uint64_t{0});
  const std::uint64_t lastMask =
      (cols & 63) == 0 ? ~std::uint64_t{0} : (std::uint64_t{1} << (cols & 63)) - 1;
  for (int i = rows - 1; i >= 0; --i) {
    const int key = m.olderKey[static_cast<std::size_t>(i)];
    const int from = key >= 0 ? start[static_cast<std::size_t>(key)] : 0;
    const int to = key >= 0 ? start[static_cast<std::size_t>(key) + 1] : 0;
    if (to > from) {
      const std::uint64_t* mask = scratch.data();
      if (static_cast<std::size_t>(to - from) > words) {
        int& slot = maskOf[static_cast<std::size_t>(key)];
        if (slot < 0) {
          slot = static_cast<int>(masks.size() / words);
          masks.resize(masks.size() + words, 0);
          std::uint64_t* out = masks.data() + static_cast<std::size_t>(slot) * words;
          for (int x = from; x < to; ++x) {
            const int pos = positions[static_cast<std::size_t>(x)];
            out[pos >> 6] |= std::uint64_t{1} << (pos & 63);
          }
        }
        mask = masks.data() + static_cast<std::size_t>(slot) * words;
      } else {
        for (int x = from; x < to; ++x) {
          const int pos = positions[static_cast<std::size_t>(x)];
          scratch[static_cast<std::size_t>(pos >> 6)] |= std::uint64_t{1} << (pos & 63);
        }
      }
      std::uint64_t carry = 0;
      for (std::size_t w = 0; w < words; ++w) {
        const std::uint64_t x = v[w];
        const std::uint64_t u = x & mask[w];
        const std::uint64_t sum = x + u;
        const std::uint64_t total = sum + carry;
        carry = (sum < x) | (total < sum);
        v[w] = total | (x & ~mask[w]);
      }
      if (mask == scratch.data())
        for (int x = from; x < to; ++x) {
          const int pos = positions[static_cast<std::size_t>(x)];
          scratch[static_cast<std::size_t>(pos >> 6)] = 0;
        }
    }
    std::uint64_t* out = m.bits.data() + static_cast<std::size_t>(i) * words;
    for (std::size_t w = 0; w < words; ++w) out[w] = ~v[w];
    out[words - 1] &= lastMask;
  }
}

bool Html(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Html; }

void ListingHead(const char* fileName, GlobalData& gcd) {
  switch (gcd.sw.outputMode) {
    case OutputMode::Csv:
      OutF("File: %s\nOlder, , ,Newer\nLine Number,Diff,Type,Line Number\n", fileName);
      break;
    case OutputMode::Html:
      OutF("  <b>File:<font color=\"%s\"> %s</font></b>\n", gcd.cfg.htmlFileNameColor.c_str(), fileName);
      OutF("  <b><font color=\"%s\">Older     </font>                  <font color=\"%s\">Newer  </font></b>\n",
           gcd.cfg.htmlOldFileDiffColor.c_str(), gcd.cfg.htmlNewFileDiffColor.c_str());
      OutS(kListingRule);
      OutS("  <b>Line Number    Diff  Type   Line Number</b>\n");
      break;
    case OutputMode::Xml:
      OutF("<code_differential>\n<file>%s</file>\n", fileName);
      break;
    case OutputMode::Text:
      OutF("  File: %s\n  Older                       Newer\n", fileName);
      OutS(kListingRule);
      OutS("  Line Number    Diff  Type   Line Number\n");
      break;
  }
}

void ListingEnd(bool equivalent, GlobalData& gcd) {
  switch (gcd.sw.outputMode) {
    case OutputMode::Csv:
      if (equivalent) OutF("*** File is Equivalent ***\n");
      break;
    case OutputMode::Html:
      if (equivalent)
        OutF("       <b>*** <font color=\"%s\">File is Equivalent</font> ***</b>\n",
             gcd.cfg.htmlEqualCodeDiffColor.c_str());
      OutS(kListingRule);
      break;
    case OutputMode::Xml:
      if (equivalent) OutF("<equivalent>File is Equivalent</equivalent>\n");
      OutF("</code_differential>\n");
      break;
    case OutputMode::Text:
      if (equivalent) OutF("       *** File is Equivalent ***\n");
      OutS(kListingRule);
      break;
  }
}

void DebugRange(int hstart, int hstop, int pstart, int pstop) {
  OutF("**** hstart: %d\n", hstart);
  OutF("**** hstop: %d\n", hstop);
  OutF("**** pstart: %d\n", pstart);
  OutF("**** pstop: %d\n", pstop);
}

// The walk reads only cells inside the table; anything else is a fault of
// the program, and the run ends rather than read outside the table.
void CheckCell(int i, int j, const LcsMatrix& matrix, GlobalData& gcd) {
  if (i < 0 || i >= matrix.rows) {
    OutF("\n  Error: Array bounds error - row %d, must be < %d\n", i, matrix.rows);
    ExitRun(1, gcd);
  }
  if (j < 0 || j >= matrix.cols) {
    OutF("\n  Error: Array bounds error - column %d, must be < %d\n", j, matrix.cols);
    ExitRun(1, gcd);
  }
}

// Compares one block; false after the allocation message.
bool CompareBlock(const char* fileName, DiffDataList& older, int hstart, int hstop, DiffDataList& newer,
                  int pstart, int pstop, GlobalData& gcd) {
  LcsMatrix matrix;
  if (!lcsDiffData(older, hstart, hstop, newer, pstart, pstop, matrix)) {
    OutF("\n  Error: Memory Allocation LCS Array\n         File - %s\n         Size - %.0f bytes\n", fileName,
         matrix.bytes);
    return false;
  }
  lcsSequence(matrix, gcd);
  for (const DiffListingEntry& e : matrix.listing) ShowDiffLine(e.olderLine, e.state, e.type, e.newerLine, gcd);
  return true;
}

}  // namespace

bool lcsDiffData(DiffDataList& older, int hstart, int hstop, DiffDataList& newer, int pstart, int pstop,
                 LcsMatrix& matrix) {
  const int olderSize = static_cast<int>(older.size());
  const int newerSize = static_cast<int>(newer.size());
  hstart = hstart < 0 ? 0 : hstart > olderSize ? olderSize : hstart;
  pstart = pstart < 0 ? 0 : pstart > newerSize ? newerSize : pstart;
  hstop = hstop > olderSize ? olderSize : hstop < hstart ? hstart : hstop;
  pstop = pstop > newerSize ? newerSize : pstop < pstart ? pstart : pstop;
  matrix = LcsMatrix{};
  matrix.older = older.data() + hstart;
  matrix.olderCount = hstop - hstart;
  matrix.newer = newer.data() + pstart;
  matrix.newerCount = pstop - pstart;
  matrix.bytes = (matrix.olderCount + 2.0) * (matrix.newerCount + 2.0) * 12.0;
  int prefix = 0;
  while (prefix < matrix.olderCount && prefix < matrix.newerCount && LinesMatch(matrix.older[prefix], matrix.newer[prefix]))
    ++prefix;
  matrix.prefix = prefix;
  const int rows = matrix.olderCount - prefix;
  const int cols = matrix.newerCount - prefix;
  if (static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(cols) > kMaxLcsCells) return false;
  matrix.rows = rows;
  matrix.cols = cols;
  try {
    std::unordered_map<LineKey, int, LineKeyHash> index;
    AssignKeys(matrix.older + prefix, rows, matrix.olderKey, index, -1);
    AssignKeys(matrix.newer + prefix, cols, matrix.newerKey, index, -2);
    if (rows == 0 || cols == 0) return true;
    FillTable(matrix, static_cast<int>(index.size()));
  } catch (const std::bad_alloc&) {
    matrix.bits.clear();
    matrix.bits.shrink_to_fit();
    return false;
  }
  return true;
}

void lcsSequence(LcsMatrix& matrix, GlobalData& gcd) {
  const bool listing = gcd.sw.workDetails != 0;
  auto step = [&](DiffDataNode* line, char state, int olderLine, int newerLine) {
    line->state = state;
    diffMetric(state, line->type, gcd);
    if (listing) matrix.listing.push_back(DiffListingEntry{olderLine, state, line->type, newerLine});
  };
  if (listing) matrix.listing.reserve(static_cast<std::size_t>(matrix.olderCount) + matrix.newerCount);
  for (int k = 0; k < matrix.prefix; ++k) {
    matrix.newer[k].state = '=';
    step(&matrix.older[k], '=', matrix.older[k].line, matrix.newer[k].line);
  }
  DiffDataNode* older = matrix.older + matrix.prefix;
  DiffDataNode* newer = matrix.newer + matrix.prefix;
  const int rows = matrix.rows, cols = matrix.cols;
  int i = 0, j = 0;
  if (rows > 0 && cols > 0) {
    // here: L(i, j) at the walk's cell; only a match lowers it, since a step
    // right or down is taken only to a neighbour of the same length.
    long long here = RowCount(matrix, 0, cols - 1);
    BelowCount below;
    while (i < rows && j < cols) {
      if (matrix.olderKey[static_cast<std::size_t>(i)] == matrix.newerKey[static_cast<std::size_t>(j)]) {
        newer[j].state = '=';
        step(&older[i], '=', older[i].line, newer[j].line);
        --here;
        ++i;
        ++j;
        continue;
      }
      CheckCell(i, j, matrix, gcd);
      // L to the right is here minus this cell's bit; L below is counted from
      // the next row. A new line when L below is smaller than L to the right.
      const bool rightShorter = Bit(matrix, i, cols - 1 - j);
      const bool added = !rightShorter && below.Get(matrix, i + 1, cols - 1 - j) < here;
      if (added) {
        step(&newer[j], '+', older[i].line, newer[j].line);
        ++j;
      } else {
        step(&older[i], '-', older[i].line, newer[j].line);
        ++i;
      }
    }
  }
  for (; j < cols; ++j) step(&newer[j], '+', 0, newer[j].line);
  for (; i < rows; ++i) step(&older[i], '-', older[i].line, 0);
}

void diffMetric(char state, char type, GlobalData& gcd) {
  int s = -1;
  if (state == '+') s = kLineAdded;
  else if (state == '=') s = kLineEqual;
  else if (state == '-') s = kLineRemoved;
  int group = -1;
  bool comment = false;
  switch (type) {
    case 'L': group = kLineGroupL; break;
    case 'l': group = kLineGroupL; comment = true; break;
    case 'N': group = kLineGroupN; break;
    case 'n': group = kLineGroupN; comment = true; break;
    case 'G': group = kLineGroupG; break;
    case 'g': group = kLineGroupG; comment = true; break;
    case 'C': group = kLineGroupC; break;
    case 'B': group = kLineGroupB; break;
    default: break;
  }
  if (s < 0 || group < 0) {
    StreamF(stderr, "ERROR - Case Unknown\n");
    ExitRun(1, gcd);
  }
  LineCounters& c = gcd.wd.lines;
  ++c.count[s][group];
  if (comment) ++c.count[s][kLineGroupC];
}

void ShowDiffLine(int olderLine, char state, char type, int newerLine, GlobalData& gcd) {
  const Config& cfg = gcd.cfg;
  const char* colour = nullptr;
  if (state == '-') {
    if (!cfg.showRemovedLines) return;
    colour = cfg.htmlRemovedCodeDiffColor.c_str();
  } else if (state == '+') {
    if (!cfg.showAddedLines) return;
    colour = cfg.htmlModifiedCodeDiffColor.c_str();
  } else if (state == '=') {
    if (!cfg.showEqualLines) return;
    colour = cfg.htmlEqualCodeDiffColor.c_str();
  } else {
    return;
  }
  switch (gcd.sw.outputMode) {
    case OutputMode::Csv:
      if (state == '-') OutF("%11d,%c,%c,%-11s\n", olderLine, state, type, "");
      else if (state == '+') OutF("%11s,%c,%c,%-11d\n", "", state, type, newerLine);
      else OutF("%11d,%c,%c,%-11d\n", olderLine, state, type, newerLine);
      return;
    case OutputMode::Xml:
      OutF("<line><older>%d</older><diff>%c</diff><type>%c</type><newer>%d</newer></line>\n",
           state == '+' ? 0 : olderLine, state, type, state == '-' ? 0 : newerLine);
      return;
    case OutputMode::Html:
    case OutputMode::Text:
      break;
  }
  if (Html(gcd)) OutF("<b><font color=\"%s\">", colour);
  if (state == '-') OutF("  %11d     %c     %c     %-11s", olderLine, state, type, "");
  else if (state == '+') OutF("  %11s     %c     %c     %-11d", "", state, type, newerLine);
  else OutF("  %11d     %c     %c     %-11d", olderLine, state, type, newerLine);
  OutS(Html(gcd) ? "</font></b>\n" : "\n");
}

int CompareCodeLCS(const char* fileName, DiffDataList& older, DiffDataList& newer, GlobalData& gcd) {
  gcd.wd.lines = LineCounters{};
  const char* name = fileName != nullptr ? fileName : "";
  const bool details = gcd.sw.workDetails != 0;
  const bool debug = gcd.sw.diffDebug != 0;
  if (details) ListingHead(name, gcd);
  const int m = gcd.cfg.maxLcsFileLines < 1 ? 1 : gcd.cfg.maxLcsFileLines;
  const int n = static_cast<int>(older.size());
  const int p = static_cast<int>(newer.size());
  if (debug) {
    OutF("**** Hlist count %d\n", n);
    OutF("**** Plist count %d\n", p);
  }
  bool ok = true;
  if (n < m || p < m) {
    if (debug) OutF("**** No Increments \n");
    ok = CompareBlock(name, older, 0, n, newer, 0, p, gcd);
  } else {
    // Blocks of m lines cut from the ends of both files, then the leading
    // remainders of both as one more block.
    const int blocks = (n / m) < (p / m) ? (n / m) : (p / m);
    for (int b = 0; b < blocks && ok; ++b) {
      const int hstop = n - b * m, pstop = p - b * m;
      if (debug) {
        OutF("**** Segment: %d\n", b + 1);
        DebugRange(hstop - m, hstop, pstop - m, pstop);
      }
      ok = CompareBlock(name, older, hstop - m, hstop, newer, pstop - m, pstop, gcd);
    }
    if (ok) {
      const int hstop = n - blocks * m, pstop = p - blocks * m;
      if (debug) {
        OutF("**** Remainder\n");
        DebugRange(0, hstop, 0, pstop);
      }
      ok = CompareBlock(name, older, 0, hstop, newer, 0, pstop, gcd);
    }
  }
  const LineCounters& c = gcd.wd.lines;
  if (debug) {
    auto row = [&](int s) {
      return std::make_tuple(c.count[s][kLineGroupL], c.count[s][kLineGroupN], c.count[s][kLineGroupG],
                             c.count[s][kLineGroupC], c.count[s][kLineGroupB]);
    };
    auto [ml, mn, mg, mc, mb] = row(kLineAdded);
    auto [el, en, eg, ec, eb] = row(kLineEqual);
    auto [rl, rn, rg, rc, rb] = row(kLineRemoved);
    OutF("\nMod L%d N%d G%d C%d B%d\nEq  L%d N%d G%d C%d B%d\nRm  L%d N%d G%d C%d B%d\n", ml, mn, mg, mc, mb, el,
         en, eg, ec, eb, rl, rn, rg, rc, rb);
  }
  if (details) {
    bool changed = false;
    for (int g = 0; g < kLineGroupCount; ++g)
      if (c.count[kLineAdded][g] != 0 || c.count[kLineRemoved][g] != 0) changed = true;
    ListingEnd(ok && !changed, gcd);
  }
  return ok ? 1 : 0;
}
