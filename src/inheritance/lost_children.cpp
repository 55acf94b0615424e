// Resolving the lost children: classes whose base was not in the forest when
// they were added.
//
// The passes walk the lost list in order and move every entry whose base is
// now in the forest; they repeat until a pass moves nothing. Walked
// literally, a chain given from its last class to its first moves one entry
// per pass, n passes over n entries. The same moves are made here in the
// same order without the walks: every entry waits on its base name, a name
// appearing in the forest wakes its entries, and a pass is a cursor that
// visits the woken entries in list order.
#include <set>
#include <unordered_map>

#include "common/gcd.h"
#include "inheritance/forest.h"
#include "inheritance/forest_index.h"

namespace {

std::vector<TreeData*> LostInOrder(const InheritanceState& st) {
  std::vector<TreeData*> order;
  order.reserve(static_cast<std::size_t>(st.lost.items.count));
  for (LlistNode<TreeData>* n = st.lost.items.head; n != nullptr; n = n->next) order.push_back(n->data.get());
  return order;
}

// The passes of one cycle; returns the number of entries moved.
int ResolvePasses(GlobalData& gcd) {
  InheritanceState& st = gcd.inh;
  const std::vector<TreeData*> order = LostInOrder(st);
  const int n = static_cast<int>(order.size());
  std::set<int> ready;
  std::unordered_map<std::string, std::vector<int>> waiting;
  for (int i = 0; i < n; ++i) {
    const TreeData* e = order[static_cast<std::size_t>(i)];
    if (!e->hasParent || InForest(st, e->parentName))
      ready.insert(i);
    else
      waiting[e->parentName].push_back(i);
  }
  st.collectNewNames = true;
  st.newNames.clear();
  int moved = 0;
  int movedThisPass = 0;
  int passes = 0;
  int cursor = 0;
  while (true) {
    auto next = ready.lower_bound(cursor);
    if (next == ready.end()) {
      // End of a pass; the next starts from the head of the list.
      ++passes;
      if (movedThisPass == 0 || passes >= n + 1) break;
      movedThisPass = 0;
      cursor = 0;
      continue;
    }
    const int i = *next;
    ready.erase(next);
    cursor = i + 1;
    TreeData* entry = order[static_cast<std::size_t>(i)];
    AddTreeNode(TreeListRemove(st.lost, entry, true), true, gcd);
    ++moved;
    ++movedThisPass;
    for (const std::string& name : st.newNames) {
      auto w = waiting.find(name);
      if (w == waiting.end()) continue;
      ready.insert(w->second.begin(), w->second.end());
      waiting.erase(w);
    }
    st.newNames.clear();
  }
  st.collectNewNames = false;
  return moved;
}

}  // namespace

int LoadLostChildParents(GlobalData& gcd) {
  InheritanceState& st = gcd.inh;
  int placed = 0;
  for (TreeData* entry : LostInOrder(st)) {
    if (!entry->hasParent) continue;
    const std::string parent = entry->parentName;
    // The made-up root: discarded when the name is present already or ends
    // in a colon or dot.
    AddTreeNodeByName(parent, nullptr, entry->fileName, 0, 0, false, gcd);
    if (!InForest(st, parent)) continue;
    if (AddTreeNode(TreeListRemove(st.lost, entry, true), true, gcd)) ++placed;
  }
  return placed;
}

void LoadTree(GlobalData& gcd) {
  InheritanceState& st = gcd.inh;
  // Every cycle that goes on has placed at least one entry, so the cycles end.
  while (st.lost.items.count > 0) {
    int placed = ResolvePasses(gcd);
    placed += LoadLostChildParents(gcd);
    if (placed == 0) break;
  }
}
