// Memory allocation and release counts of a file or of the project.
#include "common/gcd.h"
#include "common/output.h"
#include "reports/project_reports.h"
#include "reports/report_text.h"

void ShowMemorySummary(GlobalData& gcd) {
  const FileCounts& c = gcd.eng.fc;
  if (c.allocs < 1 && c.frees < 1 && c.news < 1 && c.deletes < 1) return;
  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutS("<report>\n<name>Memory Allocation Summary</name>\n");
      OutF("<memory_alloc_count>%d</memory_alloc_count>\n<memory_free_count>%d</memory_free_count>\n"
           "<memory_new_count>%d</memory_new_count>\n<memory_delete_count>%d</memory_delete_count>\n",
           c.allocs, c.frees, c.news, c.deletes);
      OutS("</report>\n");
      return;
    case OutputMode::Csv:
      OutS("\nMemory Allocation/De-allocation Summary\n");
      OutF("%s,%d,%s,%d\n", "Memory alloc count", c.allocs, "Memory free count", c.frees);
      OutF("%s,%d,%s,%d\n", "Memory new count", c.news, "Memory delete count", c.deletes);
      return;
    case OutputMode::Html:
    case OutputMode::Text:
      break;
  }
  RuledSectionTitle("~~ Memory Allocation/De-allocation Summary ~~", gcd);
  OutF("\n%s%10d%s%10d\n", Label("  Memory alloc count ....: ", gcd).c_str(), c.allocs,
       Label("  Memory free count .....: ", gcd).c_str(), c.frees);
  OutF("%s%10d%s%10d\n", Label("  Memory new count ......: ", gcd).c_str(), c.news,
       Label("  Memory delete count ...: ", gcd).c_str(), c.deletes);
}
