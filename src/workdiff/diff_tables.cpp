// The tables of the differential report: per-file differentials, the profile
// by file state, the baseline totals and the productivity estimate.
#include <string>
#include <vector>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/format.h"
#include "workdiff/diff_report.h"
#include "workdiff/report_cfg.h"
#include "workdiff/work_entry.h"
#include "workdiff/work_rates.h"

namespace {

struct DiffColumn {
  const char* heading;  // table heading and totals label
  const char* xml;      // XML element
};

constexpr DiffColumn kColumns[kDiffMetricCount] = {
    {"LOC", "loc"},       {"eLOC", "eloc"},   {"lLOC", "lloc"},
    {"Comment", "comments"}, {"Blanks", "blanks"}, {"Lines", "lines"},
    {"Fcount", "function_count"}, {"Cyclo", "cyclomatic_complexity"}, {"Inter", "interface_complexity"},
    {"Complex", "total_complexity"}, {"Quality", "quality_notices"},
};

OutputMode Mode(const GlobalData& gcd) { return gcd.sw.outputMode; }

std::string EscapeHtml(const std::string& text) {
  std::vector<char> out(text.size() * 6 + 1);
  HTML_esc(text.c_str(), out.data());
  return out.data();
}

// A section title: the text form given, the CSV form without its leading
// blanks, nothing in XML.
void Title(const char* text, GlobalData& gcd) {
  const char* bare = text;
  while (*bare == '\n' || *bare == ' ') ++bare;
  const char* firstBlank = text;
  while (*firstBlank == '\n') ++firstBlank;
  switch (Mode(gcd)) {
    case OutputMode::Text: OutS(text); break;
    case OutputMode::Html: {
      std::string lead(text, static_cast<std::size_t>(bare - text));
      std::string rest(bare);
      if (!rest.empty() && rest.back() == '\n') rest.pop_back();
      OutF("%s<b><font color=\"%s\">%s</font></b>\n", lead.c_str(), gcd.cfg.htmlHeaderColor.c_str(), rest.c_str());
      break;
    }
    case OutputMode::Csv:
      OutF("%.*s%s", static_cast<int>(firstBlank - text), text, bare);
      break;
    case OutputMode::Xml: break;
  }
}

const char* StateElement(int state) {
  switch (state) {
    case kWorkNew: return "new";
    case kWorkRemoved: return "removed";
    case kWorkModified: return "modified_by_size";
    case kWorkDifferential: return "differential_by_code";
    default: return "equal";
  }
}

const char* StateColour(int state, const Config& cfg) {
  switch (state) {
    case kWorkNew: return cfg.htmlNewFileDiffColor.c_str();
    case kWorkRemoved: return cfg.htmlOldFileDiffColor.c_str();
    case kWorkEqual: return cfg.htmlEqualCodeDiffColor.c_str();
    default: return cfg.htmlModifiedCodeDiffColor.c_str();
  }
}

// The state name column: text "  %s ", HTML coloured, CSV the bare name.
void StateCell(int state, GlobalData& gcd) {
  const char* name = WorkStateName(state);
  switch (Mode(gcd)) {
    case OutputMode::Html: OutF("  <font color=\"%s\">%s</font> ", StateColour(state, gcd.cfg), name); break;
    case OutputMode::Csv: OutS(name); break;
    default: OutF("  %s ", name); break;
  }
}

// The heading of a table whose rows start with a state or label column.
void ColumnHeading(const char* lead, const char* after1, const char* after2, GlobalData& gcd) {
  const bool csv = Mode(gcd) == OutputMode::Csv;
  if (Mode(gcd) == OutputMode::Html) OutS("<b>");
  if (csv) OutS(lead);
  else OutF("  %-3s ", "");
  for (int k = 0; k < kDiffMetricCount; ++k)
    if (DiffColumnShown(k, gcd)) OutF(csv ? ",%s" : " %7s", kColumns[k].heading);
  if (after1 != nullptr) OutF(csv ? ",%s" : " %8s", after1);
  if (after2 != nullptr) OutF(csv ? ",%s" : " %7s", after2);
  OutS(Mode(gcd) == OutputMode::Html ? "</b>\n" : "\n");
}

struct StateSums {
  long long files = 0;
  long long value[kDiffMetricCount] = {};
  double percent = 0;
};

void ProfileLine(int state, const StateSums& s, GlobalData& gcd) {
  const double average = s.files > 0 ? s.percent / static_cast<double>(s.files) : 0.0;
  if (Mode(gcd) == OutputMode::Xml) {
    OutF("<%s>\n", StateElement(state));
    for (int k = 0; k < kDiffMetricCount; ++k)
      if (DiffColumnShown(k, gcd)) OutF("<%s>%lld</%s>\n", kColumns[k].xml, s.value[k], kColumns[k].xml);
    if (DiffPercentShown(gcd)) OutF("<average_eloc_change_percent>%.2f</average_eloc_change_percent>\n", average);
    OutF("<files>%lld</files>\n</%s>\n", s.files, StateElement(state));
    return;
  }
  const bool csv = Mode(gcd) == OutputMode::Csv;
  StateCell(state, gcd);
  for (int k = 0; k < kDiffMetricCount; ++k)
    if (DiffColumnShown(k, gcd)) OutF(csv ? ",%7lld" : " %7lld", s.value[k]);
  if (DiffPercentShown(gcd)) OutF(csv ? ",%8.2f" : " %8.2f", average);
  OutF(csv ? ",%7lld\n" : " %7lld\n", s.files);
}

double Percent(long long newer, long long older) {
  if (older == 0) return newer == 0 ? 0.0 : 100.0;
  return static_cast<double>(newer - older) / static_cast<double>(older) * 100.0;
}

}  // namespace

