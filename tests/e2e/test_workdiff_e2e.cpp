// Baselines and their comparison with the real program: creating work files
// and line data, round trips, changes of every kind, settings, report
// configuration, and damaged or missing files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <regex>
#include <string>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

class WorkDiff : public ::testing::Test {
 protected:
  TempDir dir, home;
  RunResult Run(const std::vector<std::string>& args) { return RunLqa(args, dir.path(), home.path()); }
  void Tree(const std::string& top) {
    dir.Write(top + "/main.c", "/* main */\nint main(void)\n{\n  return run(1);\n}\n");
    dir.Write(top + "/util.h", "int run(int x);\n\n#define ONE 1\n");
    dir.Write(top + "/io/read.c", "int run(int x)\n{\n  int y = x;\n  return y; // same\n}\n");
  }
  RunResult Baseline(const std::string& name, const std::string& top, bool lines = true) {
    std::vector<std::string> args = {"-wFile dat " + name, "-wcreate " + top, "-rc,h " + top};
    if (lines) args.push_back("-wd");
    return Run(args);
  }
};

TEST_F(WorkDiff, RoundTripOfAnUnchangedTreeShowsOnlyEqualFiles) {
  Tree("old");
  ASSERT_EQ(Baseline("a.dat", "old").status, 0);
  fs::copy(dir.path() + "/old", dir.path() + "/new", fs::copy_options::recursive);
  const RunResult made = Baseline("b.dat", "new");
  ASSERT_EQ(made.status, 0) << made.out;
  EXPECT_NE(made.out.find("\n  Creating Work File: b.dat\n"), std::string::npos);
  EXPECT_NE(made.out.find("\n\n  Completed Work File: b.dat\n\n"), std::string::npos);
  const std::string work = dir.Read("b.dat");
  EXPECT_NE(work.find("\nutil.h| "), std::string::npos);
  // Size, LOC, eLOC, comments, blanks, lines, lLOC, cyclomatic, notices,
  // interface (one parameter, one return) and functions.
  EXPECT_TRUE(std::regex_search(work, std::regex("\nio/read.c\\| [0-9]+ 52 5 3 1 0 5 2 1 [0-9]+ 2 1 "
                                                 "b.dat.dif/new_io_read_c.dif\n")))
      << work;
  EXPECT_TRUE(fs::exists(dir.path() + "/b.dat.dif/new_util_h.dif"));
  EXPECT_EQ(dir.Read("workfile.dat"), work);

  const RunResult r = Run({"-wd", "-ws", "-wxa.dat, b.dat"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Count(r.out, "\n  Equ "), 3u + 1u) << r.out;  // three files and the profile line
  EXPECT_EQ(Count(r.out, "       *** File is Equivalent ***\n"), 3u);
  EXPECT_TRUE(HasLine(r.out, "  Dif        0       0       0       0       0       0     0.00       0"));
  EXPECT_NE(r.out.find("                         ~~ Metrics Differential ~~\n"), std::string::npos);
  EXPECT_NE(r.out.find("  Diff Config.: " + home.path() + "/lqa_workdiff.cfg\n"), std::string::npos);
  EXPECT_TRUE(fs::exists(home.path() + "/lqa_workdiff.cfg"));
}

TEST_F(WorkDiff, ChangedAddedRemovedAndRenamedFiles) {
  Tree("old");
  ASSERT_EQ(Baseline("a.dat", "old").status, 0);
  Tree("new");
  dir.Write("new/io/read.c", "int run(int x)\n{\n  int y = x + 1;\n  return y; // same\n}\n");
  fs::remove(dir.path() + "/new/util.h");
  dir.Write("new/io/write.c", "int out;\n");
  fs::rename(dir.path() + "/new/main.c", dir.path() + "/new/entry.c");
  ASSERT_EQ(Baseline("b.dat", "new").status, 0);

  const RunResult lines = Run({"-wd", "-wxa.dat, b.dat"});
  ASSERT_EQ(lines.status, 0) << lines.out;
  EXPECT_TRUE(HasLine(lines.out, "  Dif        1       1       1       0       0       1    33.33 io/read.c"))
      << lines.out;
  EXPECT_TRUE(HasLine(lines.out, "  Equ        4       2       1       1       0       5     0.00 io/read.c"));
  EXPECT_NE(lines.out.find("\n  Rem       -4      -2      -1      -1       0      -5  -100.00 main.c\n"),
            std::string::npos);
  EXPECT_NE(lines.out.find(" 100.00 entry.c\n"), std::string::npos);  // renamed: removed and new
  EXPECT_NE(lines.out.find(" 100.00 io/write.c\n"), std::string::npos);
  // With line differentials the function, complexity and notice columns are off.
  EXPECT_TRUE(HasLine(lines.out, "           LOC    eLOC    lLOC Comment  Blanks   Lines    eLOC%"));

  const RunResult sizes = Run({"-wxa.dat, b.dat"});
  EXPECT_TRUE(HasLine(sizes.out, "  File Metrics Differentials Based on Code Size Differences"));
  EXPECT_NE(sizes.out.find("\n           LOC    eLOC    lLOC Comment  Blanks   Lines  Fcount   Cyclo   Inter "
                           "Complex Quality    eLOC%\n"),
            std::string::npos);
  // Without line differentials a changed file of equal size is equal.
  EXPECT_TRUE(std::regex_search(sizes.out, std::regex("\n  Equ +0 +0 +0 .* io/read.c\n"))) << sizes.out;
}

// Blank lines and indentation count only when the settings say so; a line
// that moved is one removal and one addition.
TEST_F(WorkDiff, BlankAndWhiteSpaceSettingsAndMovedLines) {
  auto trees = [&](const std::string& a, const std::string& b) {
    dir.Write(a + "/f.c", "int f(void)\n{\n  return 1;\n}\n");
    dir.Write(b + "/f.c", "int f(void)\n{\n\n    return   1;\n}\n");
    dir.Write(a + "/m.c", "int a;\nint b;\nint c;\nint d;\n");
    dir.Write(b + "/m.c", "int b;\nint c;\nint d;\nint a;\n");
  };
  trees("old", "new");
  ASSERT_EQ(Baseline("a.dat", "old").status, 0);
  ASSERT_EQ(Baseline("b.dat", "new").status, 0);
  home.Write("lqa.cfg", "Show lines removed from older file : Yes\nShow lines added (mod) to newer file : Yes\n");
  const RunResult ignored = Run({"-wd", "-ws", "-wxa.dat, b.dat"});
  ASSERT_EQ(ignored.status, 0) << ignored.out;
  EXPECT_TRUE(std::regex_search(ignored.out, std::regex("\n  Equ +4 +2 +1 +0 +0 +4 +0.00 f.c\n"))) << ignored.out;
  EXPECT_FALSE(std::regex_search(ignored.out, std::regex("\n  Dif .* f.c\n")));
  EXPECT_NE(ignored.out.find("  Dif        1       1       1       0       0       1    25.00 m.c\n"), std::string::npos);
  EXPECT_NE(ignored.out.find("  File: m.c\n  Older                       Newer\n"
                             "  ----------------------------------------\n"
                             "  Line Number    Diff  Type   Line Number\n"
                             "            1     -     G                \n"
                             "                  +     G     4          \n"),
            std::string::npos)
      << ignored.out;

  home.Write("lqa.cfg", "Ignore code differential blank lines : No\nIgnore code differential white space : No\n");
  trees("old2", "new2");
  ASSERT_EQ(Baseline("c.dat", "old2").status, 0);
  ASSERT_EQ(Baseline("d.dat", "new2").status, 0);
  const RunResult counted = Run({"-wd", "-wxc.dat, d.dat"});
  ASSERT_EQ(counted.status, 0) << counted.out;
  EXPECT_NE(counted.out.find("  Dif        1       1       1       0       1       2    50.00 f.c\n"), std::string::npos)
      << counted.out;
  // Work files of other settings than the running configuration still compare
  // with each other; against a baseline of the defaults they are refused.
  EXPECT_EQ(Run({"-wd", "-wxa.dat, d.dat"}).status, 1);
}

TEST_F(WorkDiff, DefaultNamesAndLocation) {
  Tree("old");
  home.Write("lqa.cfg", "Work file location path : " + dir.path() + "/store\n");
  fs::create_directory(dir.path() + "/store");
  const RunResult r = Run({"-wcreate old", "-wd", "-rc,h old"});
  ASSERT_EQ(r.status, 0) << r.out;
  bool dated = false;
  for (const auto& e : fs::directory_iterator(dir.path() + "/store")) {
    const std::string name = e.path().filename().string();
    if (std::regex_match(name, std::regex("WorkFile_[0-9]{8}\\.dat"))) {
      dated = true;
      EXPECT_TRUE(fs::is_directory(e.path().string() + ".dif"));
      EXPECT_TRUE(fs::exists(e.path().string() + ".dif/old_main_c.dif"));
    }
  }
  EXPECT_TRUE(dated);
  EXPECT_TRUE(fs::exists(dir.path() + "/store/workfile.dat"));
}

TEST_F(WorkDiff, WorkTimeAndProductivityOfHandMadeWorkFiles) {
  const std::string head = "Line Quality Analyzer Work File\nDO NOT EDIT - This is a Generated File\n7.75\n";
  dir.Write("old.dat", head + "1000000\nIgnore Blank Lines: 1\nIgnore White Space: 1\na.c| 1 10 10 8 2 1 13 5 3 0 2 1 \n");
  dir.Write("new.dat", head + "1086400\nIgnore Blank Lines: 1\nIgnore White Space: 1\na.c| 1 10 50 40 2 1 53 25 9 0 4 3 \n");
  const RunResult r = Run({"-wp", "-wb", "-wg", "-wxold.dat, new.dat"});
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("  Time Delta:        86400 Seconds\n                1:00:00:00 Days:Hrs:Min:Sec\n\n"
                       "  Work Time:          1.00 Calendar Days\n"
                       "                      0.71 Work Days @ 5 work days per week\n"
                       "                      5.71 Man Hours @ 8 Hrs per Shift 1 Shifts per Day\n"
                       "                      0.71 Man Days  @ 8 Hrs per Man Day\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\n  Productivity Estimate\n"), std::string::npos);
  EXPECT_TRUE(std::regex_search(r.out, std::regex("\n  Tot +40 +32 +20 ")));
  EXPECT_TRUE(std::regex_search(r.out, std::regex("\n     Per Man Hour +7 +6 +4 ")));
  EXPECT_NE(r.out.find("  Work Hours per Man Year : 1960\n"), std::string::npos);
  EXPECT_NE(r.out.find("  Quality   - Number of Quanity Notices\n"), std::string::npos);
  EXPECT_NE(r.out.find("  Total Metrics Size Differential Percdent = [(new-old)/old * 100]\n  Files       0.00 %\n"
                       "  LOC       400.00 %\n"),
            std::string::npos);
}

