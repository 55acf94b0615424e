// The project title and the reports that the -T options select.
#include <cstdio>

#include "common/gcd.h"
#include "common/output.h"
#include "inheritance/inheritance.h"
#include "reports/entity_listing.h"
#include "reports/file_report.h"
#include "reports/format.h"
#include "reports/project_reports.h"
#include "reports/report_text.h"

void ShowProjectTitle(GlobalData& gcd) {
  const int files = gcd.drv.filesProcessed;
  char plain[128];
  snprintf(plain, sizeof plain, "%s%d%s", "~~ Project Analysis For ", files, " Files ~~");
  switch (ReportMode(gcd)) {
    case OutputMode::Html: {
      OutS("\n");
      HyphenRule();
      OutS("\n");
      char decorated[256];
      snprintf(decorated, sizeof decorated, "%s<font color=\"%s\">%d</font>%s", "<b>~~ Total Metrics For ",
               gcd.cfg.htmlTotalColor.c_str(), files, " Files ~~</b>");
      Center_HTML(plain, decorated);
      break;
    }
    case OutputMode::Text:
      OutS("\n");
      HyphenRule();
      OutS("\n");
      Center(plain);
      break;
    case OutputMode::Csv:
      OutF("\n%s,%d,%s", "Project", files, "Files");
      break;
    case OutputMode::Xml:
      break;
  }
}

void ShowTotalReport(GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  const bool all = sw.totalsAll != 0;
  if (all || sw.totalsFunctions) ShowProjectFunctionSummary(gcd);
  if (all || sw.totalsClasses) {
    ShowProjectClassSummary(gcd);
    ShowProjectInterSummary(gcd);
  }
  // With -Ta the tree stands between the interfaces and the namespaces.
  if (all) ReportInheritanceTree(gcd);
  if (all || sw.totalsNamespaces) ShowProjectNamespaceSummary(gcd);
  // With -Tp the tree writes nothing, but its depth and children notices
  // still count in the profile that follows.
  if (!all && (sw.totalsInheritance || sw.totalsProfile)) ReportInheritanceTree(gcd);
  if (all || sw.totalsProfile) ShowQualityProfile(gcd);
  if (all || sw.totalsQualityByFile || sw.totalsNotices) ShowNoticeSummary(gcd);
  if (all || sw.totalsLanguage) {
    ShowLanguageProfile(gcd);
    ShowLanguageSummary(gcd);
  }
  if (sw.fileList) ShowTotalDirSummary(gcd);
  if (all || sw.totalsSummary) ShowTotalSummary(gcd, 1, 1);
}
