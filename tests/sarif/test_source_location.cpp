// Naming source files in the documents: percent-encoding of hostile names,
// paths relative to the resolved current directory, symbolic links, files
// outside it and files that are gone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "sarif/source_location.h"
#include "test_support.h"

namespace {

TEST(SourceLocation, PercentEncodesEverythingOutsideThePathCharacters) {
  EXPECT_EQ(PercentEncodePath("a b#c%d?e\"f\\g", true), "a%20b%23c%25d%3Fe%22f%5Cg");
  EXPECT_EQ(PercentEncodePath("x\ny\x01\x7f", true), "x%0Ay%01%7F");
  EXPECT_EQ(PercentEncodePath("caf\xc3\xa9/\xff.c", true), "caf%C3%A9/%FF.c");
  EXPECT_EQ(PercentEncodePath("A-z_0.9~!$&'()*+,;=@/f.c", true), "A-z_0.9~!$&'()*+,;=@/f.c");
  EXPECT_EQ(PercentEncodePath("[x]<y>{z}|`^", true), "%5Bx%5D%3Cy%3E%7Bz%7D%7C%60%5E");
  // A colon before the first slash of a relative reference would read as a
  // scheme; later, and in absolute paths, it stays.
  EXPECT_EQ(PercentEncodePath("c:x/d:y.c", true), "c%3Ax/d:y.c");
  EXPECT_EQ(PercentEncodePath("/c:x/d:y.c", false), "/c:x/d:y.c");
  EXPECT_EQ(FileUri("/tmp/a b"), "file:///tmp/a%20b");
}

TEST(SourceLocation, LexicallyNormalRemovesDotSteps) {
  EXPECT_EQ(LexicallyNormal("/a/./b//c/../d"), "/a/b/d");
  EXPECT_EQ(LexicallyNormal("/../.."), "/");
  EXPECT_EQ(LexicallyNormal("/a/b/.."), "/a");
}

class Located : public ::testing::Test {
 protected:
  TempDir dir;
  std::string base;
  void SetUp() override {
    char resolved[4096];
    ASSERT_NE(realpath(dir.path().c_str(), resolved), nullptr);
    base = resolved;
    std::filesystem::create_directories(base + "/src/sub");
    std::filesystem::create_directories(base + "/other");
    dir.Write("src/sub/a b.c", "int a;\n");
    dir.Write("other/o.c", "int o;\n");
  }
};

TEST_F(Located, InsideTheBaseTheResolvedPathIsRelative) {
  const SourceLocation plain = LocateSource(base + "/src/sub/a b.c", base + "/src");
  EXPECT_TRUE(plain.inBase);
  EXPECT_EQ(plain.path, "sub/a b.c");
  EXPECT_EQ(plain.uri, "sub/a%20b.c");
  // "." and ".." steps go; a file reached through a link is named by its target.
  std::filesystem::create_symlink(base + "/src/sub", base + "/src/link");
  const SourceLocation viaLink = LocateSource(base + "/src/./link/../link/a b.c", base + "/src");
  EXPECT_EQ(viaLink.path, "sub/a b.c");
  EXPECT_EQ(viaLink.uri, "sub/a%20b.c");
}

TEST_F(Located, OutsideTheBaseAnAbsoluteFileUri) {
  const SourceLocation outside = LocateSource(base + "/other/o.c", base + "/src");
  EXPECT_FALSE(outside.inBase);
  EXPECT_EQ(outside.path, base + "/other/o.c");
  EXPECT_EQ(outside.uri, "file://" + PercentEncodePath(base, false) + "/other/o.c");
  // A sibling whose name starts like the base is outside too.
  dir.Write("src2/x.c", "");
  EXPECT_FALSE(LocateSource(base + "/src2/x.c", base + "/src").inBase);
  // A file gone since it was read is placed by its name.
  const SourceLocation gone = LocateSource("sub/../gone.c", base + "/src");
  EXPECT_TRUE(gone.inBase);
  EXPECT_EQ(gone.path, "gone.c");
  // Under the root directory every file is relative to it.
  EXPECT_EQ(LocateSource(base + "/other/o.c", "/").path, (base + "/other/o.c").substr(1));
}

}  // namespace
