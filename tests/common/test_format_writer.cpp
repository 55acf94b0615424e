// The report writer's own formatting must give exactly the bytes of printf.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "common/format_writer.h"

namespace {

std::string Written(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string Written(const char* fmt, ...) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* stream = open_memstream(&data, &size);
  va_list args;
  va_start(args, fmt);
  WriteFormatted(stream, fmt, args);
  va_end(args);
  std::fclose(stream);
  std::string text(data, size);
  std::free(data);
  return text;
}

std::string Printed(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string Printed(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  static char buffer[1 << 16];
  const int n = std::vsnprintf(buffer, sizeof buffer, fmt, args);
  va_end(args);
  return std::string(buffer, static_cast<std::size_t>(n));
}

#define EXPECT_AS_PRINTF(...) EXPECT_EQ(Written(__VA_ARGS__), Printed(__VA_ARGS__))

TEST(FormatWriter, IntegersTextsAndCharacters) {
  for (long long v : {0LL, 1LL, -1LL, 42LL, -42LL, 1234567LL, static_cast<long long>(INT_MAX),
                      static_cast<long long>(INT_MIN)}) {
    const int i = static_cast<int>(v);
    EXPECT_AS_PRINTF("%d|%i|%5d|%-5d|%05d|%2d|%10d|%-7d;", i, i, i, i, i, i, i, i);
    EXPECT_AS_PRINTF("%u|%8u|%-8u|%08u", static_cast<unsigned>(i), static_cast<unsigned>(i),
                     static_cast<unsigned>(i), static_cast<unsigned>(i));
    EXPECT_AS_PRINTF("%ld|%lld|%10lld|%-7lld|%zu", static_cast<long>(v), v, v, v, static_cast<std::size_t>(i));
  }
  EXPECT_AS_PRINTF("%lld %llu %ld", LLONG_MIN, ULLONG_MAX, LONG_MAX);
  EXPECT_AS_PRINTF("%*d|%-*d|%*d", 6, 17, 6, 17, -6, 17);
  const char* volatile none = nullptr;  // unknown to the compiler
  EXPECT_AS_PRINTF("[%s][%10s][%-10s][%.3s][%.*s][%-*s][%*s]", "abc", "abc", "abc", "abcdef", 2, "abcdef", 8, "ab",
                   -8, "ab");
  EXPECT_AS_PRINTF("[%s][%.3s][%.6s][%10s]", none, none, none, none);
  EXPECT_AS_PRINTF("%c|%3c|%-3c|%%|100%%", 'x', 'y', 'z');
  EXPECT_AS_PRINTF("no conversion at all\n");
  const std::string longText(5000, 'q');
  EXPECT_AS_PRINTF("<%s>%-6000s|", longText.c_str(), longText.c_str());
}

TEST(FormatWriter, FixedPointRoundsAsPrintf) {
  const double special[] = {0.0, -0.0, 0.05, 0.15, 0.25, 0.125, 0.375, 2.5, 3.5, -2.5, 1e-300, 4.9e-324, 1e15 + 0.5,
                            123456789.987654321, 1e300, -1e300, DBL_MAX, -DBL_MAX, 0.5, 1.5, 999.95, 9.995,
                            HUGE_VAL, -HUGE_VAL, std::nan(""), -std::nan("")};
  for (double d : special)
    EXPECT_AS_PRINTF("%f|%.0f|%.1f|%.2f|%5.1f|%-7.1f|%07.2f|%12.3f|%.14f|%-20.15f|%10.2f", d, d, d, d, d, d, d, d, d,
                     d, d);
  std::mt19937_64 random(28);
  std::uniform_real_distribution<double> spread(-1e6, 1e6);
  for (int k = 0; k < 20000; ++k) {
    const double d = k % 4 == 0 ? std::ldexp(static_cast<double>(random() % 4096), -static_cast<int>(random() % 12))
                                : spread(random) / std::pow(10.0, static_cast<double>(random() % 8));
    ASSERT_EQ(Written("%.0f %.1f %.2f %.3f %6.1f %-10.1f", d, d, d, d, d, d),
              Printed("%.0f %.1f %.2f %.3f %6.1f %-10.1f", d, d, d, d, d, d))
        << d;
  }
}

// Values at and next to the halfway points of the short precisions, and on
// both sides of the largest values rounded without the full conversion.
TEST(FormatWriter, FixedPointNearHalfwayPoints) {
  std::mt19937_64 random(7);
  for (int k = 0; k < 20000; ++k) {
    const double step = std::pow(10.0, -static_cast<double>(1 + random() % 4));
    const double half = (static_cast<double>(random() % 2000000) - 1000000.0 + 0.5) * step;
    for (double d : {half, std::nextafter(half, 0.0), std::nextafter(half, HUGE_VAL), -half}) {
      ASSERT_EQ(Written("%.0f %.1f %.2f %.3f %.4f %-9.1f %08.2f", d, d, d, d, d, d, d),
                Printed("%.0f %.1f %.2f %.3f %.4f %-9.1f %08.2f", d, d, d, d, d, d, d))
          << d;
    }
  }
  for (double d : {4503599627370495.5, 4503599627370496.0, 450359962737.0495, 450359962737.04956, 9007199254740993.0,
                   1e-320, -1e-320, 0.049999999999999996, 0.95, -0.95, 0.45, 1.0 / 3.0})
    EXPECT_AS_PRINTF("%.0f|%.1f|%.2f|%.3f|%.4f|%7.1f", d, d, d, d, d, d);
}

TEST(FormatWriter, ShortFixedDeclinesWhatItCannotRoundAlone) {
  char text[kShortFixedSize];
  for (double d : {0.25, 2.5, 1e20, HUGE_VAL, std::nan("")}) EXPECT_EQ(ShortFixed(d, d == 0.25 ? 1 : 0, text), 0u) << d;
  EXPECT_EQ(ShortFixed(1.0, 5, text), 0u);
  for (double d : {0.26, -0.04, 12.345, 99.95, 7.0}) {
    const std::size_t n = ShortFixed(d, 1, text);
    ASSERT_GT(n, 0u) << d;
    EXPECT_EQ(std::string(text, n), Printed("%.1f", d));
  }
}

TEST(FormatWriter, OtherConversionsGoToTheLibrary) {
  EXPECT_FALSE(FormattedHere("%x"));
  EXPECT_FALSE(FormattedHere("%5.2d"));
  EXPECT_FALSE(FormattedHere("%+d"));
  EXPECT_FALSE(FormattedHere("%e"));
  EXPECT_FALSE(FormattedHere("%.*f"));
  EXPECT_FALSE(FormattedHere("%05s"));
  EXPECT_FALSE(FormattedHere("ends with %"));
  EXPECT_TRUE(FormattedHere("%-7lld%s%%%c%10.2f%zu"));
  EXPECT_AS_PRINTF("%x|%5.3d|%+d|%e|%g|%#o|%.*f", 255u, 7, 7, 1.5, 0.0001, 8u, 3, 2.0 / 3.0);
}

// Formats are kept in compiled form by address: a buffer that holds another
// format at the same address, and formats too long or with too many pieces
// to keep, still give the bytes of printf.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
TEST(FormatWriter, ReusedAndLargeFormatsAsPrintf) {
  char format[64];
  const char* texts[] = {"%d|%s", "%s|%d", "%5d%%", "%d|%s|tail", "%d|%s"};
  for (int round = 0; round < 3; ++round) {
    for (const char* text : texts) {
      std::snprintf(format, sizeof format, "%s", text);
      const std::string inFormat(format);
      if (inFormat[1] == 's') {
        ASSERT_EQ(Written(format, "ab", round), Printed(inFormat.c_str(), "ab", round)) << text;
      } else if (inFormat.find('s') != std::string::npos) {
        ASSERT_EQ(Written(format, round, "ab"), Printed(inFormat.c_str(), round, "ab")) << text;
      } else {
        ASSERT_EQ(Written(format, round), Printed(inFormat.c_str(), round)) << text;
      }
    }
  }
  EXPECT_AS_PRINTF("%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d|end", 1, 2, 3, 4, 5, 6, 7,
                   8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32,
                   33, 34, 35);
  const std::string longFormat = std::string(300, 'L') + "%d";
  ASSERT_EQ(Written(longFormat.c_str(), 7), Printed(longFormat.c_str(), 7));
}
#pragma GCC diagnostic pop

// Pieces written straight into the stream's buffer interleave with the C
// library's own writes in every buffering mode.
TEST(FormatWriter, BytesKeepTheirPlaceAmongOtherWrites) {
  for (int mode : {_IOFBF, _IOLBF, _IONBF}) {
    FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    std::setvbuf(stream, nullptr, mode, 64);
    std::string expected;
    for (int i = 0; i < 300; ++i) {
      const std::string piece = "piece " + std::to_string(i) + (i % 7 == 0 ? "\n" : " ") + std::string(i % 90, 'x');
      WriteBytes(stream, piece.data(), piece.size());
      std::fprintf(stream, "<%d>", i);
      expected += piece + "<" + std::to_string(i) + ">";
    }
    std::rewind(stream);
    std::string read(expected.size() + 10, '\0');
    read.resize(std::fread(read.data(), 1, read.size(), stream));
    std::fclose(stream);
    EXPECT_EQ(read, expected) << mode;
  }
}

}  // namespace
