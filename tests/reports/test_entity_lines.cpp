// Identification lines of functions, types and namespaces, the function
// metric block and the complexity detail, in the output modes.
#include <gtest/gtest.h>

#include "feed_engine.h"
#include "reports/entity_lines.h"
#include "structure/functions.h"

namespace {

// A function that has just been read, current in the run record.
class CurrentFunction : public ::testing::Test {
 protected:
  FeedEngine e{SourceLang::Cpp};
  GlobalData& gcd = e.gcd();
  void SetUp() override {
    gcd.st.fn.name = "Shape::area";
    gcd.st.fn.params = "(int a, int b)";
  }
  std::string Emit() {
    return CaptureOut([&] { EmitFunction(gcd); });
  }
};

TEST_F(CurrentFunction, TextForms) {
  EXPECT_EQ(Emit(), "  Function: Shape::area\n  Parameters: (int a, int b)\n");
  gcd.st.fn.templateFunction = 1;
  gcd.st.fn.templ = "template<T>";
  gcd.st.fn.inlineInClass = 1;
  EXPECT_EQ(Emit(), "  Inline Function: Shape::area\n  Parameters: (int a, int b)\n  Template: template<T>\n");
  gcd.sw.functionListing = 1;
  EXPECT_EQ(Emit(), "  inline template template<T> Shape::area (int a, int b)\n");
  gcd.st.fn.templateFunction = 0;
  gcd.st.fn.inlineInClass = 0;
  EXPECT_EQ(Emit(), "  Shape::area (int a, int b)\n");
}

TEST_F(CurrentFunction, NamesWrapAtTheirWidths) {
  gcd.st.fn.name = std::string(70, 'n');
  const std::string out = Emit();
  EXPECT_EQ(out.substr(0, 2 + 10 + 62 + 1 + 12), "  Function: " + std::string(62, 'n') + "\n" + std::string(12, ' '));
  gcd.st.fn.inlineInClass = 1;
  const std::string inlined = Emit();
  EXPECT_EQ(inlined.substr(0, 19 + 55 + 1 + 19),
            "  Inline Function: " + std::string(55, 'n') + "\n" + std::string(19, ' '));
  gcd.cfg.wrapLongNames = 0;
  EXPECT_EQ(Emit().find('\n'), 19u + 70u);
}

TEST_F(CurrentFunction, OtherModes) {
  gcd.sw.outputMode = OutputMode::Csv;
  EXPECT_EQ(Emit(), "");
  gcd.sw.functionListing = 1;
  EXPECT_EQ(Emit(), "Function,Shape::area,(int a, int b)\n");
  gcd.sw.outputMode = OutputMode::Html;
  gcd.sw.functionListing = 0;
  gcd.st.fn.name = "less<T>";
  const std::string html = Emit();
  EXPECT_NE(html.find("  <b><a href=\"src.x\" target=\"_blank\">Function</a></b>: "
                      "<b><font color=\"#0000FF\">less&lt;T&gt;</font></b>\n"),
            std::string::npos);
  EXPECT_NE(html.find("  <b>Parameters</b>: <b><font color=\"#006600\">(int a, int b)</font></b>\n"),
            std::string::npos);
  // Nothing when functions are only analysed for the classes, or totals only.
  gcd.sw.outputMode = OutputMode::Text;
  gcd.sw.functionsForClassesOnly = 1;
  EXPECT_EQ(Emit(), "");
}

TEST_F(CurrentFunction, BeginAndEndAroundTheNotices) {
  gcd.sw.qualityNotices = 1;
  const std::string begin = CaptureOut([&] { FunctionBegin(gcd); });
  EXPECT_NE(begin.find(" Function Begin Line: 0 "), std::string::npos);
  EXPECT_NE(begin.find("  Function: Shape::area\n  Parameters: (int a, int b)\n"), std::string::npos);
  EXPECT_EQ(CaptureOut([&] { FunctionEnd(gcd); }), "\n  Function: Shape::area\n");
}

TEST_F(CurrentFunction, MetricBlockAndComplexityDetail) {
  gcd.sw.complexity = 1;
  gcd.sw.functionDetail = 1;
  gcd.eng.func.if_count = 2;
  gcd.eng.func.else_count = 1;  // its key is No by default: no row
  gcd.eng.func.and_count = 1;
  FunctionMetrics m;
  m.loc = 5;
  m.eloc = 3;
  m.lloc = 2;
  m.comments = 1;
  m.lines = 6;
  m.parameters = 2;
  m.returns = 1;
  m.cyclomatic = 4;
  EXPECT_EQ(CaptureOut([&] { ShowFunction(m, gcd); }),
            "    Cyclomatic Complexity Vg Detail\n"
            "      Function Base           : 1\n"
            "      Conditional if / else if: 2     \n"
            "      Logical and ( && )      : 1     \n"
            "  Complexity   Param 2       Return 1      Cyclo Vg 4       Total        7\n"
            "  LOC 5        eLOC 3        lLOC 2        Comment 1        Lines        6\n"
            "\n");
  // No detail for a cyclomatic complexity of 1, nor in CSV.
  EXPECT_EQ(CaptureOut([&] { ComplexDetails(1, gcd); }), "");
  gcd.sw.outputMode = OutputMode::Xml;
  EXPECT_EQ(CaptureOut([&] { ComplexDetails(4, gcd); }), " ");
}

TEST(TypeLines, ClassStructInterfaceForms) {
  FeedEngine e(SourceLang::Cpp);
  e.sw().objectMetrics = 1;
  const std::string out = e.Feed({"template <class T> struct S { class Inner { }; };"});
  EXPECT_EQ(out, "  Struct: S\n  Template: template<T>\n  Nested Class: S::Inner\n");
  FeedEngine java(SourceLang::Java);
  java.sw().objectMetrics = 1;
  java.sw().outputMode = OutputMode::Csv;
  EXPECT_EQ(java.Feed({"interface I { }", "class C { }"}), "Interface,I\nClass,C\n");
}

TEST(NamespaceLines, EndLinesBeforeThePop) {
  FeedEngine e(SourceLang::Cpp);
  e.sw().objectMetrics = 1;
  const std::string out = e.Feed({"namespace A { namespace B {", "} }"});
  EXPECT_EQ(out, "  Namespace Begin: A\n  Nested Namespace Begin: A::B\n  Nested Namespace End: A::B\n"
                 "  Namespace End: A\n");
  // Without class analysis no namespace line is written.
  FeedEngine plain(SourceLang::Cpp);
  EXPECT_EQ(plain.Feed({"namespace A { }"}), "");
  // Wrapped at 55 with indent 19.
  FeedEngine wide(SourceLang::Cpp);
  wide.sw().objectMetrics = 1;
  const std::string longName(60, 'q');
  EXPECT_EQ(wide.Feed({"namespace " + longName + " {"}),
            "  Namespace Begin: " + std::string(55, 'q') + "\n" + std::string(19, ' ') + "qqqqq\n");
}

}  // namespace
