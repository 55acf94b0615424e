// The name indexes and tree membership of the inheritance forest.
//
// The forest is searched by name over and over while it is built: for the
// node a class hangs under (the first one a depth-first walk from the first
// root meets), for whether a name is present at all, for the lost entries of
// a base. Every node is kept in a bucket of its name, on the forest side or
// the lost side, and the forest buckets remember their depth-first first node.
// Because the forest only grows while it is built, and inserting nodes never
// changes the order of the nodes already there, that first node only has to
// be compared with each new node of its name.
#pragma once

#include <string>

#include "inheritance/inheritance_state.h"

// Tree membership sets.
int NewTreeSet(InheritanceState& st, TreeData* root);
// The root of the forest tree (or the lost entry) the node belongs to.
TreeData* TreeRootOf(InheritanceState& st, const TreeData* node);
// Puts the set of from into the set of into; the root of into stays the root.
void JoinTreeSets(InheritanceState& st, int from, int into);

// Indexes the node and its subtree on the forest side (taking them off the
// lost side); records names new to the forest when collecting.
void RegisterInForest(InheritanceState& st, TreeData* top);
// Indexes the node and its subtree on the lost side.
void RegisterInLost(InheritanceState& st, TreeData* top);
// Takes the node and its subtree out of whichever index holds them.
void Unregister(InheritanceState& st, TreeData* top);

bool InForest(const InheritanceState& st, const std::string& name);
// The node of that name a depth-first walk of the forest meets first.
TreeData* FirstInForest(InheritanceState& st, const std::string& name);
// Every lost-side node of that name (empty when none).
const std::vector<TreeData*>& LostNodesNamed(const InheritanceState& st, const std::string& name);

// True when a comes before b in a depth-first walk of the forest.
bool PreorderBefore(InheritanceState& st, const TreeData* a, const TreeData* b);
// True when anc lies above node (a node is not its own ancestor).
bool IsAncestor(const TreeData* anc, const TreeData* node);
