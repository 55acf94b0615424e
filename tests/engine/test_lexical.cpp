// Look-ahead, token readers, single-character lines and text clean-up.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "engine/lexical.h"

namespace {

template <typename Fn>
std::string Capture(Fn fn) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* mem = open_memstream(&data, &size);
  FILE* saved = gLQAOUT;
  gLQAOUT = mem;
  fn();
  gLQAOUT = saved;
  std::fclose(mem);
  std::string text(data, size);
  std::free(data);
  return text;
}

// Token readers take a 2048-byte caller buffer.
struct Token {
  char buf[2048] = {};
};

std::string Tok(char* (*reader)(const char*, int, char*), const char* line, int pos = 0) {
  Token t;
  std::strcpy(t.buf, "stale text");
  const char* r = reader(line, pos, t.buf);
  return r == nullptr ? std::string("<null>") : "[" + std::string(r) + "]";
}

TEST(LexicalNextChar, SkipsBlanksAndComments) {
  const char* a = "x /* c */ (\n";
  EXPECT_EQ(NextChar(a), '(');
  EXPECT_EQ(NextChar("x // c\n"), '\n');
  EXPECT_EQ(NextChar("x /* c\n"), '\n');
  EXPECT_EQ(NextChar("x /* c"), '\0');
  EXPECT_EQ(NextChar("x / 2\n"), '/');
  // "/*/" closes itself; two comments in a row are both skipped.
  EXPECT_EQ(NextChar("x /*/ {\n"), '{');
  EXPECT_EQ(NextChar("x /* a */\t/* b */ ;\n"), ';');
  // The character at the pointer is never the answer.
  EXPECT_EQ(NextChar("(("), '(');
  EXPECT_EQ(NextChar(")"), '\0');
  EXPECT_EQ(NextChar(""), '\0');
}

TEST(LexicalFindCodeChar, StopsAtCommentsAndLineEnd) {
  EXPECT_EQ(FindCodeChar("if (a) {\n", '{'), 1);
  EXPECT_EQ(FindCodeChar("if (a) // {\n", '{'), 0);
  EXPECT_EQ(FindCodeChar("if (a) /* { */ x\n", '{'), 0);
  EXPECT_EQ(FindCodeChar("if (a) /* c */ {\n", '{'), 1);
  EXPECT_EQ(FindCodeChar("if (a) /* c\n", '{'), 0);
  EXPECT_EQ(FindCodeChar("a\n{", '{'), 0);
  EXPECT_EQ(FindCodeChar("a\r{", '{'), 0);
  // A lone '/' is not compared itself; the character after it is.
  EXPECT_EQ(FindCodeChar("a / b", '/'), 0);
  EXPECT_EQ(FindCodeChar("a /{", '{'), 1);
  EXPECT_EQ(FindCodeChar(nullptr, '{'), 0);
}

TEST(LexicalKeywordTermin, AcceptsTerminatorsAndCounts) {
  int count = 0;
  // pos is the index just after "if".
  EXPECT_EQ(KeywordTermin("if(a)\n", 2, &count, '(', '\n'), 1);
  EXPECT_EQ(KeywordTermin("if   (a)\n", 2, &count, '(', '\n'), 1);
  EXPECT_EQ(KeywordTermin("if\n", 2, &count, '(', '\n'), 1);
  EXPECT_EQ(KeywordTermin("if\r\n", 2, &count, '(', '\n'), 1);
  EXPECT_EQ(KeywordTermin("if /* c */\n", 2, &count, '(', '\n'), 1);
  EXPECT_EQ(KeywordTermin("if // c\n", 2, &count, '(', '\n'), 1);
  EXPECT_EQ(count, 6);
  EXPECT_EQ(KeywordTermin("if x\n", 2, &count, '(', '\n'), 0);
  EXPECT_EQ(KeywordTermin("ifdef X\n", 2, &count, '(', '\n'), 0);
  EXPECT_EQ(KeywordTermin("if / 2\n", 2, &count, '(', '\n'), 0);
  EXPECT_EQ(count, 6);
  EXPECT_EQ(KeywordTermin("default :\n", 7, &count, ':', '\n'), 1);
  EXPECT_EQ(KeywordTermin("break;\n", 5, &count, ';', '\n'), 1);
  EXPECT_EQ(count, 8);
  // A position past the end of the text is refused, not read.
  EXPECT_EQ(KeywordTermin("if", 40, &count, '(', '\n'), 0);
}

