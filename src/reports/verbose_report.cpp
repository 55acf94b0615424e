// Verbose keyword and line metrics of a file or of the project.
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/project_reports.h"
#include "reports/report_text.h"

namespace {

struct VerboseValues {
  const FileCounts& c;
  int eloc, lloc, logical;
  double code, ecode, comment, blank;  // shares of the logical lines
  bool hasLogical;
  double characters, spaces;           // shares of all characters
  int charsPerLine;

  explicit VerboseValues(const FileCounts& counts) : c(counts) {
    eloc = Eloc(c);
    lloc = Lloc(c);
    logical = LogicalLines(c);
    hasLogical = logical > 0;
    code = Quotient(c.loc, logical) * 100.0;
    ecode = Quotient(eloc, logical) * 100.0;
    comment = Quotient(c.comment, logical) * 100.0;
    blank = Quotient(c.blank, logical) * 100.0;
    characters = Quotient(c.characters - c.whitespace, c.characters) * 100.0;
    spaces = Quotient(c.whitespace, c.characters) * 100.0;
    const int nonBlank = c.loc + c.comment;
    charsPerLine = nonBlank > 0 ? (c.characters - c.whitespace) / nonBlank : 0;
  }
};

// The two-column block of text and HTML: the left column is 37 wide.
class Columns {
 public:
  explicit Columns(GlobalData& gcd) : gcd_(gcd), html_(IsHtml(gcd)) {}
  void Section(const char* left, const char* word, const char* right) {
    if (html_)
      OutF("  <b>%s <font color=\"%s\">%s</font> %s</b>", left, Colour(), word, right);
    else
      OutF("  %s %s %s", left, word, right);
  }
  void One(const char* label, int value) { OutF("%s%12d", Label(label, gcd_).c_str(), value); }
  void Two(const char* label, int a, int b) { OutF("%s%6d,%5d", Label(label, gcd_).c_str(), a, b); }
  void RightTwo(const char* label, int a, int b) { OutF("%s%6d,%6d\n", Label(label, gcd_).c_str(), a, b); }
  void RightThree(const char* label, int a, int b, int c) {
    OutF("%s%6d,%3d,%2d\n", Label(label, gcd_).c_str(), a, b, c);
  }
  void RightPercent(const char* label, double a, double b) {
    OutF("%s%5.1f%%,%5.1f%%\n", Label(label, gcd_).c_str(), a, b);
  }
  const char* Colour() const { return gcd_.cfg.htmlHeaderColor.c_str(); }

