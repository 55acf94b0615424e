// Report text held in memory on its way to the report stream: the text one
// file's analysis writes is kept apart from the run's until the file is
// merged, so that the run's text stays in file order whoever wrote it.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

class ReportSink {
 public:
  // What a sink holds before it passes its text on (when it has a stream to
  // pass it to): a file's text runs to hundreds of megabytes with notices
  // listed over a generated source.
  static constexpr std::size_t kDefaultBound = std::size_t{1} << 18;

  // through: the stream that takes the text whenever it would grow past the
  // bound, which keeps memory bounded and, when the sink is the only writer
  // of that stream for the time, the bytes the same; null: the sink keeps
  // all of its text.
  explicit ReportSink(FILE* through = nullptr, std::size_t bound = kDefaultBound);
  ReportSink(const ReportSink&) = delete;
  ReportSink& operator=(const ReportSink&) = delete;

  // Report writers append millions of short pieces: one copy while there is room.
  void Append(const char* text, std::size_t n) {
    if (n <= capacity_ - size_) {
      std::memcpy(data_.get() + size_, text, n);
      size_ += n;
      return;
    }
    AppendMore(text, n);
  }
  // A piece the run writes only once, such as a column header that goes
  // before the first line of its kind in the whole report. The sink holds it
  // like other text but decides when it passes it on, which is always in
  // file order: the piece goes out when *written is still 0 (and sets it),
  // else it is left out. Only the first piece of a flag since the last Reset
  // counts; the later ones are dropped at once.
  void AppendOnce(const char* text, std::size_t n, int* written);
  // The text held, with a piece written once in it as though it went out
  // (a text held in several blocks is joined into one first).
  std::string_view Text();
  // Appends the same text to another sink.
  void AppendTextTo(ReportSink& other) const;
  std::size_t Size() const { return heldBefore_ + size_; }
  // Writes the text held to the stream and empties the sink (its current
  // block is kept for the next file; the full blocks before it are freed).
  void FlushTo(FILE* stream);
  // Drops the text held and sets where text passes through.
  void Reset(FILE* through);
  // Gives back the memory of an empty sink that grew past keep bytes: a
  // sink reused for many files would otherwise hold on to the memory of the
  // largest text it ever held.
  void Shrink(std::size_t keep);

 private:
  void AppendMore(const char* text, std::size_t n);
  void Reserve(std::size_t capacity);
  // Starts a new block for a sink that holds its text, keeping the full one.
  void StartBlock(std::size_t n);
  void DropHeldBlocks();
  // Writes text held, leaving out the pending piece when the run has it.
  void Write(FILE* stream);
  // Writes the bytes [from, to) of the text held.
  void WriteRange(FILE* stream, std::size_t from, std::size_t to) const;
  struct FreeText {
    void operator()(char* p) const { std::free(p); }
  };
  using Block = std::unique_ptr<char, FreeText>;
  struct HeldBlock {
    Block data;
    std::size_t size = 0;
  };
  // The text goes into the current block; a sink without a stream whose
  // text outgrows a large block keeps it and goes on in a new one, twice
  // the size up to a limit, so that a text of hundreds of megabytes is never
  // copied to grow. Blocks come from the C library's allocator.
  Block data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::vector<HeldBlock> held_;  // the full blocks before the current one
  std::size_t heldBefore_ = 0;   // their bytes
  FILE* through_;
  std::size_t bound_;
  // The flag of the piece taken since the last Reset, and where that piece
  // lies in the text held while it has not been passed on.
  int* onceFlag_ = nullptr;
  bool oncePending_ = false;
  std::size_t onceAt_ = 0;
  std::size_t onceSize_ = 0;
};

// The sink that the report writers of the calling thread write to instead of
// gLQAOUT (OutF, OutS, OutN, and StreamF given gLQAOUT); null, the default,
// writes straight to gLQAOUT. Each thread of execution has its own.
ReportSink* CurrentReportSink();

// Makes a sink current for its lifetime, then the one before it again.
class ReportSinkScope {
 public:
  explicit ReportSinkScope(ReportSink* sink);
  ~ReportSinkScope();
  ReportSinkScope(const ReportSinkScope&) = delete;
  ReportSinkScope& operator=(const ReportSinkScope&) = delete;

 private:
  ReportSink* previous_;
};

// Writes the text of the calling thread's current sink to gLQAOUT and lets
// the writers write straight to gLQAOUT from then on: an early exit writes its
// closing text after the text of the file it stopped in.
void ReleaseCurrentReportSink();
