// The per-file report sink: the writers' text reaches it byte for byte as it
// would reach the report stream, it passes its text on past its bound in
// order, and each thread has its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "capture_out.h"
#include "common/output.h"
#include "common/report_sink.h"

namespace {

// A memory stream that yields what was written to it.
class MemStream {
 public:
  MemStream() : stream_(open_memstream(&data_, &size_)) {}
  ~MemStream() {
    std::fclose(stream_);
    std::free(data_);
  }
  FILE* get() const { return stream_; }
  std::string Text() {
    std::fflush(stream_);
    return std::string(data_, size_);
  }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  FILE* stream_;
};

// Every kind of report write, some of them past the writer's line buffer or
// left to the C library.
void WriteEverything() {
  OutF("%-6s|%5d|%.2f|%c\n", "name", -42, 2.345, 'x');
  OutF("%e %x\n", 1.5, 255u);
  OutS("plain \xfc\xc3\xbc text\n");
  OutN("cut\xe2\x82", 5);
  StreamF(gLQAOUT, "%s\n", std::string(5000, '\xe9').c_str());
  OutF("%s\n", std::string(6000, 'a').c_str());
}

std::string ThroughSink() {
  ReportSink sink;
  {
    ReportSinkScope scope(&sink);
    // The stream is the report stream: text meant for it goes to the sink.
    CaptureOut([] { WriteEverything(); });
  }
  return std::string(sink.Text());
}

TEST(ReportSink, HoldsWhatTheStreamWouldGetInEveryMode) {
  const std::string direct = CaptureOut(WriteEverything);
  EXPECT_EQ(ThroughSink(), direct);
  SetReportBytes(ReportBytes::HtmlUtf8);
  const std::string html = CaptureOut(WriteEverything);
  const std::string htmlSink = ThroughSink();
  SetReportBytes(ReportBytes::AsIs);
  EXPECT_NE(html, direct);
  EXPECT_NE(html.find("&#252;\xc3\xbc"), std::string::npos);
  EXPECT_EQ(htmlSink, html);
}

TEST(ReportSink, OnlyReportTextAndOnlyWhileCurrent) {
  ReportSink outer;
  ReportSink inner;
  MemStream other;
  const std::string direct = CaptureOut([&] {
    ReportSinkScope a(&outer);
    OutS("1");
    {
      ReportSinkScope b(&inner);
      OutS("2");
      StreamF(other.get(), "%s", "elsewhere");  // another stream is written as ever
    }
    OutS("3");
    EXPECT_EQ(CurrentReportSink(), &outer);
    {
      ReportSinkScope none(nullptr);
      OutS("4");
    }
  });
  EXPECT_EQ(outer.Text(), "13");
  EXPECT_EQ(inner.Text(), "2");
  EXPECT_EQ(other.Text(), "elsewhere");
  EXPECT_EQ(direct, "4");
  EXPECT_EQ(CurrentReportSink(), nullptr);
}

TEST(ReportSink, EachThreadHasItsOwn) {
  ReportSink mine;
  ReportSink theirs;
  ReportSinkScope scope(&mine);
  std::thread worker([&] {
    EXPECT_EQ(CurrentReportSink(), nullptr);
    ReportSinkScope own(&theirs);
    OutS("worker");
  });
  worker.join();
  OutS("main");
  EXPECT_EQ(mine.Text(), "main");
  EXPECT_EQ(theirs.Text(), "worker");
}

TEST(ReportSink, PassesItsTextOnPastTheBoundInOrder) {
  MemStream out;
  ReportSink sink(out.get(), 8);
  std::string all;
  auto put = [&](const std::string& piece) {
    sink.Append(piece.data(), piece.size());
    all += piece;
    EXPECT_LE(sink.Size(), 8u);
  };
  put("abc");
  put("defgh");  // exactly the bound: held
  EXPECT_EQ(out.Text(), "");
  put("i");  // past it: what was held goes first
  EXPECT_EQ(out.Text(), "abcdefgh");
  put("0123456789xyz");  // larger than the bound: passes through whole
  EXPECT_EQ(sink.Size(), 0u);
  put("tail");
  EXPECT_EQ(out.Text() + std::string(sink.Text()), all);
  sink.FlushTo(out.get());
  EXPECT_EQ(out.Text(), all);
  EXPECT_EQ(sink.Size(), 0u);

  // Without a stream to pass it to, a sink keeps everything.
  ReportSink keeper(nullptr, 4);
  keeper.Append("0123456789", 10);
  keeper.Append("ab", 2);
  EXPECT_EQ(keeper.Text(), "0123456789ab");
  keeper.Reset(nullptr);
  EXPECT_EQ(keeper.Size(), 0u);
}

TEST(ReportSink, ReleasingWritesTheTextAndEndsTheSink) {
  ReportSink sink;
  const std::string text = CaptureOut([&] {
    ReportSinkScope scope(&sink);
    OutS("file text;");
    ReleaseCurrentReportSink();
    EXPECT_EQ(CurrentReportSink(), nullptr);
    OutS("closing");
  });
  EXPECT_EQ(text, "file text;closing");
  EXPECT_EQ(sink.Size(), 0u);
}

}  // namespace
