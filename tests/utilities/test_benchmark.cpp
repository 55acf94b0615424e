// The benchmark timer: the times computed from the clock readings and the
// section in the four output modes.
#include <gtest/gtest.h>

#include <string>

#include "capture_out.h"
#include "common/gcd.h"
#include "utilities/benchmark.h"

namespace {

TEST(Benchmark, TimesFromTheClockReadings) {
  BenchTimer t;
  t.ticksPerSecond = 100;
  t.startTicks = t.endTicks = 5000;  // within one tick
  ComputeTimerTimes(t);
  EXPECT_DOUBLE_EQ(t.elapsed, 0.001);
  EXPECT_DOUBLE_EQ(t.wait, 0.001);

  t.endTicks = 5000 + 250;
  t.endTimes.tms_utime = 150;
  t.endTimes.tms_stime = 50;
  ComputeTimerTimes(t);
  EXPECT_DOUBLE_EQ(t.elapsed, 2.5);
  EXPECT_DOUBLE_EQ(t.user, 1.5);
  EXPECT_DOUBLE_EQ(t.system, 0.5);
  EXPECT_DOUBLE_EQ(t.wait, 0.5);
  // More processor time than elapsed time (clock granularity): no negative wait.
  t.endTimes.tms_utime = 400;
  ComputeTimerTimes(t);
  EXPECT_DOUBLE_EQ(t.wait, 0.0);
}

std::string Section(OutputMode mode, int lines) {
  auto gcd = NewGlobalData();
  gcd->sw.benchmark = 1;
  gcd->sw.outputMode = mode;
  gcd->tot.counts.physical = lines;
  gcd->tot.counts.characters = lines * 10;
  return CaptureOut([&] {
    Timer(kTimerStart, *gcd);
    Benchmark(*gcd);
  });
}

TEST(Benchmark, SectionInEveryMode) {
  std::string text = Section(OutputMode::Text, 1);
  EXPECT_NE(text.find("~~ Performance Benchmark ~~\n\n  A process benchmark has been determined"), std::string::npos);
  EXPECT_NE(text.find("\n  Elapsed Time   :        0.0"), std::string::npos) << text;
  EXPECT_NE(text.find("Day:Hr:Min:Sec\n\n  Performance Benchmark: "), std::string::npos);
  EXPECT_NE(text.find(" Physical Lines Processed/s\n                       : "), std::string::npos);
  EXPECT_EQ(Section(OutputMode::Text, 0).find("Performance Benchmark:"), std::string::npos);

  std::string html = Section(OutputMode::Html, 1);
  EXPECT_NE(html.find("  <b>System CPU Time</b>: "), std::string::npos);
  std::string csv = Section(OutputMode::Csv, 1);
  EXPECT_EQ(csv.find("~~"), std::string::npos);
  EXPECT_EQ(csv.find("A process benchmark"), std::string::npos);
  EXPECT_NE(csv.find("Process Timer\nUser CPU Time,"), std::string::npos);
  EXPECT_NE(csv.find("\n,  0:00:00:00,Day:Hr:Min:Sec\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\nCharacters Processed/s,"), std::string::npos);
  std::string xml = Section(OutputMode::Xml, 1);
  EXPECT_NE(xml.find("<Elapsed_Time>\n<value>"), std::string::npos);
  EXPECT_NE(xml.find("<value>0:00:00:00</value>\n<units>Day:Hr:Min:Sec</units>\n</Elapsed_Time>\n"
                     "</benchmark_timer>\n<Performance_Benchmark>\n<Physcial_Lines_Processed_per_Second>"),
            std::string::npos)
      << xml;
}

TEST(Benchmark, NothingWithoutTheSwitch) {
  auto gcd = NewGlobalData();
  EXPECT_EQ(CaptureOut([&] { Benchmark(*gcd); }), "");
}

}  // namespace
