// The short and full syntax screens and the quality notice type screen.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/exit.h"
#include "driver/help.h"
#include "notices/notices.h"
#include "notices/udqn.h"
#include "reports/format.h"

namespace {

// The program name as the syntax screen shows it: argv[0] after its last
// backslash, or all of it.
std::string ProgramName(const GlobalData& gcd) {
  const std::string& path = gcd.drv.progPath;
  const std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Every switch of the full syntax screen: switches at ten blanks, their
// sub-options at thirteen.
constexpr const char* kFullSyntax[] = {
    "          -A Same as -C, CSV output with complexity metrics\n",
    "          -a Allocation/de-allocation memory function counts\n",
    "          -b Benchmark timing of the run\n",
    "          -C Comma separated values (CSV) output mode, complexity metrics\n",
    "             -C -s  CSV file summary lines (-s after -C)\n",
    "             -C -fa CSV file summary and function lines (-fa after -C)\n",
    "          -c Complexity metrics, with function analysis\n",
    "          -D De-character source files (files are rewritten)\n",
    "             -Dt  Remove tabs\n",
    "             -Du  Remove carriage returns\n",
    "             -Dd  Add carriage returns\n",
    "          -d Deterministic line trace\n",
    "          -E Extraction\n",
    "             -Es  Extract strings\n",
    "             -Ec  Extract comments\n",
    "             -EC  Comment documentation relative to functions and classes\n",
    "          -e Estimation report, with function analysis\n",
    "          -F File list input mode: -F\"list file name\"\n",
    "          -f Function options\n",
    "             -fa  Functional analysis\n",
    "             -fd  Complexity and cyclomatic detail per function\n",
    "             -fm  Class method and attribute annotation, object metrics\n",
    "             -fp  Function points derived from LOC metrics\n",
    "          -H HTML output mode\n",
    "          -h Help screens\n",
    "             -hs  Help syntax (this screen)\n",
    "             -hf  Help manual full text\n",
    "             -hc  Configuration dump (same as -y)\n",
    "             -hn  Quality notice types\n",
    "             -hp  Abbreviated syntax with pause prompt\n",
    "          -i Inheritance tree, object metrics\n",
    "          -k Sort options\n",
    "             -kd  Sort in descending order\n",
    "             -k<n> Sort on key n: 0 none, 1 name, 2 LOC, 3 eLOC, 4 lLOC,\n",
    "                  5 cyclomatic complexity, 6 work file difference state,\n",
    "                  7 function count, 8 quality notice count, 9 file date,\n",
    "                  10 file size\n",
    "          -l List function names per file, with function analysis\n",
    "          -m Macro identification\n",
    "          -n Quality notices\n",
    "          -N Notice output format, with quality notices\n",
    "             -Ns  Single-line summary format\n",
    "             -Nv  Visual Studio interactive format\n",
    "          -o Object metrics: classes, structs, interfaces, namespaces\n",
    "          -O Write all report output to a file: -O\"file name\"\n",
    "          -p Printable code listing\n",
    "             -B1  Top margin of the listing (negative values become 0)\n",
    "             -M5  Left margin of the listing (negative values become 0)\n",
    "             -P55 Page length of the listing (negative: no page breaks)\n",
    "             -L80 Line length of the listing (at least 20)\n",
    "          -r Recursive descent input mode: -r\"ext,ext,... directory\"\n",
    "          -R Directory options\n",
    "             -Rd  Process the directory without recursive descent\n",
    "             -Rl  List the files to be processed and exit\n",
    "             -Rn  Sort input files by name, headers first\n",
    "          -s Per-file summary (CSV file summary lines after -C)\n",
    "          -S Report title, also the code listing page header: -S\"title\"\n",
    "          -T Totals-only mode, with complexity, function, object metrics\n",
    "             and quality notices\n",
    "             -Ta  All total reports\n",
    "             -Tf  Functions, classes, namespaces and notices, function points\n",
    "             -Td  All files listed in detail, function points\n",
    "             -To  Objects: structs, classes and interfaces, namespaces\n",
    "             -Ti  Inheritance tree only\n",
    "             -Tp  Quality profile by notice type\n",
    "             -Tq  Quality notice summary by file\n",
    "             -Tn  Notices by file and line number\n",
    "             -Ts  Total summary\n",
    "             -TN  No file names\n",
    "             -Tl  Summaries only\n",
    "             -TL  Language metric summary\n",
    "             -Tv  Total verbose metrics\n",
    "             -Tw  Work file differentials only\n",
    "          -v Verbose metrics\n",
    "          -u User files\n",
    "             -u\"File cfg name\"  User configuration file\n",
    "             -u\"File xsl name\"  XSL file of the XML output\n",
    "          -w Baseline work files and differentials\n",
    "             -w\"create top_dir\"  Create a work file of the baseline\n",
    "             -w\"File dat name\"   Work file name\n",
    "             -w\"File cfg name\"   Differential report configuration file\n",
    "             -w\"x older, newer\"  Differentials of two work files\n",
    "             -wD  Deterministic mode for work file creation\n",
    "             -wd  Code line differentials\n",
    "             -we -wm -wn -wr  Do not process equal, modified, new,\n",
    "                  removed files\n",
    "             -wg  Glossary in the differential report\n",
    "             -wb  Basis of the work productivity calculation\n",
    "             -wp  Work productivity estimates\n",
    "             -ws  Code differential details per file\n",
    "             -wv  Verbose differential files\n",
    "          -X XML output mode, totals only\n",
    "          -x Extended options\n",
    "             -xNOCONFIG   No configuration file line in the report header\n",
    "             -xNOCOMMAND  No command line in the report header\n",
    "             -xNOWRAP     Do not wrap long names in reports\n",
    "             -xUDQNSHOW   Show the user defined quality notices\n",
    "             -xNOHEADER   No report header\n",
    "             -xDEBUG      Debug tracing\n",
    "             -xDIFFDEBUG  Differential debug tracing\n",
    "             -x\"File csv name\"  Report configuration file of -xc\n",
    "             -xc  Print the CSV report configuration template\n",
    "          -y Display configuration parameters, export lqa.cfg\n",
};

}  // namespace

std::span<const char* const> FullSyntaxLines() { return kFullSyntax; }

void ShowSyntax(GlobalData& gcd, int pause) {
  OutF("  Syntax: %s -option or -switch[option]\n"
       "          or -switch[\"compound option\"] filenames or wild cards\n"
       "          LQA is a command line program, [ ] characters are not entered\n"
       "          Example: /usr/bin/lqa/lqa.lnx -c -fa -r\"h,cpp,java /proj\"\n"
       "          -hs Help syntax for operation\n"
       "          -hf Help manual full text\n",
       ProgramName(gcd).c_str());
  if (!pause) return;
  if (gLQAOUT == stdout) {
    OutS("\n  Press Enter Key To Continue ...\n");
    fflush(gLQAOUT);
    char answer[16];
    if (gLQAIN && !std::fgets(answer, sizeof answer, gLQAIN)) answer[0] = '\0';
  } else {
    usleep(500000);
  }
}

void ShowFullSyntax(GlobalData& gcd) {
  Center("LQA Help Syntax");
  OutS("\n");
  OutF("  Syntax: %s -switch or -switch[option] or \n"
       "          -switch[\"compound option\"] filenames or wild cards\n"
       "          [ ] characters are not entered\n",
       gcd.drv.progPath.c_str());
  for (const char* line : kFullSyntax) OutS(line);
  OutS("\n");
}

void ShowNotices(GlobalData& gcd) {
  OutF("%25sLQA Quality Notice Types\n", "");
  for (int n = 1; n <= kNoticeCount; ++n)
    OutF("  Notice %-4d: [%3s] %s\n", n, gcd.cfg.notice[static_cast<std::size_t>(n)] ? "On" : "Off",
         GetNoticeStr(n, gcd));
  OutS("\n");
  OutF("%23sUser Defined Quality Notices\n", "");
  udqn_notice_types(gcd);
  OutF("  %s%s\n", kRuleHyphens, kRuleHyphens);
}
