// The determinism check of the end-to-end tests. With LQA_TEST_PARALLEL_CHECK
// holding a schedule text (such as "jobs=3 order=reverse"), each run of lqa
// is made twice from the same directory state: once serially and once with
// LQA_TEST_SCHEDULE set to that text, which makes lqa use worker threads that
// finish in the given order. The two runs must give the same standard output,
// standard error, exit status and written files.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

// What a run does with LQA_TEST_SCHEDULE in its environment.
struct ScheduleEnv {
  enum class Mode { kInherit, kSerial, kScheduled };
  Mode mode = Mode::kInherit;
  std::string schedule;
};

// Sets or removes LQA_TEST_SCHEDULE in the calling process (a child about to
// start lqa).
void ApplyScheduleEnv(const ScheduleEnv& env);

// The schedule in LQA_TEST_PARALLEL_CHECK, or "" when the check is off.
std::string ParallelCheckSchedule();

// Runs once with the schedule off and, when schedule is not empty, once more
// with it, bringing the watched directories back to their starting state in
// between (only directories under the system temporary directory are
// watched). Any difference is a test failure naming what. The tree is left
// as the first run left it and that run's result is returned. When the
// directories are too large to restore, the run is made once and not checked.
RunResult RunCompared(const std::string& schedule, const std::vector<std::string>& watched, const std::string& what,
                      const std::function<RunResult(const ScheduleEnv&)>& run);

// Replaces what two runs a moment apart print differently whatever the
// schedule: times of day ("12:34:56"), seconds since 1970 between from and
// to, the milliseconds a search stopped on the clock took, the run's own
// timing, and the random names of the gate's temporary trees.
std::string MaskRunNoise(const std::string& text, std::time_t from, std::time_t to);
