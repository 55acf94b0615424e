// End of file for structure recognition.
#include "structure/structure_end.h"

#include "common/gcd.h"
#include "common/output.h"
#include "reports/entity_lines.h"
#include "structure/namespaces.h"

void ClosePackageAtEndOfFile(GlobalData& gcd) { CloseFileScopedNamespace(gcd); }

void ReportOpenFunctionAtEndOfFile(GlobalData& gcd) {
  if (gcd.sw.totalsOnly) return;
  if (!(gcd.eng.lex.function_scope > 0 && gcd.st.funcname_flag && gcd.st.functionScopeOpen)) return;
  if (gcd.sw.outputMode == OutputMode::Html)
    OutF("\n    <font color=\"%s\"><b>Notice</b></font>: The end of the source file has been reached where the\n"
         "            <b>local function scope remains open</b>.  The last known function\n"
         "            will be emitted but metrics cannot be generated in this\n"
         "            condition.\n",
         gcd.cfg.htmlNoticeColor.c_str());
  else
    OutF("\n    NOTICE: The end of the source file has been reached where the\n"
         "            local function scope remains open.  The last known function\n"
         "            will be emitted but metrics cannot be generated in this\n"
         "            condition.\n");
  EmitFunction(gcd);
}
