// The full help text of -hf: centred chapters of prose, then one section per
// switch under a title line and a rule.
#include "common/gcd.h"
#include "common/output.h"
#include "driver/help.h"
#include "reports/format.h"

namespace {

constexpr HelpChapter kChapters[] = {
    {"~ LQA Help Documentation~ ",
     "  LQA, the Line Quality Analyzer, measures source code written in C, C++,\n"
     "  Java and C#. This text describes every switch and how the program finds\n"
     "  its input, its configuration and where it writes its reports.\n\n",
     InManual::Opening},
    {"~ Source Code Metrics and Analysis ~",
     "  Every line of every file is classified and counted: physical lines, LOC\n"
     "  (lines holding code), eLOC (effective lines, without lines made only of a\n"
     "  brace or a parenthesis), lLOC (logical statements), comment and blank\n"
     "  lines. With the analysis switches LQA also measures functions, classes,\n"
     "  structs, interfaces, namespaces and packages, their parameters and return\n"
     "  points, the cyclomatic, interface and total complexity, and the memory\n"
     "  allocation and release calls. Quality notices (-n) check the code against\n"
     "  a catalogue of numbered rules and against user defined notices written as\n"
     "  regular expressions (lqa_udqn.cfg).\n\n"},
    {"~ Program Operation ~",
     "  LQA is a command line program: switches first, then the files. Without\n"
     "  any analysis switch the run is a plain per-file LOC summary. Reports go to\n"
     "  standard output unless -O names a file; progress then goes to standard\n"
     "  error. The exit status is 0 for a normal run, the number of quality\n"
     "  notices with -n, -1 when a -F list file cannot be opened and 1 for switch\n"
     "  errors and other fatal errors. Help screens exit with 0.\n\n"},
    {"~ Operation Step by Step ~",
     "  1. The environment is read: LQAHOME (home directory of the program files,\n"
     "     default the program's own directory), LQACFGHOME (directory of the\n"
     "     configuration files), LQADEBUG (debug tracing) and LQACLASSMF (class\n"
     "     method annotation, as -fm).\n"
     "  2. lqa.cfg is read; it is created from the built-in values when missing.\n"
     "  3. The language table is built from the extension keys of lqa.cfg and the\n"
     "     macro file lqa_macro.cfg is read.\n"
     "  4. The switches are read in command line order; a switch overrides the\n"
     "     configuration file and a later switch overrides an earlier one.\n"
     "  5. The report header is written and the list of input files is built.\n"
     "  6. Each file is read line by line, measured and reported.\n"
     "  7. The project totals and the requested project reports are written.\n\n",
     InManual::No},
    {"~ Program Configuration ~",
     "  lqa.cfg holds one \"label : value\" line per setting: file extensions of\n"
     "  each language, quality notice enabling (Quality Notice N : Yes or No) and\n"
     "  limits, cyclomatic complexity counting rules, work rates, code listing\n"
     "  layout and HTML colours. It is looked for in LQACFGHOME when set, else in\n"
     "  the home directory. When it is missing, or its version line differs from\n"
     "  the program version, it is written anew from the current values. -y shows\n"
     "  every value; -u\"File cfg name\" reads a further file when \"Enable user\n"
     "  defined configuration files\" is Yes.\n\n"},
    {"~ Source File Requirements ~",
     "  Source files are plain text with lines of at most 2047 characters; longer\n"
     "  lines are read in parts. The language of a file is decided by its\n"
     "  extension, with the lists of lqa.cfg: by default c for C, h for headers,\n"
     "  cc, cpp, cxx and CC for C++, java for Java and cs for C#.\n"
     "  Lines between the skip tokens (LQA_IGNORE_BEGIN, LQA_IGNORE_END) are not\n"
     "  counted when skip tokens are active.\n\n"},
    {"~ Switches and Options ~",
     "  A switch is a minus sign and a letter; its option follows it directly:\n"
     "  -fa, -k2, -Ta. A compound option holding blanks is given in double\n"
     "  quotes straight after the letter: -r\"h,cpp /proj\". Switches are case\n"
     "  sensitive: -C and -c are different switches. Write options attached to\n"
     "  their switch; a separate word is also seen as a file name.\n\n"},
    {"~ Files/Directories Names and Wild Cards ~",
     "  After the switches come file names or wild cards expanded by the shell.\n"
     "  Arguments without an extension are skipped silently, so directories are\n"
     "  not named here: use -r for a directory tree, or a -F list file whose\n"
     "  directory entries are read with or without descent (-Rd). A file whose\n"
     "  extension belongs to no language is reported as not a valid file type\n"
     "  when \"Validate file extensions for processing\" is Yes.\n\n"},
    {"~ Source Code File Input Modes ~",
     "  Files on the command line: the names and wild cards after the switches.\n"
     "  Recursive descent (-r): -r\"ext,ext,... directory\" processes every file\n"
     "  with one of the extensions below the directory; \".\" is the current\n"
     "  directory. Without an extension list the languages' extensions are used.\n"
     "  File list (-F): -F\"list file\" reads one file name per line; names may\n"
     "  hold environment variables between percent signs (%HOME%/src/a.c).\n"
     "  -r and -F exclude each other: the later one wins.\n\n"},
    {"~ Program Output Modes ~",
     "  Plain text is the default. -H writes an HTML page, -C (or -A) writes\n"
     "  comma separated values for spreadsheets, and -X writes XML totals. -T\n"
     "  selects totals-only reports; -n adds quality notices in every mode.\n\n"},
    {"~ Program Output File Formats ~",
     "  -O\"file\" writes the whole report to the file instead of standard output.\n"
     "  In HTML mode the file is a complete page, in XML mode -u\"File xsl name\"\n"
     "  names the style sheet. -w\"create dir\" writes a work file (workfile.dat\n"
     "  unless -w\"File dat name\" names one) recording a baseline.\n\n"},
    {"~ Run Time Switch Options ~", "\n", InManual::No},
};

struct HelpSection {
  const char* title;
  const char* body;
};

constexpr HelpSection kSections[] = {
    {"  * CSV Complexity Mode\n", "  -A\n\n  Same as -C: CSV output mode with complexity metrics.\n\n"},
    {"  * Allocation/De-allocation of Memory Mode\n",
     "  -a\n\n  Counts the memory allocation and release calls of each file and\n"
     "  function (malloc, calloc, realloc, free, new, delete).\n\n"},
    {"  * Code Listing Top Margin\n",
     "  -B<n>\n\n  Blank lines at the top of each page of the -p listing. Default 1,\n"
     "  negative values become 0. Example: -B2\n\n"},
    {"  * Benchmark Timing\n", "  -b\n\n  Reports the time the run took at its end.\n\n"},
    {"  * Comma Separated Values Output Mode\n",
     "  -C\n\n  Writes CSV output and turns complexity metrics on. -s after -C adds\n"
     "  CSV file summary lines; -fa after -C adds file summary and function\n"
     "  lines. Given before -C, -s and -fa add no CSV sub-reports.\n\n"},
    {"  * Complexity Metrics Mode\n",
     "  -c\n\n  Cyclomatic, interface and total complexity, with function\n"
     "  analysis.\n\n"},
    {"  * De-character Source Files\n",
     "  -Dt  Remove tabs (replaced by blanks, Tab Size of lqa.cfg)\n"
     "  -Du  Remove carriage returns\n  -Dd  Add carriage returns\n\n"
     "  The source files are rewritten in place; keep a copy.\n\n"},
    {"  * Deterministic Line Trace\n",
     "  -d\n\n  Prints each line with its line type code and counters.\n\n"},
    {"  * Extraction of Strings and Comments\n",
     "  -Es  Extract literal strings\n  -Ec  Extract comments\n"
     "  -EC  Comment documentation relative to functions and classes\n\n"},
    {"  * Estimation Mode\n", "  -e\n\n  Estimation report of the project, with function analysis.\n\n"},
    {"  * File List Input Mode\n",
     "  -F\"list file\"\n\n  Processes the files named in the list file, one per line.\n"
     "  Clears recursive descent mode. The run ends with -1 when the list file\n"
     "  cannot be opened.\n\n"},
    {"  * Function Options\n",
     "  -fa  Functional analysis (with -C before it, CSV function lines)\n"
     "  -fd  Complexity and cyclomatic detail per function\n"
     "  -fm  Class method and attribute annotation, object metrics\n"
     "  -fp  Function points derived from LOC metrics\n\n"},
    {"  * HTML Output Mode\n", "  -H\n\n  Writes the report as an HTML page.\n\n"},
    {"  * Help Screens\n",
     "  -hs  Help syntax\n  -hf  This help text (also any other -h letter)\n"
     "  -hc  Configuration dump, as -y\n  -hn  Quality notice types and their state\n"
     "  -hp  Abbreviated syntax with a pause\n\n"},
    {"  * Inheritance Tree\n", "  -i\n\n  Draws the inheritance forest of all classes, with object metrics.\n\n"},
    {"  * Sort Options\n",
     "  -k<n> Sort on key n: 0 none, 1 name, 2 LOC, 3 eLOC, 4 lLOC,\n"
     "        5 cyclomatic complexity, 6 work file difference state,\n"
     "        7 function count, 8 quality notice count, 9 file date,\n"
     "        10 file size. Other values print an error and sort nothing.\n"
     "  -kd   Sort in descending order\n\n"},
    {"  * Code Listing Line Length\n",
     "  -L<n>\n\n  Line length of the -p listing, at least 20, default 80.\n\n"},
    {"  * Function Listing\n", "  -l\n\n  Lists the function names of each file, with function analysis.\n\n"},
    {"  * Code Listing Left Margin\n",
     "  -M<n>\n\n  Left margin of the -p listing, default 5, negative values\n  become 0.\n\n"},
    {"  * Macro Identification\n", "  -m\n\n  Identifies macro definitions and uses (lqa_macro.cfg).\n\n"},
    {"  * Notice Output Format\n",
     "  -Ns  Single-line summary format\n  -Nv  Visual Studio interactive format\n\n"
     "  Both turn quality notices on.\n\n"},
    {"  * Quality Notices\n",
     "  -n\n\n  Checks every file against the enabled quality notices. The exit\n"
     "  status is the number of notices found. -hn lists the notices.\n\n"},
    {"  * Output File\n",
     "  -O\"file\"\n\n  Writes all report output to the file, with a progress indicator\n"
     "  on standard error.\n\n"},
    {"  * Object Metrics\n",
     "  -o\n\n  Metrics of classes, structs, interfaces, namespaces and packages.\n\n"},
    {"  * Code Listing Page Length\n",
     "  -P<n>\n\n  Page length of the -p listing, default 55. A negative value also\n"
     "  turns page breaks off.\n\n"},
    {"  * Printable Code Listing\n",
     "  -p\n\n  Prints a paginated listing of each file; see -B, -L, -M, -P, -S.\n\n"},
    {"  * Query Setup Mode\n", "  -q\n\n  Query setup is done in the lqa.cfg file.\n\n"},
    {"  * Directory Options\n",
     "  -Rd  Process a directory without recursive descent\n"
     "  -Rl  List the files to be processed and exit\n"
     "  -Rn  Sort the input files by name, headers first\n\n"},
    {"  * Recursive Descent Input Mode\n",
     "  -r\"ext,ext,... directory\"\n\n  Extensions separated by commas, a blank, then the start\n"
     "  directory. \".\", \"./\", \"/\", \"*\" or \"*.*\" is the current directory.\n"
     "  Example: -r\"h,cpp,java,cs /my_project\"\n\n"},
    {"  * Report Title\n", "  -S\"title\"\n\n  Title of the report and page header of the code listing.\n\n"},
    {"  * Summary Mode\n",
     "  -s\n\n  Per-file LOC summary; after -C also CSV file summary lines.\n\n"},
    {"  * Totals Mode\n",
     "  -T<x>\n\n  Totals only, with complexity, function and object metrics and\n"
     "  quality notices:\n"
     "  -Ta all total reports     -Tf functions, classes, notices\n"
     "  -Td files in detail       -To structs, classes, namespaces\n"
     "  -Ti inheritance tree      -Tp quality profile by notice type\n"
     "  -Tq notice summary by file -Tn notices by file and line\n"
     "  -Ts total summary         -TN no file names\n"
     "  -Tl summaries only        -TL language metric summary\n"
     "  -Tv total verbose metrics -Tw work file differentials only\n\n"},
    {"  * User Files\n",
     "  -u\"File cfg name\"  Reads a user configuration file on top of lqa.cfg\n"
     "                     (when user defined configuration files are enabled)\n"
     "  -u\"File xsl name\"  XSL style sheet named in the XML output\n\n"},
    {"  * Verbose Metrics\n", "  -v\n\n  Verbose metrics in the reports.\n\n"},
    {"  * Work Diff Mode\n", "  -W\n\n  Replaced by -wx.\n\n"},
    {"  * Baseline Work Files and Differentials\n",
     "  -w\"create dir\"   Work file of the baseline below dir\n"
     "  -w\"File dat name\" Work file name (default workfile.dat)\n"
     "  -w\"File cfg name\" Differential report configuration\n"
     "  -w\"x old, new\"    Differentials of two work files\n"
     "  -wD deterministic creation   -wd code line differentials\n"
     "  -we -wm -wn -wr skip equal, modified, new, removed files\n"
     "  -wg glossary  -wb basis  -wp productivity  -ws details\n"
     "  -wv verbose differential files\n\n"},
    {"  * XML Output Mode\n", "  -X\n\n  XML output of the totals.\n\n"},
    {"  Extended Option Mode\n",
     "  -x<keyword>\n\n  NOCONFIG, NOCOMMAND, NOHEADER: omit parts of the report header\n"
     "  NOWRAP: do not wrap long names      UDQNSHOW: show user defined notices\n"
     "  DEBUG, DIFFDEBUG: debug tracing     -x\"File csv name\", -xc: CSV report\n"
     "  configuration template\n\n"},
    {"  LQA Configuration Parameters\n",
     "  -y or -hc\n\n  Displays every parameter in the format of lqa.cfg. Redirect the\n"
     "  output of -y into lqa.cfg to create the file: lqa -y > lqa.cfg\n\n"},
};

}  // namespace

std::span<const HelpChapter> HelpChapters() { return kChapters; }

void ShowHelpText(GlobalData&) {
  for (const HelpChapter& chapter : kChapters) {
    Center(chapter.title);
    OutS("\n");
    OutS(chapter.text);
  }
  for (const HelpSection& section : kSections) {
    OutS(section.title);
    OutF("  %s%s\n", kRuleHyphens, kRuleHyphens);
    OutS(section.body);
  }
}
