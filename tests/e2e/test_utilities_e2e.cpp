// The source utilities end to end: files rewritten by -D (checked byte for
// byte, and left intact on every failure), the extraction report, the code
// listing and the benchmark section.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class Utilities : public ::testing::Test {
 protected:
  TempDir dir;
  TempDir home;
  RunLimits limits;
  RunResult Run(const std::vector<std::string>& args) { return RunLqaLimited(args, dir.path(), home.path(), limits); }
  std::string Path(const std::string& name) const { return dir.path() + "/" + name; }
  // Runs as an ordinary user when the tests run as root, so that file
  // permissions apply.
  void AsOrdinaryUser() {
    if (geteuid() != 0) return;
    limits.runAsUid = 65534;
    chmod(dir.path().c_str(), 0777);
    chmod(home.path().c_str(), 0777);
  }
  // The names in the directory: a leftover temporary file shows here.
  std::string Names() const {
    std::string names;
    for (const auto& e : fs::directory_iterator(dir.path())) names += e.path().filename().string() + " ";
    return names;
  }
};

const std::string kMixed = "int\ta;\r\nchar *s = \"x\ty\\\"\t\";\tz\n\tlast";

TEST_F(Utilities, RewritesByteForByte) {
  dir.Write("a.c", kMixed);
  RunResult r = Run({"-Du", "-Dt", "a.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(dir.Read("a.c"), "int  a;\nchar *s = \"x\ty\\\"\t\";  z\n  last");
  EXPECT_NE(r.out.find("  ________________________________________________________________________\n\n"
                       "  Removing Tabs '\\t' from file\n  Removing Carriage Returns '\\r' from file\n"
                       "  Complete - Lines = 3, Tabs Replaced = 3\n"),
            std::string::npos)
      << r.out;
  // Nothing of a measuring run follows: no benchmark, no project report, no closing rule.
  r = Run({"-Dd", "-b", "a.c"});
  EXPECT_EQ(dir.Read("a.c"), "int  a;\r\nchar *s = \"x\ty\\\"\t\";  z\r\n  last");
  EXPECT_TRUE(EndsWith(r.out, "\n  Complete - Lines = 3\n")) << r.out;
  EXPECT_EQ(r.out.find("Benchmark"), std::string::npos);
  r = Run({"-Dd", "a.c"});
  EXPECT_EQ(dir.Read("a.c"), "int  a;\r\nchar *s = \"x\ty\\\"\t\";  z\r\n  last");
  EXPECT_EQ(Names(), "a.c ");
}

TEST_F(Utilities, UnchangedAndConflictingFilesAreLeftAlone) {
  dir.Write("unix.c", "int a;\nint b;\n");
  dir.Write("empty.c", "");
  struct utimbuf old {1000000000, 1000000000};
  utime(Path("unix.c").c_str(), &old);
  RunResult r = Run({"-Du", "unix.c", "empty.c"});
  EXPECT_EQ(dir.Read("unix.c"), "int a;\nint b;\n");
  EXPECT_EQ(dir.Read("empty.c"), "");
  struct stat st {};
  stat(Path("unix.c").c_str(), &st);
  EXPECT_EQ(st.st_mtime, 1000000000);
  EXPECT_NE(r.out.find("Complete - Lines = 2\n"), std::string::npos);
  EXPECT_NE(r.out.find("Complete - Lines = 0\n"), std::string::npos);

  dir.Write("dos.c", "a\r\n");
  r = Run({"-Du", "-Dd", "dos.c", "unix.c"});
  EXPECT_EQ(Count(r.out, "\n  Error: Cannot De-Dos and Make Dos at the same time\n"), 2u) << r.out;
  EXPECT_EQ(r.out.find("Removing"), std::string::npos);
  EXPECT_EQ(dir.Read("dos.c"), "a\r\n");
  EXPECT_EQ(Names().find(".tmp"), std::string::npos) << Names();
}

TEST_F(Utilities, PermissionsLinksAndForeignTemporaryFilesAreKept) {
  dir.Write("real/t.c", "\tx;\n");
  chmod(Path("real/t.c").c_str(), 0640);
  fs::create_symlink("real/t.c", Path("link.c"));
  dir.Write("real/t.c.tmp", "someone else's file");
  RunResult r = Run({"-Dt", "link.c"});
  EXPECT_NE(r.out.find("Complete - Lines = 1, Tabs Replaced = 1"), std::string::npos) << r.out;
  EXPECT_TRUE(fs::is_symlink(Path("link.c")));
  EXPECT_EQ(dir.Read("real/t.c"), "  x;\n");
  EXPECT_EQ(fs::status(Path("real/t.c")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(dir.Read("real/t.c.tmp"), "someone else's file");
  EXPECT_EQ(std::distance(fs::directory_iterator(Path("real")), fs::directory_iterator()), 2);
}

TEST_F(Utilities, FailuresLeaveTheOriginalIntact) {
  AsOrdinaryUser();
  dir.Write("ro.c", "\tread only\n");
  chmod(Path("ro.c").c_str(), 0444);
  dir.Write("sub/w.c", "\twritable\n");
  chmod(Path("sub/w.c").c_str(), 0666);
  chmod(Path("sub").c_str(), 0555);
  RunResult r = Run({"-Dt", "ro.c", "sub/w.c", "gone.c"});
  chmod(Path("sub").c_str(), 0755);
  EXPECT_NE(r.out.find("\n  Error: Problem opening input file:\n         ro.c\n"
                       "         For modification, Permission denied\n\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\n  Error: Cannot create a temporary file for: sub/w.c\n         Permission denied\n"
                       "         The file is left unchanged.\n\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.status, 1);  // no file was rewritten
  EXPECT_NE(r.out.find("         gone.c\n         For modification, No such file or directory\n"),
            std::string::npos);
  EXPECT_EQ(dir.Read("ro.c"), "\tread only\n");
  EXPECT_EQ(dir.Read("sub/w.c"), "\twritable\n");
}

TEST_F(Utilities, AFullDiskLeavesTheOriginalIntact) {
  const std::string tabs(300000, '\t');
  dir.Write("big.c", tabs);
  limits.fileSizeBytes = 400000;  // the rewrite needs 600000 bytes
  RunResult r = Run({"-Dt", "big.c"});
  EXPECT_NE(r.out.find("\n  Error: Cannot write the file: big.c\n         File too large\n"
                       "         The file is left unchanged.\n\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(dir.Read("big.c"), tabs);
  EXPECT_EQ(Names(), "big.c ");
}

TEST_F(Utilities, AFileLockedByAnotherProcessIsLeftAlone) {
  const std::string path = dir.Write("locked.c", "\tx\n");
  int fd = open(path.c_str(), O_RDWR);
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  ASSERT_EQ(fcntl(fd, F_SETLK, &lock), 0);
  RunResult r = Run({"-Dt", "locked.c"});
  close(fd);
  EXPECT_NE(r.out.find("         locked.c\n         For modification, File is locked by another process\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(dir.Read("locked.c"), "\tx\n");
}

TEST_F(Utilities, ExtractionReport) {
  dir.Write("a.c", "/* Heading. */\nputs(\"Hello, world!\\n\");\n");
  RunResult r = Run({"-Es", "-b", "a.c"});
  EXPECT_NE(r.out.find("~~ Literal String Extraction Mode ~~\n"), std::string::npos);
  EXPECT_NE(r.out.find("  ________________________________________________________________________\n\n"
                       "       2: Hello, world\n"
                       "  ________________________________________________________________________\n"
                       "  End of File: a.c\n\n"),
            std::string::npos)
      << r.out;
  // The benchmark and the closing rule stay; the project report goes.
  EXPECT_NE(r.out.find("~~ Performance Benchmark ~~"), std::string::npos);
  EXPECT_EQ(r.out.find("Project Analysis"), std::string::npos);
  EXPECT_TRUE(EndsWith(r.out, "/s\n\n  " + std::string(72, '_') + "\n\n")) << r.out;
  r = Run({"-Ec", "a.c"});
  EXPECT_TRUE(HasLine(r.out, "       1: Heading")) << r.out;
  EXPECT_EQ(r.out.find("Hello"), std::string::npos);
}

TEST_F(Utilities, CodeListing) {
  home.Write("lqa.cfg", "Page breaks in code print format : Yes\n");
  dir.Write("a.c", "int a;\n\tb\n");
  struct utimbuf when {1234567890, 1234567890};
  utime(Path("a.c").c_str(), &when);
  const time_t t = 1234567890;
  RunResult r = Run({"-p", "-b", "-L30", "-M2", "-B1", "-P10", "-SListing", "a.c"});
  ASSERT_EQ(r.status, 0);
  const std::string rule = "  " + std::string(30, '_') + "\n";
  EXPECT_EQ(r.out, "\n" + std::string(14, ' ') + "Listing\n  File: a.c              Page: 1\n  Date: " +
                       std::string(ctime(&t)) + rule + "\n" + "      1| int a;\n      2| \tb\n\n" + rule + "\n");

  r = Run({"-p", "-H", "-SListing", "a.c"});
  EXPECT_EQ(r.out.rfind("<html>\n<head>\n<title>Line Quality Analyzer 7.75</title>\n"
                        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\n</head>\n<body>\n<pre><P>\n",
                        0),
            0u)
      << r.out;
  EXPECT_EQ(r.out.find("Page:"), std::string::npos);
  EXPECT_TRUE(EndsWith(r.out, "</pre></body></html>"));

  r = Run({"-p", "-H", "-L20", "-SA title longer than twenty", "a.c"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\n  Error: The Specified header length (26) exceeds\n"
                       "         the available line length (20). \n         Header: A title longer than twenty\n"
                       "</pre></body></html>"),
            std::string::npos)
      << r.out;
}

TEST_F(Utilities, BenchmarkOfAFileListing) {
  dir.Write("a.c", "int a;\n");
  RunResult r = Run({"-Rl", "-b", "a.c"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("                 :   0:00:00:00 Day:Hr:Min:Sec\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("Physical Lines Processed"), std::string::npos);
}

}  // namespace
