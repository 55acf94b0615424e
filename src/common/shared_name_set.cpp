#include "common/shared_name_set.h"

#include <cstring>
#include <new>
#include <thread>

#include "common/large_table_allocator.h"
#include "common/name_set.h"

// A slot is the name's hash in the high half and its text reference in the
// low half; 0 is an empty slot (references start at 1).
struct SharedNameSet::Table {
  std::size_t mask = 0;
  std::atomic<std::uint64_t>* slots = nullptr;
};

namespace {

using SlotAllocator = LargeTableAllocator<std::atomic<std::uint64_t>>;

std::uint64_t SlotOf(std::uint32_t hash, std::uint32_t ref) { return std::uint64_t{hash} << 32 | ref; }

}  // namespace

void SharedNameSet::TableDeleter::operator()(Table* table) const {
  if (table == nullptr) return;
  SlotAllocator().deallocate(table->slots, table->mask + 1);
  delete table;
}

SharedNameSet::~SharedNameSet() {
  for (std::size_t b = 0; b < blockCount_; ++b) delete[] blocks_[b].load(std::memory_order_relaxed);
}

const char* SharedNameSet::Text(std::uint32_t ref) const {
  return blocks_[(ref - 1) >> kOffsetBits].load(std::memory_order_acquire) + ((ref - 1) & (kBlock - 1));
}

bool SharedNameSet::Probe(const Table& table, std::string_view name, std::uint32_t hash) const {
  for (std::size_t i = hash & table.mask;; i = (i + 1) & table.mask) {
    const std::uint64_t slot = table.slots[i].load(std::memory_order_acquire);
    if (slot == 0) return false;
    if (static_cast<std::uint32_t>(slot >> 32) != hash) continue;
    const char* stored = Text(static_cast<std::uint32_t>(slot));
    if (std::memcmp(stored, name.data(), name.size()) == 0 && stored[name.size()] == '\0') return true;
  }
}

bool SharedNameSet::Contains(std::string_view name) const { return Contains(name, NameSet::Hash(name)); }

bool SharedNameSet::Contains(std::string_view name, std::uint32_t hash) const {
  const Table* table = table_.load(std::memory_order_acquire);
  return table != nullptr && Probe(*table, name, hash);
}

bool SharedNameSet::ContainsAsReader(std::string_view name, std::uint32_t hash, int reader) const {
  std::atomic<const Table*>& hazard = hazards_[static_cast<std::size_t>(reader)].table;
  const Table* table = table_.load(std::memory_order_seq_cst);
  for (;;) {
    hazard.store(table, std::memory_order_seq_cst);
    // The table may have been replaced before the announcement was seen.
    const Table* again = table_.load(std::memory_order_seq_cst);
    if (again == table) break;
    table = again;
  }
  const bool found = table != nullptr && Probe(*table, name, hash);
  hazard.store(nullptr, std::memory_order_release);
  return found;
}

void SharedNameSet::Prefetch(std::uint32_t hash) const {
  const Table* table = table_.load(std::memory_order_relaxed);
  if (table != nullptr) __builtin_prefetch(&table->slots[hash & table->mask]);
}

bool SharedNameSet::Grow() {
  const Table* old = owned_.get();
  const std::size_t size = old == nullptr ? kFirstTable : (old->mask + 1) * 2;
  std::unique_ptr<Table, TableDeleter> grown(new (std::nothrow) Table);
  if (!grown) return false;
  try {
    grown->slots = SlotAllocator().allocate(size);
  } catch (const std::bad_alloc&) {
    return false;
  }
  grown->mask = size - 1;
  for (std::size_t i = 0; i < size; ++i) new (&grown->slots[i]) std::atomic<std::uint64_t>(0);
  if (old != nullptr) {
    for (std::size_t j = 0; j <= old->mask; ++j) {
      const std::uint64_t slot = old->slots[j].load(std::memory_order_relaxed);
      if (slot == 0) continue;
      std::size_t i = static_cast<std::uint32_t>(slot >> 32) & grown->mask;
      while (grown->slots[i].load(std::memory_order_relaxed) != 0) i = (i + 1) & grown->mask;
      grown->slots[i].store(slot, std::memory_order_relaxed);
    }
  }
  table_.store(grown.get(), std::memory_order_seq_cst);
  std::unique_ptr<Table, TableDeleter> retired = std::move(owned_);
  owned_ = std::move(grown);
  // Readers that announced the old table finish their probe first.
  if (retired) {
    for (const Hazard& h : hazards_)
      while (h.table.load(std::memory_order_seq_cst) == retired.get()) std::this_thread::yield();
  }
  return true;
}

std::uint32_t SharedNameSet::Store(std::string_view name) {
  const std::size_t need = name.size() + 1;
  std::size_t block = 0;
  std::size_t offset = 0;
  if (need > kBlock / 4) {
    // A long name gets a block of its own; short names go on in the current one.
    if (blockCount_ >= kMaxBlocks) return 0;
    char* own = new (std::nothrow) char[need];
    if (own == nullptr) return 0;
    std::memcpy(own, name.data(), name.size());
    own[name.size()] = '\0';
    block = blockCount_++;
    blocks_[block].store(own, std::memory_order_release);
    return static_cast<std::uint32_t>((block << kOffsetBits) + 1);
  }
  if (currentSize_ - used_ < need) {
    if (blockCount_ >= kMaxBlocks) return 0;
    std::size_t size = currentSize_ == 0 ? 4096 : currentSize_ * 2;
    if (size > kBlock) size = kBlock;
    while (size < need) size *= 2;
    char* fresh = new (std::nothrow) char[size];
    if (fresh == nullptr) return 0;
    current_ = blockCount_++;
    currentSize_ = size;
    used_ = 0;
    blocks_[current_].store(fresh, std::memory_order_release);
  }
  block = current_;
  offset = used_;
  used_ += need;
  char* at = blocks_[block].load(std::memory_order_relaxed) + offset;
  std::memcpy(at, name.data(), name.size());
  at[name.size()] = '\0';
  return static_cast<std::uint32_t>((block << kOffsetBits | offset) + 1);
}

const char* SharedNameSet::Intern(std::string_view name) { return Intern(name, NameSet::Hash(name)); }

const char* SharedNameSet::Intern(std::string_view name, std::uint32_t hash) {
  Table* table = owned_.get();
  if (table != nullptr) {
    for (std::size_t i = hash & table->mask;; i = (i + 1) & table->mask) {
      const std::uint64_t slot = table->slots[i].load(std::memory_order_relaxed);
      if (slot == 0) break;
      if (static_cast<std::uint32_t>(slot >> 32) != hash) continue;
      const char* stored = Text(static_cast<std::uint32_t>(slot));
      if (std::memcmp(stored, name.data(), name.size()) == 0 && stored[name.size()] == '\0') return stored;
    }
  }
  // Keep the table at most 70 % full.
  if (table == nullptr || (count_ + 1) * 10 > (table->mask + 1) * 7) {
    if (!Grow()) return nullptr;
    table = owned_.get();
  }
  const std::uint32_t ref = Store(name);
  if (ref == 0) return nullptr;
  std::size_t i = hash & table->mask;
  while (table->slots[i].load(std::memory_order_relaxed) != 0) i = (i + 1) & table->mask;
  // The text is written before the slot that names it is seen.
  table->slots[i].store(SlotOf(hash, ref), std::memory_order_release);
  ++count_;
  return Text(ref);
}
