#include "driver/exit.h"

#include <cstdlib>

#include "common/gcd.h"
#include "common/output.h"

void CloseHtmlPage(GlobalData& gcd) {
  if (gcd.sw.outputMode == OutputMode::Html) OutF("</pre></body></html>");
}

[[noreturn]] void ExitRun(int status, GlobalData& gcd) {
  CloseHtmlPage(gcd);
  fflush(gLQAOUT);
  ReleaseRunRecord();
  std::exit(status);
}
