// What the run record holds for the inheritance forest: the forest and the
// lost children, the statistics of the report, and the indexes that keep the
// forest's searches by name near constant time.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "common/records.h"
#include "inheritance/tree_data.h"

// Counted while the tree is written; reset at the start of each report.
struct InheritanceStats {
  long long nodes = 0;
  long long depthSum = 0;
  int maxDepth = 0;
  long long childrenSum = 0;
  int maxChildren = 0;
  long long baseNodes = 0;     // nodes at depth 0; later the unique base classes
  long long derivedNodes = 0;  // nodes below depth 0; later the unique derived classes
  long long totalClasses = 0;  // unique classes
};

// Every node of one name on one side (forest or lost), and for the forest the
// node a depth-first search from the first root would meet first.
struct NameBucket {
  std::vector<TreeData*> nodes;
  TreeData* first = nullptr;
};

// A class or interface record as base names are compared with it.
struct ClassNameEntry {
  const NodeData* record = nullptr;
  std::string stripped;   // the name without "Interface-" and without <...> arguments
  std::string arguments;  // the arguments of its last component ("<K,V>"), or empty
};

struct InheritanceState {
  TreeList forest;  // roots, sorted by name
  TreeList lost;    // classes whose base was not (yet) found, sorted by base name
  InheritanceStats stats;

  // Indexes, valid while the forest is built.
  std::unordered_map<std::string, NameBucket> forestNames;
  std::unordered_map<std::string, NameBucket> lostNames;
  // The forest has only grown since every bucket's first node was set; the
  // merging of duplicate roots moves subtrees and clears it.
  bool firstKnown = true;
  // Names that appeared in the forest for the first time, collected while the
  // lost children are resolved.
  bool collectNewNames = false;
  std::vector<std::string> newNames;
  // Tree membership: a union-find over set ids; every node carries the id it
  // was created with, a set's representative knows the root of its tree.
  std::vector<int> setParent;
  std::vector<TreeData*> setRoot;
  // Class records by the last component of their name without arguments
  // (what base names are resolved against), in list order.
  std::unordered_map<std::string, std::vector<ClassNameEntry>> classesByTail;
  // Copies made to keep the lost subtrees complete, and the steps spent
  // placing them, are bounded, so that hostile bases cannot multiply the
  // forest without end.
  long long copiesMade = 0;
  long long copyBudget = 0;
  long long copyWork = 0;
  long long copyWorkBudget = 0;
  bool copiesCut = false;  // a bound was reached: some lost subtrees lack copies
  int descending = 0;  // -kd, fixed when the build starts
  bool built = false;

  InheritanceState() = default;
  InheritanceState(const InheritanceState&) = delete;
  InheritanceState& operator=(const InheritanceState&) = delete;
};
