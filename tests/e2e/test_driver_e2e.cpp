// The run driver end to end: the line loop, skip tokens, file-level notices
// and exit statuses of the real program on real files.
#include <filesystem>
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

class Driver : public ::testing::Test {
 protected:
  TempDir dir;
  TempDir home;
  RunResult Run(const std::vector<std::string>& args, const std::string& input = "") {
    return RunLqa(args, dir.path(), home.path(), input);
  }
  // Writes lqa.cfg lines into the home directory before a run.
  void Config(const std::string& lines) { home.Write("lqa.cfg", lines); }
};

TEST_F(Driver, CountsAPlainFile) {
  dir.Write("a.c", "/* header */\nint main(void)\n{\n  return 0; // done\n}\n\n");
  RunResult r = Run({"a.c"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("File: a.c"), std::string::npos) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  LOC 4        eLOC 2        lLOC 1        Comment 2        Lines        6"))
      << r.out;
}

TEST_F(Driver, EmptyFileAndLastLineWithoutLineFeed) {
  dir.Write("empty.c", "");
  dir.Write("nolf.c", "int x;\nint y;");
  RunResult r = Run({"empty.c", "nolf.c"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(HasLine(r.out, "  LOC 0        eLOC 0        lLOC 0        Comment 0        Lines        0"))
      << r.out;
  EXPECT_TRUE(HasLine(r.out, "  LOC 2        eLOC 2        lLOC 2        Comment 0        Lines        2"))
      << r.out;
}

TEST_F(Driver, OverlongLineIsReportedOnceAndItsTailAnalysed) {
  std::string line(2047, 'x');
  line += std::string(952, ' ') + ";";  // 3000 characters in all
  dir.Write("long.c", "int a;\n" + line + "\nint b;\n");
  RunResult r = Run({"long.c"});
  EXPECT_EQ(Count(r.out, "Error: Text line"), 1u);
  EXPECT_NE(r.out.find("\n  Error: Text line 2 length greater than 2048 characters\n"
                       "         Examine file for proper text file formatting.\n"),
            std::string::npos);
  // The last 953 characters are line 2: a statement of its own.
  EXPECT_TRUE(HasLine(r.out, "  LOC 3        eLOC 3        lLOC 3        Comment 0        Lines        3"))
      << r.out;
}

TEST_F(Driver, ByteOrderMarkIsRemoved) {
  dir.Write("bom.c", "\xEF\xBB\xBF#include <x.h>\n");
  RunResult r = Run({"bom.c"});
  EXPECT_TRUE(HasLine(r.out, "  LOC 1        eLOC 1        lLOC 0        Comment 0        Lines        1"))
      << r.out;
}

TEST_F(Driver, SkipTokensAndTheirNotices) {
  Config("Activate LQA code skip tokens : Yes\nQuality Notice 57 : Yes\nQuality Notice 58 : Yes\n");
  dir.Write("s.c",
            "int a;\n"
            "/* LQA_IGNORE_BEGIN */\n"
            "int skipped1;\n"
            "int skipped2;\n"
            "/* LQA_IGNORE_END */\n"
            "/* LQA_IGNORE_QUALITY_BEGIN */\n"
            "int b;\n"
            "/* LQA_IGNORE_QUALITY_END */\n");
  RunResult r = Run({"-n", "s.c"});
  EXPECT_NE(r.out.find("\n    Notice #57: Line 2, A LQA skip lines token match.\n"
                       "           All lines between the begin and end tokens will be ignored\n"
                       "           for LQA processing.\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\n    Notice #58: Line 6, A LQA skip quality notice token match.\n"), std::string::npos);
  EXPECT_NE(r.out.find("  Total physical lines skipped from skip token match: 4\n"), std::string::npos) << r.out;
  // a and b are code; the quality skip lines are comments.
  EXPECT_NE(r.out.find("  LOC 2 "), std::string::npos) << r.out;
}

TEST_F(Driver, SkipStartWinsOverQualityStartOnOneLine) {
  Config("Activate LQA code skip tokens : Yes\n");
  dir.Write("s.c", "// LQA_IGNORE_BEGIN LQA_IGNORE_QUALITY_BEGIN\nint x;\n// LQA_IGNORE_END\nint y;\n");
  RunResult r = Run({"s.c"});
  EXPECT_TRUE(HasLine(r.out, "  LOC 1        eLOC 1        lLOC 1        Comment 0        Lines        4"))
      << r.out;
}

TEST_F(Driver, FileNoticesAndExitStatusCountThem) {
  // No blank line, no comment, no white space: notices 47, 20 and 19 fire.
  dir.Write("dense.c", "x=y;\ny=x;\n");
  RunResult r = Run({"-n", "dense.c"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("\n    Notice #20: File comment line percentage, 0.0% is less than 10.0%\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\n    Notice #19: File white space percentage, 0.0% is less than 10.0%\n"),
            std::string::npos);
  EXPECT_EQ(r.out.find("Notice #47"), std::string::npos);  // notice 47 is off by default
  // Without -n the notices are not counted into the status.
  EXPECT_EQ(Run({"dense.c"}).status, 0);
}

TEST_F(Driver, KeyStringNotice) {
  Config("LQA KEY String : Copyright\nQuality Notice 21 : Yes\n");
  dir.Write("has.c", "/* Copyright */\nint x;\n");
  dir.Write("lacks.c", "int x;\n");
  RunResult r = Run({"-n", "has.c", "lacks.c"});
  EXPECT_EQ(Count(r.out, "Notice #21"), 1u);
  EXPECT_NE(r.out.find("\n    Notice #21: File does not contain the key string specified in the\n"
                       "            lqa.cfg file.\n"
                       "            Key String: Copyright\n\n"),
            std::string::npos)
      << r.out;
}

TEST_F(Driver, UnopenableFilesAreSkipped) {
  dir.Write("ok.c", "int x;\n");
  std::filesystem::create_directory(dir.path() + "/adir.c");
  RunResult r = Run({"missing.c", "adir.c", "ok.c"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\n  Error: Problem opening input file:\n         adir.c\n         For read, Is a directory\n\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("File: ok.c"), std::string::npos);
}

TEST_F(Driver, BracesLeftOpenAreNoticed) {
  dir.Write("open.c", "void f() {\n  if (x) {\n}\n");
  RunResult r = Run({"open.c"});
  EXPECT_NE(r.out.find("\n    NOTICE: The end of the source file has been reached where the\n"
                       "            open brace count { 2 != 1 } close brace count \n"),
            std::string::npos)
      << r.out;
}

}  // namespace
