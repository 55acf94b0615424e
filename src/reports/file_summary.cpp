// The directory summary of -F list files, the file summary with its file
// counts, and the file detail list of -Td.
#include <cmath>
#include <cstdio>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/entity_listing.h"
#include "reports/file_report.h"
#include "reports/metric_lines.h"
#include "reports/project_reports.h"
#include "reports/report_text.h"

namespace {

// total / files, rounded up when the quotient has a fraction.
long long PerFileRoundedUp(long long total, int files) {
  if (files < 1) return 0;
  return static_cast<long long>(std::ceil(static_cast<double>(total) / files));
}

// The lines of one file detail entry after its name line.
void DetailLines(long long functions, long long notices, long long eloc, long long parameters, long long returns,
                 long long cyclomatic, long long loc, long long lloc, long long comments, long long lines,
                 double fpLoc, double fpEloc, double fpLloc, GlobalData& gcd) {
  if (gcd.sw.listFilesOnly) return;
  auto i = [](long long v) { return static_cast<int>(v); };
  FileMethodNotices(i(functions), i(notices), i(eloc), gcd);
  ComplexLine(i(parameters), i(returns), i(cyclomatic), gcd);
  LOCLine(i(loc), i(eloc), i(lloc), i(comments), i(lines), gcd);
  FPLine(fpLoc, fpEloc, fpLloc, gcd);
}

struct FileCount {
  const char* text;
  const char* html;
  const char* csv;
  const char* xml;
  int LanguageState::*count;
};

constexpr FileCount kFileCounts[] = {
    {"  C Source Files *.c ....: ", "  <b>C Source Files <i>*.c</i></b> ....: ", "C Source Files *.c", "c_file_count",
     &LanguageState::cFiles},
    {"  C/C++ Include Files *.h: ", "  <b>C/C++ Include Files <i>*.h</i></b>: ", "C/C++ Include Files *.h",
     "c_include_file_count", &LanguageState::cHeaderFiles},
    {"  C++ Source Files *.c* .: ", "  <b>C++ Source Files <i>*.c*</i></b> .: ", "C++ Source Files *.c*",
     "cpp_file_count", &LanguageState::cppFiles},
    {"  C++ Include Files *.h* : ", "  <b>C++ Include Files <i>*.h*</i></b> : ", "C++ Include Files *.h*",
     "cpp_include_file_count", &LanguageState::cppHeaderFiles},
    {"  C# Source Files *.cs ..: ", "  <b>C# Source Files <i>*.cs</i></b> ..: ", "C# Source Files *.cs",
     "csharp_file_count", &LanguageState::csharpFiles},
    {"  Java Source File *.jav*: ", "  <b>Java Source File <i>*.jav*</i></b>: ", "Java Source File *.jav*",
     "java_file_count", &LanguageState::javaFiles},
    {"  Other File Count ......: ", "  <b>Other Source Files</b> ....: ", "Other File Count", "other_file_count",
     &LanguageState::otherFiles},
};

void ShowFileCounts(GlobalData& gcd) {
  const LanguageState& l = gcd.lang;
  int total = 0;
  for (const FileCount& f : kFileCounts) total += l.*f.count;
  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutS("<file_counts>\n");
      for (const FileCount& f : kFileCounts) OutF("<%s>%d</%s>\n", f.xml, l.*f.count, f.xml);
      OutF("<total_file_count>%d</total_file_count>\n</file_counts>\n", total);
      return;
    case OutputMode::Csv:
      OutF("\n%s,%10d\n", kFileCounts[0].csv, l.*kFileCounts[0].count);
      for (std::size_t k = 1; k < std::size(kFileCounts); ++k)
        OutF("%s,%10d\n", kFileCounts[k].csv, l.*kFileCounts[k].count);
      OutF("%s,%10d\n", "Total File Count", total);
      return;
    case OutputMode::Html:
      // Pairs on one line; the other and total counts on lines of their own.
      OutS("\n");
      for (std::size_t k = 0; k + 1 < std::size(kFileCounts); k += 2)
        OutF("%s%10d%s%10d\n", kFileCounts[k].html, l.*kFileCounts[k].count, kFileCounts[k + 1].html,
             l.*kFileCounts[k + 1].count);
      OutF("%s%10d\n", kFileCounts[6].html, l.otherFiles);
      OutF("%s%10d\n", "  <b>Total File Count</b> ......: ", total);
      return;
    case OutputMode::Text:
      OutS("\n");
      for (std::size_t k = 0; k + 1 < std::size(kFileCounts); k += 2)
        OutF("%s%10d%s%10d\n", kFileCounts[k].text, l.*kFileCounts[k].count, kFileCounts[k + 1].text,
             l.*kFileCounts[k + 1].count);
      OutF("%s%10d%s%10d\n", kFileCounts[6].text, l.otherFiles, "  Total File Count ......: ", total);
      return;
  }
}

}  // namespace

