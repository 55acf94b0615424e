// Building the inheritance forest after the last file.
#include "inheritance/inheritance.h"

#include "common/gcd.h"
#include "inheritance/forest.h"

void BuildInheritanceTree(GlobalData& gcd) {
  InheritanceState& st = gcd.inh;
  if (st.built) return;
  st.built = true;
  AddClasses2Tree(gcd);
  LoadTree(gcd);
  MergeDuplicateRoots(gcd);
  // Merged subtrees keep the depths of their old place; number them once
  // from the roots.
  for (TreeData& root : st.forest.items) {
    root.depth = 0;
    AdjustDepth(0, root.children);
  }
  // The indexes served the building only.
  st.forestNames.clear();
  st.lostNames.clear();
  st.classesByTail.clear();
  st.setParent.clear();
  st.setRoot.clear();
}
