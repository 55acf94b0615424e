#include "gate/gate_selection.h"

#include <getopt.h>
#include <vector>

#include "common/gcd.h"
#include "driver/switches.h"

namespace {

// The -r directory as written: what follows the first blank, up to a line
// feed, as the switch reads it.
std::string RecursiveDirectory(const char* arg) {
  const std::string_view text = arg != nullptr ? arg : "";
  const std::size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return {};
  const std::string_view dir = text.substr(blank + 1);
  return std::string(dir.substr(0, dir.find('\n')));
}

}  // namespace

bool StaysBelowCurrentDirectory(std::string_view path) {
  if (path.empty() || path.front() == '/') return path.empty();
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (path.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

std::string OutsideSelection(int argc, char** argv, const GlobalData& gcd) {
  if (argv == nullptr) return {};
  // getopt over a copy, as the run itself parses the switches; the last -r
  // is the one in force.
  std::vector<char*> copy(argv, argv + argc);
  copy.push_back(nullptr);
  optind = 0;  // glibc: start afresh
  opterr = 0;
  std::string dir;
  int opt;
  while ((opt = getopt(argc, copy.data(), SwitchOptionString())) != -1)
    if (opt == 'r') dir = RecursiveDirectory(optarg);
  const int first = optind;
  optind = 0;
  if (gcd.sw.recursive)
    return IsCurrentDirSpelling(dir) || StaysBelowCurrentDirectory(dir) ? std::string() : dir;
  if (gcd.sw.fileList) return {};
  // Without -r the file names select; with -r they are not read.
  for (int i = first; i < argc; ++i)
    if (argv[i] != nullptr && !StaysBelowCurrentDirectory(argv[i])) return argv[i];
  return {};
}
