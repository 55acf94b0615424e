// The metrics differential report: its sequence from loading the two work
// files to the glossary, the report head, the notes and the work time.
#include "workdiff/diff_report.h"

#include <ctime>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/exit.h"
#include "reports/format.h"
#include "reports/header.h"
#include "reports/report_text.h"
#include "workdiff/diff_lists.h"
#include "workdiff/report_cfg.h"
#include "workdiff/work_file.h"
#include "workdiff/work_rates.h"

namespace {

OutputMode Mode(const GlobalData& gcd) { return gcd.sw.outputMode; }

const char* SortKeyName(int key) {
  static const char* const kNames[] = {"No Sort Method", "Name",           "LOC",
                                       "eLOC",           "lLOC",           "Cylcomatic Complexity",
                                       "Work State",     "Function Count", "Quality Notice Count",
                                       "File Date",      "File Size"};
  return key >= 1 && key <= 10 ? kNames[key] : kNames[0];
}

void SortLine(GlobalData& gcd) {
  const int key = gcd.sw.sortKey;
  if (key < 1 || key > 10) return;
  const char* name = SortKeyName(key);
  const bool desc = gcd.sw.sortDescending != 0;
  const char* direction = desc ? "- Descending" : "- Ascending";
  char plain[128], decorated[256];
  switch (Mode(gcd)) {
    case OutputMode::Text:
      snprintf(plain, sizeof plain, "Sorted By: %s %s", name, direction);
      Center(plain);
      break;
    case OutputMode::Html:
      snprintf(plain, sizeof plain, "Sorted By: %s - %s", name, direction);
      snprintf(decorated, sizeof decorated, "<b><font color=\"%s\">Sorted By %s %s</font></b>",
               gcd.cfg.htmlHeaderColor.c_str(), name, direction);
      OutS("\n");
      Center_HTML(plain, decorated);
      break;
    case OutputMode::Csv:
      OutF("Sorted By: %s %s\n", name, direction);
      break;
    case OutputMode::Xml:
      OutF("<sort_mode>%s</sort_mode>\n", name);
      OutF("<sort_direction>%s</sort_direction>\n", desc ? "Descending" : "Ascending");
      break;
  }
}

void ReportHead(GlobalData& gcd) {
  gcd.drv.workDiffReport = 1;
  const char* basis = gcd.sw.workLineDiff ? "Based On Code Difference" : "Based On Code Size";
  const std::string& cfgFile = gcd.drv.workDiffCfgFile;
  switch (Mode(gcd)) {
    case OutputMode::Text:
      ShowHeader(gLQAOUT, gcd, 0);
      OutS("\n");
      Center("~~ Metrics Differential ~~");
      Center(basis);
      break;
    case OutputMode::Html:
      ShowHeader(gLQAOUT, gcd, 0);
      OutF("\n<b><font color=\"%s\">", gcd.cfg.htmlHeaderColor.c_str());
      Center("~~ Metrics Differential ~~");
      Center(basis);
      OutF("</font></b>");
      break;
    case OutputMode::Csv:
      CSV_Header(gLQAOUT, gcd);
      if (!gcd.sw.noConfigLine) OutF("Diff Config File: %s\n", cfgFile.c_str());
      OutF("Metrics Differential\n%s\n", basis);
      break;
    case OutputMode::Xml:
      XML_Header(gLQAOUT, gcd);
      if (!gcd.sw.noConfigLine) OutF("<diff_config_file>%s</diff_config_file>\n", cfgFile.c_str());
      OutF("<report>\n<name>baseline_differential_metrics</name>\n");
      break;
  }
  SortLine(gcd);
}

void Note(const char* text, GlobalData& gcd) {
  if (Mode(gcd) == OutputMode::Xml) OutF("<note>%s</note>\n", text);
  else OutF("  %s\n", text);
}

void Notes(GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  const Config& cfg = gcd.cfg;
  if (sw.workSkipNew) Note("New files are not processed for this report", gcd);
  if (sw.workSkipRemoved) Note("Removed files are not processed for this report", gcd);
  if (sw.workSkipModified) Note("Modified files are not processed for this report", gcd);
  if (sw.workSkipEqual) Note("Equal files are not processed for this report", gcd);
  if (!sw.workLineDiff) return;
  if (!cfg.showEqualLines) Note("Not showing equal lines between older and present baselines", gcd);
  if (!cfg.showAddedLines) Note("Not showing modified lines to the present baseline", gcd);
  if (!cfg.showRemovedLines) Note("Not showing removed lines from the older baseline", gcd);
}

// The end of the report document (the HTML page is closed by the run's exit).
void CloseReport(GlobalData& gcd) {
  if (Mode(gcd) != OutputMode::Xml) return;
  OutF("</report>\n</lqadoc>\n");
  gcd.drv.xmlDocumentOpen = 0;
}

[[noreturn]] void ConstraintError(const char* setting, int older, int newer, GlobalData& gcd) {
  OutF("\n  Error: The older and current work files have not been\n"
       "         created with the same constraints.  These settings are\n"
       "         located in the LQA configuration file.\n"
       "         Older Work File: %s - %s\n"
       "         Newer Work File: %s - %s\n"
       "         This condition will create erroneous metrics.\n",
       setting, older ? "Yes" : "No", setting, newer ? "Yes" : "No");
  CloseReport(gcd);
  ExitRun(1, gcd);
}

void ShowWorkTime(const std::string& olderFile, time_t olderTime, const std::string& newerFile, time_t newerTime,
                  const WorkTime& t, GlobalData& gcd) {
  const Config& c = gcd.cfg;
  const std::string dhms = FormatDaysHms(static_cast<long long>(t.deltaSeconds));
  const std::string olderDate = get_date(&olderTime);
  const std::string newerDate = get_date(&newerTime);
  switch (Mode(gcd)) {
    case OutputMode::Xml: {
      const long long delta = static_cast<long long>(t.deltaSeconds);
      const long long mag = delta < 0 ? -delta : delta;
      OutF("<older_work_file>\n<name>%s</name>\n<date>%s</date>\n</older_work_file>\n",
           XmlEncodeText(olderFile.c_str()).c_str(), olderDate.c_str());
      OutF("<newer_work_file>\n<name>%s</name>\n<date>%s</date>\n</newer_work_file>\n",
           XmlEncodeText(newerFile.c_str()).c_str(), newerDate.c_str());
      OutF("<work_time_differential>\n<delta_seconds>%.0f</delta_seconds>\n", t.deltaSeconds);
      OutF("<days>%lld</days>\n<hours>%lld</hours>\n<minutes>%lld</minutes>\n<seconds>%lld</seconds>\n",
           mag / 86400, mag % 86400 / 3600, mag % 3600 / 60, mag % 60);
      OutF("<dhms>%s</dhms>\n<work_time>\n", dhms.c_str());
      auto item = [](const char* name, double value, int basis, const char* note) {
        OutF("<%s>\n<value>%.2f</value>\n<basis>\n<value>%d</value>\n<note>%s</note>\n</basis>\n</%s>\n", name,
             value, basis, note, name);
      };
      item("calendar_days", t.calendarDays, c.workSecondsPerHour * 24, "Seconds per Day");
      item("work_days", t.workDays, c.workDaysPerWeek, "Work Days per Week");
      item("man_hours", t.manHours, c.workHoursPerShift * c.workShiftsPerDay, "Hrs per Shift x Shifts per Day");
      item("man_days", t.manDays, c.workHoursPerManDay, "Hrs per Man Day");
      item("man_weeks", t.manWeeks, c.workHoursPerManWeek, "Hrs per Man Week");
      item("man_months", t.manMonths, c.workHoursPerManMonth, "Hrs per Man Month");
      item("man_years", t.manYears, c.workHoursPerManYear, "Hrs per Man Year");
      OutF("</work_time>\n</work_time_differential>\n");
      return;
    }
    case OutputMode::Csv:
      OutF("\nOlder Work File %s\n", olderFile.c_str());
      OutF("Creation Date %s\n", olderDate.c_str());
      OutF("Newer Work File %s\n", newerFile.c_str());
      OutF("Creation Date %s\n", newerDate.c_str());
      OutF("Work Time Differential Between Files\n");
      OutF("Time Delta %12.0f Seconds or %s Days:Hrs:Min:Sec\n", t.deltaSeconds, dhms.c_str());
      OutF("\nWork Time\n");
      OutF("%12.2f,Calendar Days\n", t.calendarDays);
      OutF("%12.2f,Work Days @ %d work days per week\n", t.workDays, c.workDaysPerWeek);
      OutF("%12.2f,Man Hours @ %d Hrs per Shift %d Shifts per Day\n", t.manHours, c.workHoursPerShift,
           c.workShiftsPerDay);
      OutF("%12.2f,Man Days  @ %d Hrs per Man Day\n", t.manDays, c.workHoursPerManDay);
      OutF("%12.2f,Man Weeks @ %d Hrs per Man Week\n", t.manWeeks, c.workHoursPerManWeek);
      OutF("%12.2f,Man Month @ %d Hrs per Man Month\n", t.manMonths, c.workHoursPerManMonth);
      OutF("%12.2f,Man Years @ %d Hrs per Man Year\n", t.manYears, c.workHoursPerManYear);
      return;
    case OutputMode::Text:
    case OutputMode::Html:
      break;
  }
  OutF("\n  Older Work File: %s\n", olderFile.c_str());
  OutF("  Creation Date  : %s\n", olderDate.c_str());
  OutF("  Newer Work File: %s\n", newerFile.c_str());
  OutF("  Creation Date  : %s\n", newerDate.c_str());
  OutF("  Work Time Differential Between Files:\n");
  OutF("  Time Delta: %12.0f Seconds\n                %s Days:Hrs:Min:Sec\n", t.deltaSeconds, dhms.c_str());
  OutF("\n  Work Time: ");
  OutF(" %12.2f Calendar Days\n", t.calendarDays);
  OutF("              %12.2f Work Days @ %d work days per week\n", t.workDays, c.workDaysPerWeek);
  OutF("              %12.2f Man Hours @ %d Hrs per Shift %d Shifts per Day\n", t.manHours, c.workHoursPerShift,
       c.workShiftsPerDay);
  OutF("              %12.2f Man Days  @ %d Hrs per Man Day\n", t.manDays, c.workHoursPerManDay);
  OutF("              %12.2f Man Weeks @ %d Hrs per Man Week\n", t.manWeeks, c.workHoursPerManWeek);
  OutF("              %12.2f Man Month @ %d Hrs per Man Month\n", t.manMonths, c.workHoursPerManMonth);
  OutF("              %12.2f Man Years @ %d Hrs per Man Year\n", t.manYears, c.workHoursPerManYear);
}

void WorkTimeBasis(GlobalData& gcd) {
  const Config& c = gcd.cfg;
  const struct {
    const char* label;
    const char* xml;
    int value;
  } kSettings[] = {
      {"Work Seconds per Hour", "work_seconds_per_hour", c.workSecondsPerHour},
      {"Work Hours per Shift", "work_hours_per_shift", c.workHoursPerShift},
      {"Work Shifts per Day", "work_shifts_per_day", c.workShiftsPerDay},
      {"Work Days per Week", "work_days_per_week", c.workDaysPerWeek},
      {"Work Hours per Man Day", "work_hours_per_man_day", c.workHoursPerManDay},
      {"Work Hours per Man Week", "work_hours_per_man_week", c.workHoursPerManWeek},
      {"Work Hours per Man Month", "work_hours_per_man_month", c.workHoursPerManMonth},
      {"Work Hours per Man Year", "work_hours_per_man_year", c.workHoursPerManYear},
  };
  if (Mode(gcd) == OutputMode::Xml) {
    OutF("<work_time_basis>\n");
    for (const auto& s : kSettings) OutF("<%s>%d</%s>\n", s.xml, s.value, s.xml);
    OutF("</work_time_basis>\n");
    return;
  }
  OutF("\n  Work Time Basis\n");
  OutF("  Calendar Days           = Delta Time (s) / Seconds per Day\n"
       "  Work Days               = Calendar Days * (Work Days per Week / 7 Days per Week)\n"
       "  Man Hours               = Work Days * Work Hours per Shift * Shifts per Day\n"
       "  Man Days                = Man Hours / Hours per Man Day\n"
       "  Man Weeks               = Man Hours / Hours per Man Week\n"
       "  Man Months              = Man Hours / Hours per Man Month\n"
       "  Man Years               = Man Hours / Hours per Man Years\n");
  for (const auto& s : kSettings) OutF("  %-24s: %d\n", s.label, s.value);
}

}  // namespace

