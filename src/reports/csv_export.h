// CSV detail lines of the data exports.
#pragma once

#include <cstdio>

struct GlobalData;

// One CSV function line, or with totals set the function totals rows.
void CSV_Function_Line(FILE* stream, const char* name, const char* parameters, int loc, int eloc, int lloc,
                       int comments, int blanks, int lines, int functions, int parameterCount, int returns,
                       int cyclomatic, int totals, GlobalData& gcd);
