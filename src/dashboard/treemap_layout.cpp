#include "dashboard/treemap_layout.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <unordered_map>

namespace {

// The worst aspect ratio of a row of total area sum laid along side.
double Worst(double sum, double smallest, double largest, double side) {
  const double s2 = sum * sum;
  const double w2 = side * side;
  return std::max(w2 * largest / s2, s2 / (w2 * smallest));
}

struct Dir {
  std::string name;  // last component
  std::string path;  // full path
  int parent = -1;
  std::vector<int> subdirs;
  std::vector<int> files;  // indices into the sorted file order
};

struct FileRef {
  std::string_view path;
  std::string_view base;
  double size = 0;
  int id = -1;
  int dir = 0;
};

// The longest prefix of a and b that ends at a component boundary of both.
std::size_t CommonDirPrefix(std::string_view a, std::string_view b) {
  std::size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  if (n == a.size() && n == b.size()) return n;
  if (n == a.size() && b[n] == '/') return n;
  if (n == b.size() && a[n] == '/') return n;
  while (n > 0 && a[n - 1] != '/') --n;
  return n > 0 ? n - 1 : 0;  // without the separator
}

// What a choice of kept files leaves: the directories that keep a file in
// their subtree, and for each the files merged into its Other rectangle.
struct CapPlan {
  std::vector<char> shown;
  std::vector<int> otherOf;  // per sorted file: the directory it merges into, -1 when kept
};

CapPlan PlanCap(const std::vector<FileRef>& files, const std::vector<Dir>& dirs, std::size_t kept) {
  CapPlan plan;
  plan.shown.assign(dirs.size(), 0);
  plan.otherOf.assign(files.size(), -1);
  plan.shown[0] = 1;
  for (std::size_t i = 0; i < kept; ++i)
    for (int d = files[i].dir; d >= 0 && !plan.shown[static_cast<std::size_t>(d)]; d = dirs[static_cast<std::size_t>(d)].parent)
      plan.shown[static_cast<std::size_t>(d)] = 1;
  for (std::size_t i = kept; i < files.size(); ++i) {
    int d = files[i].dir;
    while (!plan.shown[static_cast<std::size_t>(d)]) d = dirs[static_cast<std::size_t>(d)].parent;
    plan.otherOf[i] = d;
  }
  return plan;
}

int RectanglesOf(const CapPlan& plan, std::size_t kept, std::size_t dirCount) {
  std::vector<char> hasOther(dirCount, 0);
  int others = 0;
  for (std::size_t i = kept; i < plan.otherOf.size(); ++i) {
    const auto d = static_cast<std::size_t>(plan.otherOf[i]);
    if (!hasOther[d]) {
      hasOther[d] = 1;
      ++others;
    }
  }
  return static_cast<int>(kept) + others;
}

bool LayoutOrder(const TreemapNode& a, const TreemapNode& b) {
  if (a.size != b.size) return a.size > b.size;
  if (a.label != b.label) return a.label < b.label;
  return a.kind < b.kind;
}

}  // namespace

std::vector<TreemapRect> Squarify(const std::vector<double>& sizes, const TreemapRect& area) {
  const std::size_t n = sizes.size();
  std::vector<TreemapRect> out(n, TreemapRect{area.x, area.y, 0, 0});
  const double total = std::accumulate(sizes.begin(), sizes.end(), 0.0);
  if (n == 0 || !(total > 0) || !(area.w > 0) || !(area.h > 0)) return out;
  const double scale = area.w * area.h / total;
  TreemapRect free = area;
  std::size_t i = 0;
  while (i < n) {
    const double side = std::min(free.w, free.h);
    std::size_t j = i;
    double rowSum = 0, rowMin = std::numeric_limits<double>::max(), rowMax = 0;
    double worst = std::numeric_limits<double>::max();
    while (j < n) {
      const double a = std::max(sizes[j], 0.0) * scale;
      const double sum = rowSum + a, smallest = std::min(rowMin, a), largest = std::max(rowMax, a);
      const double w = Worst(sum, smallest, largest, side);
      if (j > i && w > worst) break;
      rowSum = sum;
      rowMin = smallest;
      rowMax = largest;
      worst = w;
      ++j;
    }
    const bool last = j == n;
    // The row lies along the shorter side; the last row takes what is left,
    // so rounding never leaves a gap.
    if (free.w >= free.h) {
      const double thick = last ? free.w : rowSum / free.h;
      double y = free.y;
      for (std::size_t k = i; k < j; ++k) {
        const double h = k + 1 == j ? free.y + free.h - y : std::max(sizes[k], 0.0) * scale / thick;
        out[k] = TreemapRect{free.x, y, thick, h};
        y += h;
      }
      free.x += thick;
      free.w = std::max(free.w - thick, 0.0);
    } else {
      const double thick = last ? free.h : rowSum / free.w;
      double x = free.x;
      for (std::size_t k = i; k < j; ++k) {
        const double w = k + 1 == j ? free.x + free.w - x : std::max(sizes[k], 0.0) * scale / thick;
        out[k] = TreemapRect{x, free.y, w, thick};
        x += w;
      }
      free.y += thick;
      free.h = std::max(free.h - thick, 0.0);
    }
    i = j;
  }
  return out;
}

