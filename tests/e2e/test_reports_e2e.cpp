// The project reports of the real program: well-formed XML and HTML for the
// report switches, CSV rows that keep their columns, the order of the CSV
// switches, and runs where nothing could be read.
// g++ 12 with the sanitizers reports std::regex's internal std::function as
// maybe uninitialized (a false positive inside the library); the build treats
// warnings as errors, so the warning is off for this file only.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include <gtest/gtest.h>

#include <sys/time.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

// xmllint's verdict on a document: empty when well-formed.
std::string XmlProblems(const TempDir& dir, const std::string& document) {
  const std::string path = dir.Write("document.xml", document);
  const std::string command = "xmllint --noout '" + path + "' 2>&1";
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    if (pclose(p) != 0 && out.empty()) out = "xmllint failed";
  } else {
    out = "popen failed";
  }
  return out.substr(0, 2000);
}

bool HaveXmllint() { return std::system("xmllint --version > /dev/null 2>&1") == 0; }

class ReportsE2E : public ::testing::Test {
 protected:
  TempDir dir;
  TempDir home;
  TempDir scratch;
  void SetUp() override {
    dir.Write("src/geo.c", "/* area & \"shapes\" */\nint area(int w, int h)\n{\n  if (w < 0 || h < 0)\n"
                           "    return 0;\n  return w * h;\n}\n\nint main(void)\n{\n  char *p = malloc(4);\n"
                           "  free(p);\n  return area(2, 3);\n}\n");
    dir.Write("src/shape.h", "#define SQ(x) ((x) * (x))\nstruct pt { int x; int y; };\n");
    dir.Write("src/shape.cpp", "namespace geo {\nclass Shape : public Base<int, char> {\n public:\n"
                               "  int vol(int a, int b) const { return a < b ? a : b; }\n  int n_;\n};\n}\n"
                               "int geo::Shape::area() {\n  int *q = new int;\n  delete q;\n  return 1;\n}\n");
    dir.Write("src/App.java", "package a.b;\n\npublic class App {\n  // entry\n  public static void main(String[] a) {\n"
                              "    for (int i = 0; i < 3; i++) { System.out.println(\"<&>\"); }\n  }\n}\n");
    dir.Write("src/Calc.cs", "namespace Tools.Math {\n  interface ICalc { int Add(int a, int b); }\n"
                             "  class Calc : ICalc {\n    public int Add(int a, int b) { return a + b; }\n  }\n}\n");
  }
  RunResult Run(std::vector<std::string> args) {
    for (const char* f : {"src/geo.c", "src/shape.h", "src/shape.cpp", "src/App.java", "src/Calc.cs"})
      args.emplace_back(f);
    return RunLqa(args, dir.path(), home.path());
  }
};

const std::vector<std::vector<std::string>> kReportSwitchSets = {
    {},
    {"-s"},
    {"-v", "-a"},
    {"-c", "-fa", "-fd", "-fp"},
    {"-o", "-i", "-k1"},
    {"-n", "-Nv"},
    {"-e", "-k5", "-kd"},
    {"-s", "-v", "-c", "-fa", "-fd", "-o", "-i", "-n", "-m", "-a", "-e", "-fp", "-k2"},
    {"-Ta"},
    {"-Td", "-k10"},
    {"-Tf", "-To", "-Ti", "-Tp", "-Tq", "-TL", "-Ts", "-Tv"},
    {"-Tl", "-Ta"},
    {"-Tn", "-TN"},
};

// The modes that copy source text into the report: extraction, the code
// listing and the two line traces.
const std::vector<std::vector<std::string>> kSourceTextSwitchSets = {
    {"-Es"}, {"-Ec"}, {"-EC"}, {"-p"}, {"-d"}, {"-wD"},
};

