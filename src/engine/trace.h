// The per-line traces of -d and -wD and the separator lines between notices.
#pragma once

#include "engine/engine_state.h"

struct GlobalData;
// Writes the -d LOC trace or the -wD differential trace for one line, once its
// flags are final; does nothing when neither trace is on.
void ShowLineTrace(const char* line, int lineNumber, const LineFlags& flags, GlobalData& gcd);
// The numeric line code used by the work differentials.
double LineCode(const char* line, GlobalData& gcd);
// Prints one separator line; returns the number of characters written.
int ShowStateLine(int lineNumber, const char* label);
