#include "workdiff/work_rates.h"

#include <cstdio>

#include "driver/config.h"

namespace {
double Per(double value, double divisor) { return divisor == 0.0 ? 0.0 : value / divisor; }
}  // namespace

WorkTime ComputeWorkTime(double deltaSeconds, const Config& cfg) {
  WorkTime t;
  t.deltaSeconds = deltaSeconds;
  t.calendarDays = Per(deltaSeconds, static_cast<double>(cfg.workSecondsPerHour) * 24.0);
  t.workDays = t.calendarDays * cfg.workDaysPerWeek / 7.0;
  t.manHours = t.workDays * cfg.workHoursPerShift * cfg.workShiftsPerDay;
  t.manDays = Per(t.manHours, cfg.workHoursPerManDay);
  t.manWeeks = Per(t.manHours, cfg.workHoursPerManWeek);
  t.manMonths = Per(t.manHours, cfg.workHoursPerManMonth);
  t.manYears = Per(t.manHours, cfg.workHoursPerManYear);
  return t;
}

std::string FormatDaysHms(long long deltaSeconds) {
  const bool negative = deltaSeconds < 0;
  // The magnitude of the most negative value does not fit; one second less does.
  unsigned long long s = negative ? static_cast<unsigned long long>(-(deltaSeconds + 1)) + 1
                                  : static_cast<unsigned long long>(deltaSeconds);
  char text[64];
  std::snprintf(text, sizeof text, "%s%llu:%02llu:%02llu:%02llu", negative ? "-" : "", s / 86400, s % 86400 / 3600,
                s % 3600 / 60, s % 60);
  return text;
}
