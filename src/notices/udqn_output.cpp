// The report text of user defined notices: the verbose and single-line forms
// of a fired notice, message expansion, the definition listing of
// -xUDQNSHOW, the UDQN file lines of the report head and of the -hn screen.
#include <string>
#include <string_view>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/exit.h"
#include "notices/notice_emit.h"
#include "notices/udqn.h"
#include "notices/udqn_internal.h"
#include "reports/format.h"

namespace {

bool Html(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Html; }
bool Csv(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Csv; }

void AppendHtml(std::string& out, std::string_view text) {
  for (char c : text) {
    const char one[2] = {c, '\0'};
    char escaped[8];
    out += HTML_esc(one, escaped);
  }
}

std::string HtmlText(std::string_view text) {
  std::string out;
  AppendHtml(out, text);
  return out;
}

// The text as the output mode shows it: escaped in HTML and XML, without
// commas in CSV (which the message and summary must not split).
std::string ModeText(std::string_view text, const GlobalData& gcd, char csvComma) {
  if (Html(gcd)) return HtmlText(text);
  if (gcd.sw.outputMode == OutputMode::Xml) return XmlEncodeText(std::string(text).c_str());
  std::string out(text);
  if (Csv(gcd))
    for (std::size_t i = 0; i < out.size();) {
      if (out[i] != ',') ++i;
      else if (csvComma != '\0') out[i++] = csvComma;
      else out.erase(i, 1);
    }
  return out;
}

// The names of the open function and class, empty when none is open.
std::string_view OpenFunctionName(const GlobalData& gcd) {
  return gcd.st.functionScopeOpen ? std::string_view(gcd.st.fn.name) : std::string_view();
}
std::string_view OpenClassName(const GlobalData& gcd) {
  return gcd.st.class_flag ? std::string_view(gcd.st.type.name) : std::string_view();
}

// The line as _LINE_ shows it: without its line end.
std::string_view LineWithoutEnd(const char* line) {
  std::string_view text = line != nullptr ? line : "";
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

struct Placeholder {
  std::string_view token;
  int which;
};
constexpr Placeholder kPlaceholders[] = {
    {"_FILE_", 0}, {"_FUNC_", 1}, {"_CLASS_", 2}, {"_LINE#_", 3}, {"_LINE_", 4},
};

// The value of a placeholder, or the example value while definitions are shown.
std::string PlaceholderValue(int which, const char* line, const GlobalData& gcd) {
  const bool show = gcd.udqn.showing != 0;
  switch (which) {
    case 0:
      if (show) return "ExampleFileName.c";
      return gcd.drv.currentFileName != nullptr ? gcd.drv.currentFileName : "";
    case 1: return show ? "SomeExampleFunction" : std::string(OpenFunctionName(gcd));
    case 2: return show ? "SomeExampleClass" : std::string(OpenClassName(gcd));
    case 3: return show ? "127" : std::to_string(gcd.drv.lineNumber);
    default: return show ? "Some Example Source Code Line;" : std::string(LineWithoutEnd(line));
  }
}

void WriteFlags(const char* label, const UdqnFlagList& flags) {
  std::string text;
  for (std::size_t i = 0; i < flags.size(); ++i) {
    if (i > 0) text += ", ";
    text += std::to_string(flags[i]);
  }
  OutF("%s%s\n", label, text.c_str());
}

const char* YesNo(int v) { return v ? "Yes" : "No"; }

constexpr const char* kContextNames[] = {"Unknown", "Line", "Code", "Comment", "String"};

}  // namespace

std::string udqn_mode_text(std::string_view text, const GlobalData& gcd) {
  if (Html(gcd)) return HtmlText(text);
  if (gcd.sw.outputMode == OutputMode::Xml) return XmlEncodeText(std::string(text).c_str());
  return std::string(text);
}

void emit_message(const std::string& message, const char* line, GlobalData& gcd) {
  const bool html = Html(gcd);
  std::string out;
  std::string_view rest(message);
  while (!rest.empty()) {
    if (rest.starts_with("\\n")) {
      out += "\n           ";
      rest.remove_prefix(2);
      continue;
    }
    const Placeholder* hit = nullptr;
    if (rest.front() == '_')
      for (const Placeholder& p : kPlaceholders)
        if (rest.starts_with(p.token)) {
          hit = &p;
          break;
        }
    if (hit != nullptr) {
      const std::string value = PlaceholderValue(hit->which, line, gcd);
      if (html) out += "<b>" + HtmlText(value) + "</b>";
      else out += ModeText(value, gcd, '\0');
      rest.remove_prefix(hit->token.size());
      continue;
    }
    out += ModeText(rest.substr(0, 1), gcd, '\0');
    rest.remove_prefix(1);
  }
  out += "\n";
  OutS(out.c_str());
}

void emit_udqn_verbose(const UdqnDefinition& def, const char* line, GlobalData& gcd) {
  if (Html(gcd))
    OutF("\n    <font color=\"%s\"><b>Notice</b></font> #%d: ", gcd.cfg.htmlNoticeColor.c_str(), def.id);
  else
    OutF("\n    Notice #%d: ", def.id);
  emit_message(def.message, line, gcd);
}

void emit_udqn_lite(const UdqnDefinition& def, GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  const char* file = gcd.drv.currentFileName != nullptr ? gcd.drv.currentFileName : "";
  const int line = gcd.drv.lineNumber;
  if (sw.noticeVisualStudio) {
    // Escaped inside an HTML or XML document, as the built-in notices are.
    OutF("%s(%d) : Notice #%-4d - %s\n", udqn_mode_text(file, gcd).c_str(), line, def.id,
         udqn_mode_text(def.summary, gcd).c_str());
  } else {
    switch (sw.outputMode) {
      case OutputMode::Html:
        OutF("  <font color=%s>Notice</font> <b>#%4d</b>: Line <b>%d</b>, %s\n", gcd.cfg.htmlNoticeColor.c_str(),
             def.id, line, HtmlText(def.summary).c_str());
        break;
      case OutputMode::Csv:
        OutF("Notice #,%4d,Line,%d,%s\n", def.id, line, ModeText(def.summary, gcd, ' ').c_str());
        break;
      case OutputMode::Xml:
        if (!sw.noFileNames)
          OutF("<notice>\n<type>%d</type>\n<line>%d</line>\n<description>%s</description></notice>\n", def.id, line,
               XmlEncodeText(def.summary.c_str()).c_str());
        break;
      case OutputMode::Text:
        OutF("  Notice #%4d: Line %d, %s\n", def.id, line, def.summary.c_str());
        break;
    }
  }
  AddNameNode(file, static_cast<unsigned>(line), static_cast<unsigned>(def.id), NoticeOccurrenceList(gcd), 0, gcd);
}

void UdqnShow(const UdqnDefinition& def, GlobalData& gcd) {
  auto text = [&gcd](const std::string& s) { return udqn_mode_text(s, gcd); };
  OutS("\n  #------------------------------------------------------\n");
  OutF("  UDQN Id      : %d\n", def.id);
  OutF("  Active       : %s\n", YesNo(def.active));
  std::string sources;
  for (const std::string& source : def.sources) sources += source + " ";
  OutF("  Sources      : %s\n", text(sources).c_str());
  OutF("  Context      : %s\n", kContextNames[def.context >= kUdqnUnknown && def.context <= kUdqnString ? def.context : 0]);
  OutF("  Pattern      : %s\n", text(def.pattern).c_str());
  WriteFlags("  Set Flags    : ", def.setFlags);
  WriteFlags("  Check Flags  : ", def.checkFlags);
  WriteFlags("  !Check Flags : ", def.notCheckFlags);
  WriteFlags("  Clear Flags  : ", def.clearFlags);
  OutF("  Emit EOF Flag: %s\n", YesNo(def.emitAtEof));
  OutF("  Silent Flag  : %s\n", YesNo(def.silent));
  OutF("  Compile      : %s\n", text(def.compileStatus).c_str());
  OutF("  String       : %s\n", text(def.testString).c_str());
  OutF("  Test         : %s\n", text(def.testResult).c_str());
  OutF("  Count        : %d\n", def.hits);
  OutF("  Summary      : %s\n", text(def.summary).c_str());
  OutF("  Message      : %s\n", text(def.message).c_str());
  OutS("  Formated     : \n");
  emit_message(def.message, nullptr, gcd);
}

void udqn_announce_file(const std::string& path, int include, GlobalData& gcd) {
  const char* name = path.c_str();
  const char* color = gcd.cfg.htmlHeaderColor.c_str();
  switch (gcd.sw.outputMode) {
    case OutputMode::Html: {
      const std::string escaped = HtmlText(path);
      if (include) OutF("  <b><font color=\"%s\">UDQN Inc. File</font></b>: %s\n", color, escaped.c_str());
      else OutF("  <b><font color=\"%s\">UDQN File</font></b>   : %s\n", color, escaped.c_str());
      break;
    }
    case OutputMode::Xml: {
      // The included file's element is well formed (same tag at both ends)
      // and ends its line like every other element.
      const std::string escaped = XmlEncodeText(name);
      if (include) OutF("<UDQN_include_file>%s</UDQN_include_file>\n", escaped.c_str());
      else OutF("<udqn_file>%s</udqn_file>\n", escaped.c_str());
      break;
    }
    case OutputMode::Csv:
      if (include) OutF("UDQN Inc. File: %s\n", name);
      else OutF("UDQN File,%s\n", name);
      break;
    case OutputMode::Text: {
      char wrapped[kTextBuf];
      AdjNameLength(name, wrapped, 61, 13, gcd);
      if (include) OutF("  UDQN Inc. File: %s\n", wrapped);
      else OutF("  UDQN File   : %s\n", wrapped);
      break;
    }
  }
}

void udqn_header_load(GlobalData& gcd) {
  UdqnState& u = gcd.udqn;
  if (!gcd.sw.qualityNotices || u.loaded) return;
  const std::string file = udqn_file_path(gcd);
  if (file.empty()) {
    if (!gcd.sw.udqnShow) return;
    OutF("\n  Error: No User Defined Quality Notice file is configured\n"
         "         Set \"LQA user defined quality notice file\" in %s\n\n",
         udqn_mode_text(gcd.drv.cfgFile, gcd).c_str());
    ExitRun(1, gcd);  // closes the HTML page or the XML document
  }
  u.loaded = 1;
  load_udqn_file(file.c_str(), gcd);
  if (!gcd.sw.udqnShow) return;
  u.showing = 1;
  for (const auto& def : u.definitions) UdqnShow(*def, gcd);
  free_udqn(gcd);
  ExitRun(1, gcd);
}

void udqn_notice_types(GlobalData& gcd) {
  UdqnState& u = gcd.udqn;
  const std::string file = udqn_file_path(gcd);
  OutF("  UDQN File   : %s\n", Html(gcd) ? HtmlText(file).c_str() : file.c_str());
  OutF("  PCRE Version: %s\n", udqn_pcre_version());
  if (!u.loaded && !file.empty()) {
    u.loaded = 1;
    load_udqn_file(file.c_str(), gcd);
  }
  for (const auto& def : u.definitions)
    if (def->summary.size() > 1)
      OutF("  Notice %-4d: [%3s] %s\n", def->id, def->active ? "On" : "Off",
           Html(gcd) ? HtmlText(def->summary).c_str() : def->summary.c_str());
}

const char* UdqnSummary(int id, const GlobalData& gcd) {
  const UdqnDefinition* def = get_udqn_ptr(id, gcd.udqn);
  return def != nullptr ? def->summary.c_str() : nullptr;
}
