// A set of names stored once each: the texts sit back to back in large
// blocks and a table of hashes finds them. A name keeps its address for the
// life of the set, so records can point to it instead of holding a copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class NameSet {
 public:
  NameSet() = default;
  NameSet(const NameSet&) = delete;
  NameSet& operator=(const NameSet&) = delete;

  // The stored copy of the name (NUL-terminated), added when it is new;
  // null when memory runs out. Names hold no NUL byte.
  const char* Intern(std::string_view name);
  // True when the name is in the set.
  bool Contains(std::string_view name) const;
  // Number of names.
  std::size_t size() const { return names_.size(); }

 private:
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t id = 0;  // index into names_ plus one; 0 is an empty slot
  };
  static std::uint32_t Hash(std::string_view name);
  // The slot holding the name, or the empty slot where it belongs.
  std::size_t Find(std::string_view name, std::uint32_t hash) const;
  bool Grow();
  char* Store(std::string_view name);

  static constexpr std::size_t kBlock = 1 << 20;
  std::vector<Slot> slots_;  // a power of two in size, at most 70 % used
  std::vector<const char*> names_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t blockUsed_ = kBlock;  // room left in the last block is kBlock - blockUsed_
};
