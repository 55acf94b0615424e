#include "common/name_set.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

std::uint32_t NameSet::Hash(std::string_view name) {
  const std::size_t h = std::hash<std::string_view>{}(name);
  return static_cast<std::uint32_t>(h ^ (h >> 32));
}

std::size_t NameSet::Find(std::string_view name, std::uint32_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.ref == 0) return i;
    if (slot.hash != hash) continue;
    const char* stored = Text(slot.ref);
    if (std::memcmp(stored, name.data(), name.size()) == 0 && stored[name.size()] == '\0') return i;
  }
}

bool NameSet::Contains(std::string_view name, std::uint32_t hash) const {
  if (count_ == 0) return false;  // also when the table was never made
  return slots_[Find(name, hash)].ref != 0;
}

bool NameSet::Grow() {
  const std::size_t size = slots_.empty() ? kFirstTable : slots_.size() * 2;
  std::vector<Slot, LargeTableAllocator<Slot>> grown;
  try {
    grown.resize(size);
  } catch (const std::bad_alloc&) {
    return false;
  }
  const std::size_t mask = size - 1;
  for (const Slot& slot : slots_) {
    if (slot.ref == 0) continue;
    std::size_t i = slot.hash & mask;
    while (grown[i].ref != 0) i = (i + 1) & mask;
    grown[i] = slot;
  }
  slots_.swap(grown);
  return true;
}

std::uint32_t NameSet::Store(std::string_view name) {
  const std::size_t need = name.size() + 1;
  if (blocks_.size() >= kMaxBlocks) return 0;
  try {
    blocks_.reserve(blocks_.size() + 1);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  std::size_t block = 0;
  std::size_t offset = 0;
  if (need > kBlock / 4) {
    // A long name gets a block of its own; short names go on in the current one.
    std::unique_ptr<char[]> own(new (std::nothrow) char[need]);
    if (!own) return 0;
    block = blocks_.size();
    blocks_.push_back(std::move(own));
  } else {
    if (currentSize_ - used_ < need) {
      std::size_t size = currentSize_ == 0 ? kFirstBlock : currentSize_ * 2;
      if (size > kBlock) size = kBlock;
      while (size < need) size *= 2;
      std::unique_ptr<char[]> fresh(new (std::nothrow) char[size]);
      if (!fresh) return 0;
      current_ = blocks_.size();
      currentSize_ = size;
      blocks_.push_back(std::move(fresh));
      used_ = 0;
    }
    block = current_;
    offset = used_;
    used_ += need;
  }
  char* at = blocks_[block].get() + offset;
  std::memcpy(at, name.data(), name.size());
  at[name.size()] = '\0';
  return static_cast<std::uint32_t>((block << kOffsetBits | offset) + 1);
}

const char* NameSet::Intern(std::string_view name, std::uint32_t hash) {
  std::size_t at = 0;
  if (!slots_.empty()) {
    at = Find(name, hash);
    if (slots_[at].ref != 0) return Text(slots_[at].ref);
  }
  // Keep the table at most 70 % full.
  if ((count_ + 1) * 10 > slots_.size() * 7) {
    if (!Grow()) return nullptr;
    at = Find(name, hash);
  }
  const std::uint32_t ref = Store(name);
  if (ref == 0) return nullptr;
  slots_[at] = Slot{hash, ref};
  ++count_;
  return Text(ref);
}

void NameSet::Clear() {
  // A table that one large file grew is cut back to the first size, so that
  // clearing costs the same for every file after it.
  if (count_ > 0) {
    if (slots_.size() > kFirstTable) slots_.assign(kFirstTable, Slot{});
    else std::fill(slots_.begin(), slots_.end(), Slot{});
  }
  count_ = 0;
  used_ = 0;
  // The block short names went to is kept only when small: a set filled
  // anew for each file would otherwise keep the largest block one file ever
  // needed, and the parallel run keeps such sets for every file in its window.
  if (currentSize_ == 0 || currentSize_ > kKeptBlock) {
    blocks_.clear();
    currentSize_ = 0;
    return;
  }
  std::unique_ptr<char[]> kept = std::move(blocks_[current_]);
  blocks_.clear();
  blocks_.push_back(std::move(kept));
  current_ = 0;
}
