// Runs whose result for one file depends on the files before it: a macro
// defined in one file and used in the next, a notice flag set in one file and
// checked in a later one, a class whose members are spread over files,
// namespaces spread over files, two paths that give one line data file name,
// and files that cannot be read or hold a 50 MB line among ordinary ones.
// Each test checks the serial report; under LQA_TEST_PARALLEL_CHECK the same
// runs must give the same bytes with workers finishing in another order.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// The part of a report from "File: name" to "End of File: name".
std::string FileSection(const std::string& out, const std::string& name) {
  const size_t begin = out.find("\n  File: " + name + "\n");
  const size_t end = out.find("\n  End of File: " + name + "\n", begin == std::string::npos ? 0 : begin);
  if (begin == std::string::npos || end == std::string::npos) return "";
  return out.substr(begin, end - begin);
}

class CrossFile : public ::testing::Test {
 protected:
  TempDir dir, home;
  // Copies one fixture folder of tests/e2e/data/parallel into the run directory.
  void Fixture(const std::string& name) {
    fs::copy(LQA_SOURCE_DIR "/tests/e2e/data/parallel/" + name, dir.path(), fs::copy_options::recursive);
  }
  RunResult Run(const std::vector<std::string>& args) { return RunLqa(args, dir.path(), home.path()); }

  // A baseline base.dat with line data of the files, shown with -wv; the
  // data files are kept by name.
  RunResult Baseline(const std::vector<std::string>& files, const RunLimits& limits = {}) {
    std::vector<std::string> args = {"-wFile dat base.dat", "-wcreate .", "-wd", "-wv"};
    args.insert(args.end(), files.begin(), files.end());
    const RunResult r = RunLqaLimited(args, dir.path(), home.path(), limits);
    std::error_code ec;
    data.clear();
    for (const auto& entry : fs::directory_iterator(dir.path() + "/base.dat.dif", ec))
      data[entry.path().filename().string()] = entry.file_size();
    return r;
  }
  std::map<std::string, std::uintmax_t> data;
};

