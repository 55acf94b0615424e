// The estimation report of -e: lines of code per function, parameter,
// return point and unit of complexity over the project's functions.
#pragma once

struct GlobalData;
void ShowEstimation(GlobalData& gcd);