TEST_F(ReportsE2E, XmlIsWellFormedForEveryReportSwitch) {
  if (!HaveXmllint()) GTEST_SKIP() << "xmllint is not installed";
  // Markup characters, a control character, a form feed and a byte that is
  // no UTF-8, in code, strings and comments.
  dir.Write("src/text.c", "/* a & b < c > d \x01 caf\xe9 */\nchar *s = \"<&> \\\" x \xfc\";\n\f\nint t; // 'q' & \"r\"\n");
  std::vector<std::vector<std::string>> sets = kReportSwitchSets;
  sets.insert(sets.end(), kSourceTextSwitchSets.begin(), kSourceTextSwitchSets.end());
  for (std::vector<std::string> set : sets) {
    set.insert(set.begin(), "-X");
    set.emplace_back("src/text.c");
    const RunResult r = Run(set);
    std::string name;
    for (const std::string& s : set) name += s + " ";
    EXPECT_EQ(XmlProblems(scratch, r.out), "") << name;
    EXPECT_NE(r.out.find("</lqadoc>\n"), std::string::npos) << name;
  }
}

// The notice list writes its colour as an unquoted attribute value, which
// XHTML does not allow; the text is kept as it is and quoted here only.
std::string QuoteNoticeColour(const std::string& html) {
  static const std::regex unquoted("<font color=([^\" >]+)>");
  return std::regex_replace(html, unquoted, "<font color=\"$1\">");
}

TEST_F(ReportsE2E, HtmlIsWellFormedForEveryReportSwitch) {
  if (!HaveXmllint()) GTEST_SKIP() << "xmllint is not installed";
  for (std::vector<std::string> set : kReportSwitchSets) {
    set.insert(set.begin(), "-H");
    const RunResult r = Run(set);
    std::string name;
    for (const std::string& s : set) name += s + " ";
    EXPECT_EQ(XmlProblems(scratch, QuoteNoticeColour(r.out)), "") << name;
  }
}

