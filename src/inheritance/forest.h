// The steps of building and writing the inheritance forest. The driver and
// the reports use inheritance.h; these are the pieces behind it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "inheritance/inheritance_state.h"

struct GlobalData;

// Building (forest_build.cpp).
// Builds the forest from the class and interface records, in list order.
void AddClasses2Tree(GlobalData& gcd);
// Resolves one base name of a class and inserts the class under it.
int AddInheritClass2Tree(const std::string& className, const std::string& baseName, const char* fileName, int line,
                         int parents, GlobalData& gcd);
// Inserts one node: without a parent name as a root (unless the name is
// present already or ends in a colon or dot); with one under the first node
// of that name, or else into the lost list (when withLost). The node may
// bring a subtree of its own. Returns 1 when the node was kept.
int AddTreeNode(std::unique_ptr<TreeData> node, bool withLost, GlobalData& gcd);
int AddTreeNodeByName(const std::string& name, const std::string* parentName, const char* fileName, int line,
                      int parents, bool withLost, GlobalData& gcd);
// Copies a node just placed in the forest under every lost-side node named
// as its parent that does not yet hold a node of its name (lost_copies.cpp).
void AddNodeToAllParents(const TreeData& node, GlobalData& gcd);
// Sets the bounds of those copies for a build.
void StartLostCopies(GlobalData& gcd);
// Renumbers the depths below a node of the given depth.
void AdjustDepth(int depth, TreeList& children);
// A node made from the fields of the Part's insert operation.
std::unique_ptr<TreeData> MakeTreeNode(const std::string& name, const std::string* parentName, const char* fileName,
                                       int line, int parents);

// Base names (base_names.cpp).
// The name without its template or generic arguments: every <...> group goes.
std::string WithoutArguments(std::string_view name);
// Splits a base list at the commas outside angle brackets.
std::vector<std::string_view> SplitBaseList(std::string_view list);
// True when a class record of that name is what a base name, placed in a
// scope (the candidate), refers to: the name ends with the candidate and the
// candidate starts at a scope boundary.
bool ListCompPartName(const std::string& recordName, const std::string& candidate);
// Indexes the class and interface records for ResolveBaseName.
void IndexClassNames(GlobalData& gcd);
// The full name a base name of the class refers to: the class record whose
// name, without arguments, is the base's in the nearest enclosing scope of
// the class, else in any scope, else the base name as written.
std::string ResolveBaseName(const std::string& className, const std::string& baseName, GlobalData& gcd);

// Lost children (lost_children.cpp): the resolution passes and the made-up
// roots. LoadLostChildParents returns the number of entries placed.
void LoadTree(GlobalData& gcd);
int LoadLostChildParents(GlobalData& gcd);

// Merging of duplicate roots (root_merge.cpp).
void MergeDuplicateRoots(GlobalData& gcd);

// Report (tree_report.cpp, unique_classes.cpp).
void TreeNodeShow(const TreeData& node, GlobalData& gcd);
void LostChildNodeShow(const TreeData& node, GlobalData& gcd);
void UniqueClassesInTree(const TreeList& forest, long long& base, long long& derived, long long& total,
                         GlobalData& gcd);