void ShowTotalDirSummary(GlobalData& gcd) {
  const Llist<DirMetrics>& dirs = gcd.lists.directories;
  if (dirs.count < 1) return;
  const bool xml = IsXml(gcd);
  if (gcd.sw.analysisRequested || xml) {
    if (IsText(gcd) || IsHtml(gcd)) {
      const FileCounts& c = gcd.eng.fc;
      if (!gcd.sw.functionAnalysis || c.functions > 0 || c.notices > 0) HyphenRule();
      OutS("\n");
      SectionTitle("~~ Project Directory Summary ~~", gcd);
      OutS("\n");
    } else if (IsCsv(gcd)) {
      OutS("\nProject Directory Summary\n");
    } else {
      OutS("<project_directory_summary>\n");
    }
  }
  bool first = true;
  for (const DirMetrics& d : dirs) {
    const int files = d.parameters;
    switch (ReportMode(gcd)) {
      case OutputMode::Xml:
        OutF("<directory>\n<name>%s</name>\n<file_count>%d</file_count>\n", XmlEscaped(d.name.c_str()).c_str(), files);
        break;
      case OutputMode::Csv:
        OutF("Files,%d,%s\n", files, CsvName(d.name.c_str()).c_str());
        break;
      case OutputMode::Html:
        if (!first) HyphenRule();
        OutF("  <b>Files</b> %d - %s\n", files, HtmlEscaped(d.name.c_str()).c_str());
        break;
      case OutputMode::Text:
        if (!first) HyphenRule();
        OutF("  Files %d - %s\n", files, d.name.c_str());
        break;
    }
    first = false;
    LOCLine(d.loc, d.eloc, d.lloc, d.comments, d.lines, gcd);
    if (xml) OutS("</directory>\n");
  }
  if (xml) OutS("</project_directory_summary>\n");
}

void FileDetailShow(const FileData* file, GlobalData& gcd) {
  FileDetailTotals& t = gcd.rep.fileDetail;
  const bool xml = IsXml(gcd);
  if (file != nullptr) {
    ++t.files;
    t.loc += file->loc;
    t.eloc += file->eloc;
    t.lloc += file->lloc;
    t.comments += file->comments;
    t.blanks += file->blanks;
    t.lines += file->lines;
    t.functions += file->functions;
    t.parameters += file->parameters;
    t.returns += file->returns;
    t.cyclomatic += file->cyclomatic;
    t.notices += file->notices;
    t.size += file->size;
    t.fpLoc += file->fpLoc;
    t.fpEloc += file->fpEloc;
    t.fpLloc += file->fpLloc;
    if (xml) OutS("<file>\n");
    ShowFileLine(file->name.c_str(), file->date, file->size, 0, 1, gcd);
    DetailLines(file->functions, file->notices, file->eloc, file->parameters, file->returns, file->cyclomatic,
                file->loc, file->lloc, file->comments, file->lines, file->fpLoc, file->fpEloc, file->fpLloc, gcd);
    if (xml) OutS("</file>\n");
    return;
  }

  char name[96];
  snprintf(name, sizeof name, IsCsv(gcd) ? "Total All %d,Files" : "Total All %d Files", t.files);
  if (xml) OutS("<file>\n");
  ShowFileLine(name, 0, static_cast<long>(t.size), 0, 1, gcd);
  DetailLines(t.functions, t.notices, t.eloc, t.parameters, t.returns, t.cyclomatic, t.loc, t.lloc, t.comments,
              t.lines, t.fpLoc, t.fpEloc, t.fpLloc, gcd);
  if (xml) OutS("</file>\n");
  if (t.files < 1) return;

  const int n = t.files;
  if (xml) OutS("<file>\n");
  ShowFileLine(IsText(gcd) ? "Average per File" : "Average Per File", 0,
               static_cast<long>(PerFileRoundedUp(t.size, n)), 0, 1, gcd);
  DetailLines(PerFileRoundedUp(t.functions, n), PerFileRoundedUp(t.notices, n), PerFileRoundedUp(t.eloc, n),
              PerFileRoundedUp(t.parameters, n), PerFileRoundedUp(t.returns, n), PerFileRoundedUp(t.cyclomatic, n),
              PerFileRoundedUp(t.loc, n), PerFileRoundedUp(t.lloc, n), PerFileRoundedUp(t.comments, n),
              PerFileRoundedUp(t.lines, n), t.fpLoc / n, t.fpEloc / n, t.fpLloc / n, gcd);
  if (xml) OutS("</file>\n");
}

void ShowFileSummary(GlobalData& gcd) {
  const bool detail = gcd.sw.totalsDetail != 0;
  const char* title = detail ? "File Detail Summary" : "File Summary";
  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutF("<report>\n<name>%s</name>\n", title);
      break;
    case OutputMode::Csv:
      OutF("%s\n", title);
      break;
    case OutputMode::Html:
    case OutputMode::Text:
      RuledSectionTitle(detail ? "~~ File Detail Summary ~~" : "~~ File Summary ~~", gcd);
      break;
  }
  if (detail) {
    if (gcd.sw.sortKey > 0) {
      ShowSortMethod(gcd);
      LlistResort_FileData(gcd.lists.files, gcd.sw.sortKey, gcd);
    }
    for (const FileData& f : gcd.lists.files) FileDetailShow(&f, gcd);
    FileDetailShow(nullptr, gcd);
  }
  // In XML the project totals, function points included, precede the counts.
  if (IsXml(gcd)) ShowTotalSummary(gcd, 1, 1);
  ShowFileCounts(gcd);
  if (IsXml(gcd)) OutS("</report>\n");
}
