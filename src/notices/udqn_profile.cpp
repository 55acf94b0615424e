// The user defined rows of the quality profile and the run's count of user
// defined notices.
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "notices/udqn.h"
#include "notices/udqn_internal.h"
#include "reports/format.h"

namespace {

// The summary with its commas turned into blanks, so that it stays one CSV field.
std::string CsvField(std::string text) {
  for (char& c : text)
    if (c == ',') c = ' ';
  return text;
}

std::string HtmlField(const std::string& text) {
  std::string out;
  for (char c : text) {
    const char one[2] = {c, '\0'};
    char escaped[8];
    out += HTML_esc(one, escaped);
  }
  return out;
}

}  // namespace

void udqn_profile(int totalNotices, GlobalData& gcd) {
  if (totalNotices <= 0) return;
  const Config& cfg = gcd.cfg;
  for (const auto& owned : gcd.udqn.definitions) {
    const UdqnDefinition& def = *owned;
    if (!def.active || def.silent || def.hits <= 0) continue;
    const double percent = static_cast<double>(def.hits) / totalNotices * 100.0;
    switch (gcd.sw.outputMode) {
      case OutputMode::Csv:
        OutF("%4d,%6d,%6.2f,%s\n", def.id, def.hits, percent, CsvField(def.summary).c_str());
        break;
      case OutputMode::Xml:
        OutF("<notice>\n");
        OutF("<type>%d</type>\n", def.id);
        OutF("<count>%d</count>\n", def.hits);
        OutF("<percent>%.2f</percent>\n", percent);
        OutF("<description>%s</description>\n", XmlEncodeText(def.summary.c_str()).c_str());
        OutF("</notice>\n");
        break;
      case OutputMode::Html:
        // Colours as the built-in rows: number, count, percentage.
        OutF("  <b><font color=\"%s\">%-4d</font></b> <b><font color=\"%s\">%6d</font></b>  <b><font "
             "color=\"%s\">%6.2f</font></b>  <b>%s</b>\n",
             cfg.htmlNoticeColor.c_str(), def.id, cfg.htmlFunctionColor.c_str(), def.hits,
             cfg.htmlClassColor.c_str(), percent, HtmlField(def.summary).c_str());
        break;
      case OutputMode::Text:
        OutF("  %-4d %6d  %6.2f  %s\n", def.id, def.hits, percent, def.summary.c_str());
        break;
    }
  }
}

int udqn_notice_total_count(GlobalData& gcd) {
  int total = 0;
  for (const auto& def : gcd.udqn.definitions)
    if (def->active) total += def->hits;
  return total;
}
