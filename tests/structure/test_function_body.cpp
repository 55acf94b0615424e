// Function bodies in the line engine: which heads open one, the metrics a
// closed function files, and the roll-up into classes and namespaces.
#include <gtest/gtest.h>

#include "feed_engine.h"
#include "structure/namespace_rollup.h"

namespace {

using Names = std::vector<std::string>;

TEST(FunctionBody, HeadsThatOpenNoFunction) {
  FeedEngine e;
  e.Feed({"int proto(int a);", "extern \"C\" {", "int inner(void) { return 1; }", "}",
          "static struct ops o = { .open = f(1) };", "typedef int (*cb)(int);", "#define M(x) { x; }",
          "int (*handler)(int);", "MODULE_LICENSE(\"GPL\");"});
  EXPECT_EQ(e.Functions(), Names{"inner"});
  EXPECT_EQ(e.gcd().eng.lex.function_scope, 0);
}

TEST(FunctionBody, HeadsOverSeveralLines) {
  FeedEngine e;
  e.Feed({"static int", "spread(int a,", "       int b)", "{", "  return a;", "}", "int name_on_its_line",
          "(int a) { return a; }", "int kr(a, b)", "int a;", "int b;", "{", "  return a;", "}"});
  EXPECT_EQ(e.Functions(), (Names{"spread", "name_on_its_line", "kr"}));
  EXPECT_EQ(e.Function("spread")->text1, "(int a, int b)");
  EXPECT_EQ(e.Function("kr")->text1, "(a, b) Non-ANSI Parameter Construct");
  EXPECT_EQ(e.Function("kr")->parameters, 2);
}

TEST(FunctionBody, MacroInvocationsBeforeAHead) {
  FeedEngine e;
  e.Feed({"DEFINE_THING(a, b)", "static int after_macro(void) { return 0; }", "__printf(2, 3)",
          "void logit(int level, const char *fmt, ...) { }", "void annotated(struct lock *l)",
          "  __acquires(l) __releases(l)", "{", "}"});
  EXPECT_EQ(e.Functions(), (Names{"after_macro", "logit", "annotated"}));
}

TEST(FunctionBody, ConditionalBranchesOpeningTwoHeads) {
  FeedEngine e;
  const std::string out = e.Feed({"#ifdef X", "int f(int a) {", "#else", "int f(int a, int b) {", "#endif",
                                  "  return a;", "}", "int g(void) { return 1; }"});
  // The second brace deepens the first function: it never closes here.
  EXPECT_TRUE(e.Functions().empty());
  EXPECT_EQ(e.gcd().st.functionScopeOpen, 1);
  // A directive inside a head marks its parameters.
  FeedEngine d;
  d.Feed({"int h(int a", "#ifdef Y", "  , int b", "#endif", ") { return 0; }"});
  EXPECT_EQ(d.Function("h")->text1, "(int a , int b) Defined By Compiler Directive");
}

TEST(FunctionBody, MetricsFromTheBraceLineToTheClosingLine) {
  FeedEngine e;
  e.Feed({"/* counts */", "int f(int a, int b)", "{", "  /* inside */", "", "  for (;;) { if (a) return 1; }",
          "  return 0;", "}"});
  const NodeData& f = *e.Function("f");
  EXPECT_EQ(f.loc, 4);       // lines 3, 6, 7, 8
  EXPECT_EQ(f.eloc, 2);      // the two brace lines are not effective
  EXPECT_EQ(f.lloc, 3);      // four ';', the two of the for counting as one
  EXPECT_EQ(f.comments, 2);  // the comment before the function and the one inside
  EXPECT_EQ(f.blanks, 1);
  EXPECT_EQ(f.lines, 6);
  EXPECT_EQ(f.line, 8);
  EXPECT_EQ(FuncBeginLine(f), 3);
  EXPECT_EQ(f.parameters, 2);
  EXPECT_EQ(FuncReturns(f), 2);
  EXPECT_EQ(f.cyclomatic, 3);
  const FileComplexity& cx = e.gcd().eng.fileCx;
  EXPECT_EQ(cx.sumCyclomatic, 3);
  EXPECT_EQ(cx.maxTotal, 3 + 2 + 2);
  EXPECT_EQ(cx.maxLoc, 4);
  EXPECT_EQ(e.fc().functions, 1);
}

TEST(FunctionBody, InterfaceMaximaAreSeparate) {
  FeedEngine e;
  e.Feed({"int many(int a, int b, int c) { return a; }", "int rets(void) { if (x) return 1; return 2; }"});
  const FileComplexity& cx = e.gcd().eng.fileCx;
  EXPECT_EQ(cx.maxParameters + cx.maxReturns, 3 + 2);
  EXPECT_EQ(cx.sumParameters, 3);
  EXPECT_EQ(cx.sumReturns, 3);
}

TEST(FunctionBody, TemplatesAndOperators) {
  FeedEngine e(SourceLang::Cpp);
  e.Feed({"template <class T, typename U>", "T maxof(T a, U b) { return a; }", "struct V {",
          "  int operator()(int i) const { return i; }", "  ~V() { }", "};"});
  EXPECT_EQ(e.Functions(), (Names{"maxof", "V::operator ()", "V::~V"}));
  EXPECT_EQ(e.Function("maxof")->text3, "template<T,U>");
  EXPECT_EQ(e.Function("V::operator ()")->text1, "(int i)");
  EXPECT_EQ(FuncInline(*e.Function("V::~V")), 1);
  EXPECT_EQ(FuncInline(*e.Function("maxof")), 0);
}

TEST(Rollup, OutOfLineFunctionsCreditTheirClass) {
  FeedEngine e(SourceLang::Cpp);
  e.Feed({"class Foo { int g() { return 1; } };", "int Foo::bar(int a)", "{", "  return a;", "}",
          "template <class T> void Stack<T>::push(T x) { }", "void Vec::operator std::string() { }"});
  const NodeData& foo = *e.Class("Foo");
  // g counts only its complexity (its lines are the class's), bar all nine values.
  EXPECT_FLOAT_EQ(ClassFunctions(foo), 2.0f);
  EXPECT_EQ(foo.loc, 1 + 3);
  EXPECT_EQ(foo.parameters, 1);
  EXPECT_EQ(foo.cyclomatic, 2);
  EXPECT_EQ(ClassReturns(foo), 2);
  // Owners never seen as classes get a class record of their own.
  EXPECT_NE(e.Class("Stack"), nullptr);
  EXPECT_NE(e.Class("Vec"), nullptr);
}

TEST(Rollup, NamespaceOwnersMakeNoClass) {
  FeedEngine e(SourceLang::Cpp);
  e.Feed({"namespace ns { void f() { } }", "void ns::g() { }"});
  EXPECT_TRUE(e.Classes().empty());
  EXPECT_EQ(e.Functions(), (Names{"ns::f", "ns::g"}));
}

TEST(Rollup, FunctionsAndClassesIntoNamespaces) {
  FeedEngine e(SourceLang::Cpp);
  e.Feed({"namespace a { namespace b { class C { int x; }; } }", "namespace a { }",
          "void a::f() { }", "void a::b::g() { }"});
  GlobalData& gcd = e.gcd();
  for (const NodeData& f : gcd.lists.functions) Add_Func2namespace(f, gcd);
  for (const NodeData& c : gcd.lists.classes) Add_Class2namespace(c, gcd);
  const NodeData& a = *e.Namespace("a");
  const NodeData& ab = *e.Namespace("a::b");
  EXPECT_FLOAT_EQ(a.ratio, 1.0f);   // a::f; a::b::g has two "::"
  EXPECT_FLOAT_EQ(ab.ratio, 0.0f);
  EXPECT_EQ(NamespaceClasses(ab), 1);  // the longest known prefix
  EXPECT_EQ(NamespaceClasses(a), 0);
  EXPECT_EQ(ClassPrivateAttributes(ab), 1);
  // Nested classes count in their namespace without adding their metrics twice.
  NodeData nested;
  nested.name = "a::b::C::D";
  nested.loc = 7;
  ClassIsNested(nested) = 1;
  Add_Class2namespace(nested, gcd);
  EXPECT_EQ(NamespaceClasses(ab), 2);
  EXPECT_EQ(ab.loc, e.Class("a::b::C")->loc);
  // A class in a namespace record named "Anonymous" is counted nowhere.
  NodeData anonymous;
  anonymous.name = "Anonymous";
  AddNamespaceRecord(anonymous, gcd);
  NodeData inAnonymous;
  inAnonymous.name = "Interface-Anonymous.I";
  Add_Class2namespace(inAnonymous, gcd);
  EXPECT_EQ(NamespaceClasses(*e.Namespace("Anonymous")), 0);
}

TEST(Rollup, AnonymousNamespacesAndUsingDirectives) {
  FeedEngine e(SourceLang::Cpp);
  e.Feed({"using namespace std;", "namespace { int hidden() { return 0; } }", "namespace outer { namespace {",
          "int inner() { return 1; } } }"});
  EXPECT_EQ(e.Functions(), (Names{"hidden", "outer::inner"}));
  EXPECT_EQ(e.Namespaces(), Names{"outer"});
  EXPECT_EQ(e.fc().namespaces, 1);
}

}  // namespace
