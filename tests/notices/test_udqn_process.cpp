// Evaluating user defined notices on the lines of files: contexts, sources,
// flag state machines, end-of-file definitions, counting and the limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_out.h"
#include "common/gcd.h"
#include "notices/udqn.h"
#include "notices/udqn_internal.h"
#include "test_support.h"

namespace {

// One definition block; fields given as "key: value" lines.
std::string Def(int id, const std::string& fields) {
  return "UDQN Begin:\nudqn id: " + std::to_string(id) + "\nactive: yes\nsummary: s" + std::to_string(id) +
         "\nmessage: m" + std::to_string(id) + "\n" + fields + "UDQN End:\n";
}

// Feeds files through the line engine the way the driver does.
class UdqnRun : public ::testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<GlobalData> gcd = NewGlobalData();

  void SetUp() override { gcd->sw.qualityNotices = 1; }
  std::string Rules(const std::string& text) {
    const std::string path = dir.Write("rules.cfg", text);
    return CaptureOut([&] { load_udqn_file(path.c_str(), *gcd); });
  }
  std::string File(const std::string& name, const std::vector<std::string>& lines) {
    name_ = name;
    return CaptureOut([&] {
      gcd->drv.currentFileName = name_.c_str();
      ++gcd->drv.fileSerial;
      ResetState(*gcd);
      for (const std::string& text : lines) {
        const std::string line = text.ends_with('\n') ? text : text + "\n";
        ++gcd->drv.lineNumber;
        ParseLine(line.c_str(), gcd->drv.lineNumber, *gcd);
        gcd->eng.lex.region_flag = 0;
      }
      udqn_process("UDQN eof", 1, *gcd);
    });
  }
  int Hits(int id) { return get_udqn_ptr(id, gcd->udqn)->hits; }

 private:
  std::string name_;
};

TEST_F(UdqnRun, EachContextSeesOnlyItsPartOfTheLine) {
  Rules(Def(100, "sources: c\ncontext: Code\npattern: malloc\n") +
        Def(101, "sources: c\ncontext: Comment\npattern: malloc\n") +
        Def(102, "sources: c\ncontext: String\npattern: malloc\n") +
        Def(103, "sources: c\ncontext: Line\npattern: malloc\n") +
        // A pattern that matches empty text has nothing to match on a line
        // without a comment.
        Def(104, "sources: c\ncontext: Comment\npattern: ^\n"));
  EXPECT_EQ(gcd->udqn.needContext, 1);
  const std::string out = File("a.c", {"p = malloc(n);", "/* malloc here */", "puts(\"malloc\");", "int x;"});
  EXPECT_EQ(Hits(100), 1);
  EXPECT_EQ(Hits(101), 1);
  EXPECT_EQ(Hits(102), 1);
  EXPECT_EQ(Hits(103), 3);
  EXPECT_EQ(Hits(104), 1);
  EXPECT_NE(out.find("\n    Notice #100: m100\n"), std::string::npos) << out;
}

TEST_F(UdqnRun, FlagsChainDefinitionsAcrossLines) {
  Rules(Def(100, "sources: c\ncontext: Line\npattern: #ifdef DEBUG\nset flags: 5\nsilent flag: yes\n") +
        Def(101, "sources: c\ncontext: Line\npattern: #endif\ncheck flags: 5\nclear flags: 5\n") +
        // Within one line a flag set by an earlier definition counts for a
        // later one; a definition fires once a line however often it matches.
        Def(102, "sources: c\ncontext: Line\npattern: x\nset flags: 9\n") +
        Def(103, "sources: c\ncontext: Line\npattern: y\ncheck flags: 9\n!check flags: 10\n"));
  const std::string out =
      File("a.c", {"#endif", "#ifdef DEBUG", "int a;", "#endif", "#endif", "x x y y"});
  EXPECT_EQ(Hits(100), 0);  // silent: flags only
  EXPECT_EQ(Hits(101), 1);
  EXPECT_EQ(Hits(102), 1);
  EXPECT_EQ(Hits(103), 1);
  EXPECT_EQ(Count(out, "Notice #101"), 1u);
  EXPECT_EQ(Count(out, "Notice #100"), 0u);
  EXPECT_EQ(gcd->eng.fc.notices, 3);
  EXPECT_EQ(gcd->notices.run.total, 3);
}

TEST_F(UdqnRun, EndOfFileDefinitionsAndFlagsAcrossFiles) {
  Rules(Def(100, "sources: c\ncontext: Comment\npattern: Copyright\nset flags: 7\nsilent flag: yes\n") +
        Def(101, "sources: c\ncontext: Code\npattern: UDQN eof\n!check flags: 7\nemit eof flag: yes\n"
                 "message: _FILE_ has no licence, last line _LINE#_\n") +
        // Flags last for the run: a silent end-of-file definition after the
        // check resets the licence flag for the next file.
        Def(102, "sources: c\ncontext: Line\npattern: UDQN eof\nclear flags: 7\nemit eof flag: yes\n"
                 "silent flag: yes\n") +
        Def(103, "sources: c\ncontext: Line\npattern: UDQN eof\ncheck flags: 8\nemit eof flag: yes\n") +
        Def(104, "sources: c\ncontext: Line\npattern: eof\n") +
        // Flag 20, set in one file and never cleared, holds in the next.
        Def(105, "sources: c h\ncontext: Line\npattern: HEADER\nset flags: 20\n") +
        Def(106, "sources: c\ncontext: Line\npattern: use\ncheck flags: 20\n"));
  std::string out = File("lic.c", {"/* Copyright 2024 */", "int a;", "use"});
  EXPECT_EQ(Hits(101), 0);
  EXPECT_EQ(Hits(106), 0);
  out = File("none.c", {"int a;", "UDQN eof"});
  EXPECT_EQ(Hits(101), 1);
  EXPECT_NE(out.find("\n    Notice #101: none.c has no licence, last line 2\n"), std::string::npos) << out;
  // An end-of-file definition sees no ordinary line, an ordinary one no end of file.
  EXPECT_EQ(Hits(104), 1);
  EXPECT_EQ(Hits(103), 0);
  out = File("empty.c", {});
  EXPECT_EQ(Hits(101), 2);
  File("a.h", {"HEADER"});
  File("b.c", {"use"});
  EXPECT_EQ(Hits(106), 1);
}

