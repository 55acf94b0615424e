#include "common/report_sink.h"

#include <new>
#include <utility>

#include "common/format_writer.h"
#include "common/output.h"

namespace {
thread_local ReportSink* tCurrentSink = nullptr;

constexpr std::size_t kFirstCapacity = 4096;

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

void ReportSink::AppendMore(const char* text, std::size_t n) {
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
  onceAt_ = size_ - n;
  onceSize_ = n;
}

void ReportSink::Write(FILE* stream) {
  if (!oncePending_) {
    WriteBytes(stream, data_.get(), size_);
    return;
  }
  oncePending_ = false;
  if (*onceFlag_ == 0) {
    *onceFlag_ = 1;
    WriteBytes(stream, data_.get(), size_);
    return;
  }
  WriteBytes(stream, data_.get(), onceAt_);
  const std::size_t after = onceAt_ + onceSize_;
  WriteBytes(stream, data_.get() + after, size_ - after);
}

void ReportSink::FlushTo(FILE* stream) {
  Write(stream);
  size_ = 0;
}

void ReportSink::Reset(FILE* through) {
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
