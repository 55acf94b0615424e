#include "common/report_sink.h"

#include <algorithm>
#include <new>
#include <utility>

#include "common/format_writer.h"
#include "common/output.h"

namespace {
thread_local ReportSink* tCurrentSink = nullptr;

constexpr std::size_t kFirstCapacity = 4096;
// A sink without a stream grows one block by realloc up to this size, then
// goes on in new blocks of up to kLargestBlock bytes.
constexpr std::size_t kBlockedFrom = std::size_t{1} << 16;
constexpr std::size_t kLargestBlock = std::size_t{4} << 20;

}  // namespace

// The fast path holds whatever fits its memory, so a sink that passes its
// text on never has more memory than its bound.
ReportSink::ReportSink(FILE* through, std::size_t bound) : through_(through), bound_(bound) { Reserve(kFirstCapacity); }

void ReportSink::Reserve(std::size_t capacity) {
  if (through_ != nullptr && capacity > bound_) capacity = bound_;
  if (capacity == 0) capacity = 1;
  // An empty sink takes a fresh block; one holding text keeps it by realloc.
  if (size_ == 0) {
    data_.reset();
    capacity_ = 0;
  }
  void* grown = size_ == 0 ? std::malloc(capacity) : std::realloc(data_.get(), capacity);
  if (grown == nullptr) throw std::bad_alloc();  // the text held stays as it was
  (void)data_.release();
  data_.reset(static_cast<char*>(grown));
  capacity_ = capacity;
}

void ReportSink::StartBlock(std::size_t n) {
  std::size_t size = std::min(capacity_ * 2, kLargestBlock);
  while (size < n) size *= 2;
  held_.reserve(held_.size() + 1);
  Block fresh(static_cast<char*>(std::malloc(size)));
  if (!fresh) throw std::bad_alloc();  // the text held stays as it was
  held_.push_back({std::move(data_), size_});
  heldBefore_ += size_;
  data_ = std::move(fresh);
  size_ = 0;
  capacity_ = size;
}

void ReportSink::DropHeldBlocks() {
  held_.clear();
  heldBefore_ = 0;
}

void ReportSink::AppendMore(const char* text, std::size_t n) {
  if (through_ == nullptr && capacity_ >= kBlockedFrom) {
    StartBlock(n);
    Append(text, n);
    return;
  }
  if (through_ != nullptr && size_ + n > bound_) {
    FlushTo(through_);
    // A piece larger than the bound goes through whole, never held.
    if (n > bound_) {
      WriteBytes(through_, text, n);
      return;
    }
    if (n <= capacity_) {
      Append(text, n);
      return;
    }
  }
  std::size_t grown = capacity_ > 0 ? capacity_ * 2 : kFirstCapacity;
  while (grown < size_ + n) grown *= 2;
  Reserve(grown);
  Append(text, n);
}

void ReportSink::AppendOnce(const char* text, std::size_t n, int* written) {
  if (onceFlag_ != nullptr) return;
  onceFlag_ = written;
  if (through_ != nullptr && size_ + n > bound_) {
    FlushTo(through_);
    if (n > bound_) {
      // Too large to hold: decided now, which is its place in file order.
      if (*written == 0) WriteBytes(through_, text, n);
      *written = 1;
      return;
    }
  }
  Append(text, n);
  oncePending_ = true;
  onceAt_ = Size() - n;
  onceSize_ = n;
}

void ReportSink::WriteRange(FILE* stream, std::size_t from, std::size_t to) const {
  std::size_t base = 0;
  auto part = [&](const char* data, std::size_t size) {
    const std::size_t first = std::max(from, base);
    const std::size_t last = std::min(to, base + size);
    if (first < last) WriteBytes(stream, data + (first - base), last - first);
    base += size;
  };
  for (const HeldBlock& block : held_) part(block.data.get(), block.size);
  part(data_.get(), size_);
}

void ReportSink::Write(FILE* stream) {
  const std::size_t size = Size();
  if (!oncePending_) {
    WriteRange(stream, 0, size);
    return;
  }
  oncePending_ = false;
  if (*onceFlag_ == 0) {
    *onceFlag_ = 1;
    WriteRange(stream, 0, size);
    return;
  }
  WriteRange(stream, 0, onceAt_);
  WriteRange(stream, onceAt_ + onceSize_, size);
}

void ReportSink::FlushTo(FILE* stream) {
  Write(stream);
  DropHeldBlocks();
  size_ = 0;
}

std::string_view ReportSink::Text() {
  if (!held_.empty()) {
    // Joined once: only tests and short texts ask for the text whole.
    const std::size_t size = Size();
    Block whole(static_cast<char*>(std::malloc(size + 1)));
    if (!whole) throw std::bad_alloc();
    std::size_t at = 0;
    for (const HeldBlock& block : held_) {
      std::memcpy(whole.get() + at, block.data.get(), block.size);
      at += block.size;
    }
    std::memcpy(whole.get() + at, data_.get(), size_);
    DropHeldBlocks();
    data_ = std::move(whole);
    size_ = size;
    capacity_ = size + 1;
  }
  return {data_.get(), size_};
}

void ReportSink::AppendTextTo(ReportSink& other) const {
  for (const HeldBlock& block : held_) other.Append(block.data.get(), block.size);
  other.Append(data_.get(), size_);
}

void ReportSink::Reset(FILE* through) {
  DropHeldBlocks();
  size_ = 0;
  onceFlag_ = nullptr;
  oncePending_ = false;
  through_ = through;
  if (through_ != nullptr && capacity_ > bound_) Reserve(bound_);
}

void ReportSink::Shrink(std::size_t keep) {
  if (size_ > 0 || capacity_ <= keep) return;
  data_.reset();
  capacity_ = 0;
}

ReportSink* CurrentReportSink() { return tCurrentSink; }

ReportSinkScope::ReportSinkScope(ReportSink* sink) : previous_(tCurrentSink) { tCurrentSink = sink; }

ReportSinkScope::~ReportSinkScope() { tCurrentSink = previous_; }

void ReleaseCurrentReportSink() {
  if (tCurrentSink != nullptr) tCurrentSink->FlushTo(gLQAOUT);
  tCurrentSink = nullptr;
}
