// What a worker thread may read of the run while other workers analyse files
// and the main thread merges them: the run's macro names, which take no lock,
// and its namespace records and user notice state, under one lock that the
// merge takes to change them.
#pragma once

#include <shared_mutex>

class SharedNameSet;
struct EntityIndex;
struct DataNamePlan;

struct RunShare {
  const SharedNameSet* macroNames = nullptr;  // read without the lock (common/shared_name_set.h)
  const EntityIndex* index = nullptr;
  // The run's once-only CSV function header flag: a worker's file text holds
  // the header with this flag, which only the merge reads and sets.
  int* csvFunctionHeaderWritten = nullptr;
  // The line data file names planned for the run's files (workdiff/data_names.h).
  const DataNamePlan* dataNames = nullptr;
  // Shared by a worker for each look-up; held exclusively by the merge while
  // it adds a file's structure records and user notice changes.
  mutable std::shared_mutex lock;
};
