// The JSON output mode of the real program: for each switch set the -J
// document equals what the reference converter (json_reference.py, the
// mapping rules written plainly over a tree) makes of the -X document of the
// same run, and it is strict JSON; the golden XML report, hostile file names,
// the -O file and the choice between the output modes.
#include <gtest/gtest.h>

#include <sys/time.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

// Runs tests/e2e/json_reference.py with the arguments (paths in dir).
ShellResult Reference(const std::string& dir, const std::string& args) {
  return RunPython(dir, "tests/e2e/json_reference.py", args);
}

bool HavePython() { return std::system("python3 -c 'import json, xml.etree.ElementTree' > /dev/null 2>&1") == 0; }

const char* const kFiles[] = {"src/geo.c", "src/shape.h", "src/shape.cpp", "src/App.java", "src/Calc.cs"};

class JsonE2E : public ::testing::Test {
 protected:
  TempDir dir;
  TempDir home;
  TempDir scratch;
  void SetUp() override {
    if (!HavePython()) GTEST_SKIP() << "python3 is not installed";
    dir.Write("src/geo.c", "/* area & \"shapes\" */\nint area(int w, int h)\n{\n  if (w < 0 || h < 0)\n"
                           "    return 0;\n  return w * h;\n}\n\nint main(void)\n{\n  char *p = malloc(4);\n"
                           "  free(p);\n  return area(2, 3);\n}\n");
    dir.Write("src/shape.h", "#define SQ(x) ((x) * (x))\nstruct pt { int x; int y; };\n");
    dir.Write("src/shape.cpp", "namespace geo {\nclass Shape : public Base<int, char> {\n public:\n"
                               "  int vol(int a, int b) const { return a < b ? a : b; }\n  int n_;\n"
                               "  struct In { int k; };\n};\n}\nint geo::Shape::area() {\n  int *q = new int;\n"
                               "  delete q;\n  return 1;\n}\nclass Lost : public geo::Missing {};\n");
    dir.Write("src/App.java", "package a.b;\n\npublic class App {\n  // entry\n  public static void main(String[] a) {\n"
                              "    for (int i = 0; i < 3; i++) { System.out.println(\"<&>\"); }\n  }\n}\n");
    dir.Write("src/Calc.cs", "namespace Tools.Math {\n  interface ICalc { int Add(int a, int b); }\n"
                             "  class Calc : ICalc {\n    public int Add(int a, int b) { return a + b; }\n  }\n}\n");
  }
  RunResult Run(std::vector<std::string> args, const std::vector<std::string>& files) {
    for (const std::string& f : files) args.push_back(f);
    return RunLqa(args, dir.path(), home.path());
  }
  // Runs each switch set with -X and with -J, and compares all the pairs in
  // one run of the reference.
  void Compare(const std::vector<std::vector<std::string>>& sets, const std::vector<std::string>& files) {
    std::string pairs;
    for (std::size_t i = 0; i < sets.size(); ++i) {
      std::vector<std::string> x = {"-X"}, j = {"-J"};
      x.insert(x.end(), sets[i].begin(), sets[i].end());
      j.insert(j.end(), sets[i].begin(), sets[i].end());
      const RunResult xml = Run(x, files);
      const RunResult json = Run(j, files);
      std::string label;
      for (const std::string& s : sets[i]) label += s + " ";
      EXPECT_EQ(json.status, xml.status) << label;
      EXPECT_EQ(json.out.substr(0, 2), "{\n") << label;
      const std::string name = "set" + std::to_string(i);
      scratch.Write(name + ".xml", xml.out);
      scratch.Write(name + ".json", json.out);
      pairs += " " + name + ".xml " + name + ".json";
    }
    const ShellResult c = Reference(scratch.path(), pairs);
    EXPECT_EQ(c.status, 0) << c.out;
  }
  std::vector<std::string> Files() const { return {std::begin(kFiles), std::end(kFiles)}; }
};

TEST_F(JsonE2E, EqualsTheReferenceOfTheXmlOverTheReportSwitchSets) {
  const std::vector<std::vector<std::string>> sets = {
      {},
      {"-Ta"},
      {"-Ta", "-Tn", "-fa", "-c", "-o", "-i"},
      {"-n"},
      {"-i"},
      {"-fa", "-fd", "-fp"},
      {"-Td", "-k10"},
      {"-Tq", "-kd", "-k1"},
      {"-s", "-v", "-a", "-m", "-e"},
      {"-Nv", "-Ta"},
      {"-Tn", "-TN"},
      {"-fm", "-Ta"},
      {"-Rl"},
      {"-S", "7<&>", "-Ta"},
  };
  Compare(sets, Files());
}

TEST_F(JsonE2E, SourceTextBecomesTextLines) {
  // Extraction, the code listing and the line traces write text between the
  // elements; a CR LF file checks that line ends are read as XML reads them.
  dir.Write("src/crlf.c", "int f(void)\r\n{\r\n  return \"a\\tb\"[0];\r\n}\r\n");
  std::vector<std::string> files = Files();
  files.push_back("src/crlf.c");
  Compare({{"-Es"}, {"-Ec"}, {"-EC"}, {"-p"}, {"-d"}, {"-wD"}}, files);
}

