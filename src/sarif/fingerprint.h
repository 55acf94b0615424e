// Stable fingerprints of notices: the same notice keeps its fingerprint when
// lines are inserted anywhere or its function moves within its file, so that
// code scanning services and the quality gate can follow it from run to run.
//
// The fingerprint is the FNV-1a 128-bit hash of
//   "lqa-notice/1" NUL ruleId NUL path NUL entity NUL text NUL k
// where entity is the qualified name of the innermost function (else type)
// or empty, text is the flagged line without its bytes up to 0x20 for a line
// notice and empty otherwise, path the file's path relative to the current
// directory (as the GitLab report gives it), and k the occurrence index, from
// 1, among the file's notices with the same rule, entity and text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// An FNV-1a 128-bit hash, fed piece by piece.
class Fnv128 {
 public:
  Fnv128();
  Fnv128& Update(std::string_view bytes);
  Fnv128& UpdateByte(unsigned char byte);
  // Feeds the bytes above 0x20 only (the normalised text of a line).
  Fnv128& UpdateSkippingBlanks(std::string_view bytes);
  std::uint64_t High() const { return hi_; }
  std::uint64_t Low() const { return lo_; }
  // 32 lowercase hexadecimal digits, most significant first.
  std::string Hex() const;
  // The same into out[0..31] (no terminating NUL).
  void HexTo(char* out) const;
  bool operator==(const Fnv128& other) const { return hi_ == other.hi_ && lo_ == other.lo_; }

 private:
  std::uint64_t hi_, lo_;
};

// The hash of a whole text.
Fnv128 Fnv1a128(std::string_view bytes);

// Fnv128().UpdateSkippingBlanks(bytes).Low(), at the cost of a 64-bit hash:
// the low word of an FNV-1a 128 state never depends on its high word.
std::uint64_t Fnv128LowSkippingBlanks(std::string_view bytes);

// The flagged line as fingerprints and the gate compare it: every byte up to
// 0x20 (blanks, tabs, line ends, control characters) removed.
std::string NormalisedLineText(std::string_view line);

// What identifies a notice within its file, apart from its occurrence index.
struct NoticeKey {
  std::string_view ruleId;  // "LQA030"
  std::string_view path;    // relative path, not percent-encoded
  std::string_view entity;  // qualified function or type name, or empty
  std::string_view text;    // the raw flagged line (normalised here), or empty
};

// The hash of everything before the occurrence index; equal keys give equal
// states, so the state also counts the occurrences of a key.
Fnv128 NoticeKeyState(const NoticeKey& key);
// The same in two steps, for callers that hash many notices of one rule and
// file: the tag, rule and path first, then the entity and the text.
Fnv128 NoticeRulePathState(std::string_view ruleId, std::string_view path);
Fnv128 NoticeKeyStateFrom(Fnv128 rulePathState, std::string_view entity, std::string_view text);
// The same again with the entity as a step of its own, which callers may
// keep for the notices of one function.
Fnv128 NoticeEntityState(Fnv128 rulePathState, std::string_view entity);
Fnv128 NoticeKeyStateFromEntity(Fnv128 entityState, std::string_view text);

// Counts the occurrences of keys (NoticeKeyState) within one file: an open
// addressing table that forgets only the keys it holds when cleared, so that
// clearing it for every file costs nothing for files without notices.
class OccurrenceCounter {
 public:
  // The number of times the key has been counted, this time included.
  int Count(const Fnv128& key);
  // Forgets every key. A table grown for a file with many notices is given
  // back, so that the next files work in a table that stays in cache.
  void Clear();

 private:
  struct Slot {
    std::uint64_t hi = 0, lo = 0;
    int count = 0;  // 0: empty
  };
  void Grow();
  std::vector<Slot> slots_;
  std::vector<std::uint32_t> used_;  // indices of the occupied slots
  std::size_t last_ = 0;             // the slot of the last key counted (notices come in runs)
};
// Finishes a key state with the occurrence index k (from 1).
Fnv128 NoticeFingerprintFrom(Fnv128 keyState, int k);
// The fingerprint of the k-th notice with this key in its file.
Fnv128 NoticeFingerprint(const NoticeKey& key, int k);
