#include "reports/file_report.h"

#include <cstring>
#include <ctime>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/format.h"
#include "reports/function_points.h"
#include "reports/metric_lines.h"
#include "reports/report_text.h"

namespace {

// A writable copy of a name for PathFile, which may strip a trailing slash.
struct PathCopy {
  char text[kTextBuf];
  explicit PathCopy(const char* name) { CopyBounded(text, kTextBuf, name); }
};

void WriteUnderscoreRule(const char* after) { OutF("  %s%s\n%s", kRuleUnderscores, kRuleUnderscores, after); }

void ShowCompactFileLine(const char* name, long mtime, long size, GlobalData& gcd) {
  if (gcd.sw.noFileNames) return;
  char wrapped[kTextBuf];
  AdjNameLength(name, wrapped, 72, 2, gcd);
  const time_t t = static_cast<time_t>(mtime);
  switch (gcd.sw.outputMode) {
    case OutputMode::Html: {
      OutF("\n  <b><font color=\"%s\">%s</font></b>", gcd.cfg.htmlDateColor.c_str(), get_date(&t).c_str());
      PathCopy path(name);
      const std::string target = HtmlEscaped(HTMLPathFile(path.text, gcd).c_str());
      OutF("\n  <a href=\"%s\" target=\"_blank\"><b>%s</b></a>\n", target.c_str(),
           gcd.cfg.relativeHtmlLinks ? target.c_str() : HtmlEscaped(wrapped).c_str());
      break;
    }
    case OutputMode::Csv:
      if (gcd.cfg.showFileDateSize) OutF("%s\n", name);
      break;
    case OutputMode::Xml:
      if (!gcd.sw.listFilesOnly) {
        OutF("<date>%s</date>\n", get_date(&t).c_str());
        OutF("<size_bytes>%ld</size_bytes>\n", size);
      }
      OutF("<name>%s</name>\n", xml_encode(name).c_str());
      break;
    case OutputMode::Text:
      OutF("\n  %s", get_date(&t).c_str());
      OutF("\n  %s\n", wrapped);
      break;
  }
}

void ShowDetailFileLine(const char* name, long mtime, long size, GlobalData& gcd) {
  char wrapped[kTextBuf];
  AdjNameLength(name, wrapped, 66, 8, gcd);
  // Summary rows of the file detail report pass a pseudo-name and no date.
  const bool totalsRow = mtime == 0 && (std::strstr(name, "Total") != nullptr || std::strstr(name, "Average") != nullptr);
  switch (gcd.sw.outputMode) {
    case OutputMode::Html:
      if (totalsRow) {
        OutF("\n  <b><font color=\"%s\">%s</font></b>  Bytes: %ld\n", gcd.cfg.htmlHeaderColor.c_str(),
             HtmlEscaped(name).c_str(), size);
      } else {
        PathCopy path(name);
        OutF("\n  <b>File</b>: <b><a href=\"%s\" target=\"_blank\">%s</a></b>\n",
             HtmlEscaped(HTMLPathFile(path.text, gcd).c_str()).c_str(), HtmlEscaped(wrapped).c_str());
      }
      break;
    case OutputMode::Csv:
      if (totalsRow)
        OutF("\n%s\n", name);
      else
        OutF("\nFile,%s\n", CsvName(name).c_str());
      break;
    case OutputMode::Xml:
      if (totalsRow) {
        if (!gcd.sw.listFilesOnly) OutF("<name>%s</name>\n<bytes>%ld</bytes>\n", name, size);
      } else {
        OutF("<name>%s</name>\n", xml_encode(name).c_str());
      }
      break;
    case OutputMode::Text:
      if (totalsRow)
        OutF("\n  %s\n", name);
      else
        OutF("\n  File: %s\n", wrapped);
      break;
  }

  if (!gcd.cfg.showFileDateSize || mtime < 1) return;
  const time_t t = static_cast<time_t>(mtime);
  const std::string dateText = get_date(&t);
  const char* date = dateText.c_str();
  char sizeText[128];
  switch (gcd.sw.outputMode) {
    case OutputMode::Html:
      snprintf(sizeText, sizeof sizeText, "<b>File Size</b>: %ld Bytes", size);
      OutF("  <b>Date</b>: %s", date);
      OutF("%49s\n", sizeText);
      break;
    case OutputMode::Csv:
      OutF("Date,%s\n", date);
      OutF("Size,%ld,Bytes\n", size);
      break;
    case OutputMode::Xml:
      if (!gcd.sw.listFilesOnly) {
        OutF("<date>%s</date>\n", date);
        OutF("<size_bytes>%ld</size_bytes>\n", size);
      }
      break;
    case OutputMode::Text:
      snprintf(sizeText, sizeof sizeText, "File Size: %ld Bytes", size);
      OutF("  Date: %s", date);
      OutF("%42s\n", sizeText);
      break;
  }
}

struct SummaryCounts {
  int loc, eloc, lloc, comments, lines, skipped;
  double fpLoc, fpEloc, fpLloc;
};

// The counts of the current record: the file's, or the project's once the
// totals have been copied over the file counters.
SummaryCounts CurrentCounts(GlobalData& gcd, int project) {
  const FileCounts& c = gcd.eng.fc;
  SummaryCounts s{c.loc, Eloc(c), Lloc(c), c.comment, c.physical, c.skippedLines, 0, 0, 0};
  if (project) {
    s.fpLoc = gcd.tot.fpLoc;
    s.fpEloc = gcd.tot.fpEloc;
    s.fpLloc = gcd.tot.fpLloc;
  } else if (const FileData* f = gcd.drv.currentFile) {
    // The file's own function points, stored with its record at end of file.
    s.fpLoc = f->fpLoc;
    s.fpEloc = f->fpEloc;
    s.fpLloc = f->fpLloc;
  } else {
    s.fpLoc = GetFP(s.loc, 0, gcd);
    s.fpEloc = GetFP(s.eloc, 1, gcd);
    s.fpLloc = GetFP(s.lloc, 2, gcd);
  }
  return s;
}

void ShowProjectTotalsOnly(const SummaryCounts& s, GlobalData& gcd) {
  const double commentPerEloc = s.eloc > 0 ? static_cast<double>(s.comments) / s.eloc : 0.0;
  if (gcd.sw.outputMode == OutputMode::Xml) {
    OutF("<totals>\n");
    OutF("<loc>%d</loc>\n", s.loc);
    OutF("<eloc>%d</eloc>\n", s.eloc);
    OutF("<lloc>%d</lloc>\n", s.lloc);
    OutF("<comments>%d</comments>\n", s.comments);
    OutF("<lines>%d</lines>\n", s.lines);
    OutF("<comment_per_eloc>%.2f</comment_per_eloc>\n", commentPerEloc);
    OutF("<function_point_loc>%.1f</function_point_loc>\n", s.fpLoc);
    OutF("<function_point_eloc>%.1f</function_point_eloc>\n", s.fpEloc);
    OutF("<function_point_lloc>%.1f</function_point_lloc>\n", s.fpLloc);
    OutF("<lines_skipped>%d</lines_skipped>\n", s.skipped);
    OutF("</totals>\n");
    return;
  }
  if (gcd.sw.outputMode != OutputMode::Csv) return;
  OutF("\n");
  if (s.skipped > 0) OutF("Total,Skipped,Lines,%d\n", s.skipped);
  if (gcd.sw.functionPoints) {
    OutF("Function,Point,Totals\n");
    OutF("FP LOC,%10.1f,FP eLOC,%10.1f,FP lLOC,%10.1f,\n\n", s.fpLoc, s.fpEloc, s.fpLloc);
  }
  OutF("Project,Totals\n");
  OutF("LOC,%d,eLOC,%d,lLOC,%d,Comment,%d,Lines,%d,Comment/eLOC,%.2f\n\n", s.loc, s.eloc, s.lloc, s.comments,
       s.lines, commentPerEloc);
}

}  // namespace

