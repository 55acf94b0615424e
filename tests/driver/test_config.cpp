// Reading and writing lqa.cfg: value rules, file creation, version upgrade,
// layout and round trips.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "common/version.h"
#include "driver/config.h"
#include "driver/config_keys.h"
#include "test_support.h"

namespace {

std::string Dump(GlobalData& gcd) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* mem = open_memstream(&data, &size);
  ShowCfg(mem, gcd);
  std::fclose(mem);
  std::string text(data, size);
  std::free(data);
  return text;
}

// The key line of a label in a dump, or "" when missing.
std::string KeyLine(const std::string& dump, const std::string& label) {
  for (const auto& line : Lines(dump))
    if (line.rfind(label, 0) == 0 && line.size() > label.size() &&
        (line[label.size()] == ' ' || line[label.size()] == ':'))
      return line;
  return "";
}

class ConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gcd = NewGlobalData();
    gcd->drv.cfgFile = dir.path() + "/lqa.cfg";
    gcd->drv.cwd = dir.path();
    gcd->drv.macroFile = dir.path() + "/lqa_macro.cfg";
  }
  // Writes lqa.cfg and reads it.
  int Load(const std::string& content) {
    dir.Write("lqa.cfg", content);
    return LoadCfg(*gcd);
  }
  void Apply(const std::string& line) { ApplyCfgLine(line.c_str(), *gcd); }
  Config& cfg() { return gcd->cfg; }

  TempDir dir;
  std::unique_ptr<GlobalData> gcd;
};

TEST_F(ConfigTest, NoticeDefaults) {
  for (int n = 1; n <= kNoticeCount; ++n) {
    const bool off = n == 21 || n == 46 || n == 47 || n == 51 || n == 52 || n == 53 || n == 54 ||
                     n == 57 || n == 58;
    EXPECT_EQ(cfg().notice[n], off ? 0 : 1) << "notice " << n;
  }
}

TEST_F(ConfigTest, MissingFileIsCreatedAndCarriesTheVersion) {
  ASSERT_EQ(LoadCfg(*gcd), 1);
  EXPECT_EQ(cfg().cfgVersion, kLqaVersion);
  const std::string file = dir.Read("lqa.cfg");
  EXPECT_TRUE(HasLine(file, "LQA CFG Version: 7.75"));
  // The file holds exactly the values now in the record.
  EXPECT_EQ(file, Dump(*gcd));
  // Apart from the version, those are the defaults.
  auto fresh = NewGlobalData();
  fresh->drv = gcd->drv;
  fresh->cfg.cfgVersion = kLqaVersion;
  EXPECT_EQ(Dump(*fresh), file);
}

TEST_F(ConfigTest, UnwritableLocationKeepsDefaults) {
  gcd->drv.cfgFile = dir.path() + "/no/such/dir/lqa.cfg";
  EXPECT_EQ(LoadCfg(*gcd), 0);
  EXPECT_EQ(cfg().maxLineLength, 80);
  EXPECT_EQ(cfg().cfgVersion, "");
  gcd->drv.cfgFile.clear();
  EXPECT_EQ(LoadCfg(*gcd), 0);
}

TEST_F(ConfigTest, DirectoryInPlaceOfTheFile) {
  std::filesystem::create_directory(dir.path() + "/lqa.cfg");
  LoadCfg(*gcd);
  EXPECT_EQ(cfg().maxLineLength, 80);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "/lqa.cfg"));
}

TEST_F(ConfigTest, OlderVersionIsRewrittenKeepingValues) {
  ASSERT_EQ(Load("LQA CFG Version: 7.70\nMaximum Line Length : 132\nQuality Notice 9 : No\n"), 1);
  const std::string file = dir.Read("lqa.cfg");
  EXPECT_TRUE(HasLine(file, "LQA CFG Version: 7.75"));
  EXPECT_EQ(KeyLine(file, "Maximum Line Length"), "Maximum Line Length                     : 132");
  EXPECT_EQ(KeyLine(file, "Quality Notice 9"), "Quality Notice 9                        : No");
  // A current file is left untouched.
  const std::string current = "LQA CFG Version: 7.75\nMaximum Line Length : 100\n";
  Load(current);
  EXPECT_EQ(dir.Read("lqa.cfg"), current);
  EXPECT_EQ(cfg().maxLineLength, 100);
}

