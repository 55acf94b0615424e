#include "driver/report_needs.h"

#include "driver/switches.h"

ReportNeeds DecideReportNeeds(const Switches& sw, bool noticeDocuments) {
  ReportNeeds needs;
  // Notices are written with -n, -N, -Tn, -Tq and -xUDQNSHOW; their counts
  // appear in the totals modes (-T, -X, -w, which also write them to the work
  // file), the verbose report, the CSV lines and the exit status of -n. The
  // notice documents hold every notice.
  const bool counts = noticeDocuments || sw.qualityNotices || sw.noticeListMode || sw.totalsOnly || sw.verbose ||
                      sw.outputMode == OutputMode::Csv || sw.outputMode == OutputMode::Xml || sw.workCreate;
  if (counts) {
    needs.notices = NoticeNeed::All;
  } else if (sw.analysisRequested) {
    // The function and directory reports leave out a rule line after a file
    // (or project) that listed no function and raised no notice.
    needs.notices = NoticeNeed::Presence;
  } else {
    // A plain per-file LOC summary.
    needs.notices = NoticeNeed::None;
  }
  return needs;
}