 private:
  GlobalData& gcd_;
  bool html_;
};

void TextBlock(const VerboseValues& v, GlobalData& gcd) {
  const FileCounts& c = v.c;
  Columns col(gcd);
  OutS("\n");
  col.Section("---------------", "LOC", "---------------");
  col.RightTwo("  case, break .........:", c.cases, c.breaks);
  col.One("  Lines of Code (LOC) .: ", c.loc);
  col.RightTwo("  if, else ............:", c.ifs, c.elses);
  col.One("  Lines of just { or } : ", c.braceOnlyLines);
  col.RightTwo("  goto, return ........:", c.gotos, c.returns);
  col.One("  Lines of just (or)   : ", c.parenOnlyLines);
  col.RightThree("  exit, _exit, abort ..:", c.exits, c.underscoreExits, c.aborts);
  col.One("  Effective LOC (eLOC) : ", v.eloc);
  col.RightThree("  macros, struct, union:", c.macros, c.structs, c.unions);
  col.One("  Code Statement (lLOC): ", v.lloc);
  col.RightTwo("  class, interface ....:", c.classes, c.interfaces);
  col.Section("--------------", "Lines", "--------------");
  col.RightTwo("  template, friend ....:", c.templates, c.friends);
  col.One("  Blank Lines .........: ", c.blank);
  col.RightTwo("  namespace, package ..:", c.namespaces, c.packages);
  col.One("  Comment Lines .......: ", c.comment);
  if (c.functions > 0)
    col.RightThree("  func, virtual, inline:", c.functions, c.virtuals, c.inlines);
  else
    OutF("%s %12d\n", Label("  inline ..............:", gcd).c_str(), c.inlines);
  col.One("  Total Logical Lines .: ", v.logical);
  col.RightTwo("  Memory alloc, free ..:", c.allocs, c.frees);
  col.One("  Total Physical Lines : ", c.physical);
  col.RightTwo("  Memory new, delete ..:", c.news, c.deletes);
  col.Section("------------", "Key Words", "------------");
  col.Section("-------------", "Analysis", "------------");
  OutS("\n");
  col.One("  Literal Strings .....: ", c.strings);
  OutF("%s%13d\n", Label("  Continuation Lines \\.:", gcd).c_str(), c.continuation);
  col.One("  Preprocessor Lines #.: ", c.preprocessor);
  col.RightTwo("  Paren Count (,) .....:", c.parenOpen, c.parenClose);
  col.Two("  #include, import ....: ", c.include, c.import);
  col.RightTwo("  Brace Count {,} .....:", c.braceOpen, c.braceClose);
  col.Two("  #define, typedef ....: ", c.defineCount, c.typedefs);
  col.RightTwo("  Bracket Count [,] ...:", c.bracketOpen, c.bracketClose);
  col.Two("  const, enum .........: ", c.consts, c.enums);
  col.RightTwo("  Chars/NBLine, Notices:", v.charsPerLine, c.notices);
  col.Two("  do, while ...........: ", c.dos, c.whiles);
  col.RightPercent("  Code, eCode Lines ...:", v.code, v.ecode);
  col.Two("  switch, default .....: ", c.switches, c.defaults);
  col.RightPercent("  Comment, Blank Lines :", v.comment, v.blank);
  col.One("  for .................: ", c.fors);
  col.RightPercent("  Characters, Spaces ..:", v.characters, v.spaces);
}

// One value of the XML and CSV forms.
struct Item {
  const char* name;
  double value;
  enum Form { Count, Percent, LinePercent } form;
};

std::vector<Item> Items(const VerboseValues& v) {
  const FileCounts& c = v.c;
  return {
      {"loc_count", double(c.loc), Item::Count},
      {"braceline_count", double(c.braceOnlyLines), Item::Count},
      {"parenline_count", double(c.parenOnlyLines), Item::Count},
      {"eLOC_count", double(v.eloc), Item::Count},
      {"lLOC_count", double(v.lloc), Item::Count},
      {"comment_lines_count", double(c.comment), Item::Count},
      {"blank_lines_count", double(c.blank), Item::Count},
      {"total_logical_lines_count", double(v.logical), Item::Count},
      {"total_physical_lines_count", double(c.physical), Item::Count},
      {"loc_percent_logical_lines", v.code, Item::LinePercent},
      {"eloc_percent_logical_lines", v.ecode, Item::LinePercent},
      {"comment_line_percentage_logical_lines", v.comment, Item::LinePercent},
      {"blank_line_percentage_logical_lines", v.blank, Item::LinePercent},
      {"chars_per_nonblank_line", double(v.charsPerLine), Item::Count},
      {"namespace_count", double(c.namespaces), Item::Count},
      {"package_count", double(c.packages), Item::Count},
      {"class_count", double(c.classes), Item::Count},
      {"interface_count", double(c.interfaces), Item::Count},
      {"functions_count", double(c.functions), Item::Count},
      {"virtual_function_count", double(c.virtuals), Item::Count},
      {"inline_function_count", double(c.inlines), Item::Count},
      {"template_count", double(c.templates), Item::Count},
      {"friend_count", double(c.friends), Item::Count},
      {"macros_count", double(c.macros), Item::Count},
      {"struct_count", double(c.structs), Item::Count},
      {"union_count", double(c.unions), Item::Count},
      {"memory_alloc_count", double(c.allocs), Item::Count},
      {"memory_free_count", double(c.frees), Item::Count},
      {"memory_new_count", double(c.news), Item::Count},
      {"memory_delete_count", double(c.deletes), Item::Count},
      {"literal_strings_count", double(c.strings), Item::Count},
      {"continuation_lines_count", double(c.continuation), Item::Count},
      {"preprocessor_lines_count", double(c.preprocessor), Item::Count},
      {"include_count", double(c.include), Item::Count},
      {"import_count", double(c.import), Item::Count},
      {"define_count", double(c.defineCount), Item::Count},
      {"typedef_count", double(c.typedefs), Item::Count},
      {"const_count", double(c.consts), Item::Count},
      {"enum_count", double(c.enums), Item::Count},
      {"open_bracket_count", double(c.bracketOpen), Item::Count},
      {"close_bracket_count", double(c.bracketClose), Item::Count},
      {"open_brace_count", double(c.braceOpen), Item::Count},
      {"close_brace_count", double(c.braceClose), Item::Count},
      {"open_paren_count", double(c.parenOpen), Item::Count},
      {"close_paren_count", double(c.parenClose), Item::Count},
      {"do_count", double(c.dos), Item::Count},
      {"while_count", double(c.whiles), Item::Count},
      {"switch_count", double(c.switches), Item::Count},
      {"default_count", double(c.defaults), Item::Count},
      {"for_count", double(c.fors), Item::Count},
      {"case_count", double(c.cases), Item::Count},
      {"break_count", double(c.breaks), Item::Count},
      {"if_count", double(c.ifs), Item::Count},
      {"else_count", double(c.elses), Item::Count},
      {"goto_count", double(c.gotos), Item::Count},
      {"return_count", double(c.returns), Item::Count},
      {"exit_count", double(c.exits), Item::Count},
      {"_exit_count", double(c.underscoreExits), Item::Count},
      {"abort_count", double(c.aborts), Item::Count},
      {"characters_percent", v.characters, Item::Percent},
      {"spaces_percent", v.spaces, Item::Percent},
      {"quality_notice_count", double(c.notices), Item::Count},
  };
}

void Xml(const VerboseValues& v, int project) {
  OutF("<report>\n<name>%s</name>\n", project ? "Total Verbose Metrics" : "File Verbose Metrics");
  for (const Item& item : Items(v)) {
    if (item.form == Item::Count || (item.form == Item::LinePercent && !v.hasLogical))
      OutF("<%s>%d</%s>\n", item.name, static_cast<int>(item.value), item.name);
    else
      OutF("<%s>%.1f</%s>\n", item.name, item.value, item.name);
  }
  OutS("</report>\n");
}

void Csv(const VerboseValues& v, int project) {
  OutF("\n%s\nMetric,Value\n", project ? "Project Keywords and Metrics" : "File Keywords and Metrics");
  for (const Item& item : Items(v)) {
    if (item.form == Item::Count)
      OutF("%s,%d\n", item.name, static_cast<int>(item.value));
    else
      OutF("%s,%.1f\n", item.name, item.value);
  }
}

}  // namespace

void ShowVerbose(GlobalData& gcd, int project) {
  const VerboseValues v(gcd.eng.fc);
  switch (ReportMode(gcd)) {
    case OutputMode::Xml: Xml(v, project); return;
    case OutputMode::Csv: Csv(v, project); return;
    case OutputMode::Html:
    case OutputMode::Text:
      break;
  }
  RuledSectionTitle(project ? "~~ Project Keywords and Metrics ~~" : "~~ File Keywords and Metrics ~~", gcd);
  TextBlock(v, gcd);
}
