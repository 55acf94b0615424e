// The test schedule hook's text: the forms tests write, and everything else
// making the hook invalid rather than half applied.
#include <gtest/gtest.h>

#include "driver/schedule_hook.h"

namespace {

using Order = ScheduleHook::Order;

TEST(ScheduleHook, AbsentOrBlankIsTheDefault) {
  for (const char* text : {static_cast<const char*>(nullptr), "", "  \t "}) {
    const ScheduleHook h = ParseScheduleHook(text);
    EXPECT_TRUE(h.valid);
    EXPECT_EQ(h.jobs, 0);
    EXPECT_EQ(h.order, Order::InOrder);
    EXPECT_EQ(h.seed, 0u);
  }
}

TEST(ScheduleHook, ItemsInAnyOrder) {
  ScheduleHook h = ParseScheduleHook("jobs=3 order=reverse");
  EXPECT_TRUE(h.valid);
  EXPECT_EQ(h.jobs, 3);
  EXPECT_EQ(h.order, Order::Reverse);

  h = ParseScheduleHook("  seed=17\torder=shuffle jobs=2 ");
  EXPECT_TRUE(h.valid);
  EXPECT_EQ(h.jobs, 2);
  EXPECT_EQ(h.order, Order::Shuffle);
  EXPECT_EQ(h.seed, 17u);
}

TEST(ScheduleHook, AnythingElseIsInvalidAndAppliesNothing) {
  for (const char* text : {"jobs=0", "jobs=257", "jobs=+2", "jobs=2x", "jobs=", "order=backwards",
                           "seed=-1", "seed=4294967296", "threads=2", "jobs=2 order=reverse extra",
                           "jobs=2 jobs=3", "jobs = 2"}) {
    const ScheduleHook h = ParseScheduleHook(text);
    EXPECT_FALSE(h.valid) << text;
    EXPECT_EQ(h.jobs, 0) << text;
    EXPECT_EQ(h.order, Order::InOrder) << text;
    EXPECT_EQ(h.seed, 0u) << text;
  }
}

}  // namespace
