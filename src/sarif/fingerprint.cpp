#include "sarif/fingerprint.h"

#include <cstring>

#include "common/text.h"

namespace {

// FNV-1a 128: offset basis 0x6c62272e07bb014262b821756295c58d and prime
// 2^88 + 0x13b.
constexpr std::uint64_t kOffsetHigh = 0x6c62272e07bb0142ULL;
constexpr std::uint64_t kOffsetLow = 0x62b821756295c58dULL;
constexpr std::uint64_t kPrimeLow = 0x13b;

using Wide = unsigned __int128;

// h * (2^88 + 0x13b) modulo 2^128.
inline Wide MultiplyByPrime(Wide h) { return h * kPrimeLow + (h << 88); }

inline Wide Join(std::uint64_t hi, std::uint64_t lo) { return (static_cast<Wide>(hi) << 64) | lo; }

constexpr char kTag[] = "lqa-notice/1";

}  // namespace

Fnv128::Fnv128() : hi_(kOffsetHigh), lo_(kOffsetLow) {}

Fnv128& Fnv128::Update(std::string_view bytes) {
  Wide h = Join(hi_, lo_);
  for (char c : bytes) h = MultiplyByPrime(h ^ static_cast<unsigned char>(c));
  hi_ = static_cast<std::uint64_t>(h >> 64);
  lo_ = static_cast<std::uint64_t>(h);
  return *this;
}

Fnv128& Fnv128::UpdateByte(unsigned char byte) {
  const Wide h = MultiplyByPrime(Join(hi_, lo_) ^ byte);
  hi_ = static_cast<std::uint64_t>(h >> 64);
  lo_ = static_cast<std::uint64_t>(h);
  return *this;
}

Fnv128& Fnv128::UpdateSkippingBlanks(std::string_view bytes) {
  ForNonBlankBytes(bytes, [this](const unsigned char* kept, std::size_t k) {
    Update(std::string_view(reinterpret_cast<const char*>(kept), k));
  });
  return *this;
}

std::uint64_t Fnv128LowSkippingBlanks(std::string_view bytes) {
  // The prime is 2^88 + 0x13b: modulo 2^64 only 0x13b is left of it.
  std::uint64_t lo = kOffsetLow;
  ForNonBlankBytes(bytes, [&lo](const unsigned char* kept, std::size_t k) {
    for (std::size_t i = 0; i < k; ++i) lo = (lo ^ kept[i]) * kPrimeLow;
  });
  return lo;
}

namespace {

// The 16 hexadecimal digits of a word, most significant first: each nibble
// is spread into a byte of its own, turned into its digit without a table,
// and the bytes put in writing order.
void WordHex(std::uint64_t word, char* out) {
  for (int half = 0; half < 2; ++half) {
    std::uint64_t x = (word >> (32 - 32 * half)) & 0xffffffffULL;
    x = (x | (x << 16)) & 0x0000ffff0000ffffULL;
    x = (x | (x << 8)) & 0x00ff00ff00ff00ffULL;
    x = (x | (x << 4)) & 0x0f0f0f0f0f0f0f0fULL;
    // 1 in each byte whose nibble is 10 or more.
    const std::uint64_t letters = ((x + 0x0606060606060606ULL) >> 4) & 0x0101010101010101ULL;
    x += 0x3030303030303030ULL + letters * ('a' - '0' - 10);
    x = __builtin_bswap64(x);
    std::memcpy(out + 8 * half, &x, 8);
  }
}

}  // namespace

void Fnv128::HexTo(char* out) const {
  WordHex(hi_, out);
  WordHex(lo_, out + 16);
}

std::string Fnv128::Hex() const {
  std::string out(32, '0');
  HexTo(out.data());
  return out;
}

Fnv128 Fnv1a128(std::string_view bytes) { return Fnv128().Update(bytes); }

std::string NormalisedLineText(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (char c : line)
    if (static_cast<unsigned char>(c) > 0x20) out.push_back(c);
  return out;
}

Fnv128 NoticeRulePathState(std::string_view ruleId, std::string_view path) {
  Fnv128 h;
  h.Update(std::string_view(kTag, sizeof kTag));  // the tag and its NUL
  h.Update(ruleId).UpdateByte(0);
  h.Update(path).UpdateByte(0);
  return h;
}

Fnv128 NoticeEntityState(Fnv128 rulePathState, std::string_view entity) {
  rulePathState.Update(entity).UpdateByte(0);
  return rulePathState;
}

Fnv128 NoticeKeyStateFromEntity(Fnv128 entityState, std::string_view text) {
  entityState.UpdateSkippingBlanks(text).UpdateByte(0);
  return entityState;
}

Fnv128 NoticeKeyStateFrom(Fnv128 rulePathState, std::string_view entity, std::string_view text) {
  return NoticeKeyStateFromEntity(NoticeEntityState(rulePathState, entity), text);
}

Fnv128 NoticeKeyState(const NoticeKey& key) {
  return NoticeKeyStateFrom(NoticeRulePathState(key.ruleId, key.path), key.entity, key.text);
}

Fnv128 NoticeFingerprintFrom(Fnv128 keyState, int k) {
  char digits[16];
  int n = 0;
  unsigned v = k > 0 ? static_cast<unsigned>(k) : 0u;
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (n > 0) keyState.UpdateByte(static_cast<unsigned char>(digits[--n]));
  return keyState;
}

Fnv128 NoticeFingerprint(const NoticeKey& key, int k) { return NoticeFingerprintFrom(NoticeKeyState(key), k); }

namespace {

// The low bits of an FNV state are mixed by little more than a small
// multiplication: both words are folded and spread before a slot is taken.
inline std::size_t SlotOf(std::uint64_t hi, std::uint64_t lo, std::size_t mask) {
  const std::uint64_t mixed = (hi ^ (lo * 0x9e3779b97f4a7c15ULL));
  return static_cast<std::size_t>(mixed ^ (mixed >> 32)) & mask;
}

}  // namespace

int OccurrenceCounter::Count(const Fnv128& key) {
  if (!used_.empty()) {
    Slot& last = slots_[last_];
    if (last.hi == key.High() && last.lo == key.Low()) return ++last.count;
  }
  if ((used_.size() + 1) * 2 > slots_.size()) Grow();
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = SlotOf(key.High(), key.Low(), mask);
  for (;; i = (i + 1) & mask) {
    Slot& s = slots_[i];
    if (s.count == 0) {
      s.hi = key.High();
      s.lo = key.Low();
      s.count = 1;
      used_.push_back(static_cast<std::uint32_t>(i));
      last_ = i;
      return 1;
    }
    if (s.hi == key.High() && s.lo == key.Low()) {
      last_ = i;
      return ++s.count;
    }
  }
}

void OccurrenceCounter::Grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
  const std::size_t mask = slots_.size() - 1;
  std::vector<std::uint32_t> used;
  used.reserve(used_.size());
  for (std::uint32_t at : used_) {
    const Slot& s = old[at];
    std::size_t i = SlotOf(s.hi, s.lo, mask);
    while (slots_[i].count != 0) i = (i + 1) & mask;
    slots_[i] = s;
    used.push_back(static_cast<std::uint32_t>(i));
  }
  used_.swap(used);
}

void OccurrenceCounter::Clear() {
  constexpr std::size_t kKept = 1024;
  if (slots_.size() > kKept) {
    std::vector<Slot>().swap(slots_);
  } else {
    for (std::uint32_t at : used_) slots_[at] = Slot{};
  }
  used_.clear();
}
