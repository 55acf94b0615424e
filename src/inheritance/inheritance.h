// Inheritance trees as the rest of the system sees them.
#pragma once

struct GlobalData;

// Written during analysis after a class head with a base list: the
// inheritance line, and notice 42 when the list names more than one base.
void EmitInheritanceLine(const char* className, const char* baseList, GlobalData& gcd);

// After the last file: builds the forest from the class records, resolves
// the lost children and merges duplicate roots.
void BuildInheritanceTree(GlobalData& gcd);
// Writes the class inheritance tree report (also fires notices 40 and 41).
void ReportInheritanceTree(GlobalData& gcd);
