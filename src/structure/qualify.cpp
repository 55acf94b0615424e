// Qualification of function and type names with the open namespace and types.
#include "structure/qualify.h"

#include "common/gcd.h"
#include "engine/lexical.h"

const char* NameSeparator(const GlobalData& gcd) { return gcd.lang.isJava || gcd.lang.isCSharp ? "." : "::"; }

bool StartsLikeName(std::string_view text) { return !text.empty() && isfirstchar(text[0]); }

std::string_view LastComponent(std::string_view name) {
  int angle = 0;
  for (std::size_t i = name.size(); i > 0; --i) {
    const char c = name[i - 1];
    if (c == '>') ++angle;
    else if (c == '<' && angle > 0) --angle;
    else if (angle == 0 && (c == '.' || c == ':')) return name.substr(i);
  }
  return name;
}

void AppendBounded(std::string& name, std::string_view text) {
  if (name.size() >= kTextMax) return;
  name.append(text.substr(0, kTextMax - name.size()));
}

namespace {

std::string Joined(std::string_view prefix, const char* separator, std::string_view name) {
  std::string out;
  AppendBounded(out, prefix);
  AppendBounded(out, separator);
  AppendBounded(out, name);
  return out;
}

}  // namespace

void QualifyFunctionName(std::string& name, GlobalData& gcd) {
  const StructureState& st = gcd.st;
  const bool inType = st.class_flag && StartsLikeName(st.type.name);
  const bool inNamespace = st.ns.scope_flag && StartsLikeName(st.ns.name);
  if (!inType && !inNamespace) return;
  const char* separator = NameSeparator(gcd);
  if (name.find(':') == std::string::npos) {
    name = Joined(inType ? st.type.name : st.ns.name, separator, name);
    return;
  }
  // A qualified name stays when it starts with the namespace itself.
  if (!inNamespace) return;
  if (std::string_view(name).substr(0, name.find(':')) == st.ns.name) return;
  name = Joined(st.ns.name, separator, name);
}

void QualifyTypeName(std::string& name, GlobalData& gcd) {
  if (!StartsLikeName(name)) return;
  const StructureState& st = gcd.st;
  const char* separator = NameSeparator(gcd);
  std::string prefix;
  const bool inNamespace = st.ns.scope_flag && !st.ns.name.empty();
  // Qualified already when "::" or '.' stands outside template arguments.
  const std::string_view plain = std::string_view(name).substr(0, name.find('<'));
  const bool qualified = plain.find("::") != std::string_view::npos || plain.find('.') != std::string_view::npos;
  if (inNamespace && !qualified) {
    AppendBounded(prefix, st.ns.name);
    AppendBounded(prefix, separator);
  }
  // Each open type, outermost first, adds its last component.
  if (st.class_flag) {
    for (const TypeState& t : st.savedTypes) {
      AppendBounded(prefix, LastComponent(t.name));
      AppendBounded(prefix, separator);
    }
    AppendBounded(prefix, LastComponent(st.type.name));
    AppendBounded(prefix, separator);
  }
  if (prefix.empty()) return;
  AppendBounded(prefix, name);
  name.swap(prefix);
}
