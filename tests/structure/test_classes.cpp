// Type heads and bodies: names, templates, base lists, members, nesting.
#include <gtest/gtest.h>

#include "engine/macros.h"
#include "feed_engine.h"
#include "structure/classes.h"

namespace {

TEST(FormatTemplateLine, Compacts) {
  std::string t = "template <class K, typename V>";
  EXPECT_EQ(FormatTemplateLine(t), "template<K,V>");
  std::string op = "operator  ==  (x)";
  EXPECT_EQ(FormatTemplateLine(op), "operator ==(x)");
  std::string word = "classy<typename_t>";  // no whole word to drop
  EXPECT_EQ(FormatTemplateLine(word), "classy<typename_t>");
}

TEST(FormatInheritline, BaseListsOfEachLanguage) {
  FeedEngine cpp(SourceLang::Cpp);
  std::string bases = " public B1, protected B2<int, int> {";
  EXPECT_EQ(FormatInheritline(bases, cpp.gcd()), "B1,B2<int,int>");
  std::string virt = " public virtual Base";
  EXPECT_EQ(FormatInheritline(virt, cpp.gcd()), "Base");
  FeedEngine java(SourceLang::Java);
  std::string both = " extends B implements I, J {";
  EXPECT_EQ(FormatInheritline(both, java.gcd()), "B");
  // The implemented interfaces are no base classes, also without extends.
  std::string implementsOnly = " implements I, J";
  EXPECT_EQ(FormatInheritline(implementsOnly, java.gcd()), "");
  FeedEngine cs(SourceLang::CSharp);
  std::string constrained = " B where T : new()";
  EXPECT_EQ(FormatInheritline(constrained, cs.gcd()), "B");
}

TEST(CountParents, CommasOutsideTemplateArguments) {
  EXPECT_EQ(CountParents(""), 0);
  EXPECT_EQ(CountParents("B1,B2<int,int>"), 2);
  EXPECT_EQ(CountParents("B<int,"), 1);  // an unclosed '<' ends at the text's end
}

TEST(GetClassname, NamesAndPendingNames) {
  FeedEngine e(SourceLang::Cpp);
  GlobalData& gcd = e.gcd();
  GetClassname("class Foo;", 5, gcd);
  EXPECT_EQ(gcd.st.head.name, "Foo");
  EXPECT_EQ(gcd.st.head.forward, 1);
  gcd.st.head = TypeHead{};
  AddMacroName("EXPORT", gcd);
  AddMacroName("__declspec", gcd);
  GetClassname("class EXPORT Foo : public Bar", 5, gcd);
  EXPECT_EQ(gcd.st.head.name, "Foo");
  GetClassname("class __declspec(dllexport) Bar {", 5, gcd);
  EXPECT_EQ(gcd.st.head.name, "Bar");
  GetClassname("struct // comment", 6, gcd);
  EXPECT_EQ(gcd.st.head.namePending, 1);
  GetClassname("template_t<A, B> x", 0, gcd);
  EXPECT_EQ(gcd.st.head.name, "template_t<A,B>");
}

TEST(TypeRecognition, HeadsThatDefineNoType) {
  FeedEngine e(SourceLang::Cpp);
  e.Feed({"class Foo;", "struct stat st;", "void f(struct foo *p);", "struct foo *make(void) { return 0; }",
          "using namespace std;", "enum class Color { Red, Green };", "template <class T, class U> void g(T, U);"});
  EXPECT_TRUE(e.Classes().empty());
  EXPECT_TRUE(e.Namespaces().empty());
  EXPECT_EQ(e.Functions(), std::vector<std::string>{"make"});
  EXPECT_EQ(e.fc().classes + e.fc().structs, 0);
  // In C files class and struct are no structure keywords.
  FeedEngine c(SourceLang::C);
  c.Feed({"struct point { int x; };", "int f(void) { return 0; }"});
  EXPECT_TRUE(c.Classes().empty());
  EXPECT_EQ(c.Functions(), std::vector<std::string>{"f"});
}

TEST(TypeRecognition, NestedTypesMembersAndBases) {
  FeedEngine e(SourceLang::Cpp);
  e.Feed({"template <class T> class Stack : public Base, private Other<int, int> {",
          " public:",
          "  int a, b;",
          "  int *p;",
          "  Stack() : a(0), b(0) {}",
          "  virtual ~Stack();",
          " protected:",
          "  void push(T x);",
          " private:",
          "  struct Node {",
          "    class Leaf { int v; };",
          "    int w;",
          "  } node;",
          "  struct { int q; } anon;",
          "};",
          "template <class T> void Stack<T>::push(T x) { if (x) a = 1; }"});
  EXPECT_EQ(e.Classes(), (std::vector<std::string>{"Stack", "Stack::Node", "Stack::Node::Leaf"}));
  const NodeData& stack = *e.Class("Stack");
  EXPECT_EQ(stack.text1, "template<T>");
  EXPECT_EQ(stack.text2, "Base,Other<int,int>");
  EXPECT_EQ(ClassParents(stack), 2);
  // Nested types' members count in every type around them.
  EXPECT_EQ(ClassPublicAttributes(stack), 3 + 1);  // a, b, p; Node's w
  EXPECT_EQ(ClassPrivateAttributes(stack), 2 + 1);  // node, anon; Leaf's v
  EXPECT_EQ(ClassPublicMethods(stack), 2);    // the constructor and the destructor
  EXPECT_EQ(ClassProtectedMethods(stack), 1);
  EXPECT_EQ(ClassHoldsNested(stack), 1);
  EXPECT_EQ(ClassIsNested(*e.Class("Stack::Node")), 1);
  EXPECT_EQ(ClassIsStruct(*e.Class("Stack::Node")), 1);
  // The class body is lines 1 to 15; push, defined outside, adds its lines.
  EXPECT_EQ(stack.loc, 15 + 1);
  EXPECT_EQ(stack.lines, 15 + 1);
  EXPECT_EQ(stack.cyclomatic, 1 + 2);  // the constructor and push
  EXPECT_FLOAT_EQ(ClassFunctions(stack), 2.0f);
  EXPECT_EQ(e.fc().classes, 2);
  EXPECT_EQ(e.fc().structs, 2);  // Node and the anonymous one
}

TEST(TypeRecognition, ClassesNestedThreeDeepAndNamespaces) {
  FeedEngine e(SourceLang::Cpp);
  e.Feed({"namespace a { namespace b {", "class A { class B { class C {", "  void f() {}", "}; }; };", "} }"});
  EXPECT_EQ(e.Classes(), (std::vector<std::string>{"a::b::A", "a::b::A::B", "a::b::A::B::C"}));
  EXPECT_EQ(e.Functions(), std::vector<std::string>{"a::b::A::B::C::f"});
  // An inline method rolls up into each enclosing class.
  EXPECT_FLOAT_EQ(ClassFunctions(*e.Class("a::b::A")), 1.0f);
  EXPECT_FLOAT_EQ(ClassFunctions(*e.Class("a::b::A::B::C")), 1.0f);
  EXPECT_EQ(e.Namespaces(), (std::vector<std::string>{"a", "a::b"}));
  EXPECT_EQ(e.fc().namespaces, 2);
}

TEST(TypeRecognition, OutOfLineMembersBeforeTheirClass) {
  FeedEngine e(SourceLang::Cpp);
  e.Feed({"void Foo::bar() { }", "class Foo { int x; };"});
  // The owner record made for bar is the class's record once Foo is seen.
  EXPECT_EQ(e.Classes(), std::vector<std::string>{"Foo"});
  EXPECT_FLOAT_EQ(ClassFunctions(*e.Class("Foo")), 1.0f);
  EXPECT_EQ(ClassPrivateAttributes(*e.Class("Foo")), 1);
}

TEST(TypeRecognition, JavaTypes) {
  FeedEngine e(SourceLang::Java);
  e.Feed({"package a.b.c;", "public class A<T> extends B implements I {", "  private int x = 5, y;",
          "  public static final int Z = 1;", "  int w;", "  class Inner { void run() {} }",
          "  private Runnable r = new Runnable() { public void run() {} };", "  public A(int x) { }", "}",
          "interface K extends L, M { void m(); }"});
  EXPECT_EQ(e.Classes(), (std::vector<std::string>{"a.b.c.A<T>", "a.b.c.A<T>.Inner"}));
  EXPECT_EQ(e.Interfaces(), std::vector<std::string>{"Interface-a.b.c.K"});
  EXPECT_EQ(e.gcd().lists.interfaces.head->data->text2, "L,M");
  EXPECT_EQ(e.Class("a.b.c.A<T>")->text2, "B");
  // Each member has its own access word; one without is private.
  const NodeData& a = *e.Class("a.b.c.A<T>");
  EXPECT_EQ(ClassPrivateAttributes(a), 2 + 1 + 1);  // x, y, w, r
  EXPECT_EQ(ClassPublicAttributes(a), 1);
  EXPECT_EQ(ClassPublicMethods(a), 1);
  EXPECT_EQ(e.Functions(), (std::vector<std::string>{"a.b.c.A<T>.Inner.run", "a.b.c.A<T>.A"}));
  EXPECT_EQ(e.Namespaces(), std::vector<std::string>{"a.b.c"});
  EXPECT_EQ(NamespaceIsPackage(*e.Namespace("a.b.c")), 1);
  EXPECT_EQ(e.fc().packages, 1);
}

TEST(TypeRecognition, CSharpTypes) {
  FeedEngine e(SourceLang::CSharp);
  e.Feed({"namespace A.B {", "  namespace C {", "    public class Foo<T> : Bar, IBaz where T : class, new() {",
          "      public void Run() { }", "    }", "  }", "  interface IFoo { void M(); }", "  struct S { public int a; }",
          "}"});
  EXPECT_EQ(e.Namespaces(), (std::vector<std::string>{"A.B", "A.B.C"}));
  EXPECT_EQ(e.Classes(), (std::vector<std::string>{"A.B.C.Foo<T>", "A.B.S"}));
  EXPECT_EQ(e.Class("A.B.C.Foo<T>")->text2, "Bar,IBaz");
  EXPECT_EQ(e.Interfaces(), std::vector<std::string>{"Interface-A.B.IFoo"});
  EXPECT_EQ(e.Functions(), std::vector<std::string>{"A.B.C.Foo<T>.Run"});
  FeedEngine fileScoped(SourceLang::CSharp);
  fileScoped.Feed({"namespace X.Y;", "class Z { }"});
  EXPECT_EQ(fileScoped.Classes(), std::vector<std::string>{"X.Y.Z"});
}

TEST(Nesting, PopsOnlyWhatWasPushed) {
  FeedEngine e(SourceLang::Cpp);
  const std::string out = e.Feed({"class A { };", "namespace N { }", "}", "class B { };"});
  EXPECT_EQ(out.find("Nested Class indexing"), std::string::npos);
  EXPECT_EQ(e.gcd().st.classDepth, 0);
  // A pop without a push is the one real imbalance.
  const std::string error = CaptureOut([&] { PopNestedClass(e.gcd()); });
  EXPECT_EQ(error, "\n  Error: Nested Class indexing\n");
}

TEST(Nesting, DeeperThanTheSavedFramesStaysBalanced) {
  std::vector<std::string> lines;
  for (int i = 0; i < 40; ++i) lines.push_back("struct S" + std::to_string(i) + " {");
  for (int i = 0; i < 40; ++i) lines.push_back("};");
  lines.push_back("int after(void) { return 0; }");
  FeedEngine e(SourceLang::Cpp);
  e.Feed(lines);
  EXPECT_EQ(e.gcd().st.classDepth, 0);
  EXPECT_EQ(e.gcd().st.class_flag, 0);
  EXPECT_EQ(e.Functions(), std::vector<std::string>{"after"});
}

}  // namespace
