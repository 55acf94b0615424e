#include "reports/csv_export.h"

#include <array>
#include <string>
#include <string_view>

#include "common/gcd.h"
#include "common/run_share.h"
#include "common/output.h"
#include "common/report_sink.h"
#include "reports/function_points.h"
#include "reports/report_text.h"

namespace {

// Special columns beside the counted ones.
constexpr int kRatio = -1;   // comment lines / eLOC
constexpr int kBlank = -2;   // a column the line leaves empty

constexpr std::array<int, 15> kFunctionColumns = {
    kCsvLoc,    kCsvEloc,       kCsvLloc,    kCsvComments,  kCsvBlanks,     kCsvLines, kRatio, kBlank,
    kCsvFunctions, kCsvParameters, kCsvReturns, kCsvInterface, kCsvCyclomatic, kCsvTotal, kBlank,
};
constexpr std::array<int, 16> kFileColumns = {
    kCsvSize,      kCsvLoc,        kCsvEloc,    kCsvLloc,      kCsvComments,   kCsvBlanks, kCsvLines,  kRatio,
    kCsvClasses,   kCsvFunctions,  kCsvParameters, kCsvReturns, kCsvInterface, kCsvCyclomatic, kCsvTotal, kCsvNotices,
};

int FpIndex(int column) {
  return column == kCsvLoc ? 0 : column == kCsvEloc ? 1 : column == kCsvLloc ? 2 : -1;
}

enum class Row { Line, Total, Average, Maximum, Minimum };

// The values of one line or totals row: the counts, the comment ratio and
// the three function point values.
struct RowValues {
  std::array<double, kCsvColumnCount> count{};
  double ratio = 0;
  std::array<double, 3> fp{};
};

RowValues StatRow(const CsvBlock& b, Row row, const std::array<double, 3>& totalFp) {
  RowValues v;
  for (int c = 0; c < kCsvColumnCount; ++c) {
    const ColumnStat& s = b.columns[c];
    switch (row) {
      case Row::Line:
      case Row::Total: v.count[c] = static_cast<double>(s.sum); break;
      case Row::Average: v.count[c] = static_cast<double>(s.sum) / b.count; break;
      case Row::Maximum: v.count[c] = static_cast<double>(s.max); break;
      case Row::Minimum: v.count[c] = static_cast<double>(s.min); break;
    }
  }
  for (int k = 0; k < 3; ++k) {
    const RealColumnStat& f = b.fp[k];
    v.fp[k] = row == Row::Total ? totalFp[k] : row == Row::Average ? f.sum / b.count
                                           : row == Row::Maximum ? f.max : f.min;
  }
  switch (row) {
    case Row::Line:
    case Row::Total:
      v.ratio = Quotient(static_cast<double>(b.columns[kCsvComments].sum), static_cast<double>(b.columns[kCsvEloc].sum));
      break;
    case Row::Average: v.ratio = b.ratio.sum / b.count; break;
    case Row::Maximum: v.ratio = b.ratio.max; break;
    case Row::Minimum: v.ratio = b.ratio.min; break;
  }
  return v;
}

// Writes ", value" for every column: integers with "%d", averages with
// "%.2f", LOC columns with "/function points" when those are on.
template <std::size_t N>
void WriteColumns(FILE* out, const std::array<int, N>& columns, const RowValues& v, bool average, bool fp) {
  for (int c : columns) {
    if (c == kBlank) {
      StreamF(out, ", %s", "");
    } else if (c == kRatio) {
      StreamF(out, ", %.2f", v.ratio);
    } else if (const int k = FpIndex(c); fp && k >= 0) {
      if (average)
        StreamF(out, ", %.2f/%-10.1f", v.count[c], v.fp[k]);
      else
        StreamF(out, ", %lld/%-10.1f", static_cast<long long>(v.count[c]), v.fp[k]);
    } else if (average) {
      StreamF(out, ", %.2f", v.count[c]);
    } else {
      StreamF(out, ", %lld", static_cast<long long>(v.count[c]));
    }
  }
  StreamF(out, "\n");
}

void AddToBlock(CsvBlock& b, const std::array<long long, kCsvColumnCount>& values, double ratio,
                const std::array<double, 3>& fp) {
  const bool first = b.count == 0;
  ++b.count;
  for (int c = 0; c < kCsvColumnCount; ++c) b.columns[c].Add(values[c], first);
  b.ratio.Add(ratio, first);
  for (int k = 0; k < 3; ++k) b.fp[k].Add(fp[k], first);
}

RowValues LineValues(const std::array<long long, kCsvColumnCount>& values, double ratio,
                     const std::array<double, 3>& fp) {
  RowValues v;
  for (int c = 0; c < kCsvColumnCount; ++c) v.count[c] = static_cast<double>(values[c]);
  v.ratio = ratio;
  v.fp = fp;
  return v;
}

#define LQA_CSV_HEADER_TAIL                                                                         \
  "Comments, Blanks, Lines, Comment/eLOC, Classes, Functions, Parameters, Returns, InterComp, " \
  "CycloComp, Total Complexity, Notices\n"
// The column headers of function and file lines, without and with function points.
constexpr std::string_view kLineHeaders[2][2] = {
    {"Type, Name, Parameters, , , LOC, eLOC, lLOC, " LQA_CSV_HEADER_TAIL,
     "Type, Name, Parameters, , , LOC/FP, eLOC/FP, lLOC/FP, " LQA_CSV_HEADER_TAIL},
    {"Type, Name, , Date, Size, LOC, eLOC, lLOC, " LQA_CSV_HEADER_TAIL,
     "Type, Name, , Date, Size, LOC/FP, eLOC/FP, lLOC/FP, " LQA_CSV_HEADER_TAIL},
};
#undef LQA_CSV_HEADER_TAIL

// The column header of file lines or of function lines (none without the
// CSV file summary).
std::string_view LineHeaderText(bool file, const GlobalData& gcd) {
  if (!gcd.sw.csvFileSummary) return {};
  return kLineHeaders[file ? 1 : 0][gcd.sw.functionPoints != 0 ? 1 : 0];
}

void LineHeader(FILE* out, bool file, GlobalData& gcd) {
  const std::string_view text = LineHeaderText(file, gcd);
  if (!text.empty()) StreamF(out, "%s", text.data());  // the texts end the literals
}

// The function column header goes out once in the run, before its first
// function line. A file's text holds it in front of its own first function
// line and the file's sink leaves it out at the merge when a file before it
// had one, so what a file writes does not depend on the files before it.
void FunctionHeaderOnce(FILE* out, GlobalData& gcd) {
  // A worker's file text points at the run's flag, which only the merge reads.
  const RunShare* share = gcd.drv.share;
  int& written = share != nullptr ? *share->csvFunctionHeaderWritten : gcd.rep.csvFunctionHeaderWritten;
  ReportSink* sink = out == gLQAOUT ? CurrentReportSink() : nullptr;
  if (sink == nullptr) {
    if (written) return;
    written = 1;
    LineHeader(out, false, gcd);
    return;
  }
  const std::string_view header = LineHeaderText(false, gcd);
  if (!header.empty()) sink->AppendOnce(header.data(), header.size(), &written);
}

FILE* Stream(FILE* stream) { return stream != nullptr ? stream : gLQAOUT; }

// The columns a function line and a file line share.
std::array<long long, kCsvColumnCount> MetricValues(int loc, int eloc, int lloc, int comments, int blanks, int lines,
                                                    int functions, int parameters, int returns, int cyclomatic) {
  std::array<long long, kCsvColumnCount> values{};
  values[kCsvLoc] = loc;
  values[kCsvEloc] = eloc;
  values[kCsvLloc] = lloc;
  values[kCsvComments] = comments;
  values[kCsvBlanks] = blanks;
  values[kCsvLines] = lines;
  values[kCsvFunctions] = functions;
  values[kCsvParameters] = parameters;
  values[kCsvReturns] = returns;
  values[kCsvInterface] = parameters + returns;
  values[kCsvCyclomatic] = cyclomatic;
  values[kCsvTotal] = parameters + returns + cyclomatic;
  return values;
}

}  // namespace

