// The benchmark timer of -b: processor, wait and elapsed time of the run and
// the parsing rates derived from them.
#pragma once

struct BenchTimer;
struct GlobalData;

// Timer operations, selected by mode: start, stop and compute, print.
enum TimerMode { kTimerStart = 0, kTimerStop = 1, kTimerPrint = 2 };
void Timer(int mode, GlobalData& gcd);

// Computes the times of a timer whose start and end readings are taken.
void ComputeTimerTimes(BenchTimer& timer);

// Stops the timer and writes the benchmark section; nothing without -b.
void Benchmark(GlobalData& gcd);
