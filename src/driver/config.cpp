// Defaults and reader of lqa.cfg.
#include "driver/config.h"

#include <sys/stat.h>

#include <cctype>
#include <cfloat>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "common/gcd.h"
#include "common/output.h"
#include "common/version.h"
#include "driver/config_keys.h"
#include "driver/languages.h"

namespace {

// Notices that are off until the configuration turns them on.
constexpr int kNoticesOffByDefault[] = {21, 46, 47, 51, 52, 53, 54, 57, 58};

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool IsAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

std::string_view TrimRight(std::string_view s, std::string_view chars) {
  std::size_t end = s.find_last_not_of(chars);
  return end == std::string_view::npos ? std::string_view{} : s.substr(0, end + 1);
}
std::string_view TrimLeft(std::string_view s, std::string_view chars) {
  std::size_t begin = s.find_first_not_of(chars);
  return begin == std::string_view::npos ? std::string_view{} : s.substr(begin);
}

void StoreInteger(const CfgKey& key, std::string_view value, Config& cfg) {
  if (value.empty() || !IsDigit(value[0])) return;
  const std::string digits(value);
  long n = std::strtol(digits.c_str(), nullptr, 10);
  // Out-of-range numbers are held at the largest int instead of wrapping.
  if (n > INT_MAX) n = INT_MAX;
  int v = static_cast<int>(n);
  if (v == 0 && key.zeroAs != 0) v = key.zeroAs;
  key.num(cfg) = v;
}

void StorePercent(const CfgKey& key, std::string_view value, Config& cfg) {
  if (value.empty() || !IsDigit(value[0])) return;
  const std::string digits(value);
  double d = std::strtod(digits.c_str(), nullptr);
  if (!(d <= FLT_MAX)) d = FLT_MAX;  // keeps huge values finite so they print and read back
  key.pct(cfg) = static_cast<float>(d);
}

void StoreText(const CfgKey& key, std::string_view value, Config& cfg) {
  if (value.empty()) return;
  if (key.alnumStart && !IsAlnum(value[0])) return;
  if (key.crIsEmpty && value[0] == '\r') return;
  AssignBounded(key.text(cfg), value, key.maxLen);
  if (key.setsFlag != nullptr) key.setsFlag(cfg) = 1;
}

// A changed extension list replaces the language's extensions at once when
// the language table has already been built (a second read through -u).
void StoreExtensions(const CfgKey& key, std::string_view value, GlobalData& gcd) {
  if (value.empty() || !IsAlnum(value[0])) return;
  std::string& list = key.text(gcd.cfg);
  AssignBounded(list, value, key.maxLen);
  for (auto& record : gcd.lang.table) {
    if (record && record->index == key.language) {
      parseUlpiExtensions(*record, list, gcd);
      break;
    }
  }
}

void StoreColour(const CfgKey& key, std::string_view value, Config& cfg) {
  if (value.empty() || !(IsAlnum(value[0]) || value[0] == '#')) return;
  AssignBounded(key.text(cfg), value, key.maxLen);
}

// The user defined notice file: an empty or one-character value selects the
// default file of the configuration home; a bare name is taken relative to it.
void StoreUdqnFile(const CfgKey& key, std::string_view value, GlobalData& gcd) {
  const std::string& home = gcd.drv.cfgHome;
  const bool homeSet = home.size() > 1;
  std::string& file = key.text(gcd.cfg);
  if (value.size() <= 1) {
    if (homeSet) AssignBounded(file, home + kUdqnFileName, key.maxLen);
    return;
  }
  if (!homeSet || value.find('/') != std::string_view::npos)
    AssignBounded(file, value, key.maxLen);
  else
    AssignBounded(file, home + std::string(value), key.maxLen);
}

void StoreValue(const CfgKey& key, std::string_view value, GlobalData& gcd) {
  Config& cfg = gcd.cfg;
  switch (key.type) {
    case CfgType::YesNo:
      key.num(cfg) = (value.empty() || (value[0] != 'n' && value[0] != 'N')) ? 1 : 0;
      break;
    case CfgType::NoYes:
      key.num(cfg) = (value.empty() || (value[0] != 'n' && value[0] != 'N')) ? 0 : 1;
      break;
    case CfgType::Integer: StoreInteger(key, value, cfg); break;
    case CfgType::Percent: StorePercent(key, value, cfg); break;
    case CfgType::Text: StoreText(key, value, cfg); break;
    case CfgType::Extensions: StoreExtensions(key, value, gcd); break;
    case CfgType::Colour: StoreColour(key, value, cfg); break;
    case CfgType::UdqnFile: StoreUdqnFile(key, value, gcd); break;
    case CfgType::Deprecated:
      OutF("Notice: Using \"%s\"\n        in %s is deprecated.  Use the %s\n"
           "        file to define the elements of the baseline metrics\n"
           "        differential report\n\n",
           key.label, kCfgFileName, kWorkDiffCfgFileName);
      break;
  }
}

// Reads every line of an open configuration file.
void ReadCfgStream(FILE* fp, GlobalData& gcd) {
  char line[kTextBuf];
  while (std::fgets(line, sizeof line, fp) != nullptr) {
    // A last read at end of file that starts with a control character holds nothing.
    if (std::feof(fp) && static_cast<unsigned char>(line[0]) <= 11) break;
    ApplyCfgLine(line, gcd);
  }
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

void InitGlobals(GlobalData& gcd) {
  gcd.cfg = Config{};
  for (int n = 1; n <= kNoticeCount; ++n) gcd.cfg.notice[n] = 1;
  for (int n : kNoticesOffByDefault) gcd.cfg.notice[n] = 0;
}

void ApplyCfgLine(const char* line, GlobalData& gcd) {
  if (line == nullptr) return;
  const std::string_view text(line);
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return;
  const std::string_view label = TrimRight(text.substr(0, colon), " \t\r\n");
  const std::string_view value = TrimRight(TrimLeft(text.substr(colon + 1), " \t"), " \t\r\n");
  const CfgKey* key = FindCfgKey(label);
  if (key == nullptr || key->use == CfgUse::WriteOnly) return;
  StoreValue(*key, value, gcd);
}

int LoadCfg(GlobalData& gcd) {
  const std::string& path = gcd.drv.cfgFile;
  if (path.empty()) return 0;
  FilePtr fp(std::fopen(path.c_str(), "rb"));
  if (!fp) {
    // Only a missing file is created; an existing file that cannot be read
    // is left as it is.
    if (PathExists(path)) return 0;
    fp.reset(std::fopen(path.c_str(), "w+b"));
    if (!fp) return 0;
    WriteCfg(fp.get(), gcd, false);
    std::rewind(fp.get());
  }
  ReadCfgStream(fp.get(), gcd);
  fp.reset();

  // A missing, older or damaged version line upgrades the file to the
  // current layout, keeping every value just read.
  if (gcd.cfg.cfgVersion != kLqaVersion) {
    FilePtr out(std::fopen(path.c_str(), "w+b"));
    if (out) {
      gcd.cfg.cfgVersion = kLqaVersion;
      WriteCfg(out.get(), gcd, false);
    }
  }
  return 1;
}
