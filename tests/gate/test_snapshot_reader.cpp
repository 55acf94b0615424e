// The strict snapshot reader: what it takes, what it refuses, and that no
// damage to a valid snapshot crashes it or makes it accept a half.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/version.h"
#include "gate/snapshot.h"

namespace {

std::string Header(int version = 1, const std::string& lqa = kLqaVersion) {
  return "{\"format\":\"lqa-gate\",\"version\":" + std::to_string(version) + ",\"lqa\":\"" + lqa +
         "\",\"complexityLimit\":10}\n";
}

const std::string kBody =
    "{\"kind\":\"file\",\"path\":\"src/a.c\"}\n"
    "{\"kind\":\"function\",\"path\":\"src/a.c\",\"name\":\"f\",\"signature\":\"(int a)\",\"occurrence\":1,"
    "\"line\":3,\"begin\":3,\"end\":9,\"complexity\":4,\"eloc\":6,\"body\":\"00000000000000ff\"}\n"
    "{\"kind\":\"function\",\"path\":\"src/a.c\",\"name\":\"g\\u00e9\\ud83d\\ude00\",\"signature\":\"()\","
    "\"occurrence\":1,\"line\":12,\"begin\":12,\"end\":14,\"complexity\":1,\"eloc\":2,\"body\":\"0123456789abcdef\"}\n"
    "{\"kind\":\"rule\",\"id\":\"LQA022\",\"message\":\"unbound\\n\"}\n"
    "{\"kind\":\"notice\",\"path\":\"src/a.c\",\"rule\":\"LQA022\",\"keyword\":\"if\",\"entity\":\"g\","
    "\"entityKind\":\"function\",\"function\":1,\"text\":\"0000000000000001\",\"occurrence\":1,\"line\":13}\n"
    "{\"kind\":\"notice\",\"path\":\"src/a.c\",\"rule\":\"LQA022\",\"occurrence\":1,\"line\":1}\n"
    "{\"kind\":\"class\",\"path\":\"src/a.c\",\"name\":\"S\",\"occurrence\":1,\"line\":1}\n";

std::string End(int functions = 2, int classes = 1, int notices = 2) {
  return "{\"kind\":\"end\",\"functions\":" + std::to_string(functions) + ",\"classes\":" + std::to_string(classes) +
         ",\"notices\":" + std::to_string(notices) + "}\n";
}

TEST(SnapshotReader, ReadsEveryRecordKindAndResolvesNoticeFunctions) {
  GateSnapshot s;
  std::string error, warning;
  ASSERT_TRUE(ParseSnapshot(Header() + kBody + End(), s, error, warning)) << error;
  EXPECT_TRUE(warning.empty());
  EXPECT_EQ(s.complexityLimit, 10);
  ASSERT_EQ(s.files.size(), 1u);
  ASSERT_EQ(s.functions.size(), 2u);
  EXPECT_EQ(s.functions[0].signature, "(int a)");
  EXPECT_EQ(s.functions[0].bodyHash, 0xffu);
  EXPECT_EQ(s.functions[1].name, "g\xc3\xa9\xf0\x9f\x98\x80");
  ASSERT_EQ(s.notices.size(), 2u);
  EXPECT_EQ(s.notices[0].function, 1);
  EXPECT_EQ(s.notices[0].entityKind, 'f');
  EXPECT_EQ(NoticeText(s, s.notices[0]), "'if' is not bound with scope braces {} in function g");
  // Members left out take their defaults; the text comes from the rule.
  EXPECT_EQ(s.notices[1].function, -1);
  EXPECT_EQ(s.notices[1].textHash, 0u);
  EXPECT_EQ(NoticeText(s, s.notices[1]), "unbound\n");
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
      "{\"kind\":\"function\",\"path\":\"a\",\"name\":\"f\"}\n",     // members missing
      "{\"kind\":\"notice\",\"path\":\"a\",\"rule\":\"LQA001\",\"entity\":\"f\",\"entityKind\":\"function\","
      "\"function\":5,\"text\":\"0000000000000000\",\"occurrence\":1,\"line\":1}\n",  // no such function
      "{\"kind\":\"class\",\"path\":\"a\",\"name\":\"S\",\"occurrence\":1,\"line\":99999999999999999999}\n",
  };
  for (const std::string& line : bad) EXPECT_FALSE(ParseSnapshot(Header() + line + End(0, 0, 0), s, error, warning)) << line;
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
