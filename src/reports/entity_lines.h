// The lines written about a function, class or namespace while a file is
// analysed: identification lines, the function metric block and its
// cyclomatic complexity detail.
#pragma once

struct GlobalData;
struct FunctionMetrics;

// The current function's identification lines (listing form with -l).
void EmitFunction(GlobalData& gcd);
// The metric block of a function that has just closed (one CSV function
// line with -C -fa).
void ShowFunction(const FunctionMetrics& m, GlobalData& gcd);
// The cyclomatic complexity detail of the current function's counters.
void ComplexDetails(int cyclomatic, GlobalData& gcd);
// The current type's identification lines.
void EmitClass(GlobalData& gcd);
// The current namespace's or package's begin (begin = 1) or end line.
void EmitNamespace(int begin, GlobalData& gcd);
