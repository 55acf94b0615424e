// Keeping the lost subtrees complete: a class placed in the forest under a
// base is copied under every lost-side node of that base's name, so that the
// subtree is whole when that lost node finds its own place later.
//
// Copies of copies can multiply without end on hostile bases (cycles, one
// name defined many times): the copies and the work spent looking for where
// they go are bounded by multiples of the nodes the class records give.
// Source code without such loops stays far below both bounds.
#include <algorithm>
#include <deque>
#include <unordered_set>
#include <utility>

#include "common/gcd.h"
#include "inheritance/forest.h"
#include "inheritance/forest_index.h"

namespace {

long long SubtreeSize(const TreeData& top) {
  long long size = 0;
  ForEachInSubtree(&top, [&](const TreeData*) {
    ++size;
    return true;
  });
  return size;
}

// A copy of the node and its subtree, every list in the same order.
std::unique_ptr<TreeData> CopySubtree(const TreeData& top, int set) {
  auto copyOne = [set](const TreeData& n) {
    auto c = MakeTreeNode(n.name, n.hasParent ? &n.parentName : nullptr, n.fileName, n.line, n.parents);
    c->depth = n.depth;
    c->tree = set;
    return c;
  };
  std::unique_ptr<TreeData> root = copyOne(top);
  std::deque<std::pair<const TreeData*, TreeData*>> pending{{&top, root.get()}};
  while (!pending.empty()) {
    auto [from, to] = pending.front();
    pending.pop_front();
    for (const TreeData& child : from->children.items) {
      TreeData* c = TreeListAppend(to->children, copyOne(child), to);
      if (c != nullptr) pending.emplace_back(&child, c);
    }
  }
  return root;
}

// Marks the node and the nodes above it, up to one marked already.
void MarkUpwards(const TreeData* n, std::unordered_set<const TreeData*>& marked, long long& work) {
  for (; n != nullptr && marked.insert(n).second; n = n->up) ++work;
}

}  // namespace

void StartLostCopies(GlobalData& gcd) {
  long long nodes = 0;
  for (const Llist<NodeData>* list : {&gcd.lists.classes, &gcd.lists.interfaces})
    for (const NodeData& record : *list)
      nodes += 1 + static_cast<long long>(std::count(record.text2.begin(), record.text2.end(), ','));
  InheritanceState& st = gcd.inh;
  st.copiesMade = 0;
  st.copyBudget = 4 * nodes + 100000;
  st.copyWork = 0;
  st.copiesCut = false;
  st.copyWorkBudget = 64 * nodes + 10000000;
}

void AddNodeToAllParents(const TreeData& node, GlobalData& gcd) {
  InheritanceState& st = gcd.inh;
  if (st.copiesCut) return;
  // Taken as a copy: the copies made below join the lost index themselves
  // and are no targets of this call (with a class named as its own base they
  // would otherwise call for copies of copies without end).
  std::vector<TreeData*> targets = LostNodesNamed(st, node.parentName);
  if (targets.empty()) return;
  // A copy under a target counts for the targets above it, so those above
  // come first, as in a walk of the lost list from the top.
  if (targets.size() > 1) {
    std::vector<std::pair<long long, TreeData*>> byLevel;
    byLevel.reserve(targets.size());
    for (TreeData* t : targets) {
      long long level = 0;
      for (const TreeData* u = t->up; u != nullptr; u = u->up) ++level;
      st.copyWork += level + 1;
      byLevel.emplace_back(level, t);
    }
    std::stable_sort(byLevel.begin(), byLevel.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < targets.size(); ++i) targets[i] = byLevel[i].second;
  }
  // Every node above a lost-side node of this name holds one already.
  std::unordered_set<const TreeData*> holding;
  for (const TreeData* m : LostNodesNamed(st, node.name)) MarkUpwards(m->up, holding, st.copyWork);
  const long long size = SubtreeSize(node);
  for (TreeData* target : targets) {
    if (st.copyWork >= st.copyWorkBudget || st.copiesMade + size > st.copyBudget) {
      st.copiesCut = true;
      return;
    }
    ++st.copyWork;
    if (holding.count(target) != 0) continue;
    TreeData* copy = TreeListAdd(target->children, CopySubtree(node, target->tree), false, st.descending, target);
    if (copy == nullptr) continue;
    st.copiesMade += size;
    st.copyWork += size;
    RegisterInLost(st, copy);
    MarkUpwards(target, holding, st.copyWork);
  }
}
