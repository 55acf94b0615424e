// Namespaces and Java packages: opening, nesting and closing, and their records.
#include "structure/namespaces.h"

#include <cstring>
#include <string>

#include "common/gcd.h"
#include "structure/entity_records.h"
#include "common/output.h"
#include "reports/entity_lines.h"
#include "structure/entity_index.h"
#include "structure/structure_log.h"
#include "structure/qualify.h"

namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '~';
}

// The (possibly qualified) name after the keyword: A, A.B or A::B; empty for
// an anonymous namespace.
std::string NameAfter(const char* line, int pos) {
  int i = pos;
  for (;;) {
    while (line[i] == ' ' || line[i] == '\t') ++i;
    if (line[i] == '/' && line[i + 1] == '*') {
      const char* end = std::strstr(line + i + 2, "*/");
      if (end == nullptr) return {};
      i = static_cast<int>(end - line) + 2;
      continue;
    }
    break;
  }
  std::string name;
  while (name.size() < kTextMax) {
    const char c = line[i];
    if (IsNameChar(c)) {
      name += c;
      ++i;
    } else if (c == '.' && IsNameChar(line[i + 1])) {
      name += c;
      ++i;
    } else if (c == ':' && line[i + 1] == ':' && IsNameChar(line[i + 2])) {
      name += "::";
      i += 2;
    } else {
      break;
    }
  }
  if (!StartsLikeName(name)) name.clear();
  return name;
}

// Reports a newly opened namespace or package, counts it and makes sure its
// record exists.
void Opened(bool package, GlobalData& gcd) {
  const std::string& name = gcd.st.ns.name;
  if (!StartsLikeName(name)) return;
  EmitNamespace(1, gcd);
  ++(package ? gcd.eng.fc.packages : gcd.eng.fc.namespaces);
  EnsureNamespaceRecord(name, gcd.drv.currentFileName, gcd.drv.lineNumber, package, gcd);
}

}  // namespace

void PushNestedNamespace(GlobalData& gcd) {
  NamespaceState& ns = gcd.st.ns;
  ++ns.depth;
  if (ns.depth <= kMaxSavedNamespaces) ns.saved[static_cast<std::size_t>(ns.depth - 1)] = ns.name;
  ns.name.clear();
  ns.scope_flag = 1;
}

int PopNestedNamespace(GlobalData& gcd) {
  NamespaceState& ns = gcd.st.ns;
  if (ns.depth <= 0) {
    OutF("\n  Error: Nested Class indexing\n");
    ns.depth = 0;
    return 0;
  }
  // Levels beyond the saved frames only decrement the depth.
  if (ns.depth <= kMaxSavedNamespaces) ns.name = std::move(ns.saved[static_cast<std::size_t>(ns.depth - 1)]);
  ns.scope_flag = 1;
  return --ns.depth;
}

void NamespaceKeyword(const char* line, int pos, GlobalData& gcd) {
  NamespaceState& ns = gcd.st.ns;
  ns.pending = 1;
  ns.pendingName = NameAfter(line, pos);
}

void PackageKeyword(const char* line, int pos, GlobalData& gcd) {
  NamespaceState& ns = gcd.st.ns;
  std::string name = NameAfter(line, pos);
  if (name.empty() || ns.packageOpen) return;
  ns.name = std::move(name);
  ns.scope_flag = 1;
  ns.packageOpen = 1;
  Opened(true, gcd);
}

void OpenNamespaceBody(GlobalData& gcd) {
  NamespaceState& ns = gcd.st.ns;
  std::string token = std::move(ns.pendingName);
  const bool named = !token.empty();
  ns.pending = 0;
  ns.pendingName.clear();
  if (ns.open > 0) {
    std::string enclosing = ns.name;
    PushNestedNamespace(gcd);
    // An anonymous namespace inside another keeps the enclosing name.
    if (token.empty() || enclosing.empty()) {
      ns.name = enclosing.empty() ? token : enclosing;
    } else {
      ns.name = enclosing;
      AppendBounded(ns.name, NameSeparator(gcd));
      AppendBounded(ns.name, token);
    }
  } else {
    ns.name = std::move(token);
    ns.scope_flag = 1;
  }
  ++ns.open;
  if (named) Opened(false, gcd);
}

void CloseNamespaceBody(GlobalData& gcd) {
  NamespaceState& ns = gcd.st.ns;
  // "Nested" follows the depth at the time of the line: write before the pop.
  if (StartsLikeName(ns.name)) EmitNamespace(0, gcd);
  if (ns.depth > 0) {
    PopNestedNamespace(gcd);
  } else {
    ns.name.clear();
    ns.scope_flag = ns.packageOpen;
  }
  if (ns.open > 0) --ns.open;
}

void CloseFileScopedNamespace(GlobalData& gcd) {
  NamespaceState& ns = gcd.st.ns;
  if (!ns.packageOpen) return;
  if (StartsLikeName(ns.name)) EmitNamespace(0, gcd);
  ns = NamespaceState{};
}

void OpenFileScopedNamespace(GlobalData& gcd) {
  NamespaceState& ns = gcd.st.ns;
  std::string name = std::move(ns.pendingName);
  ns.pending = 0;
  ns.pendingName.clear();
  if (name.empty() || ns.packageOpen || ns.open > 0) return;
  ns.name = std::move(name);
  ns.scope_flag = 1;
  ns.packageOpen = 1;
  Opened(false, gcd);
}
