// Functions, classes and namespaces end to end: what a run writes for them
// while a file is read, and what ends up in the file record.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

class Structure : public ::testing::Test {
 protected:
  TempDir dir;
  TempDir home;
  RunResult Run(const std::vector<std::string>& args) { return RunLqa(args, dir.path(), home.path()); }
};

constexpr const char* kSource =
    "/* area */\n"
    "int area(int w, int h)\n"
    "{\n"
    "  if (w > 0 && h > 0)\n"
    "    return w * h;\n"
    "  return 0;\n"
    "}\n";

TEST_F(Structure, FunctionBlockAtTheClosingBrace) {
  dir.Write("a.c", kSource);
  RunResult r = Run({"-c", "-fa", "a.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string block =
      "  Function: area\n"
      "  Parameters: (int w, int h)\n"
      "  Complexity   Param 2       Return 2      Cyclo Vg 3       Total        7\n"
      "  LOC 5        eLOC 3        lLOC 2        Comment 1        Lines        5\n"
      "\n";
  EXPECT_NE(r.out.find(block), std::string::npos) << r.out;
}

TEST_F(Structure, ListingModeWritesOneLinePerFunction) {
  dir.Write("a.c", kSource);
  RunResult r = Run({"-l", "a.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(HasLine(r.out, "  area (int w, int h)")) << r.out;
  EXPECT_EQ(r.out.find("Complexity"), std::string::npos);
}

TEST_F(Structure, NoticesFallBetweenBeginAndEnd) {
  dir.Write("a.c", kSource);
  RunResult r = Run({"-n", "-fa", "a.c"});
  const std::size_t begin = r.out.find(" Function Begin Line: 3 ");
  const std::size_t end = r.out.find("\n  Function: area\n  LOC 5");
  ASSERT_NE(begin, std::string::npos) << r.out;
  ASSERT_NE(end, std::string::npos) << r.out;
  EXPECT_LT(begin, end);
  EXPECT_NE(r.out.find(" Function End Line: 7 ", end), std::string::npos);
}

TEST_F(Structure, ClassesNamespacesAndMembers) {
  dir.Write("s.cpp",
            "namespace geo {\n"
            "class Shape : public Base {\n"
            " public:\n"
            "  int x, y;\n"
            "  int area() { return x * y; }\n"
            "};\n"
            "}\n");
  RunResult r = Run({"-o", "s.cpp"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("  Namespace Begin: geo\n  Class: geo::Shape\n  Inheritance: Base\n  Namespace End: geo\n"), std::string::npos)
      << r.out;
  // Class analysis alone lists no functions.
  EXPECT_EQ(r.out.find("  Function: "), std::string::npos);
  RunResult fm = Run({"-fm", "s.cpp"});
  EXPECT_TRUE(HasLine(fm.out, "  Class Data Public     :     4 | int x, y;")) << fm.out;
  EXPECT_TRUE(HasLine(fm.out, "  Class Method Public   :     5 | geo::Shape::area()")) << fm.out;
}

TEST_F(Structure, BlanksInsideAnglesStayWhereTheyPartWords) {
  dir.Write("t.cpp",
            "template <typename T, unsigned int N> class Arr {};\n"
            "class E : public Base<unsigned int>, public Pair<const char *, int> {};\n");
  dir.Write("Foo.java", "class Foo<K, V extends Comparable<V>> extends Bar<K, V> {\n}\n");
  const RunResult r = Run({"-o", "t.cpp", "Foo.java"});
  EXPECT_NE(r.out.find("  Class: Arr\n  Template: template<T,unsigned int N>\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  Inheritance: Base<unsigned int>,Pair<const char*,int>\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  Class: Foo<K,V extends Comparable<V>>\n  Inheritance: Bar<K,V>\n"), std::string::npos)
      << r.out;
}

TEST_F(Structure, JavaPackageEndsAtEndOfFile) {
  dir.Write("A.java", "package a.b;\nclass A {\n  void f() { }\n}\n");
  RunResult r = Run({"-o", "A.java"});
  EXPECT_NE(r.out.find("  Package Begin: a.b\n  Class: a.b.A\n  Package End: a.b\n"), std::string::npos) << r.out;
}

TEST_F(Structure, FunctionLeftOpenAtEndOfFile) {
  dir.Write("open.c", "int open_end(void)\n{\n  if (x) {\n");
  RunResult r = Run({"-fa", "open.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\n    NOTICE: The end of the source file has been reached where the\n"
                       "            local function scope remains open.  The last known function\n"
                       "            will be emitted but metrics cannot be generated in this\n"
                       "            condition.\n  Function: open_end\n  Parameters: (void)\n"),
            std::string::npos)
      << r.out;
}

}  // namespace
