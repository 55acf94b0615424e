// File acquisition against the library: filters, %VAR% expansion, directory
// reading and the order of the input list.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/gcd.h"
#include "common/output.h"
#include "fileset/fileset.h"
#include "test_support.h"
#include "capture_out.h"

namespace {

class FileSet : public ::testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  std::string root;  // dir.path() with a trailing '/'
  void SetUp() override {
    BuildLanguageTable(*gcd);
    root = dir.path() + "/";
  }
  // The input list after a build, names relative to the temp directory.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const FileData& f : gcd->lists.files) {
      std::string n = f.name;
      if (n.rfind(root, 0) == 0) n = n.substr(root.size());
      names.push_back(n);
    }
    return names;
  }
  std::string BuildRecursive(const std::string& exts, const std::string& start) {
    gcd->sw.recursive = 1;
    gcd->sw.recursiveExtensions = exts;
    gcd->sw.recursiveDir = start;
    return CaptureOut([&] { BuildFileList(0, nullptr, 0, *gcd); });
  }
  std::string BuildFromList(const std::string& content) {
    std::string listFile = dir.Write("files.lst", content);
    gcd->sw.fileList = 1;
    gcd->drv.fileListStream = std::fopen(listFile.c_str(), "rb");
    std::string out = CaptureOut([&] { BuildFileList(0, nullptr, 0, *gcd); });
    std::fclose(gcd->drv.fileListStream);
    gcd->drv.fileListStream = nullptr;
    return out;
  }
};

using List = std::vector<std::string>;

TEST_F(FileSet, PatternFilter) {
  gcd->cfg.patternFilter = "test,_GEN\r\n";
  EXPECT_EQ(FilenamePatternMatch("./test/a.c", *gcd), 0);  // filter not active
  gcd->cfg.patternFilterActive = 1;
  PrepareFileFilters(*gcd);
  EXPECT_EQ(FilenamePatternMatch("./test/a.c", *gcd), 1);
  EXPECT_EQ(FilenamePatternMatch("b_gen.c", *gcd), 1);
  EXPECT_EQ(FilenamePatternMatch("./Test/A.c", *gcd), 1);
  EXPECT_EQ(FilenamePatternMatch("src/main.c", *gcd), 0);
  gcd->cfg.caseSensitiveNames = 1;
  PrepareFileFilters(*gcd);
  EXPECT_EQ(FilenamePatternMatch("./Test/a.c", *gcd), 0);
  EXPECT_EQ(FilenamePatternMatch("b_GEN.c", *gcd), 1);
}

TEST_F(FileSet, EnvironmentExpansion) {
  setenv("LQA_T_SRC", "/proj/src", 1);
  setenv("LQA_T_PCT", "50%off", 1);
  unsetenv("LQA_T_NONE");
  auto expand = [&](std::string line, std::string* out = nullptr) {
    std::string text = CaptureOut([&] { ExpandEnvarString(line, *gcd); });
    if (out) *out = text;
    return line;
  };
  EXPECT_EQ(expand("%LQA_T_SRC%/x.c"), "/proj/src/x.c");
  EXPECT_EQ(expand("a%LQA_T_SRC%:%LQA_T_SRC%b"), "a/proj/src:/proj/srcb");
  EXPECT_EQ(expand("%LQA_T_PCT%%LQA_T_SRC%"), "50%off/proj/src");  // a value is not expanded again
  EXPECT_EQ(expand("100% sure"), "100% sure");
  EXPECT_EQ(expand("%%x.c"), "%%x.c");
  std::string msg;
  EXPECT_EQ(expand("%LQA_T_NONE%/x.c", &msg), "%LQA_T_NONE%/x.c");
  EXPECT_EQ(msg,
            "  Error: Expanding environment variable from -F file.\n"
            "         Environment Variable: LQA_T_NONE does not exist\n\n");
  setenv("LQA_T_HUGE", std::string(100000, 'v').c_str(), 1);
  EXPECT_EQ(expand("%LQA_T_HUGE%/%LQA_T_SRC%").size(), 2047u);

  gcd->sw.listFilesOnly = 1;
  expand("%LQA_T_SRC%/%LQA_T_SRC%.c", &msg);
  EXPECT_EQ(msg, "  -F Expanded Line: /proj/src/%LQA_T_SRC%.c\n\n"
                 "  -F Expanded File Line: /proj/src//proj/src.c\n\n");
}

