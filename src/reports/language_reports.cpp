// Language summary (counts per language) and language profile (each
// language's share of the project).
#include <array>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/metric_lines.h"
#include "reports/project_reports.h"
#include "reports/report_text.h"

namespace {

// Counts in the order LOC, eLOC, lLOC, comments, blanks, lines.
using Counts = std::array<int, 6>;

struct LanguageRow {
  LanguageGroup group;
  const char* text;        // summary name line, text
  const char* htmlName;    // summary name line, HTML
  const char* csv;         // summary label, CSV
  const char* xml;         // name in XML
  const char* profile;     // profile label
};

// Summary order: header files, C, C++, Java, C#, other.
constexpr LanguageRow kSummaryRows[] = {
    {kGroupHeader, "\n  Header Include Files *.h*\n", "\n  <b>Header Include Files</b> <i>*.h*</i>\n",
     " ,Header Include Files *.h*", "Header Files *.h*", "*.h*"},
    {kGroupC, "\n  C Source Files *.c\n", "\n  <b>C Source Files</b> <i>*.c</i>\n", " ,C Source Files *.c",
     "C Files *.c", "*.c"},
    {kGroupCpp, "\n  C++ Source Files *.c*\n", "\n  <b>C++ Source Files</b> <i>*.c*</i>\n", " ,C++ Source Files *.c*",
     "C++ Files *.cp*", "*.c*"},
    {kGroupJava, "\n  Java Source File *.jav*\n", "\n  <b>Java Source File</b> <i>*.jav*</i>\n",
     " ,Java Source File *.java", "Java Files *.jav*", "*.java"},
    {kGroupCSharp, "\n  C# Source File *.cs\n", "\n  <b>C# Source File</b> <i>*.cs</i>\n", " ,C# Source File *.cs",
     "C Sharp Files *.cs", "*.cs"},
    {kGroupOther, "\n  Other Source Files\n", "\n  <b>Other Source Files</b>\n", " ,Other Source Files", "Other Files",
     "Other"},
};
// The profile lists C# before Java.
constexpr LanguageGroup kProfileOrder[] = {kGroupHeader, kGroupC, kGroupCpp, kGroupCSharp, kGroupJava, kGroupOther};

Counts CountsOf(const LanguageGroupTotals& t) { return {t.loc, t.eloc, t.lloc, t.comments, t.blanks, t.lines}; }

Counts TotalCounts(const GlobalData& gcd) {
  Counts total{};
  for (const LanguageGroupTotals& t : gcd.langTot) {
    const Counts c = CountsOf(t);
    for (std::size_t i = 0; i < total.size(); ++i) total[i] += c[i];
  }
  return total;
}

int FilesOf(LanguageGroup group, const LanguageState& l) {
  switch (group) {
    case kGroupHeader: return l.cHeaderFiles;
    case kGroupC: return l.cFiles;
    case kGroupCpp: return l.cppFiles + l.cppHeaderFiles;
    case kGroupJava: return l.javaFiles;
    case kGroupCSharp: return l.csharpFiles;
    case kGroupOther: return l.otherFiles;
    case kGroupCount: break;
  }
  return 0;
}

int AllFiles(const LanguageState& l) {
  return l.otherFiles + l.cFiles + l.cHeaderFiles + l.cppFiles + l.cppHeaderFiles + l.javaFiles + l.csharpFiles;
}

bool AllBelowOne(const Counts& c) {
  for (int v : c)
    if (v >= 1) return false;
  return true;
}

double Points(int count, int factor) { return factor < 1 ? 0.0 : static_cast<double>(count) / factor; }

constexpr std::array<int, 3> kNoFactors = {-1, -1, -1};

void SummaryEntry(const char* text, const char* html, const char* csv, const char* xml, const Counts& c, int files,
                  const std::array<int, 3>& factors, GlobalData& gcd) {
  const double fpLoc = Points(c[0], factors[0]), fpEloc = Points(c[1], factors[1]), fpLloc = Points(c[2], factors[2]);
  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      EmitXMLLanguageMetrics(xml, c.data(), factors.data(), gcd);
      return;
    case OutputMode::Csv:
      OutS(csv);
      if (gcd.sw.functionPoints)
        OutF(", , , %d/%-10.1f,%d/%-10.1f,%d/%-10.1f,%d,%d,%d\n", c[0], fpLoc, c[1], fpEloc, c[2], fpLloc, c[3], c[4],
             c[5]);
      else
        OutF(", , , %d,%d,%d,%d,%d,%d\n", c[0], c[1], c[2], c[3], c[4], c[5]);
      return;
    case OutputMode::Html:
      OutS(html);
      break;
    case OutputMode::Text:
      OutS(text);
      break;
  }
  LOCLine(c[0], c[1], c[2], c[3], c[5], gcd);
  LOCFileAvg(c[0], c[1], c[2], c[3], c[5], files, gcd);
  if (gcd.sw.functionPoints) FPLine(fpLoc, fpEloc, fpLloc, gcd);
}

}  // namespace

