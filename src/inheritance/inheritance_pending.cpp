// Placeholder until the inheritance forest lands: nothing is written.
#include "inheritance/inheritance.h"

void EmitInheritanceLine(const char*, const char*, GlobalData&) {}
void BuildInheritanceTree(GlobalData&) {}
void ReportInheritanceTree(GlobalData&) {}
