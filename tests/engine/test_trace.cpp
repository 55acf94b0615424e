// The -d and -wD line traces, the line code and the separator lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/gcd.h"
#include "engine/trace.h"
#include "capture_out.h"

namespace {

LineFlags Flags(int blank, int loc, int nonEffective, int logical, int cComment) {
  LineFlags f;
  f.blank = blank, f.loc = loc, f.non_effective = nonEffective, f.logical = logical, f.c_comment = cComment;
  return f;
}

std::string Trace(const char* line, int n, const LineFlags& f, GlobalData& gcd) {
  return CaptureOut([&] { ShowLineTrace(line, n, f, gcd); });
}

TEST(Trace, StateLineLayout) {
  const std::string d26(26, '-');
  int n = 0;
  std::string out = CaptureOut([&] { n = ShowStateLine(12, "Macro End"); });
  EXPECT_EQ(out, "  " + d26 + " Macro End Line: 12 " + d26 + "\n");
  EXPECT_EQ(n, 75);
  out = CaptureOut([&] { ShowStateLine(12, "Function Begin"); });
  EXPECT_EQ(out, "\n  " + std::string(24, '-') + " Function Begin Line: 12 " + std::string(23, '-') + "\n");
  const std::string wide(80, 'x');  // too long to centre: one dash, no padding
  EXPECT_EQ(CaptureOut([&] { ShowStateLine(1, wide.c_str()); }), "\n  - " + wide + " Line: 1 \n");
}

TEST(Trace, LineCode) {
  auto gcd = NewGlobalData();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%-20.15f", LineCode("ab\r\n", *gcd));
  EXPECT_STREQ(buf, "146.000000000000000 ");
  EXPECT_DOUBLE_EQ(LineCode("\n", *gcd), 0.0);
  EXPECT_DOUBLE_EQ(LineCode("\va\xE9", *gcd), 11.0 + 97.0 / 2);  // VT counts, bytes above 127 do not
  gcd->cfg.diffIgnoreWhiteSpace = 1;
  EXPECT_DOUBLE_EQ(LineCode("\t a b \n", *gcd), 146.0);
  gcd->cfg.diffIgnoreWhiteSpace = 0;
  EXPECT_DOUBLE_EQ(LineCode("a b\n", *gcd), 97.0 + 32.0 / 2 + 98.0 / 3);
}

TEST(Trace, LocTypes) {
  auto gcd = NewGlobalData();
  EXPECT_EQ(Trace("x;\n", 1, Flags(0, 1, 0, 1, 0), *gcd), "");  // no trace switch
  gcd->sw.lineTrace = 1;
  gcd->lang.isC = 1;
  gcd->eng.lex.in_cpp_comment = 1;
  EXPECT_EQ(Trace("x = 1; // set\n", 3, Flags(0, 1, 0, 1, 0), *gcd),
            "\n  Line 3: x = 1; // set\n  LOC Type(s): LOC Effective Logical C++ Comment\n");
  EXPECT_EQ(Trace("/* a */ // b\n", 4, Flags(0, 0, 0, 0, 1), *gcd), "\n  Line 4: /* a */ // b\n  LOC Type(s): C Comment\n");
  gcd->eng.lex.in_cpp_comment = 0;
  EXPECT_EQ(Trace("\n", 5, Flags(1, 0, 0, 0, 0), *gcd), "\n  Line 5: \n  LOC Type(s): Blank\n");
  EXPECT_EQ(Trace("}\n", 6, Flags(0, 1, 1, 0, 0), *gcd), "\n  Line 6: }\n  LOC Type(s): LOC Non-Effective\n");

  const struct { int LanguageState::*flag; const char* block; const char* line; } langs[] = {
      {&LanguageState::isJava, " Java (C-Style) Comment", " Java Comment"},
      {&LanguageState::isCSharp, " C# (C Style) Comment", " C# Comment"},
      {&LanguageState::isCpp, " C++ (C Style) Comment", " C++ Comment"}};
  for (const auto& l : langs) {
    auto g = NewGlobalData();
    g->sw.lineTrace = 1;
    g->lang.*l.flag = 1;
    EXPECT_EQ(Trace("/**/\n", 1, Flags(0, 0, 0, 0, 1), *g), std::string("\n  Line 1: /**/\n  LOC Type(s):") + l.block + "\n");
    g->eng.lex.in_cpp_comment = 1;
    EXPECT_EQ(Trace("//\n", 2, Flags(0, 0, 0, 0, 0), *g), std::string("\n  Line 2: //\n  LOC Type(s):") + l.line + "\n");
  }
  gcd->lang.isOther = 1;
  EXPECT_EQ(Trace("x;\n", 1, Flags(0, 1, 0, 1, 0), *gcd), "");

  auto html = NewGlobalData();
  html->sw.lineTrace = 1;
  html->sw.outputMode = OutputMode::Html;
  EXPECT_EQ(Trace(" \tif (a<b) {\n", 9, Flags(0, 1, 0, 0, 0), *html),
            "\n  <b>Line</b> 9: <font color=\"#003399\">if (a&lt;b) {\n</font>  <b>LOC Type(s)</b>: LOC Effective\n");
}

TEST(Trace, Differential) {
  auto gcd = NewGlobalData();
  gcd->sw.workDeterministic = 1;
  gcd->sw.lineTrace = 1;  // the differential trace takes precedence
  gcd->drv.currentFileName = "src/a.c";
  gcd->cfg.diffIgnoreBlankLines = 1;
  std::string out = CaptureOut([&] {
    ShowLineTrace("\n", 1, Flags(1, 0, 0, 0, 0), *gcd);  // header, then nothing for the blank line
    ShowLineTrace("ab\n", 2, Flags(0, 1, 0, 1, 0), *gcd);
    ShowLineTrace("/\n", 3, Flags(0, 0, 0, 0, 0), *gcd);  // no type code
  });
  EXPECT_EQ(out, "\n  File: src/a.c\n  Line #  Type Differential Code      Source Code Line\n  " + std::string(72, '-') +
                     "\n       2 |  G  146.000000000000000  | ab\n");
  gcd->cfg.diffIgnoreBlankLines = 0;
  gcd->sw.outputMode = OutputMode::Csv;
  out = CaptureOut([&] {
    ShowLineTrace("\n", 1, Flags(1, 0, 0, 0, 0), *gcd);
    gcd->eng.lex.in_cpp_comment = 1;
    ShowLineTrace("a//\n", 2, Flags(0, 1, 0, 0, 0), *gcd);
  });
  EXPECT_EQ(out, "File,src/a.c\nLine,Type,Code,Source\n1,B,0.000000000000000   ,\n2,l,136.166666666666657 ,a//\n");
}

}  // namespace
