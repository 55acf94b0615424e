// The comparators of the inheritance forest.
#include <cstring>

#include "inheritance/tree_data.h"

namespace {

// -1, 0 or 1, so that negating it for the descending order is always safe.
int Coll(const std::string& a, const std::string& b) {
  const int r = std::strcoll(a.c_str(), b.c_str());
  return (r > 0) - (r < 0);
}
int Directed(int r, int descending) { return descending ? -r : r; }

}  // namespace

int TreeCompNameParent(const TreeData* a, const TreeData* b, int descending) {
  if (a == nullptr || b == nullptr) return -1;
  int r = Coll(a->name, b->name);
  if (r == 0 && a->hasParent && b->hasParent) r = Coll(a->parentName, b->parentName);
  return Directed(r, descending);
}

int LostChildCompNode(const TreeData* a, const TreeData* b, int descending) {
  if (a == nullptr || b == nullptr) return -1;
  return Directed(Coll(a->parentName, b->parentName), descending);
}
