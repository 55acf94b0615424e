// Building the forest from the class records: roots, derived classes under
// each of their bases, and the lost list for bases not seen yet.
#include <cstring>
#include <utility>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/report_text.h"
#include "inheritance/forest.h"
#include "inheritance/forest_index.h"
#include "structure/entity_records.h"

namespace {

bool AboveSpace(const std::string& s) { return !s.empty() && static_cast<unsigned char>(s[0]) > ' '; }

bool EndsWithScopeChar(const std::string& s) { return !s.empty() && (s.back() == ':' || s.back() == '.'); }

// An equal entry (same name, same parent name) at the top of the lost list.
bool LostHoldsEntry(const InheritanceState& st, const TreeData& node) {
  for (const TreeData* m : LostNodesNamed(st, node.name))
    if (m != &node && m->up == nullptr && m->hasParent && node.hasParent &&
        std::strcoll(m->parentName.c_str(), node.parentName.c_str()) == 0)
      return true;
  return false;
}

// The set a node brings (a lost entry's) joins the set of its new place.
void JoinSet(InheritanceState& st, TreeData& placed, int broughtSet, int placeSet) {
  if (broughtSet < 0) placed.tree = placeSet;
  else JoinTreeSets(st, broughtSet, placeSet);
}

}  // namespace

std::unique_ptr<TreeData> MakeTreeNode(const std::string& name, const std::string* parentName, const char* fileName,
                                       int line, int parents) {
  auto node = std::make_unique<TreeData>();
  node->name = name;
  if (parentName != nullptr) {
    node->parentName = *parentName;
    node->hasParent = true;
  }
  node->fileName = fileName;
  node->line = line;
  node->parents = parents;
  return node;
}

void AdjustDepth(int depth, TreeList& children) {
  for (TreeData& top : children.items) {
    top.depth = depth + 1;
    ForEachInSubtree(&top, [](TreeData* n) {
      if (n->up != nullptr) n->depth = n->up->depth + 1;
      return true;
    });
  }
}

int AddTreeNode(std::unique_ptr<TreeData> node, bool withLost, GlobalData& gcd) {
  if (!node) return 0;
  InheritanceState& st = gcd.inh;
  const int brought = node->tree;
  if (!node->hasParent) {
    if (InForest(st, node->name) || EndsWithScopeChar(node->name)) return 0;
    TreeData* root = TreeListAdd(st.forest, std::move(node), false, st.descending, nullptr);
    if (root == nullptr) return 0;
    const int set = NewTreeSet(st, root);
    if (brought >= 0) JoinTreeSets(st, brought, set);
    root->depth = 0;
    AdjustDepth(0, root->children);
    RegisterInForest(st, root);
    return 1;
  }
  if (TreeData* parent = FirstInForest(st, node->parentName)) {
    node->depth = parent->depth + 1;
    TreeData* placed = TreeListAdd(parent->children, std::move(node), false, st.descending, parent);
    if (placed == nullptr) return 0;
    JoinSet(st, *placed, brought, parent->tree);
    AdjustDepth(placed->depth, placed->children);
    RegisterInForest(st, placed);
    if (withLost) AddNodeToAllParents(*placed, gcd);
    return 1;
  }
  if (!withLost || LostHoldsEntry(st, *node)) return 0;
  TreeData* entry = TreeListAdd(st.lost, std::move(node), true, st.descending, nullptr);
  if (entry == nullptr) return 0;
  const int set = NewTreeSet(st, entry);
  if (brought >= 0) JoinTreeSets(st, brought, set);
  RegisterInLost(st, entry);
  return 1;
}

int AddTreeNodeByName(const std::string& name, const std::string* parentName, const char* fileName, int line,
                      int parents, bool withLost, GlobalData& gcd) {
  return AddTreeNode(MakeTreeNode(name, parentName, fileName, line, parents), withLost, gcd);
}

int AddInheritClass2Tree(const std::string& className, const std::string& baseName, const char* fileName, int line,
                         int parents, GlobalData& gcd) {
  const std::string base = ResolveBaseName(className, baseName, gcd);
  return AddTreeNodeByName(className, &base, fileName, line, parents, true, gcd);
}

void AddClasses2Tree(GlobalData& gcd) {
  InheritanceState& st = gcd.inh;
  st.descending = gcd.sw.sortDescending;
  st.firstKnown = true;
  IndexClassNames(gcd);
  StartLostCopies(gcd);
  for (const Llist<NodeData>* list : {&gcd.lists.classes, &gcd.lists.interfaces}) {
    for (const NodeData& record : *list) {
      if (!AboveSpace(record.name)) continue;
      const int parents = ClassParents(record);
      bool placedUnderBase = false;
      if (AboveSpace(record.text2)) {
        for (std::string_view base : SplitBaseList(record.text2)) {
          // An empty name (a stray comma) names no base.
          if (base.empty()) continue;
          placedUnderBase = true;
          AddInheritClass2Tree(record.name, std::string(base), record.fileName, record.line, parents, gcd);
        }
      }
      if (placedUnderBase) continue;
      if (InForest(st, record.name)) {
        OutF("  Error: Duplicate Root Node: %s - Inheritance %s\n", ShownText(record.name, gcd).c_str(),
             ShownText(record.text2, gcd).c_str());
        continue;
      }
      AddTreeNodeByName(record.name, nullptr, record.fileName, record.line, parents, true, gcd);
    }
  }
}
