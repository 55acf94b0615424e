// Which selection arguments a git side can read in its copy of the
// revision: names below the current directory only.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/gcd.h"
#include "gate/gate_selection.h"

namespace {

TEST(GateSelection, PathsBelowTheCurrentDirectoryOnly) {
  for (const char* ok : {"a.c", "./a.c", "src/x/a.c", "src/..x/a.c", "..a.c", "a..", ""})
    EXPECT_TRUE(StaysBelowCurrentDirectory(ok)) << ok;
  for (const char* out : {"../a.c", "..", "src/../../a.c", "src/../a.c", "src/..", "/abs/a.c", "/"})
    EXPECT_FALSE(StaysBelowCurrentDirectory(out)) << out;
}

// The first offending argument as written, for the -r directory (the last
// -r counts; spellings of the current directory pass) and for file names.
TEST(GateSelection, NamesTheArgumentThatLeavesTheDirectory) {
  const auto outside = [](std::vector<std::string> words, bool recursive) {
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    std::unique_ptr<GlobalData> gcd = NewGlobalData();
    gcd->sw.recursive = recursive ? 1 : 0;
    return OutsideSelection(static_cast<int>(argv.size()), argv.data(), *gcd);
  };
  EXPECT_EQ(outside({"lqa", "-Ggit:HEAD", "-rc,h ../elsewhere"}, true), "../elsewhere");
  EXPECT_EQ(outside({"lqa", "-Ggit:HEAD", "-r", "c /abs/dir"}, true), "/abs/dir");
  EXPECT_EQ(outside({"lqa", "-r", "c ../x", "-Ggit:HEAD", "-rc src"}, true), "");
  EXPECT_EQ(outside({"lqa", "-rc src", "-Ggit:HEAD", "-rc src/../.."}, true), "src/../..");
  for (const char* here : {"-rc .", "-rc /", "-rc *", "-rc", "-rc sub dir"})
    EXPECT_EQ(outside({"lqa", "-Ggit:HEAD", here}, true), "") << here;
  // File names are read only without -r; a switch's value is no file name.
  EXPECT_EQ(outside({"lqa", "-Ggit:HEAD", "-O", "../report.txt", "a.c", "../b.c", "/c.c"}, false), "../b.c");
  EXPECT_EQ(outside({"lqa", "-Ggit:HEAD", "-O", "/tmp/report.txt", "a.c", "sub/b.c"}, false), "");
  EXPECT_EQ(outside({"lqa", "-Ggit:HEAD", "-rc .", "../b.c"}, true), "");
}

}  // namespace
