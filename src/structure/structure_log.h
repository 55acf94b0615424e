// The changes one file's structure recognition makes to the run's class,
// interface, namespace and function lists, kept in the order made while a
// worker thread analyses the file and made at its merge, when the records of
// every earlier file are in place. Made in that order against the run's
// lists, they give exactly what making them at once in a serial run gives.
#pragma once

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/records.h"
#include "structure/functions.h"

struct GlobalData;

// A function's roll-up into the classes that own it, with what it depends on.
struct FunctionCredit {
  std::string functionName;
  FunctionMetrics metrics;
  int inClassBody = 0;
  int passes = 1;           // owners tried: the type depth around the function plus one
  bool dotted = false;      // Java and C# names: owners cut at '.', template arguments kept
  const char* fileName = nullptr;
  int line = 0;
};

struct StructureLog {
  enum class Kind : unsigned char { Type, Interface, Namespace, Function, Credit };
  struct Op {
    Kind kind = Kind::Type;
    std::unique_ptr<NodeData> record;  // Type, Interface, Namespace, Function
    std::unique_ptr<FunctionCredit> credit;
  };
  std::vector<Op> ops;
  // Namespace names this file's records gave so far, and the names it was
  // told were no namespace of the run's (which the merge checks again).
  std::unordered_set<std::string> namespaces;
  std::vector<std::string> missedNamespaces;

  bool Empty() const { return ops.empty() && missedNamespaces.empty(); }
  void Clear();
};

// The type record of a type body just opened: an interface record, the
// placeholder its functions made before it was seen taken over, or a new
// class record. Under a log the record is kept in the log (and returned) to
// be placed at the merge, with the sums its body adds to it meanwhile.
NodeData* PlaceTypeRecord(NodeData record, bool isInterface, GlobalData& gcd);
// Makes sure a namespace or package record of that name exists.
void EnsureNamespaceRecord(const std::string& name, const char* fileName, int line, bool package, GlobalData& gcd);
// Adds a closed function's record.
void PlaceFunctionRecord(NodeData record, GlobalData& gcd);
// Credits a function to the classes that own it (under a log: at the merge).
void CreditFunction(FunctionCredit credit, GlobalData& gcd);
// Whether a namespace or package of that name is known. Under a log: one of
// the file's own or of the files merged so far; a name found in neither is
// noted for the merge's check.
bool IsNamespaceName(const std::string& name, GlobalData& gcd);

// How many of the namespace names the file was told were unknown the run now
// knows (checked before the file's own records are placed).
int OverturnedNamespaceLookups(const StructureLog& log, const GlobalData& run);
// Makes the logged changes against the run's lists, in order, and empties the log.
void ReplayStructureLog(StructureLog& log, GlobalData& run);
