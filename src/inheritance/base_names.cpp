// Base lists: splitting them into base names and resolving each name to the
// class it refers to.
//
// A base is compared with the classes by its name without template or
// generic arguments (Base<int> names the class Base, AbstractList<E> the
// class java.util.AbstractList<E>). A base named inside a class is looked up
// in the scopes that enclose the class, from the innermost outwards, and
// then in its namespace or package, as the languages themselves do.
#include <cstring>

#include "common/gcd.h"
#include "inheritance/forest.h"
#include "structure/entity_records.h"

namespace {

constexpr std::string_view kInterfacePrefix = "Interface-";

bool IsScopeChar(char c) { return c == ':' || c == '.'; }

std::string_view WithoutInterfacePrefix(std::string_view name) {
  if (name.starts_with(kInterfacePrefix)) name.remove_prefix(kInterfacePrefix.size());
  return name;
}

// Where the last component of a name starts: after its last colon or dot
// outside angle brackets (0 for a name without scope).
std::size_t LastComponent(std::string_view name) {
  int angle = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (c == '<') ++angle;
    else if (c == '>' && angle > 0) --angle;
    else if (angle == 0 && IsScopeChar(c)) start = i + 1;
  }
  return start;
}

// The arguments written after the last component's name ("<int>" of
// "ns::Base<int>"), empty when there are none.
std::string_view LastArguments(std::string_view name) {
  const std::string_view last = name.substr(LastComponent(name));
  const std::size_t open = last.find('<');
  return open == std::string_view::npos ? std::string_view{} : last.substr(open);
}

std::string_view Tail(std::string_view stripped) { return stripped.substr(LastComponent(stripped)); }

// True when the stripped record name ends with the candidate at a scope
// boundary: "pkg.List" is in "a.pkg.List" but neither in "pkg.List.Node"
// nor in "mypkg.List".
bool EndsAtBoundary(std::string_view stripped, std::string_view candidate) {
  if (candidate.empty() || stripped.size() < candidate.size()) return false;
  const std::size_t start = stripped.size() - candidate.size();
  if (stripped.substr(start) != candidate) return false;
  return start == 0 || IsScopeChar(candidate.front()) || IsScopeChar(stripped[start - 1]);
}

// How well a record's own arguments fit the base's: the same arguments, a
// record without any (the primary template beside its specialisations), or
// other ones.
int ArgumentFit(const ClassNameEntry& entry, std::string_view baseArgs) {
  if (entry.arguments == baseArgs) return 0;
  return entry.arguments.empty() ? 1 : 2;
}

// The record the candidate names: the best fitting of those whose stripped
// name ends with it (exact: equal to it), the first in list order on a tie.
const NodeData* FindRecord(std::string_view candidate, std::string_view baseArgs, bool exact,
                           const InheritanceState& st) {
  auto it = st.classesByTail.find(std::string(Tail(candidate)));
  if (it == st.classesByTail.end()) return nullptr;
  const ClassNameEntry* best = nullptr;
  int bestFit = 3;
  for (const ClassNameEntry& entry : it->second) {
    if (exact ? entry.stripped != candidate : !EndsAtBoundary(entry.stripped, candidate)) continue;
    const int fit = ArgumentFit(entry, baseArgs);
    if (fit < bestFit) {
      best = &entry;
      bestFit = fit;
      if (fit == 0) break;
    }
  }
  return best != nullptr ? best->record : nullptr;
}

}  // namespace

std::string WithoutArguments(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  int angle = 0;
  for (const char c : name) {
    if (c == '<') ++angle;
    else if (c == '>' && angle > 0) --angle;
    else if (angle == 0) out += c;
  }
  return out;
}

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
  for (const Llist<NodeData>* list : {&gcd.lists.classes, &gcd.lists.interfaces}) {
    for (const NodeData& record : *list) {
      const std::string_view bare = WithoutInterfacePrefix(record.name);
      ClassNameEntry entry{&record, WithoutArguments(bare), std::string(LastArguments(bare))};
      std::string key(Tail(entry.stripped));
      index[std::move(key)].push_back(std::move(entry));
    }
  }
}

std::string ResolveBaseName(const std::string& className, const std::string& baseName, GlobalData& gcd) {
  const InheritanceState& st = gcd.inh;
  const std::string base = WithoutArguments(baseName);
  const std::string_view baseArgs = LastArguments(baseName);
  if (base.empty()) return baseName;
  // The scopes that enclose the class, innermost first: for a.b.Outer.Inner
  // "a.b.Outer.", "a.b." and "a.".
  const std::string owner = WithoutArguments(WithoutInterfacePrefix(className));
  for (std::size_t end = owner.size(); end > 0;) {
    const std::size_t cut = owner.find_last_of(":.", end - 1);
    if (cut == std::string::npos) break;
    if (const NodeData* record = FindRecord(owner.substr(0, cut + 1) + base, baseArgs, false, st))
      return record->name;
    // "::" is one separator.
    end = cut > 0 && owner[cut] == ':' && owner[cut - 1] == ':' ? cut - 1 : cut;
  }
  // A record of that name in any scope, and one named exactly as written:
  // a qualified base names its scope itself, so its exact name comes first.
  const bool qualified = base.find_first_of(":.") != std::string::npos;
  if (qualified)
    if (const NodeData* record = FindRecord(base, baseArgs, true, st)) return record->name;
  if (const NodeData* record = FindRecord("::" + base, baseArgs, false, st)) return record->name;
  if (!qualified)
    if (const NodeData* record = FindRecord(base, baseArgs, true, st)) return record->name;
  // The forest need not be searched as well: while it is built it holds
  // only names of class records, all of which were searched above.
  return baseName;
}
