// Members of a type: attributes and methods counted in the access section
// being read, their notices, and the -fm member listing.
#include <cstring>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "notices/notices.h"
#include "reports/format.h"
#include "structure/classes.h"

namespace {

int Section(const TypeState& t) {
  if (t.access[0]) return 0;
  if (t.access[1]) return 1;
  return 2;
}

// Java and C# give every member its own access word; a member without one
// is private.
void AfterMember(GlobalData& gcd) {
  if (gcd.lang.isJava || gcd.lang.isCSharp) ResetAccess(gcd);
}

struct MemberForms {
  const char* text;  // "  Class Data Public     :" and the like
  const char* xml;   // element name
};

constexpr MemberForms kDataForms[3] = {{"  Class Data Public     :", "data_public"},
                                       {"  Class Data Protected  :", "data_protected"},
                                       {"  Class Data Private    :", "data_private"}};
constexpr MemberForms kMethodForms[3] = {{"  Class Method Public   :", "method_public"},
                                         {"  Class Method Protected:", "method_protected"},
                                         {"  Class Method Private  :", "method_private"}};

void ListMember(const MemberForms& form, int lineNumber, const std::string& text, GlobalData& gcd) {
  switch (gcd.sw.outputMode) {
    case OutputMode::Xml:
      OutF("<%s>\n<lineno>%d</lineno>\n<line>%s</line>\n</%s>\n", form.xml, lineNumber, xml_encode(text.c_str()).c_str(),
           form.xml);
      break;
    case OutputMode::Html: {
      std::string escaped(6 * text.size() + 1, '\0');
      HTML_esc(text.c_str(), escaped.data());
      OutF("  <i>%s%6d | %s</i>\n", form.text + 2, lineNumber, escaped.c_str());
      break;
    }
    default:
      OutF("%s%6d | %s\n", form.text, lineNumber, text.c_str());
      break;
  }
}

bool MembersListed(const GlobalData& gcd) { return gcd.sw.classMethodAnnotation && !gcd.sw.totalsOnly; }

}  // namespace

void ClassAttribute(const char* declaration, int lineNumber, GlobalData& gcd) {
  StructureState& st = gcd.st;
  if (!st.class_flag || declaration == nullptr) return;
  if (st.typedefInStatement || st.friendInStatement || st.enumInStatement || gcd.eng.using_flag) return;
  TypeState& t = st.type;
  const int section = Section(t);
  t.attributes[section] += 1 + st.memberCommas;
  std::string line = declaration;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  const std::size_t lead = line.find_first_not_of(" \t");
  line.erase(0, lead == std::string::npos ? line.size() : lead);
  if (section == 0) EmitClassPublicDataNotice(line.c_str(), t.isStruct, gcd);
  else if (section == 1) EmitClassProtectedDataNotice(t.isStruct, gcd);
  if (!t.isStruct && line.find('*') != std::string::npos && line.find('=') == std::string::npos)
    EmitClassPointerDataNotice(gcd);
  if (MembersListed(gcd)) ListMember(kDataForms[section], lineNumber, line, gcd);
  AfterMember(gcd);
}

void ClassMethod(GlobalData& gcd) {
  StructureState& st = gcd.st;
  if (!st.class_flag) return;
  if (st.typedefInStatement || st.friendInStatement || gcd.eng.using_flag) return;
  TypeState& t = st.type;
  const int section = Section(t);
  t.methods[section] += 1;
  if (MembersListed(gcd)) ListMember(kMethodForms[section], gcd.drv.lineNumber, st.fn.name + st.fn.params, gcd);
  AfterMember(gcd);
}
