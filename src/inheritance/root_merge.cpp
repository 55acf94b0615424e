// Merging duplicate roots: a root whose name also occurs in another tree (a
// class recorded once without bases and once with, or a made-up root for a
// base that was found later) gives its children to that other node and goes.
#include "common/gcd.h"
#include "inheritance/forest.h"
#include "inheritance/forest_index.h"

namespace {

// The node of the root's name a depth-first walk meets first, outside the
// root's own tree. A node of the same name inside the root's own tree comes
// from a cycle in the bases; handing the root's children to it would hang
// the tree from itself, so the root stays.
TreeData* FirstDuplicateOutside(InheritanceState& st, TreeData* root) {
  auto it = st.forestNames.find(root->name);
  if (it == st.forestNames.end()) return nullptr;
  TreeData* first = nullptr;
  for (TreeData* n : it->second.nodes) {
    if (n == root || TreeRootOf(st, n) == root) continue;
    if (first == nullptr || PreorderBefore(st, n, first)) first = n;
  }
  return first;
}

// True when a node of that name already hangs below the target.
bool HoldsBelow(InheritanceState& st, const TreeData* target, const std::string& name) {
  auto it = st.forestNames.find(name);
  if (it == st.forestNames.end()) return false;
  for (const TreeData* n : it->second.nodes)
    if (IsAncestor(target, n)) return true;
  return false;
}

void MergeRootInto(InheritanceState& st, TreeData* root, TreeData* target) {
  if (target->children.items.head == nullptr) {
    TreeListTakeOver(target->children, root->children, target);
  } else {
    // The target has children of its own: the root's children join them,
    // except those the target already holds (the copies made for the lost
    // children), so that no class is lost and none is shown twice.
    while (root->children.items.head != nullptr) {
      std::unique_ptr<TreeData> child = TreeListRemove(root->children, root->children.items.head->data.get(), false);
      if (HoldsBelow(st, target, child->name))
        Unregister(st, child.get());
      else
        TreeListAdd(target->children, std::move(child), false, st.descending, target);
    }
  }
  JoinTreeSets(st, root->tree, target->tree);
  std::unique_ptr<TreeData> gone = TreeListRemove(st.forest, root, false);
  Unregister(st, gone.get());
}

}  // namespace

void MergeDuplicateRoots(GlobalData& gcd) {
  InheritanceState& st = gcd.inh;
  // Subtrees move from here on: the first node of a name is found afresh.
  st.firstKnown = false;
  LlistNode<TreeData>* n = st.forest.items.head;
  while (n != nullptr) {
    LlistNode<TreeData>* next = n->next;
    TreeData* root = n->data.get();
    if (TreeData* target = FirstDuplicateOutside(st, root)) MergeRootInto(st, root, target);
    n = next;
  }
}
