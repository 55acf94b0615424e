// NameSet: each name stored once, at an address that never moves.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/large_table_allocator.h"
#include "common/name_set.h"

namespace {

TEST(NameSet, NamesAreKeptOnceAndNeverMove) {
  NameSet set;
  EXPECT_FALSE(set.Contains("a"));
  const char* ab = set.Intern("ab");
  ASSERT_NE(ab, nullptr);
  EXPECT_STREQ(ab, "ab");
  EXPECT_EQ(set.Intern(std::string("ab")), ab);
  // Prefixes and extensions of a name are other names.
  EXPECT_FALSE(set.Contains("a"));
  EXPECT_FALSE(set.Contains("abc"));
  EXPECT_NE(set.Intern("abc"), ab);
  EXPECT_NE(set.Intern(""), nullptr);
  EXPECT_TRUE(set.Contains(""));

  // Growth of the table and of the text blocks, and names longer than a block's quarter.
  std::vector<const char*> first;
  for (int i = 0; i < 200000; ++i) first.push_back(set.Intern("name" + std::to_string(i)));
  const std::string longName(700000, 'x');
  const char* stored = set.Intern(longName);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(std::string(stored), longName);
  for (int i = 0; i < 200000; i += 997) {
    EXPECT_EQ(set.Intern("name" + std::to_string(i)), first[static_cast<std::size_t>(i)]);
    EXPECT_STREQ(first[static_cast<std::size_t>(i)], ("name" + std::to_string(i)).c_str());
  }
  EXPECT_TRUE(set.Contains(longName));
  EXPECT_FALSE(set.Contains("name200000"));
  EXPECT_EQ(set.size(), 200004u);
  EXPECT_EQ(set.Intern("ab"), ab);
}

TEST(NameSet, ClearedSetIsEmptyAndFillsAgain) {
  NameSet set;
  set.Clear();  // never filled
  EXPECT_EQ(set.size(), 0u);
  for (int round = 0; round < 3; ++round) {
    // Enough names to pass several blocks, and one of a block of its own.
    for (int i = 0; i < 50000; ++i) ASSERT_NE(set.Intern("r" + std::to_string(round) + "n" + std::to_string(i)), nullptr);
    ASSERT_NE(set.Intern(std::string(400000, 'y')), nullptr);
    EXPECT_EQ(set.size(), 50001u);
    EXPECT_TRUE(set.Contains("r" + std::to_string(round) + "n49999"));
    set.Clear();
    EXPECT_EQ(set.size(), 0u);
    EXPECT_FALSE(set.Contains("r" + std::to_string(round) + "n0"));
    EXPECT_FALSE(set.Contains(std::string(400000, 'y')));
  }
  const char* a = set.Intern("a");
  EXPECT_STREQ(a, "a");
  EXPECT_EQ(set.Intern("a"), a);
  // A set that stayed small keeps its block across Clear; the names are still gone.
  set.Clear();
  EXPECT_FALSE(set.Contains("a"));
  EXPECT_STREQ(set.Intern("b"), "b");
  EXPECT_TRUE(set.Contains("b"));
}

// Tables below 2 MB come from ordinary memory; larger ones start on a 2 MB
// boundary; both are value-initialised and released through the right call.
TEST(LargeTableAllocator, SmallAndLargeTablesAreUsable) {
  std::vector<int, LargeTableAllocator<int>> small(100);
  std::vector<int, LargeTableAllocator<int>> large(1 << 20);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(large.data()) % LargeTableAllocator<int>::kHugePage, 0u);
  for (std::size_t i = 0; i < large.size(); i += 4096) EXPECT_EQ(large[i], 0);
  large.back() = 7;
  small.resize(1 << 20);  // moves from ordinary memory to a large table
  EXPECT_EQ(small[99], 0);
  small.swap(large);
  EXPECT_EQ(small.back(), 7);
}

}  // namespace
