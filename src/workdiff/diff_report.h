// The metrics differential report of two baselines (-w"x older, newer").
#pragma once

#include <string>

#include "common/llist.h"
#include "common/records.h"
#include "workdiff/workdiff_state.h"

struct GlobalData;
struct WorkTime;

// Prints the whole report: head, work time, per-file table, profile, totals,
// and on request productivity, work time basis and glossary. False when a
// work file could not be loaded (the report then ends after the message).
bool ExtractWork(const std::string& olderFile, const std::string& newerFile, GlobalData& gcd, int showHead);

// The pieces of the report (diff_tables.cpp).
// Whether a metric is a column of this report: its configuration key is ON,
// and with -wd only the line metrics are.
bool DiffColumnShown(int metric, const GlobalData& gcd);
bool DiffPercentShown(const GlobalData& gcd);
// The per-file table: title, heading and one line per processed record.
void ShowDiffTable(Llist<NodeData>& diff, GlobalData& gcd);
void DiffDataHeader(GlobalData& gcd);
void DiffDataShow(GlobalData& gcd, const NodeData& record);
// The sums of the per-file table by file state.
void WorkDiffProfile(Llist<NodeData>& diff, GlobalData& gcd);
// Totals of both baselines, their difference and its percentage.
void ShowDiffTotals(GlobalData& gcd);
void SumLine(const char* title, const char* xmlName, const MetricSums& sums, GlobalData& gcd);
void DiffLine(const char* title, const char* xmlName, const MetricSums& newer, const MetricSums& older,
              GlobalData& gcd);
// Work totals per man hour, day, week, month and year.
void ShowProductivity(const WorkTime& time, GlobalData& gcd);
void DiffProfileLine(GlobalData& gcd, double divisor, const char* label, const char* xmlName);
void DiffReportGlossary(GlobalData& gcd);
