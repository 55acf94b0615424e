// Look-ups of class, interface and namespace records by name, kept beside
// the run's lists so that the roll-ups never scan a list; and the adding of
// structure records.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "common/records.h"

struct EntityIndex {
  // Name -> the most recent record of that name.
  std::unordered_map<std::string, NodeData*> classes;
  std::unordered_map<std::string, NodeData*> interfaces;  // keys carry "Interface-"
  std::unordered_map<std::string, NodeData*> namespaces;
  // Class records made for the owner of a function before the class itself
  // was seen; the class's definition takes such a record over.
  std::unordered_set<const NodeData*> placeholders;
};

struct GlobalData;
NodeData* FindClassRecord(const std::string& name, GlobalData& gcd);
NodeData* FindInterfaceRecord(const std::string& name, GlobalData& gcd);
NodeData* FindNamespaceRecord(const std::string& name, GlobalData& gcd);

// Adds a record to its list (classes, interfaces or namespaces by the list
// given) and to the index; returns it, or null when memory ran out (a
// message is printed). Records are linked in arrival order here:
// SettleStructureLists gives the lists the order that adding them by the
// sort key would have given.
NodeData* AddClassRecord(NodeData record, GlobalData& gcd);
NodeData* AddInterfaceRecord(NodeData record, GlobalData& gcd);
NodeData* AddNamespaceRecord(NodeData record, GlobalData& gcd);
NodeData* AddFunctionRecord(NodeData record, GlobalData& gcd);
// A placeholder class record for a function's owner.
NodeData* AddPlaceholderClass(NodeData record, GlobalData& gcd);
// Takes a placeholder of that name over for a class definition, or null.
NodeData* TakePlaceholderClass(const std::string& name, GlobalData& gcd);

// After the last file: orders the structure lists as sorted insertion by the
// -k key would have, in n log n. Function records were added with their
// final values; class, interface and namespace records were added while
// their counts were still 0, so only their names ordered them then.
void SettleStructureLists(GlobalData& gcd);
