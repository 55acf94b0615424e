// Defaults and reader of lqa.cfg.
#include "driver/config.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "common/atomic_file.h"
#include "common/gcd.h"
#include "common/input_file.h"
#include "common/output.h"
#include "common/version.h"
#include "driver/config_keys.h"
#include "driver/languages.h"
#include "notices/notices.h"

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

// A value outside its key's range is held at the nearest bound; the user is
// told on standard error (the report has not started when lqa.cfg is read).
void RangeWarning(const CfgKey& key, std::string_view value, const char* held, const GlobalData& gcd) {
  StreamF(stderr,
          "\n  Warning: Configuration value out of range in %s\n"
          "           %s : %.*s\n           %s is used (the range is %d to %d)\n",
          gcd.drv.cfgFile.c_str(), key.label, static_cast<int>(value.size() > 64 ? 64 : value.size()), value.data(),
          held, key.minValue, key.maxValue);
}

void StoreInteger(const CfgKey& key, std::string_view value, GlobalData& gcd) {
  if (value.empty() || !IsDigit(value[0])) return;
  const std::string digits(value);
  long long n = std::strtoll(digits.c_str(), nullptr, 10);
  if (n == 0 && key.zeroAs != 0) n = key.zeroAs;
  if (n < key.minValue || n > key.maxValue) {
    n = n < key.minValue ? key.minValue : key.maxValue;
    RangeWarning(key, value, std::to_string(n).c_str(), gcd);
  }
  key.num(gcd.cfg) = static_cast<int>(n);
}

void StorePercent(const CfgKey& key, std::string_view value, GlobalData& gcd) {
  if (value.empty() || !IsDigit(value[0])) return;
  const std::string digits(value);
  double d = std::strtod(digits.c_str(), nullptr);
  if (!(d >= key.minValue && d <= key.maxValue)) {
    d = d < key.minValue ? key.minValue : key.maxValue;
    char held[32];
    std::snprintf(held, sizeof held, "%.2f", d);
    RangeWarning(key, value, held, gcd);
  }
  key.pct(gcd.cfg) = static_cast<float>(d);
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
    case CfgType::Integer: StoreInteger(key, value, gcd); break;
    case CfgType::Percent: StorePercent(key, value, gcd); break;
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

// Writes the whole file under a temporary name and publishes it when complete.
bool WriteCfgFile(const std::string& path, GlobalData& gcd) {
  AtomicFile file;
  AtomicOptions options;
  options.regularOnly = true;
  if (!file.Open(path, options)) return false;
  WriteCfg(file.stream(), gcd, false);
  return file.Commit();
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
  PrepareNoticeTexts(gcd);
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
  FilePtr fp(OpenInput(path));
  if (!fp) {
    // Only a missing file is created; an existing file that cannot be read
    // is left as it is, and one that is no regular file is named.
    if (errno == kNotRegularFile || errno == EISDIR)
      StreamF(stderr, "\n  Error: Cannot read the configuration file %s\n         %s; the built-in values are used\n",
              path.c_str(), InputErrorText(errno));
    if (PathExists(path) || !WriteCfgFile(path, gcd)) return 0;
    fp.reset(OpenInput(path));
    if (!fp) return 0;
  }
  ReadCfgStream(fp.get(), gcd);
  fp.reset();
  PrepareNoticeTexts(gcd);  // with the limits just read

  // A missing, older or damaged version line upgrades the file to the
  // current layout, keeping every value just read. The file is replaced
  // only once the new one is complete: a full disk leaves it as it was.
  if (gcd.cfg.cfgVersion != kLqaVersion) {
    const std::string read = gcd.cfg.cfgVersion;
    gcd.cfg.cfgVersion = kLqaVersion;
    if (!WriteCfgFile(path, gcd)) gcd.cfg.cfgVersion = read;
  }
  return 1;
}
