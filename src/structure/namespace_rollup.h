// Roll-up of functions and classes into the namespace or package that holds
// them; the project listings call these while they total their lists.
#pragma once

#include "common/records.h"

struct GlobalData;

// Adds a function record to the namespace named by the part of its name
// before its one "::" (names with no or more "::" add nothing).
void Add_Func2namespace(const NodeData& function, GlobalData& gcd);
// Adds a class record to the longest known namespace that prefixes its name.
void Add_Class2namespace(const NodeData& cls, GlobalData& gcd);
