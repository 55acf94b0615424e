#include "utilities/benchmark.h"

#include <unistd.h>

#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/format.h"

namespace {

constexpr const char* kExplanation =
    "\n  A process benchmark has been determined for this metrics analysis.\n"
    "  The time taken depends on the speed of the output device: writing\n"
    "  reports to a terminal is slower than writing them to a file or to a\n"
    "  pipe.  The figures below are given for the comparison of runs on the\n"
    "  same system only; they are no measure of the analysis speed of other\n"
    "  systems or other output devices.\n\n";

void StartTimer(BenchTimer& timer) {
  long tps = sysconf(_SC_CLK_TCK);
  timer = BenchTimer{};
  timer.ticksPerSecond = tps > 0 ? tps : 100;
  timer.startTicks = times(&timer.startTimes);
}

void StopTimer(BenchTimer& timer) {
  timer.endTicks = times(&timer.endTimes);
  ComputeTimerTimes(timer);
}

void PrintTimer(const BenchTimer& t, GlobalData& gcd) {
  // Days, hours, minutes and whole seconds of the elapsed time.
  long total = static_cast<long>(t.elapsed);
  char dhms[64];
  snprintf(dhms, sizeof dhms, "%d:%02d:%02d:%02d", static_cast<int>(total / 86400),
           static_cast<int>(total % 86400 / 3600), static_cast<int>(total % 3600 / 60),
           static_cast<int>(total % 60));
  switch (gcd.sw.outputMode) {
    case OutputMode::Text:
      OutF("  Process Timer\n  -------------------------------\n  User CPU Time  : %12.3f Sec\n"
           "  System CPU Time: %12.3f Sec\n  Wait Time      : %12.3f Sec\n  -------------------------------\n"
           "  Elapsed Time   : %12.3f Sec\n                 : %12s Day:Hr:Min:Sec\n",
           t.user, t.system, t.wait, t.elapsed, dhms);
      break;
    case OutputMode::Html:
      OutF("  <b>Process Timer</b>\n  -------------------------------\n  <b>User CPU Time</b>  : %12.3f Sec\n"
           "  <b>System CPU Time</b>: %12.3f Sec\n  <b>Wait Time</b>      : %12.3f Sec\n"
           "  -------------------------------\n  <b>Elapsed Time</b>   : %12.3f Sec\n"
           "                 : %12s Day:Hr:Min:Sec\n",
           t.user, t.system, t.wait, t.elapsed, dhms);
      break;
    case OutputMode::Csv:
      OutF("Process Timer\nUser CPU Time,%12.3f Sec\nSystem CPU Time,%12.3f Sec\nWait Time,%12.3f Sec\n"
           "Elapsed Time,%12.3f Sec\n,%12s,Day:Hr:Min:Sec\n",
           t.user, t.system, t.wait, t.elapsed, dhms);
      break;
    case OutputMode::Xml:
      OutF("<benchmark_timer>\n");
      OutF("<User_CPU_Time>\n<value>%12.3f</value>\n<units>seconds</units>\n</User_CPU_Time>\n", t.user);
      OutF("<System_CPU_Time>\n<value>%12.3f</value>\n<units>seconds</units>\n</System_CPU_Time>\n", t.system);
      OutF("<Wait_Time>\n<value>%12.3f</value>\n<units>seconds</units>\n</Wait_Time>\n", t.wait);
      OutF("<Elapsed_Time>\n<value>%12.3f</value>\n<units>seconds</units>\n"
           "<value>%s</value>\n<units>Day:Hr:Min:Sec</units>\n</Elapsed_Time>\n",
           t.elapsed, dhms);
      OutF("</benchmark_timer>\n");
      break;
  }
}

void PrintRates(double lines, double characters, OutputMode mode) {
  switch (mode) {
    case OutputMode::Text:
    case OutputMode::Html:
      OutF("\n  Performance Benchmark: %.0f Physical Lines Processed/s\n                       : %.0f Characters Parsed/s\n\n",
           lines, characters);
      break;
    case OutputMode::Csv:
      OutF("\nPerformance Benchmark\nPhysical Lines Processed/s,%.0f\nCharacters Processed/s,%.0f\n\n", lines,
           characters);
      break;
    case OutputMode::Xml:
      OutF("<Performance_Benchmark>\n"
           "<Physcial_Lines_Processed_per_Second>%.0f</Physcial_Lines_Processed_per_Second>\n"
           "<Characters_Processed_per_Second>%.0f</Characters_Processed_per_Second>\n"
           "</Performance_Benchmark>\n",
           lines, characters);
      break;
  }
}

}  // namespace

void ComputeTimerTimes(BenchTimer& t) {
  const double tps = t.ticksPerSecond > 0 ? static_cast<double>(t.ticksPerSecond) : 100.0;
  t.elapsed = static_cast<double>(t.endTicks - t.startTicks) / tps;
  // A run within one clock tick still divides by a time above zero.
  if (t.elapsed < 0.001) t.elapsed = 0.001;
  t.user = static_cast<double>(t.endTimes.tms_utime - t.startTimes.tms_utime) / tps;
  t.system = static_cast<double>(t.endTimes.tms_stime - t.startTimes.tms_stime) / tps;
  t.wait = t.elapsed - (t.user + t.system);
  if (t.wait < 0) t.wait = 0;
}

void Timer(int mode, GlobalData& gcd) {
  BenchTimer& timer = gcd.util.timer;
  switch (mode) {
    case kTimerStart: StartTimer(timer); break;
    case kTimerStop: StopTimer(timer); break;
    case kTimerPrint: PrintTimer(timer, gcd); break;
    default: break;
  }
}

void Benchmark(GlobalData& gcd) {
  if (!gcd.sw.benchmark) return;
  const OutputMode mode = gcd.sw.outputMode;
  Timer(kTimerStop, gcd);
  OutF("  %s%s\n\n", kRuleUnderscores, kRuleUnderscores);
  if (mode == OutputMode::Html) {
    OutF("<b><font color=\"%s\">", gcd.cfg.htmlHeaderColor.c_str());
    Center("~~ Performance Benchmark ~~");
    OutF("</font></b>");
  } else if (mode == OutputMode::Text) {
    Center("~~ Performance Benchmark ~~");
  }
  if (mode == OutputMode::Text || mode == OutputMode::Html) OutF("%s", kExplanation);
  Timer(kTimerPrint, gcd);
  const FileCounts& total = gcd.tot.counts;
  if (total.physical > 0) {
    const double elapsed = gcd.util.timer.elapsed;
    PrintRates(total.physical / elapsed, total.characters / elapsed, mode);
  }
}
