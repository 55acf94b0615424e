#include "reports/listing_threads.h"

#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "common/gcd.h"
#include "common/ordered_blocks.h"
#include "common/output.h"
#include "common/run_share.h"
#include "driver/schedule_hook.h"
#include "driver/worker_record.h"
#include "reports/entity_metrics.h"

namespace {

// Lists shorter than this are written on the calling thread: starting the
// threads would cost more than it saves.
constexpr std::size_t kThreadedEntries = 4096;
constexpr std::size_t kEntriesPerBlock = 1024;

// The per-file language flags WhichFile sets, which function points read.
struct LanguageMark {
  bool set = false;
  int isC = 0, isCpp = 0, isJava = 0, isCSharp = 0, isOther = 0, isHeader = 0, current = -1;

  static LanguageMark Of(const LanguageState& l) {
    return {true, l.isC, l.isCpp, l.isJava, l.isCSharp, l.isOther, l.isHeader, l.current};
  }
  void ApplyTo(LanguageState& l) const {
    l.isC = isC, l.isCpp = isCpp, l.isJava = isJava, l.isCSharp = isCSharp;
    l.isOther = isOther, l.isHeader = isHeader, l.current = current;
  }
};

// A language index WhichFile never sets: it tells whether a block's entries
// made a file's language current.
constexpr int kUntouched = -2;

struct Plan {
  std::size_t threshold = kThreadedEntries;
  std::size_t blockSize = kEntriesPerBlock;
};

// Under the tests' schedule hook every listing uses the threads, in blocks
// of two entries, so that the end-to-end fixtures exercise the block order.
Plan ListingPlan() {
  Plan plan;
  const char* text = std::getenv(kScheduleHookVariable);
  if (text == nullptr || *text == '\0') return plan;
  const ScheduleHook hook = ParseScheduleHook(text);
  if (hook.valid && hook.jobs > 1) plan = {1, 2};
  return plan;
}

// The first node of each block. Walking half a million nodes scattered in
// memory takes a tenth of a second, so the threads find the blocks' starts as
// they take them (in block order), each walking on from the last start found,
// instead of the calling thread walking the whole list before they begin.
class BlockStarts {
 public:
  BlockStarts(const Llist<NodeData>& list, std::size_t blockSize) : blockSize_(blockSize) {
    starts_.push_back(list.head);
  }
  const LlistNode<NodeData>* Of(std::size_t block) {
    std::lock_guard<std::mutex> hold(mutex_);
    while (starts_.size() <= block) {
      const LlistNode<NodeData>* node = starts_.back();
      for (std::size_t i = 0; i < blockSize_ && node != nullptr; ++i) node = node->next;
      starts_.push_back(node);
    }
    return starts_[block];
  }

 private:
  const std::size_t blockSize_;
  std::mutex mutex_;
  std::vector<const LlistNode<NodeData>*> starts_;
};

}  // namespace

void WriteListingEntries(const Llist<NodeData>& list, EntryWriter entry, GlobalData& gcd) {
  const std::size_t count = list.count > 0 ? static_cast<std::size_t>(list.count) : 0;
  const Plan plan = ListingPlan();
  if (gcd.drv.workers <= 1 || count < plan.threshold || ReportDiscarded()) {
    FileLanguage language;
    for (const NodeData& r : list) entry(r, language, gcd);
    return;
  }
  // Each thread writes with a record of its own: the entries make a file's
  // language current for its function points.
  RunShare share;
  std::vector<std::unique_ptr<GlobalData>> own;
  for (int t = 0; t < gcd.drv.workers; ++t) own.push_back(NewWorkerRecord(gcd, share));
  OrderedBlocks blocks;
  blocks.count = count;
  blocks.blockSize = plan.blockSize;
  blocks.threads = gcd.drv.workers;
  std::vector<LanguageMark> marks((count + plan.blockSize - 1) / plan.blockSize);
  BlockStarts starts(list, plan.blockSize);
  WriteOrderedBlocks(blocks, [&](int thread, std::size_t first, std::size_t last) {
    GlobalData& g = *own[static_cast<std::size_t>(thread)];
    g.lang.current = kUntouched;
    FileLanguage language;
    const LlistNode<NodeData>* node = starts.Of(first / plan.blockSize);
    for (std::size_t i = first; i < last && node != nullptr; ++i, node = node->next) entry(*node->data, language, g);
    if (g.lang.current != kUntouched) marks[first / plan.blockSize] = LanguageMark::Of(g.lang);
  });
  // The run's record ends with the language the last entry made current.
  for (auto it = marks.rbegin(); it != marks.rend(); ++it) {
    if (!it->set) continue;
    it->ApplyTo(gcd.lang);
    break;
  }
}
