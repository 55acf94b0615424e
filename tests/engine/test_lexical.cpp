// Look-ahead, token readers, single-character lines and text clean-up.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "common/gcd.h"
#include "engine/lexical.h"
#include "capture_out.h"

namespace {

using Reader = char* (*)(const char*, int, char*);

std::string Tok(Reader reader, const char* line, int pos = 0) {
  char buf[2048] = "stale text";
  const char* r = reader(line, pos, buf);
  return r == nullptr ? "<null>" : "[" + std::string(r) + "]";
}

TEST(Lexical, LookAheadSkipsComments) {
  EXPECT_EQ(NextChar("x /* c */ ("), '(');
  EXPECT_EQ(NextChar("x // c\n"), '\n');
  EXPECT_EQ(NextChar("x /* c\n"), '\n');
  EXPECT_EQ(NextChar("x / 2"), '/');
  EXPECT_EQ(NextChar("x /*/ {"), '{');  // "/*/" closes itself
  EXPECT_EQ(NextChar(")"), '\0');

  EXPECT_EQ(FindCodeChar("if (a) /* c */ {\n", '{'), 1);
  EXPECT_EQ(FindCodeChar("if (a) // {\n", '{'), 0);
  EXPECT_EQ(FindCodeChar("if (a) /* { */ x\n", '{'), 0);
  EXPECT_EQ(FindCodeChar("a\r{", '{'), 0);
  EXPECT_EQ(FindCodeChar("a / b", '/'), 0);  // a lone '/' is not compared
  EXPECT_EQ(FindCodeChar("a /{", '{'), 1);   // the character after it is
}

TEST(Lexical, KeywordTerminators) {
  int count = 0;
  for (const char* ok : {"if(a)\n", "if   (a)\n", "if\n", "if\r\n", "if /* c */\n", "if // c\n", "if"})
    EXPECT_EQ(KeywordTermin(ok, 2, &count, '(', '\n'), 1) << ok;
  for (const char* bad : {"if x\n", "ifdef X\n", "if / 2\n"})
    EXPECT_EQ(KeywordTermin(bad, 2, &count, '(', '\n'), 0) << bad;
  EXPECT_EQ(count, 7);
  EXPECT_EQ(KeywordTermin("if", 40, &count, '(', '\n'), 0);  // past the text: not read
}

TEST(Lexical, SingleCharacterLines) {
  for (const char* yes : {"}\n", "};\n", "  ) ;\n", "{ // open\n", "} /* x */\n", "\t}\r\n", "}", "} // a /* b\n",
                          "} /* a */ ; /* b */\n", "/\n", " / // c\n"})
    EXPECT_EQ(SingleChar(yes, yes[std::strspn(yes, " \t")]), 1) << yes;
  // A "//" inside a block comment still cuts the line, leaving it open.
  for (const char* no : {"} else\n", "{}\n", ");x\n", "\n", "", "} /* open\n", "} /* a // b */\n", "} /* a */ x\n"})
    EXPECT_EQ(SingleChar(no, no[0] == ')' ? ')' : no[0] == '{' ? '{' : '}'), 0) << no;
  for (const char* no : {"//\n", "/ x\n", "/* / */\n"}) EXPECT_EQ(SingleChar(no, '/'), 0) << no;
  EXPECT_EQ(SingleChar("   \n", '\0'), 0);
  // Only the first 2047 characters count, as a line read into the buffer.
  const std::string padded = "}" + std::string(2046, ' ') + "x";
  EXPECT_EQ(SingleChar(padded.c_str(), '}'), 1);
}

TEST(Lexical, TokenReaders) {
  EXPECT_EQ(Tok(GetNextToken, "  (void)\n"), "<null>");
  EXPECT_EQ(Tok(GetNextCodeToken, "  (void)\n"), "[void]");
  EXPECT_EQ(Tok(GetNextToken, "  ~Foo()\n"), "[~Foo]");
  EXPECT_EQ(Tok(GetNextToken, "  123abc\n"), "<null>");
  EXPECT_EQ(Tok(GetNextToken, "int main(void)\n", 3), "[main]");
  EXPECT_EQ(Tok(GetNextToken, "/* a*b */ x;\n"), "[x]");
  EXPECT_EQ(Tok(GetNextToken, "  /* open\n"), "<null>");
  EXPECT_EQ(Tok(GetNextToken, "   // note\n"), "<null>");
  EXPECT_EQ(Tok(GetNextToken, "  \r\n"), "<null>");
  EXPECT_EQ(Tok(GetNextCodeToken, " {\n"), "[]");
  EXPECT_EQ(Tok(GetNextRawToken, "  a(b):c d\n"), "[a(b):c]");
  EXPECT_EQ(Tok(GetNextRawToken, " \r x\n"), "[x]");
  EXPECT_EQ(Tok(GetNextRawToken, "  \n"), "<null>");
  EXPECT_EQ(Tok(GetNextRawToken, "  /* c */ \n"), "[]");
  EXPECT_EQ(Tok(GetNextToken, nullptr), "<null>");
}

TEST(Lexical, CharacterClassesAndSysTypes) {
  for (int c = -128; c < 128; ++c) {
    const bool op = c > 0 && std::strchr("!%&(*+,-/<=>[^dn|~", c) != nullptr;
    const bool first = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '~';
    EXPECT_EQ(is_operator(static_cast<char>(c)), op ? 1 : 0) << c;
    EXPECT_EQ(isfirstchar(static_cast<char>(c)), first ? 1 : 0) << c;
  }
  auto gcd = NewGlobalData();
  gcd->drv.lineNumber = 17;
  EXPECT_EQ(is_systype("unsigned", *gcd) + is_systype("for", *gcd) + is_systype("void", *gcd), 3);
  EXPECT_EQ(is_systype("integer", *gcd) + is_systype(" int", *gcd) + is_systype("", *gcd), 0);
  gcd->sw.debug = 1;
  EXPECT_EQ(CaptureOut([&] { is_systype("while", *gcd); }),
            "*** Debug:\n  Warning: Line No. 17\n           Function name is a system type - while\n"
            "           This may occur if a macro name is equivalent\n"
            "           to a function name.  Functional analysis has\n"
            "           been skipped by LQA.\n\n");
  gcd->eng.assignment_flag = 1;
  EXPECT_EQ(is_systype("int", *gcd), 0);
}

TEST(Lexical, StripRoutines) {
  char out[2048];
  EXPECT_STREQ(Strip_nrt("int a,int b{", out), "int a, int b");
  EXPECT_STREQ(Strip_nrt("f(\tint a,\r\n", out), "f(int a, ");
  char a[] = "x \t\r\n", b[] = " ";
  EXPECT_STREQ(Rtrim(a), "x");
  EXPECT_STREQ(Rtrim(b), " ");  // the first character stays
  char c[] = " \t one \t\t two  ", d[] = " \t ";
  EXPECT_STREQ(StripChars(c, " \t"), "one two");
  EXPECT_STREQ(StripChars(d, " \t"), " \t ");  // no word: unchanged
  char e[] = "static const int\tvalue\n";
  EXPECT_STREQ(StripStrings(e, "static const"), "int value");
  char f[] = "a /* x */ b /* y */", g[] = "a */ b /* c";
  EXPECT_STREQ(StripCComment(f), "a  b /* y */");
  EXPECT_STREQ(StripCComment(g), "a */ b /* c");
  char h[] = "int x; // note";
  EXPECT_STREQ(StripCPPComment(h), "int x; ");
}

// Heap blocks of exactly 2048 bytes, so that the address sanitizer sees any
// read past a full line buffer.
TEST(Lexical, FullLineBuffersAreNeverOverrun) {
  std::unique_ptr<char[]> line(new char[2048]);
  char tok[2048] = {};
  for (const char fill : {'a', ' ', '*'}) {
    std::memset(line.get(), fill, 2047);
    line[2047] = '\0';
    NextChar(line.get());
    FindCodeChar(line.get(), '{');
    KeywordTermin(line.get(), 2046, nullptr, '(', '\n');
    SingleChar(line.get(), fill);
    EXPECT_EQ(CaptureOut([&] {
      GetNextToken(line.get(), 0, tok);
      GetNextRawToken(line.get(), 5, tok);
      GetNextCodeToken(line.get(), 2047, tok);
    }), "");
  }
  std::memset(line.get(), 'w', 2047);
  EXPECT_EQ(std::strlen(GetNextToken(line.get(), 0, tok)), 2047u);
  line[2045] = '/';
  line[2046] = '*';
  EXPECT_EQ(FindCodeChar(line.get(), 'x'), 0);

  // No terminator within the buffer at all.
  std::memset(line.get(), 'a', 2048);
  const std::string msg = "  Error: Unexpected line length with no line feed";
  EXPECT_EQ(CaptureOut([&] { EXPECT_EQ(GetNextToken(line.get(), 0, tok), nullptr); }), msg);
  std::memset(line.get(), ' ', 2048);
  EXPECT_EQ(CaptureOut([&] { EXPECT_EQ(GetNextCodeToken(line.get(), 9, tok), nullptr); }), msg);
  EXPECT_EQ(KeywordTermin(line.get(), 0, nullptr, '(', '\n') + FindCodeChar(line.get(), '{'), 0);
}

}  // namespace
