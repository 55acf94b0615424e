// The strict snapshot reader: what it takes, what it refuses, and that no
// damage to a valid snapshot crashes it or makes it accept a half.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/version.h"
#include "gate/snapshot.h"
#include "test_support.h"

namespace {

std::string Header(int version = 1, const std::string& lqa = kLqaVersion) {
  return "{\"format\":\"lqa-gate\",\"version\":" + std::to_string(version) + ",\"lqa\":\"" + lqa +
         "\",\"complexityLimit\":10}\n";
}

// Two functions, a rule, notices of a function (by its index in the file,
// with a keyword), of the file, of a type, and one outside the files.
const std::string kBody =
    "{\"kind\":\"file\",\"path\":\"src/a.c\"}\n"
    "{\"kind\":\"function\",\"name\":\"f\",\"signature\":\"(int a)\",\"occurrence\":1,"
    "\"line\":3,\"begin\":3,\"end\":9,\"complexity\":4,\"eloc\":6,\"body\":\"00000000000000ff\"}\n"
    "{\"kind\":\"function\",\"name\":\"g\\u00e9\\ud83d\\ude00\",\"signature\":\"()\","
    "\"occurrence\":1,\"line\":12,\"begin\":12,\"end\":14,\"complexity\":1,\"eloc\":2,\"body\":\"0123456789abcdef\"}\n"
    "{\"kind\":\"rule\",\"id\":\"LQA022\",\"message\":\"unbound\\n\"}\n"
    "{\"n\":0,\"l\":13,\"f\":1,\"w\":\"if\",\"t\":\"0000000000000001\"}\n"
    "{\"n\":0,\"l\":1}\n"
    "{\"n\":0,\"l\":2,\"e\":\"S\",\"k\":\"struct\"}\n"
    "{\"kind\":\"notices\",\"path\":\"\"}\n"
    "{\"n\":0,\"l\":1,\"e\":\"S\",\"k\":\"class\"}\n"
    "{\"kind\":\"class\",\"path\":\"src/a.c\",\"name\":\"S\",\"occurrence\":1,\"line\":1}\n";

std::string End(int functions = 2, int classes = 1, int notices = 4) {
  return "{\"kind\":\"end\",\"functions\":" + std::to_string(functions) + ",\"classes\":" + std::to_string(classes) +
         ",\"notices\":" + std::to_string(notices) + "}\n";
}

TEST(SnapshotReader, ReadsEveryRecordKindAndResolvesNoticeFunctions) {
  GateSnapshot s;
  std::string error, warning;
  ASSERT_TRUE(ParseSnapshot(Header() + kBody + End(), s, error, warning)) << error;
  EXPECT_TRUE(warning.empty());
  EXPECT_EQ(s.complexityLimit, 10);
  ASSERT_EQ(s.paths, (std::vector<std::string>{"src/a.c", ""}));
  ASSERT_EQ(s.functions.size(), 2u);
  EXPECT_EQ(s.functions[0].signature, "(int a)");
  EXPECT_EQ(s.functions[0].bodyHash, 0xffu);
  EXPECT_EQ(s.functions[1].name, "g\xc3\xa9\xf0\x9f\x98\x80");
  ASSERT_EQ(s.notices.size(), 4u);
  EXPECT_EQ(s.notices[0].function, 1);
  EXPECT_EQ(s.notices[0].entityKind, 'f');
  EXPECT_EQ(s.notices[0].textHash, 1u);
  EXPECT_EQ(NoticeText(s, s.notices[0]), "'if' is not bound with scope braces {} in function g\xc3\xa9\xf0\x9f\x98\x80");
  // Members left out take their defaults; the text comes from the rule.
  EXPECT_EQ(s.notices[1].function, -1);
  EXPECT_EQ(s.notices[1].textHash, 0u);
  EXPECT_EQ(NoticeText(s, s.notices[1]), "unbound\n");
  EXPECT_EQ(NoticeText(s, s.notices[2]), "unbound\n in struct S");
  // A notice outside the files has the path of its block; names are kept once.
  EXPECT_EQ(s.PathOf(s.notices[3]), "");
  EXPECT_EQ(s.notices[3].entity, s.notices[2].entity);
  EXPECT_EQ(s.RuleOf(s.notices[3]), "LQA022");
  EXPECT_EQ(s.classes.size(), 1u);
}

TEST(SnapshotReader, OtherLqaVersionWarnsOtherFormatVersionRefuses) {
  GateSnapshot s;
  std::string error, warning;
  EXPECT_TRUE(ParseSnapshot(Header(1, "0.1") + kBody + End(), s, error, warning)) << error;
  EXPECT_NE(warning.find("lqa 0.1"), std::string::npos);
  EXPECT_FALSE(ParseSnapshot(Header(2) + kBody + End(), s, error, warning));
  EXPECT_NE(error.find("version 2"), std::string::npos);
  EXPECT_FALSE(ParseSnapshot("{\"format\":\"other\",\"version\":1}\n", s, error, warning));
  EXPECT_NE(error.find("not an lqa gate snapshot"), std::string::npos);
  EXPECT_FALSE(ParseSnapshot("", s, error, warning));
}

TEST(SnapshotReader, RefusesTruncatedAndMalformedFiles) {
  GateSnapshot s;
  std::string error, warning;
  const std::string whole = Header() + kBody + End();
  // Cut anywhere before the end: never accepted.
  for (std::size_t cut = 0; cut + 1 < whole.size(); cut += 7)
    EXPECT_FALSE(ParseSnapshot(whole.substr(0, cut), s, error, warning)) << cut;
  EXPECT_FALSE(ParseSnapshot(Header() + kBody, s, error, warning));                 // no end line
  EXPECT_FALSE(ParseSnapshot(Header() + kBody + End(3), s, error, warning));        // counts differ
  EXPECT_FALSE(ParseSnapshot(Header() + kBody + End() + End(), s, error, warning)); // after the end
  const std::string bad[] = {
      "{\"kind\":\"file\",\"path\":\"a\",\"path\":\"b\"}\n",          // a key twice
      "{\"kind\":\"file\",\"path\":{\"x\":1}}\n",                    // nested
      "{\"kind\":\"file\",\"path\":\"a\"} x\n",                      // trailing text
      "{\"kind\":\"file\",\"path\":\"a\\x\"}\n",                     // bad escape
      "{\"kind\":\"file\",\"path\":\"\\udc00\"}\n",                  // lone low surrogate
      "{\"kind\":\"mystery\"}\n",                                    // unknown kind
      "{\"kind\":\"file\",\"path\":\"a\"}\n{\"kind\":\"function\",\"name\":\"f\"}\n",  // members missing
      "{\"kind\":\"function\",\"name\":\"f\",\"signature\":\"()\",\"occurrence\":1,\"line\":3,\"begin\":3,"
      "\"end\":9,\"complexity\":4,\"eloc\":6,\"body\":\"00000000000000ff\"}\n",  // before any file
      "{\"kind\":\"class\",\"path\":\"a\",\"name\":\"S\",\"occurrence\":1,\"line\":99999999999999999999}\n",
  };
  for (const std::string& line : bad) EXPECT_FALSE(ParseSnapshot(Header() + line + End(0, 0, 0), s, error, warning)) << line;
  // Notice lines: a rule, a file and a function they name must be there,
  // members are known and of their type, an entity has its kind.
  const std::string file = "{\"kind\":\"file\",\"path\":\"a\"}\n";
  const std::string rule = "{\"kind\":\"rule\",\"id\":\"LQA009\",\"message\":\"goto\"}\n";
  const std::string badNotices[] = {
      rule + "{\"n\":0,\"l\":1}\n",                       // before any file
      file + "{\"n\":0,\"l\":1}\n",                       // no such rule
      file + rule + "{\"n\":0,\"l\":1,\"f\":0}\n",         // no such function
      file + rule + "{\"n\":0}\n",                          // no line
      file + rule + "{\"n\":0,\"l\":\"1\"}\n",                // a string for a number
      file + rule + "{\"n\":0,\"l\":1,\"q\":1}\n",         // unknown member
      file + rule + "{\"n\":0,\"l\":1,\"e\":\"S\"}\n",       // an entity without its kind
      file + rule + "{\"n\":0,\"l\":1,\"t\":\"00ff\"}\n",    // a short hash
      file + rule + rule + "{\"n\":0,\"l\":1}\n",           // a rule twice
  };
  for (const std::string& text : badNotices)
    EXPECT_FALSE(ParseSnapshot(Header() + text + End(0, 0, 1), s, error, warning)) << text;
  EXPECT_TRUE(ParseSnapshot(Header() + file + rule + "{\"n\":0,\"l\":1}\n" + End(0, 0, 1), s, error, warning)) << error;
}

TEST(SnapshotReader, DigestLinesStandForTheirFilesOnce) {
  GateSnapshot s;
  std::string error, warning;
  const std::string digest = "{\"kind\":\"digest\",\"path\":\"src/b.c\",\"hash\":\"00000000000000aa\"}\n";
  ASSERT_TRUE(ParseSnapshot(Header() + kBody + digest + End(), s, error, warning)) << error;
  ASSERT_EQ(s.digests.size(), 1u);
  EXPECT_EQ(s.digests.at("src/b.c"), 0xaau);
  // A file digested twice, a digest that is no hash: refused.
  EXPECT_FALSE(ParseSnapshot(Header() + kBody + digest + digest + End(), s, error, warning));
  EXPECT_NE(error.find("twice"), std::string::npos) << error;
  EXPECT_FALSE(ParseSnapshot(Header() + "{\"kind\":\"digest\",\"path\":\"b\",\"hash\":\"aa\"}\n" + End(0, 0, 0), s,
                             error, warning));
  EXPECT_FALSE(ParseSnapshot(Header() + "{\"kind\":\"digest\",\"hash\":\"00000000000000aa\"}\n" + End(0, 0, 0), s,
                             error, warning));
}

TEST(SnapshotReader, ReadsAFileLargerThanItsBufferLineByLine) {
  std::string text = Header() + "{\"kind\":\"rule\",\"id\":\"LQA030\",\"message\":\"tab\"}\n" +
                     "{\"kind\":\"file\",\"path\":\"a.c\"}\n";
  constexpr int kNotices = 80000;  // about 2.5 MB: lines cut by the reader's blocks
  for (int i = 0; i < kNotices; ++i) text += "{\"n\":0,\"l\":" + std::to_string(i + 1) + ",\"t\":\"00000000000000a1\"}\n";
  text += End(0, 0, kNotices);
  TempDir dir;
  GateSnapshot s;
  std::string error, warning;
  ASSERT_TRUE(ReadSnapshot(dir.Write("big.lqagate", text), s, error, warning)) << error;
  ASSERT_EQ(s.notices.size(), static_cast<std::size_t>(kNotices));
  EXPECT_EQ(s.notices.back().line, kNotices);
  EXPECT_EQ(s.notices[40000].textHash, 0xa1u);
  // Cut inside a line past the first block, or without its last line end.
  EXPECT_FALSE(ReadSnapshot(dir.Write("cut.lqagate", text.substr(0, (1u << 20) + 5)), s, error, warning));
  EXPECT_FALSE(ReadSnapshot(dir.Write("end.lqagate", text.substr(0, text.size() - 1)), s, error, warning));
  EXPECT_NE(error.find("truncated"), std::string::npos) << error;
}

TEST(SnapshotReader, DamagedBytesNeverCrash) {
  const std::string whole = Header() + kBody + End();
  std::mt19937 random(12345);
  GateSnapshot s;
  std::string error, warning;
  for (int round = 0; round < 3000; ++round) {
    std::string damaged = whole;
    const int flips = 1 + static_cast<int>(random() % 4);
    for (int k = 0; k < flips; ++k) damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
    ParseSnapshot(damaged, s, error, warning);  // must return, whatever it decides
  }
  SUCCEED();
}

}  // namespace
