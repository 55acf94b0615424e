// The function summary of one file, from the sums and maxima the analysis
// keeps over the file's functions.
#include "common/gcd.h"
#include "common/output.h"
#include "reports/entity_listing.h"
#include "reports/function_points.h"
#include "reports/report_text.h"

namespace {

struct FileFunctionStats {
  int functions;
  int loc, eloc, lloc, comments, parameters, returns, cyclomatic;
  int interface, total;  // sums
  int maxLoc, maxEloc, maxLloc, maxParameters, maxReturns, maxCyclomatic, maxInterface, maxTotal;
  double fpLoc, fpEloc, fpLloc;

  double Avg(int sum) const { return functions < 1 ? 0.0 : static_cast<double>(sum) / functions; }
};

FileFunctionStats Collect(GlobalData& gcd) {
  const FileComplexity& cx = gcd.eng.fileCx;
  FileFunctionStats s{};
  s.functions = gcd.eng.fc.functions;
  s.loc = cx.sumLoc;
  s.eloc = cx.sumEloc;
  s.lloc = cx.sumLloc;
  s.comments = cx.sumComments;
  s.parameters = cx.sumParameters;
  s.returns = cx.sumReturns;
  s.cyclomatic = cx.sumCyclomatic;
  s.interface = cx.sumParameters + cx.sumReturns;
  s.total = s.interface + cx.sumCyclomatic;
  s.maxLoc = cx.maxLoc;
  s.maxEloc = cx.maxEloc;
  s.maxLloc = cx.maxLloc;
  s.maxParameters = cx.maxParameters;
  s.maxReturns = cx.maxReturns;
  s.maxCyclomatic = cx.maxCyclomatic;
  // The two maxima may come from different functions; they are added anyway.
  s.maxInterface = cx.maxParameters + cx.maxReturns;
  s.maxTotal = cx.maxTotal;
  // The file is still the current one: its language gives the factors.
  s.fpLoc = GetFP(s.loc, 0, gcd);
  s.fpEloc = GetFP(s.eloc, 1, gcd);
  s.fpLloc = GetFP(s.lloc, 2, gcd);
  return s;
}

void Xml(const FileFunctionStats& s) {
  OutS("<file_function_summary>\n<file_function_totals>\n");
  OutF("<functions>%d</functions>\n<LOC>%d</LOC>\n<eLOC>%d</eLOC>\n<lLOC>%d</lLOC>\n<comments>%d</comments>\n",
       s.functions, s.loc, s.eloc, s.lloc, s.comments);
  OutF("<parameters>%d</parameters>\n<returns>%d</returns>\n<cyclomatic_complexity>%d</cyclomatic_complexity>\n"
       "<interface_complexity>%d</interface_complexity>\n<total_complexity>%d</total_complexity>\n",
       s.parameters, s.returns, s.cyclomatic, s.interface, s.total);
  OutF("<function_points_loc>%10.1f</function_points_loc>\n<function_points_eloc>%10.1f</function_points_eloc>\n"
       "<function_points_lloc>%10.1f</function_points_lloc>\n",
       s.fpLoc, s.fpEloc, s.fpLloc);
  OutS("</file_function_totals>\n<file_function_maximums>\n");
  OutF("<LOC>%d</LOC>\n<eLOC>%d</eLOC>\n<lLOC>%d</lLOC>\n<parameters>%d</parameters>\n<returns>%d</returns>\n"
       "<cyclomatic_complexity>%d</cyclomatic_complexity>\n<interface_complexity>%d</interface_complexity>\n"
       "<total_complexity>%d</total_complexity>\n",
       s.maxLoc, s.maxEloc, s.maxLloc, s.maxParameters, s.maxReturns, s.maxCyclomatic, s.maxInterface, s.maxTotal);
  OutS("</file_function_maximums>\n<file_function_average>\n");
  OutF("<LOC>%10.2f</LOC>\n<eLOC>%10.2f</eLOC>\n<lLOC>%10.2f</lLOC>\n<parameters>%10.2f</parameters>\n"
       "<returns>%10.2f</returns>\n<cyclomatic_complexity>%10.2f</cyclomatic_complexity>\n"
       "<interface_complexity>%10.2f</interface_complexity>\n<total_complexity>%10.2f</total_complexity>\n",
       s.Avg(s.loc), s.Avg(s.eloc), s.Avg(s.lloc), s.Avg(s.parameters), s.Avg(s.returns), s.Avg(s.cyclomatic),
       s.Avg(s.interface), s.Avg(s.total));
  OutS("</file_function_average>\n</file_function_summary>\n");
}

void Csv(const FileFunctionStats& s) {
  OutS("File Functional Summary\n");
  OutF("%s,%d\n", "Functions", s.functions);
  OutF("%s,%d,%s,%d,%s,%d,%s,%d,%s,%d,%s,%d,%s,%d,%s,%d,%s,%d,", "LOC", s.loc, "eLOC", s.eloc, "lLOC", s.lloc,
       "Comments", s.comments, "Parameters", s.parameters, "Returns", s.returns, "Cyclo Complex", s.cyclomatic,
       "Inter Complex", s.interface, "Total Complex", s.total);
  OutF("Func Pts(LOC),%10.1f,Func Pts(eLOC),%10.1f,Func Pts(lLOC),%10.1f\n", s.fpLoc, s.fpEloc, s.fpLloc);
  OutS("File Functional Maximum Summary\n");
  OutF("%s,%d,%s,%d,%s,%d,", "LOC", s.maxLoc, "eLOC", s.maxEloc, "lLOC", s.maxLloc);
  OutS(",,");
  OutF("%s,%d,%s,%d,%s,%d,%s,%d,", "Parameters", s.maxParameters, "Returns", s.maxReturns, "Cyclo Complex",
       s.maxCyclomatic, "Inter Complex", s.maxInterface);
  OutF("%s,%d\n", "Total Complex", s.maxTotal);
  OutS("File Functional Average Summary\n");
  OutF("LOC,%10.2f,eLOC,%10.2f,lLOC,%10.2f,Comments,%10.2f,Parameters,%10.2f,Returns,%10.2f,"
       "Cyclo Complex,%10.2f,Inter Complex,%10.2f,Total Complex,%10.2f\n",
       s.Avg(s.loc), s.Avg(s.eloc), s.Avg(s.lloc), s.Avg(s.comments), s.Avg(s.parameters), s.Avg(s.returns),
       s.Avg(s.cyclomatic), s.Avg(s.interface), s.Avg(s.total));
}

void TextOrHtml(const FileFunctionStats& s, GlobalData& gcd) {
  auto L = [&gcd](const char* label) { return Label(label, gcd); };
  HyphenRule();
  OutS("\n");
  SectionTitle("~~ File Functional Summary ~~", gcd);
  OutS("\n");
  OutF("%s%10d\n", L("  File Function Count....: ").c_str(), s.functions);
  OutF("%s %9d%s%10.1f\n", L("  Total Function LOC.....: ").c_str(), s.loc, L("  Total Function Pts LOC : ").c_str(),
       s.fpLoc);
  OutF("%s %9d%s%10.1f\n", L("  Total Function eLOC....: ").c_str(), s.eloc,
       L("  Total Function Pts eLOC: ").c_str(), s.fpEloc);
  OutF("%s %9d%s%10.1f\n", L("  Total Function lLOC....: ").c_str(), s.lloc,
       L("  Total Function Pts lLOC: ").c_str(), s.fpLloc);
  OutF("%s%10d%s%10d\n", L("  Total Function Params .: ").c_str(), s.parameters,
       L("  Total Function Return .: ").c_str(), s.returns);
  OutF("%s%10d%s%10d\n", L("  Total Cyclo Complexity : ").c_str(), s.cyclomatic,
       L("  Total Function Complex.: ").c_str(), s.total);
  SummarySeparator();
  OutF("%s%10d%s%10.2f\n", L("  Max Function LOC ......: ").c_str(), s.maxLoc, L("  Average Function LOC ..: ").c_str(),
       s.Avg(s.loc));
  OutF("%s%10d%s%10.2f\n", L("  Max Function eLOC .....: ").c_str(), s.maxEloc,
       L("  Average Function eLOC .: ").c_str(), s.Avg(s.eloc));
  OutF("%s%10d%s%10.2f\n", L("  Max Function lLOC .....: ").c_str(), s.maxLloc,
       L("  Average Function lLOC .: ").c_str(), s.Avg(s.lloc));
  if (!gcd.sw.complexity) return;
  SummarySeparator();
  OutF("%s%10d%s%10.2f\n", L("  Max Function Parameters: ").c_str(), s.maxParameters,
       L("  Avg Function Parameters: ").c_str(), s.Avg(s.parameters));
  OutF("%s%10d%s%10.2f\n", L("  Max Function Returns ..: ").c_str(), s.maxReturns,
       L("  Avg Function Returns ..: ").c_str(), s.Avg(s.returns));
  OutF("%s%10d%s%10.2f\n", L("  Max Interface Complex. : ").c_str(), s.maxInterface,
       L("  Avg Interface Complex. : ").c_str(), s.Avg(s.interface));
  OutF("%s%10d%s%10.2f\n", L("  Max Cyclomatic Complex.: ").c_str(), s.maxCyclomatic,
       L("  Avg Cyclomatic Complex.: ").c_str(), s.Avg(s.cyclomatic));
  OutF("%s%10d%s%10.2f\n", L("  Max Total Complexity ..: ").c_str(), s.maxTotal,
       L("  Avg Total Complexity ..: ").c_str(), s.Avg(s.total));
}

}  // namespace

void ShowFileFunctionSummary(GlobalData& gcd) {
  if (!gcd.sw.functionAnalysis || gcd.sw.functionListing || gcd.eng.fc.functions < 1) return;
  const FileFunctionStats s = Collect(gcd);
  switch (ReportMode(gcd)) {
    case OutputMode::Xml: Xml(s); break;
    case OutputMode::Csv: Csv(s); break;
    case OutputMode::Html:
    case OutputMode::Text: TextOrHtml(s, gcd); break;
  }
}
