#include "common/name_set.h"

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
    if (slot.id == 0) return i;
    if (slot.hash != hash) continue;
    const char* stored = names_[slot.id - 1];
    if (std::memcmp(stored, name.data(), name.size()) == 0 && stored[name.size()] == '\0') return i;
  }
}

bool NameSet::Contains(std::string_view name) const {
  if (names_.empty()) return false;
  return slots_[Find(name, Hash(name))].id != 0;
}

bool NameSet::Grow() {
  const std::size_t size = slots_.empty() ? 1024 : slots_.size() * 2;
  std::vector<Slot> grown;
  try {
    grown.resize(size);
  } catch (const std::bad_alloc&) {
    return false;
  }
  const std::size_t mask = size - 1;
  for (const Slot& slot : slots_) {
    if (slot.id == 0) continue;
    std::size_t i = slot.hash & mask;
    while (grown[i].id != 0) i = (i + 1) & mask;
    grown[i] = slot;
  }
  slots_.swap(grown);
  return true;
}

char* NameSet::Store(std::string_view name) {
  const std::size_t need = name.size() + 1;
  char* at = nullptr;
  if (need > kBlock / 4) {
    // A long name gets a block of its own, and the current block stays open.
    std::unique_ptr<char[]> own(new (std::nothrow) char[need]);
    if (!own) return nullptr;
    at = own.get();
    blocks_.insert(blocks_.end() - (blocks_.empty() ? 0 : 1), std::move(own));
  } else {
    if (kBlock - blockUsed_ < need) {
      std::unique_ptr<char[]> block(new (std::nothrow) char[kBlock]);
      if (!block) return nullptr;
      blocks_.push_back(std::move(block));
      blockUsed_ = 0;
    }
    at = blocks_.back().get() + blockUsed_;
    blockUsed_ += need;
  }
  std::memcpy(at, name.data(), name.size());
  at[name.size()] = '\0';
  return at;
}

const char* NameSet::Intern(std::string_view name) {
  const std::uint32_t hash = Hash(name);
  if (!names_.empty()) {
    const Slot& slot = slots_[Find(name, hash)];
    if (slot.id != 0) return names_[slot.id - 1];
  }
  if (names_.size() >= 0xFFFFFFF0u) return nullptr;
  // Keep the table at most 70 % full.
  if ((names_.size() + 1) * 10 > slots_.size() * 7 && !Grow()) return nullptr;
  char* stored = Store(name);
  if (stored == nullptr) return nullptr;
  try {
    names_.push_back(stored);
  } catch (const std::bad_alloc&) {
    return nullptr;  // the stored text stays unused
  }
  slots_[Find(name, hash)] = Slot{hash, static_cast<std::uint32_t>(names_.size())};
  return stored;
}
