// What the generic NodeData slots hold in the structure lists: functions,
// classes and structs, interfaces, namespaces and packages. Recognition fills
// them; the reports, the inheritance forest and the work files read them
// through these accessors only.
#pragma once

#include "common/records.h"

// Function records (gcd.lists.functions), one per function body closed:
//   name       qualified name ("A::f", "pkg.Cls.m")
//   text1      packed parameter list ("(int a, char *b)")
//   text3      template head, empty when the function is no template
//   fileName   the file it was found in (borrowed)
//   line       line of its closing brace
//   loc, eloc, lloc, comments, blanks, lines, cyclomatic, parameters
//   state      return points
inline int& FuncReturns(NodeData& r) { return r.state; }
inline int FuncReturns(const NodeData& r) { return r.state; }
// slot3: 1 when the function was defined inside its class body (inline).
inline int& FuncInline(NodeData& r) { return r.slot3; }
inline int FuncInline(const NodeData& r) { return r.slot3; }
// slot4: line of its opening brace.
inline int& FuncBeginLine(NodeData& r) { return r.slot4; }
inline int FuncBeginLine(const NodeData& r) { return r.slot4; }

// Class, struct and interface records (gcd.lists.classes, gcd.lists.interfaces):
//   name       qualified name; interfaces carry the prefix "Interface-"
//   text1      compacted template head, empty when none
//   text2      normalised inheritance (base) list, empty when none
//   fileName   the file it was found in (borrowed)
//   line       line at which the type was recognised
//   loc, eloc, lloc, comments, blanks, lines   its body (nested types included)
//   cyclomatic, parameters   sums over the functions credited to it
//   state      sum of the return points of those functions
//   ratio      number of functions credited to it
inline int& ClassReturns(NodeData& r) { return r.state; }
inline int ClassReturns(const NodeData& r) { return r.state; }
inline float& ClassFunctions(NodeData& r) { return r.ratio; }
inline float ClassFunctions(const NodeData& r) { return r.ratio; }
// slot1: number of direct base types (CountParents of text2).
inline int& ClassParents(NodeData& r) { return r.slot1; }
inline int ClassParents(const NodeData& r) { return r.slot1; }
// slot3 to slot5: public, protected and private methods.
inline int& ClassPublicMethods(NodeData& r) { return r.slot3; }
inline int ClassPublicMethods(const NodeData& r) { return r.slot3; }
inline int& ClassProtectedMethods(NodeData& r) { return r.slot4; }
inline int ClassProtectedMethods(const NodeData& r) { return r.slot4; }
inline int& ClassPrivateMethods(NodeData& r) { return r.slot5; }
inline int ClassPrivateMethods(const NodeData& r) { return r.slot5; }
// slot6 to slot8: public, protected and private attributes.
inline int& ClassPublicAttributes(NodeData& r) { return r.slot6; }
inline int ClassPublicAttributes(const NodeData& r) { return r.slot6; }
inline int& ClassProtectedAttributes(NodeData& r) { return r.slot7; }
inline int ClassProtectedAttributes(const NodeData& r) { return r.slot7; }
inline int& ClassPrivateAttributes(NodeData& r) { return r.slot8; }
inline int ClassPrivateAttributes(const NodeData& r) { return r.slot8; }
// slot9: 1 for a struct.
inline int& ClassIsStruct(NodeData& r) { return r.slot9; }
inline int ClassIsStruct(const NodeData& r) { return r.slot9; }
// slot10: 1 when the type is nested inside another type.
inline int& ClassIsNested(NodeData& r) { return r.slot10; }
inline int ClassIsNested(const NodeData& r) { return r.slot10; }
// slot11: 1 when the type holds nested types (its metrics include theirs).
inline int& ClassHoldsNested(NodeData& r) { return r.slot11; }
inline int ClassHoldsNested(const NodeData& r) { return r.slot11; }
inline int ClassMethods(const NodeData& r) { return r.slot3 + r.slot4 + r.slot5; }
inline int ClassAttributes(const NodeData& r) { return r.slot6 + r.slot7 + r.slot8; }

// Namespace and package records (gcd.lists.namespaces): the class slots above
// (metric sums, method and attribute sums, ratio = functions credited), plus
//   slot1      number of classes and structs credited to it
//   slot9      1 for a Java package
inline int& NamespaceClasses(NodeData& r) { return r.slot1; }
inline int NamespaceClasses(const NodeData& r) { return r.slot1; }
inline int& NamespaceIsPackage(NodeData& r) { return r.slot9; }
inline int NamespaceIsPackage(const NodeData& r) { return r.slot9; }

// Adds the line counts of one record to another's (loc to lines).
inline void AddLineSums(NodeData& to, const NodeData& from) {
  to.loc += from.loc;
  to.eloc += from.eloc;
  to.lloc += from.lloc;
  to.comments += from.comments;
  to.blanks += from.blanks;
  to.lines += from.lines;
}
// Adds the method and attribute counts of one type record to another's.
inline void AddMemberSums(NodeData& to, const NodeData& from) {
  ClassPublicMethods(to) += ClassPublicMethods(from);
  ClassProtectedMethods(to) += ClassProtectedMethods(from);
  ClassPrivateMethods(to) += ClassPrivateMethods(from);
  ClassPublicAttributes(to) += ClassPublicAttributes(from);
  ClassProtectedAttributes(to) += ClassProtectedAttributes(from);
  ClassPrivateAttributes(to) += ClassPrivateAttributes(from);
}
