#include "sarif/source_location.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <vector>

namespace {

bool KeptInUri(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case '-': case '.': case '_': case '~':                                    // unreserved
    case '!': case '$': case '&': case '\'': case '(': case ')':              // sub-delims
    case '*': case '+': case ',': case ';': case '=':
    case ':': case '@': case '/':
      return true;
    default:
      return false;
  }
}

std::string RealPath(const std::string& name) {
  char resolved[PATH_MAX];
  if (realpath(name.c_str(), resolved) == nullptr) return std::string();
  return resolved;
}

}  // namespace

std::string PercentEncodePath(std::string_view path, bool relative) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size() + 8);
  bool firstSegment = relative;
  for (char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '/') firstSegment = false;
    if (KeptInUri(c) && !(firstSegment && c == ':')) {
      out.push_back(ch);
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

std::string FileUri(std::string_view absolutePath) { return "file://" + PercentEncodePath(absolutePath, false); }

std::string LexicallyNormal(std::string_view absolutePath) {
  std::vector<std::string_view> parts;
  std::size_t i = 0;
  while (i < absolutePath.size()) {
    while (i < absolutePath.size() && absolutePath[i] == '/') ++i;
    std::size_t end = i;
    while (end < absolutePath.size() && absolutePath[end] != '/') ++end;
    const std::string_view part = absolutePath.substr(i, end - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = end;
  }
  std::string out;
  for (std::string_view part : parts) {
    out.push_back('/');
    out.append(part);
  }
  return out.empty() ? std::string("/") : out;
}

std::string ResolvedCurrentDirectory() {
  std::string dir = RealPath(".");
  if (dir.empty()) {
    char cwd[PATH_MAX];
    dir = getcwd(cwd, sizeof cwd) != nullptr ? LexicallyNormal(cwd) : std::string("/");
  }
  return dir;
}

SourceLocation LocateSource(const std::string& fileName, const std::string& baseDir) {
  std::string absolute = RealPath(fileName);
  if (absolute.empty())
    absolute = LexicallyNormal(!fileName.empty() && fileName[0] == '/' ? fileName : baseDir + "/" + fileName);
  SourceLocation loc;
  const bool rootBase = baseDir == "/";
  if (rootBase || (absolute.size() > baseDir.size() && absolute.compare(0, baseDir.size(), baseDir) == 0 &&
                   absolute[baseDir.size()] == '/')) {
    loc.path = absolute.substr(rootBase ? 1 : baseDir.size() + 1);
    loc.uri = PercentEncodePath(loc.path, true);
    loc.inBase = true;
  } else {
    loc.path = absolute;
    loc.uri = FileUri(absolute);
    loc.inBase = false;
  }
  return loc;
}
