#include "common/ordered_blocks.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "common/output.h"
#include "common/report_sink.h"

namespace {

class BlockWriter {
 public:
  BlockWriter(const OrderedBlocks& plan, const std::function<void(int, std::size_t, std::size_t)>& format)
      : plan_(plan),
        format_(format),
        blocks_((plan.count + plan.blockSize - 1) / plan.blockSize),
        window_(static_cast<std::size_t>(2 * std::max(1, plan.threads))) {
    slots_.resize(window_);
    for (Slot& slot : slots_) slot.text = std::make_unique<ReportSink>();
  }

  void Run() {
    std::vector<std::thread> threads;
    for (int t = 0; t < plan_.threads; ++t) {
      try {
        threads.emplace_back([this, t] { Work(t); });
      } catch (const std::system_error&) {
        break;  // the threads made do the work
      }
    }
    if (threads.empty()) {
      // Not one thread: the blocks are formatted here, straight to the report.
      for (std::size_t b = 0; b < blocks_; ++b) format_(0, First(b), Last(b));
      return;
    }
    std::exception_ptr failure;
    for (std::size_t b = 0; b < blocks_ && !failure; ++b) {
      Slot& slot = slots_[b % window_];
      {
        std::unique_lock<std::mutex> hold(mutex_);
        done_.wait(hold, [&] { return slot.done; });
        failure = slot.failure;
      }
      if (failure) break;
      Write(*slot.text);
      {
        std::lock_guard<std::mutex> hold(mutex_);
        slot.done = false;
        written_ = b + 1;
      }
      takeable_.notify_one();
    }
    {
      std::lock_guard<std::mutex> hold(mutex_);
      stop_ = true;
    }
    takeable_.notify_all();
    for (std::thread& t : threads) t.join();
    if (failure) std::rethrow_exception(failure);
  }

 private:
  struct Slot {
    std::unique_ptr<ReportSink> text;
    bool done = false;
    std::exception_ptr failure;
  };

  std::size_t First(std::size_t block) const { return block * plan_.blockSize; }
  std::size_t Last(std::size_t block) const { return std::min(plan_.count, First(block) + plan_.blockSize); }

  void Work(int thread) {
    for (;;) {
      std::size_t block = 0;
      {
        std::unique_lock<std::mutex> hold(mutex_);
        takeable_.wait(hold, [this] { return stop_ || next_ >= blocks_ || next_ < written_ + window_; });
        if (stop_ || next_ >= blocks_) return;
        block = next_++;
      }
      Slot& slot = slots_[block % window_];
      std::exception_ptr failure;
      try {
        slot.text->Reset(nullptr);
        ReportSinkScope scope(slot.text.get());
        format_(thread, First(block), Last(block));
      } catch (...) {
        failure = std::current_exception();
      }
      {
        std::lock_guard<std::mutex> hold(mutex_);
        slot.failure = failure;
        slot.done = true;
      }
      done_.notify_one();
    }
  }

  static void Write(ReportSink& text) {
    if (ReportSink* own = CurrentReportSink()) {
      text.AppendTextTo(*own);
      text.Reset(nullptr);
    } else {
      text.FlushTo(gLQAOUT);
    }
  }

  const OrderedBlocks& plan_;
  const std::function<void(int, std::size_t, std::size_t)>& format_;
  const std::size_t blocks_;
  const std::size_t window_;
  std::vector<Slot> slots_;
  std::mutex mutex_;
  std::condition_variable takeable_;
  std::condition_variable done_;
  std::size_t next_ = 0;     // the next block to take
  std::size_t written_ = 0;  // blocks written so far
  bool stop_ = false;
};

}  // namespace

void WriteOrderedBlocks(const OrderedBlocks& plan,
                        const std::function<void(int thread, std::size_t first, std::size_t last)>& format) {
  if (plan.count == 0) return;
  OrderedBlocks sane = plan;
  sane.blockSize = std::max<std::size_t>(1, plan.blockSize);
  sane.threads = std::max(1, plan.threads);
  BlockWriter writer(sane, format);
  writer.Run();
}
