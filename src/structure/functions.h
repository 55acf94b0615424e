// Function recognition: the name and parameters of a function head, and the
// report lines and roll-up of a function body.
#pragma once

#include <string>

struct GlobalData;
struct NodeData;

// Extracts the function name that ends before the parenthesis at index of
// text: operators, destructors, templates, qualified names, declarators and
// macros that decorate the head are handled. On acceptance the qualified
// name is current and funcname_flag is set. Returns the index of the
// parameter list's parenthesis (moved for declarators and operator()).
int GetFunction(const char* text, int index, GlobalData& gcd);
// 1 when the current function name is acceptable for a (non-)operator head.
int ValFunctionName(GlobalData& gcd, int isOperator);
// 1 when no character up to the end (NUL or line feed) is a lower-case letter.
int IsUpperCase(const char* s);
// Normalises a collected parameter text in place: cut at the body and at an
// initializer list, white space compacted, ended after its last ')'.
std::string& packParams(std::string& params, const std::string& name, GlobalData& gcd);
// The number of parameters of a packed parameter text.
int countParams(const std::string& packed);
// Prefixes "Interface-" (the result at most 2047 characters).
std::string& SetInterface(std::string& name);

// The current function's header lines when its body opens (with notices
// shown) and its closing header line.
void FunctionBegin(GlobalData& gcd);
void FunctionEnd(GlobalData& gcd);

// The metrics a closed function hands to the classes that own it.
struct FunctionMetrics {
  int loc = 0, eloc = 0, lloc = 0, comments = 0, blanks = 0, lines = 0;
  int cyclomatic = 0, parameters = 0, returns = 0;
};
// Adds the function's metrics to the record of the class that owns it and of
// each class that encloses it (only complexity, parameters and returns for a
// function defined inside its class body, whose lines count there already).
void Add_Func2Class(const std::string& functionName, const FunctionMetrics& m, int inClassBody, GlobalData& gcd);
// The roll-up itself, made at once or, for a file analysed by a worker, at its merge.
struct FunctionCredit;
void ApplyFunctionCredit(const FunctionCredit& credit, GlobalData& gcd);

// Engine steps of a function: its body opens at '{', closes at '}'.
void OpenFunctionBody(int lineNumber, GlobalData& gcd);
void CloseFunctionBody(int lineNumber, GlobalData& gcd);
// Forgets the function head being read (a prototype, or no function at all).
void DropFunctionHead(GlobalData& gcd);
