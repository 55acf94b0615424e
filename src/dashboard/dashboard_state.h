// Run state of the dashboard page (-x"DASHBOARD file"): the target asked
// for, its file while the run goes on, and the notices of each file by
// category, which no other part of the run keeps.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "common/atomic_file.h"
#include "dashboard/dashboard_data.h"

struct FileData;

struct FileNoticeTally {
  CategoryCounts categories{};
  int frequent = 0;  // tab and line length notices
};

struct DashboardState {
  int wanted = 0;
  std::string file;
  std::shared_ptr<AtomicFile> target;  // shared only so that the record stays copyable
  FileNoticeTally current;             // the file being analysed
  std::unordered_map<const FileData*, FileNoticeTally> tallies;
};
