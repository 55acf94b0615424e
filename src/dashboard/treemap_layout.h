// The treemap's layout: files grouped by directory, each rectangle's area
// proportional to its size, laid out squarified (rows of rectangles whose
// aspect ratios come as close to 1 as the row allows) in a fixed order:
// size descending, then name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TreemapRect {
  double x = 0, y = 0, w = 0, h = 0;
};

// Lays out sizes (positive, in the order given) inside area; the areas of
// the rectangles are proportional to the sizes and fill the area. Returns
// one rectangle per size, in the same order.
std::vector<TreemapRect> Squarify(const std::vector<double>& sizes, const TreemapRect& area);

struct TreemapInput {
  std::string_view path;  // file path, '/' separated
  double size = 0;        // files of size 0 or less are left out
  int id = -1;            // the caller's index of the file
};

enum class TreemapKind { Directory, File, Other };

struct TreemapNode {
  TreemapKind kind = TreemapKind::Directory;
  std::string label;     // last path component, "other (n files)", or the root's path
  std::string path;      // full path of a file or directory
  double size = 0;       // sum of the files inside
  int id = -1;           // a file's input id
  int merged = 0;        // files merged into an Other rectangle
  int depth = 0;         // the root is 0
  int parent = -1;
  std::vector<int> children;  // in layout order
  TreemapRect rect;
};

struct Treemap {
  std::vector<TreemapNode> nodes;  // nodes[0] is the root (when any file has a size)
  int rectangles = 0;              // File and Other nodes
  // Input id -> node index of its rectangle (its own, or the Other it merged into).
  std::vector<int> nodeOfId;
};

// Builds the directory tree of the files below their longest common
// directory and lays it out in area. At most cap File and Other rectangles:
// when there are more files, the largest are kept and each directory's
// remaining files (with those of subdirectories left with none kept) merge
// into one "other (n files)" rectangle. ids must be below idCount.
Treemap BuildTreemap(const std::vector<TreemapInput>& files, const TreemapRect& area, int cap, int idCount);
