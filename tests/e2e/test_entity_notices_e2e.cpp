// The notices that need function and class recognition, end to end: what a
// function or a type raises at its closing brace, in which order, and the
// in-line checks that read the recognised structure.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace {

class EntityNoticesE2E : public ::testing::Test {
 protected:
  TempDir dir;
  TempDir home;
  RunResult Run(const std::vector<std::string>& args) { return RunLqa(args, dir.path(), home.path()); }
  void Config(const std::string& lines) { home.Write("lqa.cfg", lines); }
};

using Fired = std::vector<std::pair<int, int>>;  // (line, notice) in output order

// The notices of a single-line (-Ns) run.
Fired Notices(const std::string& out) {
  Fired fired;
  for (const std::string& line : Lines(out)) {
    int number = 0;
    int at = 0;
    if (std::sscanf(line.c_str(), "  Notice #%d: Line %d,", &number, &at) == 2) fired.emplace_back(at, number);
  }
  return fired;
}

TEST_F(EntityNoticesE2E, FunctionEndNoticesInTheirOrderAtTheClosingBrace) {
  Config("Maximum functional cyclomatic complexity : 3\n");
  dir.Write("f.c",
            "/* A function that breaks the function-end rules. */\n"
            "int a_function_name_longer_than_limit(int a, int b, int c,\n"
            "    int d, int e, int f, int g)\n"
            "{\n"
            "    switch (a) {\n"
            "    case 1: b = c;\n"
            "    case 2: return b;\n"
            "    }\n"
            "    if (a && b || c) return 1;\n"
            "    return 0;\n"
            "}\n"
            "/* An empty list, no statement and no white space. */\n"
            "int none()\n"
            "{\n"
            "}\n");
  RunResult r = Run({"-Ns", "-fa", "f.c"});
  const Fired expected = {{9, 22}, {11, 2}, {11, 13}, {11, 14}, {11, 27}, {11, 29}, {11, 28},
                          {15, 16}, {15, 49}, {15, 48}};
  EXPECT_EQ(Notices(r.out), expected) << r.out;
  EXPECT_EQ(r.status, static_cast<int>(expected.size()));
  // Without function analysis no function ends, and the unbound if is not reported.
  r = Run({"-Ns", "f.c"});
  EXPECT_TRUE(Notices(r.out).empty()) << r.out;
}

TEST_F(EntityNoticesE2E, FunctionEndCountsWithDefaultsAndOldStyleParameters) {
  Config("Use default in case/break comparison : Yes\n");
  dir.Write("old.c",
            "/* old style */\n"
            "int old(a)\n"
            "int a;\n"
            "{\n"
            "    switch (a) { case 1: break; default: a = 2; }\n"
            "    /* a destructor-like function takes no parameters on purpose */\n"
            "    return a;\n"
            "}\n");
  RunResult r = Run({"-n", "-fa", "old.c"});
  EXPECT_NE(r.out.find("\n    Notice #10: Line 8: Identified a Non-ANSI function prototype\n"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("           case : 1     default: 1                  Total 2   \n"
                       "           break: 1     fall through comment: 0     Total 1   \n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("Notice #13"), std::string::npos);
}

TEST_F(EntityNoticesE2E, ClassNoticesFromMembersAndTheClosingBrace) {
  Config("Maximum number of methods per class : 0\n");
  dir.Write("shape.cpp",
            "// A base class with a virtual method and no virtual destructor.\n"
            "class Shape {\n"
            "public:\n"
            "    virtual double area();\n"
            "    int id;\n"
            "    static const int\n"
            "        kSides = 4;\n"
            "protected:\n"
            "    int hidden;\n"
            "private:\n"
            "    char *name;\n"
            "};\n"
            "// A plain struct keeps its data public.\n"
            "struct Point { int x; int *p; int norm(); };\n");
  RunResult r = Run({"-Ns", "-fa", "shape.cpp"});
  // The constant over two lines is no public data; the struct raises none
  // of the data notices.
  const Fired expected = {{5, 35}, {9, 36}, {11, 34}, {12, 31}, {12, 39}, {12, 37}, {14, 39}};
  EXPECT_EQ(Notices(r.out), expected) << r.out;
  r = Run({"-n", "-fa", "shape.cpp"});
  EXPECT_NE(r.out.find("\n    Notice #39: Line 14: The Number of struct methods exceeds the specified\n"),
            std::string::npos)
      << r.out;
}

TEST_F(EntityNoticesE2E, JavaConstantsAndTypesInsideFunctions) {
  dir.Write("Cls.java",
            "// Constants over two lines are no public data.\n"
            "public class Cls {\n"
            "    public static final String NAME\n"
            "        = \"x\";\n"
            "    public int count;\n"
            "    // A local class.\n"
            "    void run(int n) {\n"
            "        class Local { int q; }\n"
            "        Runnable r = new Runnable() { public void run(int k) { } };\n"
            "    }\n"
            "}\n");
  RunResult r = Run({"-Ns", "-fa", "Cls.java"});
  const Fired fired = Notices(r.out);
  EXPECT_EQ(fired.front(), std::make_pair(5, 35)) << r.out;
  int inFunction = 0;
  for (const auto& [line, n] : fired) {
    if (n == 35) {
      EXPECT_EQ(line, 5) << r.out;
    }
    if (n == 33) {  // the anonymous class is none
      ++inFunction;
      EXPECT_EQ(line, 8) << r.out;
    }
  }
  EXPECT_EQ(inFunction, 1) << r.out;
}

TEST_F(EntityNoticesE2E, InlineChecksReadTheRecognisedStructure) {
  Config("Maximum depth of scope : 2\n");
  dir.Write("s.cpp",
            "// using namespace is reported once\n"
            "using namespace std;\n"
            "// Literal defaults of parameters and template parameters.\n"
            "template <int N = 5> int f(int a = 7)\n"
            "{\n"
            "    if ((a = g()) != 0) {\n"
            "        while ((a = g()) > 1) {\n"
            "            h();\n"
            "        }\n"
            "    }\n"
            "    return a;\n"
            "}\n"
            "// A conditional at file scope.\n"
            "int x = y ? 1 : 2;\n");
  RunResult r = Run({"-Ns", "-fa", "s.cpp"});
  const Fired expected = {{2, 32}, {4, 50}, {4, 50}, {6, 4}, {7, 5}, {7, 55}, {14, 23}};
  EXPECT_EQ(Notices(r.out), expected) << r.out;
}

}  // namespace
