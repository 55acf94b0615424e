// The differential report configuration: the default file byte for byte,
// the reader, and the CSV report configuration template built on it.
#include <gtest/gtest.h>

#include <string>

#include "capture_out.h"
#include "common/gcd.h"
#include "test_support.h"
#include "workdiff/report_cfg.h"
#include "workdiff/work_rates.h"

namespace {

class ReportCfgTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  ReportCfgTable table{};
};

TEST_F(ReportCfgTest, MissingFileShowsEverythingAndIsCreated) {
  const std::string path = dir.path() + "/lqa_workdiff.cfg";
  EXPECT_EQ(LoadReportCfg(path, table, *gcd), 0);
  for (const ReportCfgEntry& e : table) {
    EXPECT_EQ(e.show, 1);
    EXPECT_EQ(e.plus, 0);
  }
  EXPECT_EQ(dir.Read("lqa_workdiff.cfg"),
            "# Line Quality Analyzer Version\n# Work File Differential Configuration File\n#\n"
            "# Modify the following:\n# OFF Turns off this item in the report\n"
            "# ON  Turns on this item in the report\n\n"
            "# When a file is removed from the baseline the following +/- indicate the\n"
            "# behavior to the overall total metric\n"
            "# +   Makes the metrics differential to contribute positively to the total\n"
            "# -   Makes the metrics differential to contribute negatively to the total\n\n"
            "LOC_COUNT             ON -\nELOC_COUNT            ON -\nLLOC_COUNT            ON -\n"
            "COMMENT_LINE_COUNT    ON -\nBLANK_LINE_COUNT      ON -\nPHYSICAL_LINE_COUNT   ON -\n"
            "FUNCTION_COUNT        ON -\nCYCLOMATIC_COMPLEXITY ON -\nINTERFACE_COMPLEXITY  ON -\n"
            "TOTAL_COMPLEXITY      ON -\nQUALITY_NOTICE_COUNT  ON -\nELOC_PERCENT_DIFF     ON -\n\n# End of file\n");
  // The default file reads back as every report column on.
  EXPECT_EQ(LoadReportCfg(path, table, *gcd), 1);
  EXPECT_EQ(table[kKeyLoc].show, 1);
  EXPECT_EQ(table[kKeyElocPercent].show, 1);
  EXPECT_EQ(table[kKeyFileName].show, 0);
}

TEST_F(ReportCfgTest, KeysValuesAndSigns) {
  const std::string path = dir.Write("r.cfg",
                                     "# LOC_COUNT ON +\n"
                                     "LOC_COUNT OFF -\n"
                                     "\t  eloc_count on +\n"
                                     "ELOC_PERCENT_DIFF     ON +\n"
                                     "_EXIT_COUNT ON\n"
                                     "NO_SUCH_KEY ON +\n"
                                     "LLOC_COUNT ON +" + std::string(100, ' ') + "\nQUALITY_NOTICE_COUNT ON +\n");
  EXPECT_EQ(LoadReportCfg(path, table, *gcd), 1);
  EXPECT_EQ(table[kKeyLoc].show, 0);
  EXPECT_EQ(table[kKeyEloc].show, 1);
  EXPECT_EQ(table[kKeyEloc].plus, 1);
  EXPECT_EQ(table[kKeyElocPercent].plus, 1);
  EXPECT_EQ(table[FindReportKey("_EXIT_COUNT")].show, 1);
  EXPECT_EQ(table[kKeyLloc].show, 1);  // an over-long line still counts once
  EXPECT_EQ(table[kKeyNotices].plus, 1);
  EXPECT_EQ(table[kKeyCyclomatic].show, 0);  // keys not in the file are off
}

TEST_F(ReportCfgTest, CsvTemplateFollowsTheNamedConfiguration) {
  std::string out = CaptureOut([&] { CreateCSVCfg(*gcd); });
  EXPECT_TRUE(out.starts_with("# Line Quality Analyzer Version\n# CSV Report Configuration File\n"));
  EXPECT_NE(out.find("\nFILE_NAME                             ON\n"), std::string::npos);
  EXPECT_NE(out.find("\nRATIO_BLANK_LINES_TO_TOTAL_CHARACTERS ON\n"), std::string::npos);
  EXPECT_NE(out.find("\nELOC_PERCENT_DIFF                     ON\n\n# End of file\n"), std::string::npos);
  EXPECT_EQ(out.find("UNKNOWN_DATA_FIELD"), std::string::npos);
  gcd->sw.csvReportCfgFile = dir.Write("csv.cfg", "LOC_COUNT OFF\nFILE_NAME ON\n");
  out = CaptureOut([&] { CreateCSVCfg(*gcd); });
  EXPECT_NE(out.find("\nLOC_COUNT                             OFF\n"), std::string::npos);
  EXPECT_NE(out.find("\nFILE_NAME                             ON\n"), std::string::npos);
}

TEST(WorkRates, CalendarAndWorkDays) {
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  const WorkTime day = ComputeWorkTime(86400, gcd->cfg);
  char text[64];
  snprintf(text, sizeof text, "%.2f %.2f %.2f %.2f", day.calendarDays, day.workDays, day.manHours, day.manDays);
  EXPECT_STREQ(text, "1.00 0.71 5.71 0.71");
  EXPECT_NEAR(day.manYears, 40.0 / 7 / 1960, 1e-12);
  EXPECT_EQ(FormatDaysHms(86400), "1:00:00:00");
  EXPECT_EQ(FormatDaysHms(90061), "1:01:01:01");
  EXPECT_EQ(FormatDaysHms(-90061), "-1:01:01:01");
  gcd->cfg.workSecondsPerHour = 0;
  gcd->cfg.workHoursPerManDay = 0;
  const WorkTime none = ComputeWorkTime(86400, gcd->cfg);
  EXPECT_EQ(none.calendarDays, 0.0);
  EXPECT_EQ(none.manDays, 0.0);
}

}  // namespace
