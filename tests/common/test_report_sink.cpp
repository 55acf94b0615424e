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

// Every kind of report write, some past the writer's line buffer or left to
// the C library.
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
  ReportSinkScope scope(&sink);
  EXPECT_EQ(CaptureOut(WriteEverything), "");
  return std::string(sink.Text());
}

TEST(ReportSink, HoldsWhatTheStreamWouldGetInEveryMode) {
  EXPECT_EQ(ThroughSink(), CaptureOut(WriteEverything));
  SetReportBytes(ReportBytes::HtmlUtf8);
  const std::string html = CaptureOut(WriteEverything);
  const std::string htmlSink = ThroughSink();
  SetReportBytes(ReportBytes::AsIs);
  EXPECT_NE(html.find("&#252;\xc3\xbc"), std::string::npos);
  EXPECT_EQ(htmlSink, html);
}

TEST(ReportSink, OnlyReportTextOnlyWhileCurrentAndOnlyOnItsThread) {
  ReportSink outer, inner, worker;
  const std::string direct = CaptureOut([&] {
    ReportSinkScope a(&outer);
    OutS("1");
    {
      ReportSinkScope b(&inner);
      OutS("2");
      StreamF(stderr, "%s", "");  // another stream is written as ever
    }
    OutS("3");
    std::thread([&] {
      EXPECT_EQ(CurrentReportSink(), nullptr);
      ReportSinkScope own(&worker);
      OutS("w");
    }).join();
    ReleaseCurrentReportSink();  // as an early exit does: the held text first
    OutS("4");
  });
  EXPECT_EQ(direct, "134");
  EXPECT_EQ(inner.Text(), "2");
  EXPECT_EQ(worker.Text(), "w");
  EXPECT_EQ(outer.Size(), 0u);
  EXPECT_EQ(CurrentReportSink(), nullptr);
}

// A stream into memory, read back with what was written so far.
struct MemoryStream {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* file = open_memstream(&data, &size);
  MemoryStream() = default;
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;
  ~MemoryStream() {
    std::fclose(file);
    std::free(data);
  }
  std::string Text() {
    std::fflush(file);
    return std::string(data, size);
  }
};

TEST(ReportSink, PassesItsTextOnPastTheBoundInOrder) {
  MemoryStream stream;
  FILE* out = stream.file;
  auto written = [&] { return stream.Text(); };
  ReportSink sink(out, 8);
  std::string all;
  for (const std::string piece : {"abc", "defgh", "i", "0123456789xyz", "tail"}) {
    sink.Append(piece.data(), piece.size());
    all += piece;
    EXPECT_LE(sink.Size(), 8u);
    EXPECT_EQ(written() + std::string(sink.Text()), all);
    // Exactly the bound is held; the piece past it sends what was held first;
    // a piece larger than the bound passes through whole.
    if (piece == "defgh") {
      EXPECT_EQ(written(), "");
    } else if (piece == "i") {
      EXPECT_EQ(written(), "abcdefgh");
    } else if (piece == "0123456789xyz") {
      EXPECT_EQ(sink.Size(), 0u);
    }
  }
  sink.FlushTo(out);
  EXPECT_EQ(written(), all);

  // Without a stream to pass it to, a sink keeps everything.
  ReportSink keeper(nullptr, 4);
  keeper.Append("0123456789", 10);
  keeper.Append("ab", 2);
  EXPECT_EQ(keeper.Text(), "0123456789ab");
}

// A piece written once in the run goes out with the first sink passed on
// (in file order) that holds one, wherever the sinks were filled; a held
// piece is decided when the text it sits in passes on past the bound.
TEST(ReportSink, PieceWrittenOnceGoesOutWithTheFirstSinkPassedOn) {
  MemoryStream stream;
  FILE* out = stream.file;
  auto written = [&] { return stream.Text(); };
  int header = 0;
  ReportSink first, second;  // both filled before either is passed on, as by two workers
  second.Append("x", 1);
  second.AppendOnce("H", 1, &header);
  first.Append("a", 1);
  first.AppendOnce("H", 1, &header);
  first.AppendOnce("G", 1, &header);  // the file has its piece already
  first.Append("b", 1);
  first.FlushTo(out);
  second.FlushTo(out);
  EXPECT_EQ(written(), "aHbx");
  EXPECT_EQ(header, 1);

  ReportSink bounded(out, 8);
  bounded.AppendOnce("HHH", 3, &header);  // left out: the run has it
  bounded.Append("123456", 6);
  bounded.FlushTo(out);
  EXPECT_EQ(written(), "aHbx123456");
  bounded.Reset(out);
  header = 0;
  bounded.Append("abcdef", 6);
  bounded.AppendOnce("HHH", 3, &header);
  bounded.Append("123456", 6);
  EXPECT_EQ(written(), "aHbx123456abcdefHHH");
}

// A sink without a stream holds a text of many megabytes in several blocks:
// it passes on, joins and copies the same bytes, with the piece written once
// left out or kept wherever it lies, and is as good as new after a flush.
TEST(ReportSink, LargeHeldTextKeepsItsBytesAcrossBlocks) {
  for (const int runHasPiece : {0, 1}) {
    MemoryStream stream;
    int header = runHasPiece;
    ReportSink sink;
    std::string all, kept;
    for (int i = 0; i < 400; ++i) {
      // Pieces of 1 byte to 96 KB, so that some are larger than a block.
      const std::string piece(static_cast<std::size_t>(1 + (i * 7919) % 98304), static_cast<char>('a' + i % 26));
      sink.Append(piece.data(), piece.size());
      all += piece;
      if (i == 200) {
        const std::string once(70000, 'H');
        sink.AppendOnce(once.data(), once.size(), &header);
        kept = all;
        all += once;
        if (runHasPiece == 0) kept += once;
      }
    }
    const std::string rest = all.substr(kept.size() + (runHasPiece == 0 ? 0 : 70000));
    kept += rest;
    ASSERT_EQ(sink.Size(), all.size());
    ReportSink copy;
    sink.AppendTextTo(copy);
    EXPECT_TRUE(copy.Text() == all);
    sink.FlushTo(stream.file);
    EXPECT_TRUE(stream.Text() == kept);
    EXPECT_EQ(header, 1);
    EXPECT_EQ(sink.Size(), 0u);
    sink.Append("next", 4);
    EXPECT_EQ(sink.Text(), "next");
  }
}

}  // namespace
