#include "driver/progress.h"

#include "common/gcd.h"
#include "common/output.h"

namespace {
int Interval(const GlobalData& gcd) { return gcd.cfg.progressInterval < 1 ? 1 : gcd.cfg.progressInterval; }
}  // namespace

void ShowProgressStart(GlobalData& gcd) {
  if (!gcd.sw.progress) return;
  if (gcd.cfg.detailedProgress)
    StreamF(stderr, "  Processing %d Files - Status By File Name\n", gcd.drv.fileCount);
  else
    StreamF(stderr, "  Processing %d Files - Status(.) %d Files\n  ", gcd.drv.fileCount, Interval(gcd));
}

void ShowProgress(const char* fileName, GlobalData& gcd) {
  if (!gcd.sw.progress) return;
  if (gcd.cfg.detailedProgress) {
    StreamF(stderr, "  + %s\n", fileName);
    return;
  }
  DriverState& drv = gcd.drv;
  int interval = Interval(gcd);
  ++drv.progressCounter;
  if (drv.progressCounter % interval == 0) StreamF(stderr, ".");
  if (drv.progressCounter >= 65 * interval) {
    drv.progressProcessed += drv.progressCounter;
    double pct = drv.fileCount > 0 ? 100.0 * drv.progressProcessed / drv.fileCount : 100.0;
    StreamF(stderr, "(%4.1f%%)\n  ", pct);
    drv.progressCounter = 1;
  }
}

void ShowProgressEnd(GlobalData& gcd) {
  if (!gcd.sw.progress) return;
  StreamF(stderr, "(100%%)\n  Processing Files Complete\n");
  bool sorting = (gcd.sw.sortKey >= 1 && gcd.sw.sortKey <= 10) || gcd.sw.sortFilesByName;
  StreamF(stderr, sorting ? "  Sorting, Reporting and Post Processing\n" : "  Reporting and Post Processing\n");
}
