// The inheritance line written after a class head with a base list, and the
// multiple inheritance notice.
#include <cstring>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "common/text.h"
#include "inheritance/inheritance.h"
#include "notices/notices.h"
#include "reports/format.h"
#include "reports/report_text.h"

namespace {

// More than one base: a comma with no "<" before the first comma (a comma
// inside the template arguments of the first base does not count).
bool NamesSeveralBases(const char* baseList) {
  const char* comma = std::strchr(baseList, ',');
  if (comma == nullptr) return false;
  const char* angle = std::strchr(baseList, '<');
  return angle == nullptr || angle > comma;
}

}  // namespace

void EmitInheritanceLine(const char* className, const char* baseList, GlobalData& gcd) {
  if (baseList == nullptr) return;
  const Switches& sw = gcd.sw;
  if (sw.objectMetrics && !sw.totalsOnly) {
    char wrapped[kTextBuf];
    switch (sw.outputMode) {
      case OutputMode::Html: {
        AdjNameLength(baseList, wrapped, 59, 15, gcd);
        std::string escaped(std::strlen(wrapped) * 6 + 1, '\0');
        HTML_esc(wrapped, escaped.data());
        OutF("  <b>Inheritance</b>: <b><font color=\"%s\">%s</font></b>\n", gcd.cfg.htmlInheritanceColor.c_str(),
             escaped.c_str());
        break;
      }
      case OutputMode::Csv:
        // One column however many bases: their commas become blanks.
        OutF("Inheritance,%s\n", CsvName(baseList).c_str());
        break;
      case OutputMode::Text:
        OutF("  Inheritance: %s\n", AdjNameLength(baseList, wrapped, 59, 15, gcd));
        break;
      case OutputMode::Xml:
        break;
    }
  }
  if (sw.qualityNotices && NamesSeveralBases(baseList)) {
    const char* file = gcd.drv.currentFileName != nullptr ? gcd.drv.currentFileName : "";
    EmitMultipleInheritanceNotice(file, gcd.drv.lineNumber, className != nullptr ? className : "", gcd);
  }
}
