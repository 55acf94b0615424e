// Reading UDQN files: fields, checks, messages, includes and flag scoping.
#include <gtest/gtest.h>

#include <string>

#include "capture_out.h"
#include "common/gcd.h"
#include "notices/udqn_internal.h"
#include "test_support.h"

namespace {

std::string Block(int id, const std::string& extra = "", const std::string& pattern = "abc") {
  return "UDQN Begin:\nUDQN Identifier: " + std::to_string(id) + "\nactive: yes\nsources: c\ncontext: Line\n" +
         "pattern: " + pattern + "\nsummary: rule " + std::to_string(id) + "\n" + extra + "UDQN End:\n";
}

class UdqnLoad : public ::testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  std::string path;
  std::string Load(const std::string& content, const std::string& name = "lqa_udqn.cfg") {
    path = dir.Write(name, content);
    return CaptureOut([&] { load_udqn_file(path.c_str(), *gcd); });
  }
  UdqnDefinition* Def(int id) { return get_udqn_ptr(id, gcd->udqn); }
  int Count() const { return static_cast<int>(gcd->udqn.definitions.size()); }
};

TEST_F(UdqnLoad, ReadsEveryField) {
  const std::string out = Load(
      "# a comment line: with a colon\n"
      "  UDQN Begin  :\n"
      "udqn id : 120\n"
      "ACTIVE: On\n"
      "Sources: *.java, .JAVA  cs\n"
      "Context: comment\n"
      "pattern:   std::cout  \r\n"
      "string: use std::cout here\n"
      "message: msg: _LINE_\n"
      "summary: a summary\n"
      "set flags: 1, 1999 7\n"
      "check flags: 2\n"
      "!check flags: 3 4\n"
      "clear flags: 5\n"
      "emit eof flag: yes\n"
      "silent flag: YES\n"
      "unknown key: ignored\n"
      "a line without colon\n"
      "UDQN End:\n");
  EXPECT_EQ(out, "");
  ASSERT_EQ(Count(), 1);
  const UdqnDefinition& d = *Def(120);
  EXPECT_EQ(d.active, 1);
  EXPECT_EQ(d.sources, (std::vector<std::string>{"java", "JAVA", "cs"}));
  EXPECT_EQ(d.context, kUdqnComment);
  EXPECT_EQ(d.pattern, "std::cout");  // only the first colon splits; blanks and CR trimmed
  EXPECT_EQ(d.message, "msg: _LINE_");
  EXPECT_EQ(d.setFlags, (UdqnFlagList{1, 1999, 7}));
  EXPECT_EQ(d.checkFlags, (UdqnFlagList{2}));
  EXPECT_EQ(d.notCheckFlags, (UdqnFlagList{3, 4}));
  EXPECT_EQ(d.clearFlags, (UdqnFlagList{5}));
  EXPECT_EQ(d.emitAtEof, 1);
  EXPECT_EQ(d.silent, 1);
  EXPECT_EQ(d.compileStatus, "Successful Pattern Compile");
  EXPECT_EQ(d.testResult, "Expression Match: Start[5] End[13] Span[9]");
}

TEST_F(UdqnLoad, TestStringResults) {
  // The run's match record grows for a pattern with more groups than it
  // has room for; the offsets stay right before and after.
  const std::string groups = "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)(o)(p)(q)(r)(s)(t)";
  Load(Block(100, "string: xyz\n") + Block(101, "string: abc\n", "^abc$") + Block(102, "", "(unclosed") +
       Block(103, "string: --abcdefghijklmnopqrst\n", groups) + Block(104, "string: xxabc\n"));
  EXPECT_EQ(Def(100)->testResult, "No Match");
  EXPECT_EQ(Def(101)->testResult, "Expression Match: Start[1] End[3] Span[3]");
  EXPECT_EQ(Def(102)->testResult, "Pattern Compile Error");
  EXPECT_EQ(Def(103)->testResult, "Expression Match: Start[3] End[22] Span[20]");
  EXPECT_EQ(Def(104)->testResult, "Expression Match: Start[3] End[5] Span[3]");
  EXPECT_EQ(Def(100)->hits, 0);
}

TEST_F(UdqnLoad, IdentifierMessagesAreExact) {
  const std::string out = Load(Block(42) + Block(150) + Block(150, "", "second"));
  EXPECT_EQ(out,
            "  Error: UDQN Identifiers 42 cannot be less than 100.\n"
            "         Please correct UDQN file " + path + "\n"
            "         to create unique UDQN Ids.\n\n"
            "  Error: Duplicate UDQN Identifier 150\n"
            "         Please correct UDQN file " + path + "\n"
            "         to create unique UDQN Ids.\n\n");
  // The low identifier is used; the duplicate is not taken.
  ASSERT_EQ(Count(), 2);
  EXPECT_NE(Def(42), nullptr);
  EXPECT_EQ(Def(150)->pattern, "abc");
}

