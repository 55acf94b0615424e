// Unique class counts of the forest: a class shown under several bases, or
// as a root in one tree and derived in another, counts once.
#include <new>
#include <string_view>
#include <unordered_set>

#include "common/gcd.h"
#include "common/output.h"
#include "inheritance/forest.h"

namespace {

// Adds the name; on a memory failure the name is not counted.
void AddName(std::unordered_set<std::string_view>& names, std::string_view name) {
  try {
    names.insert(name);
  } catch (const std::bad_alloc&) {
    OutF("\n  Error: memory allocation failure\n");
  }
}

}  // namespace

void UniqueClassesInTree(const TreeList& forest, long long& base, long long& derived, long long& total,
                         GlobalData&) {
  std::unordered_set<std::string_view> names;
  for (const TreeData& root : forest.items)
    ForEachInSubtree(&root, [&](const TreeData* n) {
      if (n != &root) AddName(names, n->name);
      return true;
    });
  derived = static_cast<long long>(names.size());
  for (const TreeData& root : forest.items) AddName(names, root.name);
  total = static_cast<long long>(names.size());
  base = total - derived;
}