TEST_F(JsonE2E, BaselineComparisonReports) {
  // Two baselines with line data of a tree where a file is new, one removed,
  // one changed and one equal: the comparison tables, the code differential
  // and the glossaries.
  const auto baseline = [this](const std::string& name, const std::string& top) {
    return Run({"-wFile dat " + name, "-wcreate " + top, "-wd", "-rc,h " + top}, {});
  };
  dir.Write("old/main.c", "/* main */\nint main(void)\n{\n  return run(1);\n}\n");
  dir.Write("old/util.h", "int run(int x);\n\n#define ONE 1\n");
  dir.Write("old/gone.c", "int gone(void) { return 0; }\n");
  dir.Write("new/main.c", "/* main */\nint main(void)\n{\n  int r = run(2);\n  return r;\n}\n");
  dir.Write("new/util.h", "int run(int x);\n\n#define ONE 1\n");
  dir.Write("new/added.c", "int added(int a)\n{\n  return a;\n}\n");
  ASSERT_EQ(baseline("a.dat", "old").status, 0);
  ASSERT_EQ(baseline("b.dat", "new").status, 0);
  Compare({{"-wd", "-wxa.dat, b.dat"}, {"-wxa.dat, b.dat"}, {"-wd", "-ws", "-wxa.dat, b.dat"}}, {});
}

TEST_F(JsonE2E, GoldenXmlReportConvertsToTheJsonOfTheSameRun) {
  // The switch set and settings of the golden XML report of the reports
  // tests; its run date is left out of the comparison.
  home.Write("lqa.cfg", "Show file date and size : No\n");
  setenv("TZ", "UTC", 1);
  for (const char* f : kFiles) {
    const timeval times[2] = {{1700000000, 0}, {1700000000, 0}};
    utimes((dir.path() + "/" + f).c_str(), times);
  }
  // The golden run's fixtures are the reports tests' own: the same five
  // files without the lost class this suite adds to shape.cpp.
  dir.Write("src/shape.cpp", "namespace geo {\nclass Shape : public Base<int, char> {\n public:\n"
                             "  int vol(int a, int b) const { return a < b ? a : b; }\n  int n_;\n};\n}\n"
                             "int geo::Shape::area() {\n  int *q = new int;\n  delete q;\n  return 1;\n}\n");
  const timeval times[2] = {{1700000000, 0}, {1700000000, 0}};
  utimes((dir.path() + "/src/shape.cpp").c_str(), times);
  const RunResult r = Run({"-J", "-xNOHEADER", "-xNOCONFIG", "-xNOCOMMAND", "-s", "-v", "-c", "-fa", "-fd", "-o", "-i",
                           "-n", "-m", "-a", "-e", "-fp", "-k2", "-Ta"},
                          Files());
  scratch.Write("report.json", r.out);
  const ShellResult c = Reference(
      scratch.path(), "'" LQA_SOURCE_DIR "/tests/e2e/expected/reports_full.xml' report.json");
  EXPECT_EQ(c.status, 0) << c.out;
}

TEST_F(JsonE2E, HostileFileNamesGiveValidJson) {
  const std::vector<std::string> names = {"src/q\"uote.c", "src/back\\slash.c", "src/tab\tname.c",
                                          "src/bad\xff\xfe.c"};
  for (const std::string& n : names) dir.Write(n, "int f(int a)\n{\n  return a;\n}\n");
  Compare({{"-Ta", "-n", "-fa"}}, names);
  const RunResult r = Run({"-J", "-Ta"}, names);
  for (const char* shown : {"\"name\": \"src/q\\\"uote.c\"", "\"name\": \"src/back\\\\slash.c\"",
                            "\"name\": \"src/tab\\tname.c\"", "\"name\": \"src/bad??.c\""})
    EXPECT_NE(r.out.find(shown), std::string::npos) << shown << "\n" << r.out.substr(0, 2000);
}

TEST_F(JsonE2E, OutputFileIsPublishedWhole) {
  const RunResult r = Run({"-J", "-s", "-O", "out.json"}, Files());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.find('{'), std::string::npos) << r.out;
  EXPECT_EQ(Reference(dir.path(), "--strict out.json").status, 0);
  // A write that fails (the file-size limit) leaves no target behind.
  RunLimits limits;
  limits.fileSizeBytes = 4096;
  std::vector<std::string> args = {"-J", "-Ta", "-O", "small.json"};
  for (const char* f : kFiles) args.emplace_back(f);
  const RunResult failed = RunLqaLimited(args, dir.path(), home.path(), limits);
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("Could not write output file"), std::string::npos) << failed.err;
  EXPECT_FALSE(std::ifstream(dir.path() + "/small.json").good());
}

TEST_F(JsonE2E, TheLastOutputModeCountsAndHelpListsTheSwitch) {
  EXPECT_EQ(Run({"-J", "-X"}, Files()).out.substr(0, 5), "<?xml");
  EXPECT_EQ(Run({"-X", "-J"}, Files()).out.substr(0, 2), "{\n");
  EXPECT_EQ(Run({"-J", "-C"}, Files()).out.find("\"format_version\""), std::string::npos);
  EXPECT_EQ(Run({"-J", "-H"}, Files()).out.find("\"format_version\""), std::string::npos);
  // A notice document that takes the report stream leaves no room for one.
  const RunResult sarif = Run({"-J", "-xSARIF"}, Files());
  EXPECT_NE(sarif.out.find("\"$schema\""), std::string::npos);
  EXPECT_EQ(sarif.out.find("\"format_version\""), std::string::npos);
  const RunResult help = RunLqa({"-xHELP"}, dir.path(), home.path());
  EXPECT_NE(help.out.find("    -J                        JSON output mode"), std::string::npos) << help.out;
}

}  // namespace