bool DiffColumnShown(int metric, const GlobalData& gcd) {
  if (metric < 0 || metric >= kDiffMetricCount) return false;
  if (gcd.sw.workLineDiff && metric >= kDiffFunctions) return false;
  return gcd.wd.reportCfg[MetricKey(static_cast<DiffMetric>(metric))].show != 0;
}

bool DiffPercentShown(const GlobalData& gcd) { return gcd.wd.reportCfg[kKeyElocPercent].show != 0; }

void DiffDataHeader(GlobalData& gcd) {
  if (Mode(gcd) == OutputMode::Xml) return;
  ColumnHeading("State", DiffPercentShown(gcd) ? "eLOC%" : nullptr, nullptr, gcd);
}

void DiffDataShow(GlobalData& gcd, const NodeData& record) {
  if (EntryUnprocessed(record)) return;
  const double percent = record.ratio;
  if (Mode(gcd) == OutputMode::Xml) {
    OutF("<%s>\n<file>%s</file>\n", StateElement(record.state), XmlEncodeText(record.name.c_str()).c_str());
    for (int k = 0; k < kDiffMetricCount; ++k)
      if (DiffColumnShown(k, gcd)) OutF("<%s>%d</%s>\n", kColumns[k].xml, EntryMetric(record, k), kColumns[k].xml);
    if (DiffPercentShown(gcd)) OutF("<eloc_change_percent>%.2f</eloc_change_percent>\n", percent);
    OutF("</%s>\n", StateElement(record.state));
    return;
  }
  const bool csv = Mode(gcd) == OutputMode::Csv;
  StateCell(record.state, gcd);
  for (int k = 0; k < kDiffMetricCount; ++k)
    if (DiffColumnShown(k, gcd)) OutF(csv ? ",%7d" : " %7d", EntryMetric(record, k));
  if (DiffPercentShown(gcd)) OutF(csv ? ",%8.2f" : " %8.2f", percent);
  const std::string name = Mode(gcd) == OutputMode::Html ? EscapeHtml(record.name) : record.name;
  OutF(csv ? ",%s\n" : " %s\n", name.c_str());
}

