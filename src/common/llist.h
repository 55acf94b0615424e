// Llist: the doubly linked list that holds every collection of the run.
//
// A list owns its nodes and each node owns its record. Records are kept in
// arrival order or sorted by a comparator: a sorted add links the new node in
// front of the first node for which the comparator returns a value below 1.
// Re-sorting builds the order that adding every record again, head to tail,
// would give, but in n log n (see LlistResortBy).
#pragma once

#include <algorithm>
#include <type_traits>
#include <memory>
#include <new>
#include <utility>
#include <vector>

template <class T>
struct LlistNode {
  LlistNode* prev = nullptr;
  std::unique_ptr<T> data;
  LlistNode* next = nullptr;
};

// Comparators take the new record, the record of an existing node and the
// descending flag. Numeric comparators return -1 or 1, name comparators the
// strcoll result (0 meaning equal).
template <class T>
using LlistComparator = int (*)(const T* newRecord, const T* existing, int descending);

template <class T>
struct Llist;
template <class T>
void LlistDestroy(Llist<T>& list);

template <class T>
struct Llist {
  LlistNode<T>* head = nullptr;
  LlistNode<T>* tail = nullptr;
  int count = 0;
  // The comparator and direction the whole list is known to be sorted by; a
  // sorted add that comes after the tail is then appended without a walk.
  LlistComparator<T> sortedBy = nullptr;
  int sortedDescending = 0;

  Llist() = default;
  Llist(const Llist&) = delete;
  Llist& operator=(const Llist&) = delete;
  Llist(Llist&& other) noexcept { TakeOver(other); }
  Llist& operator=(Llist&& other) noexcept {
    if (this != &other) {
      LlistDestroy(*this);
      TakeOver(other);
    }
    return *this;
  }
  ~Llist() { LlistDestroy(*this); }

  // Iteration over the records, head to tail.
  struct Iterator {
    LlistNode<T>* node;
    T& operator*() const { return *node->data; }
    T* operator->() const { return node->data.get(); }
    Iterator& operator++() { node = node->next; return *this; }
    bool operator!=(const Iterator& o) const { return node != o.node; }
  };
  Iterator begin() const { return {head}; }
  Iterator end() const { return {nullptr}; }

 private:
  void TakeOver(Llist& other) {
    head = other.head; tail = other.tail; count = other.count;
    sortedBy = other.sortedBy; sortedDescending = other.sortedDescending;
    other.head = other.tail = nullptr; other.count = 0; other.sortedBy = nullptr;
  }
};

namespace llist_detail {
template <class T>
void LinkBefore(Llist<T>& list, LlistNode<T>* ref, LlistNode<T>* node) {
  node->next = ref;
  node->prev = ref->prev;
  if (ref->prev) ref->prev->next = node; else list.head = node;
  ref->prev = node;
  ++list.count;
}
template <class T>
void LinkAtTail(Llist<T>& list, LlistNode<T>* node) {
  node->prev = list.tail;
  node->next = nullptr;
  if (list.tail) list.tail->next = node; else list.head = node;
  list.tail = node;
  ++list.count;
}
}  // namespace llist_detail

// Adds a node for the record: with a comparator before the first node for
// which it returns below 1, else at the tail. Returns the node, or null (with
// the record released) when memory runs out or the record is null.
template <class T>
LlistNode<T>* LlistAdd(Llist<T>& list, std::unique_ptr<T> record, std::type_identity_t<LlistComparator<T>> cmp, int descending) {
  if (!record) return nullptr;
  auto* node = new (std::nothrow) LlistNode<T>();
  if (node == nullptr) return nullptr;
  const T* rec = record.get();
  node->data = std::move(record);
  if (cmp == nullptr || list.head == nullptr) {
    bool wasEmpty = list.head == nullptr;
    llist_detail::LinkAtTail(list, node);
    if (cmp == nullptr) list.sortedBy = nullptr;
    else if (wasEmpty) { list.sortedBy = cmp; list.sortedDescending = descending; }
    return node;
  }
  bool knownSorted = list.sortedBy == cmp && list.sortedDescending == descending;
  if (knownSorted && cmp(rec, list.tail->data.get(), descending) >= 1) {
    llist_detail::LinkAtTail(list, node);
    return node;
  }
  for (LlistNode<T>* n = list.head; n != nullptr; n = n->next) {
    if (cmp(rec, n->data.get(), descending) < 1) {
      llist_detail::LinkBefore(list, n, node);
      if (!knownSorted) list.sortedBy = nullptr;
      return node;
    }
  }
  llist_detail::LinkAtTail(list, node);
  if (!knownSorted) list.sortedBy = nullptr;
  return node;
}

