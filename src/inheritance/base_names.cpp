// Base lists: splitting them into base names and resolving each name to the
// class it refers to.
#include <cstring>

#include "common/gcd.h"
#include "inheritance/forest.h"
#include "structure/entity_records.h"

namespace {

constexpr std::string_view kInterfacePrefix = "Interface-";

bool IsScopeChar(char c) { return c == ':' || c == '.'; }
bool HasScope(std::string_view s) { return s.find_first_of(":.") != std::string_view::npos; }

// The last component of a scoped name: what follows its last colon or dot.
std::string_view Tail(std::string_view name) {
  const std::size_t at = name.find_last_of(":.");
  return at == std::string_view::npos ? std::string_view{} : name.substr(at + 1);
}

const NodeData* FindRecord(const std::string& candidate, const InheritanceState& st) {
  auto it = st.classesByTail.find(std::string(Tail(candidate)));
  if (it == st.classesByTail.end()) return nullptr;
  for (const NodeData* record : it->second)
    if (ListCompPartName(record->name, candidate)) return record;
  return nullptr;
}

}  // namespace

std::vector<std::string_view> SplitBaseList(std::string_view list) {
  std::vector<std::string_view> bases;
  int angle = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const char c = list[i];
    if (c == '<') {
      ++angle;
    } else if (c == '>') {
      if (angle > 0) --angle;
    } else if (c == ',' && angle == 0) {
      bases.push_back(list.substr(start, i - start));
      start = i + 1;
    }
  }
  bases.push_back(list.substr(start));
  return bases;
}

// A plain substring test would take "B" for "Bar" and an enclosing class for
// its nested one ("pkg.List" is in "pkg.List.Node"); the match must end the
// name and begin at a scope boundary (or just after the interface prefix).
bool ListCompPartName(const std::string& recordName, const std::string& candidate) {
  if (candidate.empty() || recordName.size() < candidate.size()) return false;
  const std::size_t start = recordName.size() - candidate.size();
  if (recordName.compare(start, candidate.size(), candidate) != 0) return false;
  if (start == 0 || IsScopeChar(candidate.front()) || IsScopeChar(recordName[start - 1])) return true;
  return start == kInterfacePrefix.size() && recordName.starts_with(kInterfacePrefix);
}

void IndexClassNames(GlobalData& gcd) {
  auto& index = gcd.inh.classesByTail;
  index.clear();
  for (const Llist<NodeData>* list : {&gcd.lists.classes, &gcd.lists.interfaces})
    for (const NodeData& record : *list)
      if (HasScope(record.name)) index[std::string(Tail(record.name))].push_back(&record);
}

std::string ResolveBaseName(const std::string& className, const std::string& baseName, GlobalData& gcd) {
  if (HasScope(baseName)) return baseName;
  const InheritanceState& st = gcd.inh;
  if (HasScope(className)) {
    // The base in the class's own scope: the class name cut after its last
    // colon (or, without one, its last dot).
    std::size_t cut = className.find_last_of(':');
    if (cut == std::string::npos) cut = className.find_last_of('.');
    if (const NodeData* record = FindRecord(className.substr(0, cut + 1) + baseName, st)) return record->name;
  }
  if (const NodeData* record = FindRecord("::" + baseName, st)) return record->name;
  // The forest need not be searched as well: while it is built it holds
  // only names of class records, all of which were searched above.
  return baseName;
}
