// The fast paths of the line scan: the sixteen-byte skips against a byte by
// byte reading, and the lean scan against the scan that looks at every
// character (the one used while the line's text is collected).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "capture_out.h"
#include "common/gcd.h"
#include "engine/line_scan.h"
#include "engine/plain_run.h"

namespace {

// What SkipPlainRun must give, read byte by byte: it may stop earlier only
// at the start of a block that would reach `readable`.
int PlainReference(const std::string& text, int j, unsigned char closer, int* blanks) {
  while (!EndsPlainRun(static_cast<unsigned char>(text[static_cast<std::size_t>(j)]), closer)) {
    if (text[static_cast<std::size_t>(j)] == ' ') ++*blanks;
    ++j;
  }
  return j;
}

TEST(LineScan, SixteenByteSkipsAgreeWithAByteByByteReading) {
  std::mt19937 random(7);
  const std::string alphabet = "ab_Z09 *\"'/\t\r\x01\x0d\x0e\x7f\x80\xc3\xff.-";
  for (int round = 0; round < 3000; ++round) {
    std::string text(static_cast<std::size_t>(random() % 70), 'x');
    for (char& c : text) c = random() % 3 == 0 ? alphabet[random() % alphabet.size()] : 'k';
    text += '\0';
    const int readable = static_cast<int>(text.size());
    const int from = static_cast<int>(random() % text.size());
    for (unsigned char closer : {'*', '"', '\'', '\0'}) {
      int expectedBlanks = 0;
      const int expected = PlainReference(text, from, closer, &expectedBlanks);
      int blanks = 0;
      const int reached = SkipPlainRun(text.data(), from, readable, closer, &blanks);
      ASSERT_LE(reached, expected);
      int rest = 0;
      ASSERT_EQ(PlainReference(text, reached, closer, &rest), expected);
      ASSERT_EQ(blanks + rest, expectedBlanks) << "from " << from << " closer " << int(closer);
      if (reached < expected) {
        ASSERT_GT(reached + 16, readable);
      }
    }
    int word = from;
    while (IsWordByte(static_cast<unsigned char>(text[static_cast<std::size_t>(word)]))) ++word;
    const int reached = SkipWordRun(text.data(), from, readable);
    ASSERT_LE(reached, word);
    if (reached < word) {
      ASSERT_GT(reached + 16, readable);
    }
  }
  // Nothing at or past `readable` is read: a block that would reach it is left alone.
  const std::string bytes = "abcdefghijklmnopqrstuvwxyz";
  EXPECT_EQ(SkipWordRun(bytes.data(), 0, 16), 16);
  EXPECT_EQ(SkipWordRun(bytes.data(), 1, 16), 1);
  int blanks = 0;
  EXPECT_EQ(SkipPlainRun("                 *", 0, 18, '*', &blanks), 16);
  EXPECT_EQ(blanks, 16);
}

TEST(LineScan, CatalogueWordsAreWholeWordsWithinTheCountedLength) {
  const char* line = "if iff return_ returned do for_each while1 _exit sizeof";
  const int len = static_cast<int>(std::string(line).size());
  auto at = [&](const char* word) { return static_cast<int>(std::string(line).find(word)); };
  EXPECT_TRUE(CatalogueWordAt(line, at("if"), len));
  EXPECT_FALSE(CatalogueWordAt(line, at("iff"), len));
  EXPECT_FALSE(CatalogueWordAt(line, at("return_"), len));
  EXPECT_FALSE(CatalogueWordAt(line, at("returned"), len));
  EXPECT_TRUE(CatalogueWordAt(line, at("do "), len));
  EXPECT_FALSE(CatalogueWordAt(line, at("for_each"), len));
  EXPECT_FALSE(CatalogueWordAt(line, at("while1"), len));
  EXPECT_TRUE(CatalogueWordAt(line, at("_exit"), len));
  EXPECT_FALSE(CatalogueWordAt(line, at("sizeof"), len));
  // The counted length cuts the word: "returned" read up to "return".
  EXPECT_TRUE(CatalogueWordAt(line, at("returned"), at("returned") + 6));
}

// One file's lines through a fresh engine; with `collect` the line's text
// is kept, which sends every line through the scan that reads each character.
struct ScanResult {
  std::string types, output, counters;
};

ScanResult Analyse(const std::vector<std::string>& lines, int lang, bool collect, bool checks) {
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  ResetState(*gcd);
  gcd->lang.isC = lang == 0;
  gcd->lang.isCpp = lang == 1;
  gcd->lang.isJava = lang == 2;
  gcd->lang.isCSharp = lang == 3;
  gcd->sw.functionAnalysis = 1;
  gcd->sw.qualityNotices = 1;
  gcd->needs.notices = checks ? NoticeNeed::All : NoticeNeed::None;
  gcd->drv.currentFileName = "scan.c";
  gcd->eng.keepContextText = collect ? 1 : 0;
  ScanResult run;
  run.output = CaptureOut([&] {
    for (const std::string& text : lines) {
      const std::string line = text + "\n";
      ++gcd->drv.lineNumber;
      ++gcd->eng.fc.physical;
      ParseLine(line.c_str(), gcd->drv.lineNumber, *gcd);
      run.types += gcd->eng.lineType;
      gcd->eng.lex.region_flag = 0;
    }
  });
  const FileCounts& fc = gcd->eng.fc;
#define LQA_APPEND_COUNTER(field, label, key) run.counters += std::string(#field) + "=" + std::to_string(fc.field) + " ";
  LQA_FILE_COUNTERS(LQA_APPEND_COUNTER)
#undef LQA_APPEND_COUNTER
  for (const NodeData& f : gcd->lists.functions) run.counters += f.name + " ";
  return run;
}

TEST(LineScan, LeanScanCountsAndReportsWhatTheFullScanDoes) {
  const std::vector<std::string> source = {
      "#include <stdio.h>",
      "#  define MAX(a, b) ((a) > (b) ? (a) : (b))",
      "#region spare   if (x) { }",
      "/* a comment\twith a tab, if while for",
      "   that goes on * and on ** / and ends */ int after_comment;",
      "static int counter_with_a_very_long_name_indeed = 0, other = 1;",
      "struct point { int x, y; };",
      "int f(int a, int *p, char **argv) {",
      "\tif (a < b && c > d || e <= f) return a->b;",
      "\twhile (p->next != NULL) p = p->next; --a; a++; ++a; x--;",
      "\tfor (i = 0; i < n; i++) { s += \"a string \\\" with\\tstuff if\"; }",
      "\tswitch (a) { case 1: return 2; default: break; }",
      "\tc = 'x'; d = '\\''; e = a / b; g = a /b; h = a & b; k = a&&b;",
      "\tx = y ? z : w; v = (int)u; label: goto label;",
      "\tdo { a = a*2; } while (a < 100);",
      "\tint arr[] = {1,2,3}; arr[0] = sizeof(arr) ... ;",
      "\tvoid (*fp)(int, ...) = 0; // if else while",
      "\t\t  \t mixed\tindent = 3;",
      "\tprintf(\"%d\\n\", a); /* inline */ return a;",
      "}",
      "class Shape : public Base { public: virtual void draw() const; private: int n; };",
      "template <typename T> T max_of(T a, T b) { return a < b ? b : a; }",
      "namespace ns { using std::vector; vector<int> v; }",
      "x = new int[3]; delete [] x; throw Error(); try { } catch (...) { }",
      "public class Main { public static void main(String[] args) { for (String s : args) { } } }",
      "import java.util.List; package foo;",
      "\xef\xbb\xbf int bom; \xc3\xa9t\xc3\xa9 = 1;",
      "if(a)b();else c();",
      "enum color { red, green }; typedef enum { a } e_t;",
      "unsigned long long value_with_digits_0123456789_and_more_letters_abcdefghij = 42;",
      "   ",
      "",
      "int last(void) { return 0; }",
  };
  for (int lang = 0; lang < 4; ++lang) {
    for (bool checks : {true, false}) {
      const ScanResult lean = Analyse(source, lang, false, checks);
      const ScanResult full = Analyse(source, lang, true, checks);
      EXPECT_EQ(lean.types, full.types) << lang << checks;
      EXPECT_EQ(lean.counters, full.counters) << lang << checks;
      EXPECT_EQ(lean.output, full.output) << lang << checks;
    }
  }
}

}  // namespace
