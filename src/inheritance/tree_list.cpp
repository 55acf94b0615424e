// Sorted tree lists: the Llist sorted add, with a key index once a list is
// long (a forest of 30,000 roots or a base with thousands of children must not
// cost a walk per add), and freeing without recursion.
#include <cstring>
#include <utility>

#include "inheritance/tree_data.h"

namespace {

// Lists shorter than this are walked; longer ones get an index.
constexpr int kIndexThreshold = 32;

const std::string& KeyOf(const TreeData& node, bool byParent) { return byParent ? node.parentName : node.name; }

bool SameKey(const std::string& a, const std::string& b) { return std::strcoll(a.c_str(), b.c_str()) == 0; }

void Unlink(Llist<TreeData>& list, LlistNode<TreeData>* n) {
  if (n->prev) n->prev->next = n->next; else list.head = n->next;
  if (n->next) n->next->prev = n->prev; else list.tail = n->prev;
  n->prev = n->next = nullptr;
  --list.count;
}

// Frees every node of the list: each node's children are moved to the end of
// the list before the node goes, so no destructor ever has a subtree to free.
void Drain(Llist<TreeData>& list) {
  while (list.head != nullptr) {
    LlistNode<TreeData>* n = list.head;
    Unlink(list, n);
    if (TreeData* t = n->data.get()) {
      LlistSpliceAtTail(list, t->children.items);
      t->children.index.reset();
    }
    delete n;
  }
  list.sortedBy = nullptr;
}

void BuildIndex(TreeList& list, bool byParent, int descending) {
  list.index = std::make_unique<TreeListIndex>(descending);
  auto& runs = list.index->runs;
  const std::string* last = nullptr;
  for (LlistNode<TreeData>* n = list.items.head; n != nullptr; n = n->next) {
    const std::string& key = KeyOf(*n->data, byParent);
    if (last == nullptr || !SameKey(*last, key)) runs.emplace_hint(runs.end(), key, n);
    last = &key;
  }
}

TreeData* Attach(LlistNode<TreeData>* node, TreeData* owner) {
  if (node == nullptr) return nullptr;
  TreeData* t = node->data.get();
  t->self = node;
  t->up = owner;
  return t;
}

}  // namespace

bool CollOrder::operator()(const std::string& a, const std::string& b) const {
  const int r = std::strcoll(a.c_str(), b.c_str());
  return descending ? r > 0 : r < 0;
}

TreeData::~TreeData() { Drain(children.items); }

TreeData* TreeListAdd(TreeList& list, std::unique_ptr<TreeData> node, bool byParent, int descending,
                      TreeData* owner) {
  if (!node) return nullptr;
  if (!list.index && list.items.count >= kIndexThreshold) BuildIndex(list, byParent, descending);
  if (!list.index) {
    return Attach(LlistAdd(list.items, std::move(node), byParent ? LostChildCompNode : TreeCompNameParent,
                           descending),
                  owner);
  }
  auto& runs = list.index->runs;
  const std::string key = KeyOf(*node, byParent);
  auto it = runs.lower_bound(key);
  if (it == runs.end()) {
    LlistNode<TreeData>* n = LlistInsert(list.items, list.items.tail, std::move(node), 1);
    if (n) runs.emplace_hint(runs.end(), key, n);
    return Attach(n, owner);
  }
  // In front of the first run whose key does not come before the new key;
  // an equal key makes the new node the head of that run.
  LlistNode<TreeData>* n = LlistInsert(list.items, it->second, std::move(node), 0);
  if (n == nullptr) return nullptr;
  if (SameKey(it->first, key))
    it->second = n;
  else
    runs.emplace_hint(it, key, n);
  return Attach(n, owner);
}

TreeData* TreeListAppend(TreeList& list, std::unique_ptr<TreeData> node, TreeData* owner) {
  list.index.reset();  // rebuilt from the list when it is needed again
  return Attach(LlistInsert(list.items, list.items.tail, std::move(node), 1), owner);
}

std::unique_ptr<TreeData> TreeListRemove(TreeList& list, TreeData* node, bool byParent) {
  if (node == nullptr || node->self == nullptr) return nullptr;
  LlistNode<TreeData>* n = node->self;
  if (list.index) {
    auto& runs = list.index->runs;
    auto it = runs.find(KeyOf(*node, byParent));
    if (it != runs.end() && it->second == n) {
      if (n->next != nullptr && SameKey(KeyOf(*n->next->data, byParent), it->first))
        it->second = n->next;
      else
        runs.erase(it);
    }
  }
  Unlink(list.items, n);
  std::unique_ptr<TreeData> data = std::move(n->data);
  delete n;
  data->self = nullptr;
  data->up = nullptr;
  return data;
}

void TreeListTakeOver(TreeList& to, TreeList& from, TreeData* owner) {
  if (to.items.head != nullptr) return;
  to.items = std::move(from.items);
  to.index = std::move(from.index);
  for (LlistNode<TreeData>* n = to.items.head; n != nullptr; n = n->next) n->data->up = owner;
}

void TreeListClear(TreeList& list) {
  Drain(list.items);
  list.index.reset();
}
