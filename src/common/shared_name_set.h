// A set of names that one thread adds to while other threads look names up
// without a lock: the run's macro names, which every worker reads for each
// new identifier while the main thread merges the names of each file. A
// look-up never waits for an addition, so a worker is not held up by the
// merge of a file with thousands of #defines.
//
// Names and slots are published with release stores, so a reader that finds
// a slot also sees its text. When the table grows, the new one is published
// and the old one is freed once no reader still probes it: each reader
// thread announces the table it probes in a slot of its own (a hazard
// pointer), and the growing thread waits for those announcements to move on.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

class SharedNameSet {
 public:
  // Reader numbers: a thread that looks names up while another adds passes
  // its own number, 0 to kMaxReaders - 1; the adding thread passes none.
  static constexpr int kMaxReaders = 256;

  SharedNameSet() = default;
  ~SharedNameSet();
  SharedNameSet(const SharedNameSet&) = delete;
  SharedNameSet& operator=(const SharedNameSet&) = delete;

  // By the one thread that adds: the stored copy of the name (NUL-terminated),
  // added when it is new; null when memory runs out.
  const char* Intern(std::string_view name);
  const char* Intern(std::string_view name, std::uint32_t hash);
  // By the adding thread, or by any thread while no thread adds.
  bool Contains(std::string_view name) const;
  bool Contains(std::string_view name, std::uint32_t hash) const;
  // By reader thread number reader while one thread may add.
  bool ContainsAsReader(std::string_view name, std::uint32_t hash, int reader) const;
  // Asks the processor to fetch the slot a look-up of this hash starts at.
  void Prefetch(std::uint32_t hash) const;
  std::size_t size() const { return count_; }

 private:
  struct Table;
  struct TableDeleter {
    void operator()(Table* table) const;
  };
  // One reader's announcement, on a cache line of its own.
  struct alignas(64) Hazard {
    std::atomic<const Table*> table{nullptr};
  };

  static constexpr unsigned kOffsetBits = 20;
  static constexpr std::size_t kBlock = std::size_t{1} << kOffsetBits;
  static constexpr std::size_t kMaxBlocks = std::size_t{1} << (32 - kOffsetBits);
  static constexpr std::size_t kFirstTable = 1024;

  bool Probe(const Table& table, std::string_view name, std::uint32_t hash) const;
  const char* Text(std::uint32_t ref) const;
  bool Grow();
  std::uint32_t Store(std::string_view name);

  std::atomic<Table*> table_{nullptr};
  std::unique_ptr<Table, TableDeleter> owned_;  // the table table_ points to
  // Text blocks never move: a reader finds a block by its number.
  std::array<std::atomic<char*>, kMaxBlocks> blocks_{};
  std::size_t blockCount_ = 0;
  std::size_t current_ = 0;      // the block short names go to
  std::size_t currentSize_ = 0;  // its size (0 before the first)
  std::size_t used_ = 0;         // bytes used in it
  std::size_t count_ = 0;
  mutable std::array<Hazard, kMaxReaders> hazards_{};
};
