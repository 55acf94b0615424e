// Classes, structs and interfaces: their heads, the stack of nested types,
// their members and their report lines.
#pragma once

#include <string>

struct GlobalData;

// Reads the type name that follows the keyword at index of line into the
// type head (name-pending when the line holds none).
void GetClassname(const char* line, int index, GlobalData& gcd);
// Compacts a template head or argument list in place:
// "template <class K, typename V>" becomes "template<K,V>".
std::string& FormatTemplateLine(std::string& text);
// Normalises a base list in place: access words and blanks go, a Java head
// keeps only its extends list, a C# head loses its where constraints.
std::string& FormatInheritline(std::string& text, GlobalData& gcd);
// The number of base types of a normalised base list.
int CountParents(const std::string& bases);

// The stack of nested types: save the current type and start a fresh one;
// restore the enclosing one.
void PushNestedClass(GlobalData& gcd);
void PopNestedClass(GlobalData& gcd);
// The type's header lines when its body opens (with notices shown) and its
// closing line.
void ClassBegin(GlobalData& gcd);
void ClassEnd(GlobalData& gcd);
// One data member or one method in the current access section.
void ClassAttribute(const char* declaration, int lineNumber, GlobalData& gcd);
void ClassMethod(GlobalData& gcd);
// A closed nested type's member counts go to the type that encloses it (its
// lines are inside the enclosing body already).
void Add_Class2Class(GlobalData& gcd);

// Engine steps of a type: its body opens at '{' and closes at '}'.
void OpenClassBody(int lineNumber, GlobalData& gcd);
void CloseClassBody(int lineNumber, GlobalData& gcd);
// The access section a type starts in, and after each Java or C# member.
void ResetAccess(GlobalData& gcd);
// An access word switches the section (public 0, protected 1, private 2).
void SetAccess(int section, GlobalData& gcd);
