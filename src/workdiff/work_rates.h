// Work time between two baselines: the time delta turned into calendar days,
// work days and man hours, days, weeks, months and years by the work rate
// settings of the configuration.
#pragma once

#include <string>

struct Config;

struct WorkTime {
  double deltaSeconds = 0;
  double calendarDays = 0;
  double workDays = 0;
  double manHours = 0;
  double manDays = 0;
  double manWeeks = 0;
  double manMonths = 0;
  double manYears = 0;
};

// A rate of 0 in the configuration gives 0 instead of a division by zero.
WorkTime ComputeWorkTime(double deltaSeconds, const Config& cfg);
// The delta as days:hours:minutes:seconds, each part truncated; a negative
// delta is written with a leading '-'.
std::string FormatDaysHms(long long deltaSeconds);