TEST_F(ConfigTest, LabelMatching) {
  Apply("maximum line length:120");
  EXPECT_EQ(cfg().maxLineLength, 120);
  Apply("MAXIMUM FUNCTION NAME LENGTH \t\r : 40 \t\r\n");
  EXPECT_EQ(cfg().maxFunctionNameLength, 40);
  // Leading blanks, comment marks and partial labels do not match.
  Apply(" Maximum Line Length : 5");
  Apply("# Maximum Line Length : 5");
  Apply("Maximum Line : 5");
  Apply("Maximum Line Length Limit : 5");
  Apply("Maximum Line Length 5");
  EXPECT_EQ(cfg().maxLineLength, 120);
  // Only the first colon splits.
  Apply("Work file location path : c:/work:x");
  EXPECT_EQ(cfg().workFileLocation, "c:/work:x");
  // The last of repeated keys wins.
  Apply("Maximum Line Length : 90");
  Apply("Maximum Line Length : 91");
  EXPECT_EQ(cfg().maxLineLength, 91);
}

TEST_F(ConfigTest, YesNoValues) {
  Apply("Quality Notice 7 : nope");
  EXPECT_EQ(cfg().notice[7], 0);
  Apply("Quality Notice 7 :");
  EXPECT_EQ(cfg().notice[7], 1);
  Apply("Quality Notice 21 : NO");
  EXPECT_EQ(cfg().notice[21], 0);
  Apply("Quality Notice 21 : whatever");
  EXPECT_EQ(cfg().notice[21], 1);
  // Page breaks are held inverted.
  EXPECT_EQ(cfg().noPageBreaks, 1);
  Apply("Page breaks in code print format : Yes");
  EXPECT_EQ(cfg().noPageBreaks, 0);
  EXPECT_EQ(KeyLine(Dump(*gcd), "Page breaks in code print format"),
            "Page breaks in code print format        : Yes");
  Apply("Page breaks in code print format : no");
  EXPECT_EQ(cfg().noPageBreaks, 1);
  // "Treat C headers as C++" and "quality notice 25" share one slot.
  Apply("Treat C headers as C++ : No");
  EXPECT_EQ(cfg().notice[25], 0);
  Apply("quality notice 25 : Yes");
  EXPECT_EQ(cfg().notice[25], 1);
  EXPECT_EQ(KeyLine(Dump(*gcd), "Quality Notice 25"), "");
}

