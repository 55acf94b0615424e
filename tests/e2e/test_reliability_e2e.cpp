// Reliability end to end: nothing the run produces is left half-written or
// replaces a good file after a failure, no input that is not a regular file
// stalls or floods the run, damaged input costs only the item it damages,
// documents stay well-formed, and failures never exit 0. Every run is
// bounded in CPU time, wall-clock time and memory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kNotRegular = "Not a regular file";

class Reliability : public ::testing::Test {
 protected:
  TempDir dir;
  TempDir home;
  RunLimits limits;
  void SetUp() override {
    // A run that blocks is ended by the alarm and shows as status -1.
    limits.cpuSeconds = 20;
    limits.wallSeconds = 30;
  }
  RunResult Run(const std::vector<std::string>& args) { return RunLqaLimited(args, dir.path(), home.path(), limits); }
  std::string Path(const std::string& relative) const { return dir.path() + "/" + relative; }
  void Fifo(const std::string& relative) const { ASSERT_EQ(mkfifo(Path(relative).c_str(), 0600), 0); }
  void ZeroLink(const std::string& relative) const {
    ASSERT_EQ(symlink("/dev/zero", Path(relative).c_str()), 0);
  }
  // The entries of a directory, sorted, joined by blanks.
  std::string Names(const std::string& relative = "") const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(relative.empty() ? dir.path() : Path(relative)))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string all;
    for (const auto& n : names) all += n + " ";
    return all;
  }
};

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

std::string OpenError(const std::string& name, const char* why) {
  return "\n  Error: Problem opening input file:\n         " + name + "\n         For read, " + why + "\n\n";
}

// xmllint's verdict on a document: empty when well-formed.
std::string XmlProblems(const TempDir& scratch, const std::string& document) {
  if (std::system("xmllint --version > /dev/null 2>&1") != 0) return "";
  const std::string path = scratch.Write("document.xml", document);
  std::string out;
  if (FILE* p = popen(("xmllint --noout '" + path + "' 2>&1").c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    if (pclose(p) != 0 && out.empty()) out = "xmllint failed";
  }
  return out.substr(0, 2000);
}

std::string Record(std::int32_t line, char type, double signature) {
  char rec[13];
  std::memcpy(rec, &line, 4);
  rec[4] = type;
  std::memcpy(rec + 5, &signature, 8);
  return std::string(rec, 13);
}

const std::string kWorkHead =
    "Line Quality Analyzer Work File\nDO NOT EDIT - This is a Generated File\n7.75\n";

// ---------------------------------------------------------------------------
// Inputs that are not regular files

TEST_F(Reliability, SourcesThatAreNoRegularFilesAreNamedAndSkipped) {
  dir.Write("ok.c", "int a;\n");
  Fifo("pipe.c");
  ZeroLink("zero.c");
  dir.Write("tree/b.c", "int b;\n");
  Fifo("tree/p.c");
  RunResult r = Run({"pipe.c", "zero.c", "ok.c"});
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(Has(r.out, OpenError("pipe.c", kNotRegular))) << r.out;
  EXPECT_TRUE(Has(r.out, OpenError("zero.c", kNotRegular)));
  EXPECT_TRUE(Has(r.out, "File: ok.c"));
  r = Run({"-rc tree", "-Rn"});
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(Has(r.out, OpenError("tree/p.c", kNotRegular))) << r.out;
  EXPECT_TRUE(Has(r.out, "tree/b.c"));
}

TEST_F(Reliability, ListAndConfigurationFilesThatAreNoRegularFiles) {
  dir.Write("ok.c", "int a;\n");
  Fifo("list.txt");
  RunResult r = Run({"-Flist.txt"});
  EXPECT_EQ(r.status, 255);  // the -F list cannot be read
  EXPECT_TRUE(
      Has(r.out, "\n  Error: Cannot open the specified file: list.txt\n         for read, Not a regular file\n"))
      << r.out;

  // lqa.cfg, the macro file and the report configuration as FIFOs and as
  // links to /dev/zero: each is named on standard error and not read.
  for (bool fifo : {true, false}) {
    TempDir otherHome;
    for (const char* name : {"lqa.cfg", "lqa_macro.cfg", "lqa_workdiff.cfg"}) {
      const std::string path = otherHome.path() + "/" + name;
      if (fifo) ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
      else ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0);
    }
    r = RunLqaLimited({"-s", "ok.c"}, dir.path(), otherHome.path(), limits);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "File: ok.c"));
    EXPECT_TRUE(Has(r.err, "Cannot read the configuration file " + otherHome.path() + "/lqa.cfg\n")) << r.err;
    EXPECT_TRUE(Has(r.err, "Cannot read the macro file " + otherHome.path() + "/lqa_macro.cfg\n")) << r.err;
    dir.Write("w.dat", kWorkHead + "1\nIgnore Blank Lines: 1\nIgnore White Space: 1\n");
    r = RunLqaLimited({"-wxw.dat, w.dat"}, dir.path(), otherHome.path(), limits);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Has(r.err, "Cannot read the report configuration file")) << r.err;
    EXPECT_TRUE(fs::is_fifo(otherHome.path() + "/lqa.cfg") || fs::is_symlink(otherHome.path() + "/lqa.cfg"));
  }
}

