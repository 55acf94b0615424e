// Roll-up of functions and classes into the namespace or package that holds
// them, done by the project listings while they total their lists.
#include "structure/namespace_rollup.h"

#include <string>

#include "common/gcd.h"
#include "structure/entity_records.h"
#include "structure/entity_index.h"

void Add_Func2namespace(const NodeData& function, GlobalData& gcd) {
  const std::string& name = function.name;
  const std::size_t pair = name.find("::");
  if (pair == std::string::npos) return;
  // Exactly one "::" and no other ':'.
  if (name.find(':', pair + 2) != std::string::npos || name.find(':') != pair) return;
  NodeData* ns = FindNamespaceRecord(name.substr(0, pair), gcd);
  if (ns == nullptr) return;
  AddLineSums(*ns, function);
  ns->parameters += function.parameters;
  ns->state += FuncReturns(function);
  ns->cyclomatic += function.cyclomatic;
  ns->ratio += 1.0f;
}

void Add_Class2namespace(const NodeData& cls, GlobalData& gcd) {
  std::string name = cls.name;
  if (name.rfind("Interface-", 0) == 0) name.erase(0, 10);
  // The longest prefix, cut at a '.' or a "::", that names a known namespace.
  NodeData* ns = nullptr;
  for (std::size_t i = name.size(); i > 0 && ns == nullptr; --i) {
    const char c = name[i - 1];
    if (c != '.' && c != ':') continue;
    std::size_t cut = i - 1;
    if (c == ':' && cut > 0 && name[cut - 1] == ':') --cut;
    ns = FindNamespaceRecord(name.substr(0, cut), gcd);
    i = cut + 1;
  }
  if (ns == nullptr || ns->name == "Anonymous") return;
  NamespaceClasses(*ns) += 1;
  if (ClassIsNested(cls)) return;  // its metrics are inside its enclosing class already
  AddLineSums(*ns, cls);
  ns->parameters += cls.parameters;
  ns->state += ClassReturns(cls);
  ns->cyclomatic += cls.cyclomatic;
  ns->ratio += ClassFunctions(cls);
  AddMemberSums(*ns, cls);
}