// Every number is held to a range that keeps the counts built from it
// finite; a value cut says so on standard error, and one in range leaves the
// file's bytes as they were.
TEST_F(ConfigTest, NumbersAreHeldToTheirRange) {
  testing::internal::CaptureStderr();
  Apply("A TAB is equivalent to n space : 2147483647");
  Apply("Work Days per Week : 9");
  Apply("Maximum LCS file size, number of lines : 99999999");
  Apply("Minimum File Blank Line Percent : 1e30");
  Apply("Printed Line Length : 3");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(cfg().tabSize, 16);
  EXPECT_EQ(cfg().workDaysPerWeek, 7);
  EXPECT_EQ(cfg().maxLcsFileLines, 32000);
  EXPECT_FLOAT_EQ(cfg().minFileBlankPct, 100.0f);
  EXPECT_EQ(cfg().printedLineLength, 20);
  EXPECT_NE(err.find("\n  Warning: Configuration value out of range in " + gcd->drv.cfgFile +
                     "\n           A TAB is equivalent to n space : 2147483647\n"
                     "           16 is used (the range is 0 to 16)\n"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("           100.00 is used (the range is 0 to 100)\n"), std::string::npos) << err;

  // A file with every value in range is read without a word and kept as it is.
  ASSERT_EQ(Load(""), 1);
  const std::string written = dir.Read("lqa.cfg");
  testing::internal::CaptureStderr();
  auto again = NewGlobalData();
  again->drv = gcd->drv;
  ASSERT_EQ(LoadCfg(*again), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(dir.Read("lqa.cfg"), written);
}

TEST_F(ConfigTest, NumberValues) {
  Apply("Maximum Line Length : abc");
  Apply("Maximum Line Length : -5");
  Apply("Maximum Line Length :");
  EXPECT_EQ(cfg().maxLineLength, 80);
  Apply("Maximum Line Length : 7x");
  EXPECT_EQ(cfg().maxLineLength, 7);
  Apply("Maximum Line Length : 99999999999999999999");
  EXPECT_EQ(cfg().maxLineLength, kCfgIntegerMax);
  Apply("Maximum depth of scope : 0");
  EXPECT_EQ(cfg().maxScopeDepth, 7);
  Apply("Progress status interval number of files : 0");
  EXPECT_EQ(cfg().progressInterval, 1);
  Apply("Maximum Function eLOC : 0");
  EXPECT_EQ(cfg().maxFunctionEloc, 0);
  Apply("C++ File Function Points per eLOC : 61");
  EXPECT_EQ(cfg().functionPoints[2][1], 61);

  Apply("Minimum File Blank Line Percent : 12.5");
  EXPECT_FLOAT_EQ(cfg().minFileBlankPct, 12.5f);
  Apply("Minimum File Blank Line Percent : .5");
  Apply("Minimum File Blank Line Percent : high");
  EXPECT_FLOAT_EQ(cfg().minFileBlankPct, 12.5f);
  EXPECT_EQ(KeyLine(Dump(*gcd), "Minimum File Blank Line Percent"),
            "Minimum File Blank Line Percent         : 12.50 ");
}

TEST_F(ConfigTest, TextValues) {
  Apply("Report Header Text Line : My Project");
  Apply("Report Header Text Line :   ");
  EXPECT_EQ(cfg().reportHeaderTextLine, "My Project");
  EXPECT_EQ(cfg().keyStringConfigured, 0);
  Apply("LQA KEY String :");
  EXPECT_EQ(cfg().keyStringConfigured, 0);
  Apply("LQA KEY String : Copyright (c) ACME");
  EXPECT_EQ(cfg().keyString, "Copyright (c) ACME");
  EXPECT_EQ(cfg().keyStringConfigured, 1);
  // Values that must start with a letter or digit.
  Apply("Printed Page Header : -- draft --");
  EXPECT_EQ(cfg().printedPageHeader, "LQA Code Listing");
  Apply("Printed Page Header : 2nd draft");
  EXPECT_EQ(cfg().printedPageHeader, "2nd draft");
  Apply("LQA CFG Version : .9");
  EXPECT_EQ(cfg().cfgVersion, "");
  Apply("LQA CFG Version : " + std::string(60, '7'));
  EXPECT_EQ(cfg().cfgVersion, std::string(40, '7'));
  // A work file location starting with a carriage return counts as empty.
  Apply("Work file location path : /w");
  Apply("Work file location path : \r/x");
  EXPECT_EQ(cfg().workFileLocation, "/w");
}

TEST_F(ConfigTest, ExtensionAndColourValues) {
  Apply("C File Extensions : .c");
  Apply("C File Extensions : ,c");
  EXPECT_EQ(cfg().cExtensions, "c");
  Apply("Other File Extensions : f90,for");
  EXPECT_EQ(cfg().otherExtensions, "f90,for");
  Apply("Java File Extensions : " + std::string(300, 'j'));
  EXPECT_EQ(cfg().javaExtensions, std::string(254, 'j'));

  Apply("HTML Text Color : red");
  EXPECT_EQ(cfg().htmlTextColor, "red");
  Apply("HTML Link Color : (blue)");
  EXPECT_EQ(cfg().htmlLinkColor, "#0000EE");
  Apply("HTML Error Color : #" + std::string(30, 'A'));
  EXPECT_EQ(cfg().htmlErrorColor, "#" + std::string(19, 'A'));
  // The inheritance colour is read back like the others; the alink colour is read only.
  Apply("HTML Inheritance Color : #123456");
  EXPECT_EQ(cfg().htmlInheritanceColor, "#123456");
  Apply("html alink color : #111111");
  EXPECT_EQ(cfg().htmlALinkColor, "#111111");
  const std::string dump = Dump(*gcd);
  EXPECT_NE(KeyLine(dump, "HTML Inheritance Color"), "");
  EXPECT_EQ(dump.find("#111111"), std::string::npos);
}

TEST_F(ConfigTest, UserNoticeFileAndConfigurationHome) {
  Apply("LQA user defined quality notice file :");
  Apply("LQA user defined quality notice file : x");
  EXPECT_EQ(cfg().udqnFile, "");
  Apply("LQA user defined quality notice file : my_udqn.cfg");
  EXPECT_EQ(cfg().udqnFile, "my_udqn.cfg");

  gcd->drv.cfgHome = "/etc/lqa/";
  Apply("LQA user defined quality notice file :");
  EXPECT_EQ(cfg().udqnFile, "/etc/lqa/lqa_udqn.cfg");
  Apply("LQA user defined quality notice file : my_udqn.cfg");
  EXPECT_EQ(cfg().udqnFile, "/etc/lqa/my_udqn.cfg");
  Apply("LQA user defined quality notice file : rules/udqn.cfg");
  EXPECT_EQ(cfg().udqnFile, "rules/udqn.cfg");
  Apply("LQA user defined quality notice file : y");
  EXPECT_EQ(cfg().udqnFile, "/etc/lqa/lqa_udqn.cfg");
}

TEST_F(ConfigTest, DeprecatedKeyOnlyPrintsANotice) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* mem = open_memstream(&data, &size);
  FILE* saved = gLQAOUT;
  gLQAOUT = mem;
  const std::string before = Dump(*gcd);
  Apply("Include Cyclo Complexity In Work Files : Yes");
  gLQAOUT = saved;
  std::fclose(mem);
  const std::string out(data, size);
  std::free(data);
  EXPECT_EQ(out,
            "Notice: Using \"include cyclo complexity in work files\"\n"
            "        in lqa.cfg is deprecated.  Use the lqa_workdiff.cfg\n"
            "        file to define the elements of the baseline metrics\n"
            "        differential report\n\n");
  EXPECT_EQ(Dump(*gcd), before);
}

TEST_F(ConfigTest, LongLinesAreCutByTheLineBuffer) {
  const std::string head = "Report Header Text Line : ";
  // The remainder after 2047 characters is read as a line of its own.
  const std::string value(kTextMax - head.size(), 'a');
  ASSERT_EQ(Load("LQA CFG Version: 7.75\n" + head + value + "Maximum Line Length : 99\n"), 1);
  EXPECT_EQ(cfg().reportHeaderTextLine, value);
  EXPECT_EQ(cfg().maxLineLength, 99);

  // A megabyte line without colons after its first piece, then a key.
  std::string big = "Report Header HTML Line : x" + std::string(1 << 20, 'b') + "\nTab Size : 3\n";
  big += "A TAB is equivalent to n space : 4\n";
  Load("LQA CFG Version: 7.75\n" + big);
  EXPECT_EQ(cfg().reportHeaderHtmlLine.size(), kTextMax - 26);
  EXPECT_EQ(cfg().tabSize, 4);
}

TEST_F(ConfigTest, BrokenFilesAreSurvived) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 131 + 7) % 256);
  binary += std::string("\nMaximum Line Length : 64\n\0Maximum Function eLOC : 5\n", 52);
  EXPECT_EQ(Load(binary), 1);
  EXPECT_EQ(cfg().maxLineLength, 64);
  // The part of a line after a NUL byte is not seen.
  EXPECT_EQ(cfg().maxFunctionEloc, 200);

  // A last line without a line feed still counts; a truncated key does not.
  Load("Maximum Function eLOC : 150\nMaximum Line Length : 7");
  EXPECT_EQ(cfg().maxFunctionEloc, 150);
  EXPECT_EQ(cfg().maxLineLength, 7);
  Load("Maximum Function eL");
  EXPECT_EQ(cfg().maxFunctionEloc, 150);
  Load(std::string("\x01\x02\x03", 3));
  Load(":\n::\n : \n\n\n");
  Load("");
  EXPECT_EQ(cfg().maxLineLength, 7);
}

