// Function points derived from LOC, eLOC or lLOC for the current language.
#pragma once

struct GlobalData;
// kind: 0 LOC, 1 eLOC, 2 lLOC.
double GetFP(int count, int kind, GlobalData& gcd);