void CSV_LineHeader(const char* kind, GlobalData& gcd) {
  LineHeader(gLQAOUT, kind != nullptr && std::string(kind) == "File", gcd);
}

void CSV_Function_Line(FILE* stream, const char* name, const char* parameters, int loc, int eloc, int lloc,
                       int comments, int blanks, int lines, int functions, int parameterCount, int returns,
                       int cyclomatic, int totals, GlobalData& gcd) {
  if (!gcd.sw.csvFunctionLines) return;
  FILE* out = Stream(stream);
  const bool fp = gcd.sw.functionPoints != 0;
  CsvBlock& block = gcd.rep.csvFunctions;
  if (totals) {
    if (block.count < 1) return;
    // Function points of the totals: the file's language is still current.
    const std::array<double, 3> totalFp = {block.fp[0].sum, block.fp[1].sum, block.fp[2].sum};
    static constexpr const char* kRowNames[] = {"Total", "Average", "Maximum", "Minimum"};
    static constexpr Row kRows[] = {Row::Total, Row::Average, Row::Maximum, Row::Minimum};
    for (int i = 0; i < 4; ++i) {
      const RowValues v = StatRow(block, kRows[i], totalFp);
      if (fp)
        StreamF(out, "%s, %s, %s, ,%s", i == 0 ? "Function" : "", kRowNames[i], "", "");
      else
        StreamF(out, "%s, %s, %s, %s", i == 0 ? "\nFunction" : "", (std::string(kRowNames[i]) + ",").c_str(), "", "");
      WriteColumns(out, kFunctionColumns, v, kRows[i] == Row::Average, fp);
    }
    block = CsvBlock{};
    return;
  }
  FunctionHeaderOnce(out, gcd);
  const std::array<long long, kCsvColumnCount> values =
      MetricValues(loc, eloc, lloc, comments, blanks, lines, functions, parameterCount, returns, cyclomatic);
  const double ratio = eloc > 0 ? static_cast<double>(comments) / eloc : 0.0;
  const std::array<double, 3> lineFp = {GetFP(loc, 0, gcd), GetFP(eloc, 1, gcd), GetFP(lloc, 2, gcd)};
  StreamF(out, "%s, %s, %s, ,%s", "Function", CsvName(name).c_str(), CsvParameters(parameters).c_str(), "");
  WriteColumns(out, kFunctionColumns, LineValues(values, ratio, lineFp), false, fp);
  AddToBlock(block, values, ratio, lineFp);
}

