// The run's macro names: one thread adds while others look up without a
// lock. A reader finds every name added before its look-up began, never a
// name that was not added, and the table grows under the readers' feet.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/name_set.h"
#include "common/shared_name_set.h"

namespace {

std::string Name(int i) { return "NAME_" + std::to_string(i) + (i % 3 == 0 ? std::string(40, 'x') : ""); }

TEST(SharedNameSet, StoresEachNameOnceAndAnswersLikeASet) {
  SharedNameSet set;
  EXPECT_FALSE(set.Contains("A"));
  const char* a = set.Intern("A");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(set.Intern("A"), a);  // the same stored copy
  EXPECT_TRUE(set.Contains("A"));
  EXPECT_FALSE(set.Contains("AB"));
  EXPECT_FALSE(set.Contains(""));
  EXPECT_NE(set.Intern(""), nullptr);
  EXPECT_TRUE(set.Contains(""));
  const std::string longName(600000, 'L');  // a block of its own
  EXPECT_STREQ(set.Intern(longName), longName.c_str());
  for (int i = 0; i < 20000; ++i) set.Intern(Name(i));
  EXPECT_EQ(set.size(), 20003u);
  EXPECT_STREQ(a, "A");  // names keep their place as the table grows
  for (int i = 0; i < 20000; i += 997) EXPECT_TRUE(set.ContainsAsReader(Name(i), NameSet::Hash(Name(i)), 5));
  EXPECT_FALSE(set.ContainsAsReader("NAME_20000", NameSet::Hash("NAME_20000"), 0));
}

TEST(SharedNameSet, ReadersSeeWhatWasAddedBeforeThemWhileTheTableGrows) {
  SharedNameSet set;
  constexpr int kNames = 200000;
  std::atomic<int> added{0};
  std::atomic<int> wrong{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < 3; ++r) {
    readers.emplace_back([&, r] {
      for (long long round = 0; added.load() < kNames; ++round) {
        // Everything added before this look-up began is found.
        const int known = added.load();
        if (known > 0) {
          const std::string name = Name(static_cast<int>((round * 7919 + r) % known));
          if (!set.ContainsAsReader(name, NameSet::Hash(name), r)) ++wrong;
        }
        // A name never added is never found.
        const std::string absent = "ABSENT_" + std::to_string(round);
        if (set.ContainsAsReader(absent, NameSet::Hash(absent), r)) ++wrong;
      }
    });
  }
  for (int i = 0; i < kNames; ++i) {
    ASSERT_NE(set.Intern(Name(i)), nullptr);
    added.store(i + 1);
  }
  for (std::thread& t : readers) t.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_EQ(set.size(), static_cast<std::size_t>(kNames));
}

}  // namespace
