// Line classification and the per-file counters of the line engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/gcd.h"

namespace {

enum class Lang { C, Cpp, Java, CSharp, Other };

// Feeds the lines of one file to a fresh engine the way the driver does.
class Engine {
 public:
  explicit Engine(Lang lang = Lang::C) : gcd_(NewGlobalData()) {
    ResetState(*gcd_);
    LanguageState& l = gcd_->lang;
    l.isC = lang == Lang::C;
    l.isCpp = lang == Lang::Cpp;
    l.isJava = lang == Lang::Java;
    l.isCSharp = lang == Lang::CSharp;
    l.isOther = lang == Lang::Other;
  }
  Engine& Feed(const std::vector<std::string>& lines) {
    for (const auto& text : lines) {
      std::string line = text + "\n";
      ++gcd_->drv.lineNumber;
      ++gcd_->eng.fc.physical;
      ParseLine(line.c_str(), gcd_->drv.lineNumber, *gcd_);
      types_ += gcd_->eng.lineType;
      gcd_->eng.lex.region_flag = 0;
    }
    return *this;
  }
  // Feeds a raw line exactly as given (no line feed added).
  Engine& Raw(const std::string& line) {
    ++gcd_->drv.lineNumber;
    ParseLine(line.c_str(), gcd_->drv.lineNumber, *gcd_);
    types_ += gcd_->eng.lineType;
    return *this;
  }
  const FileCounts& fc() const { return gcd_->eng.fc; }
  const LexState& lex() const { return gcd_->eng.lex; }
  GlobalData& gcd() { return *gcd_; }
  // The line type codes of the lines fed so far.
  const std::string& types() const { return types_; }

