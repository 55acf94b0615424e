// The lqa.cfg key catalogue as data. The writer walks it in order; the reader
// looks labels up in it.
#include "driver/config_keys.h"

#include "driver/languages.h"

namespace {

template <auto M> int& Int(Config& c) { return c.*M; }
template <auto M> float& Flt(Config& c) { return c.*M; }
template <auto M> std::string& Str(Config& c) { return c.*M; }
template <int N> int& Qn(Config& c) { return c.notice[N]; }
template <int L, int K> int& Fp(Config& c) { return c.functionPoints[L][K]; }

constexpr CfgKey Key(const char* label, CfgType type, const char* comment) {
  CfgKey k;
  k.label = label;
  k.type = type;
  k.comment = comment;
  return k;
}
constexpr CfgKey YesNo(const char* label, CfgIntRef ref, const char* comment = nullptr) {
  CfgKey k = Key(label, CfgType::YesNo, comment);
  k.num = ref;
  return k;
}
constexpr CfgKey Integer(const char* label, CfgIntRef ref, const char* comment = nullptr) {
  CfgKey k = Key(label, CfgType::Integer, comment);
  k.num = ref;
  return k;
}
constexpr CfgKey Percent(const char* label, CfgFloatRef ref, const char* comment = nullptr) {
  CfgKey k = Key(label, CfgType::Percent, comment);
  k.pct = ref;
  k.maxValue = 100;
  return k;
}
constexpr CfgKey Text(const char* label, CfgTextRef ref, const char* comment = nullptr) {
  CfgKey k = Key(label, CfgType::Text, comment);
  k.text = ref;
  return k;
}
constexpr CfgKey Extensions(const char* label, CfgTextRef ref, int language, const char* comment) {
  CfgKey k = Key(label, CfgType::Extensions, comment);
  k.text = ref;
  k.maxLen = kExtensionListMax;
  k.language = language;
  return k;
}
constexpr CfgKey Colour(const char* label, CfgTextRef ref, const char* comment) {
  CfgKey k = Key(label, CfgType::Colour, comment);
  k.text = ref;
  k.maxLen = kColourMax;
  return k;
}
// Enabling key of quality notice N; the writer puts "Quality Notice No. N"
// above the description.
template <int N>
constexpr CfgKey Notice(const char* label, const char* comment) {
  CfgKey k = YesNo(label, &Qn<N>, comment);
  k.notice = N;
  return k;
}
constexpr CfgKey Cyclo(const char* label, CfgIntRef ref, const char* comment) {
  return YesNo(label, ref, comment).Width(kCfgCycloLabelWidth);
}

constexpr const char* kOperational = "# LQA Operational Configuration ####################################";
constexpr const char* kBaseline = "# LQA Configuration for Baseline Metrics Differentials #############";
constexpr const char* kCyclomatic = "# LQA Configuration for cyclomatic complexity ######################";
constexpr const char* kNotices = "# LQA Quality Notices Configuration ################################";
constexpr const char* kStyle = "# LQA Quality Notices For Code Style ###################################";
constexpr const char* kStability = "# LQA Quality Notices For Stability and Maintainability ################";
constexpr const char* kContent = "# LQA Quality Notices for Functional/Struct and Class Content ##########";
constexpr const char* kFileContent = "# LQA Quality Notices for File Content #";
constexpr const char* kMisc = "# LQA Quality Notices Miscellaneous ####################################";
constexpr const char* kListing = "# Code Listing Report Configuration ################################";
constexpr const char* kHtml = "# HTML Report and Color Configuration ##############################";

constexpr CfgKey kKeys[] = {
    // Operational
    YesNo("Report Header Active", &Int<&Config::reportHeaderActive>,
          "Print the report header lines below at the top of every report.")
        .Section(kOperational),
    Text("Report Header Text Line", &Str<&Config::reportHeaderTextLine>,
         "Report header line used in text and CSV reports."),
    Text("Report Header HTML Line", &Str<&Config::reportHeaderHtmlLine>,
         "Report header line used in HTML reports; it may hold HTML markup."),
    YesNo("Enable user defined configuration files", &Int<&Config::enableUserCfgFiles>,
          "Allow -u\"File cfg name\" to read a further configuration file\n"
          "on top of this one."),
    YesNo("Source file names are case sensitive", &Int<&Config::caseSensitiveNames>,
          "Compare file names and extensions with case taken into account."),
    YesNo("Show progress indicator", &Int<&Config::showProgress>,
          "Progress on standard error. The indicator is shown whenever -O\n"
          "names an output file, whatever this value says."),
    YesNo("Detailed Progress Showing File Names", &Int<&Config::detailedProgress>,
          "Show progress by file name instead of by dots."),
    Integer("Progress status interval number of files", &Int<&Config::progressInterval>,
            "Number of files processed for each progress dot.")
        .ZeroAs(1).Range(1, 1000000),
    YesNo("Show file date and size", &Int<&Config::showFileDateSize>,
          "Show the date and size of each file next to its name."),
    YesNo("Validate file extensions for processing", &Int<&Config::validateExtensions>,
          "Process only files whose extension belongs to a known language."),
    Extensions("C File Extensions", &Str<&Config::cExtensions>, kLangC,
               "File extensions of each language: comma separated, no blanks,\n"
               "no dots.\n"
               "C source files."),
    Extensions("C Header File Extensions", &Str<&Config::cHeaderExtensions>, kLangCHeader,
               "C header files."),
    Extensions("C++ File Extensions", &Str<&Config::cppExtensions>, kLangCpp, "C++ source files."),
    Extensions("C++ Header File Extensions", &Str<&Config::cppHeaderExtensions>, kLangCppHeader,
               "C++ header files."),
    Extensions("C# File Extensions", &Str<&Config::csharpExtensions>, kLangCSharp, "C# source files."),
    Extensions("Java File Extensions", &Str<&Config::javaExtensions>, kLangJava, "Java source files."),
    Extensions("Other File Extensions", &Str<&Config::otherExtensions>, kLangOther,
               "Files of other languages, counted by lines only."),
    YesNo("Treat C headers as C++", &Qn<25>,
          "Analyse C header files as C++, so that C++ keywords in them are\n"
          "not reported."),
    YesNo("Pattern Filter Active", &Int<&Config::patternFilterActive>,
          "Skip files whose path matches one of the patterns below."),
    Text("Pattern Filter", &Str<&Config::patternFilter>, "Comma separated file path patterns to skip."),
    Text("LQA Code Skip Start Token", &Str<&Config::skipStartToken>,
         "Tokens that, found in a source line, start and end a block of\n"
         "lines that is not counted at all."),
    Text("LQA Code Skip End Token", &Str<&Config::skipEndToken>),
    Text("LQA Code Quality Skip Start Token", &Str<&Config::qualitySkipStartToken>,
         "Tokens that start and end a block of lines that is counted but\n"
         "raises no quality notices."),
    Text("LQA Code Quality Skip End Token", &Str<&Config::qualitySkipEndToken>),
    YesNo("Activate LQA code skip tokens", &Int<&Config::skipTokensActive>,
          "Act on the skip tokens above."),
    YesNo("Do not process these local directories", &Int<&Config::skipLocalDirs>,
          "Leave out the directories listed below during recursive descent."),
    Text("Local directory names not processed", &Str<&Config::localDirsNotProcessed>,
         "Comma separated directory names left out of recursive descent."),
    YesNo("Wrap long names in reports", &Int<&Config::wrapLongNames>,
          "Wrap file and function names that do not fit their report column.\n"
          "-xNOWRAP turns this off for one run."),

    // Baseline differentials, work rates and function points
    Text("Work file location path", &Str<&Config::workFileLocation>,
         "Directory where work files are written; empty for the current\n"
         "directory.")
        .CrIsEmpty()
        .Section(kBaseline),
    YesNo("Ignore code differential blank lines", &Int<&Config::diffIgnoreBlankLines>,
          "Leave blank lines out of the comparison of two baselines."),
    YesNo("Ignore code differential white space", &Int<&Config::diffIgnoreWhiteSpace>,
          "Compare lines without regard to blanks and tabs."),
    Integer("Maximum LCS file size, number of lines", &Int<&Config::maxLcsFileLines>,
            "Files with more lines than this are compared with the faster,\n"
            "less exact method.").Range(1, 32000),
    YesNo("Add removed older lines as modified", &Int<&Config::addRemovedAsModified>,
          "Count lines removed from the older file as modified lines."),
    YesNo("Show equal lines", &Int<&Config::showEqualLines>,
          "List the lines that are equal in both files."),
    YesNo("Show lines removed from older file", &Int<&Config::showRemovedLines>,
          "List the lines removed from the older file."),
    YesNo("Show lines added (mod) to newer file", &Int<&Config::showAddedLines>,
          "List the lines added to or modified in the newer file."),
    YesNo("Relative Work Files", &Int<&Config::relativeWorkFiles>,
          "Write file names in work files relative to the top directory of\n"
          "the baseline."),
    Integer("Work Seconds per Hour", &Int<&Config::workSecondsPerHour>,
            "Work rates used to turn changed lines into work time.").Range(1, 86400),
    Integer("Work Hours per Shift", &Int<&Config::workHoursPerShift>).Range(0, 24),
    Integer("Work Shifts per Day", &Int<&Config::workShiftsPerDay>).Range(0, 24),
    Integer("Work Days per Week", &Int<&Config::workDaysPerWeek>).Range(0, 7),
    Integer("Work Hours per Man Day", &Int<&Config::workHoursPerManDay>).Range(0, 24),
    Integer("Work Hours per Man Week", &Int<&Config::workHoursPerManWeek>).Range(0, 168),
    Integer("Work Hours per Man Month", &Int<&Config::workHoursPerManMonth>).Range(0, 744),
    Integer("Work Hours per Man Year", &Int<&Config::workHoursPerManYear>).Range(0, 8784),
    Integer("Header File Function Points per LOC", &Fp<0, 0>,
            "Function point factors: lines of code per function point for\n"
            "each language, by LOC, eLOC and lLOC. 0 leaves the language out.\n"
            "Header files."),
    Integer("Header File Function Points per eLOC", &Fp<0, 1>),
    Integer("Header File Function Points per lLOC", &Fp<0, 2>),
    Integer("C File Function Points per LOC", &Fp<1, 0>, "C files."),
    Integer("C File Function Points per eLOC", &Fp<1, 1>),
    Integer("C File Function Points per lLOC", &Fp<1, 2>),
    Integer("C++ File Function Points per LOC", &Fp<2, 0>, "C++ files."),
    Integer("C++ File Function Points per eLOC", &Fp<2, 1>),
    Integer("C++ File Function Points per lLOC", &Fp<2, 2>),
    Integer("Java File Function Points per LOC", &Fp<3, 0>, "Java files."),
    Integer("Java File Function Points per eLOC", &Fp<3, 1>),
    Integer("Java File Function Points per lLOC", &Fp<3, 2>),
    Integer("C# File Function Points per LOC", &Fp<4, 0>, "C# files."),
    Integer("C# File Function Points per eLOC", &Fp<4, 1>),
    Integer("C# File Function Points per lLOC", &Fp<4, 2>),
    Integer("Other File Function Points per LOC", &Fp<5, 0>, "Files of other languages."),
    Integer("Other File Function Points per eLOC", &Fp<5, 1>),
    Integer("Other File Function Points per lLOC", &Fp<5, 2>),

    // Cyclomatic complexity
    Cyclo("Include 'function call' in cyclomatic complexity", &Int<&Config::cycloFunctionCall>,
          "Decision points counted in the cyclomatic complexity.\n"
          "A call of a function.")
        .Section(kCyclomatic),
    Cyclo("Include 'while' in cyclomatic complexity", &Int<&Config::cycloWhile>, "A while loop."),
    Cyclo("Include 'for' in cyclomatic complexity", &Int<&Config::cycloFor>, "A for loop."),
    Cyclo("Include 'switch' in cyclomatic complexity", &Int<&Config::cycloSwitch>,
          "A switch statement itself."),
    Cyclo("Include 'case' in cyclomatic complexity", &Int<&Config::cycloCase>, "Each case label."),
    Cyclo("Include 'if' in cyclomatic complexity", &Int<&Config::cycloIf>, "An if statement."),
    Cyclo("Include 'else' in cyclomatic complexity", &Int<&Config::cycloElse>, "An else branch."),
    Cyclo("Include '?' inlined if in cyclomatic complexity", &Int<&Config::cycloInlineIf>,
          "The ternary operator ?:."),
    Cyclo("Include 'goto' in cyclomatic complexity", &Int<&Config::cycloGoto>, "A goto statement."),
    Cyclo("Include '||' or 'or' in cyclomatic complexity", &Int<&Config::cycloOr>,
          "A logical or."),
    Cyclo("Include '&&' or 'and' in cyclomatic complexity", &Int<&Config::cycloAnd>,
          "A logical and."),

    // Quality notices
    [] {
      CfgKey k = Key("LQA user defined quality notice file", CfgType::UdqnFile,
                     "File of user defined quality notices. Empty selects lqa_udqn.cfg\n"
                     "in LQACFGHOME when that is set; a name without a '/' is taken\n"
                     "relative to LQACFGHOME.");
      k.text = &Str<&Config::udqnFile>;
      return k.Section(kNotices);
    }(),
    YesNo("Reorder notice, line in quality notices", &Int<&Config::reorderNoticeLine>,
          "Write the line number before the notice number, in the form that\n"
          "code editors can parse."),

    // Code style
    Notice<1>("Quality Notice 1", "Physical line longer than the maximum line length.").Section(kStyle),
    Integer("Maximum Line Length", &Int<&Config::maxLineLength>,
            "Maximum number of characters in a line."),
    Notice<2>("Quality Notice 2", "Function name longer than the maximum name length."),
    Integer("Maximum Function Name Length", &Int<&Config::maxFunctionNameLength>,
            "Maximum number of characters in a function name."),
    Notice<21>("Quality Notice 21", "File does not contain the key string below."),
    Text("LQA KEY String", &Str<&Config::keyString>,
         "Text that every source file must contain, for example a copyright\n"
         "line. Empty turns the check off.")
        .SetsFlag(&Int<&Config::keyStringConfigured>),
    Notice<3>("Quality Notice 3", "Ellipsis '...' used as function parameters."),
    Notice<4>("Quality Notice 4", "Assignment '=' inside an 'if' condition."),
    Notice<5>("Quality Notice 5", "Assignment '=' inside a 'while' condition."),
    Notice<6>("Quality Notice 6", "Pre-decrement operator '--'."),
    Notice<7>("Quality Notice 7", "Pre-increment operator '++'."),
    Notice<10>("Quality Notice 10", "Function prototype in the old non-ANSI style."),
    Notice<11>("Quality Notice 11", "Unequal numbers of open and closed brackets '[]'."),
    Notice<12>("Quality Notice 12", "Unequal numbers of open and closed parentheses '()'."),
    Notice<13>("Quality Notice 13", "'switch' statement without a 'default'."),
    Notice<14>("Quality Notice 14", "Number of 'case' labels differs from the number of 'break's."),
    YesNo("Use default in case/break comparison", &Int<&Config::useDefaultInCaseBreak>,
          "Count 'default' as a case label in that comparison."),
    Notice<22>("Quality Notice 22", "if, else, for or while body not enclosed in braces."),
    Notice<23>("Quality Notice 23", "Ternary operator '?'."),
    Notice<24>("Quality Notice 24", "C++ keyword used in a C file."),
    Notice<30>("Quality Notice 30", "TAB character in a line."),
    Notice<32>("Quality Notice 32", "'using namespace' construct."),
    Notice<43>("Quality Notice 43", "Keyword 'continue'."),
    Notice<44>("Quality Notice 44", "Keyword 'break' outside a 'switch'."),
    Notice<56>("Quality Notice 56", "Several 'break's in a row without a 'case'."),

    // Stability and maintainability
    Notice<8>("Quality Notice 8", "Call of 'realloc'.").Section(kStability),
    Notice<9>("Quality Notice 9", "Keyword 'goto'."),
    Notice<15>("Quality Notice 15", "Friend class."),
    Notice<26>("Quality Notice 26", "Generic type 'void *'."),
    Notice<27>("Quality Notice 27", "Function with more return points than the maximum."),
    Integer("Maximum functional return points", &Int<&Config::maxReturnPoints>,
            "Maximum number of return points of a function."),
    YesNo("Count goto as a function return point", &Int<&Config::gotoIsReturnPoint>,
          "Count each 'goto' as a return point."),
    Notice<28>("Quality Notice 28", "Function cyclomatic complexity above the maximum."),
    Integer("Maximum functional cyclomatic complexity", &Int<&Config::maxCyclomatic>,
            "Maximum cyclomatic complexity of a function."),
    Notice<29>("Quality Notice 29", "Function with more parameters than the maximum."),
    Integer("Maximum functional interface complexity", &Int<&Config::maxInterfaceComplexity>,
            "Maximum number of parameters of a function."),
    Notice<33>("Quality Notice 33", "Class or struct defined inside a function."),
    Notice<34>("Quality Notice 34", "Class holds a pointer to data."),
    Notice<35>("Quality Notice 35", "Class holds public data."),
    YesNo("Ignore public event data", &Int<&Config::ignorePublicEvent>,
          "Public members left out of that check: events, constants and\n"
          "delegates."),
    YesNo("Ignore public const data", &Int<&Config::ignorePublicConst>),
    YesNo("Ignore public delegate data", &Int<&Config::ignorePublicDelegate>),
    Notice<36>("Quality Notice 36", "Class holds protected data."),
    Notice<37>("Quality Notice 37", "Base class with virtual methods but no virtual destructor."),
    Notice<38>("Quality Notice 38", "Exception handling 'try' - 'catch'."),
    Notice<39>("Quality Notice 39", "Class or struct with more methods than the maximum."),
    Integer("Maximum number of methods per class", &Int<&Config::maxMethodsPerClass>,
            "Maximum number of methods of a class or struct."),
    Notice<40>("Quality Notice 40", "Inheritance tree deeper than the maximum."),
    Integer("Maximum depth of inheritance tree", &Int<&Config::maxInheritanceDepth>,
            "Maximum depth of an inheritance tree."),
    Notice<41>("Quality Notice 41", "Class with more derived classes than the maximum."),
    Integer("Maximum number of derived child classes", &Int<&Config::maxDerivedChildren>,
            "Maximum number of classes derived directly from one class."),
    Notice<42>("Quality Notice 42", "Multiple inheritance."),
    Notice<45>("Quality Notice 45", "File with unequal numbers of new and delete."),
    Notice<49>("Quality Notice 49", "Function with empty or void parameters."),
    Notice<50>("Quality Notice 50", "Variable assigned a literal number."),
    YesNo("Include zero (0) as literal assignment", &Int<&Config::zeroIsLiteral>,
          "Report assignments of 0 as well."),
    Notice<55>("Quality Notice 55", "Scope nested deeper than the maximum."),
    Integer("Maximum depth of scope", &Int<&Config::maxScopeDepth>,
            "Maximum depth of nested scopes; 0 stands for 7.")
        .ZeroAs(7).Range(1, 1000000),

    // Function, class and struct content
    Integer("Min. Function LOC for content analysis", &Int<&Config::minFunctionLocForContent>,
            "Functions with fewer LOC are left out of the blank line, comment\n"
            "and white space checks below.")
        .Section(kContent),
    Integer("Min. Class/Struct LOC content analysis", &Int<&Config::minClassLocForContent>,
            "Classes and structs with fewer LOC are left out of the comment\n"
            "check below."),
    Notice<16>("Quality Notice 16", "Function, class or struct white space below the minimum."),
    Percent("Minimum Function Whitespace Percent", &Flt<&Config::minFunctionWhitespacePct>,
            "Minimum percentage of white space characters."),
    Notice<17>("Quality Notice 17", "Function comment lines below the minimum."),
    Percent("Minimum Function Comment Line Percent", &Flt<&Config::minFunctionCommentPct>,
            "Minimum percentage of comment lines."),
    Notice<18>("Quality Notice 18", "Function eLOC above the maximum."),
    Integer("Maximum Function eLOC", &Int<&Config::maxFunctionEloc>,
            "Maximum eLOC of a function."),
    Notice<48>("Quality Notice 48", "Function with too few logical lines to do anything."),
    Integer("Minimum Function lLOC", &Int<&Config::minFunctionLloc>,
            "Functions with this many lLOC or fewer are reported."),
    Notice<31>("Quality Notice 31", "Class or struct comment lines below the minimum."),
    Percent("Minimum Class/Struct Comment Percent", &Flt<&Config::minClassCommentPct>,
            "Minimum percentage of comment lines."),
    Notice<46>("Quality Notice 46", "Function or class blank lines below the minimum."),
    Percent("Minimum Function Blank Line Percent", &Flt<&Config::minFunctionBlankPct>,
            "Minimum percentage of blank lines."),
    Notice<51>("Quality Notice 51", "No comment before a function."),
    Notice<52>("Quality Notice 52", "No comment before a class."),
    Notice<53>("Quality Notice 53", "No comment before a struct."),
    Notice<54>("Quality Notice 54", "No comment before an interface."),

    // File content
    Notice<19>("Quality Notice 19", "File white space below the minimum.").Section(kFileContent),
    Percent("Minimum File Whitespace Percent", &Flt<&Config::minFileWhitespacePct>,
            "Minimum percentage of white space characters."),
    Integer("A TAB is equivalent to n space", &Int<&Config::tabSize>,
            "Number of blanks a TAB counts for in white space and line length.").Range(0, 16),
    Notice<20>("Quality Notice 20", "File comment lines below the minimum."),
    Percent("Minimum File Comment Line Percent", &Flt<&Config::minFileCommentPct>,
            "Minimum percentage of comment lines."),
    Notice<47>("Quality Notice 47", "File blank lines below the minimum."),
    Percent("Minimum File Blank Line Percent", &Flt<&Config::minFileBlankPct>,
            "Minimum percentage of blank lines."),

    // Miscellaneous
    Notice<57>("Quality Notice 57", "Code skip token found: the lines up to the end token are not\n"
                                    "counted.")
        .Section(kMisc),
    Notice<58>("Quality Notice 58", "Quality skip token found: no quality notices up to the end\n"
                                    "token."),

    // Code listing
    Integer("Printed Line Length", &Int<&Config::printedLineLength>,
            "Code listing layout (-p): characters per line (-L).")
        .Section(kListing).Range(20, 65535),
    Integer("Printed Page Length", &Int<&Config::printedPageLength>, "Lines per page (-P).").Range(0, 65535),
    Integer("Printed Left Margin", &Int<&Config::printedLeftMargin>, "Blanks before each line (-M).")
        .Range(0, 65535),
    Integer("Printed Top Margin", &Int<&Config::printedTopMargin>, "Blank lines at the top of a page (-B).")
        .Range(0, 65535),
    Text("Printed Page Header", &Str<&Config::printedPageHeader>, "Title at the top of each page (-S).")
        .AlnumStart(),
    [] {
      CfgKey k = YesNo("Page breaks in code print format", &Int<&Config::noPageBreaks>,
                       "Start each page with a form feed.");
      k.type = CfgType::NoYes;
      return k;
    }(),

    // HTML
    YesNo("Relative HTML Links", &Int<&Config::relativeHtmlLinks>,
          "Write hyperlinks to source files as relative paths.")
        .Section(kHtml),
    Colour("HTML LQA Color", &Str<&Config::htmlLqaColor>,
           "Colours of HTML reports, as #RRGGBB or a colour name.\n"
           "Program name in the report header."),
    Colour("HTML Date Color", &Str<&Config::htmlDateColor>, "Dates."),
    Colour("HTML Text Color", &Str<&Config::htmlTextColor>, "Plain text."),
    Colour("HTML VLink Color", &Str<&Config::htmlVLinkColor>, "Visited links."),
    Colour("HTML Link Color", &Str<&Config::htmlLinkColor>, "Links."),
    Colour("HTML Background Color", &Str<&Config::htmlBackgroundColor>, "Page background."),
    Colour("HTML Error Color", &Str<&Config::htmlErrorColor>, "Error messages."),
    Colour("HTML Line Color", &Str<&Config::htmlLineColor>, "Rule lines."),
    Colour("HTML Old File Differential Color", &Str<&Config::htmlOldFileDiffColor>,
           "Name of the older file in differential reports."),
    Colour("HTML New File Differential Color", &Str<&Config::htmlNewFileDiffColor>,
           "Name of the newer file in differential reports."),
    Colour("HTML File Name Color", &Str<&Config::htmlFileNameColor>, "File names."),
    Colour("HTML Function Color", &Str<&Config::htmlFunctionColor>, "Function names."),
    Colour("HTML Function Parameter Color", &Str<&Config::htmlFunctionParamColor>, "Function parameters."),
    Colour("HTML Template Color", &Str<&Config::htmlTemplateColor>, "Templates."),
    Colour("HTML Macro Color", &Str<&Config::htmlMacroColor>, "Macros."),
    Colour("HTML Class Color", &Str<&Config::htmlClassColor>, "Class names."),
    Colour("HTML Inheritance Color", &Str<&Config::htmlInheritanceColor>, "Inheritance lines and tree roots."),
    Colour("HTML Struct Color", &Str<&Config::htmlStructColor>, "Struct names."),
    Colour("HTML Notice Color", &Str<&Config::htmlNoticeColor>, "Quality notices."),
    Colour("HTML Header Color", &Str<&Config::htmlHeaderColor>, "Report section headers."),
    Colour("HTML New Code Differential Color", &Str<&Config::htmlNewCodeDiffColor>, "New lines."),
    Colour("HTML Removed Code Differential Color", &Str<&Config::htmlRemovedCodeDiffColor>,
           "Removed lines."),
    Colour("HTML Modified Code Differential Color", &Str<&Config::htmlModifiedCodeDiffColor>,
           "Modified lines."),
    Colour("HTML Equal Code Differential Color", &Str<&Config::htmlEqualCodeDiffColor>, "Equal lines."),
    Colour("HTML Total Color", &Str<&Config::htmlTotalColor>, "Totals."),
    Colour("HTML Inheritance Depth Color", &Str<&Config::htmlInheritanceDepthColor>,
           "Inheritance depth figures."),
    Colour("HTML Inheritance Child Color", &Str<&Config::htmlInheritanceChildColor>,
           "Derived class counts."),

    // Known to the reader only; the version line is written by the file header.
    Text("LQA CFG Version", &Str<&Config::cfgVersion>).Max(kCfgVersionMax).AlnumStart().Use(CfgUse::ReadOnly),
    Colour("html alink color", &Str<&Config::htmlALinkColor>, nullptr).Use(CfgUse::ReadOnly),
    YesNo("Quality Notice 25", &Qn<25>).Use(CfgUse::ReadOnly),
    Key("include cyclo complexity in work files", CfgType::Deprecated, nullptr).Use(CfgUse::ReadOnly),
};

}  // namespace

std::span<const CfgKey> CfgKeyTable() { return kKeys; }

const CfgKey* FindCfgKey(std::string_view label) {
  for (const CfgKey& key : kKeys)
    if (EqualsNoCase(label, key.label)) return &key;
  return nullptr;
}