void CSV_File_Line(FILE* stream, const char* name, time_t date, long size, int loc, int eloc, int lloc, int comments,
                   int blanks, int lines, int classes, int functions, int parameters, int returns, int cyclomatic,
                   int notices, int totals, GlobalData& gcd, CsvFileRow* row) {
  if (!gcd.sw.csvFileSummary) return;
  FILE* out = Stream(stream);
  const bool fp = gcd.sw.functionPoints != 0;
  CsvBlock& block = gcd.rep.csvFiles;
  if (totals) {
    if (block.count < 1) return;
    LineHeader(out, true, gcd);
    StreamF(out, "%s, %d\n", "Files", block.count);
    const std::array<double, 3> totalFp = {gcd.tot.fpLoc, gcd.tot.fpEloc, gcd.tot.fpLloc};
    static constexpr const char* kRowNames[] = {"Total", "Average", "Maximum", "Minimum"};
    static constexpr Row kRows[] = {Row::Total, Row::Average, Row::Maximum, Row::Minimum};
    for (int i = 0; i < 4; ++i) {
      StreamF(out, "%s, %s,, %s", "File", kRowNames[i], "");
      WriteColumns(out, kFileColumns, StatRow(block, kRows[i], totalFp), kRows[i] == Row::Average, fp);
    }
    return;
  }
  LineHeader(out, true, gcd);
  char dateText[41] = "";
  struct tm local {};
  // The locale's own date and time form is wanted here, two-digit years included.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-y2k"
  if (localtime_r(&date, &local) == nullptr || strftime(dateText, sizeof dateText, "%c", &local) == 0)
    dateText[0] = '\0';
#pragma GCC diagnostic pop
  std::array<long long, kCsvColumnCount> values =
      MetricValues(loc, eloc, lloc, comments, blanks, lines, functions, parameters, returns, cyclomatic);
  values[kCsvSize] = size;
  values[kCsvClasses] = classes;
  values[kCsvNotices] = notices;
  const double ratio = eloc > 0 ? static_cast<double>(comments) / eloc : 0.0;
  const std::array<double, 3> fileFp = {GetFP(loc, 0, gcd), GetFP(eloc, 1, gcd), GetFP(lloc, 2, gcd)};
  StreamF(out, "%s, %s,, %s", "File", CsvName(name).c_str(), dateText);
  WriteColumns(out, kFileColumns, LineValues(values, ratio, fileFp), false, fp);
  if (row == nullptr) {
    AddToBlock(block, values, ratio, fileFp);
    return;
  }
  row->present = true;
  row->values = values;
  row->ratio = ratio;
  row->fp = fileFp;
}

void AddCsvFileRow(const CsvFileRow& row, GlobalData& gcd) {
  if (row.present) AddToBlock(gcd.rep.csvFiles, row.values, row.ratio, row.fp);
}
