// libFuzzer target: the whole analysis of one input file, reports included.
// The first byte of the input picks the language and a switch set, so the
// traces, the notices and every output mode are exercised; the rest is the
// file's content.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "common/output.h"
#include "driver/run.h"

namespace {

std::string gDir;
std::string gNoticeHome;  // lqa.cfg with every notice on, the line first, tight limits

struct SwitchSet {
  std::vector<const char*> args;
  bool noticeHome = false;  // run with gNoticeHome
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

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char pattern[] = "/tmp/lqa-fuzz-XXXXXX";
  const char* dir = mkdtemp(pattern);
  if (dir == nullptr) std::abort();
  gDir = dir;
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
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const unsigned choice = data[0];
  const std::string path = gDir + "/input" + kExtensions[choice % 8];
  FILE* fp = std::fopen(path.c_str(), "wb");
  if (fp == nullptr) return 0;
  std::fwrite(data + 1, 1, size - 1, fp);
  std::fclose(fp);

  const SwitchSet& set = kSwitchSets[(choice / 8) % (sizeof kSwitchSets / sizeof kSwitchSets[0])];
  setenv("LQAHOME", set.noticeHome ? gNoticeHome.c_str() : gDir.c_str(), 1);
  std::vector<std::string> storage{"lqa"};
  for (const char* a : set.args) storage.emplace_back(a);
  storage.push_back(path);
  std::vector<char*> argv;
  for (std::string& s : storage) argv.push_back(s.data());
  argv.push_back(nullptr);
  // Reports go nowhere; only crashes, leaks and undefined behaviour count.
  // The run closes a report stream that is not standard output when it ends.
  gLQAOUT = std::fopen("/dev/null", "w");
  if (gLQAOUT == nullptr) std::abort();
  LqaMain(static_cast<int>(storage.size()), argv.data());
  std::remove(path.c_str());
  return 0;
}
