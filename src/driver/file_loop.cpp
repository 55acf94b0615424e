// Reading a file's lines into the fixed line buffer, the skip tokens, and the
// end-of-file sequence.
#include "driver/file_loop.h"

#include <cstring>

#include "common/gcd.h"
#include "common/output.h"
#include "dashboard/dashboard.h"
#include "driver/file_result.h"
#include "driver/line_reader.h"
#include "notices/notices.h"
#include "notices/udqn.h"
#include "reports/csv_export.h"
#include "reports/entity_listing.h"
#include "reports/file_report.h"
#include "reports/format.h"
#include "reports/function_points.h"
#include "reports/metric_lines.h"
#include "reports/project_reports.h"
#include "reports/report_text.h"
#include "sarif/notice_documents.h"
#include "structure/structure_end.h"
#include "workdiff/line_data.h"
#include "workdiff/work_file.h"

namespace {

constexpr int kLineBuffer = static_cast<int>(kTextBuf);

bool Html(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Html; }
bool Xml(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Xml; }

// The longest text that starts every non-empty skip token: a line without it
// holds no token, which one search tells.
std::string SkipTokenPrefix(const Config& cfg) {
  std::string prefix;
  bool first = true;
  for (const std::string* token :
       {&cfg.skipStartToken, &cfg.skipEndToken, &cfg.qualitySkipStartToken, &cfg.qualitySkipEndToken}) {
    if (token->empty()) continue;
    if (first) {
      prefix = *token;
      first = false;
      continue;
    }
    std::size_t n = 0;
    while (n < prefix.size() && n < token->size() && prefix[n] == (*token)[n]) ++n;
    prefix.resize(n);
  }
  return prefix;
}

// Applies the skip tokens to one line; returns true when the line is not
// handed to the engine.
bool SkipTokens(const char* line, const std::string& prefix, GlobalData& gcd) {
  DriverState& drv = gcd.drv;
  const Config& cfg = gcd.cfg;
  if (!prefix.empty() && std::strstr(line, prefix.c_str()) == nullptr) return drv.skipLines != 0;
  auto has = [line](const std::string& token) { return !token.empty() && std::strstr(line, token.c_str()); };
  if (has(cfg.skipStartToken)) {
    drv.skipLines = 1;
    EmitSkipTokenNotice(57, drv.lineNumber, gcd);
    return true;
  }
  if (has(cfg.skipEndToken)) {
    drv.skipLines = 0;
    return true;
  }
  if (has(cfg.qualitySkipStartToken)) {
    drv.skipQuality = 1;
    EmitSkipTokenNotice(58, drv.lineNumber, gcd);
  } else if (has(cfg.qualitySkipEndToken)) {
    drv.skipQuality = 0;
  }
  return drv.skipLines != 0;
}

}  // namespace

void AnalyzeLines(FILE* file, GlobalData& gcd) {
  DriverState& drv = gcd.drv;
  char* line = drv.line;
  bool inOverlongLine = false;
  const std::string skipPrefix = SkipTokenPrefix(gcd.cfg);
  // Nothing has been read through the stream: the reader takes its descriptor.
  LineReader reader(fileno(file));
  while (!reader.AtEnd()) {
    line[0] = '\0';
    // A non-zero last byte tells afterwards whether the reader filled the
    // buffer, whatever NUL bytes the line holds.
    line[kLineBuffer - 1] = 1;
    if (!reader.Next(line, kLineBuffer)) {
      if (reader.Failed()) break;
      line[0] = '\0';
    }
    bool filled = line[kLineBuffer - 1] == '\0' && line[kLineBuffer - 2] != '\n';
    // A byte order mark or other prefix of high-bit bytes is dropped.
    if (static_cast<unsigned char>(line[0]) & 0x80) {
      int skip = 0;
      while (skip < kLineBuffer - 1 && (static_cast<unsigned char>(line[skip]) & 0x80)) ++skip;
      std::memmove(line, line + skip, static_cast<size_t>(kLineBuffer - skip));
    }
    if (reader.AtEnd() && static_cast<unsigned char>(line[0]) < 12 && line[0] != '\t') break;
    line[kLineBuffer - 1] = '\0';
    if (filled) {
      // The first 2047 characters of an over-long line are dropped; the rest
      // is read as the line. One message for each such physical line.
      if (!inOverlongLine)
        OutF("\n  Error: Text line %d length greater than %d characters\n"
             "         Examine file for proper text file formatting.\n",
             drv.lineNumber + 1, kLineBuffer);
      inOverlongLine = true;
      continue;
    }
    inOverlongLine = false;
    ++drv.lineNumber;
    ++gcd.eng.fc.physical;
    bool skip = gcd.cfg.skipTokensActive ? SkipTokens(line, skipPrefix, gcd) : false;
    if (!skip) {
      ParseLine(line, drv.lineNumber, gcd);
      gcd.eng.lex.region_flag = 0;
      gcd.eng.oneLineFlag = 0;
    } else {
      ++gcd.eng.fc.skippedLines;
    }
  }
}