// Moves every node of from, in order, to the tail of to, as unsorted adds
// of their records would place them; from is left empty.
template <class T>
void LlistSpliceAtTail(Llist<T>& to, Llist<T>& from) {
  if (from.head == nullptr) return;
  if (to.tail != nullptr) {
    to.tail->next = from.head;
    from.head->prev = to.tail;
  } else {
    to.head = from.head;
  }
  to.tail = from.tail;
  to.count += from.count;
  to.sortedBy = nullptr;
  from.head = from.tail = nullptr;
  from.count = 0;
  from.sortedBy = nullptr;
}

// Inserts after (after = 1) or before (after = 0) the reference node; without
// a reference node, or into an empty list, the node becomes the only node
// (an existing list is appended to so that nothing is lost).
template <class T>
LlistNode<T>* LlistInsert(Llist<T>& list, std::type_identity_t<LlistNode<T>*> ref, std::unique_ptr<T> record, int after) {
  if (!record) return nullptr;
  auto* node = new (std::nothrow) LlistNode<T>();
  if (node == nullptr) return nullptr;
  node->data = std::move(record);
  list.sortedBy = nullptr;
  if (ref == nullptr || list.head == nullptr) {
    llist_detail::LinkAtTail(list, node);
  } else if (after) {
    if (ref->next) llist_detail::LinkBefore(list, ref->next, node);
    else llist_detail::LinkAtTail(list, node);
  } else {
    llist_detail::LinkBefore(list, ref, node);
  }
  return node;
}

// Like a sorted LlistAdd, but nothing is added (and 0 returned) when the
// comparator returns 0 for a node before the insertion point. Without a
// comparator it adds only into an empty list. Returns 1 when added.
template <class T>
int LlistAddUnique(Llist<T>& list, std::unique_ptr<T> record, std::type_identity_t<LlistComparator<T>> cmp, int descending) {
  if (!record) return 0;
  if (cmp == nullptr) {
    if (list.head != nullptr) return 0;
    return LlistAdd(list, std::move(record), nullptr, descending) ? 1 : 0;
  }
  for (LlistNode<T>* n = list.head; n != nullptr; n = n->next) {
    int r = cmp(record.get(), n->data.get(), descending);
    if (r == 0) return 0;
    if (r < 1) break;
  }
  return LlistAdd(list, std::move(record), cmp, descending) ? 1 : 0;
}

// The first node for which cmp(key, node record, 0) returns 0, else null.
template <class T>
LlistNode<T>* LlistSearch(const Llist<T>& list, const std::type_identity_t<T>* key, std::type_identity_t<LlistComparator<T>> cmp) {
  if (key == nullptr || cmp == nullptr) return nullptr;
  for (LlistNode<T>* n = list.head; n != nullptr; n = n->next)
    if (cmp(key, n->data.get(), 0) == 0) return n;
  return nullptr;
}

// Calls the callback for every record from head to tail.
template <class T, class F>
void LlistShow(const Llist<T>& list, F&& callback) {
  for (LlistNode<T>* n = list.head; n != nullptr; n = n->next) callback(*n->data);
}

// Frees a node and its record; the node must already be unlinked.
template <class T>
void LlistFreeNode(LlistNode<T>* node) { delete node; }

// Unlinks and frees every node from tail to head; leaves the list empty.
template <class T>
void LlistDestroy(Llist<T>& list) {
  LlistNode<T>* n = list.tail;
  while (n != nullptr) {
    LlistNode<T>* prev = n->prev;
    LlistFreeNode(n);
    n = prev;
  }
  list.head = list.tail = nullptr;
  list.count = 0;
  list.sortedBy = nullptr;
}

// Re-sorts the list into the order that adding every record again, from head
// to tail, into an empty list with the comparator would give: for every
// comparator built on a total order, equal records end in reverse order of
// their present position. Done with one stable sort instead of n sorted adds.
// Without a comparator the order stays as it is. Returns false (list
// unchanged) when memory runs out.
template <class T>
bool LlistResortBy(Llist<T>& list, std::type_identity_t<LlistComparator<T>> cmp, int descending) {
  if (cmp == nullptr || list.count < 2) {
    if (cmp != nullptr) { list.sortedBy = cmp; list.sortedDescending = descending; }
    return true;
  }
  std::vector<LlistNode<T>*> nodes;
  try {
    nodes.reserve(static_cast<std::size_t>(list.count));
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (LlistNode<T>* n = list.tail; n != nullptr; n = n->prev) nodes.push_back(n);
  // a goes before b when a new a would be linked in front of b but a new b
  // would not be linked in front of a.
  std::stable_sort(nodes.begin(), nodes.end(), [&](const LlistNode<T>* a, const LlistNode<T>* b) {
    return cmp(a->data.get(), b->data.get(), descending) < 1 && cmp(b->data.get(), a->data.get(), descending) >= 1;
  });
  list.head = list.tail = nullptr;
  list.count = 0;
  for (LlistNode<T>* n : nodes) llist_detail::LinkAtTail(list, n);
  list.sortedBy = cmp;
  list.sortedDescending = descending;
  return true;
}
