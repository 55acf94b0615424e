// What the reports of a run read from the analysis, decided once after the
// switches: work whose results no requested report reads is skipped.
#pragma once

struct ReportNeeds {
  // The built-in quality notices are checked, counted and written. Off only
  // when nothing of the run reads a notice or a notice count: no notice
  // listing, no analysis switch (function and class reports, totals, CSV,
  // XML, baselines and the verbose report all show notice counts) and no
  // exit status from -n. Whatever turns a notice output on must keep this on.
  int notices = 1;
};

struct Switches;
// The needs of a run with the given switches.
ReportNeeds DecideReportNeeds(const Switches& sw);