TEST_F(CrossFile, MacroDefinedInOneFileHidesAFunctionHeadInTheNext) {
  Fixture("macro");
  const RunResult r = Run({"-fa", "m1.c", "m2.c"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string second = FileSection(r.out, "m2.c");
  EXPECT_NE(second.find("\n  Function: helper\n"), std::string::npos) << r.out;
  // HANDLER(on_open) is known as a macro from m1.c: no function head.
  EXPECT_EQ(second.find("Function: HANDLER"), std::string::npos) << second;
  EXPECT_NE(second.find("  File Function Count....:          1\n"), std::string::npos) << second;

  // Read first, m2.c does not know the macro yet.
  const RunResult reversed = Run({"-fa", "m2.c", "m1.c"});
  ASSERT_EQ(reversed.status, 0);
  EXPECT_NE(FileSection(reversed.out, "m2.c").find("\n  Function: HANDLER\n  Parameters: (on_open)\n"),
            std::string::npos)
      << reversed.out;
}

TEST_F(CrossFile, NoticeFlagSetInOneFileIsCheckedInALaterOne) {
  Fixture("flags");
  const auto def = [](int id, const std::string& fields) {
    return "UDQN Begin:\nudqn id: " + std::to_string(id) + "\nactive: yes\nsources: c\nsummary: s" +
           std::to_string(id) + "\nmessage: m" + std::to_string(id) + " _LINE#_\n" + fields + "UDQN End:\n";
  };
  const std::string rules = home.Write(
      "rules.cfg", def(300, "context: Comment\npattern: LICENSED\nset flags: 7\nsilent flag: yes\n") +
                       def(301, "context: Code\npattern: malloc\ncheck flags: 7\n"));
  std::string cfg = "LQA user defined quality notice file : " + rules + "\n";
  for (int n = 1; n <= 58; ++n) cfg += "Quality Notice " + std::to_string(n) + " : No\n";
  home.Write("lqa.cfg", cfg);

  const RunResult r = Run({"-n", "f1.c", "f2.c", "f3.c"});
  EXPECT_EQ(r.status, 1) << r.out;  // only f3.c's allocation, after the marker in f2.c
  EXPECT_EQ(Count(r.out, "Notice #301"), 1u) << r.out;
  EXPECT_EQ(FileSection(r.out, "f1.c").find("Notice #301"), std::string::npos);
  EXPECT_NE(FileSection(r.out, "f3.c").find("\n    Notice #301: m301 4\n"), std::string::npos) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  301       1  100.00  s301")) << r.out;
}

TEST_F(CrossFile, ClassMembersDefinedInSeveralFilesRollUpIntoOneClass) {
  Fixture("members");
  // c.cpp defines a member of the class that d.h declares after it.
  const RunResult r = Run({"-o", "a.h", "a.cpp", "b.cpp", "c.cpp", "d.h"});
  ASSERT_EQ(r.status, 0) << r.out;
  const size_t project = r.out.find("~~ Project Class/Struct Metrics ~~");
  ASSERT_NE(project, std::string::npos) << r.out;
  const size_t shape = r.out.find("\n  Class: Shape\n", project);
  const size_t later = r.out.find("\n  Class: Later\n", project);
  ASSERT_NE(shape, std::string::npos) << r.out;
  ASSERT_NE(later, std::string::npos) << r.out;
  EXPECT_EQ(Count(r.out.substr(project), "\n  Class: Shape\n"), 1u);
  EXPECT_NE(r.out.find("  Methods      Publ 2        Prot 0        Private 0        Total        2\n", shape),
            std::string::npos);
  EXPECT_LT(r.out.find("Methods      Publ 2", shape), later);
  // The class body in a.h (7 lines) and the member bodies in a.cpp and b.cpp.
  EXPECT_NE(r.out.find("\n  LOC 15       eLOC 10       lLOC 6        Comment 1        Lines       15\n", shape),
            std::string::npos);
  EXPECT_LT(r.out.find("\n  LOC 15 ", shape), later);
  // c.cpp's member is credited to the class d.h declares after it.
  EXPECT_NE(r.out.find("\n  LOC 11       eLOC 8        lLOC 5        Comment 1        Lines       11\n", later),
            std::string::npos);
  EXPECT_NE(r.out.find("  Methods      Publ 1        Prot 0        Private 0        Total        1\n", later),
            std::string::npos)
      << r.out.substr(later);
  EXPECT_NE(r.out.find("  Total Classes/Structs .:          2  Total Nested Classes ..:          0\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("  Total Physical Lines ..:         26  Total Methods .........:          3\n"),
            std::string::npos);
}

TEST_F(CrossFile, NestedNamespacesSpreadOverFilesAreListedOnce) {
  Fixture("namespaces");
  const RunResult r = Run({"-o", "-fa", "n1.cpp", "n2.cpp", "n3.cpp"});
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(FileSection(r.out, "n1.cpp").find("\n  Nested Namespace Begin: outer::inner\n"), std::string::npos);
  EXPECT_NE(FileSection(r.out, "n3.cpp").find("\n  Namespace Begin: outer::inner\n"), std::string::npos);
  EXPECT_EQ(Count(r.out, "\n  Namespace/Package: outer\n"), 1u) << r.out;
  EXPECT_EQ(Count(r.out, "\n  Namespace/Package: outer::inner\n"), 1u);
  EXPECT_NE(r.out.find("  Total Namespace/Package:          2"), std::string::npos);
}

TEST_F(CrossFile, TwoPathsWithOneDataFileNameGetTwoDataFiles) {
  Fixture("datanames");
  const RunResult r = Baseline({"a/b.c", "a_b.c"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string work = dir.Read("base.dat");
  EXPECT_NE(work.find(" base.dat.dif/a_b_c.dif\na_b.c| "), std::string::npos) << work;
  EXPECT_NE(work.find(" base.dat.dif/a_b_c_2.dif\n"), std::string::npos) << work;
  EXPECT_NE(r.out.find("\n  Code Differential Mode\n  base.dat.dif/a_b_c.dif\n  base.dat.dif/a_b_c_2.dif\n"),
            std::string::npos);
  // One record per line that is not blank: four in a/b.c, eight in a_b.c.
  const std::map<std::string, std::uintmax_t> expected = {{"a_b_c.dif", 4 * 13}, {"a_b_c_2.dif", 8 * 13}};
  EXPECT_EQ(data, expected);
}

// A file that cannot be read takes no data file name, so a later file of
// the same name gets the plain one, and the mode line of -wv waits for the
// first data file written.
TEST_F(CrossFile, UnreadableFilesInABaselineTakeNoDataFileName) {
  Fixture("datanames");
  dir.Write("lock.c", "int locked;\n");
  dir.Write("three.c", "int three;\n");
  dir.Write("a b.c", "int two;\n");
  chmod((dir.path() + "/lock.c").c_str(), 0);
  chmod((dir.path() + "/a/b.c").c_str(), 0);
  RunLimits limits;
  if (geteuid() == 0) {
    limits.runAsUid = 65534;
    chmod(dir.path().c_str(), 0777);
    chmod(home.path().c_str(), 0777);
  }
  const RunResult r = Baseline({"lock.c", "three.c", "a/b.c", "a_b.c", "a b.c"}, limits);
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const size_t lock = r.out.find("         lock.c\n         For read, Permission denied\n");
  const size_t mode = r.out.find("\n  Code Differential Mode\n  base.dat.dif/three_c.dif\n");
  const size_t ab = r.out.find("         a/b.c\n         For read, Permission denied\n");
  EXPECT_LT(lock, mode);
  EXPECT_LT(mode, ab);
  EXPECT_NE(ab, std::string::npos) << r.out;
  EXPECT_LT(ab, r.out.find("  base.dat.dif/a_b_c.dif\n  base.dat.dif/a_b_c_2.dif\n"));
  const std::string work = dir.Read("base.dat");
  EXPECT_NE(work.find(" base.dat.dif/three_c.dif\na_b.c| "), std::string::npos) << work;
  EXPECT_NE(work.find(" base.dat.dif/a_b_c.dif\na b.c| "), std::string::npos) << work;
  EXPECT_EQ(data.size(), 3u);
}

// Under the reverse schedule m2.c is analysed again on the main thread (it
// uses a macro m1.c defines); its data file is written once, in its place.
TEST_F(CrossFile, FileAnalysedAgainInABaselineWritesItsDataFileOnce) {
  Fixture("macro");
  const RunResult r = Baseline({"-fa", "m1.c", "m2.c"});
  ASSERT_EQ(r.status, 0) << r.out;
  // One function (HANDLER(on_open) is the macro's use), and one record for
  // each of twelve lines that are not blank.
  EXPECT_NE(dir.Read("base.dat").find(" 173 11 7 1 1 13 3 2 4 3 1 base.dat.dif/m2_c.dif\n"), std::string::npos);
  EXPECT_EQ(data["m2_c.dif"], 12u * 13);
}

TEST_F(CrossFile, UnreadableFileInTheMiddleIsReportedOnceInItsPlace) {
  dir.Write("one.c", "int one(void)\n{\n  return 1;\n}\n");
  dir.Write("two.c", "int two;\n");
  dir.Write("three.c", "int three(int a)\n{\n  return a;\n}\n");
  chmod((dir.path() + "/two.c").c_str(), 0);
  RunLimits limits;
  // Root reads anything: drop to an ordinary user so that the mode applies.
  if (geteuid() == 0) {
    limits.runAsUid = 65534;
    chmod(dir.path().c_str(), 0755);
    chmod(home.path().c_str(), 0777);
  }
  const RunResult r = RunLqaLimited({"-fa", "one.c", "two.c", "three.c"}, dir.path(), home.path(), limits);
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const std::string error = "\n  Error: Problem opening input file:\n         two.c\n         For read, Permission denied\n";
  EXPECT_EQ(Count(r.out, error), 1u) << r.out;
  const size_t one = r.out.find("End of File: one.c");
  const size_t three = r.out.find("\n  File: three.c\n");
  EXPECT_LT(one, r.out.find(error));
  EXPECT_LT(r.out.find(error), three);
  EXPECT_NE(r.out.find("~~ Project Analysis For 2 Files ~~"), std::string::npos) << r.out;
}

TEST_F(CrossFile, FiftyMegabyteLineAmongSmallFiles) {
  dir.Write("small1.c", "int a(void)\n{\n  return 1;\n}\n");
  std::string line(50u << 20, 'y');
  dir.Write("huge.c", line + ";\nint z;\n");
  line.clear();
  line.shrink_to_fit();
  dir.Write("small2.c", "int b(int x)\n{\n  if (x)\n    return 2;\n  return 3;\n}\n");
  const RunResult r = Run({"-fa", "small1.c", "huge.c", "small2.c"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Count(r.out, "Error: Text line"), 1u);
  const std::string huge = FileSection(r.out, "huge.c");
  EXPECT_NE(huge.find("\n  Error: Text line 1 length greater than 2048 characters\n"), std::string::npos)
      << r.out.substr(0, 4000);
  EXPECT_NE(FileSection(r.out, "small1.c").find("\n  Function: a\n"), std::string::npos);
  EXPECT_NE(FileSection(r.out, "small2.c").find("\n  Function: b\n"), std::string::npos);
  EXPECT_LT(r.out.find("\n  File: small1.c\n"), r.out.find("\n  File: huge.c\n"));
  EXPECT_LT(r.out.find("\n  File: huge.c\n"), r.out.find("\n  File: small2.c\n"));
  EXPECT_NE(r.out.find("~~ Project Analysis For 3 Files ~~"), std::string::npos);
}

}  // namespace

// The notices judged after the last file take nothing from that file's end:
// here it stops inside an open class, on the line the depth notice names.
TEST_F(CrossFile, NoticesAfterTheLastFileOweNothingToItsState) {
  dir.Write("a.cpp", "class A { };\nclass B : public A { };\nclass C : public B { };\n");
  dir.Write("z.cpp", "class Open {\n  int x;\n  int y;\n");
  std::string cfg = "Maximum depth of inheritance tree : 1\n";
  for (int n = 1; n <= 58; ++n) cfg += "Quality Notice " + std::to_string(n) + (n == 40 ? " : Yes\n" : " : No\n");
  home.Write("lqa.cfg", cfg);
  const RunResult serial = Run({"-j1", "-xSARIF", "-i", "a.cpp", "z.cpp"});
  const RunResult workers = Run({"-j2", "-xSARIF", "-i", "a.cpp", "z.cpp"});
  EXPECT_EQ(serial.out, workers.out);
  EXPECT_EQ(serial.status, workers.status);
  // The result judges C in a.cpp, not the class left open in z.cpp.
  EXPECT_NE(serial.out.find("\"ruleId\":\"LQA040\""), std::string::npos) << serial.out;
  EXPECT_EQ(serial.out.find("Open"), std::string::npos) << serial.out;
}
