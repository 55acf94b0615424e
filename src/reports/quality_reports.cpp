// Quality profile (notices by type, their shares and the notice density) and
// the quality notice summary (every notice printed in single-line form).
#include <cstring>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "notices/udqn.h"
#include "reports/format.h"
#include "reports/project_reports.h"
#include "reports/report_text.h"

// The notice catalogue and the user defined notices may be absent from a
// build; the reports then fall back to the catalogue's placeholder text and
// to no user defined notices.
const char* GetNoticeStr(int number, const GlobalData& gcd) __attribute__((weak));
int udqn_notice_total_count(GlobalData& gcd) __attribute__((weak));

namespace {

const char* NoticeText(int number, GlobalData& gcd) {
  const char* text = GetNoticeStr != nullptr ? GetNoticeStr(number, gcd) : nullptr;
  return text != nullptr ? text : "Unsupported";
}

int UserNoticeTotal(GlobalData& gcd) { return udqn_notice_total_count != nullptr ? udqn_notice_total_count(gcd) : 0; }

struct Density {
  const char* text;   // text and HTML label
  const char* csv;    // CSV label
  const char* xml;    // XML element suffix
  int basis;
  bool shown;
};

void ProfileRows(int total, GlobalData& gcd) {
  const std::string& notice = gcd.cfg.htmlNoticeColor;
  const std::string& count = gcd.cfg.htmlFunctionColor;
  const std::string& share = gcd.cfg.htmlClassColor;
  for (int type = 1; type <= kNoticeCount; ++type) {
    const int n = gcd.notices.run.perNotice[type];
    if (n < 1) continue;
    const double pct = Quotient(n, total) * 100.0;
    const char* text = NoticeText(type, gcd);
    switch (ReportMode(gcd)) {
      case OutputMode::Xml:
        OutF("<notice>\n<type>%d</type>\n<count>%d</count>\n<percent>%.2f</percent>\n<description>%s</description>\n"
             "</notice>\n",
             type, n, pct, XmlEscaped(text).c_str());
        break;
      case OutputMode::Csv:
        if (total >= 1) OutF("%-2d,%7d,%6.2f,%s\n", type, n, pct, CsvName(text).c_str());
        break;
      case OutputMode::Html:
        OutF("  <b><font color=\"%s\">%-4d</font></b> <b><font color=\"%s\">%6d</font></b>  "
             "<b><font color=\"%s\">%6.2f</font></b>  <b>%s</b>\n",
             notice.c_str(), type, count.c_str(), n, share.c_str(), pct, HtmlEscaped(text).c_str());
        break;
      case OutputMode::Text:
        OutF("  %-4d %6d  %6.2f  %s\n", type, n, pct, text);
        break;
    }
  }
}

}  // namespace

void ShowQualityProfile(GlobalData& gcd) {
  int total = UserNoticeTotal(gcd);
  for (int type = 1; type <= kNoticeCount; ++type) total += gcd.notices.run.perNotice[type];
  const FileCounts& c = gcd.eng.fc;
  const int loc = c.loc, eloc = Eloc(c), lloc = Lloc(c);
  const Density densities[] = {
      {"  Quality Notices/K LOC   = ", "QN/K LOC", "loc", loc, loc > 0},
      {"  Quality Notices/K eLOC  = ", "QN/K eLOC", "eloc", eloc, eloc > 0},
      {"  Quality Notices/K lLOC  = ", "QN/K lLOC", "lloc", lloc, lloc >= 1},
  };
  auto perK = [total](int basis) { return Quotient(total, basis) * 1000.0; };
  auto percent = [total](int basis) { return Quotient(total, basis) * 100.0; };

  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutF("<report>\n<name>Project Quality Profile</name>\n<total_notices>%d</total_notices>\n", total);
      ProfileRows(total, gcd);
      udqn_profile(total, gcd);
      OutF("<notice>\n<type>All</type>\n<count>%d</count>\n<percent>%.2f</percent>\n"
           "<description>Total Quality Notices</description>\n</notice>\n",
           total, 100.0);
      OutS("<notice_density>\n");
      for (const Density& d : densities)
        OutF("<quality_notice_count_per_k_%s>%.1f</quality_notice_count_per_k_%s>\n"
             "<quality_notice_percent_%s>%.2f</quality_notice_percent_%s>\n",
             d.xml, perK(d.basis), d.xml, d.xml, percent(d.basis), d.xml);
      OutS("</notice_density>\n</report>\n");
      return;
    case OutputMode::Csv:
      OutS("\nProject Quality Profile\n\nType,Count,Percent,Quality Notice\n");
      ProfileRows(total, gcd);
      udqn_profile(total, gcd);
      OutF("\n,%7d,%6.2f,%s\n\n", total, 100.0, "Total Quality Notices");
      OutS("Quality Notice (QN) Density\nBasis,1000,(K)\n");
      OutF(",,  %%\n");
      for (const Density& d : densities)
        if (d.shown) OutF("%s,%.1f,%.2f\n", d.csv, perK(d.basis), percent(d.basis));
      return;
    case OutputMode::Html:
    case OutputMode::Text:
      break;
  }
  RuledSectionTitle("~~ Project Quality Profile ~~", gcd);
  OutS("\n");
  OutS(IsHtml(gcd) ? "  <b>Type  Count Percent  Quality Notice</b>\n" : "  Type  Count Percent  Quality Notice\n");
  UnderscoreRule();
  OutS("\n");
  ProfileRows(total, gcd);
  udqn_profile(total, gcd);
  UnderscoreRule();
  OutS("\n");
  OutF("      %7d  %6.2f  %s\n\n", total, 100.0, Label("Total Quality Notices", gcd).c_str());
  SectionTitle("~~ Quality Notice Density ~~", gcd);
  OutS("\n");
  OutF("%s1000 (K)\n\n", Label("  Basis: ", gcd).c_str());
  for (const Density& d : densities)
    if (d.shown) OutF("%s%10.1f (%6.2f%%)\n", Label(d.text, gcd).c_str(), perK(d.basis), percent(d.basis));
}

