#include "common/gcd.h"

#include <new>

#include "common/output.h"

std::unique_ptr<GlobalData> NewGlobalData() {
  std::unique_ptr<GlobalData> gcd(new (std::nothrow) GlobalData());
  if (gcd) InitGlobals(*gcd);
  return gcd;
}

namespace {
// Owner of the program's run record; released explicitly or at process exit.
std::unique_ptr<GlobalData> gRunRecord;
}  // namespace

GlobalData* CreateRunRecord() {
  SetReportBytes(ReportBytes::AsIs);
  gRunRecord = NewGlobalData();
  return gRunRecord.get();
}

void ReleaseRunRecord() {
  if (gRunRecord && gLQAOUT != stdout && gLQAOUT != nullptr) {
    // A report file the run record owns is dropped with it, unpublished;
    // any other stream is closed here.
    const AtomicFile* report = gRunRecord->drv.report.get();
    if (report == nullptr || report->stream() != gLQAOUT) fclose(gLQAOUT);
    gLQAOUT = stdout;
  }
  SetReportBytes(ReportBytes::AsIs);
  gRunRecord.reset();
}