bool ExtractWork(const std::string& olderFile, const std::string& newerFile, GlobalData& gcd, int showHead) {
  WorkDiffState& wd = gcd.wd;
  const bool progress = gcd.sw.progress != 0;
  if (progress) {
    StreamF(stderr, "  Work File Differential Extraction\n");
    StreamF(stderr, "  Loading Report Configuration: %s\n", gcd.drv.workDiffCfgFile.c_str());
  }
  LoadReportCfg(gcd.drv.workDiffCfgFile, wd.reportCfg, gcd);
  if (showHead) ReportHead(gcd);
  Notes(gcd);

  Llist<NodeData> older, newer, diff;
  time_t olderTime = 0, newerTime = 0;
  int olderBlank = 0, olderWhite = 0, newerBlank = 0, newerWhite = 0;
  wd.olderWorkFile = olderFile;
  wd.newerWorkFile = newerFile;
  if (progress) StreamF(stderr, "  Loading Older Work File: %s\n", olderFile.c_str());
  if (!LoadWorkFile(olderFile, &olderTime, older, &olderBlank, &olderWhite, gcd)) {
    OutF("\n  Error: Failed to load work file, %s\n", ShownText(olderFile, gcd).c_str());
    CloseReport(gcd);
    return false;
  }
  if (progress) StreamF(stderr, "  Loading Newer Work File: %s\n", newerFile.c_str());
  if (!LoadWorkFile(newerFile, &newerTime, newer, &newerBlank, &newerWhite, gcd)) {
    OutF("\n  Error: Failed to load work file, %s\n", ShownText(newerFile, gcd).c_str());
    CloseReport(gcd);
    return false;
  }

  const double delta = static_cast<double>(newerTime) - static_cast<double>(olderTime);
  if (delta < 0) OutF("\n  Warning: The older work file was created after the present work file.\n\n");
  if (olderBlank != newerBlank) ConstraintError("Ignore Blank Lines", olderBlank, newerBlank, gcd);
  if (olderWhite != newerWhite) ConstraintError("Ignore White Space", olderWhite, newerWhite, gcd);
  const WorkTime time = ComputeWorkTime(delta, gcd.cfg);
  ShowWorkTime(olderFile, olderTime, newerFile, newerTime, time, gcd);

  DiffWorkLists(older, newer, diff, gcd);
  if (progress) StreamF(stderr, "(100%%)\n  Reporting Differentials\n");
  if (gcd.sw.sortKey >= 1 && gcd.sw.sortKey <= 10) LlistResort_NodeData(diff, gcd.sw.sortKey, gcd);

  ShowDiffTable(diff, gcd);
  WorkDiffProfile(diff, gcd);
  ShowDiffTotals(gcd);
  if (gcd.sw.workProductivity) ShowProductivity(time, gcd);
  if (gcd.sw.workBasis) WorkTimeBasis(gcd);
  if (gcd.sw.workGlossary) DiffReportGlossary(gcd);
  CloseReport(gcd);
  if (progress)
    StreamF(stderr, "  %d Older Work Files\n  %d Newer Work Files\n  Work File Differential Extraction Complete\n",
            older.count, newer.count);
  return true;
}
