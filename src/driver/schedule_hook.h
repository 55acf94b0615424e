// A test-only hook on the parallel run's schedule: the environment variable
// LQA_TEST_SCHEDULE makes workers finish their files in another order than
// they took them, so that tests can show the merged output does not depend
// on which worker finishes first.
#pragma once

// Parsed from blank-separated key=value items, for example
// "jobs=3 order=reverse" or "jobs=2 order=shuffle seed=17".
struct ScheduleHook {
  int jobs = 0;  // 0: not set
  enum class Order { InOrder, Reverse, Shuffle } order = Order::InOrder;
  unsigned seed = 0;
  bool valid = true;
};

// The name of the environment variable the hook is read from.
inline constexpr const char* kScheduleHookVariable = "LQA_TEST_SCHEDULE";

// Parses the hook's text; a null or blank text gives the default hook. An
// unknown key, a repeated key or a bad value makes it invalid (valid=false,
// the other members as by default), and the run ignores an invalid hook.
// jobs is 1 to 256, order inorder, reverse or shuffle, seed an unsigned
// decimal number.
ScheduleHook ParseScheduleHook(const char* text);