TEST(LexicalSingleChar, SingleCharacterLines) {
  EXPECT_EQ(SingleChar("}\n", '}'), 1);
  EXPECT_EQ(SingleChar("};\n", '}'), 1);
  EXPECT_EQ(SingleChar("  ) ;\n", ')'), 1);
  EXPECT_EQ(SingleChar("{ // open\n", '{'), 1);
  EXPECT_EQ(SingleChar("} /* x */\n", '}'), 1);
  EXPECT_EQ(SingleChar("\t}\r\n", '}'), 1);
  EXPECT_EQ(SingleChar("}", '}'), 1);
  EXPECT_EQ(SingleChar("} else\n", '}'), 0);
  EXPECT_EQ(SingleChar("{}\n", '{'), 0);
  EXPECT_EQ(SingleChar(");x\n", ')'), 0);
  EXPECT_EQ(SingleChar("\n", '}'), 0);
  EXPECT_EQ(SingleChar("", '}'), 0);
  EXPECT_EQ(SingleChar("{\n", '}'), 0);
  EXPECT_EQ(SingleChar("} /* open\n", '}'), 0);
}

TEST(LexicalTokens, IdentifierTokens) {
  EXPECT_EQ(Tok(GetNextToken, "  (void)\n"), "<null>");
  EXPECT_EQ(Tok(GetNextToken, "  ~Foo()\n"), "[~Foo]");
  EXPECT_EQ(Tok(GetNextToken, "  123abc\n"), "<null>");
  EXPECT_EQ(Tok(GetNextToken, "int main(void)\n", 3), "[main]");
  EXPECT_EQ(Tok(GetNextToken, "/* a*b */ x;\n"), "[x]");
  EXPECT_EQ(Tok(GetNextToken, "/*/ y\n"), "<null>");  // "/*/" opens a comment here
  EXPECT_EQ(Tok(GetNextToken, "   // note\n"), "<null>");
  EXPECT_EQ(Tok(GetNextToken, "  /* open\n"), "<null>");
  EXPECT_EQ(Tok(GetNextToken, "  \n"), "<null>");
  EXPECT_EQ(Tok(GetNextToken, "  \r\n"), "<null>");
  EXPECT_EQ(Tok(GetNextToken, "name:x"), "[name]");
  EXPECT_EQ(Tok(GetNextToken, "a/b"), "[a]");
  EXPECT_EQ(Tok(GetNextToken, nullptr), "<null>");
}

TEST(LexicalTokens, CodeAndRawTokens) {
  EXPECT_EQ(Tok(GetNextCodeToken, "  (void)\n"), "[void]");
  EXPECT_EQ(Tok(GetNextCodeToken, " { ( 42;\n"), "[42]");
  EXPECT_EQ(Tok(GetNextCodeToken, " {\n"), "[]");
  EXPECT_EQ(Tok(GetNextCodeToken, " // x\n"), "<null>");
  EXPECT_EQ(Tok(GetNextRawToken, "  a(b):c d\n"), "[a(b):c]");
  EXPECT_EQ(Tok(GetNextRawToken, " \r x\n"), "[x]");
  EXPECT_EQ(Tok(GetNextRawToken, "  \n"), "<null>");
  EXPECT_EQ(Tok(GetNextRawToken, "  /* c */ \n"), "[]");
  EXPECT_EQ(Tok(GetNextRawToken, "end"), "[end]");
}

TEST(LexicalClasses, OperatorFirstCharAndSysType) {
  for (char c : std::string("!%&(*+,-/<=>[^dn|~")) EXPECT_EQ(is_operator(c), 1) << c;
  for (char c : std::string("a)]{}?.;: \t\"'#")) EXPECT_EQ(is_operator(c), 0) << c;
  EXPECT_EQ(is_operator('\0'), 0);
  EXPECT_EQ(is_operator(static_cast<char>(200)), 0);
  for (char c : std::string("AZaz_~")) EXPECT_EQ(isfirstchar(c), 1) << c;
  for (char c : std::string("09$ (")) EXPECT_EQ(isfirstchar(c), 0) << c;
  EXPECT_EQ(isfirstchar(static_cast<char>(0xE9)), 0);

  auto gcd = NewGlobalData();
  for (const char* w : {"unsigned", "char", "short", "int", "long", "float", "double", "void", "signed", "while",
                        "if", "else", "for"})
    EXPECT_EQ(is_systype(w, *gcd), 1) << w;
  EXPECT_EQ(is_systype("integer", *gcd), 0);
  EXPECT_EQ(is_systype("in", *gcd), 0);
  EXPECT_EQ(is_systype("", *gcd), 0);
  EXPECT_EQ(is_systype(" int", *gcd), 0);
  EXPECT_EQ(is_systype(nullptr, *gcd), 0);
  gcd->eng.assignment_flag = 1;
  EXPECT_EQ(is_systype("int", *gcd), 0);
}

TEST(LexicalClasses, SysTypeDebugWarning) {
  auto gcd = NewGlobalData();
  gcd->drv.lineNumber = 17;
  EXPECT_EQ(Capture([&] { is_systype("while", *gcd); }), "");
  gcd->sw.debug = 1;
  const std::string out = Capture([&] { EXPECT_EQ(is_systype("while", *gcd), 1); });
  EXPECT_EQ(out,
            "*** Debug:\n  Warning: Line No. 17\n           Function name is a system type - while\n"
            "           This may occur if a macro name is equivalent\n"
            "           to a function name.  Functional analysis has\n"
            "           been skipped by LQA.\n\n");
}

