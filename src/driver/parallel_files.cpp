#include "driver/parallel_files.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <random>
#include <system_error>
#include <thread>
#include <vector>

#include "common/gcd.h"
#include "common/run_share.h"
#include "driver/file_result.h"
#include "driver/file_work.h"
#include "driver/schedule_hook.h"
#include "driver/usable_cpus.h"
#include "driver/worker_record.h"
#include "engine/macros.h"
#include "notices/udqn_worker.h"
#include "sarif/notice_documents.h"
#include "structure/structure_log.h"
#include "workdiff/data_names.h"

namespace {

// Runs whose files are analysed one after another on the main thread: those
// that show or change something as each file is read (the code listing, the
// rewrites, the debugging output and the user notice display).
bool SerialOnly(const GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  if (sw.codeListing || sw.deTabs || sw.deCarriageReturns || sw.addCarriageReturns) return true;
  if (sw.debug || gcd.udqn.showing) return true;
  return false;
}

// The order in which workers take files: the input order, or for the tests'
// schedule hook each window of files reversed or shuffled, so that later
// files are analysed before earlier ones are merged.
std::vector<int> TakeOrder(int files, int window, const ScheduleHook& hook) {
  std::vector<int> order(static_cast<std::size_t>(files));
  for (int i = 0; i < files; ++i) order[static_cast<std::size_t>(i)] = i;
  if (hook.order == ScheduleHook::Order::InOrder) return order;
  std::mt19937 random(hook.seed);
  for (int from = 0; from < files; from += window) {
    auto first = order.begin() + from;
    auto last = order.begin() + std::min(files, from + window);
    if (hook.order == ScheduleHook::Order::Reverse) std::reverse(first, last);
    else std::shuffle(first, last, random);
  }
  return order;
}

ScheduleHook TestSchedule() {
  const char* text = std::getenv(kScheduleHookVariable);
  if (text == nullptr || *text == '\0') return {};
  ScheduleHook hook = ParseScheduleHook(text);
  return hook.valid ? hook : ScheduleHook{};
}

// Report text held for the merge beyond which workers take no file but the
// one the merge waits for.
constexpr std::size_t kBufferedTextBound = std::size_t{32} << 20;
// Files a worker may be ahead of the merge: enough that a large file at the
// head of the window seldom leaves the other workers idle. (Each file's
// result keeps little memory once merged, so the window costs little.)
constexpr int kWindowPerWorker = 16;
// Files done ahead of the merge before it is woken (unless the workers wait for it).
constexpr int kMergeBatch = 4;
// Memory a slot keeps for the next file's text; a slot that held a larger
// text gives it back, so that the window does not keep its largest texts.
// The slots of a window of many workers keep less each, so that together
// they keep about the text bound: 1 MB each for up to two workers, down to
// 64 KB.
constexpr std::size_t kKeptSlotText = std::size_t{1} << 20;
constexpr std::size_t kLeastKeptSlotText = std::size_t{1} << 16;

class FilePipeline {
 public:
  FilePipeline(GlobalData& run, int workers, const ScheduleHook& hook)
      : run_(run),
        workers_(workers),
        window_(kWindowPerWorker * workers),
        keptText_(std::clamp(kBufferedTextBound / static_cast<std::size_t>(window_), kLeastKeptSlotText, kKeptSlotText)),
        inOrder_(hook.order == ScheduleHook::Order::InOrder) {
    for (FileData& record : run.lists.files) files_.push_back(&record);
    order_ = TakeOrder(static_cast<int>(files_.size()), window_, hook);
    share_.macroNames = &run.macros.names;
    share_.index = &run.lists.index;
    share_.csvFunctionHeaderWritten = &run.rep.csvFunctionHeaderWritten;
    dataNames_ = PlanDataFileNames(run);
    share_.dataNames = &dataNames_;
    slots_.resize(static_cast<std::size_t>(window_));
    for (Slot& slot : slots_) slot.result = std::make_unique<FileResult>();
    // Every worker's record is made here, before any merge changes the run.
    PrepareNoticeDocumentsForWorkers(run);
    for (int w = 0; w < workers; ++w) {
      records_.push_back(NewWorkerRecord(run, share_));
      records_.back()->drv.workerNumber = w;
    }
  }