TEST_F(Reliability, RuleFilesThatAreNoRegularFilesOrIncludeTooMuch) {
  dir.Write("a.c", "int a;\n");
  Fifo("pipe.cfg");
  ZeroLink("zero.cfg");
  // Each rule file includes the next one four times, sixteen levels deep:
  // about 4^16 reads unless each file is read once.
  for (int level = 0; level < 16; ++level) {
    std::string text = "UDQN Begin:\nudqn id: " + std::to_string(100 + level) +
                       "\nactive: yes\nsources: c\ncontext: Line\npattern: int\nsummary: s\nUDQN End:\n";
    for (int k = 0; k < 4; ++k) text += "include: " + Path("r" + std::to_string(level + 1) + ".cfg") + "\n";
    if (level == 0) text += "include: " + Path("pipe.cfg") + "\ninclude: " + Path("zero.cfg") + "\n";
    dir.Write("r" + std::to_string(level) + ".cfg", text);
  }
  dir.Write("r16.cfg", "# the last level\n");
  home.Write("lqa.cfg", "LQA user defined quality notice file : " + Path("r0.cfg") + "\n");
  const RunResult r = Run({"-Ns", "a.c"});
  ASSERT_GE(r.status, 16) << r.out;
  size_t fired = 0;  // one notice of each level's definition
  for (size_t p = r.out.find(": Line 1, s\n"); p != std::string::npos; p = r.out.find(": Line 1, s\n", p + 1)) ++fired;
  EXPECT_EQ(fired, 16u) << r.out;
  EXPECT_TRUE(Has(r.out, "UDQN file " + Path("r16.cfg") + " was read before\n         The include is ignored.\n"))
      << r.out.substr(0, 4000);
  EXPECT_TRUE(Has(r.out, "\n  Error: Problem opening User Defined Quality Notice file:\n         " + Path("pipe.cfg") +
                             "\n         For modification, Not a regular file\n"));
  EXPECT_TRUE(Has(r.out, Path("zero.cfg") + "\n         For modification, Not a regular file\n"));
}

