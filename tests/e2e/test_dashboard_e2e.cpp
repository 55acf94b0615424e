// The dashboard page end to end: the report and exit status of the run
// untouched, a well-formed self-contained page with the same bytes on every
// run (a golden file for the fixture tree), the histogram equal to the
// function listing of the same run, the directory bars equal to the notice
// counts of the files, charts without data, hostile names and a target that
// cannot be written.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

std::string Shell(const std::string& command, int* status = nullptr) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int rc = pclose(p);
  if (status != nullptr) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

std::vector<std::smatch> Matches(const std::string& text, const std::string& pattern) {
  std::vector<std::smatch> all;
  const std::regex re(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
    all.push_back(*it);
  return all;
}

// A small tree: two directories, functions of every complexity bucket up to
// 21-50, tabs, a long line and a goto.
void WriteFixture(const TempDir& dir) {
  std::string many = "int branches(int a)\n{\n";
  for (int i = 0; i < 24; ++i) many += "  if (a == " + std::to_string(i) + ") a++;\n";
  many += "  return a;\n}\n";
  dir.Write("src/core/many.c", many);
  dir.Write("src/core/small.c",
            "int one(void) { return 1; }\n"
            "int two(int a)\n{\n\tif (a) return 1;\n\treturn 0;\n}\n"
            "int eight(int a, int b)\n{\n  if (a && b) { while (a) a--; }\n  for (;;) { if (b) break; }\n"
            "  switch (a) { case 1: return 2; case 2: return 3; }\n  return a ? b : a;\n}\n");
  std::string twelve = "int twelve(int a)\n{\n";
  for (int i = 0; i < 11; ++i) twelve += "\tif (a > " + std::to_string(i) + ") goto out;\n";
  twelve += "out:\n  return a; /* " + std::string(120, 'x') + " */\n}\n";
  dir.Write("src/util/twelve.c", twelve);
  dir.Write("src/util/empty.c", "/* nothing but a comment */\n");
}

class Dashboard : public ::testing::Test {
 protected:
  TempDir dir, home;
  RunResult Run(const std::vector<std::string>& args) { return RunLqa(args, dir.path(), home.path()); }
  std::string Page(const std::string& name = "d.html") const { return dir.Read(name); }
  std::string Lint(const std::string& name = "d.html") const {
    int status = -1;
    const std::string out = Shell("xmllint --noout '" + dir.path() + "/" + name + "' 2>&1", &status);
    return status == 0 ? std::string() : out + " (status " + std::to_string(status) + ")";
  }
};

// The report with its run date masked and the keyword taken out of its copy
// of the command line.
std::string Comparable(std::string report) {
  const std::string keyword = "-xDASHBOARD d.html ";
  const std::size_t at = report.find(keyword);
  if (at != std::string::npos) report.erase(at, keyword.size());
  static const std::regex date("[A-Z][a-z][a-z] [A-Z][a-z][a-z] [ 0-9][0-9] [0-9:]{8} [0-9]{4}");
  return std::regex_replace(report, date, "DATE");
}

TEST_F(Dashboard, ReportAndExitStatusStayAsTheyAreAndThePageIsStable) {
  WriteFixture(dir);
  for (const std::vector<std::string>& switches :
       {std::vector<std::string>{"-s", "-fa", "-o", "-n", "-rc src"}, std::vector<std::string>{"-rc src"},
        std::vector<std::string>{"-C", "-fa", "-n", "-rc src"}, std::vector<std::string>{"-H", "-n", "-rc src"},
        std::vector<std::string>{"-X", "-Ta", "-rc src"}}) {
    const RunResult plain = Run(switches);
    std::vector<std::string> with = switches;
    with.insert(with.begin(), "-xDASHBOARD d.html");
    const RunResult first = Run(with);
    EXPECT_EQ(first.status, plain.status) << switches[0];
    EXPECT_EQ(Comparable(first.out), Comparable(plain.out)) << switches[0];
    EXPECT_EQ(first.err, plain.err) << switches[0];
    ASSERT_EQ(Lint(), "") << switches[0];
    const std::string page = Page();
    EXPECT_EQ(Run(with).status, plain.status);
    EXPECT_EQ(Page(), page) << switches[0];  // same input, same bytes
    EXPECT_EQ(page.find("Run at"), std::string::npos);  // no date without -b
  }
  EXPECT_GT(Run({"-n", "-rc src"}).status, 0);  // the notice count, kept above
  Run({"-b", "-xDASHBOARD d.html", "-rc src"});
  EXPECT_NE(Page().find("Run at"), std::string::npos);
}

TEST_F(Dashboard, GoldenPageOfTheFixtureTree) {
  WriteFixture(dir);
  const RunResult r = Run({"-s", "-fa", "-o", "-n", "-xDASHBOARD d.html", "-rc src"});
  ASSERT_EQ(Lint(), "");
  const std::string golden = LQA_SOURCE_DIR "/tests/e2e/expected/dashboard_fixture.html";
  const std::string page = Page();
  if (std::getenv("LQA_UPDATE_GOLDEN") != nullptr) std::ofstream(golden, std::ios::binary) << page;
  std::ifstream in(golden, std::ios::binary);
  std::stringstream expected;
  expected << in.rdbuf();
  EXPECT_EQ(page, expected.str()) << "LQA_UPDATE_GOLDEN=1 rewrites " << golden;
}

TEST_F(Dashboard, HistogramEqualsTheFunctionListingOfTheRun) {
  WriteFixture(dir);
  const RunResult r = Run({"-X", "-Ta", "-xDASHBOARD d.html", "-rc src"});
  const std::string page = Page();
  std::vector<int> buckets(6, 0);
  int functions = 0;
  // The complexity of each <function> entry (the totals after them have one too).
  for (std::size_t at = r.out.find("<function>\n"); at != std::string::npos; at = r.out.find("<function>\n", at + 1)) {
    const std::string tag = "<cyclomatic_complexity>";
    const std::size_t value = r.out.find(tag, at);
    ASSERT_LT(value, r.out.find("</function>", at));
    const int cx = std::stoi(r.out.substr(value + tag.size()));
    ++buckets[cx <= 1 ? 0 : cx <= 5 ? 1 : cx <= 10 ? 2 : cx <= 20 ? 3 : cx <= 50 ? 4 : 5];
    ++functions;
  }
  EXPECT_EQ(functions, 5);
  const std::vector<std::smatch> bars = Matches(page, "class=\"bar[ a-z]*\" data-bucket=\"[^\"]*\" data-count=\"([0-9]+)\"");
  ASSERT_EQ(bars.size(), 6u);
  int sum = 0;
  for (std::size_t b = 0; b < 6; ++b) {
    EXPECT_EQ(std::stoi(bars[b][1]), buckets[b]) << b;
    sum += std::stoi(bars[b][1]);
  }
  EXPECT_EQ(sum, functions);
  EXPECT_EQ(Count(page, "class=\"bar warn\""), 3u);  // limit 10
  EXPECT_NE(page.find("<td class=\"name\">branches</td>"), std::string::npos);
}

TEST_F(Dashboard, DirectoryBarsEqualTheNoticesOfTheFiles) {
  WriteFixture(dir);
  const RunResult r = Run({"-C", "-s", "-n", "-xDASHBOARD d.html", "-rc src"});
  std::map<std::string, int> byDir;
  for (const std::smatch& m : Matches(r.out, "\nFile, ([^,]*)/[^/,]*,,[^\n]*, ([0-9]+)\n")) byDir[m[1]] += std::stoi(m[2]);
  ASSERT_EQ(byDir.size(), 2u);
  const std::string page = Page();
  const std::vector<std::smatch> bars =
      Matches(page, "data-directory=\"([^\"]*)\" data-notices=\"([0-9]+)\" data-shown=\"([0-9]+)\" data-frequent=\"([0-9]+)\"");
  ASSERT_EQ(bars.size(), 2u);
  for (const std::smatch& m : bars) {
    EXPECT_EQ(std::stoi(m[2]), byDir[m[1]]) << m[1];
    // Stacked segments add up to the shown notices; the frequent ones are the rest.
    EXPECT_LE(std::stoi(m[3]) + std::stoi(m[4]), std::stoi(m[2]));
  }
  EXPECT_NE(page.find("Tab and line length notices"), std::string::npos);
}

TEST_F(Dashboard, ChartsWithoutDataShowOneLine) {
  WriteFixture(dir);
  const RunResult r = Run({"-xDASHBOARD d.html", "-rc src"});
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(Lint(), "");
  const std::string page = Page();
  EXPECT_NE(page.find("Run with -n to include notices."), std::string::npos);
  EXPECT_NE(page.find("Run with -fa to include functions."), std::string::npos);
  EXPECT_EQ(Count(page, "class=\"tile\""), 3u);  // the treemap needs no analysis
  // A tree of one file without functions.
  TempDir one;
  one.Write("only.c", "/* comment */\nint x;\n");
  const RunResult single = RunLqa({"-fa", "-n", "-xDASHBOARD d.html", "only.c"}, one.path(), home.path());
  const std::string onePage = one.Read("d.html");
  EXPECT_EQ(Count(onePage, "class=\"tile\""), 1u);
  EXPECT_NE(onePage.find("data-count=\"0\""), std::string::npos);
}

TEST_F(Dashboard, HostileFileNamesAndUnwritableTargets) {
  dir.Write("t/a<b&c'\".c", "int f(void) { return 0; }\n");
  dir.Write("t/bad\xFF\xFE.c", "int g(int a) { if (a) return 1; return 0; }\n");
  const RunResult r = Run({"-fa", "-n", "-xDASHBOARD d.html", "-rc t"});
  ASSERT_EQ(Lint(), "");
  const std::string page = Page();
  EXPECT_NE(page.find("a&lt;b&amp;c&#39;&quot;.c"), std::string::npos);
  EXPECT_NE(page.find("bad??.c"), std::string::npos);

  // A directory that does not exist: reported, status 1, nothing analysed.
  const RunResult missing = Run({"-xDASHBOARD no/such/dir/d.html", "-rc t"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.out.find("Error: Could not write the dashboard"), std::string::npos);
  // The -O report would replace the page.
  const RunResult same = Run({"-O", "same.txt", "-xDASHBOARD same.txt", "-rc t"});
  EXPECT_EQ(same.status, 1);
  EXPECT_NE(dir.Read("same.txt").find("The dashboard and the report name the same file"), std::string::npos);
  // A keyword without its file name.
  const RunResult bare = Run({"-xDASHBOARD", "-rc t"});
  EXPECT_EQ(bare.status, 1);
  EXPECT_NE(bare.out.find("-x option needs a file name"), std::string::npos);
  // A full disk (file size limit): the previous page stays.
  dir.Write("old.html", "previous");
  RunLimits limits;
  limits.fileSizeBytes = 1000;
  const RunResult full = RunLqaLimited({"-xDASHBOARD old.html", "-rc t"}, dir.path(), home.path(), limits);
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(dir.Read("old.html"), "previous");
}

}  // namespace

namespace {

// Headless Chromium, where it is installed, renders the page: the DOM it
// builds holds every bar and tile, and the screenshot is not blank.
TEST_F(Dashboard, ChromiumRendersThePage) {
  if (Shell("command -v chromium 2>/dev/null").empty()) GTEST_SKIP() << "chromium is not installed";
  WriteFixture(dir);
  Run({"-s", "-fa", "-o", "-n", "-xDASHBOARD d.html", "-rc src"});
  // A profile of its own, so that the browser writes only below the test's directory.
  const std::string browser = "cd '" + dir.path() + "' && HOME='" + dir.path() +
                              "' timeout 120 chromium --headless --no-sandbox --disable-gpu --no-first-run "
                              "--user-data-dir='" + dir.path() + "/profile' ";
  const std::string dom = Shell(browser + "--dump-dom 'file://" + dir.path() + "/d.html' 2>/dev/null");
  EXPECT_EQ(Count(dom, "class=\"bar"), 6u);
  EXPECT_EQ(Count(dom, "class=\"tile\""), 3u);
  EXPECT_EQ(Count(dom, "class=\"dirbar\""), 2u);
  Shell(browser + "--window-size=1280,2400 --screenshot='" + dir.path() + "/shot.png' 'file://" + dir.path() +
        "/d.html' >/dev/null 2>&1");
  // A blank page of this size compresses to a few kilobytes.
  const std::string png = dir.Read("shot.png");
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_GT(png.size(), 40000u);
}

}  // namespace
