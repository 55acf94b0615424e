#include "driver/usable_cpus.h"

#include <sched.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <string>

#include "driver/switches.h"

namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
  return s;
}

// A whole decimal number (an optional leading minus); false on anything else.
bool WholeNumber(std::string_view s, long long& value) {
  s = Trim(s);
  if (s.empty()) return false;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size();
}

int QuotaCpus(long long quota, long long period) {
  if (quota <= 0 || period <= 0) return 0;
  const long long cpus = quota / period + (quota % period != 0 ? 1 : 0);
  return cpus > kMaxJobs ? kMaxJobs : static_cast<int>(cpus);
}

// The file's text, or an empty text when it cannot be read. Cgroup files are
// a line or two long.
std::string SmallFile(const std::string& path) {
  std::string text;
  FILE* f = std::fopen(path.c_str(), "r");
  if (f == nullptr) return text;
  char buffer[256];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() < 4096) text.append(buffer, n);
  std::fclose(f);
  return text;
}

// The directory and its parents up to and including the mount point.
void AddLevels(const std::string& mount, std::string_view path, std::vector<std::string>& dirs) {
  path = Trim(path);
  while (!path.empty() && path.back() == '/') path.remove_suffix(1);
  for (;;) {
    dirs.push_back(mount + std::string(path));
    if (path.empty()) return;
    const std::size_t slash = path.rfind('/');
    path = path.substr(0, slash == std::string_view::npos ? 0 : slash);
  }
}

}  // namespace

int CpuQuotaLimit(std::string_view cpuMax, std::string_view cfsQuota, std::string_view cfsPeriod) {
  long long quota = 0, period = 0;
  cpuMax = Trim(cpuMax);
  if (!cpuMax.empty()) {
    const std::size_t blank = cpuMax.find_first_of(" \t");
    if (blank == std::string_view::npos) return 0;
    if (!WholeNumber(cpuMax.substr(0, blank), quota) || !WholeNumber(cpuMax.substr(blank + 1), period)) return 0;
    return QuotaCpus(quota, period);
  }
  if (!WholeNumber(cfsQuota, quota) || !WholeNumber(cfsPeriod, period)) return 0;
  return QuotaCpus(quota, period);
}

std::vector<std::string> CgroupCpuDirs(std::string_view procSelfCgroup) {
  std::vector<std::string> dirs;
  while (!procSelfCgroup.empty()) {
    const std::size_t lf = procSelfCgroup.find('\n');
    std::string_view line = procSelfCgroup.substr(0, lf);
    procSelfCgroup.remove_prefix(lf == std::string_view::npos ? procSelfCgroup.size() : lf + 1);
    // hierarchy-id:controllers:path
    const std::size_t first = line.find(':');
    const std::size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
    if (second == std::string_view::npos) continue;
    const std::string_view id = line.substr(0, first);
    const std::string_view controllers = line.substr(first + 1, second - first - 1);
    const std::string_view path = line.substr(second + 1);
    if (id == "0" && controllers.empty()) {
      AddLevels("/sys/fs/cgroup", path, dirs);
      continue;
    }
    for (std::string_view rest = controllers; !rest.empty();) {
      const std::size_t comma = rest.find(',');
      const std::string_view name = rest.substr(0, comma);
      rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
      if (name != "cpu") continue;
      AddLevels("/sys/fs/cgroup/cpu", path, dirs);
      break;
    }
  }
  return dirs;
}

int CombineCpuLimits(int affinityCount, int quotaLimit) {
  int cpus = affinityCount < 1 ? 1 : affinityCount;
  if (quotaLimit > 0 && quotaLimit < cpus) cpus = quotaLimit;
  return cpus;
}

int UsableCpus() {
  int affinity = 1;
  // The mask grows until the kernel's fits: a machine may have more CPUs
  // than a cpu_set_t holds.
  for (int cpus = 1024; cpus <= 1 << 16; cpus *= 2) {
    cpu_set_t* set = CPU_ALLOC(cpus);
    if (set == nullptr) break;
    const std::size_t size = CPU_ALLOC_SIZE(cpus);
    CPU_ZERO_S(size, set);
    const bool known = sched_getaffinity(0, size, set) == 0;
    const bool tooSmall = !known && errno == EINVAL;
    if (known) affinity = CPU_COUNT_S(size, set);
    CPU_FREE(set);
    if (!tooSmall) break;
  }
  int tightest = 0;
  for (const std::string& dir : CgroupCpuDirs(SmallFile("/proc/self/cgroup"))) {
    const int limit = CpuQuotaLimit(SmallFile(dir + "/cpu.max"), SmallFile(dir + "/cpu.cfs_quota_us"),
                                    SmallFile(dir + "/cpu.cfs_period_us"));
    if (limit > 0 && (tightest == 0 || limit < tightest)) tightest = limit;
  }
  return CombineCpuLimits(affinity, tightest);
}

int JobsForRun(const Switches& sw) { return sw.jobs == 0 ? UsableCpus() : sw.jobs; }