  int Run() {
    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(workers_));
    for (int w = 0; w < workers_; ++w) {
      try {
        threads.emplace_back([this, w] { Work(*records_[static_cast<std::size_t>(w)]); });
      } catch (const std::system_error&) {
        break;  // no more threads (a process or memory limit): the ones made do the work
      }
    }
    const int files = static_cast<int>(files_.size());
    if (threads.empty()) {
      // Not one worker could start: the files are analysed as in a serial run.
      FileResult result;
      for (int index = 0; index < files; ++index) {
        AnalyzeFile(run_, index, *files_[static_cast<std::size_t>(index)], result);
        MergeFile(run_, result);
      }
      return 0;
    }
    try {
      for (int index = 0; index < files; ++index) Merge(index);
    } catch (...) {
      // A merge or a file analysed again ran out of memory: the workers stop
      // before the failure reaches the driver, as it would in a serial run.
      StopWorkers(threads);
      throw;
    }
    StopWorkers(threads);
    return reruns_;
  }

 private:
  enum class SlotState { Free, Taken, Done };
  struct Slot {
    std::unique_ptr<FileResult> result;
    SlotState state = SlotState::Free;
    bool failed = false;  // the analysis threw: the file is analysed again on the main thread
  };

  void StopWorkers(std::vector<std::thread>& threads) {
    {
      std::lock_guard<std::mutex> hold(mutex_);
      stop_ = true;
    }
    takeable_.notify_all();
    for (std::thread& t : threads) t.join();
  }

  Slot& SlotOf(int index) { return slots_[static_cast<std::size_t>(index % window_)]; }

  // A file may be taken when its slot is free of the files before it and the
  // text waiting for the merge is within bounds; the file the merge waits
  // for is always taken, so a large text holds up the others only. (The
  // tests' shuffled orders may leave that file untaken: they go unbounded.)
  bool Takeable() const {
    if (next_ >= order_.size()) return false;
    const int index = order_[next_];
    if (index >= merged_ + window_) return false;
    return index == merged_ || buffered_ < kBufferedTextBound || !inOrder_;
  }

  // Whether the merge has work enough to be woken for: the file it waits
  // for is done and so are the few after it, or the workers can take no
  // more files until it merges. Waking it for every file would cost a
  // sleep and a wake per file on both sides.
  bool MergeDue() {
    const int files = static_cast<int>(files_.size());
    if (merged_ >= files || SlotOf(merged_).state != SlotState::Done) return false;
    if (!Takeable()) return true;
    for (int i = merged_ + 1; i < merged_ + kMergeBatch; ++i)
      if (i < files && SlotOf(i).state != SlotState::Done) return false;
    return true;
  }

  void Work(GlobalData& own) {
    for (;;) {
      int index = 0;
      bool due = false;
      {
        std::unique_lock<std::mutex> hold(mutex_);
        if (!stop_ && !Takeable()) due = MergeDue();
        if (due) done_.notify_one();
        takeable_.wait(hold, [this] { return stop_ || Takeable(); });
        if (stop_ || next_ >= order_.size()) return;
        index = order_[next_++];
        SlotOf(index).state = SlotState::Taken;
        // Taking it may have filled the window: the merge must not wait
        // for more files then.
        due = MergeDue();
      }
      if (due) done_.notify_one();
      Slot& slot = SlotOf(index);
      bool failed = false;
      if (!run_.udqn.definitions.empty()) {
        std::shared_lock<std::shared_mutex> hold(share_.lock);
        BeginUdqnFile(own.udqn, run_.udqn, slot.result->udqn);
      }
      try {
        DriverState& drv = own.drv;
        const int before = drv.filesProcessed;
        drv.runFailed = 0;
        AnalyzeFile(own, index, *files_[static_cast<std::size_t>(index)], *slot.result);
        slot.result->workerProcessed = drv.filesProcessed - before;
        slot.result->workerRunFailed = drv.runFailed;
      } catch (...) {
        // Out of memory or another failure: the main thread analyses the
        // file again, where the serial run would have met it.
        // Each file's analysis starts from its own reset state, so the
        // record serves the next file.
        failed = true;
      }
      {
        std::lock_guard<std::mutex> hold(mutex_);
        slot.failed = failed;
        slot.state = SlotState::Done;
        buffered_ += slot.result->text.Size();
        due = MergeDue();
      }
      if (due) done_.notify_one();
    }
  }