void ShowDiffTable(Llist<NodeData>& diff, GlobalData& gcd) {
  Title(gcd.sw.workLineDiff ? "\n  File Metrics Differentials Based on Code Line Differences\n"
                            : "\n  File Metrics Differentials Based on Code Size Differences\n",
        gcd);
  if (Mode(gcd) == OutputMode::Xml) OutF("<file_differentials>\n");
  DiffDataHeader(gcd);
  for (const NodeData& record : diff) DiffDataShow(gcd, record);
  if (Mode(gcd) == OutputMode::Xml) OutF("</file_differentials>\n");
}

void WorkDiffProfile(Llist<NodeData>& diff, GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  const int changed = sw.workLineDiff ? kWorkDifferential : kWorkModified;
  StateSums sums[kWorkTotal + 1];
  for (const NodeData& record : diff) {
    if (EntryUnprocessed(record) || record.state < 0 || record.state > kWorkTotal) continue;
    StateSums& s = sums[record.state];
    ++s.files;
    for (int k = 0; k < kDiffMetricCount; ++k) s.value[k] += EntryMetric(record, k);
    s.percent += record.ratio;
  }
  Title(sw.workLineDiff ? "\n  Source Metrics Differential Profile Based on Code Line Differences\n"
                        : "\n  Source Metrics Differential Profile Based on Code Size Differences\n",
        gcd);
  if (Mode(gcd) == OutputMode::Xml) OutF("<total_differentials>\n");
  else ColumnHeading("State", DiffPercentShown(gcd) ? "Av.eLOC%" : nullptr, "Files", gcd);
  const struct {
    int state;
    int skipped;
  } kOrder[] = {{kWorkNew, sw.workSkipNew}, {kWorkRemoved, sw.workSkipRemoved},
                {changed, sw.workSkipModified}, {kWorkEqual, sw.workSkipEqual}};
  for (const auto& line : kOrder)
    if (!line.skipped) ProfileLine(line.state, sums[line.state], gcd);
  if (Mode(gcd) == OutputMode::Xml) OutF("</total_differentials>\n");
}

void SumLine(const char* title, const char* xmlName, const MetricSums& sums, GlobalData& gcd) {
  if (Mode(gcd) == OutputMode::Xml) {
    OutF("<%s>\n<files>%lld</files>\n", xmlName, sums.files);
    for (int k = 0; k < kDiffMetricCount; ++k)
      if (DiffColumnShown(k, gcd))
        OutF("<%s>%lld</%s>\n", kColumns[k].xml, sums.value[static_cast<std::size_t>(k)], kColumns[k].xml);
    OutF("</%s>\n", xmlName);
    return;
  }
  const bool csv = Mode(gcd) == OutputMode::Csv;
  Title(title, gcd);
  OutF(csv ? "Files,%7lld\n" : "  Files    %7lld\n", sums.files);
  for (int k = 0; k < kDiffMetricCount; ++k)
    if (DiffColumnShown(k, gcd))
      OutF(csv ? "%s,%7lld\n" : "  %-9s%7lld\n", kColumns[k].heading, sums.value[static_cast<std::size_t>(k)]);
  OutS("\n");
}

void DiffLine(const char* title, const char* xmlName, const MetricSums& newer, const MetricSums& older,
              GlobalData& gcd) {
  if (Mode(gcd) == OutputMode::Xml) {
    OutF("<%s>\n<files>%.2f</files>\n", xmlName, Percent(newer.files, older.files));
    for (int k = 0; k < kDiffMetricCount; ++k)
      if (DiffColumnShown(k, gcd))
        OutF("<%s>%.2f</%s>\n", kColumns[k].xml,
             Percent(newer.value[static_cast<std::size_t>(k)], older.value[static_cast<std::size_t>(k)]),
             kColumns[k].xml);
    OutF("</%s>\n", xmlName);
    return;
  }
  const bool csv = Mode(gcd) == OutputMode::Csv;
  Title(title, gcd);
  OutF(csv ? "Files,%7.2f\n" : "  Files    %7.2f %%\n", Percent(newer.files, older.files));
  for (int k = 0; k < kDiffMetricCount; ++k)
    if (DiffColumnShown(k, gcd))
      OutF(csv ? "%s,%7.2f\n" : "  %-9s%7.2f %%\n", kColumns[k].heading,
           Percent(newer.value[static_cast<std::size_t>(k)], older.value[static_cast<std::size_t>(k)]));
  OutS("\n");
}

