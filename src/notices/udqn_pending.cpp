// Placeholder until user defined quality notices land: none is loaded.
#include "notices/udqn.h"

const char* UdqnSummary(int, GlobalData&) { return nullptr; }
void udqn_profile(int, GlobalData&) {}
