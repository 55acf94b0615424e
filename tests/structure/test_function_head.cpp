// Function heads: names, rejections, qualification and parameter texts.
#include <gtest/gtest.h>

#include "engine/macros.h"
#include "feed_engine.h"
#include "structure/functions.h"

namespace {

// The name GetFunction accepts at the first '(' of text, or "" when none.
std::string NameOf(const std::string& text, SourceLang lang = SourceLang::Cpp) {
  FeedEngine e(lang);
  GlobalData& gcd = e.gcd();
  const std::size_t paren = text.find('(');
  GetFunction(text.c_str(), static_cast<int>(paren), gcd);
  return gcd.st.funcname_flag ? gcd.st.fn.name : "";
}

TEST(GetFunction, NamesOfHeads) {
  EXPECT_EQ(NameOf("int main(void)", SourceLang::C), "main");
  EXPECT_EQ(NameOf("static const char *name(int x)", SourceLang::C), "name");
  EXPECT_EQ(NameOf("Outer :: Inner :: run(int)"), "Outer::Inner::run");
  EXPECT_EQ(NameOf("bool Matrix<T>::operator == (const Matrix& m)"), "Matrix<T>::operator ==");
  EXPECT_EQ(NameOf("int operator()(int i)"), "operator ()");
  EXPECT_EQ(NameOf("Foo& operator<<(int i)"), "operator<<");
  EXPECT_EQ(NameOf("Foo::~Foo()"), "Foo::~Foo");
  EXPECT_EQ(NameOf("map<K, V>::iterator Map<K, V>::find(const K& k)"), "Map<K,V>::find");
  EXPECT_EQ(NameOf("void (*signal(int s, void (*f)(int)))(int)", SourceLang::C), "signal");
  EXPECT_EQ(NameOf("int (*handler)(int)", SourceLang::C), "handler");
  EXPECT_EQ(NameOf("void f /* the f */ (int)", SourceLang::C), "f");
  // In C the word operator is a plain name.
  EXPECT_EQ(NameOf("int operator(int x)", SourceLang::C), "operator");
}

TEST(GetFunction, RejectedHeads) {
  EXPECT_EQ(NameOf("if (x)", SourceLang::C), "");
  EXPECT_EQ(NameOf("while (y)", SourceLang::C), "");
  EXPECT_EQ(NameOf("for (;;)", SourceLang::C), "");
  EXPECT_EQ(NameOf("int (x)", SourceLang::C), "");
  EXPECT_EQ(NameOf("int (*fp)", SourceLang::C), "");  // a declarator only
  EXPECT_EQ(NameOf("@SuppressWarnings(\"x\")", SourceLang::Java), "");
  EXPECT_EQ(NameOf("typename result_of<T(Args...)>::type operator()("), "");
  FeedEngine e(SourceLang::C);
  e.gcd().eng.assignment_flag = 1;
  GetFunction("x = f(y)", 5, e.gcd());
  EXPECT_EQ(e.gcd().st.funcname_flag, 0);
}

TEST(GetFunction, MacrosDecorateOrInvoke) {
  FeedEngine e(SourceLang::C);
  GlobalData& gcd = e.gcd();
  AddMacroName("EXPORT", gcd);
  GetFunction("int EXPORT compute(int a)", 18, gcd);
  EXPECT_EQ(gcd.st.fn.name, "compute");
  // A macro followed by more than its parenthesis only decorates the head:
  // the word before it is the name.
  GetFunction("int compute EXPORT EXPORT (int a)", 26, gcd);
  EXPECT_EQ(gcd.st.fn.name, "compute");
  GetFunction("EXPORT(compute)", 6, gcd);
  EXPECT_EQ(gcd.st.funcname_flag, 0);
  EXPECT_EQ(gcd.st.fn.name, "");
}

TEST(GetFunction, UpperCaseFirstTokenIsMarked) {
  FeedEngine e(SourceLang::C);
  GetFunction("DEFINE_THING(a, b)", 12, e.gcd());
  EXPECT_EQ(e.gcd().st.fn.upperCaseName, 1);
  GetFunction("int Area(int a)", 8, e.gcd());
  EXPECT_EQ(e.gcd().st.fn.upperCaseName, 0);
}

TEST(GetFunction, QualifiedByTheOpenTypeOrNamespace) {
  FeedEngine cpp(SourceLang::Cpp);
  cpp.Feed({"namespace geo {", "class Shape {", "  int area() { return 1; }", "};",
            "int Shape::vol() { return 2; }", "int geo::peri() { return 3; }", "}"});
  EXPECT_EQ(cpp.Functions(), (std::vector<std::string>{"geo::Shape::area", "geo::Shape::vol", "geo::peri"}));
  FeedEngine java(SourceLang::Java);
  java.Feed({"class Shape {", "  int area() { return 1; }", "}"});
  EXPECT_EQ(java.Functions(), std::vector<std::string>{"Shape.area"});
}

TEST(PackParams, NormalisedParameterTexts) {
  FeedEngine e(SourceLang::Cpp);
  GlobalData& gcd = e.gcd();
  auto pack = [&](std::string text, const std::string& name = "f") { return packParams(text, name, gcd); };
  EXPECT_EQ(pack("( int a ,  char *b )"), "(int a , char *b)");
  EXPECT_EQ(pack("(int a) : x(a), y(0) {"), "(int a)");
  EXPECT_EQ(pack("(std::string s) : x(s)"), "(std::string s)");
  EXPECT_EQ(pack("(int a) const override"), "(int a)");
  EXPECT_EQ(pack("(int a"), "(int a)");
  EXPECT_EQ(pack("(const X& o) { return", "X::operator="), "(const X& o)");
  gcd.st.fn.nonAnsiParams = 1;
  gcd.st.fn.compilerDirective = 1;
  EXPECT_EQ(pack("(a, b) int a; int b;"), "(a, b) Non-ANSI Parameter Construct Defined By Compiler Directive");
}

TEST(CountParams, CommasOutsideTemplateArguments) {
  EXPECT_EQ(countParams("()"), 0);
  EXPECT_EQ(countParams("(void)"), 0);
  EXPECT_EQ(countParams("(int a)"), 1);
  EXPECT_EQ(countParams("(int a, map<int, int> b)"), 2);
  EXPECT_EQ(countParams("(int (*f)(int, int))"), 2);
}

TEST(FunctionHelpers, UpperCaseAndInterfacePrefix) {
  EXPECT_EQ(IsUpperCase("DEFINE_X_2"), 1);
  EXPECT_EQ(IsUpperCase(""), 1);
  EXPECT_EQ(IsUpperCase("Define"), 0);
  EXPECT_EQ(IsUpperCase("ABC\nlower"), 1);
  std::string name = "I";
  EXPECT_EQ(SetInterface(name), "Interface-I");
  std::string longName(3000, 'x');
  EXPECT_EQ(SetInterface(longName).size(), 2047u);
}

}  // namespace