 private:
  std::unique_ptr<GlobalData> gcd_;
  std::string types_;
};

TEST(ParseLine, BlankLinesIncludingThoseInsideBlockComments) {
  Engine e;
  e.Feed({"", "   \t  ", "/* start", "", "   ", "end */", "\xC3\xA9\xC3\xA9"});
  EXPECT_EQ(e.fc().blank, 5);
  EXPECT_EQ(e.fc().comment, 2);
  EXPECT_EQ(e.fc().loc, 0);
  EXPECT_EQ(e.types(), "BBCBBCB");
}

TEST(ParseLine, CodeWithCommentCountsAsBoth) {
  Engine e;
  e.Feed({"int a; // note"});
  EXPECT_EQ(e.fc().loc, 1);
  EXPECT_EQ(e.fc().comment, 1);
  EXPECT_EQ(LogicalLines(e.fc()), 2);
  EXPECT_EQ(e.types(), "g");
}

TEST(ParseLine, CommentsOnlyAreNotCode) {
  Engine e;
  e.Feed({"/* a */ /* b */", "// x", "   /* one */   ", "/*/ still open", "*/"});
  EXPECT_EQ(e.fc().loc, 0);
  EXPECT_EQ(e.fc().comment, 5);
  EXPECT_EQ(e.types(), "CCCCC");
}

TEST(ParseLine, BraceAndParenOnlyLinesAreNotEffective) {
  Engine e;
  e.Feed({"}", "};", "} else {", "]", "  ) ;", "{ // open", "} /* x */", "{}"});
  EXPECT_EQ(e.fc().loc, 8);
  EXPECT_EQ(e.fc().braceOnlyLines, 4);
  EXPECT_EQ(e.fc().parenOnlyLines, 1);
  EXPECT_EQ(Eloc(e.fc()), 3);
  EXPECT_EQ(e.types(), "NNLLNnnL");
}

TEST(ParseLine, ForHeaderCountsTwoLogicalStatements) {
  Engine e;
  e.Feed({"for (i = 0; i < n; i++) x();"});
  EXPECT_EQ(e.fc().statements, 3);
  EXPECT_EQ(e.fc().fors, 1);
  EXPECT_EQ(Lloc(e.fc()), 2);
  EXPECT_EQ(e.types(), "G");
}

TEST(ParseLine, StringLiteralsAndEscapes) {
  Engine e;
  e.Feed({R"(s = "a \" b";)", R"(t = "x\\";)", R"(u = "one" "two";)"});
  EXPECT_EQ(e.fc().strings, 4);
  EXPECT_EQ(e.lex().in_string, 0);
  // Comment starts inside strings are not comments.
  Engine f;
  f.Feed({R"(p = "/* no */ // no";)"});
  EXPECT_EQ(f.fc().comment, 0);
  EXPECT_EQ(f.fc().strings, 1);
}

TEST(ParseLine, ContinuedStringIsOneLiteral) {
  Engine e;
  e.Feed({"s = \"abc \\", "def\";"});
  EXPECT_EQ(e.fc().strings, 1);
  EXPECT_EQ(e.fc().continuation, 1);
  EXPECT_EQ(e.fc().loc, 2);
  EXPECT_EQ(e.lex().in_string, 0);
}

TEST(ParseLine, ContinuedLineCommentAndDefineGoOn) {
  Engine e;
  e.Feed({"// comment \\", "still comment", "code;"});
  EXPECT_EQ(e.fc().comment, 2);
  EXPECT_EQ(e.fc().loc, 1);
  EXPECT_EQ(e.fc().continuation, 1);
  Engine d;
  d.Feed({"#define X(a) \\"});
  EXPECT_EQ(d.lex().define_flag, 1);
  EXPECT_EQ(d.lex().preproc_flag, 1);
  d.Feed({"  (a + 1)"});
  EXPECT_EQ(d.lex().define_flag, 0);
  EXPECT_EQ(d.fc().defineCount, 1);
  EXPECT_EQ(d.fc().macros, 1);
}

TEST(ParseLine, PreprocessorDirectives) {
  Engine e;
  e.Feed({"#  include <x.h>", "x #include <y.h>", "#include<x.h>", "#ifdef A", "#elif B", "#define Y 1",
          "#error can't stop"});
  EXPECT_EQ(e.fc().preprocessor, 7);
  EXPECT_EQ(e.fc().include, 2);
  EXPECT_EQ(e.fc().defineCount, 1);
  EXPECT_EQ(e.lex().if_directive, 1);
  // The apostrophe of the #error text opened no character literal.
  EXPECT_EQ(e.lex().in_char, 0);
  Engine elif;
  elif.Feed({"#elif B"});
  EXPECT_EQ(elif.lex().if_directive, 0);
  // The directive word is no keyword.
  Engine ifdir;
  ifdir.Feed({"# if (X)"});
  EXPECT_EQ(ifdir.fc().ifs, 0);
}

TEST(ParseLine, LoneSlashAndHighBytes) {
  Engine e;
  e.Feed({"/", "\x80\x81\xFF"});
  EXPECT_EQ(e.fc().loc, 0);
  EXPECT_EQ(e.fc().blank, 1);
  EXPECT_EQ(e.fc().comment, 0);
  EXPECT_EQ(e.types(), " B");
}

TEST(ParseLine, KeywordsNeedTheirLeadAndEnd) {
  Engine e;
  e.Feed({"if (a) x = 1; else if(b) y();", "xif (a) z();", "while(1) { do x(); while (0); }",
          "switch (v) { case 1: break; default : return; }", "return(x);", "return;", "notreturn x;",
          "goto out;", "typedef int T;", "const int c = 1;", "inline int f();", "free(p); q = malloc(4);",
          "exit(1); _exit(2); abort();", "}else {", "}else{"});
  const FileCounts& c = e.fc();
  EXPECT_EQ(c.ifs, 2);
  EXPECT_EQ(c.elses, 2);  // "}else{" has no delimiter after the word
  EXPECT_EQ(c.whiles, 2);
  EXPECT_EQ(c.dos, 1);
  EXPECT_EQ(c.switches, 1);
  EXPECT_EQ(c.cases, 1);
  EXPECT_EQ(c.breaks, 1);
  EXPECT_EQ(c.defaults, 1);
  EXPECT_EQ(c.returns, 3);
  EXPECT_EQ(c.gotos, 1);
  EXPECT_EQ(c.typedefs, 1);
  EXPECT_EQ(c.consts, 1);
  EXPECT_EQ(c.inlines, 1);
  EXPECT_EQ(c.frees, 1);
  EXPECT_EQ(c.allocs, 1);
  EXPECT_EQ(c.exits, 1);
  EXPECT_EQ(c.underscoreExits, 1);
  EXPECT_EQ(c.aborts, 1);
}

TEST(ParseLine, KeywordsInCommentsAndStringsDoNotCount) {
  Engine e;
  e.Feed({"/* if (x) */ s = \"while (1)\"; // for (;;)"});
  EXPECT_EQ(e.fc().ifs, 0);
  EXPECT_EQ(e.fc().whiles, 0);
  EXPECT_EQ(e.fc().fors, 0);
  EXPECT_EQ(e.fc().statements, 1);
}

TEST(ParseLine, EnumCountsOnlyBodies) {
  Engine e;
  e.Feed({"enum Color { Red, Green };", "enum Color c;", "void f(enum Color);", "enum Shape", "{", "  Round,",
          "};"});
  EXPECT_EQ(e.fc().enums, 2);
  // Enum braces leave the scope depth alone.
  EXPECT_EQ(e.lex().function_scope, 0);
}

TEST(ParseLine, LanguageSpecificKeywords) {
  Engine cpp(Lang::Cpp);
  cpp.Feed({"template <class T> class A { };", "template <class T> void f(T);", "p = new int; delete p;",
            "using namespace std;"});
  EXPECT_EQ(cpp.fc().templates, 1);
  EXPECT_EQ(cpp.fc().news, 1);
  EXPECT_EQ(cpp.fc().deletes, 1);
  EXPECT_EQ(cpp.fc().usings, 1);
  Engine c(Lang::C);
  c.Feed({"p = new int; delete p;", "template <class T> class A { };"});
  EXPECT_EQ(c.fc().news, 0);
  EXPECT_EQ(c.fc().deletes, 0);
  EXPECT_EQ(c.fc().templates, 0);
  Engine java(Lang::Java);
  java.Feed({"import java.util.List;", "for (String s : list) {}"});
  EXPECT_EQ(java.fc().import, 1);
  Engine notJava(Lang::Cpp);
  notJava.Feed({"import x;"});
  EXPECT_EQ(notJava.fc().import, 0);
}

TEST(ParseLine, OtherFilesCountOnlyLines) {
  Engine e(Lang::Other);
  e.Feed({"if (x) { y(); }", "", "// c"});
  EXPECT_EQ(e.fc().loc, 1);
  EXPECT_EQ(e.fc().blank, 1);
  EXPECT_EQ(e.fc().comment, 1);
  EXPECT_EQ(e.fc().ifs, 0);
  EXPECT_EQ(e.fc().braceOpen, 0);
  EXPECT_EQ(e.fc().statements, 0);
}

TEST(ParseLine, UnbalancedClosersAreRepaired) {
  Engine e;
  e.Feed({"x = a);", "}}", "{ ( [", "] ) }"});
  EXPECT_EQ(e.fc().parenOpen, e.fc().parenClose);
  EXPECT_EQ(e.fc().braceOpen, e.fc().braceClose);
  EXPECT_LE(e.fc().braceClose, e.fc().braceOpen);
  EXPECT_EQ(e.lex().paren_depth, 0);
  EXPECT_GE(e.lex().function_scope, 0);
}

TEST(ParseLine, CharactersWhitespaceAndTabs) {
  Engine e;
  e.Feed({"\ta b;\r", "  "});
  EXPECT_EQ(e.fc().characters, 5 + 2);
  EXPECT_EQ(e.fc().whitespace, 2 + 1 + 2);
  // Blanks between words of code, comments and strings all count.
  Engine w;
  w.Feed({"if (a)  b = c; // x  y", "s = \"a b\"; /*p  q*/"});
  EXPECT_EQ(w.fc().whitespace, 9 + 6);
}

// Runs of plain characters reach the end of the counted line in every
// lexical context, whatever ends the line: a terminator, CR LF, a CR inside,
// or nothing within the counted length.
TEST(ParseLine, RunsEndAtTheCountedLength) {
  Engine e;
  e.Raw("a  b;\r\n").Raw("x;\ry;  z;").Raw("s = \"p  q").Raw("/* c  d  e");
  EXPECT_EQ(e.fc().statements, 1 + 3 + 0);
  EXPECT_EQ(e.fc().whitespace, 2 + 2 + (2 + 2) + (1 + 2 + 2));
  std::string pairs;
  for (int k = 0; k < 1500; ++k) pairs += "a ";
  Engine longLine;
  longLine.Raw(pairs + ";");
  EXPECT_EQ(longLine.fc().characters, 2047);
  EXPECT_EQ(longLine.fc().whitespace, 1023);
  EXPECT_EQ(longLine.fc().statements, 0);
  Engine longComment;
  longComment.Raw("// " + pairs);
  EXPECT_EQ(longComment.fc().whitespace, 1 + 1022);
}

TEST(ParseLine, CommentRunFallThroughAndPending) {
  Engine e;
  e.Feed({"x;", "// one", "/* fall through */", "", "// drop thru"});
  EXPECT_EQ(e.fc().fallThrough, 2);
  EXPECT_EQ(e.fc().commentRun, 1);
  EXPECT_EQ(e.lex().comment_pending, 1);
  ParseLine(nullptr, 0, e.gcd());
  EXPECT_EQ(e.fc().commentRun, 0);
  EXPECT_EQ(e.lex().comment_pending, 0);
}

TEST(ParseLine, CharacterLiterals) {
  Engine e;
  e.Feed({"c = '\"'; d = '\\''; s = \"x\";", "q = '/'; // c"});
  EXPECT_EQ(e.fc().strings, 1);
  EXPECT_EQ(e.lex().in_char, 0);
  EXPECT_EQ(e.fc().comment, 1);
}

TEST(ParseLine, CSharpVerbatimBackslash) {
  Engine e(Lang::CSharp);
  e.Feed({"string p = @\"\\\"; int x;"});
  EXPECT_EQ(e.fc().strings, 1);
  EXPECT_EQ(e.lex().in_string, 0);
  EXPECT_EQ(e.fc().statements, 2);
}

TEST(ParseLine, RegionDirectiveStopsTheScan) {
  Engine e(Lang::CSharp);
  e.Feed({"#region Members { ( ;"});
  EXPECT_EQ(e.fc().preprocessor, 1);
  EXPECT_EQ(e.fc().braceOpen, 0);
  EXPECT_EQ(e.fc().statements, 0);
}

TEST(ParseLine, KeyStringIsFound) {
  Engine e;
  e.gcd().cfg.keyString = "Copyright";
  e.Feed({"x;"});
  EXPECT_EQ(e.gcd().eng.key_found, 0);
  e.Feed({"/* Copyright 2026 */"});
  EXPECT_EQ(e.gcd().eng.key_found, 1);
}

TEST(ParseLine, LastLineWithoutLineFeedAndLongLines) {
  Engine e;
  e.Raw("return");
  EXPECT_EQ(e.fc().returns, 1);
  EXPECT_EQ(e.fc().loc, 1);
  std::string longLine(2047, '{');
  e.Raw(longLine);
  EXPECT_EQ(e.fc().braceOpen, 2047);
  EXPECT_EQ(e.fc().characters, 6 + 2047);
}

TEST(ParseLine, TotalsAddUpAndCopyBack) {
  auto gcd = NewGlobalData();
  for (int file = 0; file < 2; ++file) {
    ResetState(*gcd);
    gcd->lang.isC = 1;
    ++gcd->lang.cFiles;
    for (const char* l : {"int a;\n", "\n", "// c\n"}) ParseLine(l, 1, *gcd);
    AddTotal(gcd->eng.fc, FileLanguageGroup(gcd->lang), *gcd);
  }
  EXPECT_EQ(gcd->tot.counts.loc, 2);
  EXPECT_EQ(gcd->langTot[kGroupC].loc, 2);
  EXPECT_EQ(gcd->langTot[kGroupC].blanks, 2);
  EXPECT_EQ(gcd->langTot[kGroupC].comments, 2);
  ResetState(*gcd);
  SetTotal(*gcd);
  EXPECT_EQ(gcd->eng.fc.loc, 2);
  EXPECT_EQ(gcd->eng.fc.statements, 2);
  EXPECT_EQ(gcd->tot.files, 2);
}

}  // namespace