void ShowDiffTotals(GlobalData& gcd) {
  const WorkDiffState& wd = gcd.wd;
  MetricSums delta;
  delta.files = wd.newer.files - wd.older.files;
  for (int k = 0; k < kDiffMetricCount; ++k)
    delta.value[static_cast<std::size_t>(k)] = wd.newer.value[static_cast<std::size_t>(k)] - wd.older.value[static_cast<std::size_t>(k)];
  if (Mode(gcd) == OutputMode::Xml) OutF("<baseline_totals>\n");
  SumLine("\n  Total Metrics Newer Source Files\n", "newer_source_files", wd.newer, gcd);
  SumLine("  Total Metrics Older Source Files\n", "older_source_files", wd.older, gcd);
  SumLine("  Total Metrics Size Differential (new-old)\n", "size_differential", delta, gcd);
  DiffLine("  Total Metrics Size Differential Percdent = [(new-old)/old * 100]\n", "size_differential_percent",
           wd.newer, wd.older, gcd);
  if (Mode(gcd) == OutputMode::Xml) OutF("</baseline_totals>\n");
}

void DiffProfileLine(GlobalData& gcd, double divisor, const char* label, const char* xmlName) {
  const WorkDiffState& wd = gcd.wd;
  auto value = [&](int k) {
    const double total = static_cast<double>(wd.work.value[static_cast<std::size_t>(k)]);
    return divisor == 0.0 ? 0.0 : total / divisor;
  };
  if (Mode(gcd) == OutputMode::Xml) {
    OutF("<%s>\n", xmlName);
    for (int k = 0; k < kDiffMetricCount; ++k)
      if (DiffColumnShown(k, gcd)) OutF("<%s>%.0f</%s>\n", kColumns[k].xml, value(k), kColumns[k].xml);
    OutF("</%s>\n", xmlName);
    return;
  }
  const bool csv = Mode(gcd) == OutputMode::Csv;
  if (csv) {
    const char* bare = label;
    while (*bare == ' ') ++bare;
    OutS(bare);
  } else {
    OutF("  %-16s", label);
  }
  for (int k = 0; k < kDiffMetricCount; ++k)
    if (DiffColumnShown(k, gcd)) OutF(csv ? ",%7.0f" : " %7.0f", value(k));
  OutS("\n");
}

void ShowProductivity(const WorkTime& time, GlobalData& gcd) {
  const OutputMode mode = Mode(gcd);
  if (time.manHours < 1.0) {
    if (mode == OutputMode::Xml)
      OutF("<note>Productivity Estimate cannot be calculated on Man Hours &lt; 1.0</note>\n");
    else
      Title("\n  Productivity Estimate cannot be calculated on Man Hours < 1.0\n", gcd);
    return;
  }
  if (mode == OutputMode::Xml) {
    OutF("<productivity_estimate>\n");
  } else {
    Title("\n  Productivity Estimate\n", gcd);
    const bool csv = mode == OutputMode::Csv;
    if (!csv) OutF("  %-16s", "");
    for (int k = 0; k < kDiffMetricCount; ++k)
      if (DiffColumnShown(k, gcd)) OutF(csv ? ",%s" : " %7s", kColumns[k].heading);
    OutS("\n");
  }
  DiffProfileLine(gcd, 1.0, "Tot", "totals");
  DiffProfileLine(gcd, time.manHours, "   Per Man Hour", "totals_man_hour");
  DiffProfileLine(gcd, time.manDays, "   Per Man Day", "totals_man_days");
  DiffProfileLine(gcd, time.manWeeks, "   Per Man Week", "totals_man_week");
  DiffProfileLine(gcd, time.manMonths, "   Per Man Month", "totals_man_month");
  DiffProfileLine(gcd, time.manYears, "   Per Man Year", "totals_man_year");
  if (mode == OutputMode::Xml) OutF("</productivity_estimate>\n");
}
