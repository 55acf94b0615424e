#include "driver/report_needs.h"

#include "driver/switches.h"

ReportNeeds DecideReportNeeds(const Switches& sw) {
  ReportNeeds needs;
  // A plain per-file LOC summary (-s, the input, layout and output switches
  // only) prints no notice and no count of them.
  needs.notices = sw.analysisRequested || sw.qualityNotices || sw.noticeListMode || sw.totalsOnly ? 1 : 0;
  return needs;
}
