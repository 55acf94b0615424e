// The JSON writer: separators and indentation in both styles, string
// escaping of broken and hostile text, numbers JSON cannot hold, and the
// stream target with its buffer and write failures.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "json/json_writer.h"

namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

// One document with every kind of value and nesting, in either style.
void WriteSample(JsonWriter& json) {
  json.BeginObject();
  json.Key("name").String("lqa");
  json.Key("list").BeginArray().Int(1).Int(-2).Bool(true).Null().BeginObject().EndObject().BeginArray().EndArray();
  json.EndArray();
  json.Key("nested").BeginObject().Key("x").Double(0.5).Key("raw").RawValue("[3,4]").EndObject();
  json.EndObject();
}

TEST(JsonWriter, CompactAndPrettyLayout) {
  std::string compact;
  {
    JsonWriter json(compact);
    WriteSample(json);
    EXPECT_TRUE(json.Complete());
  }
  EXPECT_EQ(compact, "{\"name\":\"lqa\",\"list\":[1,-2,true,null,{},[]],\"nested\":{\"x\":0.5,\"raw\":[3,4]}}\n");

  std::string pretty;
  {
    JsonWriter json(pretty, JsonStyle::Pretty);
    WriteSample(json);
  }
  EXPECT_EQ(pretty,
            "{\n"
            "  \"name\": \"lqa\",\n"
            "  \"list\": [\n"
            "    1,\n"
            "    -2,\n"
            "    true,\n"
            "    null,\n"
            "    {},\n"
            "    []\n"
            "  ],\n"
            "  \"nested\": {\n"
            "    \"x\": 0.5,\n"
            "    \"raw\": [3,4]\n"
            "  }\n"
            "}\n");
}

TEST(JsonWriter, TopLevelValuesMakeJsonLines) {
  std::string out;
  JsonWriter json(out);
  for (int i = 0; i < 3; ++i) json.BeginObject().Key("n").Int(i).EndObject();
  json.String("x");
  EXPECT_EQ(out, "{\"n\":0}\n{\"n\":1}\n{\"n\":2}\n\"x\"\n");
  // Raw values assembled in place take their commas like any other.
  std::string arr;
  JsonWriter a(arr);
  a.BeginArray();
  for (int i = 0; i < 3; ++i) {
    a.BeginRawValue() += std::to_string(i);
    a.EndRawValue();
  }
  a.EndArray();
  EXPECT_EQ(arr, "[0,1,2]\n");
}

TEST(JsonWriter, StringsAreEscapedAndBrokenUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Escaped("a\"b\\c/d"), "\"a\\\"b\\\\c/d\"");
  EXPECT_EQ(Escaped(std::string("\b\f\n\r\t\x01\x1f\x7f", 8)), "\"\\b\\f\\n\\r\\t\\u0001\\u001f\x7f\"");
  EXPECT_EQ(Escaped(std::string("a\0b", 3)), "\"a\\u0000b\"");
  // Well-formed sequences of two, three and four bytes are kept.
  EXPECT_EQ(Escaped("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"), "\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\"");
  // A lone continuation byte, an overlong form, a surrogate, a byte that
  // starts nothing, a code point above U+10FFFF and a cut sequence.
  EXPECT_EQ(Escaped("\x80"), "\"?\"");
  EXPECT_EQ(Escaped("\xc0\xaf"), "\"??\"");
  EXPECT_EQ(Escaped("\xe0\x80\x80"), "\"???\"");
  EXPECT_EQ(Escaped("\xed\xa0\x80"), "\"???\"");
  EXPECT_EQ(Escaped("\xff" "a"), "\"?a\"");
  EXPECT_EQ(Escaped("\xf4\x90\x80\x80"), "\"????\"");
  EXPECT_EQ(Escaped("ok\xe2\x82"), "\"ok??\"");
  // Keys are escaped the same way.
  std::string out;
  JsonWriter json(out);
  json.BeginObject().Key("k\"\xff").Int(1).EndObject();
  EXPECT_EQ(out, "{\"k\\\"?\":1}\n");
}

TEST(JsonWriter, NumbersJsonCannotHoldAreNull) {
  std::string out;
  JsonWriter json(out);
  json.BeginArray();
  json.Double(std::nan("")).Double(std::numeric_limits<double>::infinity());
  json.Double(-std::numeric_limits<double>::infinity());
  json.Double(0.1).Double(2.0).Double(1e300).Double(-0.0);
  json.Int(LLONG_MIN).Int(LLONG_MAX).UInt(ULLONG_MAX);
  json.EndArray();
  EXPECT_EQ(out,
            "[null,null,null,0.1,2,1e+300,-0,-9223372036854775808,9223372036854775807,18446744073709551615]\n");
  char digits[24];
  EXPECT_EQ(std::string(digits, WriteJsonInt(digits, LLONG_MIN)), "-9223372036854775808");
  EXPECT_EQ(std::string(digits, WriteJsonInt(digits, 0)), "0");
}

TEST(JsonWriter, StreamTargetMatchesStringTargetPastItsBuffer) {
  std::string expected;
  FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  {
    JsonWriter to_string(expected);
    JsonWriter to_file(f);
    for (JsonWriter* json : {&to_string, &to_file}) {
      json->BeginArray();
      for (int i = 0; i < 20000; ++i) json->BeginObject().Key("line").Int(i).Key("text").String("x\ty").EndObject();
      json->EndArray();
    }
    EXPECT_TRUE(to_file.Flush());
  }
  ASSERT_GT(expected.size(), 1u << 17);
  std::string written(expected.size() + 1, '\0');
  std::rewind(f);
  written.resize(std::fread(written.data(), 1, written.size(), f));
  std::fclose(f);
  EXPECT_EQ(written, expected);
}

TEST(JsonWriter, WriteFailureIsKeptWithItsReason) {
  FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  {
    JsonWriter json(full);
    json.BeginArray();
    for (int i = 0; i < 50000; ++i) json.String("0123456789");
    json.EndArray();
    EXPECT_FALSE(json.Flush());
    EXPECT_FALSE(json.ok());
    EXPECT_EQ(json.failure(), ENOSPC);
  }
  std::fclose(full);
}

#ifndef NDEBUG
TEST(JsonWriterDeathTest, AKeyTwiceInOneObjectStopsDebugBuilds) {
  EXPECT_DEATH(
      {
        std::string out;
        JsonWriter json(out);
        json.BeginObject().Key("a").Int(1).Key("a").Int(2);
      },
      "");
}
#endif

}  // namespace
