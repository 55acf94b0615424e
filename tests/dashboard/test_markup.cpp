// Escaping for the page, one-decimal numbers and labels cut to fit.
#include <gtest/gtest.h>

#include <string>

#include "dashboard/markup.h"

namespace {

TEST(DashboardMarkup, EscapesMarkupAndReplacesWhatXmlCannotHold) {
  EXPECT_EQ(Escaped("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&#39;");
  EXPECT_EQ(Escaped("caf\xC3\xA9 \xE2\x80\xA6"), "caf\xC3\xA9 \xE2\x80\xA6");  // valid UTF-8 kept
  EXPECT_EQ(Escaped("x\xFFy\xC3"), "x?y?");             // stray and cut-off bytes
  EXPECT_EQ(Escaped("\xC0\xAF"), "??");                 // overlong form
  EXPECT_EQ(Escaped("\xED\xA0\x80"), "???");            // surrogate
  EXPECT_EQ(Escaped(std::string("a\0b\x01\t\n", 6)), "a?b?\t\n");
  EXPECT_EQ(Escaped("\xEF\xBF\xBE"), "?");              // U+FFFE is no XML character
}

TEST(DashboardMarkup, OneDecimalWithoutNegativeZeroOrNaN) {
  EXPECT_EQ(Decimal1(12.345), "12.3");
  EXPECT_EQ(Decimal1(-0.01), "0.0");
  EXPECT_EQ(Decimal1(0.0 / 0.0), "0.0");
  EXPECT_EQ(Decimal1(1160), "1160.0");
  EXPECT_EQ(Grouped(1459198), "1,459,198");
  EXPECT_EQ(Grouped(999), "999");
  EXPECT_EQ(Grouped(-1000), "-1,000");
}

TEST(DashboardMarkup, LabelsAreCutAtCharactersWithAnEllipsis) {
  // 10 px per character at a font size of 16.7 (0.6 each).
  const double font = 50.0 / 3;
  EXPECT_EQ(FitLabel("abcde", 50, font), "abcde");
  EXPECT_EQ(FitLabel("abcdef", 50, font), "abcd\xE2\x80\xA6");
  // Two-byte characters are never split.
  EXPECT_EQ(FitLabel("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 40, font), "\xC3\xA9\xC3\xA9\xC3\xA9\xE2\x80\xA6");
  EXPECT_EQ(FitLabel("abcdef", 15, font), "");
  EXPECT_EQ(FitLabelTail("/long/path/xfs", 50, font), "\xE2\x80\xA6" "/xfs");
  EXPECT_EQ(FitLabelTail("a/\xC3\xA9\xC3\xA9", 50, font), "a/\xC3\xA9\xC3\xA9");
  EXPECT_EQ(CharacterCount("a\xC3\xA9\xFF"), 3u);
  const std::string huge(5000, 'n');
  EXPECT_EQ(CharacterCount(FitLabel(huge, 300, font)), 30u);
}

}  // namespace
