// The differential report configuration (lqa_workdiff.cfg): which metrics the
// report shows and how a removed file's metrics count in the totals; the same
// table drives the CSV report configuration template.
#pragma once

#include <string>

#include "workdiff/workdiff_state.h"

struct GlobalData;

// Indexes of the keys the differential report uses.
enum ReportKey {
  kKeyUnknown = 0,
  kKeyFileName = 1,
  kKeyLoc = 2,
  kKeyEloc = 3,
  kKeyLloc = 4,
  kKeyBlanks = 5,
  kKeyComments = 6,
  kKeyPhysical = 8,
  kKeyFunctions = 40,
  kKeyNotices = 56,
  kKeyCyclomatic = 76,
  kKeyInterface = 77,
  kKeyComplexity = 78,
  kKeyElocPercent = 79,
};

// The key name of a table index ("UNKNOWN_DATA_FIELD" out of range).
const char* ReportKeyName(int index);
// The table index of a key name (case ignored), or -1.
int FindReportKey(const char* name);
// The key of each differential metric, in column order.
ReportKey MetricKey(DiffMetric metric);

// Reads the file into the table (every entry first hidden). A file that
// cannot be opened shows every entry with the minus sign, and when it does
// not exist it is created with the defaults (MakeDiffCfgFile). Returns 1 when
// the file was read.
int LoadReportCfg(const std::string& fileName, ReportCfgTable& table, GlobalData& gcd);
// Writes the default differential report configuration; 1 on success.
int MakeDiffCfgFile(const std::string& fileName);
// Prints the CSV report configuration template: every key with ON or OFF,
// from the file named by -x"File csv name" when one was given.
void CreateCSVCfg(GlobalData& gcd);
