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

// What ReleaseRunRecordAtExit leaves to the process's end. Freeing half a
// million function records one by one takes a noticeable part of a run over
// a tree the size of Linux, for memory the process is about to give back
// anyway. The pointer keeps it reachable, so leak checkers count it as live.
struct LeftAtExit {
  RunLists lists;
};
LeftAtExit* gLeftAtExit = nullptr;
}  // namespace

GlobalData* CreateRunRecord() {
  SetReportBytes(ReportBytes::AsIs);
  gRunRecord = NewGlobalData();
  return gRunRecord.get();
}

void ReleaseRunRecord() {
  // The JSON transcoder hands on what it holds while its stream is open.
  if (gRunRecord) gRunRecord->drv.json.reset();
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

void ReleaseRunRecordAtExit() {
  if (gRunRecord && gLeftAtExit == nullptr)
    gLeftAtExit = new (std::nothrow) LeftAtExit{std::move(gRunRecord->lists)};
  ReleaseRunRecord();
}