void ShowFileLine(const char* name, long mtime, long size, int compact, int noRule, GlobalData& gcd) {
  if (name == nullptr) return;
  if (compact) {
    ShowCompactFileLine(name, mtime, size, gcd);
    return;
  }
  ShowDetailFileLine(name, mtime, size, gcd);
  const OutputMode mode = gcd.sw.outputMode;
  if (!noRule && gcd.sw.analysisRequested && (mode == OutputMode::Text || mode == OutputMode::Html))
    WriteUnderscoreRule("\n");
}

void ShowTotalSummary(GlobalData& gcd, int project, int average) {
  const SummaryCounts s = CurrentCounts(gcd, project);
  const OutputMode mode = gcd.sw.outputMode;
  if (mode == OutputMode::Xml || gcd.sw.functionListing) {
    if (project) ShowProjectTotalsOnly(s, gcd);
    return;
  }
  if (gcd.sw.analysisRequested) {
    const FileCounts& c = gcd.eng.fc;
    const bool nothingListed = gcd.sw.functionAnalysis && c.functions == 0 && c.notices == 0;
    if (mode != OutputMode::Csv && !nothingListed) OutF("  %s%s\n\n", kRuleHyphens, kRuleHyphens);
    const char* title = project ? "~~ Total Project Summary ~~" : "~~ Total File Summary ~~";
    if (mode == OutputMode::Html) {
      OutF("<b><font color=\"%s\">", gcd.cfg.htmlHeaderColor.c_str());
      Center(title);
      OutS("</font></b>\n");
    } else if (mode == OutputMode::Text) {
      Center(title);
      OutS("\n");
    }
  }
  LOCLine(s.loc, s.eloc, s.lloc, s.comments, s.lines, gcd);
  if (average) LOCFileAvg(s.loc, s.eloc, s.lloc, s.comments, s.lines, gcd.drv.filesProcessed, gcd);
  if (gcd.sw.functionPoints) FPLine(s.fpLoc, s.fpEloc, s.fpLloc, gcd);
  if (s.skipped > 0) {
    if (mode == OutputMode::Html)
      OutF("  <B>Total physical lines skipped from skip token match:</B> %d\n\n", s.skipped);
    else
      OutF("  Total physical lines skipped from skip token match: %d\n\n", s.skipped);
  }
}

void ShowEndOfFile(const char* name, GlobalData& gcd) {
  if (name == nullptr || !gcd.sw.analysisRequested || gcd.sw.totalsOnly) return;
  switch (gcd.sw.outputMode) {
    case OutputMode::Text: {
      char wrapped[kTextBuf];
      WriteUnderscoreRule("");
      OutF("  End of File: %s\n\n", AdjNameLength(name, wrapped, 59, 15, gcd));
      break;
    }
    case OutputMode::Html: {
      char wrapped[kTextBuf];
      AdjNameLength(name, wrapped, 59, 15, gcd);
      PathCopy path(name);
      const std::string target = HtmlEscaped(HTMLPathFile(path.text, gcd).c_str());
      WriteUnderscoreRule("");
      // The visible text is the (wrapped) name; without wrapping, the target.
      const std::string line = "<b>End of File: </b><b><a href=\"" + target + "\" target=\"_blank\">" +
                               (gcd.cfg.wrapLongNames ? HtmlEscaped(wrapped) : target) + "</a></b>\n";
      OutF("  %s\n\n", line.c_str());
      break;
    }
    case OutputMode::Csv:
      OutS("File End\n");
      break;
    case OutputMode::Xml:
      break;
  }
}
