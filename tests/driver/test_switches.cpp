// Switch parsing: flags set in command-line order, bounded values, the
// errors that end the run and the post-switch adjustments.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/help.h"
#include "driver/switches.h"
#include "test_support.h"
#include "capture_out.h"

namespace {

// Owns an argv built from words; argv[0] is "lqa".
struct Args {
  std::vector<std::string> words;
  std::vector<char*> argv;
  explicit Args(std::vector<std::string> w) : words(std::move(w)) {
    words.insert(words.begin(), "lqa");
    for (auto& s : words) argv.push_back(s.data());
    argv.push_back(nullptr);
  }
  int argc() const { return static_cast<int>(words.size()); }
};

int Parse(GlobalData& gcd, std::vector<std::string> words) {
  Args a(std::move(words));
  return SetUpParams(a.argc(), a.argv.data(), gcd);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class SwitchesTest : public ::testing::Test {
 protected:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  TempDir tmp;

  // Runs the switches in a child process whose report stream is a file;
  // returns the report text and checks the exit status.
  std::string ExitText(const std::vector<std::string>& words, int status) {
    const std::string out = tmp.path() + "/out.txt";
    EXPECT_EXIT(
        {
          gLQAOUT = std::fopen(out.c_str(), "w");
          Parse(*gcd, words);
          std::exit(99);
        },
        ::testing::ExitedWithCode(status), "");
    return ReadFile(out);
  }
};

TEST_F(SwitchesTest, CsvSubReportsOnlyWhenCsvCameFirst) {
  Parse(*gcd, {"-s", "-C", "-fd"});
  EXPECT_EQ(gcd->sw.outputMode, OutputMode::Csv);
  EXPECT_EQ(gcd->sw.csvFileSummary, 0);
  EXPECT_EQ(gcd->sw.complexity, 1);

  auto g2 = NewGlobalData();
  Parse(*g2, {"-C", "-s"});
  EXPECT_EQ(g2->sw.csvFileSummary, 1);
  EXPECT_EQ(g2->sw.csvFunctionLines, 0);

  auto g3 = NewGlobalData();
  Parse(*g3, {"-fa", "-A"});
  EXPECT_EQ(g3->sw.csvFunctionLines, 0);
  auto g4 = NewGlobalData();
  Parse(*g4, {"-A", "-fa"});
  EXPECT_EQ(g4->sw.csvFileSummary, 1);
  EXPECT_EQ(g4->sw.csvFunctionLines, 1);
}

TEST_F(SwitchesTest, ReturnsFirstFileIndexAndCountsFiles) {
  EXPECT_EQ(Parse(*gcd, {"-c", "-n", "a.c", "b.c"}), 3);
  EXPECT_EQ(gcd->sw.fileArgCount, 2);
  EXPECT_EQ(gcd->sw.filesPresent, 1);
  EXPECT_EQ(gcd->sw.perFileSummary, 1);
  EXPECT_EQ(gcd->sw.analysisRequested, 1);

  auto g2 = NewGlobalData();
  EXPECT_EQ(Parse(*g2, {"-b"}), 2);
  EXPECT_EQ(g2->sw.filesPresent, 0);
  EXPECT_EQ(g2->sw.analysisRequested, 0);
}

TEST_F(SwitchesTest, CanBeCalledRepeatedly) {
  Parse(*gcd, {"-c"});
  auto g2 = NewGlobalData();
  Parse(*g2, {"-o"});
  EXPECT_EQ(g2->sw.objectMetrics, 1);
  EXPECT_EQ(g2->sw.complexity, 0);
}

// -j takes its count right after the switch; the last one given counts and
// counts past the largest are lowered to it, whatever their length.
TEST_F(SwitchesTest, WorkerCount) {
  EXPECT_EQ(Parse(*gcd, {"-s", "a.c"}), 2);
  EXPECT_EQ(gcd->sw.jobs, 0);
  EXPECT_EQ(gcd->sw.jobsGiven, 0);
  struct Case {
    std::vector<std::string> words;
    int jobs;
  };
  const std::vector<Case> cases = {
      {{"-j0"}, 0},     {{"-j007"}, 7},   {{"-j256"}, 256},
      {{"-j257"}, 256}, {{"-j99999999999999999999"}, 256}, {{"-j3", "-j2"}, 2},
  };
  for (const Case& c : cases) {
    auto g = NewGlobalData();
    Parse(*g, c.words);
    EXPECT_EQ(g->sw.jobs, c.jobs) << c.words[0];
    EXPECT_EQ(g->sw.jobsGiven, 1) << c.words[0];
  }
  // The count is a switch of its own: the first file is found as without it.
  auto g = NewGlobalData();
  EXPECT_EQ(Parse(*g, {"-j2", "-c", "a.c"}), 3);
  EXPECT_EQ(g->sw.fileArgCount, 1);
}

TEST_F(SwitchesTest, SortKeys) {
  const std::string out = CaptureOut([&] { Parse(*gcd, {"-k11"}); });
  EXPECT_EQ(out, "\n  Error: 11 invalid sort key value.\n         Defaulting to no sort\n         Use -hs for help text\n");
  EXPECT_EQ(gcd->sw.sortKey, 0);
  EXPECT_EQ(gcd->sw.sortOn, 0);

  auto g2 = NewGlobalData();
  Parse(*g2, {"-k5", "-kd"});
  EXPECT_EQ(g2->sw.sortKey, 5);
  EXPECT_EQ(g2->sw.sortOn, 1);
  EXPECT_EQ(g2->sw.sortDescending, 1);

  auto g3 = NewGlobalData();
  EXPECT_NE(CaptureOut([&] { Parse(*g3, {"-k-1"}); }).find("-1 invalid sort key"), std::string::npos);
}

TEST_F(SwitchesTest, ListingLayoutLimits) {
  Parse(*gcd, {"-L5", "-P-60", "-B-3", "-M-1"});
  EXPECT_EQ(gcd->cfg.printedLineLength, 20);
  EXPECT_EQ(gcd->cfg.printedPageLength, -60);
  EXPECT_EQ(gcd->cfg.noPageBreaks, 1);
  EXPECT_EQ(gcd->cfg.printedTopMargin, 0);
  EXPECT_EQ(gcd->cfg.printedLeftMargin, 0);

  auto g2 = NewGlobalData();
  g2->cfg.noPageBreaks = 0;
  Parse(*g2, {"-L100", "-P40", "-B2", "-M7"});
  EXPECT_EQ(g2->cfg.printedLineLength, 100);
  EXPECT_EQ(g2->cfg.printedPageLength, 40);
  EXPECT_EQ(g2->cfg.noPageBreaks, 0);
  EXPECT_EQ(g2->cfg.printedTopMargin, 2);
  EXPECT_EQ(g2->cfg.printedLeftMargin, 7);
}

TEST_F(SwitchesTest, RecursiveArgumentSplitsAndCurrentDirectorySpellings) {
  const std::string cwd = std::filesystem::current_path().string();
  for (const char* spelling : {".", "./", ".\\", "\\", "/", "*", "*.*"}) {
    auto g = NewGlobalData();
    Parse(*g, {std::string("-rc,h ") + spelling});
    EXPECT_EQ(g->sw.recursiveExtensions, "c,h") << spelling;
    EXPECT_EQ(g->sw.recursiveDir, cwd) << spelling;
  }
  Parse(*gcd, {"-Fa.lst", "-rcpp,java src/my dir\nignored"});
  EXPECT_EQ(gcd->sw.recursive, 1);
  EXPECT_EQ(gcd->sw.fileList, 0);
  EXPECT_EQ(gcd->sw.recursiveExtensions, "cpp,java");
  EXPECT_EQ(gcd->sw.recursiveDir, "src/my dir");

  auto g2 = NewGlobalData();
  Parse(*g2, {"-rc,h", "-Flist.txt"});
  EXPECT_EQ(g2->sw.recursiveExtensions, "c,h");
  EXPECT_EQ(g2->sw.recursiveDir, "");
  EXPECT_EQ(g2->sw.recursive, 0);
  EXPECT_EQ(g2->sw.fileList, 1);
  EXPECT_EQ(g2->sw.fileListName, "list.txt");
}

TEST_F(SwitchesTest, WorkCreateAndDeterministicOrder) {
  Parse(*gcd, {"-wcreate proj/", "-wD"});
  EXPECT_EQ(gcd->sw.workCreate, 0);
  EXPECT_EQ(gcd->sw.noFileNames, 0);
  EXPECT_EQ(gcd->sw.workDeterministic, 1);

  auto g2 = NewGlobalData();
  Parse(*g2, {"-wD", "-wCreate proj/"});
  EXPECT_EQ(g2->sw.workCreate, 1);
  EXPECT_EQ(g2->sw.workTopDir, "proj");
  EXPECT_EQ(g2->sw.workFileName, "workfile.dat");
  EXPECT_EQ(g2->sw.noFileNames, 1);
  EXPECT_EQ(g2->sw.totalsOnly, 1);
  EXPECT_EQ(g2->sw.objectMetrics, 1);

  auto g3 = NewGlobalData();
  Parse(*g3, {"-wFile dat out/base.dat", "-wcreate ."});
  EXPECT_EQ(g3->sw.workFileName, "out/base.dat");
  EXPECT_EQ(g3->cfg.workFileLocation, "out");
  EXPECT_EQ(g3->sw.workTopDir, ".");
}

TEST_F(SwitchesTest, UserConfigFileOnlyWhenAllowed) {
  const std::string cfg = tmp.Write("my.cfg", "\n");
  const std::string before = gcd->drv.cfgFile;
  Parse(*gcd, {"-uFile cfg " + cfg});
  EXPECT_EQ(gcd->drv.cfgFile, before);

  auto g2 = NewGlobalData();
  g2->cfg.enableUserCfgFiles = 1;
  Parse(*g2, {"-uFile cfg " + cfg});
  EXPECT_EQ(g2->drv.cfgFile, cfg);

  auto g3 = NewGlobalData();
  Parse(*g3, {"-ufile XSL style.xsl"});
  EXPECT_EQ(g3->sw.xslFile, "style.xsl");
}

TEST_F(SwitchesTest, ExtendedKeywords) {
  Parse(*gcd, {"-xnoconfig", "-xNOCOMMAND", "-xNoWrap", "-xudqnshow", "-xNOHEADER", "-xdiffdebug"});
  EXPECT_EQ(gcd->sw.noConfigLine, 1);
  EXPECT_EQ(gcd->sw.noCommandLine, 1);
  EXPECT_EQ(gcd->cfg.wrapLongNames, 0);
  EXPECT_EQ(gcd->sw.udqnShow, 1);
  EXPECT_EQ(gcd->sw.qualityNotices, 1);
  EXPECT_EQ(gcd->sw.noHeader, 1);
  EXPECT_EQ(gcd->sw.diffDebug, 1);
  EXPECT_EQ(gcd->sw.debug, 0);

  auto g2 = NewGlobalData();
  const std::string out = CaptureOut([&] { Parse(*g2, {"-xDEBUG", "-xFile csv rep.cfg"}); });
  EXPECT_EQ(out, "*** Debug: Report File Options\n*** Type: Comma Separated Variables - CSV\n*** File: rep.cfg\n");
  EXPECT_EQ(g2->sw.csvReportCfgFile, "rep.cfg");
}

TEST_F(SwitchesTest, TotalsForms) {
  Parse(*gcd, {"-Nv", "-Tq"});
  EXPECT_EQ(gcd->sw.noticeSingleLine, 0);
  EXPECT_EQ(gcd->sw.noticeListMode, 1);
  EXPECT_EQ(gcd->sw.totalsOnly, 1);
  EXPECT_EQ(gcd->sw.functionAnalysis, 1);

  auto g2 = NewGlobalData();
  Parse(*g2, {"-Tq", "-Tp"});
  EXPECT_EQ(g2->sw.noticeSingleLine, 1);
  EXPECT_EQ(g2->sw.noticeListMode, 0);
  EXPECT_EQ(g2->sw.inheritanceTree, 1);
}

TEST_F(SwitchesTest, LongArgumentsAreBounded) {
  const std::string huge(100000, 'a');
  Parse(*gcd, {"-S" + huge, "-r" + huge + " " + huge});
  EXPECT_EQ(gcd->sw.title.size(), kTextMax);
  EXPECT_LE(gcd->sw.recursiveExtensions.size(), kTextMax);
  EXPECT_LE(gcd->sw.recursiveDir.size(), kTextMax);

  const std::string out = ExitText({"-O" + tmp.path() + "/" + huge}, 1);
  EXPECT_EQ(out.rfind("\n  Error: Could not open output file\n         Filename: ", 0), 0u);
  EXPECT_LT(out.size(), 2 * kTextBuf);
}

TEST_F(SwitchesTest, OutputFileThatCannotBeCreated) {
  const std::string name = tmp.path() + "/missing/report.txt";
  const std::string out = ExitText({"-O" + name}, 1);
  EXPECT_EQ(out, "\n  Error: Could not open output file\n         Filename: " + name +
                     "\n         No such file or directory\n\n");
  EXPECT_FALSE(std::filesystem::exists(name));
}

TEST_F(SwitchesTest, ErrorsThatEndTheRun) {
  struct Case {
    std::vector<std::string> words;
    int status;
    std::string text;
  };
  const std::string use = "\n         Use -hs for help text\n";
  const std::vector<Case> cases = {
      {{"-Z"}, 1, "\n  Error: Command line parse error, invalid option.\n         Use -hs to show program help syntax.\n"},
      {{"-Dx"}, 1, "\n  Error: Invalid or missing parameter for -D option" + use},
      {{"-Ex"}, 1, "\n  Error: Invalid parameter for -E option" + use},
      {{"-Nx"}, 1, "\n  Error: Invalid or missing parameter for -N option" + use},
      {{"-Rx"}, 1, "\n  Error: Invalid parameter for -R option" + use},
      {{"-Tz"}, 1, "\n  Error: Invalid or missing parameter for -T option" + use},
      {{"-wz"}, 1, "\n  Error: Invalid or missing parameter for -w option" + use},
      {{"-xbogus"}, 1, "\n  Error: Invalid parameter for -x option" + use},
      {{"-uxyz"}, 1, "\n  Error: Invalid or missing parameter for -u option" + use},
      {{"-q"}, 1, "\n  -q Query setup mode is now supported in the lqa.cfg file.\n"},
      {{"-W"}, 1, "\n  -W Work Diff mode is now supported under the -wx option\n"},
      {{"-x old"}, 1, "\n  -x Work Diff extraction mode is now supported under the -wx option\n"},
      {{"-xFile txt a"}, 1, "\n  Error: Invalid report file type\n"},
      {{"-wW"}, 0,
       "\n  Error: The -wW switch has been deprecated and is no\n         longer supported.  Use the -wx switch to "
       "perform\n         baseline differentials\n\n"},
      {{"-wx old only"}, 1,
       "\n  Error: -wx option syntax is invalid\n         Example -w\"x work file old, work file new\"" + use},
      {{"-wcrate x"}, 1,
       "\n  Error: The correct syntax for the work file create\n         option is: -w \"Create top directory of "
       "baseline\"\n         Windows Example: -w \"Create c:\\my project\"\n         Unix Example: -w \"Create "
       "/Project_Dir\"\n         Current Directory Example: -w \"Create .\"\n"},
      {{"-wcreate x"}, 1, "\n  Error: No baseline directory specififed for the\n         -w \"Create dir\" option.\n"},
      {{"-wcreate"}, 1, "\n  Error: No baseline directory specififed for the\n         -w \"Create dir\" option.\n"},
      {{"-wFile txt a"}, 0, "\n  Error: -w \"File [dat|cfg] [path\\filename]\"\n         Command line syntax is not correct\n"},
      {{"-wFile dat"}, 0, "\n  Error: -w \"File dat\" file name not parsed\n         Check command line syntax\n"},
      {{"-wFile cfg"}, 0, "\n  Error: -w \"File cfg\" file name not parsed\n         Check command line syntax\n"},
      {{"-wFile cfg /no/such.cfg"}, 0, "\n  Error: File name [/no/such.cfg] not found\n"},
      {{"-fz"}, 1,
       "\n  Error: As of version 6.20 the -f flag requires\n         -fa for functional analysis\n         -fd "
       "function file details\n         -fm function and attribute detail for classes\n         -fp for function "
       "points derived from LOC metrics\n         Use -hs for program syntax\n"},
      {{"-j+2"}, 1, "\n  Error: Invalid parameter for -j option" + use},
      {{"-j 2"}, 1, "\n  Error: Invalid parameter for -j option" + use},
      {{"-j", "2"}, 1, "\n  Error: Invalid parameter for -j option" + use},
      {{"-r.. 9"}, 1,
       "\n  Error: In the specified parameter: -r\n         For the recursive descent option -r,\n         The "
       "option parameters must be delimited by quotes.\n         Specify the file extensions separated by "
       "commas.\n         The specified directory must be the last parameter.\n\n         Windows Example: "
       "-r\"h,c,java,cs c:\\my project\"\n         UNIX Example: -r\"h,cpp,java,cs /my_project\"" + use},
  };
  for (const Case& c : cases) EXPECT_EQ(ExitText(c.words, c.status), c.text) << c.words[0];
}

TEST_F(SwitchesTest, HtmlModeClosesThePageOnErrors) {
  EXPECT_EQ(ExitText({"-H", "-Rx"}, 1),
            "\n  Error: Invalid parameter for -R option\n         Use -hs for help text\n</pre></body></html>");
}

TEST_F(SwitchesTest, AdjustAfterSwitches) {
  gcd->cfg.notice[25] = 1;
  gcd->sw.objectMetrics = 1;
  gcd->sw.progress = 1;
  AdjustAfterSwitches(*gcd);
  EXPECT_EQ(gcd->sw.progress, 0);
  EXPECT_EQ(gcd->sw.functionAnalysis, 1);
  EXPECT_EQ(gcd->lang.headerAsCpp, 1);

  auto g2 = NewGlobalData();
  g2->sw.outputFileGiven = 1;
  g2->cfg.notice[25] = 0;
  AdjustAfterSwitches(*g2);
  EXPECT_EQ(g2->sw.progress, 1);
  EXPECT_EQ(g2->sw.functionAnalysis, 0);
  EXPECT_EQ(g2->lang.headerAsCpp, 0);
}

TEST_F(SwitchesTest, CommandLineInEachOutputMode) {
  gcd->drv.commandLine = std::string(60, 'x') + " -S\"a<b\"";
  const std::string wrapped = CaptureOut([&] { ShowCmdLine(*gcd); });
  EXPECT_EQ(wrapped, std::string(58, 'x') + "\n" + std::string(16, ' ') + "xx -S\"a<b\" ");

  gcd->cfg.wrapLongNames = 0;
  EXPECT_EQ(CaptureOut([&] { ShowCmdLine(*gcd); }), gcd->drv.commandLine + " ");

  gcd->sw.outputMode = OutputMode::Csv;
  EXPECT_EQ(CaptureOut([&] { ShowCmdLine(*gcd); }), gcd->drv.commandLine);

  gcd->sw.outputMode = OutputMode::Xml;
  gcd->drv.commandLine = "-S\"a&b's <x>\"";
  EXPECT_EQ(CaptureOut([&] { ShowCmdLine(*gcd); }),
            "<command>-S&quot;a&amp;b&apos;s &lt;x&gt;&quot;</command>\n");

  gcd->sw.outputMode = OutputMode::Text;
  gcd->cfg.wrapLongNames = 1;
  gcd->drv.commandLine = std::string(5000, 'y');
  EXPECT_EQ(CaptureOut([&] { ShowCmdLine(*gcd); }).size(), kTextMax + 1);
}

TEST_F(SwitchesTest, NoArgumentsShowsShortSyntax) {
  gcd->drv.progPath = "c:\\tools\\lqa";
  const std::string out = ExitText({}, 0);
  EXPECT_EQ(out.rfind("  Syntax: lqa -option or -switch[option]\n", 0), 0u);
  EXPECT_TRUE(HasLine(out, "          -hf Help manual full text"));
}

TEST_F(SwitchesTest, CommandLineError) {
  gcd->drv.commandLine = "-Z a.c";
  const std::string out = tmp.path() + "/err.txt";
  EXPECT_EXIT(
      {
        gLQAOUT = std::fopen(out.c_str(), "w");
        ShowCmdError(*gcd);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadFile(out), "  Command Line Syntax Error, Try -hs for help...\n  -Z a.c \n\n");
}

}  // namespace
