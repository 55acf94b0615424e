// TreeData: one node of the inheritance forest or of the lost-children list,
// and TreeList, the sorted list of nodes every level of the forest is kept in.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "common/llist.h"

struct TreeData;

// Orders keys as the list they index is ordered: strcoll ascending, or
// descending with -kd.
struct CollOrder {
  int descending = 0;
  bool operator()(const std::string& a, const std::string& b) const;
};

// The index of a long tree list: for every run of equal keys the list node
// that starts the run. A sorted add then finds its place in log n instead of
// walking the list.
struct TreeListIndex {
  explicit TreeListIndex(int descending) : runs(CollOrder{descending}) {}
  std::map<std::string, LlistNode<TreeData>*, CollOrder> runs;
};

// A list of tree nodes: a forest level, a children list or the lost list.
// The lost list is keyed by parent name, every other list by name.
struct TreeList {
  Llist<TreeData> items;
  std::unique_ptr<TreeListIndex> index;  // built once the list grows long
  TreeList() = default;
  TreeList(TreeList&&) noexcept = default;
  TreeList& operator=(TreeList&&) noexcept = default;
};

struct TreeData {
  std::string name;          // class name as recorded (qualified)
  std::string parentName;    // base the node hangs under; meaningful with hasParent
  bool hasParent = false;    // false for a root
  const char* fileName = nullptr;  // borrowed: the file the class was found in
  int depth = 0;             // 0 for a root, parent's depth + 1 below
  int line = 0;              // 0 for a made-up root
  TreeList children;         // direct children, sorted by name
  int parents = 0;           // number of direct bases of the class

  // Where the node sits; kept by the forest operations.
  TreeData* up = nullptr;    // node whose children hold this one; null at the top of a list
  LlistNode<TreeData>* self = nullptr;  // the list node that owns this record
  int tree = -1;             // the set (one forest tree or one lost entry) the node belongs to
  bool inForest = false;     // registered in the forest index (else in the lost index)
  int slot = -1;             // position in its name bucket of the index

  TreeData() = default;
  TreeData(const TreeData&) = delete;
  TreeData& operator=(const TreeData&) = delete;
  // Frees the whole subtree without recursion: a chain of 100,000 classes
  // must not exhaust the stack.
  ~TreeData();
};

// Comparators over tree nodes: (new node, existing node, descending flag),
// returning a strcoll result (0 when equal), negated when descending.
using TreeComparator = int (*)(const TreeData* a, const TreeData* b, int descending);
// Name; when equal and both have a parent, the parent name.
int TreeCompNameParent(const TreeData* a, const TreeData* b, int descending);
// Parent name only: the order of the lost list.
int LostChildCompNode(const TreeData* a, const TreeData* b, int descending);

// Sorted add (the Llist rule: in front of the first node the comparator does
// not place after the new one). Keyed by name, or by parent name for the
// lost list (byParent). Sets the node's self and up links; returns the node.
TreeData* TreeListAdd(TreeList& list, std::unique_ptr<TreeData> node, bool byParent, int descending,
                      TreeData* owner);
// Appends at the tail, for copies that are made in list order.
TreeData* TreeListAppend(TreeList& list, std::unique_ptr<TreeData> node, TreeData* owner);
// Unlinks a node from the list that holds it and hands it back.
std::unique_ptr<TreeData> TreeListRemove(TreeList& list, TreeData* node, bool byParent);
// Moves every node of from (in order) to the empty list to, re-parenting them.
void TreeListTakeOver(TreeList& to, TreeList& from, TreeData* owner);
// Frees every node of the list and their subtrees without recursion.
void TreeListClear(TreeList& list);

// Calls fn(node) for the node and every node below it, in pre-order, without
// recursion. fn returns false to skip the subtree below the node it was given.
template <class Node, class Fn>
void ForEachInSubtree(Node* top, Fn&& fn) {
  if (top == nullptr) return;
  Node* n = top;
  while (n != nullptr) {
    bool descend = fn(n);
    if (descend && n->children.items.head != nullptr) {
      n = n->children.items.head->data.get();
      continue;
    }
    // Next sibling, or the next sibling of the nearest ancestor that has one.
    while (n != top && n->self->next == nullptr) n = n->up;
    if (n == top) break;
    n = n->self->next->data.get();
  }
}
