// FPLOCLine lives apart from the other metric lines: it is the one writer
// that decides a file's language.
#include "common/gcd.h"
#include "driver/languages.h"
#include "reports/function_points.h"
#include "reports/metric_lines.h"

void FPLOCLine(const char* fileName, int loc, int eloc, int lloc, GlobalData& gcd) {
  if (!gcd.sw.functionPoints) return;
  if (fileName != nullptr) WhichFile(fileName, 0, gcd);
  FPFileLine(GetFP(loc, 0, gcd), GetFP(eloc, 1, gcd), GetFP(lloc, 2, gcd), gcd);
}