TEST_F(Reliability, WorkAndLineDataFilesThatAreNoRegularFiles) {
  Fifo("old.dat");
  RunResult r = Run({"-wxold.dat, old.dat"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(r.out, "  Error: Loading Work File: old.dat\n         Use the -wc option to create a base work file\n"
                         "         Not a regular file\n"))
      << r.out;

  dir.Write("d.dif/a_c.dif", Record(1, 'G', 1.0));
  Fifo("d.dif/p_c.dif");
  ZeroLink("d.dif/z_c.dif");
  const std::string settings = "1\nIgnore Blank Lines: 1\nIgnore White Space: 1\n";
  dir.Write("o.dat", kWorkHead + settings + "p.c| 1 1 1 1 1 1 1 1 1 1 1 1 d.dif/p_c.dif\n" +
                         "z.c| 1 1 1 1 1 1 1 1 1 1 1 1 d.dif/z_c.dif\nq.c| 1 1 1 1 1 1 1 1 1 1 1 1 d.dif/a_c.dif\n");
  dir.Write("n.dat", kWorkHead + settings + "p.c| 1 1 1 1 1 1 1 1 1 1 1 1 d.dif/a_c.dif\n" +
                         "z.c| 1 1 1 1 1 1 1 1 1 1 1 1 d.dif/a_c.dif\nq.c| 1 1 1 1 1 1 1 1 1 1 1 1 d.dif/a_c.dif\n");
  r = Run({"-wd", "-wxo.dat, n.dat"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(Has(r.out, "  Error: Loading Work Differential File: d.dif/p_c.dif\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "  Error: Loading Work Differential File: d.dif/z_c.dif\n"));
  EXPECT_TRUE(Has(r.out, " q.c\n"));
}

// ---------------------------------------------------------------------------
// Files the run produces

TEST_F(Reliability, AWorkFileNamingADeviceIsRefusedAndNothingIsCopied) {
  dir.Write("src/a.c", "int a;\n");
  ZeroLink("z.dat");
  // Before, the work file went into /dev/zero and its copy read /dev/zero
  // until the disk was full; the size limit keeps such a run bounded.
  limits.fileSizeBytes = 4 << 20;
  const RunResult r = Run({"-wFile dat z.dat", "-wcreate src", "-rc src"});
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_TRUE(Has(r.out, "\n  Create File Error: z.dat - Not a regular file\n")) << r.out;
  EXPECT_FALSE(Has(r.out, "Completed Work File"));
  EXPECT_FALSE(fs::exists(Path("workfile.dat")));
}

TEST_F(Reliability, AFailedBaselineKeepsThePreviousOne) {
  for (int k = 0; k < 200; ++k) dir.Write("src/f" + std::to_string(k) + ".c", "int f(void) { return 1; }\n");
  const std::vector<std::string> baseline = {"-wFile dat b.dat", "-wcreate src", "-rc src", "-wd"};
  RunResult r = Run(baseline);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(Has(r.out, "Completed Work File: b.dat"));
  const std::string work = dir.Read("b.dat"), copy = dir.Read("workfile.dat");
  const std::string data = dir.Read("b.dat.dif/src_f7_c.dif");
  ASSERT_GT(work.size(), 8000u);
  EXPECT_EQ(copy, work);
  EXPECT_EQ(Names(), "b.dat b.dat.dif src workfile.dat ");

  // The same baseline with a source changed, on a disk that fills up.
  dir.Write("src/f7.c", "int f(void)\n{\n  return 7;\n}\n");
  limits.fileSizeBytes = 8000;
  r = Run(baseline);
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_TRUE(Has(r.out, "\n  Error: The baseline was not written: b.dat\n"
                         "         A write failed; the previous work file and line data are left as they were\n"))
      << r.out;
  EXPECT_FALSE(Has(r.out, "Completed Work File"));
  EXPECT_EQ(dir.Read("b.dat"), work);
  EXPECT_EQ(dir.Read("workfile.dat"), copy);
  EXPECT_EQ(dir.Read("b.dat.dif/src_f7_c.dif"), data);
  EXPECT_EQ(Names(), "b.dat b.dat.dif src workfile.dat ");  // no temporary file or directory left

  // Without the limit the new baseline replaces the old one whole.
  limits.fileSizeBytes = -1;
  r = Run(baseline);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(dir.Read("b.dat.dif/src_f7_c.dif"), data);
  EXPECT_EQ(dir.Read("workfile.dat"), dir.Read("b.dat"));
  EXPECT_EQ(Names(), "b.dat b.dat.dif src workfile.dat ");
}

TEST_F(Reliability, AnOutputFileThatIsAnInputIsRefusedUntouched) {
  const std::string a = "int a;\n", b = "int b;\n";
  dir.Write("a.c", a);
  dir.Write("b.c", b);
  // "lqa -O a.c a.c", and "lqa -O *.c" where the first name is the output.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-O", "a.c", "a.c"}, std::vector<std::string>{"-O", "a.c", "b.c"},
        std::vector<std::string>{"-Oa.c", "-rc ."}, std::vector<std::string>{"-Rl", "-O", "a.c", "a.c"},
        // The notice documents hold the report stream while the normal report is discarded.
        std::vector<std::string>{"-xSARIF", "-O", "a.c", "a.c"},
        std::vector<std::string>{"-xGITLAB", "-xSARIF n.json", "-O", "a.c", "b.c"}}) {
    const RunResult r = Run(args);
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_TRUE(Has(r.err, "\n  Error: The output file is one of the input files\n         Filename: ")) << r.err;
    EXPECT_EQ(dir.Read("a.c"), a);
    EXPECT_EQ(dir.Read("b.c"), b);
    EXPECT_EQ(Names(), "a.c b.c ");
  }
  // A work file to compare is an input too.
  dir.Write("w.dat", kWorkHead + "1\nIgnore Blank Lines: 1\nIgnore White Space: 1\n");
  const std::string work = dir.Read("w.dat");
  const RunResult r = Run({"-Ow.dat", "-wxw.dat, w.dat"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(dir.Read("w.dat"), work);
}

TEST_F(Reliability, AReportThatCannotBeWrittenKeepsThePreviousReport) {
  std::string big;
  for (int k = 0; k < 4000; ++k) big += "int f" + std::to_string(k) + "(int a) { return a; }\n";
  dir.Write("big.c", big);
  dir.Write("report.txt", "previous report\n");
  limits.fileSizeBytes = 20000;  // the report of -fa runs to hundreds of kilobytes
  RunResult r = Run({"-O", "report.txt", "-fa", "big.c"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(r.err, "\n  Error: Could not write output file\n         Filename: report.txt\n")) << r.err;
  EXPECT_EQ(dir.Read("report.txt"), "previous report\n");
  EXPECT_EQ(Names(), "big.c report.txt ");
  // A report ended by a fatal error holds its message: it is written.
  limits.fileSizeBytes = -1;
  r = Run({"-O", "report.txt", "-Q"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(dir.Read("report.txt"), "Error: Command line parse error, invalid option."));
}

// ---------------------------------------------------------------------------
// Damaged and hostile baselines

TEST_F(Reliability, ADamagedLineDataRecordCostsOnlyItsPair) {
  dir.Write("old/a.c", "int a(void)\n{\n  return 1;\n}\n");
  dir.Write("old/b.c", "int b(void)\n{\n  return 2;\n}\n");
  dir.Write("new/a.c", "int a(void)\n{\n  return 3;\n}\n");
  dir.Write("new/b.c", "int b(void)\n{\n  return 4;\n}\n");
  ASSERT_EQ(Run({"-wFile dat o.dat", "-wcreate old", "-rc old", "-wd"}).status, 0);
  ASSERT_EQ(Run({"-wFile dat n.dat", "-wcreate new", "-rc new", "-wd"}).status, 0);
  // One byte of the second record of a's newer data becomes an unknown type.
  std::string data = dir.Read("n.dat.dif/new_a_c.dif");
  ASSERT_GE(data.size(), 26u);
  data[13 + 4] = 'Q';
  dir.Write("n.dat.dif/new_a_c.dif", data);
  const RunResult r = Run({"-X", "-wd", "-wxo.dat, n.dat"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(Has(r.out, "  Error: Loading Work Differential File: ./n.dat.dif/new_a_c.dif\n"
                         "         Record 2 is damaged (unknown line type): the pair is not compared\n"))
      << r.out;
  EXPECT_TRUE(Has(r.out, "<file>b.c</file>")) << r.out;
  EXPECT_TRUE(Has(r.out, "</lqadoc>\n"));
  TempDir scratch;
  EXPECT_EQ(XmlProblems(scratch, r.out), "") << r.out;
}

TEST_F(Reliability, AThousandEntriesNamingOnePairCostOneComparison) {
  std::string older, newer;
  for (int k = 1; k <= 30000; ++k) {
    older += Record(k, 'G', 1.0 + k % 97);
    newer += Record(k, 'G', 1.0 + k % 89);
  }
  dir.Write("o.dat.dif/big_c.dif", older);
  dir.Write("n.dat.dif/big_c.dif", newer);
  const std::string settings = "Ignore Blank Lines: 1\nIgnore White Space: 1\n";
  std::string o = kWorkHead + "1\n" + settings, n = kWorkHead + "2\n" + settings;
  for (int k = 0; k < 1000; ++k) {
    const std::string name = "f" + std::to_string(k) + ".c| 1 1 1 1 1 1 1 1 1 1 1 1 ";
    o += name + "o.dat.dif/big_c.dif\n";
    n += name + "n.dat.dif/big_c.dif\n";
  }
  // Paths that lead out of the work file's directory are not read.
  o += "g.c| 1 1 1 1 1 1 1 1 1 1 1 1 /etc/passwd\nh.c| 1 1 1 1 1 1 1 1 1 1 1 1 ../x.dif\n";
  n += "g.c| 1 1 1 1 1 1 1 1 1 1 1 1 n.dat.dif/big_c.dif\nh.c| 1 1 1 1 1 1 1 1 1 1 1 1 n.dat.dif/big_c.dif\n";
  dir.Write("o.dat", o);
  dir.Write("n.dat", n);
  const RunResult r = Run({"-wd", "-wxo.dat, n.dat"});
  ASSERT_EQ(r.status, 0) << r.out.substr(0, 2000);
  EXPECT_TRUE(Has(r.out, " f999.c\n"));
  EXPECT_TRUE(Has(r.out, "  Error: Loading Work Differential File: /etc/passwd\n"
                         "         The path leads out of the work file's directory\n"));
  EXPECT_TRUE(Has(r.out, "  Error: Loading Work Differential File: ../x.dif\n"));
}

// ---------------------------------------------------------------------------
// Configuration values

TEST_F(Reliability, AHugeTabWidthIsCutAndTheFileKept) {
  const std::string cfg = "A TAB is equivalent to n space : 2147483647\nLQA CFG Version: 7.75\n";
  home.Write("lqa.cfg", cfg);
  dir.Write("tabs.c", std::string(5000, '\t') + "int x;\n" + std::string(5000, '\t') + "\n");
  const RunResult r = Run({"-s", "tabs.c"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(r.err, "           A TAB is equivalent to n space : 2147483647\n"
                         "           16 is used (the range is 0 to 16)\n"))
      << r.err;
  EXPECT_EQ(home.Read("lqa.cfg"), cfg);
}

// ---------------------------------------------------------------------------
// Well-formed documents

TEST_F(Reliability, XmlStaysWellFormedWithHostileNamesAndSwitches) {
  // Duplicate roots named with template arguments, a file name holding '<',
  // '&' and a control byte, user notices whose texts hold markup.
  dir.Write("t<&.cpp", "template<> class Q<int> {};\nclass D : public Q<int> {};\n");
  dir.Write("u.cpp", "template<> class Q<int> {};\nint main() { return 0; }\n");
  dir.Write(std::string("c\001<&.c"), "int a<b&c;\n\tint y;\n");
  home.Write("rules.cfg", "UDQN Begin:\nudqn id: 100\nactive: yes\nsources: c,cpp\ncontext: Line\npattern: a<b&c\n"
                          "string: x a<b&c\nmessage: found <&> in _FILE_ _LINE_\nsummary: sum <&>\nUDQN End:\n");
  home.Write("lqa.cfg", "LQA user defined quality notice file : " + home.path() + "/rules.cfg\n");
  TempDir scratch;
  const std::vector<std::vector<std::string>> sets = {
      {"-X", "-i"},        {"-X", "-o", "-i"}, {"-X", "-Nv"},  {"-X", "-Nv", "-fa"}, {"-X", "-n"},
      {"-X", "-Ns"},       {"-X", "-Tq"},      {"-X", "-s"},   {"-X", "-xUDQNSHOW"}, {"-X", "-Ta"},
  };
  for (const auto& set : sets) {
    std::vector<std::string> args = set;
    for (const char* f : {"t<&.cpp", "u.cpp", "c\001<&.c", "missing<&.c", "not<&.txt"}) args.push_back(f);
    const RunResult r = Run(args);
    std::string joined;
    for (const auto& a : set) joined += a + " ";
    EXPECT_TRUE(r.status >= 0) << joined;
    EXPECT_EQ(XmlProblems(scratch, r.out), "") << joined << "\n" << r.out.substr(0, 3000);
  }
  const RunResult show = Run({"-X", "-xUDQNSHOW"});
  EXPECT_EQ(show.status, 1);
  EXPECT_TRUE(Has(show.out, "  Pattern      : a&lt;b&amp;c\n")) << show.out;
  EXPECT_TRUE(Has(show.out, "</lqadoc>\n"));
}

}  // namespace
