// Structure records and their look-up by name.
#include "structure/entity_index.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "common/error_text.h"
#include "common/gcd.h"
#include "common/output.h"

namespace {

NodeData* Find(std::unordered_map<std::string, NodeData*>& map, const std::string& name) {
  auto it = map.find(name);
  return it == map.end() ? nullptr : it->second;
}

NodeData* Append(Llist<NodeData>& list, NodeData&& record) {
  auto rec = std::unique_ptr<NodeData>(new (std::nothrow) NodeData(std::move(record)));
  NodeData* raw = rec.get();
  if (raw == nullptr || LlistAdd(list, std::move(rec), nullptr, 0) == nullptr) {
    OutF("  Memory Error: %s\n", ErrorText(ENOMEM));
    return nullptr;
  }
  return raw;
}

NodeData* AppendIndexed(Llist<NodeData>& list, std::unordered_map<std::string, NodeData*>& map,
                        NodeData&& record) {
  std::string key = record.name;
  NodeData* raw = Append(list, std::move(record));
  if (raw != nullptr) map[std::move(key)] = raw;
  return raw;
}

// Reverses the list: records added while every count was 0 were each linked
// in front of all earlier ones by a numeric key.
void Reverse(Llist<NodeData>& list) {
  LlistNode<NodeData>* n = list.head;
  list.tail = n;
  LlistNode<NodeData>* prev = nullptr;
  while (n != nullptr) {
    LlistNode<NodeData>* next = n->next;
    n->next = prev;
    n->prev = next;
    prev = n;
    n = next;
  }
  list.head = prev;
  list.sortedBy = nullptr;
}

void SettleAddedWhileEmpty(Llist<NodeData>& list, int sortKey, GlobalData& gcd) {
  if (sortKey == 1) LlistResort_NodeData(list, sortKey, gcd);
  else if (sortKey >= 2 && sortKey <= 6) Reverse(list);
}

}  // namespace

NodeData* FindClassRecord(const std::string& name, GlobalData& gcd) { return Find(gcd.lists.index.classes, name); }
NodeData* FindInterfaceRecord(const std::string& name, GlobalData& gcd) {
  return Find(gcd.lists.index.interfaces, name);
}
NodeData* FindNamespaceRecord(const std::string& name, GlobalData& gcd) {
  return Find(gcd.lists.index.namespaces, name);
}

NodeData* AddClassRecord(NodeData record, GlobalData& gcd) {
  return AppendIndexed(gcd.lists.classes, gcd.lists.index.classes, std::move(record));
}
NodeData* AddInterfaceRecord(NodeData record, GlobalData& gcd) {
  return AppendIndexed(gcd.lists.interfaces, gcd.lists.index.interfaces, std::move(record));
}
NodeData* AddNamespaceRecord(NodeData record, GlobalData& gcd) {
  return AppendIndexed(gcd.lists.namespaces, gcd.lists.index.namespaces, std::move(record));
}
NodeData* AddFunctionRecord(NodeData record, GlobalData& gcd) {
  return Append(gcd.lists.functions, std::move(record));
}

NodeData* AddPlaceholderClass(NodeData record, GlobalData& gcd) {
  NodeData* raw = AddClassRecord(std::move(record), gcd);
  if (raw != nullptr) gcd.lists.index.placeholders.insert(raw);
  return raw;
}

NodeData* TakePlaceholderClass(const std::string& name, GlobalData& gcd) {
  NodeData* rec = FindClassRecord(name, gcd);
  if (rec == nullptr || gcd.lists.index.placeholders.erase(rec) == 0) return nullptr;
  return rec;
}

void SettleStructureLists(GlobalData& gcd) {
  const int key = gcd.sw.sortKey;
  if (NodeDataComparator(key) == nullptr) return;
  LlistResort_NodeData(gcd.lists.functions, key, gcd);
  SettleAddedWhileEmpty(gcd.lists.classes, key, gcd);
  SettleAddedWhileEmpty(gcd.lists.interfaces, key, gcd);
  SettleAddedWhileEmpty(gcd.lists.namespaces, key, gcd);
}
