#include "driver/exit.h"

#include <cstdlib>

#include "common/gcd.h"
#include "common/output.h"
#include "common/report_sink.h"
#include "driver/report_output.h"

void CloseHtmlPage(GlobalData& gcd) {
  if (gcd.sw.outputMode == OutputMode::Html) OutF("</pre></body></html>");
}

void CloseXmlDocument(GlobalData& gcd) {
  if (gcd.sw.outputMode != OutputMode::Xml || !gcd.drv.xmlDocumentOpen) return;
  OutF("</lqadoc>\n");
  gcd.drv.xmlDocumentOpen = 0;
}

[[noreturn]] void ExitRun(int status, GlobalData& gcd) {
  // The text of the file the run stops in goes before the closing text.
  ReleaseCurrentReportSink();
  CloseHtmlPage(gcd);
  CloseXmlDocument(gcd);
  // The report holds the message that ended the run: it is complete.
  if (!FinishReport(gcd) || (gcd.drv.runFailed && status == 0)) status = 1;
  ReleaseRunRecord();
  std::exit(status);
}
