// The report writer's byte rule for HTML pages: UTF-8 passes through, every
// other byte above 127 becomes a character reference; other streams and the
// other modes are untouched.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "capture_out.h"
#include "common/output.h"
#include "common/text.h"

namespace {

class HtmlBytes : public ::testing::Test {
 protected:
  void SetUp() override { SetReportBytes(ReportBytes::HtmlUtf8); }
  void TearDown() override { SetReportBytes(ReportBytes::AsIs); }
};

TEST_F(HtmlBytes, ValidSequencesPassAndOtherBytesBecomeReferences) {
  const std::string mixed = "a\xc3\xbc b\xfc c\xe2\x82\xac d\xf0\x9f\x98\x80 \xc3 \xed\xa0\x80 \xc0\xaf \x80";
  EXPECT_EQ(CaptureOut([&] { OutS(mixed.c_str()); }),
            "a\xc3\xbc b&#252; c\xe2\x82\xac d\xf0\x9f\x98\x80 &#195; &#237;&#160;&#128; &#192;&#175; &#128;");
  EXPECT_EQ(CaptureOut([&] { OutF("%s|%d", "\xe9t\xc3\xa9", 7); }), "&#233;t\xc3\xa9|7");
  EXPECT_EQ(CaptureOut([&] { OutN("x\xff\xc3\xbc", 3); }), "x&#255;&#195;");  // the cut sequence counts as broken
  // Past the writer's stack buffer.
  const std::string longText(5000, '\xe9');
  std::string expected;
  for (int i = 0; i < 5000; ++i) expected += "&#233;";
  EXPECT_EQ(CaptureOut([&] { OutF("%s", longText.c_str()); }), expected);
}

TEST_F(HtmlBytes, OnlyTheReportStreamAndOnlyHtmlPages) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* other = open_memstream(&data, &size);
  StreamF(other, "%s", "\xfc");
  std::fclose(other);
  EXPECT_EQ(std::string(data, size), "\xfc");
  std::free(data);
  SetReportBytes(ReportBytes::AsIs);
  EXPECT_EQ(CaptureOut([] { OutF("%s", "\xfc"); }), "\xfc");
}

TEST(Utf8, SequenceLengths) {
  EXPECT_EQ(Utf8SequenceLength(""), 0u);
  EXPECT_EQ(Utf8SequenceLength("a"), 1u);
  EXPECT_EQ(Utf8SequenceLength("\xc3\xbc"), 2u);
  EXPECT_EQ(Utf8SequenceLength("\xc3"), 0u);          // cut short
  EXPECT_EQ(Utf8SequenceLength("\xc1\xbf"), 0u);      // overlong
  EXPECT_EQ(Utf8SequenceLength("\xe0\x9f\xbf"), 0u);  // overlong
  EXPECT_EQ(Utf8SequenceLength("\xed\xbf\xbf"), 0u);  // surrogate
  EXPECT_EQ(Utf8SequenceLength("\xf4\x90\x80\x80"), 0u);  // above U+10FFFF
  EXPECT_EQ(Utf8SequenceLength("\xf4\x8f\xbf\xbf"), 4u);
}

TEST(Decimal, ExtremesAndZero) {
  const auto text = [](int v) {
    char buffer[12];
    char* const end = buffer + sizeof buffer;
    return std::string(DecimalBackwards(v, end), end);
  };
  EXPECT_EQ(text(0), "0");
  EXPECT_EQ(text(-7), "-7");
  EXPECT_EQ(text(1234567), "1234567");
  EXPECT_EQ(text(INT_MAX), "2147483647");
  EXPECT_EQ(text(INT_MIN), "-2147483648");
}

// Every byte above 0x20 comes out once and in order, across the pieces,
// whatever the bytes are (high bytes are kept, control bytes dropped).
TEST(NonBlankBytes, KeptInOrderAcrossPieces) {
  std::string text, expected;
  for (int i = 0; i < 1000; ++i) {
    const char c = static_cast<char>((i * 37) % 256);
    text.push_back(c);
    if (static_cast<unsigned char>(c) > 0x20) expected.push_back(c);
  }
  std::string got;
  int pieces = 0;
  ForNonBlankBytes(text, [&](const unsigned char* kept, std::size_t k) {
    got.append(reinterpret_cast<const char*>(kept), k);
    ++pieces;
  });
  EXPECT_EQ(got, expected);
  EXPECT_EQ(pieces, 4);
  ForNonBlankBytes("", [&](const unsigned char*, std::size_t) { ++pieces; });
  EXPECT_EQ(pieces, 4);
}

}  // namespace