TEST_F(ConfigTest, LayoutOfTheDump) {
  gcd->drv.cwd = "/home/u/src";
  gcd->drv.cfgFile = "/opt/lqa/lqa.cfg";
  gcd->drv.macroFile = "/opt/lqa/lqa_macro.cfg";
  const std::string dump = Dump(*gcd);
  const auto lines = Lines(dump);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "# Line Quality Analyzer");
  EXPECT_EQ(lines[1], "# Configuration Data File");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines.back(), "# end of lqa.cfg");
  EXPECT_EQ(lines[lines.size() - 2], std::string(68, '#'));
  EXPECT_TRUE(HasLine(dump, "# Current Working Dir.: /home/u/src"));
  EXPECT_TRUE(HasLine(dump, "# Located Config. File: /opt/lqa/lqa.cfg"));
  EXPECT_TRUE(HasLine(dump, "# Located Macro File  : /opt/lqa/lqa_macro.cfg"));

  // Section titles in order.
  std::size_t at = 0;
  for (const char* title :
       {"# LQA Operational Configuration ####################################",
        "# LQA Configuration for Baseline Metrics Differentials #############",
        "# LQA Configuration for cyclomatic complexity ######################",
        "# LQA Quality Notices Configuration ################################",
        "# LQA Quality Notices For Code Style ###################################",
        "# LQA Quality Notices For Stability and Maintainability ################",
        "# LQA Quality Notices for Functional/Struct and Class Content ##########",
        "# LQA Quality Notices for File Content #",
        "# LQA Quality Notices Miscellaneous ####################################",
        "# Code Listing Report Configuration ################################",
        "# HTML Report and Color Configuration ##############################"}) {
    const std::size_t pos = dump.find(std::string("\n") + std::string(68, '#') + "\n" + title + "\n", at);
    ASSERT_NE(pos, std::string::npos) << title;
    at = pos + 1;
  }

  // Every key line puts its colon in column 41 (49 for the cyclomatic keys)
  // and has a comment above it.
  int keyLines = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty() || line[0] == '#' || line.rfind("LQA CFG Version:", 0) == 0) continue;
    ++keyLines;
    const bool cyclo = line.find("in cyclomatic complexity") != std::string::npos;
    EXPECT_EQ(line.find(':'), cyclo ? 48u : 40u) << line;
    ASSERT_GT(i, 0u);
    EXPECT_TRUE(lines[i - 1][0] == '#' || (lines[i - 1].find(':') == (cyclo ? 48u : 40u))) << line;
  }
  std::size_t written = 0;
  for (const CfgKey& key : CfgKeyTable())
    if (key.use != CfgUse::ReadOnly) ++written;
  EXPECT_EQ(keyLines, static_cast<int>(written));

  // Each notice but 25 has its enabling key under its own heading.
  for (int n = 1; n <= kNoticeCount; ++n) {
    const std::string label = "Quality Notice " + std::to_string(n);
    const std::size_t heading = dump.find("# Quality Notice No. " + std::to_string(n) + "\n");
    if (n == 25) {
      EXPECT_EQ(heading, std::string::npos);
      continue;
    }
    ASSERT_NE(heading, std::string::npos) << n;
    const std::size_t key = dump.find("\n" + label + " ", heading);
    EXPECT_EQ(dump.find("\n# Quality Notice No. ", heading + 1) > key, true) << n;
    EXPECT_EQ(KeyLine(dump, label), label + std::string(40 - label.size(), ' ') + (cfg().notice[n] ? ": Yes" : ": No"))
        << n;
  }
}

