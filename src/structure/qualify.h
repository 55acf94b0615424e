// Qualified names: the separator of the file's language and the prefixes
// that the open namespaces and types put in front of a name.
#pragma once

#include <string>
#include <string_view>

struct GlobalData;

// "::" in C and C++, "." in Java and C#.
const char* NameSeparator(const GlobalData& gcd);
// True for a letter, '_' or '~' at the start of the text.
bool StartsLikeName(std::string_view text);
// The last component of a qualified name (after its last "::" or '.'
// outside template arguments).
std::string_view LastComponent(std::string_view name);
// Appends text to name, keeping name within 2047 characters.
void AppendBounded(std::string& name, std::string_view text);
// A function name qualified with the open type or namespace.
void QualifyFunctionName(std::string& name, GlobalData& gcd);
// A type name qualified with the namespace and the open types around it.
void QualifyTypeName(std::string& name, GlobalData& gcd);
