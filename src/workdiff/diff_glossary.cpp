// The glossary of the differential report (-wg): the columns, the file states
// and, with -wd and -ws, the letters of the line listing.
#include "common/gcd.h"
#include "common/output.h"
#include "reports/format.h"
#include "workdiff/diff_report.h"

namespace {

constexpr const char* kColumnTerms[] = {
    "LOC       - Line of Source Code",
    "eLOC      - Effective Lines of Source Code (LOC - NonEffective LOC)",
    "lLOC      - Logical Lines of Source Code (Lines ending in ;)",
    "Comments  - Lines that have comments",
    "Blanks    - Lines that are blank or white space",
    "Lines     - Total Physical Lines",
    "Fcount    - Function Count",
    "Cyclo     - Cyclomatic Complexity (Logical Branches)",
    "Inter     - Interface Complexity (Parameters + Returns)",
    "Complex   - Total Complexity (Cyclo + Inter)",
    "Quality   - Number of Quanity Notices",
};

constexpr const char* kStateTerms[] = {
    "New       - File added to the present baseline",
    "Rem       - File removed from the older baseline",
    "Equ       - Lines equal between the older and the present file",
    "Mod       - Metric changes of a file modified between the baselines",
    "Dif       - New or modified lines of a changed file, by code line differences",
};

void Term(const char* text, GlobalData& gcd) {
  switch (gcd.sw.outputMode) {
    case OutputMode::Xml: OutF("<term>%s</term>\n", xml_encode(text).c_str()); break;
    case OutputMode::Csv: OutF("%s\n", text); break;
    default: OutF("  %s\n", text); break;
  }
}

}  // namespace

void DiffReportGlossary(GlobalData& gcd) {
  const OutputMode mode = gcd.sw.outputMode;
  switch (mode) {
    case OutputMode::Xml: OutF("<glossary>\n<name>Metrics Differential Glossary</name>\n"); break;
    case OutputMode::Csv: OutF("\nMetrics Differential Glossary\n"); break;
    case OutputMode::Html:
      OutF("\n<b><font color=\"%s\">", gcd.cfg.htmlHeaderColor.c_str());
      Center("Metrics Differential Glossary");
      OutF("</font></b>\n");
      break;
    case OutputMode::Text:
      OutF("\n");
      Center("Metrics Differential Glossary");
      OutF("\n");
      break;
  }
  for (const char* t : kColumnTerms) Term(t, gcd);
  if (mode == OutputMode::Text || mode == OutputMode::Html) OutF("\n");
  for (const char* t : kStateTerms) Term(t, gcd);
  Term(gcd.cfg.addRemovedAsModified ? "Removed older lines are added to the Dif metrics "
                                      "(Add removed older lines as modified: Yes)"
                                    : "Removed older lines are not added to the Dif metrics "
                                      "(Add removed older lines as modified: No)",
       gcd);
  if (gcd.sw.workLineDiff && gcd.sw.workDetails) {
    if (mode == OutputMode::Xml) {
      OutF("<listing_glossary>\n");
    } else {
      OutF(mode == OutputMode::Csv ? "\nCode Differential Details Glossary\n" : "\n  Code Differential Details Glossary\n");
    }
    const char* indent = mode == OutputMode::Text || mode == OutputMode::Html ? "  " : "";
    if (mode == OutputMode::Xml) {
      OutF("<term>= Older file line is equal to the newer file line</term>\n"
           "<term>- Line removed from the newer file</term>\n"
           "<term>+ Line added to the newer file</term>\n");
    } else {
      OutF("%s= Older file line is equal to the newer file line\n%s- Line removed from the newer file\n"
           "%s+ Line added to the newer file\n",
           indent, indent, indent);
    }
    const struct {
      char type;
      const char* text;
    } kTypes[] = {{'L', "Line of Code"},
                  {'l', "Line of Code and Line of Comment"},
                  {'N', "Non-Effective Line of Code"},
                  {'n', "Non-Effective Line of Code and Line of Comment"},
                  {'G', "Logical Line of Code"},
                  {'g', "Logical Line of Code and Line of Comment"},
                  {'C', "Comment Line"},
                  {'B', "Blank Line (if blanks are processed)"}};
    for (const auto& t : kTypes) {
      if (mode == OutputMode::Xml) OutF("<term>%c %s</term>\n", t.type, t.text);
      else OutF("%s%c %s\n", indent, t.type, t.text);
    }
    if (mode == OutputMode::Xml) OutF("</listing_glossary>\n");
  }
  if (mode == OutputMode::Xml) OutF("</glossary>\n");
}
