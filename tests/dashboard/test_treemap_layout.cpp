// The squarified treemap layout: areas proportional to the sizes, every
// rectangle inside its parent, siblings never overlapping, and the cap on
// rectangles with its per-directory "other" merge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "dashboard/treemap_layout.h"

namespace {

double Area(const TreemapRect& r) { return r.w * r.h; }

bool Inside(const TreemapRect& in, const TreemapRect& out) {
  constexpr double e = 1e-6;
  return in.x >= out.x - e && in.y >= out.y - e && in.x + in.w <= out.x + out.w + e &&
         in.y + in.h <= out.y + out.h + e;
}

bool Overlap(const TreemapRect& a, const TreemapRect& b) {
  constexpr double e = 1e-6;
  return a.x + e < b.x + b.w && b.x + e < a.x + a.w && a.y + e < b.y + b.h && b.y + e < a.y + a.h;
}

// Checks every structural property of a built map against its input.
void CheckMap(const Treemap& map, const std::vector<TreemapInput>& files, const TreemapRect& area) {
  ASSERT_FALSE(map.nodes.empty());
  double total = 0;
  for (const TreemapInput& f : files) total += f.size;
  for (std::size_t i = 0; i < map.nodes.size(); ++i) {
    const TreemapNode& n = map.nodes[i];
    // Area share equals size share.
    EXPECT_NEAR(Area(n.rect) / Area(area), n.size / total, 1e-9) << n.path;
    if (n.parent >= 0) {
      EXPECT_LT(n.parent, static_cast<int>(i));
      EXPECT_TRUE(Inside(n.rect, map.nodes[static_cast<std::size_t>(n.parent)].rect)) << n.path;
    }
    for (std::size_t a = 0; a < n.children.size(); ++a)
      for (std::size_t b = a + 1; b < n.children.size(); ++b)
        EXPECT_FALSE(Overlap(map.nodes[static_cast<std::size_t>(n.children[a])].rect,
                             map.nodes[static_cast<std::size_t>(n.children[b])].rect));
  }
}

TEST(Squarify, FillsTheAreaInProportionWithoutOverlap) {
  const std::vector<double> sizes{6, 6, 4, 3, 2, 2, 1};  // the classic example
  const TreemapRect area{0, 0, 6, 4};
  const std::vector<TreemapRect> rects = Squarify(sizes, area);
  ASSERT_EQ(rects.size(), sizes.size());
  double sum = 0;
  for (std::size_t i = 0; i < rects.size(); ++i) {
    EXPECT_NEAR(Area(rects[i]), sizes[i], 1e-9);
    EXPECT_TRUE(Inside(rects[i], area));
    for (std::size_t j = i + 1; j < rects.size(); ++j) EXPECT_FALSE(Overlap(rects[i], rects[j]));
    sum += Area(rects[i]);
  }
  EXPECT_NEAR(sum, 24, 1e-9);
  // Squarified: the first row holds the two sixes side by side, each 3 x 2.
  EXPECT_NEAR(rects[0].w, 3, 1e-9);
  EXPECT_NEAR(rects[0].h, 2, 1e-9);
}

TEST(Squarify, KeepsAspectRatiosModestForSkewedSizes) {
  std::vector<double> sizes;
  for (int i = 0; i < 500; ++i) sizes.push_back(1000.0 / (i + 1));
  const std::vector<TreemapRect> rects = Squarify(sizes, TreemapRect{0, 0, 1160, 720});
  int elongated = 0;
  for (const TreemapRect& r : rects)
    if (std::max(r.w / r.h, r.h / r.w) > 8) ++elongated;
  EXPECT_LT(elongated, 25);
}

TEST(Squarify, EmptyAndDegenerateInputs) {
  EXPECT_TRUE(Squarify({}, TreemapRect{0, 0, 10, 10}).empty());
  const std::vector<TreemapRect> zero = Squarify({1, 2}, TreemapRect{0, 0, 0, 10});
  ASSERT_EQ(zero.size(), 2u);
  EXPECT_EQ(zero[1].w, 0);
  const std::vector<TreemapRect> one = Squarify({5}, TreemapRect{1, 2, 10, 10});
  EXPECT_NEAR(one[0].w, 10, 1e-12);
  EXPECT_NEAR(one[0].h, 10, 1e-12);
}

TEST(BuildTreemap, GroupsFilesByDirectoryBelowTheirCommonRoot) {
  const std::vector<TreemapInput> files{
      {"/src/app/a.c", 50, 0}, {"/src/app/b.c", 30, 1}, {"/src/lib/x/c.c", 15, 2}, {"/src/lib/d.c", 5, 3},
      {"/src/lib/empty.c", 0, 4}};
  const TreemapRect area{0, 0, 400, 300};
  const Treemap map = BuildTreemap(files, area, 2000, 5);
  CheckMap(map, files, area);
  EXPECT_EQ(map.nodes[0].path, "/src");
  EXPECT_EQ(map.rectangles, 4);
  EXPECT_EQ(map.nodeOfId[4], -1);  // no eLOC, no rectangle
  const TreemapNode& c = map.nodes[static_cast<std::size_t>(map.nodeOfId[2])];
  EXPECT_EQ(c.kind, TreemapKind::File);
  EXPECT_EQ(c.label, "c.c");
  EXPECT_EQ(c.depth, 3);  // /src -> lib -> x -> c.c
  const TreemapNode& x = map.nodes[static_cast<std::size_t>(c.parent)];
  EXPECT_EQ(x.path, "/src/lib/x");
  EXPECT_EQ(map.nodes[static_cast<std::size_t>(x.parent)].size, 20);
  // Children in layout order: size descending, then name.
  const std::vector<int>& top = map.nodes[0].children;
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(map.nodes[static_cast<std::size_t>(top[0])].label, "app");
}

TEST(BuildTreemap, OneFileAndFilesWithoutDirectory) {
  const Treemap one = BuildTreemap({{"main.c", 10, 0}}, TreemapRect{0, 0, 100, 50}, 2000, 1);
  ASSERT_EQ(one.nodes.size(), 2u);
  EXPECT_EQ(one.nodes[0].label, ".");
  EXPECT_NEAR(Area(one.nodes[1].rect), 5000, 1e-9);
  EXPECT_TRUE(BuildTreemap({{"a.c", 0, 0}}, TreemapRect{0, 0, 10, 10}, 2000, 1).nodes.empty());
}

TEST(BuildTreemap, CapMergesEachDirectorysSmallestFiles) {
  // Two directories of 1,500 files each, sizes 1..1500: 3,000 files for 2,000 rectangles.
  std::vector<std::string> names;
  std::vector<TreemapInput> files;
  for (int d = 0; d < 2; ++d)
    for (int i = 1; i <= 1500; ++i) names.push_back("tree/d" + std::to_string(d) + "/f" + std::to_string(i) + ".c");
  for (std::size_t i = 0; i < names.size(); ++i)
    files.push_back(TreemapInput{names[i], static_cast<double>(i % 1500 + 1), static_cast<int>(i)});
  const TreemapRect area{0, 0, 1160, 720};
  const Treemap map = BuildTreemap(files, area, 2000, static_cast<int>(files.size()));
  CheckMap(map, files, area);
  EXPECT_EQ(map.rectangles, 2000);
  int others = 0, merged = 0;
  for (const TreemapNode& n : map.nodes) {
    if (n.kind != TreemapKind::Other) continue;
    ++others;
    merged += n.merged;
    EXPECT_EQ(n.label, "other (" + std::to_string(n.merged) + " files)");
  }
  EXPECT_EQ(others, 2);
  EXPECT_EQ(merged, 3000 - 1998);
  // Every file has a rectangle: its own, or its directory's other.
  for (int id : map.nodeOfId) EXPECT_GE(id, 0);
  // The largest file of each directory keeps its own; the smallest is merged.
  EXPECT_EQ(map.nodes[static_cast<std::size_t>(map.nodeOfId[1499])].kind, TreemapKind::File);
  EXPECT_EQ(map.nodes[static_cast<std::size_t>(map.nodeOfId[0])].kind, TreemapKind::Other);
}

TEST(BuildTreemap, ManyDirectoriesMergeIntoTheirParentsOther) {
  // 5,000 directories of one file each: most directories vanish into the root's other.
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i) names.push_back("r/d" + std::to_string(i) + "/f.c");
  std::vector<TreemapInput> files;
  for (std::size_t i = 0; i < names.size(); ++i)
    files.push_back(TreemapInput{names[i], static_cast<double>(1 + i % 97), static_cast<int>(i)});
  const TreemapRect area{0, 0, 1160, 720};
  const Treemap map = BuildTreemap(files, area, 2000, static_cast<int>(files.size()));
  CheckMap(map, files, area);
  EXPECT_LE(map.rectangles, 2000);
  EXPECT_GE(map.rectangles, 1990);
}

TEST(BuildTreemap, ADirectoryOfOneHundredThousandFiles) {
  std::vector<std::string> names;
  for (int i = 0; i < 100000; ++i) names.push_back("big/f" + std::to_string(i) + ".c");
  std::vector<TreemapInput> files;
  for (std::size_t i = 0; i < names.size(); ++i)
    files.push_back(TreemapInput{names[i], static_cast<double>(1 + i % 1000), static_cast<int>(i)});
  const Treemap map = BuildTreemap(files, TreemapRect{0, 0, 1160, 720}, 2000, static_cast<int>(files.size()));
  EXPECT_EQ(map.rectangles, 2000);
  ASSERT_EQ(map.nodes[0].children.size(), 2000u);
  EXPECT_NEAR(map.nodes[0].size, 100.0 * 1000 * 1001 / 2, 1e-3);
}

}  // namespace