TEST_F(ConfigTest, HtmlDumpColoursItsColours) {
  gcd->sw.outputMode = OutputMode::Html;
  const std::string dump = Dump(*gcd);
  EXPECT_EQ(dump.rfind("<html><header><title>\"LQA Configuration\"</title></header><body><pre>", 0), 0u);
  EXPECT_NE(dump.find("</pre></body></html>"), std::string::npos);
  EXPECT_EQ(KeyLine(dump, "HTML Error Color"),
            "HTML Error Color                        : <font color=\"#FF0000\">#FF0000</font>");
  // The file written by LoadCfg is always the plain form.
  LoadCfg(*gcd);
  EXPECT_EQ(dir.Read("lqa.cfg").find("<font"), std::string::npos);
}

TEST_F(ConfigTest, DumpReadsBackToTheSameValues) {
  const std::string longText = "header: " + std::string(2030, 'h');
  const std::string changes =
      "Report Header Active : yes\n"
      "Report Header Text Line : Project: Alpha  (v2)\n"
      "Report Header HTML Line : " + longText.substr(0, 2000) + "\n"
      "Source file names are case sensitive : Y\n"
      "C++ File Extensions : cpp,c++,ixx\n"
      "Other File Extensions : f\n"
      "Treat C headers as C++ : No\n"
      "Pattern Filter : test_*,*_gen.c\n"
      "LQA Code Skip Start Token : SKIP{\n"
      "Work file location path : c:/work\n"
      "Work Hours per Man Year : 1800\n"
      "Java File Function Points per lLOC : 41\n"
      "Include 'else' in cyclomatic complexity : Yes\n"
      "Include '||' or 'or' in cyclomatic complexity : No\n"
      "LQA KEY String : Copyright\n"
      "Maximum depth of scope : 12\n"
      "Minimum Function Comment Line Percent : 33.333\n"
      "Quality Notice 51 : yes\n"
      "Quality Notice 1 : no\n"
      "Page breaks in code print format : yes\n"
      "HTML Total Color : navy\n";
  // A short label leaves room for a value that the padded form cannot hold.
  const std::string shortLabel = "report header text line:" + std::string(kTextMax - 24, 't');
  ASSERT_EQ(Load("LQA CFG Version: 7.75\n" + changes), 1);
  Apply(shortLabel);
  const std::string first = Dump(*gcd);

  TempDir other;
  const std::string copy = other.Write("lqa.cfg", first);
  auto again = NewGlobalData();
  again->drv = gcd->drv;
  again->drv.cfgFile = copy;
  ASSERT_EQ(LoadCfg(*again), 1);
  again->drv.cfgFile = gcd->drv.cfgFile;
  EXPECT_EQ(again->cfg.reportHeaderTextLine, cfg().reportHeaderTextLine);
  EXPECT_EQ(Dump(*again), first);
  // The file was current, so it was not rewritten.
  EXPECT_EQ(other.Read("lqa.cfg"), first);
}

}  // namespace
