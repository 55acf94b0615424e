// Every value of lqa.cfg, with its built-in default.
#pragma once

#include <array>
#include <cstdio>
#include <string>

inline constexpr int kNoticeCount = 58;

struct Config {
  std::string cfgVersion;  // "LQA CFG Version"
  int reportHeaderActive = 0;
  std::string reportHeaderTextLine;
  std::string reportHeaderHtmlLine;
  int enableUserCfgFiles = 0;
  int caseSensitiveNames = 0;
  int showProgress = 0;
  int detailedProgress = 0;
  int progressInterval = 10;
  int showFileDateSize = 1;
  int validateExtensions = 1;
  std::string cExtensions = "c";
  std::string cHeaderExtensions = "h";
  std::string cppExtensions = "cc,cpp,cxx,CC";
  std::string cppHeaderExtensions = "h,hh,H,hxx,hpp";
  std::string csharpExtensions = "cs";
  std::string javaExtensions = "java";
  std::string otherExtensions;
  // "Treat C headers as C++" shares the enabling slot of notice 25: notice[25].
  int patternFilterActive = 0;
  std::string patternFilter;
  std::string skipStartToken = "LQA_IGNORE_BEGIN";
  std::string skipEndToken = "LQA_IGNORE_END";
  std::string qualitySkipStartToken = "LQA_IGNORE_QUALITY_BEGIN";
  std::string qualitySkipEndToken = "LQA_IGNORE_QUALITY_END";
  int skipTokensActive = 0;
  int skipLocalDirs = 0;
  std::string localDirsNotProcessed;
  int wrapLongNames = 1;
  std::string workFileLocation;
  int diffIgnoreBlankLines = 1;
  int diffIgnoreWhiteSpace = 1;
  int maxLcsFileLines = 7000;
  int addRemovedAsModified = 0;
  int showEqualLines = 0;
  int showRemovedLines = 0;
  int showAddedLines = 0;
  int relativeWorkFiles = 1;
  int workSecondsPerHour = 3600;
  int workHoursPerShift = 8;
  int workShiftsPerDay = 1;
  int workDaysPerWeek = 5;
  int workHoursPerManDay = 8;
  int workHoursPerManWeek = 40;
  int workHoursPerManMonth = 160;
  int workHoursPerManYear = 1960;
  // Function points per LOC, eLOC and lLOC for header, C, C++, Java, C#, other.
  std::array<std::array<int, 3>, 6> functionPoints{{{0, 0, 0}, {128, 128, 128}, {53, 53, 53},
                                                    {53, 53, 53}, {53, 53, 53}, {0, 0, 0}}};
  int cycloFunctionCall = 1;
  int cycloWhile = 1;
  int cycloFor = 1;
  int cycloSwitch = 0;
  int cycloCase = 1;
  int cycloIf = 1;
  int cycloElse = 0;
  int cycloInlineIf = 1;
  int cycloGoto = 1;
  int cycloOr = 1;
  int cycloAnd = 1;
  std::string udqnFile;
  int reorderNoticeLine = 0;
  int maxLineLength = 80;
  int maxFunctionNameLength = 32;
  std::string keyString;
  int keyStringConfigured = 0;
  int useDefaultInCaseBreak = 0;
  int maxReturnPoints = 1;
  int gotoIsReturnPoint = 1;
  int maxCyclomatic = 10;
  int maxInterfaceComplexity = 6;
  int ignorePublicEvent = 1;
  int ignorePublicConst = 1;
  int ignorePublicDelegate = 1;
  int maxMethodsPerClass = 100;
  int maxInheritanceDepth = 4;
  int maxDerivedChildren = 10;
  int zeroIsLiteral = 0;
  int maxScopeDepth = 7;
  int minFunctionLocForContent = 0;
  int minClassLocForContent = 0;
  float minFunctionWhitespacePct = 10.0f;
  float minFunctionCommentPct = 10.0f;
  int maxFunctionEloc = 200;
  int minFunctionLloc = 0;
  float minClassCommentPct = 10.0f;
  float minFunctionBlankPct = 10.0f;
  float minFileWhitespacePct = 10.0f;
  int tabSize = 2;
  float minFileCommentPct = 10.0f;
  float minFileBlankPct = 10.0f;
  int printedLineLength = 80;
  int printedPageLength = 55;
  int printedLeftMargin = 5;
  int printedTopMargin = 1;
  std::string printedPageHeader = "LQA Code Listing";
  int noPageBreaks = 1;  // "Page breaks in code print format", stored inverted (default No)
  int relativeHtmlLinks = 1;
  std::string htmlLqaColor = "#0000FF";
  std::string htmlDateColor = "#0000FF";
  std::string htmlTextColor = "#000000";
  std::string htmlVLinkColor = "#660099";
  std::string htmlLinkColor = "#0000EE";
  std::string htmlALinkColor = "#CCCCCC";
  std::string htmlBackgroundColor = "#F8F8F8";
  std::string htmlErrorColor = "#FF0000";
  std::string htmlLineColor = "#003399";
  std::string htmlOldFileDiffColor = "#CC0033";
  std::string htmlNewFileDiffColor = "#336666";
  std::string htmlFileNameColor = "#0000FF";
  std::string htmlFunctionColor = "#0000FF";
  std::string htmlFunctionParamColor = "#006600";
  std::string htmlTemplateColor = "#006699";
  std::string htmlMacroColor = "#33CCFF";
  std::string htmlClassColor = "#663300";
  std::string htmlInheritanceColor = "#FF3300";
  std::string htmlStructColor = "#990000";
  std::string htmlNoticeColor = "#CC0000";
  std::string htmlHeaderColor = "#993300";
  std::string htmlNewCodeDiffColor = "#3366CC";
  std::string htmlRemovedCodeDiffColor = "#FF0000";
  std::string htmlModifiedCodeDiffColor = "#993300";
  std::string htmlEqualCodeDiffColor = "#00CC00";
  std::string htmlTotalColor = "#993300";
  std::string htmlInheritanceDepthColor = "#333300";
  std::string htmlInheritanceChildColor = "#CC6600";

  // Enabling of quality notices 1..58 (index 0 unused). Slot 25 holds
  // "Treat C headers as C++". InitGlobals sets the defaults.
  std::array<int, kNoticeCount + 1> notice{};
};

struct GlobalData;
// Sets every configuration default, including the notice enabling defaults.
void InitGlobals(GlobalData& gcd);
// Reads the located configuration file gcd.drv.cfgFile, creating it from the
// current values when it is missing and rewriting it when its version line
// differs from the program version. Returns 1, or 0 when the file can be
// neither read nor created (the defaults stay).
int LoadCfg(GlobalData& gcd);
// Applies one "label : value" line of the file; anything else is ignored.
void ApplyCfgLine(const char* line, GlobalData& gcd);
// Writes every value in the file's own format; in HTML mode as a page with
// every colour value shown in its colour.
void ShowCfg(FILE* stream, GlobalData& gcd);
