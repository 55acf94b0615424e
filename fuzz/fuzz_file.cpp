// libFuzzer target: the whole analysis of one input file, reports included.
// The first byte of the input picks the language and a switch set, so the
// traces, the notices and every output mode are exercised; the rest is the
// file's content. The byte modulo the number of switch sets picks the set,
// and its quotient shifts the file extension.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/run.h"
#include "workdiff/diff_lists.h"
#include "workdiff/diff_report.h"
#include "workdiff/lcs.h"
#include "workdiff/line_data.h"
#include "workdiff/work_file.h"

namespace {

std::string gDir;
std::string gNoticeHome;     // lqa.cfg with every notice on, the line first, tight limits
std::string gUdqnHome;       // lqa.cfg naming kUdqnRules
std::string gUdqnInputHome;  // lqa.cfg naming the input itself as the rule file

// The directory the fuzzer started in: its corpus paths are relative to it.
std::string gStartDir;

// Which user defined notices a run loads.
enum class Rules { None, Fixed, Input };

struct SwitchSet {
  std::vector<const char*> args;
  bool noticeHome = false;  // run with gNoticeHome
  Rules rules = Rules::None;
};

const char* const kExtensions[] = {".c", ".h", ".cpp", ".hpp", ".java", ".cs", ".txt", ".C"};

const SwitchSet kSwitchSets[] = {
    {{}},
    {{"-s"}},
    {{"-n"}},
    {{"-d"}},
    {{"-wD"}},
    {{"-H", "-s", "-n"}},
    {{"-C", "-s"}},
    {{"-X", "-n", "-s"}},
    {{"-m", "-n"}},
    {{"-H", "-d"}},
    {{"-C", "-wD"}},
    {{"-v", "-s"}},
    {{"-n", "-fa"}},
    {{"-Ns", "-fa", "-o"}},
    {{"-Nv", "-fa"}},
    {{"-n", "-fa", "-m"}, true},
    {{"-H", "-n", "-fa"}, true},
    {{"-Ns", "-Tq"}, true},
    {{"-X", "-Tn"}, true},
    {{"-c", "-fa", "-fd", "-o", "-fm"}},
    {{"-l", "-o"}},
    {{"-c", "-fa", "-fd", "-o", "-n", "-l"}},
    {{"-H", "-c", "-fa", "-o", "-n"}},
    {{"-C", "-fa", "-o", "-fm"}},
    {{"-X", "-o", "-fm"}},
    {{"-X", "-Ta", "-Td", "-v", "-a", "-fp", "-k2"}},
    {{"-C", "-fa", "-fp", "-v", "-a", "-n"}},
    {{"-H", "-s", "-v", "-a", "-e", "-c", "-fa", "-fd", "-o", "-i", "-n", "-k1", "-kd"}},
    {{"-Tl", "-Ta", "-TL", "-k5"}},
    {{"-Es", "-b"}},
    {{"-Ec", "-H"}},
    {{"-Es", "-Ec", "-X", "-b"}},
    {{"-p", "-L20", "-P1"}},
    {{"-p", "-H"}},
    // The input file is a temporary copy: rewriting it in place is safe.
    {{"-Dt", "-Du"}},
    {{"-Dd", "-C", "-b"}},
    {{"-c", "-fa", "-o", "-fm", "-n"}, true},
    {{"-n", "-fa", "-o", "-Tq"}, false, Rules::Fixed},
    {{"-C", "-Ns", "-n"}, false, Rules::Input},
    // A baseline of the file with line data, kept inside the fuzz directory
    // (@ arguments are completed with it).
    {{"@-wFile dat ", "@-wcreate ", "-wd", "-wv"}},
    // The input read back as a work file and as a line data file.
    {{"@reader"}},
    // The notice documents on the report stream: every notice on, the
    // inheritance notices after the last file, user defined notices.
    {{"-xSARIF", "-i"}, true},
    {{"-xGITLAB", "-C"}, false, Rules::Fixed},
    // The XML document transcoded to JSON: every report, and the text lines
    // of extraction beside the notices by line.
    {{"-J", "-Ta", "-Td", "-v", "-a", "-fp", "-k2", "-fm"}},
    {{"-J", "-Es", "-Ec", "-Tn", "-i"}, true},
};

// Every notice on, line-first notices, the key string and skip tokens active,
// and limits that fire early.
std::string NoticeConfig() {
  std::string cfg =
      "Reorder notice, line in quality notices : Yes\n"
      "LQA KEY String : Copyright\n"
      "Activate LQA code skip tokens : Yes\n"
      "Use default in case/break comparison : Yes\n"
      "Include zero (0) as literal assignment : Yes\n"
      "Maximum depth of scope : 2\n"
      "Maximum Line Length : 20\n";
  for (int n = 1; n <= 58; ++n) cfg += "Quality Notice " + std::to_string(n) + " : Yes\n";
  return cfg;
}

// User defined notices for every language and context: flag chains across
// lines and files, end-of-file checks, a silent rule, placeholders, a
// back-reference, a POSIX class, case folding, a pattern that does not
// compile, a duplicate identifier and one that backtracks badly.
constexpr const char kUdqnRules[] =
    "REG_ICASE: yes\n"
    "UDQN Begin:\nudqn id: 100\nactive: yes\nsources: c h cpp hpp java cs txt C\ncontext: Code\n"
    "pattern: \\b(printf|malloc)\\s*\\(\nmessage: _FILE_:_LINE#_ in _CLASS_ _FUNC_\\n_LINE_ 100%\n"
    "summary: call, seen\nset flags: 5\nUDQN End:\n"
    "REG_ICASE: no\n"
    "UDQN Begin:\nudqn id: 101\nactive: yes\nsources: c h cpp hpp java cs txt C\ncontext: Comment\n"
    "pattern: \\b(\\w+) \\1\\b\nsummary: doubled word\nmessage: doubled\ncheck flags: 5\n"
    "clear flags: 5\nUDQN End:\n"
    "UDQN Begin:\nudqn id: 102\nactive: yes\nsources: c h cpp hpp java cs txt C\ncontext: String\n"
    "pattern: [[:digit:]]{2,}\nsummary: number in a string\nmessage: <&>\nsilent flag: yes\n"
    "set flags: 7\nUDQN End:\n"
    "UDQN Begin:\nudqn id: 103\nactive: yes\nsources: c h cpp hpp java cs txt C\ncontext: Line\n"
    "pattern: UDQN eof\nemit eof flag: yes\n!check flags: 7\nsummary: no number\nmessage: _LINE_\n"
    "UDQN End:\n"
    "UDQN Begin:\nudqn id: 104\nactive: yes\nsources: c h cpp hpp java cs txt C\ncontext: Line\n"
    "pattern: UDQN eof\nemit eof flag: yes\nclear flags: 7 5\nsilent flag: yes\nUDQN End:\n"
    "UDQN Begin:\nudqn id: 105\nactive: yes\nsources: c h cpp hpp java cs txt C\ncontext: Line\n"
    "pattern: (a+)+$\nsummary: runs of a\nUDQN End:\n"
    "UDQN Begin:\nudqn id: 105\nactive: yes\nsources: c\ncontext: Line\npattern: x\nUDQN End:\n"
    "UDQN Begin:\nudqn id: 106\nactive: yes\nsources: c\ncontext: Code\npattern: (unclosed\nUDQN End:\n"
    "UDQN Begin:\nudqn id: 7\nactive: yes\nsources: c h cpp hpp java cs txt C\ncontext: Code\n"
    "pattern: [;{]\\s*$\nsummary: line end\nUDQN End:\n";

void WriteFile(const std::string& path, const void* data, size_t size) {
  FILE* fp = std::fopen(path.c_str(), "wb");
  if (fp == nullptr) std::abort();
  std::fwrite(data, 1, size, fp);
  std::fclose(fp);
}

// A home directory whose lqa.cfg names the given rule file.
std::string UdqnHome(const std::string& name, const std::string& rules) {
  const std::string home = gDir + "/" + name;
  std::filesystem::create_directory(home);
  const std::string cfg = "LQA user defined quality notice file : " + rules + "\n";
  WriteFile(home + "/lqa.cfg", cfg.data(), cfg.size());
  return home;
}

std::string Completed(const char* arg) {
  const std::string a(arg + 1);
  if (a.starts_with("-wFile dat")) return a + gDir + "/fz.dat";
  return a + gDir;
}

// The readers of stored baselines on arbitrary bytes: the work file loader,
// the data file loader, the line comparison with small blocks, the pairing
// and the report tables.
void ReadBack(const uint8_t* data, size_t size) {
  const std::string work = gDir + "/in.dat";
  const std::string lines = gDir + "/in.dat.dif/x.dif";
  std::filesystem::create_directories(gDir + "/in.dat.dif");
  for (const std::string& path : {work, lines}) {
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (fp == nullptr) return;
    std::fwrite(data, 1, size, fp);
    std::fclose(fp);
  }
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  if (!gcd) return;
  gcd->cfg.maxLcsFileLines = 1 + static_cast<int>(size % 13);
  gcd->sw.workDetails = 1;
  gcd->sw.diffDebug = size % 2;
  gcd->cfg.showEqualLines = gcd->cfg.showAddedLines = gcd->cfg.showRemovedLines = 1;
  for (ReportCfgEntry& e : gcd->wd.reportCfg) e = ReportCfgEntry{1, static_cast<int>(size % 3 == 0)};
  Llist<NodeData> older, newer, diff;
  LoadWorkFile(work, nullptr, older, nullptr, nullptr, *gcd);
  LoadWorkFile(work, nullptr, newer, nullptr, nullptr, *gcd);
  DiffDataList a, b;
  // The loader refuses a file with any damaged record; the comparison still
  // sees the records of every input, read as they are, with the eight line
  // types only.
  LoadDiffDataFile("x.dif", gDir + "/in.dat.dif/w.dat", a, *gcd);
  a.clear();
  if (FILE* fp = std::fopen(lines.c_str(), "rb")) {
    DiffDataNode n;
    while (WorkDiffDataLineRead(fp, &n.line, &n.type, &n.signature) == 1)
      if (std::strchr("BCNGLngl", n.type) != nullptr && n.type != 0) a.push_back(n);
    std::fclose(fp);
  }
  {
    b.assign(a.rbegin(), a.rend());
    for (std::size_t k = 0; k < b.size(); k += 3) b[k].signature += 1;
    CompareCodeLCS("x.c", a, b, *gcd);
  }
  DiffWorkLists(older, newer, diff, *gcd);
  ShowDiffTable(diff, *gcd);
  WorkDiffProfile(diff, *gcd);
  ShowDiffTotals(*gcd);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char pattern[] = "/tmp/lqa-fuzz-XXXXXX";
  const char* dir = mkdtemp(pattern);
  if (dir == nullptr) std::abort();
  gDir = dir;
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) == nullptr) std::abort();
  gStartDir = cwd;
  // The configuration and macro files the runs write go with the directory.
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(gDir, ec);
  });
  setenv("LQAHOME", dir, 1);
  gNoticeHome = gDir + "/notices";
  std::filesystem::create_directory(gNoticeHome);
  FILE* cfg = std::fopen((gNoticeHome + "/lqa.cfg").c_str(), "wb");
  if (cfg == nullptr) std::abort();
  const std::string text = NoticeConfig();
  std::fwrite(text.data(), 1, text.size(), cfg);
  std::fclose(cfg);
  gUdqnHome = UdqnHome("udqn", gDir + "/udqn/rules.cfg");
  WriteFile(gUdqnHome + "/rules.cfg", kUdqnRules, sizeof kUdqnRules - 1);
  gUdqnInputHome = UdqnHome("udqn-input", gDir + "/udqn-input/rules.cfg");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const unsigned choice = data[0];
  // The byte modulo the number of sets picks the set and its quotient shifts
  // the extension, so every set is reached with several extensions (eight
  // extensions times 32 sets would use the whole byte, leaving later sets
  // unreachable).
  constexpr unsigned kSets = sizeof kSwitchSets / sizeof kSwitchSets[0];
  static_assert(kSets <= 64, "each set needs at least four values of the first byte");
  const SwitchSet& set = kSwitchSets[choice % kSets];
  const std::string path = gDir + "/input" + kExtensions[(choice / kSets + choice % kSets) % 8];
  FILE* fp = std::fopen(path.c_str(), "wb");
  if (fp == nullptr) return 0;
  std::fwrite(data + 1, 1, size - 1, fp);
  std::fclose(fp);

  if (set.args.size() == 1 && std::strcmp(set.args[0], "@reader") == 0) {
    gLQAOUT = std::fopen("/dev/null", "w");
    if (gLQAOUT == nullptr) std::abort();
    ReadBack(data + 1, size - 1);
    std::fclose(gLQAOUT);
    gLQAOUT = stdout;
    std::remove(path.c_str());
    return 0;
  }
  const char* home = set.noticeHome ? gNoticeHome.c_str() : gDir.c_str();
  if (set.rules == Rules::Fixed) home = gUdqnHome.c_str();
  if (set.rules == Rules::Input) {
    // The same bytes are read as rules and analysed as source.
    WriteFile(gUdqnInputHome + "/rules.cfg", data + 1, size - 1);
    home = gUdqnInputHome.c_str();
  }
  setenv("LQAHOME", home, 1);
  std::vector<std::string> storage{"lqa"};
  for (const char* a : set.args) storage.emplace_back(a[0] == '@' ? Completed(a) : std::string(a));
  storage.push_back(path);
  std::vector<char*> argv;
  for (std::string& s : storage) argv.push_back(s.data());
  argv.push_back(nullptr);
  // Reports go nowhere; only crashes, leaks and undefined behaviour count.
  // The run closes a report stream that is not standard output when it ends.
  gLQAOUT = std::fopen("/dev/null", "w");
  if (gLQAOUT == nullptr) std::abort();
  // A run that creates a work file also copies it to workfile.dat in the
  // working directory: that must be the fuzz directory, not the caller's.
  if (chdir(gDir.c_str()) != 0) std::abort();
  LqaMain(static_cast<int>(storage.size()), argv.data());
  if (chdir(gStartDir.c_str()) != 0) std::abort();
  std::remove(path.c_str());
  return 0;
}
