// The report configuration table: its keys, the reader and the default file
// of the differential report, and the CSV report configuration template.
#include "workdiff/report_cfg.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "common/atomic_file.h"
#include "common/gcd.h"
#include "common/input_file.h"
#include "common/output.h"
#include "common/text.h"

namespace {

constexpr const char* kReportKeys[kReportKeyCount] = {
    "UNKNOWN_DATA_FIELD", "FILE_NAME", "LOC_COUNT", "ELOC_COUNT", "LLOC_COUNT", "BLANK_LINE_COUNT",
    "COMMENT_LINE_COUNT", "LOGICAL_LINE_COUNT", "PHYSICAL_LINE_COUNT", "LITERAL_STRING_COUNT",
    "LINE_CONTINUATION_COUNT", "PREPROCESSOR_COUNT", "INCLUDE_COUNT", "IMPORT_COUNT", "TYPEDEF_COUNT",
    "CONST_COUNT", "ENUM_COUNT", "DO_COUNT", "WHILE_COUNT", "SWITCH_COUNT", "DEFAULT_COUNT", "FOR_COUNT",
    "CASE_COUNT", "BREAK_COUNT", "IF_COUNT", "ELSE_COUNT", "GOTO_COUNT", "RETURN_COUNT", "EXIT_COUNT",
    "_EXIT_COUNT", "ABORT_COUNT", "MACRO_COUNT", "STRUCT_COUNT", "UNION_COUNT", "CLASS_COUNT",
    "INTERFACE_COUNT", "TEMPLATE_COUNT", "FRIEND_COUNT", "NAMESPACE_COUNT", "PACKAGE_COUNT", "FUNCTION_COUNT",
    "VIRTUAL_COUNT", "INLINE_COUNT", "C_MEMORY_ALLOCATION_COUNT", "C_MEMORY_FREE_COUNT", "MEMORY_NEW_COUNT",
    "MEMORY_DELETE_COUNT", "CODE_STATEMENTS_COUNT", "USING_COUNT", "(_COUNT", ")_COUNT", "{_COUNT", "}_COUNT",
    "[_COUNT", "]_COUNT", "CHARACTERS_PER_NONBLANK_LINE", "QUALITY_NOTICE_COUNT", "RATIO_LOC_TO_LOGICAL_LINES",
    "RATIO_ELOC_TO_LOGICAL_LINES", "RATIO_COMMENTS_TO_LOGICAL_LINES", "RATIO_BLANK_LINES_TO_LOGICAL_LINES",
    "RATIO_CHARACTERS_TO_TOTAL_CHARACTERS", "RATIO_BLANK_LINES_TO_TOTAL_CHARACTERS", "RATIO_COMMENT_LINES_TO_LOC",
    "RATIO_COMMENT_LINES_TO_ELOC", "RATIO_COMMENT_LINES_TO_LLOC", "RATIO_QUALITY_NOTICES_TO_LOC",
    "RATIO_QUALITY_NOTICES_TO_ELOC", "RATIO_QUALITY_NOTICES_TO_LLOC", "C++_SOURCE_FILE_COUNT",
    "C_SOURCE_FILE_COUNT", "C++_HEADER_FILE_COUNT", "C_HEADER_FILE_COUNT", "JAVA_FILE_COUNT",
    "CSHARP_FILE_COUNT", "OTHER_FILE_COUNT", "CYCLOMATIC_COMPLEXITY", "INTERFACE_COMPLEXITY",
    "TOTAL_COMPLEXITY", "ELOC_PERCENT_DIFF",
};

constexpr ReportKey kMetricKeys[kDiffMetricCount] = {
    kKeyLoc,       kKeyEloc,       kKeyLloc,      kKeyComments,   kKeyBlanks, kKeyPhysical,
    kKeyFunctions, kKeyCyclomatic, kKeyInterface, kKeyComplexity, kKeyNotices,
};

// The keys of the default differential report configuration, in file order.
constexpr ReportKey kDefaultFileKeys[] = {
    kKeyLoc,       kKeyEloc,       kKeyLloc,      kKeyComments,   kKeyBlanks,  kKeyPhysical,
    kKeyFunctions, kKeyCyclomatic, kKeyInterface, kKeyComplexity, kKeyNotices, kKeyElocPercent,
};

constexpr const char* kDefaultHead[] = {
    "# Line Quality Analyzer Version",
    "# Work File Differential Configuration File",
    "#",
    "# Modify the following:",
    "# OFF Turns off this item in the report",
    "# ON  Turns on this item in the report",
    "",
    "# When a file is removed from the baseline the following +/- indicate the",
    "# behavior to the overall total metric",
    "# +   Makes the metrics differential to contribute positively to the total",
    "# -   Makes the metrics differential to contribute negatively to the total",
    "",
};

constexpr const char* kCsvTemplateHead[] = {
    "# Line Quality Analyzer Version",
    "# CSV Report Configuration File",
    "#",
    "# Modify the following:",
    "# OFF Turns off this item in the report",
    "# ON  Turns on this item in the report",
    "",
};

// The file is read in lines of at most 79 characters.
constexpr int kCfgLineBuffer = 80;

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// A key line starts with a letter or digit; the keys that begin with an
// underscore or a bracket are accepted too, so that every key can be set.
bool StartsKeyLine(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || (c != '\0' && std::strchr("_(){}[]", c) != nullptr);
}

std::string_view NextWord(const char*& p) {
  while (*p == ' ' || *p == '\t') ++p;
  const char* start = p;
  while (*p != '\0' && *p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') ++p;
  return std::string_view(start, static_cast<std::size_t>(p - start));
}

void ApplyReportLine(const char* line, ReportCfgTable& table) {
  while (*line == ' ' || *line == '\t') ++line;
  if (!StartsKeyLine(*line)) return;
  const char* p = line;
  const std::string key(NextWord(p));
  const std::string_view value = NextWord(p);
  const std::string_view sign = NextWord(p);
  const int index = FindReportKey(key.c_str());
  if (index < 0) return;
  table[static_cast<std::size_t>(index)].show = EqualsNoCase(value, "ON") ? 1 : 0;
  table[static_cast<std::size_t>(index)].plus = sign == "+" ? 1 : 0;
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

}  // namespace

const char* ReportKeyName(int index) {
  if (index < 0 || index >= kReportKeyCount) return kReportKeys[kKeyUnknown];
  return kReportKeys[index];
}

int FindReportKey(const char* name) {
  if (name == nullptr) return -1;
  for (int i = 0; i < kReportKeyCount; ++i)
    if (EqualsNoCase(name, kReportKeys[i])) return i;
  return -1;
}

ReportKey MetricKey(DiffMetric metric) { return kMetricKeys[metric]; }

int LoadReportCfg(const std::string& fileName, ReportCfgTable& table, GlobalData&) {
  for (ReportCfgEntry& e : table) e = ReportCfgEntry{};
  FilePtr fp(fileName.empty() ? nullptr : OpenInput(fileName));
  if (!fp) {
    const int error = fileName.empty() ? ENOENT : errno;
    for (ReportCfgEntry& e : table) e = ReportCfgEntry{1, 0};
    // Only a missing file is created: one that exists but cannot be read is
    // left as it is, and one that is no regular file is named.
    if (error == kNotRegularFile || error == EISDIR)
      StreamF(stderr, "\n  Error: Cannot read the report configuration file %s\n         %s; every column is shown\n",
              fileName.c_str(), InputErrorText(error));
    else if (!fileName.empty() && !PathExists(fileName))
      MakeDiffCfgFile(fileName);
    return 0;
  }
  char line[kCfgLineBuffer];
  bool lineStart = true;
  while (std::fgets(line, sizeof line, fp.get()) != nullptr) {
    const std::size_t len = std::strlen(line);
    const bool complete = len > 0 && line[len - 1] == '\n';
    // The rest of an over-long line is not read as a line of its own.
    if (lineStart) ApplyReportLine(line, table);
    lineStart = complete;
  }
  return 1;
}

int MakeDiffCfgFile(const std::string& fileName) {
  AtomicFile file;
  AtomicOptions options;
  options.regularOnly = true;
  if (fileName.empty() || !file.Open(fileName, options)) return 0;
  FILE* fp = file.stream();
  for (const char* line : kDefaultHead) StreamF(fp, "%s\n", line);
  for (ReportKey key : kDefaultFileKeys) StreamF(fp, "%-22s%s\n", ReportKeyName(key), "ON -");
  StreamF(fp, "\n# End of file\n");
  return file.Commit() ? 1 : 0;
}

void CreateCSVCfg(GlobalData& gcd) {
  ReportCfgTable table{};
  const std::string& name = gcd.sw.csvReportCfgFile;
  if (name.empty()) {
    for (ReportCfgEntry& e : table) e = ReportCfgEntry{1, 0};
  } else {
    LoadReportCfg(name, table, gcd);
  }
  for (const char* line : kCsvTemplateHead) OutF("%s\n", line);
  for (int i = kKeyFileName; i < kReportKeyCount; ++i)
    OutF("%-38s%s\n", ReportKeyName(i), table[static_cast<std::size_t>(i)].show ? "ON" : "OFF");
  OutF("\n# End of file\n");
}
