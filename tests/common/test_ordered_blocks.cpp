// Blocks formatted on several threads reach the report in block order, with
// each block whole, whatever order the threads finish in; a failure in one
// block reaches the caller without a hang.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <new>
#include <string>
#include <thread>

#include "capture_out.h"
#include "common/ordered_blocks.h"
#include "common/output.h"
#include "common/report_sink.h"

namespace {

// Item i's text, of a length that varies so that blocks differ in size; the
// earlier items of a block are slower, so later blocks tend to finish first.
void WriteItem(std::size_t i) {
  if (i % 7 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
  OutF("item %zu %s\n", i, std::string(i % 97, static_cast<char>('a' + i % 26)).c_str());
}

std::string Serially(std::size_t count) {
  return CaptureOut([&] {
    for (std::size_t i = 0; i < count; ++i) WriteItem(i);
  });
}

std::string InBlocks(std::size_t count, std::size_t blockSize, int threads) {
  OrderedBlocks plan;
  plan.count = count;
  plan.blockSize = blockSize;
  plan.threads = threads;
  return CaptureOut([&] {
    WriteOrderedBlocks(plan, [](int, std::size_t first, std::size_t last) {
      for (std::size_t i = first; i < last; ++i) WriteItem(i);
    });
  });
}

TEST(OrderedBlocks, WriteTheBytesOfOneThreadForAnyBlockingAndThreadCount) {
  for (std::size_t count : {0u, 1u, 5u, 300u}) {
    const std::string expected = Serially(count);
    for (std::size_t blockSize : {1u, 3u, 64u, 1000u})
      for (int threads : {1, 2, 5})
        EXPECT_EQ(InBlocks(count, blockSize, threads), expected)
            << count << " items in blocks of " << blockSize << " on " << threads << " threads";
  }
}

TEST(OrderedBlocks, FollowTheCallersSinkAndNameTheirThread) {
  ReportSink sink;
  std::atomic<int> badThread{0};
  {
    ReportSinkScope scope(&sink);
    OrderedBlocks plan;
    plan.count = 50;
    plan.blockSize = 4;
    plan.threads = 3;
    EXPECT_EQ(CaptureOut([&] {
                WriteOrderedBlocks(plan, [&](int thread, std::size_t first, std::size_t last) {
                  if (thread < 0 || thread >= 3) ++badThread;
                  for (std::size_t i = first; i < last; ++i) WriteItem(i);
                });
              }),
              "");
  }
  EXPECT_EQ(std::string(sink.Text()), Serially(50));
  EXPECT_EQ(badThread, 0);
}

TEST(OrderedBlocks, AFailingBlockStopsTheWorkAndReachesTheCaller) {
  OrderedBlocks plan;
  plan.count = 1000;
  plan.blockSize = 10;
  plan.threads = 2;
  std::atomic<int> formatted{0};
  ReportSink sink;
  {
    ReportSinkScope scope(&sink);
    EXPECT_THROW(WriteOrderedBlocks(plan,
                                    [&](int, std::size_t first, std::size_t last) {
                                      if (first == 300) throw std::bad_alloc();
                                      ++formatted;
                                      for (std::size_t i = first; i < last; ++i) WriteItem(i);
                                    }),
                 std::bad_alloc);
  }
  // What went out is the items before the failing block, in order; the
  // workers stop within their window of it.
  EXPECT_EQ(std::string(sink.Text()), Serially(300));
  EXPECT_LT(formatted.load(), 40);
}

}  // namespace