TEST_F(UdqnRun, SourcesSelectFilesByExtension) {
  Rules(Def(100, "sources: java\ncontext: Line\npattern: class\n") +
        Def(101, "sources: c h\ncontext: Line\npattern: class\nactive: no\n") +
        Def(102, "context: Line\npattern: class\n"));  // no sources: listed, never applies
  File("A.java", {"class A {}"});
  File("B.JAVA", {"class B {}"});
  File("c.c", {"class"});
  File("Makefile", {"class"});
  EXPECT_EQ(Hits(100), 2);
  EXPECT_EQ(Hits(101), 0);
  EXPECT_EQ(Hits(102), 0);

  auto strict = NewGlobalData();
  gcd = std::move(strict);
  gcd->cfg.caseSensitiveNames = 1;
  Rules(Def(100, "sources: java\ncontext: Line\npattern: class\n"));
  File("B.JAVA", {"class B {}"});
  File("b.java", {"class B {}"});
  EXPECT_EQ(Hits(100), 1);
}

TEST_F(UdqnRun, PatternFeatures) {
  Rules("REG_ICASE: yes\n" + Def(100, "sources: c\ncontext: Line\npattern: todo\n") + "REG_ICASE: no\n" +
        Def(101, "sources: c\ncontext: Line\npattern: \\b(\\w+) \\1\\b\n") +
        Def(102, "sources: c\ncontext: Line\npattern: [[:digit:]]{3}\n"));
  File("a.c", {"// TODO later", "the the end", "x = 1234;", "todo the them"});
  EXPECT_EQ(Hits(100), 2);
  EXPECT_EQ(Hits(101), 1);
  EXPECT_EQ(Hits(102), 1);
}

TEST_F(UdqnRun, QualitySkipRegionMovesFlagsButCountsNothing) {
  Rules(Def(100, "sources: c\ncontext: Line\npattern: open\nset flags: 3\n") +
        Def(101, "sources: c\ncontext: Line\npattern: close\ncheck flags: 3\n"));
  const std::string out = CaptureOut([&] {
    gcd->drv.currentFileName = "a.c";
    ++gcd->drv.fileSerial;
    ResetState(*gcd);
    gcd->drv.skipQuality = 1;
    ParseLine("open\n", 1, *gcd);
    gcd->drv.skipQuality = 0;
    ParseLine("close\n", 2, *gcd);
  });
  EXPECT_EQ(Hits(100), 0);
  EXPECT_EQ(Hits(101), 1);
  EXPECT_EQ(gcd->notices.run.total, 1);
}

TEST_F(UdqnRun, NothingLoadedCostsNothing) {
  const std::string out = File("a.c", {"int a;"});
  EXPECT_EQ(out, "");
  EXPECT_EQ(gcd->udqn.current, nullptr);
  EXPECT_EQ(gcd->eng.keepContextText, 0);
}

TEST_F(UdqnRun, CatastrophicPatternIsStoppedAndReported) {
  Rules(Def(100, "sources: c\ncontext: Line\npattern: (a+)+$\n") + Def(101, "sources: c\ncontext: Line\npattern: b\n"));
  const std::string line = std::string(2000, 'a') + "b";
  std::string out = File("a.c", {line, line, line});
  EXPECT_EQ(Count(out, "Error: UDQN Identifier 100"), 1u);
  EXPECT_NE(out.find("\n  Error: UDQN Identifier 100 pattern reached the match limit of the regular expression "
                     "library\n         File a.c, line 1\n         The notice is not evaluated for the rest of this "
                     "file.\n\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(Hits(101), 3);  // the other definitions go on
  File("b.c", {line});
  out = File("c.c", {line, line});
  EXPECT_NE(out.find("The notice is not evaluated for the rest of the run.\n"), std::string::npos) << out;
  out = File("d.c", {line});
  EXPECT_EQ(Count(out, "Error:"), 0u);
}

// A file's searches borrow the match record the driver gives the file (its
// result's) and leave the run's alone; the offsets of a match go to the caller.
TEST_F(UdqnRun, SearchesUseTheFilesMatchRecordAndGiveOffsetsToTheCaller) {
  Rules(Def(100, "sources: c\ncontext: Line\npattern: \\b(\\w+) \\1\\b\n"));
  gcd->udqn.runMatchData.reset();  // the loading's test strings used it
  UdqnMatchDataPtr held;
  gcd->udqn.fileMatchData = &held;
  File("a.c", {"x the the end"});
  EXPECT_EQ(Hits(100), 1);
  EXPECT_TRUE(held);
  EXPECT_FALSE(gcd->udqn.runMatchData);
  UdqnMatch found;
  UdqnDefinition& repeat = *get_udqn_ptr(100, gcd->udqn);
  EXPECT_EQ(pcre_match("x the the end", repeat, *gcd, &found), 0);
  EXPECT_EQ(found.start, 2);
  EXPECT_EQ(found.end, 9);
  EXPECT_EQ(pcre_match("no repeat", repeat, *gcd, &found), kUdqnNoMatch);
  EXPECT_EQ(found.start, -1);
  gcd->udqn.fileMatchData = nullptr;
}

}  // namespace
