#include "inheritance/forest_index.h"

#include <cstring>
#include <unordered_map>

namespace {

int FindSet(InheritanceState& st, int set) {
  if (set < 0 || set >= static_cast<int>(st.setParent.size())) return -1;
  int rep = set;
  while (st.setParent[static_cast<std::size_t>(rep)] != rep) rep = st.setParent[static_cast<std::size_t>(rep)];
  // Path compression, without recursion.
  while (st.setParent[static_cast<std::size_t>(set)] != rep) {
    const int next = st.setParent[static_cast<std::size_t>(set)];
    st.setParent[static_cast<std::size_t>(set)] = rep;
    set = next;
  }
  return rep;
}

void AddToBucket(NameBucket& bucket, TreeData* node) {
  node->slot = static_cast<int>(bucket.nodes.size());
  bucket.nodes.push_back(node);
}

void RemoveFromIndex(std::unordered_map<std::string, NameBucket>& names, TreeData* node) {
  auto it = names.find(node->name);
  if (it == names.end() || node->slot < 0) return;
  auto& nodes = it->second.nodes;
  const auto slot = static_cast<std::size_t>(node->slot);
  if (slot < nodes.size() && nodes[slot] == node) {
    nodes[slot] = nodes.back();
    nodes[slot]->slot = static_cast<int>(slot);
    nodes.pop_back();
  }
  if (it->second.first == node) it->second.first = nullptr;
  if (nodes.empty()) names.erase(it);
  node->slot = -1;
}

// Order of two nodes of one list: the list is sorted by name, so the names
// decide, and only equal names need a walk.
bool SiblingBefore(const TreeData* a, const TreeData* b, int descending) {
  const int r = std::strcoll(a->name.c_str(), b->name.c_str());
  if (r != 0) return descending ? r > 0 : r < 0;
  for (const LlistNode<TreeData>* n = a->self ? a->self->next : nullptr; n != nullptr; n = n->next)
    if (n->data.get() == b) return true;
  return false;
}

}  // namespace

int NewTreeSet(InheritanceState& st, TreeData* root) {
  const int id = static_cast<int>(st.setParent.size());
  st.setParent.push_back(id);
  st.setRoot.push_back(root);
  if (root) root->tree = id;
  return id;
}

TreeData* TreeRootOf(InheritanceState& st, const TreeData* node) {
  if (node == nullptr) return nullptr;
  const int rep = FindSet(st, node->tree);
  return rep < 0 ? nullptr : st.setRoot[static_cast<std::size_t>(rep)];
}

void JoinTreeSets(InheritanceState& st, int from, int into) {
  const int a = FindSet(st, from);
  const int b = FindSet(st, into);
  if (a < 0 || b < 0 || a == b) return;
  st.setParent[static_cast<std::size_t>(a)] = b;
}

void RegisterInForest(InheritanceState& st, TreeData* top) {
  ForEachInSubtree(top, [&](TreeData* n) {
    RemoveFromIndex(n->inForest ? st.forestNames : st.lostNames, n);
    NameBucket& bucket = st.forestNames[n->name];
    AddToBucket(bucket, n);
    n->inForest = true;
    if (bucket.nodes.size() == 1) {
      bucket.first = n;
      if (st.collectNewNames) st.newNames.push_back(n->name);
    } else if (st.firstKnown && bucket.first != nullptr && PreorderBefore(st, n, bucket.first)) {
      bucket.first = n;
    }
    return true;
  });
}

void RegisterInLost(InheritanceState& st, TreeData* top) {
  ForEachInSubtree(top, [&](TreeData* n) {
    RemoveFromIndex(n->inForest ? st.forestNames : st.lostNames, n);
    AddToBucket(st.lostNames[n->name], n);
    n->inForest = false;
    return true;
  });
}

void Unregister(InheritanceState& st, TreeData* top) {
  ForEachInSubtree(top, [&](TreeData* n) {
    RemoveFromIndex(n->inForest ? st.forestNames : st.lostNames, n);
    return true;
  });
}

bool InForest(const InheritanceState& st, const std::string& name) {
  return st.forestNames.find(name) != st.forestNames.end();
}

TreeData* FirstInForest(InheritanceState& st, const std::string& name) {
  auto it = st.forestNames.find(name);
  if (it == st.forestNames.end()) return nullptr;
  NameBucket& bucket = it->second;
  if (st.firstKnown && bucket.first != nullptr) return bucket.first;
  TreeData* first = nullptr;
  for (TreeData* n : bucket.nodes)
    if (first == nullptr || PreorderBefore(st, n, first)) first = n;
  bucket.first = first;
  return first;
}

const std::vector<TreeData*>& LostNodesNamed(const InheritanceState& st, const std::string& name) {
  static const std::vector<TreeData*> kNone;
  auto it = st.lostNames.find(name);
  return it == st.lostNames.end() ? kNone : it->second.nodes;
}

bool IsAncestor(const TreeData* anc, const TreeData* node) {
  if (anc == nullptr || node == nullptr) return false;
  for (const TreeData* n = node->up; n != nullptr; n = n->up)
    if (n == anc) return true;
  return false;
}

bool PreorderBefore(InheritanceState& st, const TreeData* a, const TreeData* b) {
  if (a == nullptr || b == nullptr || a == b) return false;
  const TreeData* ra = TreeRootOf(st, a);
  const TreeData* rb = TreeRootOf(st, b);
  if (ra != rb && ra != nullptr && rb != nullptr) return SiblingBefore(ra, rb, st.descending);
  // One tree: climb from both nodes in turn until one climb reaches a node
  // the other has passed, their lowest common ancestor. Each map holds, for
  // a node passed, the child the climb came from (null for the start node).
  std::unordered_map<const TreeData*, const TreeData*> fromA, fromB;
  const TreeData* x = a;
  const TreeData* px = nullptr;
  const TreeData* y = b;
  const TreeData* py = nullptr;
  auto decide = [&](const TreeData* towardA, const TreeData* towardB) {
    if (towardA == nullptr) return true;   // a lies above b
    if (towardB == nullptr) return false;  // b lies above a
    return SiblingBefore(towardA, towardB, st.descending);
  };
  while (x != nullptr || y != nullptr) {
    if (x != nullptr) {
      fromA.emplace(x, px);
      if (auto it = fromB.find(x); it != fromB.end()) return decide(px, it->second);
      px = x;
      x = x->up;
    }
    if (y != nullptr) {
      fromB.emplace(y, py);
      if (auto it = fromA.find(y); it != fromA.end()) return decide(it->second, py);
      py = y;
      y = y->up;
    }
  }
  // Different top-level nodes after all: compare them in their list.
  return px != nullptr && py != nullptr && SiblingBefore(px, py, st.descending);
}