Treemap BuildTreemap(const std::vector<TreemapInput>& inputs, const TreemapRect& area, int cap, int idCount) {
  Treemap map;
  map.nodeOfId.assign(static_cast<std::size_t>(std::max(idCount, 0)), -1);
  std::vector<FileRef> files;
  for (const TreemapInput& in : inputs) {
    if (!(in.size > 0) || in.id < 0 || in.id >= idCount) continue;
    FileRef f;
    f.path = in.path;
    f.size = in.size;
    f.id = in.id;
    files.push_back(f);
  }
  if (files.empty()) return map;
  std::sort(files.begin(), files.end(), [](const FileRef& a, const FileRef& b) {
    if (a.size != b.size) return a.size > b.size;
    if (a.path != b.path) return a.path < b.path;
    return a.id < b.id;
  });

  // The common directory of all files is the root.
  const auto dirOf = [](std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
  };
  std::string_view common = dirOf(files[0].path);
  for (const FileRef& f : files) common = common.substr(0, CommonDirPrefix(common, dirOf(f.path)));

  std::vector<Dir> dirs(1);
  dirs[0].name = common.empty() ? (files[0].path.substr(0, 1) == "/" ? "/" : ".") : std::string(common);
  dirs[0].path = dirs[0].name;
  std::unordered_map<std::string_view, int> dirIndex;  // keys point into the file paths
  dirIndex.emplace(std::string_view(), 0);
  for (std::size_t i = 0; i < files.size(); ++i) {
    FileRef& f = files[i];
    std::string_view dir = dirOf(f.path);
    f.base = f.path.substr(dir.size() + (dir.size() < f.path.size() && f.path[dir.size()] == '/' ? 1 : 0));
    std::string_view rel = dir.substr(std::min(common.size(), dir.size()));
    if (!rel.empty() && rel.front() == '/') rel.remove_prefix(1);
    const std::size_t relStart = static_cast<std::size_t>(rel.data() - f.path.data());
    // Every ancestor of the directory, from the root down.
    int parent = 0;
    std::size_t pos = 0;
    while (pos < rel.size()) {
      std::size_t end = rel.find('/', pos);
      if (end == std::string_view::npos) end = rel.size();
      const std::string_view key = rel.substr(0, end);
      auto it = dirIndex.find(key);
      if (it == dirIndex.end()) {
        Dir d;
        d.name.assign(rel.substr(pos, end - pos));
        d.path.assign(f.path.substr(0, relStart + end));
        d.parent = parent;
        dirs.push_back(std::move(d));
        const int index = static_cast<int>(dirs.size()) - 1;
        dirs[static_cast<std::size_t>(parent)].subdirs.push_back(index);
        it = dirIndex.emplace(key, index).first;
      }
      parent = it->second;
      pos = end + 1;
    }
    f.dir = parent;
  }

  // How many of the largest files keep a rectangle of their own: all when
  // they fit under the cap, else the most that leave room for the merged ones.
  std::size_t kept = files.size();
  cap = std::max(cap, 1);
  if (static_cast<int>(files.size()) > cap) {
    std::size_t lo = 0, hi = std::min(files.size(), static_cast<std::size_t>(cap));
    while (lo < hi) {
      const std::size_t mid = (lo + hi + 1) / 2;
      if (RectanglesOf(PlanCap(files, dirs, mid), mid, dirs.size()) <= cap) lo = mid;
      else hi = mid - 1;
    }
    kept = lo;
  }
  const CapPlan plan = PlanCap(files, dirs, kept);
  for (std::size_t i = 0; i < kept; ++i) dirs[static_cast<std::size_t>(files[i].dir)].files.push_back(static_cast<int>(i));

  // Nodes parent first, so that the layout can run in index order.
  std::vector<int> nodeOfDir(dirs.size(), -1);
  std::vector<int> otherOfDir(dirs.size(), -1);
  map.nodes.reserve(kept + dirs.size() * 2);
  TreemapNode root;
  root.label = dirs[0].name;
  root.path = dirs[0].path;
  map.nodes.push_back(root);
  nodeOfDir[0] = 0;
  std::vector<int> stack{0};
  while (!stack.empty()) {
    const int d = stack.back();
    stack.pop_back();
    const int node = nodeOfDir[static_cast<std::size_t>(d)];
    const int depth = map.nodes[static_cast<std::size_t>(node)].depth + 1;
    const auto add = [&](TreemapNode child) {
      child.parent = node;
      child.depth = depth;
      map.nodes.push_back(std::move(child));
      const int index = static_cast<int>(map.nodes.size()) - 1;
      map.nodes[static_cast<std::size_t>(node)].children.push_back(index);
      return index;
    };
    for (int sub : dirs[static_cast<std::size_t>(d)].subdirs) {
      if (!plan.shown[static_cast<std::size_t>(sub)]) continue;
      TreemapNode child;
      child.label = dirs[static_cast<std::size_t>(sub)].name;
      child.path = dirs[static_cast<std::size_t>(sub)].path;
      nodeOfDir[static_cast<std::size_t>(sub)] = add(std::move(child));
      stack.push_back(sub);
    }
    for (int i : dirs[static_cast<std::size_t>(d)].files) {
      const FileRef& f = files[static_cast<std::size_t>(i)];
      TreemapNode child;
      child.kind = TreemapKind::File;
      child.label.assign(f.base);
      child.path.assign(f.path);
      child.size = f.size;
      child.id = f.id;
      map.nodeOfId[static_cast<std::size_t>(f.id)] = add(std::move(child));
    }
  }
  for (std::size_t i = kept; i < files.size(); ++i) {
    const auto d = static_cast<std::size_t>(plan.otherOf[i]);
    if (otherOfDir[d] < 0) {
      const int parent = nodeOfDir[d];
      TreemapNode other;
      other.kind = TreemapKind::Other;
      other.path = dirs[d].path;
      other.parent = parent;
      other.depth = map.nodes[static_cast<std::size_t>(parent)].depth + 1;
      map.nodes.push_back(std::move(other));
      otherOfDir[d] = static_cast<int>(map.nodes.size()) - 1;
      map.nodes[static_cast<std::size_t>(parent)].children.push_back(otherOfDir[d]);
    }
    TreemapNode& other = map.nodes[static_cast<std::size_t>(otherOfDir[d])];
    other.size += files[i].size;
    ++other.merged;
    map.nodeOfId[static_cast<std::size_t>(files[i].id)] = otherOfDir[d];
  }
  for (TreemapNode& node : map.nodes) {
    if (node.kind == TreemapKind::Other) node.label = "other (" + std::to_string(node.merged) + " files)";
    if (node.kind != TreemapKind::Directory) ++map.rectangles;
  }
  // Directory sizes, children before parents: every child has a higher index.
  for (std::size_t i = map.nodes.size(); i-- > 1;)
    if (map.nodes[i].parent >= 0) map.nodes[static_cast<std::size_t>(map.nodes[i].parent)].size += map.nodes[i].size;

  map.nodes[0].rect = area;
  std::vector<double> sizes;
  for (std::size_t i = 0; i < map.nodes.size(); ++i) {
    std::vector<int>& children = map.nodes[i].children;
    if (children.empty()) continue;
    std::sort(children.begin(), children.end(), [&](int a, int b) {
      return LayoutOrder(map.nodes[static_cast<std::size_t>(a)], map.nodes[static_cast<std::size_t>(b)]);
    });
    sizes.clear();
    for (int c : children) sizes.push_back(map.nodes[static_cast<std::size_t>(c)].size);
    const std::vector<TreemapRect> rects = Squarify(sizes, map.nodes[i].rect);
    for (std::size_t k = 0; k < children.size(); ++k) map.nodes[static_cast<std::size_t>(children[k])].rect = rects[k];
  }
  return map;
}
