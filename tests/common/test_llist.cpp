// Ordering rules of the lists: sorted insertion, uniqueness and re-sorting.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "common/gcd.h"

namespace {

std::vector<int> Locs(const Llist<FileData>& list) {
  std::vector<int> v;
  for (const auto& f : list) v.push_back(f.loc);
  return v;
}

std::vector<std::string> Names(const Llist<FileData>& list) {
  std::vector<std::string> v;
  for (const auto& f : list) v.push_back(f.name);
  return v;
}

FileData File(const std::string& name, int loc, int size = 0) {
  FileData f;
  f.name = name;
  f.loc = loc;
  f.size = size;
  return f;
}

TEST(Llist, AddToEmptyListMakesOneNode) {
  auto gcd = NewGlobalData();
  Llist<FileData> sorted, plain;
  AddFileNode(File("a", 1), sorted, 2, *gcd);
  AddFileNode(File("a", 1), plain, 0, *gcd);
  for (auto* l : {&sorted, &plain}) {
    ASSERT_EQ(l->count, 1);
    EXPECT_EQ(l->head, l->tail);
    EXPECT_EQ(l->head->prev, nullptr);
    EXPECT_EQ(l->head->next, nullptr);
  }
}

TEST(Llist, SortedInsertionByLocAscendingAndDescending) {
  auto gcd = NewGlobalData();
  Llist<FileData> asc;
  for (int v : {3, 1, 2}) AddFileNode(File("f", v), asc, 2, *gcd);
  EXPECT_EQ(Locs(asc), (std::vector<int>{1, 2, 3}));
  gcd->sw.sortDescending = 1;
  Llist<FileData> desc;
  for (int v : {3, 1, 2}) AddFileNode(File("f", v), desc, 2, *gcd);
  EXPECT_EQ(Locs(desc), (std::vector<int>{3, 2, 1}));
}

TEST(Llist, EqualKeysPutTheLaterRecordFirst) {
  auto gcd = NewGlobalData();
  Llist<FileData> asc;
  AddFileNode(File("first", 5), asc, 2, *gcd);
  AddFileNode(File("second", 5), asc, 2, *gcd);
  EXPECT_EQ(Names(asc), (std::vector<std::string>{"second", "first"}));
  gcd->sw.sortDescending = 1;
  Llist<FileData> desc;
  AddFileNode(File("first", 5), desc, 2, *gcd);
  AddFileNode(File("second", 5), desc, 2, *gcd);
  EXPECT_EQ(Names(desc), (std::vector<std::string>{"second", "first"}));
}

TEST(Llist, AddUniqueRejectsAPresentName) {
  Llist<NameData> list;
  EXPECT_EQ(LlistAddUnique(list, std::make_unique<NameData>(NameData{"b", 0, 0}), &CompName_NameData, 0), 1);
  EXPECT_EQ(LlistAddUnique(list, std::make_unique<NameData>(NameData{"a", 0, 0}), &CompName_NameData, 0), 1);
  EXPECT_EQ(LlistAddUnique(list, std::make_unique<NameData>(NameData{"b", 0, 0}), &CompName_NameData, 0), 0);
  EXPECT_EQ(list.count, 2);
  // Without a comparator only an empty list takes a record.
  Llist<NameData> plain;
  EXPECT_EQ(LlistAddUnique(plain, std::make_unique<NameData>(NameData{"x", 0, 0}), nullptr, 0), 1);
  EXPECT_EQ(LlistAddUnique(plain, std::make_unique<NameData>(NameData{"y", 0, 0}), nullptr, 0), 0);
  NameData key{"a", 0, 0};
  ASSERT_NE(LlistSearch(list, &key, &CompName_NameData), nullptr);
  NameData missing{"zz", 0, 0};
  EXPECT_EQ(LlistSearch(list, &missing, &CompName_NameData), nullptr);
}

TEST(Llist, SpliceKeepsOrderAndLinksBothWays) {
  auto gcd = NewGlobalData();
  Llist<FileData> run, file;
  LlistSpliceAtTail(run, file);  // nothing to move
  EXPECT_EQ(run.count, 0);
  AddFileNode(File("a", 1), file, 0, *gcd);
  AddFileNode(File("b", 2), file, 0, *gcd);
  LlistSpliceAtTail(run, file);  // into an empty list
  AddFileNode(File("c", 3), file, 0, *gcd);
  AddFileNode(File("d", 0), run, 2, *gcd);  // sorted in first; the list stops being known sorted
  LlistSpliceAtTail(run, file);
  EXPECT_EQ(Names(run), (std::vector<std::string>{"d", "a", "b", "c"}));
  EXPECT_EQ(run.count, 4);
  EXPECT_EQ(run.sortedBy, nullptr);
  EXPECT_EQ(run.tail->data->name, "c");
  EXPECT_EQ(run.tail->prev->prev->prev, run.head);
  EXPECT_EQ(file.count, 0);
  EXPECT_EQ(file.head, nullptr);
  EXPECT_EQ(file.tail, nullptr);
}

TEST(Llist, InsertBeforeAndAfterAReference) {
  Llist<NameData> list;
  auto* mid = LlistInsert(list, nullptr, std::make_unique<NameData>(NameData{"m", 0, 0}), 1);
  LlistInsert(list, mid, std::make_unique<NameData>(NameData{"z", 0, 0}), 1);
  LlistInsert(list, mid, std::make_unique<NameData>(NameData{"a", 0, 0}), 0);
  std::vector<std::string> names;
  for (const auto& n : list) names.push_back(n.name);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "m", "z"}));
  EXPECT_EQ(list.head->data->name, "a");
  EXPECT_EQ(list.tail->data->name, "z");
}