void EndOfFile(FileData& record, GlobalData& gcd, FileResult& result) {
  const FileCounts& fc = gcd.eng.fc;
  const char* name = record.name.c_str();
  const Switches& sw = gcd.sw;
  record.lines = gcd.drv.lineNumber;
  record.loc = fc.loc;
  record.eloc = Eloc(fc);
  record.lloc = Lloc(fc);
  record.comments = fc.comment;
  record.blanks = fc.blank;
  record.functions = fc.functions;
  record.parameters = gcd.eng.fileCx.sumParameters;
  record.returns = gcd.eng.fileCx.sumReturns;
  record.cyclomatic = gcd.eng.fileCx.sumCyclomatic;
  record.skippedLines = fc.skippedLines;

  record.fpLoc = GetFP(record.loc, 0, gcd);
  record.fpEloc = GetFP(record.eloc, 1, gcd);
  record.fpLloc = GetFP(record.lloc, 2, gcd);

  ClosePackageAtEndOfFile(gcd);
  if (!sw.totalsOnly && fc.braceOpen != fc.braceClose) {
    if (Html(gcd))
      OutF("\n    <font color=\"%s\"><b>Notice</b></font>: The end of the source file has been reached where the\n"
           "            <b>open brace count { %d != %d } close brace count</b>\n"
           "            This is an indication of non-compilable code within the source\n"
           "            file.  LQA processes all source code including code wrapped\n"
           "            with preprocessor directives.  Accurate metrics requires that\n"
           "            all code present in this file must be compilable.\n",
           gcd.cfg.htmlNoticeColor.c_str(), fc.braceOpen, fc.braceClose);
    else
      OutF("\n    NOTICE: The end of the source file has been reached where the\n"
           "            open brace count { %d != %d } close brace count \n"
           "            This is an indication of non-compilable code within the source\n"
           "            file.  LQA processes all source code including code wrapped\n"
           "            with preprocessor directives.  Accurate metrics requires that\n"
           "            all code present in this file must be compilable.\n",
           fc.braceOpen, fc.braceClose);
  }

  ReportOpenFunctionAtEndOfFile(gcd);

  FileEndNotices(gcd);

  const bool extraction = sw.extractStrings || sw.extractComments || sw.commentDocumentation;
  // The baseline records every analysed file, whatever the report shows.
  if (!extraction) result.workLine = WorkFileLine(record, gcd);
  if (sw.csvFileSummary) {
    // CSV file lines replace the file's text sections.
    CSV_Function_Line(gLQAOUT, "function total", "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, gcd);
    CSV_File_Line(gLQAOUT, name, record.date, record.size, record.loc, record.eloc, record.lloc, record.comments,
                  record.blanks, record.lines, fc.classes, fc.functions, record.parameters, record.returns,
                  record.cyclomatic, fc.notices, 0, gcd, &result.csvFile);
  } else {
    // Extraction lists only the extracted text before the trailer.
    if (!sw.extractStrings && !sw.extractComments && !sw.commentDocumentation) {
      bool detail = !sw.totalsOnly || (sw.verbose && Xml(gcd) && !sw.totalsVerbose);
      if (detail) {
        if (sw.perFileSummary || sw.functionAnalysis) ShowTotalSummary(gcd, 0, 0);
        if ((sw.functionAnalysis || sw.functionListing) && fc.functions > 0) ShowFileFunctionSummary(gcd);
        if (sw.memory) ShowMemorySummary(gcd);
        if (sw.verbose) ShowVerbose(gcd, 0);
      }
    }
    ShowEndOfFile(name, gcd);
  }

  udqn_process("UDQN eof", 1, gcd);
  EndFileNotices(gcd);
  WorkDiffDataFileClose(gcd);
  // What the totals take from the file, added when it is merged.
  result.counts = fc;
  result.group = FileLanguageGroup(gcd.lang);
  result.analysed = true;
  result.dashboard = gcd.dash.current;
  record.notices = fc.notices;

  if (Xml(gcd) && !sw.noFileNames) {
    if (!sw.listFilesOnly) {
      LOCLine(record.loc, record.eloc, record.lloc, record.comments, record.lines, gcd);
      FPLine(record.fpLoc, record.fpEloc, record.fpLloc, gcd);
    }
    OutF("</file>\n");
  }
  ResetState(gcd);
}