TEST_F(WorkDiff, ReportConfigurationColumnsAndSigns) {
  Tree("old");
  ASSERT_EQ(Baseline("a.dat", "old", false).status, 0);
  dir.Write("new/keep.c", "int k;\n");
  ASSERT_EQ(Baseline("b.dat", "new", false).status, 0);
  home.Write("lqa_workdiff.cfg", "LOC_COUNT             OFF -\nELOC_COUNT            ON +\nELOC_PERCENT_DIFF     ON +\n");
  const RunResult r = Run({"-wxa.dat, b.dat"});
  EXPECT_TRUE(HasLine(r.out, "          eLOC    eLOC%")) << r.out;
  EXPECT_NE(r.out.find("\n  Rem        2   100.00 main.c\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("  LOC      "), std::string::npos);
}

TEST_F(WorkDiff, SettingsMismatchEndsWithStatusOne) {
  Tree("old");
  ASSERT_EQ(Baseline("a.dat", "old").status, 0);
  home.Write("lqa.cfg", "Ignore code differential blank lines : No\n");
  ASSERT_EQ(Baseline("b.dat", "old").status, 0);
  EXPECT_NE(dir.Read("b.dat").find("\nIgnore Blank Lines: 0\n"), std::string::npos);
  const RunResult r = Run({"-wd", "-wxa.dat, b.dat"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\n  Error: The older and current work files have not been\n"
                       "         created with the same constraints.  These settings are\n"
                       "         located in the LQA configuration file.\n"
                       "         Older Work File: Ignore Blank Lines - Yes\n"
                       "         Newer Work File: Ignore Blank Lines - No\n"
                       "         This condition will create erroneous metrics.\n"),
            std::string::npos)
      << r.out;
}

TEST_F(WorkDiff, MissingDamagedAndUnwritableFiles) {
  const RunResult missing = Run({"-wxnone.dat, other.dat"});
  EXPECT_EQ(missing.status, 1);  // a comparison that cannot be made fails
  EXPECT_NE(missing.out.find("\n  Error: Failed to load work file, none.dat\n"), std::string::npos);
  dir.Write("junk.dat", std::string("\0\x01\x02garbage\n\xff\xfe\n", 14));
  EXPECT_NE(Run({"-wxjunk.dat, junk.dat"}).out.find("The work file header is damaged or missing"),
            std::string::npos);

  // A data file missing for one pair: that pair has no line changes, the
  // others are compared.
  Tree("old");
  ASSERT_EQ(Baseline("a.dat", "old").status, 0);
  Tree("new");
  dir.Write("new/main.c", "int main(void) { return 2; }\n");
  dir.Write("new/io/read.c", "int run(int x) { return x; }\n");
  ASSERT_EQ(Baseline("b.dat", "new").status, 0);
  fs::remove(dir.path() + "/b.dat.dif/new_main_c.dif");
  const RunResult r = Run({"-wd", "-wxa.dat, b.dat"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("  Error: Loading Work Differential File: b.dat.dif/new_main_c.dif\n"), std::string::npos);
  EXPECT_NE(r.out.find(" io/read.c\n"), std::string::npos);

  // A data directory that cannot be made ends the run.
  dir.Write("c.dat.dif", "a file in the way");
  const RunResult blocked = Baseline("c.dat", "old");
  EXPECT_EQ(blocked.status, 1);
  EXPECT_NE(blocked.out.find("  Directory Create Error: c.dat.dif\n                          Not a directory\n"
                             "                          Check permission on the parent directory\n"),
            std::string::npos)
      << blocked.out;
}

// Stored files written by someone else: large and hostile line data ends in
// bounded time, an unknown line type leaves its pair out.
TEST_F(WorkDiff, HostileLineData) {
  const std::string head = "Line Quality Analyzer Work File\nDO NOT EDIT - This is a Generated File\n7.75\n";
  auto data = [&](const std::string& name, int records, unsigned seed, char type) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(records) * 13);
    for (int k = 0; k < records; ++k) {
      seed = seed * 1103515245u + 12345u;
      char rec[13];
      std::int32_t n = k + 1;
      double sig = static_cast<double>((seed >> 16) % 5);
      std::memcpy(rec, &n, 4);
      rec[4] = type;
      std::memcpy(rec + 5, &sig, 8);
      bytes.append(rec, 13);
    }
    dir.Write("d/" + name, bytes);
  };
  data("a.dif", 300000, 1, 'G');
  data("b.dif", 290000, 2, 'G');
  data("bad.dif", 10, 3, 'Q');
  dir.Write("o.dat", head + "1\nIgnore Blank Lines: 1\nIgnore White Space: 1\nx.c| 1 1 1 1 1 1 1 1 1 1 1 1 d/a.dif\n");
  dir.Write("n.dat", head + "2\nIgnore Blank Lines: 1\nIgnore White Space: 1\nx.c| 1 1 1 1 1 1 1 1 1 1 1 1 d/b.dif\n");
  dir.Write("q.dat", head + "2\nIgnore Blank Lines: 1\nIgnore White Space: 1\nx.c| 1 1 1 1 1 1 1 1 1 1 1 1 d/bad.dif\n");
  RunLimits limits;
  limits.cpuSeconds = 30;
  const RunResult r = RunLqaLimited({"-wd", "-wxo.dat, n.dat"}, dir.path(), home.path(), limits);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find(" x.c\n"), std::string::npos);
  const RunResult bad = RunLqaLimited({"-wd", "-wxo.dat, q.dat"}, dir.path(), home.path(), limits);
  EXPECT_EQ(bad.status, 0);
  EXPECT_NE(bad.out.find("  Error: Loading Work Differential File: ./d/bad.dif\n"
                         "         Record 1 is damaged (unknown line type): the pair is not compared\n"),
            std::string::npos)
      << bad.out;
}

TEST_F(WorkDiff, CsvReportConfigurationTemplate) {
  dir.Write("csv.cfg", "FILE_NAME ON\nLOC_COUNT OFF\n");
  const RunResult r = Run({"-xFile csv csv.cfg", "-xc"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\nLOC_COUNT                             OFF\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\nFILE_NAME                             ON\n"), std::string::npos);
}

}  // namespace
