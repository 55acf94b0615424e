// How many worker threads a run uses: the -j count, or for -j0 the CPUs the
// process may run on, capped by a cgroup CPU quota when there is one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct Switches;

// The largest -j count a run takes; larger counts are lowered to it.
inline constexpr int kMaxJobs = 256;

// The CPUs one cgroup level allows, from the texts of its files (an empty
// text: the file is missing): cgroup v2 cpu.max ("max 100000" or
// "200000 100000") when given, else v1 cpu.cfs_quota_us and
// cpu.cfs_period_us. ceil(quota / period), at least 1; 0 when the level sets
// no quota or its text cannot be read as one.
int CpuQuotaLimit(std::string_view cpuMax, std::string_view cfsQuota, std::string_view cfsPeriod);

// The cgroup directories whose quota bounds this process, innermost first,
// from the text of /proc/self/cgroup: each level of the v2 path under
// /sys/fs/cgroup and of the v1 cpu controller's path under its mount.
std::vector<std::string> CgroupCpuDirs(std::string_view procSelfCgroup);

// The affinity count lowered to the tightest quota (0: none), at least 1.
int CombineCpuLimits(int affinityCount, int quotaLimit);

// The CPUs this process may use: the sched_getaffinity count capped by the
// cgroup CPU quota, at least 1.
int UsableCpus();

// The worker count of the run: UsableCpus() for -j0, else the -j count.
int JobsForRun(const Switches& sw);
