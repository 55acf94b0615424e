// Placeholder until namespace recognition lands: nothing is rolled up.
#include "structure/namespace_rollup.h"

void Add_Func2namespace(const NodeData&, GlobalData&) {}
void Add_Class2namespace(const NodeData&, GlobalData&) {}