TEST(LexicalStrip, TrimAndStripRoutines) {
  char a[] = " \t x ";
  EXPECT_STREQ(Lefttrim(a), "x ");
  char b[] = "x \t\r\n";
  EXPECT_STREQ(Rtrim(b), "x");
  char c[] = " ";
  EXPECT_STREQ(Rtrim(c), " ");  // the first character stays

  char out[2048];
  EXPECT_STREQ(Strip_nrt("int a,int b{", out), "int a, int b");
  EXPECT_STREQ(Strip_nrt("f(\tint a,\r\n  int b)\n", out), "f(int a,   int b)");

  char d[] = " \t one \t\t two  ";
  EXPECT_STREQ(StripChars(d, " \t"), "one two");
  char e[] = "a,,b;c";
  EXPECT_STREQ(StripChars(e, ",;"), "a b c");
  char f[] = " \t ";
  EXPECT_STREQ(StripChars(f, " \t"), " \t ");  // no word: unchanged

  char g[] = "static const int\tvalue\n";
  EXPECT_STREQ(StripStrings(g, "static const"), "int value");
  char h[] = "const static";
  EXPECT_STREQ(StripStrings(h, "static const"), "const static");  // nothing left: unchanged

  char i[] = "a /* x */ b /* y */";
  EXPECT_STREQ(StripCComment(i), "a  b /* y */");
  char j[] = "a /* open";
  EXPECT_STREQ(StripCComment(j), "a /* open");
  char k[] = "a */ b /* c";
  EXPECT_STREQ(StripCComment(k), "a */ b /* c");
  char l[] = "int x; // note // more";
  EXPECT_STREQ(StripCPPComment(l), "int x; ");
  EXPECT_EQ(StripChars(nullptr, " "), nullptr);
  EXPECT_EQ(StripCComment(nullptr), nullptr);
}

// A full line buffer of 2047 characters with no line feed, and one of 2048
// characters with no terminator at all, in heap blocks of exactly 2048 bytes
// so that the address sanitizer sees any read past them.
TEST(LexicalBounds, FullLineBuffersAreNeverOverrun) {
  std::unique_ptr<char[]> full(new char[2048]);
  for (const char fill : {'a', ' ', '*'}) {
    std::memset(full.get(), fill, 2047);
    full[2047] = '\0';
    const char* line = full.get();
    Token t;
    EXPECT_EQ(NextChar(line), fill == ' ' ? '\0' : fill);
    EXPECT_EQ(FindCodeChar(line, '{'), 0);
    EXPECT_EQ(KeywordTermin(line, 2046, nullptr, '(', '\n'), fill == ' ' ? 1 : 0);
    EXPECT_EQ(SingleChar(line, fill), 0);
    const std::string out = Capture([&] {
      GetNextToken(line, 0, t.buf);
      GetNextRawToken(line, 5, t.buf);
      GetNextCodeToken(line, 2047, t.buf);
    });
    EXPECT_EQ(out, "") << fill;
    char copy[2048];
    std::memcpy(copy, line, 2048);
    StripChars(copy, " ");
    StripCComment(copy);
    char nrt[2048];
    Strip_nrt(line, nrt);
    EXPECT_EQ(std::strlen(nrt), 2047u);
  }
  // A comment opener near the end: the search for its end stops at the NUL.
  std::memset(full.get(), ' ', 2047);
  full[2045] = '/';
  full[2046] = '*';
  full[2047] = '\0';
  Token t;
  EXPECT_EQ(Capture([&] { EXPECT_EQ(GetNextToken(full.get(), 0, t.buf), nullptr); }), "");
  EXPECT_EQ(FindCodeChar(full.get(), 'x'), 0);

  std::unique_ptr<char[]> raw(new char[2048]);
  std::memset(raw.get(), 'a', 2048);
  const std::string msg = "  Error: Unexpected line length with no line feed";
  EXPECT_EQ(Capture([&] { EXPECT_EQ(GetNextToken(raw.get(), 0, t.buf), nullptr); }), msg);
  EXPECT_EQ(Capture([&] { EXPECT_EQ(GetNextRawToken(raw.get(), 100, t.buf), nullptr); }), msg);
  std::memset(raw.get(), ' ', 2048);
  EXPECT_EQ(Capture([&] { EXPECT_EQ(GetNextCodeToken(raw.get(), 0, t.buf), nullptr); }), msg);
  EXPECT_EQ(KeywordTermin(raw.get(), 0, nullptr, '(', '\n'), 0);
  EXPECT_EQ(FindCodeChar(raw.get(), '{'), 0);
  // A 2048-character word fills the token buffer without a terminator overflow.
  std::memset(raw.get(), 'w', 2047);
  raw[2047] = '\0';
  EXPECT_NE(GetNextToken(raw.get(), 0, t.buf), nullptr);
  EXPECT_EQ(std::strlen(t.buf), 2047u);
}

}  // namespace
