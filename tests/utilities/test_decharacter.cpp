// The de-charactering transform: tabs outside strings, line end conversion,
// and streaming across arbitrary block boundaries.
#include <gtest/gtest.h>

#include <string>

#include "utilities/decharacter.h"

namespace {

struct StringSink {
  std::string text;
  void Put(char c) { text.push_back(c); }
};

struct Result {
  std::string out;
  int lines, tabs;
  bool changed;
};

Result Transform(const std::string& in, DecharOptions o, std::size_t block = 65536) {
  Decharacter t(o);
  StringSink sink;
  for (std::size_t i = 0; i < in.size(); i += block) t.Feed(in.data() + i, std::min(block, in.size() - i), sink);
  t.Finish(sink);
  return {sink.text, t.Lines(), t.Tabs(), t.Changed()};
}

DecharOptions Tabs(int width) {
  DecharOptions o;
  o.tabs = true;
  o.tabWidth = width;
  return o;
}

TEST(Decharacter, TabsOutsideStringsBecomeAFixedRunOfBlanks) {
  Result r = Transform("a\tb\n\"x\ty\"\tz\n", Tabs(4));
  EXPECT_EQ(r.out, "a    b\n\"x\ty\"    z\n");
  EXPECT_EQ(r.tabs, 2);
  EXPECT_EQ(r.lines, 2);
  // An escaped quote stays inside its string; a quote after two backslashes closes it.
  EXPECT_EQ(Transform("\"a\\\"\tb\"\tc\n", Tabs(1)).out, "\"a\\\"\tb\" c\n");
  EXPECT_EQ(Transform("\"a\\\\\"\tb\n", Tabs(1)).out, "\"a\\\\\" b\n");
  // The string state runs on into the next line; single quotes do not delimit.
  EXPECT_EQ(Transform("\"open\n\tstill\"\tout\n", Tabs(1)).out, "\"open\n\tstill\" out\n");
  EXPECT_EQ(Transform("c = '\"';\tx\n", Tabs(1)).out, "c = '\"';\tx\n");
  // Width 0 drops the tab but counts it; a last line that starts with a tab is kept.
  Result dropped = Transform("\ta\n\tb", Tabs(0));
  EXPECT_EQ(dropped.out, "a\nb");
  EXPECT_EQ(dropped.tabs, 2);
  EXPECT_EQ(dropped.lines, 2);
}

TEST(Decharacter, UnixLineEnds) {
  DecharOptions o;
  o.toUnix = true;
  EXPECT_EQ(Transform("a\r\nb\r\nc", o).out, "a\nb\nc");
  EXPECT_EQ(Transform("\r\r\n", o).out, "\r\n");
  // Carriage returns that end no line are text and stay.
  Result inner = Transform("a\rb\nc\r", o);
  EXPECT_EQ(inner.out, "a\rb\nc\r");
  EXPECT_FALSE(inner.changed);
  EXPECT_FALSE(Transform("x\ny\n", o).changed);
}

TEST(Decharacter, DosLineEnds) {
  DecharOptions o;
  o.toDos = true;
  Result r = Transform("a\nb\r\nc\rd\ne", o);
  EXPECT_EQ(r.out, "a\r\nb\r\nc\rd\ne");
  EXPECT_EQ(r.lines, 4);
  Result again = Transform(r.out, o);
  EXPECT_EQ(again.out, r.out);
  EXPECT_FALSE(again.changed);
}

TEST(Decharacter, BlockBoundariesDoNotMatter) {
  const std::string in = "x\t\"s\\\"\t\"\r\n\t\r\r\n\"\\\\\"\tq\r\nend\t";
  for (DecharOptions o : {Tabs(3), DecharOptions{true, true, false, 2}, DecharOptions{true, false, true, 2}}) {
    Result whole = Transform(in, o);
    Result bytes = Transform(in, o, 1);
    EXPECT_EQ(bytes.out, whole.out);
    EXPECT_EQ(bytes.tabs, whole.tabs);
    EXPECT_EQ(bytes.lines, whole.lines);
  }
}

}  // namespace
