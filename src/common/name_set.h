// A set of names stored once each: the texts sit back to back in large
// blocks and a table of hashes finds them. A name keeps its address for the
// life of the set, so records can point to it instead of holding a copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "common/large_table_allocator.h"

class NameSet {
 public:
  NameSet() = default;
  NameSet(const NameSet&) = delete;
  NameSet& operator=(const NameSet&) = delete;

  // The stored copy of the name (NUL-terminated), added when it is new;
  // null when memory runs out. Names hold no NUL byte.
  const char* Intern(std::string_view name) { return Intern(name, Hash(name)); }
  // True when the name is in the set.
  bool Contains(std::string_view name) const { return Contains(name, Hash(name)); }
  // The same with the name's Hash, for a name looked up in several sets.
  static std::uint32_t Hash(std::string_view name);
  const char* Intern(std::string_view name, std::uint32_t hash);
  bool Contains(std::string_view name, std::uint32_t hash) const;
  // Number of names.
  std::size_t size() const { return count_; }
  // Forgets every name. The table's first slots and the block short names
  // went to (when it is small) are kept, so that a set filled anew for each
  // file seldom allocates.
  void Clear();

 private:
  // A slot names its text by block and offset, so that a look-up reads the
  // table and the text and nothing between them. Reference 0 is an empty slot.
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t ref = 0;
  };
  static constexpr unsigned kOffsetBits = 20;
  static constexpr std::size_t kBlock = std::size_t{1} << kOffsetBits;
  static constexpr std::size_t kMaxBlocks = std::size_t{1} << (32 - kOffsetBits);
  // The first block of short names is small (a set may hold a few names of
  // one file); each next one is twice the size, up to kBlock.
  static constexpr std::size_t kFirstBlock = 4096;
  static constexpr std::size_t kFirstTable = 1024;  // slots of a new table
  static constexpr std::size_t kKeptBlock = std::size_t{1} << 16;  // the largest block Clear keeps

  const char* Text(std::uint32_t ref) const {
    return blocks_[(ref - 1) >> kOffsetBits].get() + ((ref - 1) & (kBlock - 1));
  }
  // The slot holding the name, or the empty slot where it belongs.
  std::size_t Find(std::string_view name, std::uint32_t hash) const;
  bool Grow();
  // Copies the name into a block; returns its reference, 0 when out of memory.
  std::uint32_t Store(std::string_view name);

  std::vector<Slot, LargeTableAllocator<Slot>> slots_;  // a power of two in size, at most 70 % used
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t current_ = 0;          // the block short names go to
  std::size_t currentSize_ = 0;      // its size (0 before the first)
  std::size_t used_ = 0;             // bytes used in it
  std::size_t count_ = 0;
};
