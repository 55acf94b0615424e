// The -F list file: file names, comments, empty lines, %VAR% expansion and
// directory entries.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "common/gcd.h"
#include "common/output.h"
#include "common/text.h"
#include "driver/languages.h"
#include "fileset/fileset.h"
#include "reports/report_text.h"

namespace {

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// Reads one line of at most kTextMax characters; the rest of a longer line
// is read and dropped so that it does not come back as further lines.
bool ReadListLine(FILE* stream, std::string& line) {
  line.clear();
  char buffer[kTextBuf];
  bool any = false;
  while (std::fgets(buffer, sizeof buffer, stream) != nullptr) {
    any = true;
    std::size_t len = std::strlen(buffer);
    if (line.size() < kTextMax) line.append(buffer, std::min(len, kTextMax - line.size()));
    if (len > 0 && buffer[len - 1] == '\n') break;
  }
  return any;
}

void TrimLine(std::string& line) {
  std::size_t start = 0;
  while (start < line.size() && IsBlankOrTab(line[start])) ++start;
  line.erase(0, start);
  while (!line.empty()) {
    char c = line.back();
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
    line.pop_back();
  }
}

// A directory entry: "-r c,h dir", "-d c dir", also "-r\"c,h dir\"".
void DirectoryEntry(const std::string& line, GlobalData& gcd) {
  std::string_view rest(line);
  std::size_t i = 0;
  while (i < rest.size() && !IsBlankOrTab(rest[i])) ++i;
  std::string_view sw = rest.substr(0, i);
  std::string_view exts;
  std::size_t quote = sw.find('"');
  if (quote != std::string_view::npos) {
    // The quoted form: the extension list starts after the quote.
    exts = sw.substr(quote + 1);
    sw = sw.substr(0, quote);
  } else {
    while (i < rest.size() && IsBlankOrTab(rest[i])) ++i;
    std::size_t start = i;
    while (i < rest.size() && !IsBlankOrTab(rest[i])) ++i;
    exts = rest.substr(start, i - start);
  }
  while (i < rest.size() && IsBlankOrTab(rest[i])) ++i;
  while (i < rest.size() && rest[i] == '"') ++i;
  std::size_t start = i;
  while (i < rest.size() && rest[i] != '"' && rest[i] != '\t' && rest[i] != '\r' && rest[i] != '\n') ++i;
  std::string dir(rest.substr(start, i - start));
  while (!dir.empty() && dir.back() == ' ') dir.pop_back();
  if (sw.size() < 2 || exts.empty() || dir.empty()) {
    OutF("\n  Error: Malformed directory entry line in file.\n         Format: -r\"c,h,cpp d:\\proj\\src\"\n"
         "         Read  : %s\n\n",
         ShownText(line, gcd).c_str());
    return;
  }
  gcd.sw.dirNoRecurse = (sw == "-r" || sw == "-R") ? 0 : 1;
  if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  AddDirMetricsNode(dir, gcd);
  ReadDir(dir, std::string(exts), gcd);
}

void FileEntry(const std::string& name, GlobalData& gcd) {
  std::string extension;
  if (FilenamePatternMatch(name, gcd)) return;
  if (!getExtension(name, extension, gcd)) return;
  const std::string& accepted = gcd.lang.acceptedExtensions;
  if (!valid_ext(extension, accepted, gcd.cfg.caseSensitiveNames, gcd)) {
    OutF("\n  Error: %s - Not a valid file type for LQA\n         Valid types: %s\n", ShownText(name, gcd).c_str(),
         ShownText(accepted, gcd).c_str());
    return;
  }
  AddInputFile(name, extension, gcd);
}

}  // namespace

void ExpandEnvarString(std::string& line, GlobalData& gcd) {
  std::size_t from = 0;
  for (;;) {
    std::size_t open = line.find('%', from);
    if (open == std::string::npos) return;
    std::size_t close = line.find('%', open + 1);
    if (close == std::string::npos || close == open + 1) return;
    std::string name = line.substr(open + 1, close - open - 1);
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) {
      OutF("  Error: Expanding environment variable from -F file.\n         Environment Variable: %s does not exist\n\n",
           ShownText(name, gcd).c_str());
      return;
    }
    std::string expanded = line.substr(0, open);
    AssignBounded(expanded, expanded + value);
    from = expanded.size();  // a value is not expanded again
    std::string after = line.substr(close + 1);
    std::string joined = expanded + after;
    AssignBounded(line, joined);
    if (gcd.sw.listFilesOnly) {
      if (after.find('%') != std::string::npos)
        OutF("  -F Expanded Line: %s\n\n", ShownText(line, gcd).c_str());
      else
        OutF("  -F Expanded File Line: %s\n\n", ShownText(line, gcd).c_str());
    }
    if (from >= line.size()) return;
  }
}

void ReadFileList(GlobalData& gcd) {
  FILE* stream = gcd.drv.fileListStream;
  if (stream == nullptr) return;
  std::string line;
  while (ReadListLine(stream, line)) {
    ExpandEnvarString(line, gcd);
    std::size_t start = 0;
    while (start < line.size() && IsBlankOrTab(line[start])) ++start;
    if (start >= line.size()) continue;
    char first = line[start];
    if (first == '#' || first == '\r' || first == '\n') continue;
    TrimLine(line);
    if (line.empty()) continue;
    if (line[0] == '-')
      DirectoryEntry(line, gcd);
    else
      FileEntry(line, gcd);
  }
}