TEST(Llist, ResortBySizeAndArrivalKeys) {
  auto gcd = NewGlobalData();
  Llist<FileData> list;
  AddFileNode(File("a", 0, 30), list, 0, *gcd);
  AddFileNode(File("b", 0, 10), list, 0, *gcd);
  AddFileNode(File("c", 0, 20), list, 0, *gcd);
  LlistResort_FileData(list, 6, *gcd);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "c"}));
  LlistResort_FileData(list, 10, *gcd);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_EQ(list.head->prev, nullptr);
  EXPECT_EQ(list.tail->next, nullptr);
  EXPECT_EQ(list.count, 3);
}

// The re-sort must give exactly the order that adding every record again,
// head to tail, with the comparator gives.
TEST(Llist, ResortMatchesRepeatedSortedInsertion) {
  auto gcd = NewGlobalData();
  std::mt19937 rng(7);
  for (int desc = 0; desc <= 1; ++desc) {
    gcd->sw.sortDescending = desc;
    for (int key : {1, 2, 10}) {
      Llist<FileData> arrival, inserted;
      for (int i = 0; i < 300; ++i) {
        FileData f = File("n" + std::to_string(rng() % 40) + "_" + std::to_string(i % 3), int(rng() % 25),
                          int(rng() % 9));
        f.date = i;  // identity
        AddFileNode(f, arrival, 0, *gcd);
      }
      for (const auto& f : arrival) AddFileNode(f, inserted, key, *gcd);
      LlistResort_FileData(arrival, key, *gcd);
      std::vector<int> a, b;
      for (const auto& f : arrival) a.push_back(f.date);
      for (const auto& f : inserted) b.push_back(f.date);
      EXPECT_EQ(a, b) << "key " << key << " desc " << desc;
    }
  }
}

// The bound the file list of a large tree relies on: a re-sort compares near
// n log n times, whatever the order it starts from.
int gComparisons = 0;
int CountedNameOrder(const FileData* a, const FileData* b, int descending) {
  ++gComparisons;
  const int r = a->name.compare(b->name);
  return descending ? -r : r;
}

TEST(Llist, ResortComparesNearNLogNTimes) {
  auto gcd = NewGlobalData();
  constexpr int kCount = 5600;
  std::mt19937 rng(11);
  for (int order = 0; order < 3; ++order) {
    Llist<FileData> list;
    for (int i = 0; i < kCount; ++i) {
      const int n = order == 0 ? i : order == 1 ? kCount - i : static_cast<int>(rng() % kCount);
      AddFileNode(File("d" + std::to_string(n % 20) + "/f" + std::to_string(n), 0), list, 0, *gcd);
    }
    gComparisons = 0;
    ASSERT_TRUE(LlistResortBy(list, &CountedNameOrder, 0));
    // Two comparator calls per comparison of the stable sort, which makes
    // at most about n log2 n of them (12.5 for 5600).
    EXPECT_LT(gComparisons, 2 * kCount * 14) << "order " << order;
    EXPECT_EQ(list.count, kCount);
  }
}

TEST(Llist, DestroyLeavesAnEmptyList) {
  auto gcd = NewGlobalData();
  Llist<FileData> one, many;
  AddFileNode(File("a", 1), one, 0, *gcd);
  for (int i = 0; i < 5; ++i) AddFileNode(File("a", i), many, 2, *gcd);
  for (auto* l : {&one, &many}) {
    LlistDestroy(*l);
    EXPECT_EQ(l->head, nullptr);
    EXPECT_EQ(l->tail, nullptr);
    EXPECT_EQ(l->count, 0);
  }
}

TEST(Llist, DirectoryListStaysSortedByName) {
  auto gcd = NewGlobalData();
  for (const char* d : {"src/b", "src/a", "lib"}) AddDirMetricsNode(d, *gcd);
  std::vector<std::string> names;
  for (const auto& d : gcd->lists.directories) names.push_back(d.name);
  EXPECT_EQ(names, (std::vector<std::string>{"lib", "src/a", "src/b"}));
}

}  // namespace
