// User defined quality notices end to end: the rule file named in lqa.cfg,
// the notices in the report, the exit status, -xUDQNSHOW, and hostile rules
// and sources under time and memory limits.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "test_support.h"

namespace {

std::string Def(int id, const std::string& fields) {
  return "UDQN Begin:\nudqn id: " + std::to_string(id) + "\nactive: yes\nsources: c\nsummary: s" +
         std::to_string(id) + "\nmessage: m" + std::to_string(id) + " _LINE#_\n" + fields + "UDQN End:\n";
}

class Udqn : public ::testing::Test {
 protected:
  TempDir dir;
  TempDir home;
  RunLimits limits;
  std::string rules;
  // Writes the rule file and names it in lqa.cfg; the built-in notices are
  // off, so that the exit status counts only ours.
  void Rules(const std::string& text, const std::string& cfg = "") {
    rules = home.Write("rules.cfg", text);
    home.Write("lqa.cfg", "LQA user defined quality notice file : " + rules + "\n" + BuiltInOff() + cfg);
  }
  static std::string BuiltInOff() {
    std::string cfg;
    for (int n = 1; n <= 58; ++n) cfg += "Quality Notice " + std::to_string(n) + " : No\n";
    return cfg;
  }
  RunResult Run(const std::vector<std::string>& args) { return RunLqa(args, dir.path(), home.path()); }
  RunResult RunLimited(const std::vector<std::string>& args) {
    return RunLqaLimited(args, dir.path(), home.path(), limits);
  }
};

TEST_F(Udqn, NoticesInTheReportAndTheExitStatus) {
  Rules(Def(100, "context: Code\npattern: malloc\n") +
        Def(101, "context: Line\npattern: UDQN eof\nemit eof flag: yes\n!check flags: 1\n") +
        Def(102, "context: Comment\npattern: Copyright\nset flags: 1\nsilent flag: yes\n"));
  dir.Write("a.c", "int *p = malloc(4);\n/* malloc here */\nint *q = malloc(8);\n");
  dir.Write("b.c", "/* Copyright me */\nint x;\n");
  RunResult r = Run({"-n", "a.c", "b.c", "missing.c"});
  EXPECT_EQ(r.status, 3) << r.out;  // two malloc lines and one file without a licence
  EXPECT_TRUE(HasLine(r.out, "  UDQN File   : " + rules)) << r.out;
  EXPECT_NE(r.out.find("\n    Notice #100: m100 1\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n    Notice #100: m100 3\n"), std::string::npos);
  // The end of file notice follows the file's End of File line.
  EXPECT_LT(r.out.find("End of File: a.c"), r.out.find("Notice #101: m101 3"));
  EXPECT_EQ(Count(r.out, "Notice #101"), 1u);
  EXPECT_NE(r.out.find("Error: Problem opening input file:\n         missing.c"), std::string::npos);
}

TEST_F(Udqn, BuiltInAndUserNoticesShareTheTotalAndTheProfile) {
  rules = home.Write("rules.cfg", Def(100, "context: Code\npattern: int\n"));
  home.Write("lqa.cfg", "LQA user defined quality notice file : " + rules + "\n");
  dir.Write("a.c", "int x;\nint y;\n");
  RunResult r = Run({"-n", "-Ns", "a.c"});
  const size_t builtIn = Count(r.out, "  Notice #") - Count(r.out, "  Notice # 100:");
  ASSERT_GT(builtIn, 0u) << r.out;
  EXPECT_EQ(Count(r.out, "  Notice # 100:"), 2u);
  EXPECT_EQ(r.status, static_cast<int>(builtIn + 2)) << r.out;
  const size_t profile = r.out.find("~~ Project Quality Profile ~~");
  ASSERT_NE(profile, std::string::npos);
  const size_t userRow = r.out.find("\n  100       2  ", profile);
  ASSERT_NE(userRow, std::string::npos) << r.out.substr(profile);
  // The built-in rows come first, then the user defined ones, then the total.
  EXPECT_LT(r.out.find("\n  20 ", profile), userRow);
  EXPECT_LT(userRow, r.out.find("Total Quality Notices", profile));
}

TEST_F(Udqn, SingleLineFormsAndNoConfigLine) {
  Rules(Def(100, "context: Line\npattern: x, y\nsummary: comma, inside\n"));
  dir.Write("a.c", "int x, y;\n");
  RunResult r = Run({"-Nv", "-xNOCONFIG", "a.c"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(HasLine(r.out, "a.c(1) : Notice #100  - comma, inside")) << r.out;
  EXPECT_EQ(r.out.find("UDQN File"), std::string::npos);
  r = Run({"-C", "-Ns", "a.c"});
  EXPECT_TRUE(HasLine(r.out, "UDQN File," + rules)) << r.out;
  EXPECT_TRUE(HasLine(r.out, "Notice #, 100,Line,1,comma  inside")) << r.out;
  r = Run({"-X", "-Ns", "a.c"});
  EXPECT_TRUE(HasLine(r.out, "<udqn_file>" + rules + "</udqn_file>")) << r.out;
  EXPECT_NE(r.out.find("<notice>\n<type>100</type>\n<line>1</line>\n<description>comma, inside</description>"),
            std::string::npos)
      << r.out;
}

TEST_F(Udqn, MessageNamesTheOpenClassAndFunction) {
  Rules("UDQN Begin:\nudqn id: 200\nactive: yes\nsources: cpp\ncontext: Code\npattern: printf\n"
        "message: [_CLASS_] [_FUNC_] _LINE#_\nsummary: s\nUDQN End:\n");
  dir.Write("a.cpp", "int x = printf(\"top\");\nclass A {\n  void f() {\n    printf(\"x\");\n  }\n};\n"
                     "int g(int a) {\n  printf(\"y\");\n}\n");
  RunResult r = Run({"-n", "-fa", "a.cpp"});
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_NE(r.out.find("\n    Notice #200: [] [] 1\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n    Notice #200: [A] [A::f] 4\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n    Notice #200: [] [g] 8\n"), std::string::npos) << r.out;
}

// xmllint's verdict on a document: empty when well-formed.
std::string XmlProblems(const TempDir& dir, const std::string& document) {
  const std::string path = dir.Write("document.xml", document);
  std::string out;
  if (FILE* p = popen(("xmllint --noout '" + path + "' 2>&1").c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    if (pclose(p) != 0 && out.empty()) out = "xmllint failed";
  }
  return out.substr(0, 2000);
}

// An included file named with '&' holding a pattern that does not compile:
// the names are escaped wherever the document needs it.
TEST_F(Udqn, IncludedFileIsAnnouncedInEveryMode) {
  home.Write("a&b.cfg", Def(101, "context: Line\npattern: y\n") + Def(102, "context: Line\npattern: (<\n"));
  Rules(Def(100, "context: Line\npattern: x\nsummary: <x>, & more\n") + "include: a&b.cfg\n");
  dir.Write("a.c", "x y\n");
  const std::string inc = home.path() + "/a&b.cfg";
  RunResult r = Run({"-n", "a.c"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(HasLine(r.out, "  UDQN Inc. File: " + inc)) << r.out;
  EXPECT_TRUE(HasLine(r.out, "         UDQN file " + inc + ", line 17")) << r.out;
  r = Run({"-C", "-n", "a.c"});
  EXPECT_TRUE(HasLine(r.out, "UDQN Inc. File: " + inc)) << r.out;
  r = Run({"-H", "-n", "a.c"});
  EXPECT_NE(r.out.find("<b><font color=\"#993300\">UDQN Inc. File</font></b>: " + home.path() + "/a&amp;b.cfg\n"),
            std::string::npos)
      << r.out;
  TempDir scratch;
  for (const char* listing : {"-Ns", "-Tq"}) {
    r = Run({"-X", "-n", listing, "a.c"});
    EXPECT_TRUE(HasLine(r.out, "<UDQN_include_file>" + home.path() + "/a&amp;b.cfg</UDQN_include_file>")) << r.out;
    if (std::system("xmllint --version > /dev/null 2>&1") == 0) {
      EXPECT_EQ(XmlProblems(scratch, r.out), "") << r.out;
    }
  }
}

TEST_F(Udqn, BadDefinitionsNeverFireAndTheRunGoesOn) {
  Rules(Def(100, "context: Line\npattern: alpha\n") + Def(101, "context: Line\npattern: (beta\n") +
        Def(102, "context: Nowhere\npattern: beta\n") + Def(103, "context: Line\npattern: gamma\n"));
  dir.Write("a.c", "alpha beta gamma\n");
  RunResult r = Run({"-Ns", "a.c"});
  EXPECT_EQ(r.status, 2) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  Notice # 100: Line 1, s100"));
  EXPECT_TRUE(HasLine(r.out, "  Notice # 103: Line 1, s103"));
  EXPECT_NE(r.out.find("Error: UDQN pattern does not compile: "), std::string::npos);
  EXPECT_NE(r.out.find("Error: UDQN context is not Line, Code, Comment or String: Nowhere"), std::string::npos);
}

TEST_F(Udqn, MissingRuleFileIsReportedAndTheRunGoesOn) {
  home.Write("lqa.cfg", "LQA user defined quality notice file : " + home.path() +
                            "/absent.cfg\n" + BuiltInOff());
  dir.Write("a.c", "int a;\n");
  RunResult r = Run({"-n", "a.c"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\n  Error: Problem opening User Defined Quality Notice file:\n         " + home.path() +
                       "/absent.cfg\n         For modification, No such file or directory\n\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("LOC 1"), std::string::npos);
  // Without -n the file is not read at all.
  r = Run({"a.c"});
  EXPECT_EQ(r.out.find("User Defined"), std::string::npos);
}

TEST_F(Udqn, ShowListsTheDefinitionsAndEndsTheRun) {
  Rules(Def(100, "context: Code\npattern: malloc\nstring: p = malloc(1);\n"));
  dir.Write("a.c", "int a;\n");
  RunResult r = Run({"-xUDQNSHOW", "a.c"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(HasLine(r.out, "  UDQN Id      : 100")) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  Test         : Expression Match: Start[5] End[10] Span[6]"));
  EXPECT_TRUE(HasLine(r.out, "m100 127"));
  EXPECT_EQ(r.out.find("File: a.c"), std::string::npos);
  r = Run({"-H", "-xUDQNSHOW", "a.c"});
  EXPECT_TRUE(r.out.ends_with("</pre></body></html>")) << r.out;
  home.Write("lqa.cfg", "LQA user defined quality notice file :\n");
  r = Run({"-xUDQNSHOW", "a.c"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("Error: No User Defined Quality Notice file is configured"), std::string::npos) << r.out;
}

TEST_F(Udqn, ListingsShowEveryDefinitionReadAndOnlyUsableOnesFire) {
  Rules(Def(100, "context: Line\npattern: alpha\n") + Def(101, "pattern: beta\n") +
        Def(102, "context: Nowhere\npattern: beta\n") + Def(103, "context: Line\npattern: (beta\nstring: beta\n"));
  dir.Write("a.c", "alpha beta\n");
  const RunResult show = Run({"-xUDQNSHOW", "a.c"});
  for (int id : {100, 101, 102, 103}) EXPECT_TRUE(HasLine(show.out, "  UDQN Id      : " + std::to_string(id))) << id;
  EXPECT_EQ(Count(show.out, "  Context      : Unknown\n"), 2u) << show.out;
  EXPECT_TRUE(HasLine(show.out, "  Test         : Pattern Compile Error"));
  // The problems are still reported.
  EXPECT_NE(show.out.find("Error: UDQN definition has no context (Line, Code, Comment or String): Identifier 101"),
            std::string::npos);
  EXPECT_NE(show.out.find("Error: UDQN context is not Line, Code, Comment or String: Nowhere"), std::string::npos);
  EXPECT_NE(show.out.find("Error: UDQN pattern does not compile: "), std::string::npos);
  const RunResult types = Run({"-hn"});
  for (int id : {100, 101, 102, 103})
    EXPECT_TRUE(HasLine(types.out, "  Notice " + std::to_string(id) + " : [ On] s" + std::to_string(id)))
        << types.out;
  const RunResult run = Run({"-Ns", "a.c"});
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_TRUE(HasLine(run.out, "  Notice # 100: Line 1, s100"));
}

TEST_F(Udqn, BlockLinesNeedTheirColon) {
  // Without its colon "UDQN End" is an ordinary line: the definition stays
  // open to the end of the file and is discarded.
  Rules("UDQN Begin:\nudqn id: 100\nactive: yes\nsources: c\ncontext: Line\npattern: alpha\nsummary: s\nUDQN End\n");
  dir.Write("a.c", "alpha\n");
  RunResult r = Run({"-Ns", "a.c"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Error: UDQN file ends inside a definition\n         UDQN file " + rules +
                       ", line 8\n         The unfinished definition is discarded; its end line needs its colon: "
                       "\"UDQN End:\".\n"),
            std::string::npos)
      << r.out;
  // Without its colon "UDQN Begin" opens nothing.
  Rules("UDQN Begin\nudqn id: 100\nUDQN End:\n");
  r = Run({"-Ns", "a.c"});
  EXPECT_NE(r.out.find("Error: \"udqn id\" outside a UDQN Begin ... UDQN End block"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Error: UDQN End without UDQN Begin\n"), std::string::npos);
}

TEST_F(Udqn, RuleFileBesideTheConfigurationWhenOnlyTheHomeIsSet) {
  home.Write("lqa.cfg", "LQA user defined quality notice file :\n" + BuiltInOff());
  dir.Write("a.c", "alpha\n");
  // No rule file there: the run says nothing about one.
  RunResult r = Run({"-Ns", "a.c"});
  EXPECT_EQ(r.out.find("UDQN"), std::string::npos) << r.out;
  const std::string beside = home.Write("lqa_udqn.cfg", Def(100, "context: Line\npattern: alpha\n"));
  r = Run({"-Ns", "a.c"});
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  UDQN File   : " + beside)) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  Notice # 100: Line 1, s100"));
  EXPECT_TRUE(HasLine(Run({"-hn"}).out, "  UDQN File   : " + beside));
  // A configured file is used instead.
  home.Write("other.cfg", Def(200, "context: Line\npattern: alpha\n"));
  home.Write("lqa.cfg", "LQA user defined quality notice file : " + home.path() + "/other.cfg\n" + BuiltInOff());
  r = Run({"-Ns", "a.c"});
  EXPECT_TRUE(HasLine(r.out, "  Notice # 200: Line 1, s200")) << r.out;
  EXPECT_EQ(r.out.find("Notice # 100"), std::string::npos);
}

// The worked example of the README: a silent rule sets a flag that a second
// rule checks and clears.
TEST_F(Udqn, FlagsChainTwoRulesAsTheReadmeShows) {
  Rules("UDQN Begin:\nUDQN Identifier: 100\nactive: yes\nsources: c h cpp hpp\ncontext: Line\n"
        "pattern: ^[ \\t]*#[ \\t]*ifdef[ \\t]+DEBUG\\b\nset flags: 5\nsilent flag: yes\nstring: #ifdef DEBUG\n"
        "UDQN End:\n\n"
        "UDQN Begin:\nUDQN Identifier: 101\nactive: yes\nsources: c h cpp hpp\ncontext: Line\n"
        "pattern: ^[ \\t]*#[ \\t]*endif\ncheck flags: 5\nclear flags: 5\nsummary: End of a DEBUG block\n"
        "message: A DEBUG block ends at line _LINE#_ of _FILE_:\\n_LINE_\nstring: #endif\nUDQN End:\n");
  dir.Write("d.c", "#ifdef RELEASE\nint a;\n#endif\n#ifdef DEBUG\nint b;\n#endif\n#endif\n");
  RunResult r = Run({"-Ns", "d.c"});
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  Notice # 101: Line 6, End of a DEBUG block")) << r.out;
  r = Run({"-n", "d.c"});
  EXPECT_NE(r.out.find("\n    Notice #101: A DEBUG block ends at line 6 of d.c:\n           #endif\n"), std::string::npos)
      << r.out;
  r = Run({"-xUDQNSHOW"});
  EXPECT_TRUE(HasLine(r.out, "  Test         : Expression Match: Start[1] End[12] Span[12]")) << r.out;
}

TEST_F(Udqn, QualitySkipRegionSilencesNotices) {
  Rules(Def(100, "context: Line\npattern: bad\n"), "Activate LQA code skip tokens : Yes\n");
  dir.Write("a.c", "bad\n/* LQA_IGNORE_QUALITY_BEGIN */\nbad\n/* LQA_IGNORE_QUALITY_END */\nbad\n");
  RunResult r = Run({"-Ns", "a.c"});
  EXPECT_EQ(Count(r.out, "Notice # 100"), 2u) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  Notice # 100: Line 5, s100"));
}

TEST_F(Udqn, CatastrophicPatternOnLongLinesEndsInTime) {
  limits.cpuSeconds = 30;
  limits.wallSeconds = 60;
  Rules(Def(100, "context: Line\npattern: (a+)+$\n") + Def(101, "context: Line\npattern: (a|aa){1,11}(x|$)\n") +
        Def(102, "context: Line\npattern: end\n"));
  std::string text;
  for (int i = 0; i < 3000; ++i) text += std::string(2040, 'a') + "b\n";
  text += "end\n";
  dir.Write("a.c", text);
  dir.Write("b.c", "aaaa end\n");
  RunResult r = RunLimited({"-Ns", "a.c", "b.c"});
  ASSERT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.out.find("Error: UDQN Identifier 100 pattern reached the match limit"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Error: UDQN Identifier 101 pattern "), std::string::npos) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  Notice # 102: Line 3001, s102"));
  EXPECT_TRUE(HasLine(r.out, "  Notice # 102: Line 1, s102"));
}

TEST_F(Udqn, HundredThousandDefinitionsBinaryBytesAndAHugeLine) {
  limits.cpuSeconds = 60;
  limits.wallSeconds = 120;
  std::string text;
  for (int id = 100; id < 100100; ++id)
    text += "UDQN Begin:\nudqn id: " + std::to_string(id) + "\nactive: yes\nsources: " +
            (id % 1000 == 0 ? "c" : "java") + "\ncontext: Line\npattern: r" + std::to_string(id) +
            "\\b\nsummary: s\nUDQN End:\n";
  for (int i = 0; i < 3000; ++i) text += static_cast<char>((i * 37) % 256);
  Rules(text + "\n");
  std::string source = "r1000 r2000\n";
  for (int i = 0; i < 20000; ++i) source += static_cast<char>((i * 7919) % 256);
  source += "\n" + std::string(50u << 20, 'r') + "\nr5000\n";
  dir.Write("a.c", source);
  RunResult r = RunLimited({"-Ns", "a.c"});
  ASSERT_NE(r.status, -1) << r.err;
  EXPECT_EQ(Count(r.out, "Notice #1000:"), 1u);
  EXPECT_EQ(Count(r.out, "Notice #2000:"), 1u);
  EXPECT_EQ(Count(r.out, "Notice #5000:"), 1u);
}

}  // namespace