TEST_F(FileSet, RecursiveDescent) {
  dir.Write("x.c", "");
  dir.Write("y.C", "");
  dir.Write("lib/deep/d.h", "");
  dir.Write("lib/l.cpp", "");
  dir.Write("lib/notes.txt", "");
  dir.Write(".hidden/h.c", "");
  gcd->sw.sortFilesByName = 1;
  EXPECT_EQ(BuildRecursive("C", dir.path()), "");
  EXPECT_EQ(Names(), (List{"y.C"}));  // the directory reader is case sensitive

  gcd = NewGlobalData();
  BuildLanguageTable(*gcd);
  gcd->sw.sortFilesByName = 1;
  BuildRecursive("*.c,*.h *.cpp", dir.path() + "/");
  EXPECT_EQ(Names(), (List{"lib/deep/d.h", ".hidden/h.c", "lib/l.cpp", "x.c"}));

  gcd = NewGlobalData();
  BuildLanguageTable(*gcd);
  gcd->sw.sortFilesByName = gcd->sw.dirNoRecurse = 1;
  BuildRecursive("", dir.path());  // empty list: every accepted extension, "C" not among them
  EXPECT_EQ(Names(), (List{"x.c"}));
}

TEST_F(FileSet, SkippedLocalDirsAndPatternFilter) {
  dir.Write("src/test/a.c", "");
  dir.Write("src/b_gen.c", "");
  dir.Write("src/keep.c", "");
  dir.Write("src/Build/o.c", "");
  gcd->cfg.patternFilterActive = 1;
  gcd->cfg.patternFilter = "/test/,_gen";  // the temporary directory's own name may hold "test"
  gcd->cfg.skipLocalDirs = 1;
  gcd->cfg.localDirsNotProcessed = "other, " + root + "src/build";
  BuildRecursive("c", root + "src");
  EXPECT_EQ(Names(), (List{"src/keep.c"}));
}

TEST_F(FileSet, ListFile) {
  dir.Write("x.c", "");
  dir.Write("lib/l.c", "");
  dir.Write("lib/l.h", "");
  dir.Write("lib/sub/s.c", "");
  dir.Write("two words/q.c", "");
  setenv("LQA_T_ROOT", dir.path().c_str(), 1);
  gcd->sw.sortFilesByName = 1;
  std::string out = BuildFromList(
      "# comment\n"
      "\n"
      "   \t# indented comment\r\n"
      "  %LQA_T_ROOT%/x.c  \r\n"
      "%LQA_T_ROOT%/x.txt\n"
      "-r c,h %LQA_T_ROOT%/lib/\n"
      "-d c %LQA_T_ROOT%/lib\n"
      "-r\"c %LQA_T_ROOT%/two words\"\n"
      "-x c\n" +
      std::string(5000, 'n') + ".c\n" +
      "%LQA_T_ROOT%/last.c");
  // The over-long line is cut at 2047 characters (losing its extension); its
  // remainder does not come back as a line of its own.
  EXPECT_EQ(Names(), (List{"lib/l.h", "last.c", "lib/l.c", "lib/l.c", "lib/sub/s.c", "two words/q.c", "x.c"}));
  EXPECT_EQ(out,
            "\n  Error: " + root + "x.txt - Not a valid file type for LQA\n"
            "         Valid types: c,h,cc,cpp,cxx,CC,h,hh,H,hxx,hpp,java,cs\n"
            "\n  Error: Malformed directory entry line in file.\n"
            "         Format: -r\"c,h,cpp d:\\proj\\src\"\n"
            "         Read  : -x c\n\n");
  // -d turned recursion off; the -r entry after it turned it on again.
  EXPECT_EQ(gcd->sw.dirNoRecurse, 0);
  EXPECT_EQ(gcd->lists.directories.count, 3);
}

}  // namespace