void NoticeDataShow(const NameData& n, GlobalData& gcd) {
  const char* path = n.name.c_str();
  const int line = static_cast<int>(n.value1);
  const int type = static_cast<int>(n.value2);
  const char* text = NoticeText(type, gcd);
  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutF("<notice>\n<file>%s</file>\n", XmlEscaped(path).c_str());
      OutF("<type>%d</type>\n<line>%d</line>\n<description>%s</description>\n</notice>\n", type, line,
           XmlEscaped(text).c_str());
      return;
    case OutputMode::Csv:
      OutF("%s, %2d, %d, %s\n", CsvName(path).c_str(), type, line, CsvName(text).c_str());
      return;
    case OutputMode::Html:
    case OutputMode::Text:
      break;
  }
  if (gcd.sw.noticeVisualStudio) {
    if (IsHtml(gcd))
      OutF("%s(%d) : Notice #%2d - %s\n", HtmlEscaped(path).c_str(), line, type, HtmlEscaped(text).c_str());
    else
      OutF("%s(%d) : Notice #%2d - %s\n", path, line, type, text);
  } else if (IsHtml(gcd)) {
    char target[kTextBuf];
    CopyBounded(target, path);
    const std::string link = HTMLPathFile(target, gcd);
    const char* slash = std::strrchr(path, '/');
    OutF("  <a href=\"%s\" target=\"_blank\">%s</a> - <font color=%s><b>Notice</b></font> <b>#%2d</b>: Line <b>%d</b>, "
         "%s\n",
         HtmlEscaped(link.c_str()).c_str(), HtmlEscaped(slash != nullptr ? slash + 1 : path).c_str(),
         gcd.cfg.htmlNoticeColor.c_str(), type, line, HtmlEscaped(text).c_str());
  } else {
    OutF("  %s - Notice #%2d: Line %d, %s\n", path, type, line, text);
  }
}

void ShowNoticeSummary(GlobalData& gcd) {
  Llist<NameData>& list = gcd.lists.noticeOccurrences;
  if (list.count < 1) return;
  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutF("<report>\n<name>Total Quality Notices</name>\n<notice_count>%d</notice_count>\n", list.count);
      break;
    case OutputMode::Csv:
      OutF("Total Quality Notices. %d\n\n", list.count);
      OutS("Filename, Notice, Line, Description\n");
      break;
    case OutputMode::Html:
    case OutputMode::Text:
      RuledSectionTitle("~~ Quality Notice Summary ~~", gcd);
      OutF("\n%s%d\n", Label("  Total Quality Notices: ", gcd).c_str(), list.count);
      break;
  }
  if (gcd.sw.sortKey > 0) LlistResort_NameData(list, 1, gcd);
  for (const NameData& n : list) NoticeDataShow(n, gcd);
  if (IsXml(gcd)) OutS("</report>\n");
}