void EmitXMLLanguageMetrics(const char* name, const int counts[6], const int factors[3], GlobalData&) {
  OutF("<language>\n<name>%s</name>\n", name);
  OutF("<loc>%d</loc>\n<eloc>%d</eloc>\n<lloc>%d</lloc>\n<comments>%d</comments>\n<blanks>%d</blanks>\n"
       "<lines>%d</lines>\n",
       counts[0], counts[1], counts[2], counts[3], counts[4], counts[5]);
  OutF("<function_points_loc>%.1f</function_points_loc>\n<function_points_eloc>%.1f</function_points_eloc>\n"
       "<function_points_lloc>%.1f</function_points_lloc>\n",
       Points(counts[0], factors[0]), Points(counts[1], factors[1]), Points(counts[2], factors[2]));
  OutS("</language>\n");
}

void ShowLanguageSummary(GlobalData& gcd) {
  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutS("<report>\n<name>Language Metrics</name>\n");
      break;
    case OutputMode::Csv:
      OutS("\nLanguages\n");
      OutS(gcd.sw.functionPoints ? ", , , , LOC/FP,eLOC/FP,lLOC/FP,Comments,Blanks,Lines\n"
                                 : ", , , , LOC,eLOC,lLOC,Comments,Blanks,Lines\n");
      break;
    case OutputMode::Html:
    case OutputMode::Text:
      OutS("\n");
      SectionTitle("~~ Language Summary ~~", gcd);
      break;
  }
  for (const LanguageRow& row : kSummaryRows) {
    const Counts c = CountsOf(gcd.langTot[row.group]);
    if (AllBelowOne(c)) continue;
    const std::array<int, 3> factors = gcd.cfg.functionPoints[row.group];
    SummaryEntry(row.text, row.htmlName, row.csv, row.xml, c, FilesOf(row.group, gcd.lang), factors, gcd);
  }
  const Counts total = TotalCounts(gcd);
  if (!AllBelowOne(total))
    SummaryEntry("\n  Total All Languages\n", "\n  <b>Total All Languages</b>\n", " ,Total All Languages",
                 "Total All Languages", total, AllFiles(gcd.lang), kNoFactors, gcd);
  if (IsXml(gcd)) OutS("</report>\n");
}

void LangProfileHeader(GlobalData& gcd) {
  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutS("<report>\n<name>Total Language Profile</name>\n");
      break;
    case OutputMode::Csv:
      OutF("Total Language Profile (%%)\n");
      OutS(",Language,,,LOC,eLOC,lLOC,Comments,Blanks,Lines\n");
      break;
    case OutputMode::Html:
    case OutputMode::Text:
      RuledSectionTitle("~~ Total Language Profile ~~", gcd);
      OutF("%s", Label("  Language ", gcd).c_str());
      OutF("  LOC %%    eLOC %%    lLOC %%    Comments %%   Blanks %%    Lines %%\n");
      break;
  }
}

void LangProfileLine(const char* label, const int counts[6], const int totals[6], GlobalData& gcd) {
  double pct[6];
  for (int i = 0; i < 6; ++i) pct[i] = totals[i] < 1 ? 0.0 : static_cast<double>(counts[i]) / totals[i] * 100.0;
  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutF("<language>\n<extension>%s</extension>\n<loc_percent>%.1f</loc_percent>\n<eloc_percent>%.1f</eloc_percent>\n"
           "<lloc_percent>%.1f</lloc_percent>\n<comment_percent>%.1f</comment_percent>\n"
           "<blank_line_percent>%.1f</blank_line_percent>\n<lines_percent>%.1f</lines_percent>\n</language>\n",
           label, pct[0], pct[1], pct[2], pct[3], pct[4], pct[5]);
      break;
    case OutputMode::Csv:
      OutF(",%6s,,,%5.1f,%5.1f,%5.1f,%5.1f,%5.1f,%5.1f\n", label, pct[0], pct[1], pct[2], pct[3], pct[4], pct[5]);
      break;
    case OutputMode::Html:
      OutF("  <b>%-6s</b>     %5.1f     %5.1f     %5.1f         %5.1f      %5.1f      %5.1f\n", label, pct[0], pct[1],
           pct[2], pct[3], pct[4], pct[5]);
      break;
    case OutputMode::Text:
      OutF("  %-6s     %5.1f     %5.1f     %5.1f         %5.1f      %5.1f      %5.1f\n", label, pct[0], pct[1], pct[2],
           pct[3], pct[4], pct[5]);
      break;
  }
}

void ShowLanguageProfile(GlobalData& gcd) {
  LangProfileHeader(gcd);
  const Counts total = TotalCounts(gcd);
  for (LanguageGroup group : kProfileOrder) {
    const Counts c = CountsOf(gcd.langTot[group]);
    bool any = false;
    for (int v : c) any = any || v != 0;
    if (!any) continue;
    const char* label = "Other";
    for (const LanguageRow& row : kSummaryRows)
      if (row.group == group) label = row.profile;
    LangProfileLine(label, c.data(), total.data(), gcd);
  }
  if (IsXml(gcd)) OutS("</report>\n");
}