TEST_F(UdqnLoad, BadDefinitionsAreReportedAndKeptOrSkippedBetweenGoodOnes) {
  const std::string bad =
      "UDQN Begin:\nudqn id: 7x\nsources: c\ncontext: Line\npattern: a\nUDQN End:\n"         // id not a number
      "UDQN Begin:\nudqn id: 201\nsources: c\ncontext: Lines\npattern: a\nUDQN End:\n"       // bad context
      "UDQN Begin:\nudqn id: 202\nsources: c\ncontext: Code\nUDQN End:\n"                   // no pattern
      "UDQN Begin:\nudqn id: 203\ncontext: Code\npattern: x\nUDQN End:\n"                   // no sources
      "UDQN Begin:\nsources: c\ncontext: Code\npattern: x\nUDQN End:\n"                     // no identifier
      "UDQN Begin:\nudqn id: 204\nsources: c\npattern: x\nUDQN End:\n";                     // no context
  const std::string out = Load(Block(100) + bad + Block(300));
  // Without an identifier a definition cannot be listed; the others are
  // listed and never fire.
  ASSERT_EQ(Count(), 6);
  for (int id : {100, 201, 202, 203, 204, 300}) EXPECT_NE(Def(id), nullptr) << id;
  EXPECT_EQ(Def(201)->context, kUdqnUnknown);
  EXPECT_EQ(Def(202)->testResult, "Pattern Compile Error");
  udqn_build_index(*gcd);
  ASSERT_EQ(gcd->udqn.bySource.size(), 1u);
  EXPECT_EQ(gcd->udqn.bySource["c"].lineDefs.size(), 2u);  // 100 and 300
  EXPECT_NE(out.find("\n  Error: UDQN Identifier is not a number: 7x\n         UDQN file " + path +
                     ", line 10\n         The definition is skipped.\n\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("Error: UDQN context is not Line, Code, Comment or String: Lines\n         UDQN file " + path +
                     ", line 18\n         The notice never fires.\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("Error: UDQN definition has no pattern: Identifier 202\n"), std::string::npos);
  EXPECT_NE(out.find("Error: UDQN definition has no sources: Identifier 203\n"), std::string::npos);
  EXPECT_NE(out.find("Error: UDQN definition has no UDQN Identifier\n"), std::string::npos);
  EXPECT_NE(out.find("Error: UDQN definition has no context (Line, Code, Comment or String): Identifier 204\n"),
            std::string::npos);
}

TEST_F(UdqnLoad, CompileErrorKeepsTheLibraryTextAndTheDefinition) {
  const std::string out = Load(Block(100, "", "a(b"));
  ASSERT_EQ(Count(), 1);
  const UdqnDefinition& d = *Def(100);
  EXPECT_FALSE(d.regex);
  // The offset counts from the start of the user's own pattern.
  EXPECT_EQ(d.compileStatus, "unbalanced () at offset 3");
  EXPECT_NE(out.find("\n  Error: UDQN pattern does not compile: unbalanced () at offset 3\n"
                     "         UDQN file " + path + ", line 6\n         The notice never matches.\n\n"),
            std::string::npos)
      << out;
}

TEST_F(UdqnLoad, FlagNumbersOutsideTheRangeAndBeyondSixtyFourAreSkipped) {
  std::string many;
  for (int i = 1; i <= 70; ++i) many += std::to_string(i) + " ";
  const std::string out = Load(Block(100, "set flags: 0 5 2000 x -3 1999\nclear flags: " + many + "\n"));
  const UdqnDefinition& d = *Def(100);
  EXPECT_EQ(d.setFlags, (UdqnFlagList{5, 1999}));
  EXPECT_EQ(d.clearFlags.size(), 64u);
  EXPECT_EQ(d.clearFlags.back(), 64);
  for (const char* item : {"0", "2000", "x", "-3"})
    EXPECT_NE(out.find(std::string("Error: UDQN flag ") + item + " is not a number from 1 to 1999\n"),
              std::string::npos)
        << item;
  EXPECT_NE(out.find("Error: UDQN flag list holds more than 64 flags\n"), std::string::npos);
}

TEST_F(UdqnLoad, BlockStructureProblems) {
  const std::string out = Load(
      "pattern: stray\n"
      "UDQN End:\n"
      "UDQN Begin:\nudqn id: 100\n"
      "UDQN Begin:\nudqn id: 101\nsources: c\ncontext: Line\npattern: b\nUDQN End:\n"
      "UDQN Begin:\nudqn id: 102\n");
  ASSERT_EQ(Count(), 1);
  EXPECT_NE(Def(101), nullptr);
  EXPECT_NE(out.find("Error: \"pattern\" outside a UDQN Begin ... UDQN End block\n         UDQN file " + path +
                     ", line 1\n         The line is ignored.\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("Error: UDQN End without UDQN Begin\n"), std::string::npos);
  EXPECT_NE(out.find("Error: UDQN Begin before the UDQN End of the definition above it\n"), std::string::npos);
  EXPECT_NE(out.find("Error: UDQN file ends inside a definition\n"), std::string::npos);
  EXPECT_NE(out.find("The unfinished definition is discarded; its end line needs its colon: \"UDQN End:\".\n"),
            std::string::npos);
}

TEST_F(UdqnLoad, OverlongLineSkipsItsDefinitionOnly) {
  const std::string longLine = "pattern: " + std::string(3000, 'a') + "\n";
  const std::string out = Load(Block(100) + "UDQN Begin:\nudqn id: 101\nsources: c\ncontext: Line\n" + longLine +
                               "pattern: ok\nUDQN End:\n" + Block(102));
  EXPECT_EQ(Count(), 2);
  EXPECT_EQ(Def(101), nullptr);
  EXPECT_NE(out.find("Error: UDQN line longer than 2047 characters\n         UDQN file " + path +
                     ", line 13\n         The line is ignored and its definition skipped.\n"),
            std::string::npos)
      << out;
}

TEST_F(UdqnLoad, BinaryBytesNeitherCrashNorInventDefinitions) {
  std::string junk;
  for (int i = 0; i < 5000; ++i) junk += static_cast<char>((i * 131) % 256);
  Load(junk + "\n" + Block(100) + std::string("pat\0tern: x\n", 12) + junk);
  EXPECT_NE(Def(100), nullptr);
}

TEST_F(UdqnLoad, CompileFlagsApplyToLaterPatternsAndStartEmptyInEveryFile) {
  dir.Write("inc.cfg", Block(101) + "REG_ICASE: yes\n" + Block(102));
  const std::string out = Load("REG_ICASE: on\nREG_NOTEOL: yes\n" + Block(100) + "include: inc.cfg\n" + Block(103) +
                               "REG_ICASE: no\n" + Block(104));
  EXPECT_EQ(out, "");
  EXPECT_EQ(Def(100)->compileFlags, kUdqnIcase);
  EXPECT_EQ(Def(100)->matchFlags, kUdqnNotEol);
  EXPECT_EQ(Def(101)->compileFlags, 0);  // the included file starts empty
  EXPECT_EQ(Def(101)->matchFlags, 0);
  EXPECT_EQ(Def(102)->compileFlags, kUdqnIcase);
  EXPECT_EQ(Def(103)->compileFlags, kUdqnIcase);  // the main file's flags resume
  EXPECT_EQ(Def(104)->compileFlags, 0);
}

TEST_F(UdqnLoad, IncludesAnnounceLoopsAndMissingFiles) {
  gcd->sw.qualityNotices = 1;
  const std::string inner = dir.Write("sub/inner.cfg", Block(101) + "include: lqa_udqn.cfg\n");
  dir.Write("second.cfg", Block(102));
  const std::string out = Load(Block(100) + "include: " + inner +
                               "\ninclude: second.cfg\ninclude: sub/inner.cfg\ninclude: missing.cfg\ninclude:\n");
  EXPECT_EQ(Count(), 3);
  EXPECT_TRUE(HasLine(out, "  UDQN File   : " + path)) << out;
  EXPECT_TRUE(HasLine(out, "  UDQN Inc. File: " + inner)) << out;
  // A name without '/' is read from the main file's directory, also inside
  // an included file: here that is the main file itself.
  EXPECT_TRUE(HasLine(out, "  UDQN Inc. File: " + dir.path() + "/second.cfg")) << out;
  EXPECT_NE(out.find("\n  Error: UDQN include loop: " + path + " is already being read\n"
                     "         The include is ignored.\n\n"),
            std::string::npos)
      << out;
  // A name with '/' is taken as it is, from the working directory.
  EXPECT_NE(out.find("\n  Error: Problem opening User Defined Quality Notice file:\n         sub/inner.cfg\n"
                     "         For modification, No such file or directory\n\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("\n  Error: Problem opening User Defined Quality Notice file:\n         " + dir.path() +
                     "/missing.cfg\n         For modification, No such file or directory\n\n"),
            std::string::npos);
  EXPECT_NE(out.find("Error: UDQN include names no file\n"), std::string::npos);
}

TEST_F(UdqnLoad, IndexSelectsActiveCompiledDefinitionsBySource) {
  Load(Block(100) + Block(101, "active: no\n") + Block(102, "", "(") + Block(103, "emit eof flag: yes\n") +
       Block(104, "sources: C c h\n"));
  const UdqnSelection& c = gcd->udqn.bySource.at("c");
  ASSERT_EQ(c.lineDefs.size(), 2u);  // 104 lists "C" and "c" but is selected once
  EXPECT_EQ(c.lineDefs[0]->id, 100);
  EXPECT_EQ(c.lineDefs[1]->id, 104);
  ASSERT_EQ(c.eofDefs.size(), 1u);
  EXPECT_EQ(c.eofDefs[0]->id, 103);
  EXPECT_EQ(gcd->udqn.bySource.at("h").lineDefs.size(), 1u);
  EXPECT_EQ(gcd->udqn.needContext, 0);  // only Line contexts
}

}  // namespace
