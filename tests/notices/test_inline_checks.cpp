// The checks the line engine runs while it scans: which notices fire on
// which lines.
#include <gtest/gtest.h>

#include "notice_engine.h"
#include "notices/notices.h"

namespace {

using Fired = std::vector<std::pair<int, int>>;

// (line, notice) pairs of one notice.
Fired Only(const NoticeEngine& e, int notice) {
  Fired only;
  for (const auto& f : e.Fired())
    if (f.second == notice) only.push_back(f);
  return only;
}

TEST(InlineChecks, AssignmentsInsideConditions) {
  NoticeEngine e;
  e.Feed({"if (a = b) x;", "if (a == b) x;", "if (a <= b || a != b || a >= b) x;", "if ((a = f()) != 0) x;",
          "while ((c = getc(f)) != EOF) x;", "while (a) b = c;", "if (a) b = c;"});
  EXPECT_EQ(Only(e, 4), (Fired{{1, 4}, {4, 4}}));
  EXPECT_EQ(Only(e, 5), (Fired{{5, 5}}));
  // A lambda arrow is no assignment.
  NoticeEngine cs(Lang::CSharp);
  cs.Feed({"if (list.Any(x => x == 1)) y();"});
  EXPECT_EQ(cs.Count(4), 0);
}

TEST(InlineChecks, PrefixOperatorsAndTheirMacroWording) {
  NoticeEngine e;
  e.Feed({"x = --y;", "x--;", "x = y - -1;", "++i;", "a = b++ + c;", "p = --*q;"});
  EXPECT_EQ(e.Numbers({50}), (std::vector<int>{6, 7}));
  EXPECT_EQ(e.Fired()[0].first, 1);
  NoticeEngine m;
  m.gcd().sw.noticeSingleLine = m.gcd().sw.noticeListMode = 0;
  m.Feed({"#define STEP(a) (--a, \\", "  ++a, (a) ? 1 : 2)", "#define PICK x ? 1 : 2", "y = --z;"});
  EXPECT_NE(m.out().find("\n    Notice #6: Line 1, a pre-decrement '-- operator' identified\n"
                         "           within a MACRO.  This syntax is non-portable and is\n"
                         "           NOT recommended within macro definitions.\n"),
            std::string::npos)
      << m.out();
  EXPECT_NE(m.out().find("\n    Notice #7: Line 2, a pre-increment '++ operator' identified\n"), std::string::npos);
  EXPECT_NE(m.out().find("\n    Notice #6: Line 4, pre-decrement '-- operator' identified.\n"
                         "           This can be a problematic construct in compound statements.\n"),
            std::string::npos);
  // No ternary notice inside a function-like macro; an object-like one has it.
  EXPECT_EQ(m.Count(23), 1);
}

TEST(InlineChecks, ReallocGotoContinueOnlyInCode) {
  NoticeEngine e;
  e.Feed({"p = realloc(p, n);", "/* realloc(p) */", "s = \"realloc(x)\";", "q = myrealloc(p);", "r = realloc (p, 1);",
          "goto out;", "continue;", "x = continued;"});
  EXPECT_EQ(e.Numbers({50}), (std::vector<int>{8, 8, 9, 43}));
  NoticeEngine java(Lang::Java);
  java.Feed({"goto x;"});
  EXPECT_EQ(java.Count(9), 1);
}

TEST(InlineChecks, BreaksOutsideSwitchesAndInSequence) {
  NoticeEngine loop;
  loop.Feed({"while (x) { if (y) break; break; }", "break   "});
  EXPECT_EQ(loop.Numbers(), (std::vector<int>{44, 56, 44}));
  NoticeEngine sw;
  sw.gcd().eng.switches.switch_depth = 1;  // inside a switch
  sw.Feed({"case 1: f(); break;", "default: break;", "case 2: break; break;", "case 3: if (a) break; break;"});
  // A default ends a run of breaks as a case does; an if between two breaks
  // does too, but not the break it guards.
  EXPECT_EQ(sw.Fired(), (Fired{{3, 56}, {4, 56}}));
}

TEST(InlineChecks, TabsOutsideStringsAndRegions) {
  NoticeEngine e;
  e.Feed({"\tint a;\t// c\tx", "s = \"a\tb\";", "/*\t*/", "char c = '\t';"});
  EXPECT_EQ(Only(e, 30), (Fired{{1, 30}, {1, 30}, {1, 30}, {3, 30}, {4, 30}}));
  NoticeEngine cs(Lang::CSharp);
  cs.Feed({"#region\tname\tx", "\tx = y;"});
  EXPECT_EQ(Only(cs, 30), (Fired{{2, 30}}));
  NoticeEngine off;
  SetNoticeFlag(30, 0, off.gcd());
  off.Feed({"\t\tx = y;"});
  EXPECT_EQ(off.Count(30), 0);
  EXPECT_EQ(off.gcd().eng.fc.notices, 0);
}

TEST(InlineChecks, VoidPointers) {
  NoticeEngine e;
  e.Feed({"void *p;", "void*q;", "void /* c */ * r;", "void f(void);", "void g();", "voidx *s;", "(void) *p;"});
  EXPECT_EQ(Only(e, 26), (Fired{{1, 26}, {2, 26}, {3, 26}}));
}

TEST(InlineChecks, CppKeywordsInCFiles) {
  const std::vector<std::string> lines = {"bool ok;", "int new = x;", "int class;", "#error this is new",
                                          "int operator *p;", "int operatorx;", "x = static_cast<int>(y);"};
  NoticeEngine c;
  c.Feed(lines);
  EXPECT_EQ(Only(c, 24), (Fired{{1, 24}, {2, 24}, {5, 24}, {7, 24}}));
  NoticeEngine cpp(Lang::Cpp);
  cpp.Feed(lines);
  EXPECT_EQ(cpp.Count(24), 0);
}

TEST(InlineChecks, ExceptionsAndEllipsis) {
  NoticeEngine java(Lang::Java);
  java.Feed({"try {", "} catch (Exception e) {", "try{"});
  EXPECT_EQ(Only(java, 38), (Fired{{1, 38}, {3, 38}}));
  NoticeEngine c;
  c.Feed({"try {"});
  EXPECT_EQ(c.Numbers(), (std::vector<int>{24}));
  NoticeEngine cpp(Lang::Cpp);
  cpp.Feed({"int printf(const char *, ...);", "catch (...) {", "f(a,...)", "g(...x)"});
  EXPECT_EQ(Only(cpp, 3), (Fired{{1, 3}, {3, 3}}));
  // Only counted when notices are listed.
  NoticeEngine quiet(Lang::Cpp);
  quiet.gcd().sw = Switches{};
  quiet.Feed({"int printf(const char *, ...);"});
  EXPECT_EQ(quiet.Count(3), 0);
}

TEST(InlineChecks, FriendClassesAndUsingNamespace) {
  NoticeEngine cpp(Lang::Cpp);
  cpp.gcd().sw.noticeSingleLine = cpp.gcd().sw.noticeListMode = 0;
  cpp.Feed({"friend class Foo;", "friend void f();", "using namespace std;", "using std::string;", "friend", "class Bar;"});
  EXPECT_NE(cpp.out().find("\n    Notice #15: Line 1, friend class 'Foo' identified.\n"), std::string::npos) << cpp.out();
  EXPECT_NE(cpp.out().find("\n    Notice #15: Line 6, friend class 'Bar' identified.\n"), std::string::npos);
  EXPECT_EQ(cpp.Count(15), 2);
  EXPECT_EQ(cpp.Count(32), 1);
  // Namespace recognition reporting the same statement adds nothing.
  NoticeEngine twice(Lang::Cpp);
  twice.Feed({"using namespace std"});
  EmitUsingNamespace(twice.gcd());
  EXPECT_EQ(twice.Count(32), 1);
  NoticeEngine java(Lang::Java);
  java.Feed({"friend class Foo;"});
  EXPECT_EQ(java.Count(15), 0);
}

TEST(InlineChecks, UnboundScope) {
  NoticeEngine e;
  e.Feed({"void f() {",       // 1
          "if (x) y = 1;",    // 2: decided by line 3
          "z = 2;",           // 3
          "if (x)",           // 4
          "{",                // 5
          "}",                // 6
          "else y = 1;",      // 7: code after else on its own line
          "do {",             // 8
          "} while (x);",     // 9: the end of a do ... while
          "for (;;)",         // 10
          "  g();",           // 11
          "if (a &&",         // 12: condition over two lines
          "    b)",           // 13
          "  h();",           // 14
          "else",             // 15
          "  if (c) {",       // 16: an else if on the next line
          "  }",              // 17
          "while (k) { k--; }",
          "}"});
  EXPECT_EQ(Only(e, 22), (Fired{{2, 22}, {7, 22}, {10, 22}, {13, 22}}));
  // Only with function analysis on.
  NoticeEngine off;
  off.gcd().sw.functionAnalysis = 0;
  off.Feed({"void f() {", "if (x) y = 1;", "z = 2;", "}"});
  EXPECT_EQ(off.Count(22), 0);
  // Counted, not written, inside a function-like macro.
  NoticeEngine macro;
  macro.Feed({"void f() {", "#define M(x) if (x) y = 1; \\", "  z = 2;", "}"});
  EXPECT_EQ(macro.Count(22), 1);
  EXPECT_TRUE(Only(macro, 22).empty());
}

TEST(InlineChecks, LiteralAssignments) {
  NoticeEngine cpp(Lang::Cpp);
  cpp.Feed({"int a = 0;", "int b = 5;", "a = (int)5;", "a = static_cast<int>(5);", "c =", "  // value", "  7;",
            "const int d = 9;", "enum E { A = 1, B = 2 };", "enum F {", "  C = 3,", "};", "x = y;", "e = 0.0;",
            "f = (a + b) * 2;", "g = 0x10;"});
  EXPECT_EQ(Only(cpp, 50), (Fired{{2, 50}, {3, 50}, {4, 50}, {7, 50}, {16, 50}}));
  // A pure virtual declaration in a class.
  NoticeEngine cls(Lang::Cpp);
  cls.gcd().st.classBodyDepth = 1;
  cls.Feed({"virtual void f() = 0;", "virtual int g() const = 5;", "int h = 3;"});
  EXPECT_EQ(Only(cls, 50), (Fired{{3, 50}}));
  // Zero counts when the configuration says so.
  NoticeEngine zero;
  zero.gcd().cfg.zeroIsLiteral = 1;
  zero.Feed({"int a = 0;"});
  EXPECT_EQ(zero.Count(50), 1);
}

TEST(InlineChecks, WhereAnAssignmentEnds) {
  NoticeEngine cpp(Lang::Cpp);
  cpp.Feed({"void f(int a = 0)"});
  // A default argument ends with its parameter list: the body is a body.
  EXPECT_EQ(cpp.gcd().eng.assignment_flag, 0);
  cpp.Feed({"T& operator=(const T& o)", "bool operator==(const T& o)", "T& operator+=(int n)"});
  EXPECT_EQ(cpp.gcd().eng.assignment_flag, 0);
  cpp.Feed({"x = (a + b)"});
  EXPECT_EQ(cpp.gcd().eng.assignment_flag, 1);
  cpp.Feed({";"});
  EXPECT_EQ(cpp.gcd().eng.assignment_flag, 0);
}

TEST(InlineChecks, LineLengthFromTheCountedLength) {
  NoticeEngine e;
  e.Feed({std::string(80, 'x'), std::string(81, 'x'), std::string(90, ' '), std::string(80, 'x') + "\r"});
  EXPECT_EQ(Only(e, 1), (Fired{{2, 1}, {3, 1}}));
  e.gcd().sw.noticeSingleLine = e.gcd().sw.noticeListMode = 0;
  e.Feed({std::string(81, 'y')});
  EXPECT_NE(e.out().find("\n    Notice #1: Line 5: Line character length = 81.  This width\n"
                         "           exceeds the standard terminal width of 80 characters.\n"),
            std::string::npos);
}

TEST(InlineChecks, TernaryOperators) {
  NoticeEngine e(Lang::CSharp);
  e.Feed({"x = a ? b : c;", "y = a ?? b;", "// ?", "s = \"?\";", "z = a?b:c?d:e;"});
  EXPECT_EQ(Only(e, 23), (Fired{{1, 23}, {2, 23}, {5, 23}, {5, 23}}));
  // Generic wildcards are no conditionals.
  NoticeEngine java(Lang::Java);
  java.Feed({"Class<?> c;", "Map<String, ? extends T> m;", "List< ? super T> l;"});
  EXPECT_EQ(java.Count(23), 0);
}

TEST(InlineChecks, UnbalancedClosersAndScopeDepth) {
  NoticeEngine e;
  e.Feed({"x);", "}"});
  EXPECT_EQ(e.Numbers(), (std::vector<int>{12, 12}));
  for (OutputMode mode : {OutputMode::Xml, OutputMode::Csv}) {
    NoticeEngine quiet;
    quiet.gcd().sw.outputMode = mode;
    quiet.Feed({"x);", "}"});
    EXPECT_EQ(quiet.Count(12), 0);
  }
  NoticeEngine deep;
  deep.gcd().cfg.maxScopeDepth = 2;
  deep.Feed({"{", "{", "int a[2][1] = { {1}, {2} };", "{", "{"});
  EXPECT_EQ(Only(deep, 55), (Fired{{4, 55}, {5, 55}}));
}

TEST(InlineChecks, NothingInsideAQualitySkipRegion) {
  NoticeEngine e;
  e.gcd().drv.skipQuality = 1;
  e.Feed({"\tif (a = 5) goto x;", std::string(100, 'x')});
  EXPECT_EQ(e.gcd().eng.fc.notices, 0);
  EXPECT_TRUE(e.Fired().empty());
}

TEST(InlineChecks, KeyStringIsFoundAnywhereOnALine) {
  NoticeEngine e;
  e.gcd().cfg.keyString = "Copyright";
  e.Feed({"int a;", "/* Copyright 2026 */"});
  EXPECT_EQ(e.gcd().eng.key_found, 1);
}

}  // namespace
