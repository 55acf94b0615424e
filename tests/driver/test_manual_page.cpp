// Roff escaping of the help text written into the manual page.
#include <gtest/gtest.h>

#include "driver/manual_page.h"

namespace {

TEST(ManualPageText, EscapesWhatRoffWouldReadAsMarkup) {
  // A leading dot or apostrophe would be a request.
  EXPECT_EQ(RoffText(".cfg files"), "\\&.cfg files");
  EXPECT_EQ(RoffText("'quoted'"), "\\&'quoted'");
  EXPECT_EQ(RoffText("a .b"), "a .b");
  EXPECT_EQ(RoffText("C:\\path"), "C:\\epath");
}

TEST(ManualPageText, SwitchesAndSignsGetMinusSignsHyphensStay) {
  EXPECT_EQ(RoffText("-s after -C"), "\\-s after \\-C");
  EXPECT_EQ(RoffText("--help (-hs) -w\"x old, new\""), "\\-\\-help (\\-hs) \\-w\"x old, new\"");
  EXPECT_EQ(RoffText("de-allocation, totals-only, 1-255"), "de-allocation, totals-only, 1-255");
  EXPECT_EQ(RoffText("-1 when"), "\\-1 when");
}

TEST(ManualPageText, LinesJoinIntoOneLine) {
  EXPECT_EQ(RoffText("  first line\n  second\tline  \n"), "first line second line");
  EXPECT_EQ(RoffText("a\n.b"), "a .b");
}

}  // namespace
