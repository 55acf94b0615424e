// What the reports of a run read from the analysis, decided once after the
// switches: work whose results no requested report reads is skipped.
#pragma once

// How much of the built-in quality notices the reports read.
enum class NoticeNeed {
  None,      // nothing: no notice is checked, counted or written
  Presence,  // only whether a file raised any notice (the rule lines of the
             // function reports): a file's checks stop at its first notice
  All,       // every notice, its count and its text
};

struct ReportNeeds {
  NoticeNeed notices = NoticeNeed::All;
};

struct Switches;
// The needs of a run with the given switches; noticeDocuments is true when a
// SARIF log or GitLab report is asked for (they capture every notice).
// Whatever turns on an output of notices or of their counts must be known
// here.
ReportNeeds DecideReportNeeds(const Switches& sw, bool noticeDocuments);
