// Which runs analyse their files on worker threads.
#include <gtest/gtest.h>

#include <cstdlib>

#include "common/gcd.h"
#include "driver/parallel_files.h"

TEST(WorkersForRun, BaselinesWithLineDataUseTheWorkers) {
  unsetenv("LQA_TEST_SCHEDULE");
  auto gcd = NewGlobalData();
  gcd->sw.jobs = 3;
  gcd->drv.fileCount = 5;
  gcd->sw.workCreate = gcd->sw.workLineDiff = gcd->sw.workVerbose = gcd->sw.workDeterministic = 1;
  EXPECT_EQ(WorkersForRun(*gcd), 3);
  gcd->sw.debug = 1;  // -xDEBUG shows the run as it goes
  EXPECT_EQ(WorkersForRun(*gcd), 1);
}
