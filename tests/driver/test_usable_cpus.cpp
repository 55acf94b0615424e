// The worker count of -j0: the cgroup quota texts read as a CPU count, the
// cgroup directories found from /proc/self/cgroup, and the affinity count
// capped by the quota.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/gcd.h"
#include "driver/switches.h"
#include "driver/usable_cpus.h"

namespace {

TEST(UsableCpus, QuotaTextsReadAsWholeCpus) {
  // cgroup v2: no quota, whole, fractional (rounded up) and below one CPU.
  EXPECT_EQ(CpuQuotaLimit("max 100000\n", "", ""), 0);
  EXPECT_EQ(CpuQuotaLimit("200000 100000\n", "", ""), 2);
  EXPECT_EQ(CpuQuotaLimit("150000 100000\n", "", ""), 2);
  EXPECT_EQ(CpuQuotaLimit("20000 100000", "", ""), 1);
  // cgroup v1: -1 is no quota; v2 wins over v1 when both are given.
  EXPECT_EQ(CpuQuotaLimit("", "-1\n", "100000\n"), 0);
  EXPECT_EQ(CpuQuotaLimit("", "350000\n", "100000\n"), 4);
  EXPECT_EQ(CpuQuotaLimit("max 100000", "300000", "100000"), 0);
  // No files at all.
  EXPECT_EQ(CpuQuotaLimit("", "", ""), 0);
}

TEST(UsableCpus, UnreadableQuotaTextsSetNoLimit) {
  for (const char* text : {"100000", "abc 100000", "200000 0", "2e5 100000", "200000 100000 x"})
    EXPECT_EQ(CpuQuotaLimit(text, "", ""), 0) << text;
  EXPECT_EQ(CpuQuotaLimit("", "200000", ""), 0);
  EXPECT_EQ(CpuQuotaLimit("", "20x", "100000"), 0);
  // A quota far above any machine stays a sane count.
  EXPECT_EQ(CpuQuotaLimit("9223372036854775807 1", "", ""), kMaxJobs);
  EXPECT_EQ(CpuQuotaLimit("9223372036854775807 100000", "", ""), kMaxJobs);
}

TEST(UsableCpus, AffinityCappedByTheQuota) {
  EXPECT_EQ(CombineCpuLimits(8, 0), 8);   // no quota
  EXPECT_EQ(CombineCpuLimits(8, 2), 2);   // quota below the affinity
  EXPECT_EQ(CombineCpuLimits(2, 6), 2);   // affinity below the quota
  EXPECT_EQ(CombineCpuLimits(0, 0), 1);   // at least one
}

TEST(UsableCpus, CgroupDirectoriesFromEveryLevel) {
  // cgroup v2 only: the process's directory and each parent, innermost first.
  EXPECT_EQ(CgroupCpuDirs("0::/user.slice/app.scope\n"),
            (std::vector<std::string>{"/sys/fs/cgroup/user.slice/app.scope", "/sys/fs/cgroup/user.slice",
                                      "/sys/fs/cgroup"}));
  // Hybrid: the v1 cpu controller (alone or shared with cpuacct) as well;
  // other controllers are no CPU limit.
  EXPECT_EQ(CgroupCpuDirs("4:memory:/m\n2:cpu,cpuacct:/docker/ab\n0::/"),
            (std::vector<std::string>{"/sys/fs/cgroup/cpu/docker/ab", "/sys/fs/cgroup/cpu/docker",
                                      "/sys/fs/cgroup/cpu", "/sys/fs/cgroup"}));
  EXPECT_EQ(CgroupCpuDirs("2:cpuacct:/x\n3:cpuset:/y\n"), std::vector<std::string>{});
  EXPECT_EQ(CgroupCpuDirs("garbage\n\n"), std::vector<std::string>{});
}

TEST(UsableCpus, JobsForRun) {
  const int usable = UsableCpus();
  EXPECT_GE(usable, 1);
  EXPECT_LE(usable, kMaxJobs * 256);
  Switches sw;
  EXPECT_EQ(JobsForRun(sw), usable);  // the default: one worker per usable CPU
  sw.jobs = 3;
  EXPECT_EQ(JobsForRun(sw), 3);
}

}  // namespace
