// String and comment extraction: the cleaning rules and what the line
// engine lists, with which line number.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_out.h"
#include "common/gcd.h"
#include "utilities/extraction.h"

namespace {

std::string Clean(const std::string& text, OutputMode mode = OutputMode::Text) {
  auto gcd = NewGlobalData();
  gcd->sw.outputMode = mode;
  return std::string(ExtractString(text, *gcd));
}

// The extraction output of a C file made of the lines.
std::string Extract(const std::vector<std::string>& lines, bool strings, bool comments) {
  auto gcd = NewGlobalData();
  gcd->sw.extractStrings = strings;
  gcd->sw.extractComments = comments;
  gcd->lang.isC = 1;
  ResetState(*gcd);
  return CaptureOut([&] {
    int number = 0;
    for (const std::string& text : lines) {
      std::string line = text + "\n";
      ParseLine(line.c_str(), ++number, *gcd);
    }
  });
}

TEST(Extraction, CleaningKeepsTheReadableWords) {
  EXPECT_EQ(Clean("Hello, world!\\n\""), "Hello, world");
  EXPECT_EQ(Clean("/ Fix this later."), "Fix this later");
  EXPECT_EQ(Clean("\\n\\n  Error: no file\\n\\n\""), "Error: no file");
  EXPECT_EQ(Clean("* \t\tindented *"), "indented");
  EXPECT_EQ(Clean("  !?\""), "");
  EXPECT_EQ(Clean("\""), "");
  EXPECT_EQ(Clean("a<b & c\"", OutputMode::Html), "a&lt;b &amp; c");
}

TEST(Extraction, StringsAreListedWhereTheyClose) {
  std::string out = Extract({"char *a = \"first\", *b = \"say \\\"hi\\\" now\";",
                             "char c = '\"'; /* \"not a string\" */",
                             "char *d = \"/* no comment */ two \\",
                             "lines\";", "char *e = \"\";"},
                            true, false);
  EXPECT_EQ(out,
            "       1: first\n"
            "       1: say \\\"hi\\\" now\n"
            "       4: no comment */ two \\lines\n");
}

TEST(Extraction, CommentsOfOneLineAreOneEntry) {
  std::string out = Extract({"int a; // trailing note", "/* one */ int b; /* two */", "/* open",
                             "   still open */", "char *s = \"// not a comment\";", "//"},
                            false, true);
  EXPECT_EQ(out,
            "       1: trailing note\n"
            "       2: one ** two\n"
            "       3: open\n"
            "       4: still open\n");
}

TEST(Extraction, StringsAndCommentsTogetherStayApart) {
  std::string out = Extract({"/* lead */ f(\"text\"); // tail"}, true, true);
  EXPECT_EQ(out, "       1: text\n       1: lead */ tail\n");
}

}  // namespace