  void Merge(int index) {
    Slot& slot = SlotOf(index);
    {
      std::unique_lock<std::mutex> hold(mutex_);
      // Caught up with the workers: wait for a batch, then merge what is
      // done without waiting again.
      if (slot.state != SlotState::Done) merging_ = false;
      done_.wait(hold, [&] { return slot.state == SlotState::Done && (merging_ || MergeDue()); });
      merging_ = true;
    }
    FileResult& result = *slot.result;
    const std::size_t text = result.text.Size();
    bool overturned = slot.failed;
    if (!overturned) {
      // Only this thread changes what workers read, so the checks share the
      // lock with their look-ups.
      std::shared_lock<std::shared_mutex> shared(share_.lock);
      overturned = OverturnedMacroLookups(result.macros, run_.macros.names) > 0 ||
                   OverturnedNamespaceLookups(result.structure, run_) > 0 ||
                   (!run_.udqn.definitions.empty() && UdqnOverturned(result.udqn, run_.udqn)) ||
                   LineDataOverturned(result.lineData, run_);
    }
    if (overturned) {
      // A file merged after this one's analysis began defined a name it
      // was told was unknown, or its line data file is not the serial
      // run's: analysed again with the run as it is now, while no worker
      // reads the run.
      std::unique_lock<std::shared_mutex> exclusive(share_.lock);
      ++reruns_;
      DiscardWorkerDataFile(result.lineData);
      FileResult again;
      AnalyzeFile(run_, index, *files_[static_cast<std::size_t>(index)], again);
      MergeFile(run_, again);
    } else {
      MergeSharedRecords(run_, result, &share_.lock);
      MergeFileOutputs(run_, result);
    }
    result.text.Shrink(keptText_);
    {
      std::lock_guard<std::mutex> hold(mutex_);
      slot.state = SlotState::Free;
      slot.failed = false;
      merged_ = index + 1;
      buffered_ -= text;
    }
    // The merge made one more file takeable (or, past the text bound, the
    // one it waits for).
    takeable_.notify_one();
  }

  GlobalData& run_;
  const int workers_;
  const int window_;  // files analysed ahead of the merge, at most
  const std::size_t keptText_;  // text memory a slot keeps once merged
  const bool inOrder_;
  std::vector<FileData*> files_;
  std::vector<int> order_;
  RunShare share_;
  DataNamePlan dataNames_;  // line data file names by file, for the workers
  std::vector<Slot> slots_;
  std::vector<std::unique_ptr<GlobalData>> records_;
  std::mutex mutex_;
  std::condition_variable takeable_;
  std::condition_variable done_;
  std::size_t next_ = 0;  // the next place in order_ to take
  int merged_ = 0;        // files merged so far
  std::size_t buffered_ = 0;  // report text of the files analysed and not yet merged
  int reruns_ = 0;
  bool stop_ = false;
  bool merging_ = false;  // the merge is going through files already done
};

}  // namespace

int WorkersForRun(const GlobalData& gcd) {
  const ScheduleHook hook = TestSchedule();
  int workers = hook.jobs > 0 ? hook.jobs : JobsForRun(gcd.sw);
  if (workers <= 1 || gcd.drv.fileCount <= 1 || SerialOnly(gcd)) return 1;
  return std::min(workers, gcd.drv.fileCount);
}

int AnalyzeFilesInParallel(GlobalData& gcd, int workers) {
  FilePipeline pipeline(gcd, workers, TestSchedule());
  return pipeline.Run();
}
