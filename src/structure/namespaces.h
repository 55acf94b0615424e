// Namespaces and Java packages: the stack of open namespaces and the name
// that functions and types are qualified with.
#pragma once

struct GlobalData;

// Enters a nested namespace (saves the current one) and leaves it again;
// PopNestedNamespace returns the new depth.
void PushNestedNamespace(GlobalData& gcd);
int PopNestedNamespace(GlobalData& gcd);

// The keyword namespace whose word ends at pos: its name is read and the
// next '{' opens its body (a C# file-scoped namespace opens at once).
void NamespaceKeyword(const char* line, int pos, GlobalData& gcd);
// The Java package statement whose keyword ends at pos: open to end of file.
void PackageKeyword(const char* line, int pos, GlobalData& gcd);
// A C# namespace statement ended by ';': open to end of file.
void OpenFileScopedNamespace(GlobalData& gcd);
// The '{' of a pending namespace and the '}' that closes its body.
void OpenNamespaceBody(GlobalData& gcd);
void CloseNamespaceBody(GlobalData& gcd);
// End of file: a package or file-scoped namespace still open ends here.
void CloseFileScopedNamespace(GlobalData& gcd);