// The page declares UTF-8: UTF-8 text passes through, a byte of another
// character set becomes the character reference of its Latin-1 reading.
TEST_F(ReportsE2E, HtmlDeclaresUtf8AndShowsBothKindsOfSource) {
  dir.Write("src/names.c", "/* G\xc3\xbcnther */\n/* G\xfcnther \xc3 */\nint n;\n");
  const RunResult r = RunLqa({"-H", "-d", "src/names.c"}, dir.path(), home.path());
  EXPECT_EQ(r.out.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n", 0), 0u) << r.out.substr(0, 200);
  EXPECT_NE(r.out.find("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />"),
            std::string::npos);
  EXPECT_NE(r.out.find("/* G\xc3\xbcnther */"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("/* G&#252;nther &#195; */"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find('\xfc'), std::string::npos);
  if (HaveXmllint()) {
    EXPECT_EQ(XmlProblems(scratch, r.out), "");
  }
  const RunResult listing = RunLqa({"-H", "-p", "src/names.c"}, dir.path(), home.path());
  EXPECT_NE(listing.out.find("charset=utf-8"), std::string::npos) << listing.out;
  EXPECT_NE(listing.out.find("G&#252;nther &#195;"), std::string::npos) << listing.out;
  // Other modes write the bytes as they are.
  const RunResult text = RunLqa({"-d", "src/names.c"}, dir.path(), home.path());
  EXPECT_NE(text.out.find("/* G\xfcnther \xc3 */"), std::string::npos);
}

// Splits a CSV line the way a reader without quoting does.
size_t Fields(const std::string& line) { return static_cast<size_t>(std::count(line.begin(), line.end(), ',')) + 1; }

TEST_F(ReportsE2E, CsvFileLinesDependOnTheOrderOfTheSwitches) {
  const RunResult before = Run({"-C", "-s"});
  const RunResult after = Run({"-s", "-C"});
  const RunResult functions = Run({"-C", "-fa"});
  EXPECT_NE(before.out.find("\nFile, src/geo.c,, "), std::string::npos) << before.out;
  EXPECT_EQ(after.out.find("\nFile, src/geo.c,, "), std::string::npos);
  EXPECT_NE(after.out.find("File End\n"), std::string::npos);
  // CSV file lines replace the per-file LOC line and the "File End" line.
  EXPECT_EQ(before.out.find("File End\n"), std::string::npos);
  EXPECT_NE(before.out.find("\nFiles, 5\n"), std::string::npos);
  EXPECT_NE(functions.out.find("\nFiles, 5\n"), std::string::npos);
  // The header precedes every file line and the totals; all have its columns.
  size_t headers = 0, fileLines = 0;
  for (const std::string& line : Lines(before.out)) {
    if (line.rfind("Type, Name, , Date", 0) == 0) {
      ++headers;
      EXPECT_EQ(Fields(line), 20u) << line;
    }
    if (line.rfind("File, ", 0) == 0) {
      ++fileLines;
      EXPECT_EQ(Fields(line), 20u) << line;
    }
  }
  EXPECT_EQ(fileLines, 5u + 4u);
  EXPECT_EQ(headers, 5u + 1u);
}

// Every row of a CSV section has the columns of the other rows of its kind
// (the kind is the first column; the file name line "File,<name>" and the
// file detail line "File, <name>,, <date>, ..." are two kinds). Tree rows
// have one column per level before the name.
std::vector<std::string> CsvWidthProblems(const std::string& csv) {
  std::vector<std::string> problems;
  std::map<std::string, size_t> widths;
  std::string section = "per file";
  for (const std::string& line : Lines(csv)) {
    if (line.empty()) continue;
    const size_t fields = Fields(line);
    if (fields == 1 && (line.rfind("Project ", 0) == 0 || line.find("Inheritance Tree") != std::string::npos)) {
      section = line;
      continue;
    }
    const size_t levels = line.find_first_not_of(',');
    if (section == "Class Inheritance Tree" && (line.rfind("'+ ", 0) == 0 || line.compare(levels, 2, "- ") == 0)) {
      if (fields != levels + 2 || line.compare(line.rfind(',') + 1, 2, "[D") != 0) problems.push_back(line);
      continue;
    }
    std::string kind = section + "|" + line.substr(0, line.find(','));
    if (line.rfind("File, ", 0) == 0) kind += " detail";
    auto [it, added] = widths.emplace(kind, fields);
    if (!added && it->second != fields) problems.push_back(line);
  }
  return problems;
}

TEST_F(ReportsE2E, CsvNamesWithCommasKeepTheColumnsOfTheirSection) {
  dir.Write("src/Map.java",
            "package p;\npublic class Map<K, V extends Comparable<V>> extends Base<K, V> {\n"
            "  static class Entry<K, V> extends Node<K, V> implements Iface<K, V> {\n  }\n"
            "  interface View<A, B> {\n  }\n}\n");
  dir.Write("src/t.cpp", "namespace n {\ntemplate <class K, class V> class Pair {};\n"
                         "class Q : public Pair<int, char>, public Other {};\n}\n");
  const RunResult r = RunLqa({"-C", "-o", "-i", "-fa", "src/Map.java", "src/t.cpp"}, dir.path(), home.path());
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(CsvWidthProblems(r.out), std::vector<std::string>{}) << r.out;
  EXPECT_TRUE(HasLine(r.out, "Class,p.Map<K V extends Comparable<V>>")) << r.out;
  EXPECT_TRUE(HasLine(r.out, "Inheritance,Pair<int char> Other")) << r.out;
  EXPECT_TRUE(HasLine(r.out, "Template,template<K V>")) << r.out;
}

TEST_F(ReportsE2E, RunWhereNoFileCanBeReadStaysWellFormed) {
  dir.Write("dir.c/keep", "");
  for (const char* mode : {"-X", "-H"}) {
    const RunResult r = RunLqa({mode, "-Ta", "-Td", "-v", "-a", "-e", "-fp", "dir.c"}, dir.path(), home.path());
    EXPECT_NE(r.out.find("Problem opening input file"), std::string::npos);
    if (HaveXmllint()) {
      EXPECT_EQ(XmlProblems(scratch, r.out), "") << mode;
    }
  }
  const RunResult text = RunLqa({"-v", "-a", "-e", "dir.c"}, dir.path(), home.path());
  EXPECT_NE(text.out.find("~~ Project Analysis For 0 Files ~~"), std::string::npos) << text.out;
}

TEST_F(ReportsE2E, AwkwardFileNamesAndTitleKeepDocumentsWellFormed) {
  if (!HaveXmllint()) GTEST_SKIP() << "xmllint is not installed";
  dir.Write("odd/a&b<c>\"q\".c", "int a;\n");
  dir.Write("odd/lat\xe9\x01.c", "int b;\n");
  dir.Write("list.txt", "-r c odd\n");
  for (const char* mode : {"-X", "-H"}) {
    const RunResult r = RunLqa({mode, "-S", "T<&>", "-Ta", "-Td", "-v", "-s", "-F", "list.txt"}, dir.path(),
                               home.path());
    EXPECT_NE(r.out.find(std::string(mode) == "-X" ? "<file_count>2</file_count>" : "<b>Files</b> 2"),
              std::string::npos)
        << mode;
    EXPECT_EQ(XmlProblems(scratch, r.out), "") << mode;
  }
}

TEST_F(ReportsE2E, ProjectReportsComeInTheirFixedOrder) {
  const RunResult r = Run({"-v", "-a", "-n", "-s"});
  const size_t title = r.out.find("~~ Project Analysis For 5 Files ~~");
  const size_t summary = r.out.find("~~ Total Project Summary ~~", title);
  const size_t quality = r.out.find("~~ Project Quality Profile ~~", title);
  const size_t verbose = r.out.find("~~ Project Keywords and Metrics ~~", title);
  const size_t memory = r.out.find("~~ Memory Allocation/De-allocation Summary ~~", title);
  const size_t files = r.out.find("~~ File Summary ~~", title);
  ASSERT_NE(title, std::string::npos) << r.out;
  EXPECT_LT(summary, quality);
  EXPECT_LT(quality, verbose);
  EXPECT_LT(verbose, memory);
  EXPECT_LT(memory, files);
  EXPECT_NE(files, std::string::npos);
  // Per file the memory summary comes before the verbose block: the file
  // that allocates (geo.c) ends with both, in that order.
  const size_t fileMemory = r.out.find("~~ Memory Allocation/De-allocation Summary ~~");
  const size_t fileVerbose = r.out.find("~~ File Keywords and Metrics ~~", fileMemory);
  const size_t fileEnd = r.out.find("End of File: src/geo.c");
  EXPECT_LT(fileMemory, fileVerbose);
  EXPECT_LT(fileVerbose, fileEnd);
}

// The fullest switch set on the mixed tree in each output mode, compared
// with reviewed expected reports (tests/e2e/expected/). Run with
// LQA_UPDATE_EXPECTED=1 to rewrite them after a deliberate report change,
// then review the difference.
class ReportsGolden : public ReportsE2E {
 protected:
  void SetUp() override {
    ReportsE2E::SetUp();
    home.Write("lqa.cfg", "Show file date and size : No\n");
    // Fixed file times and time zone: the file dates are part of some forms.
    setenv("TZ", "UTC", 1);
    for (const char* f : {"src/geo.c", "src/shape.h", "src/shape.cpp", "src/App.java", "src/Calc.cs"}) {
      const timeval times[2] = {{1700000000, 0}, {1700000000, 0}};
      utimes((dir.path() + "/" + f).c_str(), times);
    }
  }
  void Check(const char* mode, const std::string& expectedName) {
    std::vector<std::string> args = {"-xNOHEADER", "-xNOCONFIG", "-xNOCOMMAND", "-s", "-v", "-c", "-fa", "-fd",
                                     "-o", "-i", "-n", "-m", "-a", "-e", "-fp", "-k2"};
    if (*mode != '\0') args.insert(args.begin(), mode);
    if (std::string(mode) == "-X") args.push_back("-Ta");
    const RunResult r = Run(args);
    // The run date is the one varying text.
    std::string out = std::regex_replace(r.out, std::regex("<date>[^<]*</date>\n<command>"), "<date>RUN DATE</date>\n<command>");
    out = std::regex_replace(out, std::regex("(<version>[^<]*</version>\n<date>)[^<]*"), "$1RUN DATE");
    out = std::regex_replace(out, std::regex("Date Processed,[^\n]*"), "Date Processed,RUN DATE");
    const std::string path = std::string(LQA_SOURCE_DIR) + "/tests/e2e/expected/" + expectedName;
    if (std::getenv("LQA_UPDATE_EXPECTED") != nullptr) {
      std::ofstream(path, std::ios::binary) << out;
      return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in.good()) << "missing " << path << "; create it with LQA_UPDATE_EXPECTED=1";
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(out, expected.str()) << mode;
  }
};

TEST_F(ReportsGolden, Text) { Check("", "reports_full.txt"); }
TEST_F(ReportsGolden, Html) { Check("-H", "reports_full.html"); }
TEST_F(ReportsGolden, Csv) { Check("-C", "reports_full.csv"); }
TEST_F(ReportsGolden, Xml) { Check("-X", "reports_full.xml"); }

}  // namespace
