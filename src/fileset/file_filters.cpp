// The tests every candidate file passes before it joins the input list:
// extension lists, the pattern filter, and the file's date and size.
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <string_view>

#include <sys/stat.h>

#include "common/error_text.h"
#include "common/gcd.h"
#include "common/output.h"
#include "common/text.h"
#include "fileset/fileset.h"

namespace {

bool IsListSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }
bool IsPatternSeparator(char c) { return c == ',' || c == '\t' || c == '\r' || c == '\n'; }

std::string Lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

void PreparePatterns(GlobalData& gcd) {
  FileSetState& fs = gcd.fileset;
  fs.patterns.clear();
  std::string_view filter(gcd.cfg.patternFilter);
  ForEachItem(filter, IsPatternSeparator, [&](std::string_view item) {
    fs.patterns.push_back(gcd.cfg.caseSensitiveNames ? std::string(item) : Lowered(item));
    return false;
  });
  fs.patternsPrepared = true;
}

}  // namespace

int valid_ext(const std::string& extension, const std::string& list, int caseSensitive, GlobalData& gcd) {
  if (!gcd.cfg.validateExtensions) return 1;
  return ForEachItem(list, IsListSeparator, [&](std::string_view item) {
    return caseSensitive ? item == extension : EqualsNoCase(item, extension);
  }) ? 1 : 0;
}

int FilenamePatternMatch(const std::string& path, GlobalData& gcd) {
  if (!gcd.cfg.patternFilterActive) return 0;
  if (!gcd.fileset.patternsPrepared) PreparePatterns(gcd);
  const std::string subject = gcd.cfg.caseSensitiveNames ? path : Lowered(path);
  for (const std::string& pattern : gcd.fileset.patterns)
    if (subject.find(pattern) != std::string::npos) return 1;
  return 0;
}

void SetFileDateSize(const std::string& path, GlobalData& gcd) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    gcd.fileset.fileDate = 0;
    gcd.fileset.fileSize = 0;
    return;
  }
  gcd.fileset.fileDate = st.st_mtime > INT_MAX ? INT_MAX : static_cast<int>(st.st_mtime);
  gcd.fileset.fileSize = st.st_size > INT_MAX ? INT_MAX : static_cast<int>(st.st_size);
}

int AddInputFile(const std::string& name, const std::string& extension, GlobalData& gcd) {
  SetFileDateSize(name, gcd);
  FileData record;
  AssignBounded(record.name, name);
  record.date = gcd.fileset.fileDate;
  record.size = gcd.fileset.fileSize;
  const bool header = !extension.empty() && (extension[0] == 'h' || extension[0] == 'H');
  Llist<FileData>& list = header ? gcd.fileset.headerList : gcd.fileset.sourceList;
  if (!AddFileNode(std::move(record), list, 0, gcd)) {
    OutF("  Memory Error: %s\n", ErrorText(errno ? errno : ENOMEM));
    return 0;
  }
  return 1;
}

// Re-reads the pattern filter: BuildFileList calls it once at its start.
void PrepareFileFilters(GlobalData& gcd) { PreparePatterns(gcd); }
