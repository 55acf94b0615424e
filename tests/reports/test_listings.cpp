// Project listings of functions, classes, interfaces and namespaces, built
// from records made here through the entity record accessors.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture_out.h"
#include "common/gcd.h"
#include "common/output.h"
#include "reports/entity_listing.h"
#include "structure/entity_records.h"
#include "test_support.h"

namespace {

const char* kFile = "src/shapes.cpp";

NodeData Function(const std::string& name, int loc, int eloc, int lloc, int comments, int params, int returns,
                  int cyclo, const std::string& paramText = "(int a, int b)") {
  NodeData r;
  r.name = name;
  r.text1 = paramText;
  r.fileName = kFile;
  r.line = 10;
  r.loc = loc;
  r.eloc = eloc;
  r.lloc = lloc;
  r.comments = comments;
  r.blanks = 1;
  r.lines = loc + comments + 1;
  r.parameters = params;
  FuncReturns(r) = returns;
  r.cyclomatic = cyclo;
  return r;
}

NodeData Class(const std::string& name, int loc, bool nested = false, bool isStruct = false) {
  NodeData r;
  r.name = name;
  r.fileName = kFile;
  r.loc = loc;
  r.eloc = loc - 1;
  r.lloc = loc / 2;
  r.lines = loc + 2;
  ClassPublicMethods(r) = 2;
  ClassPrivateMethods(r) = 1;
  ClassPublicAttributes(r) = 1;
  ClassProtectedAttributes(r) = 3;
  ClassIsNested(r) = nested ? 1 : 0;
  ClassIsStruct(r) = isStruct ? 1 : 0;
  return r;
}

class Listings : public ::testing::Test {
 protected:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  void Add(Llist<NodeData>& list, NodeData r) { AddListNode(0, std::move(r), list, *gcd); }
  std::string Functions() {
    return CaptureOut([&] { ShowProjectFunctionSummary(*gcd); });
  }
};

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out(1);
  for (char c : line) {
    if (c == ',') out.emplace_back();
    else out.back().push_back(c);
  }
  return out;
}

std::string LineStarting(const std::string& text, const std::string& prefix) {
  for (const std::string& line : Lines(text))
    if (line.rfind(prefix, 0) == 0) return line;
  return "";
}

TEST_F(Listings, OneFunctionIsItsOwnTotalAverageMaximumAndMinimum) {
  Add(gcd->lists.functions, Function("Shape::area", 12, 10, 8, 4, 2, 1, 3));
  const std::string out = Functions();
  EXPECT_NE(out.find("~~ Project Functional Metrics ~~"), std::string::npos);
  EXPECT_TRUE(HasLine(out, "  Function: Shape::area")) << out;
  EXPECT_TRUE(HasLine(out, "  Parameters: (int a, int b)"));
  EXPECT_TRUE(HasLine(out, "  Total: Functions  "));
  EXPECT_TRUE(HasLine(out, "  LOC 12       eLOC 10       lLOC 8        InCmp 3        CycloCmp       3"));
  EXPECT_TRUE(HasLine(out, "  Total Functions .......:          1  Total Physical Lines ..:         17"));
  EXPECT_TRUE(HasLine(out, "  Avg LOC ...............:      12.00  Avg eLOC ..............:      10.00"));
  EXPECT_TRUE(HasLine(out, "  Max LOC ...............:         12"));
  EXPECT_TRUE(HasLine(out, "  Min LOC ...............:         12"));
  EXPECT_TRUE(HasLine(out, "  Min Comment Lines .....:          4  Min Total Lines .......:         17"));
  // No sort key: no sort line.
  EXPECT_EQ(out.find("Sorted By"), std::string::npos);
}

TEST_F(Listings, NamesThatCannotBeginAnIdentifierAreCountedButNotListed) {
  for (const char* name : {"alpha", "_under", "~Dtor", "9digit", ":colon"})
    Add(gcd->lists.functions, Function(name, 5, 5, 5, 0, 0, 0, 1));
  const std::string out = Functions();
  EXPECT_TRUE(HasLine(out, "  Function: alpha"));
  EXPECT_TRUE(HasLine(out, "  Function: _under"));
  EXPECT_TRUE(HasLine(out, "  Function: ~Dtor"));
  EXPECT_EQ(out.find("9digit"), std::string::npos);
  EXPECT_EQ(out.find(":colon"), std::string::npos);
  EXPECT_TRUE(HasLine(out, "  Total Functions .......:          5  Total Physical Lines ..:         30")) << out;
}

TEST_F(Listings, SortKeyReordersTheListAndWritesTheSortLine) {
  Add(gcd->lists.functions, Function("low", 5, 5, 5, 0, 0, 0, 1));
  Add(gcd->lists.functions, Function("high", 50, 5, 5, 0, 0, 0, 9));
  Add(gcd->lists.functions, Function("mid", 20, 5, 5, 0, 0, 0, 4));
  gcd->sw.sortKey = 5;
  gcd->sw.sortDescending = 1;
  const std::string out = Functions();
  EXPECT_NE(out.find("Sorted By: Cylcomatic Complexity - Descending\n"), std::string::npos);
  EXPECT_LT(out.find("Function: high"), out.find("Function: mid"));
  EXPECT_LT(out.find("Function: mid"), out.find("Function: low"));
  // Maximum and minimum come from different records.
  EXPECT_TRUE(HasLine(out, "  Max Cyclomatic Comp. ..:          9  Max Interface Comp. ...:          0"));
  EXPECT_TRUE(HasLine(out, "  Min Cyclomatic Comp. ..:          1  Min Interface Comp. ...:          0"));

  gcd->sw.outputMode = OutputMode::Xml;
  const std::string xml = Functions();
  EXPECT_NE(xml.find("<sort_mode>Cylcomatic Complexity</sort_mode>\n<sort_direction>Descending</sort_direction>\n"),
            std::string::npos);
}

TEST_F(Listings, SummariesOnlyWithTl) {
  Add(gcd->lists.functions, Function("f", 5, 5, 5, 0, 0, 0, 1));
  gcd->sw.totalsSummariesOnly = 1;
  const std::string out = Functions();
  EXPECT_EQ(out.find("Function: f"), std::string::npos);
  EXPECT_NE(out.find("~~ Project Functional Analysis ~~"), std::string::npos);
}

TEST_F(Listings, CsvRowsKeepTheColumnsOfTheirHeader) {
  Add(gcd->lists.functions, Function("operator,", 10, 8, 6, 4, 2, 1, 2, "(int a, int b)"));
  Add(gcd->lists.functions, Function("g", 20, 0, 6, 2, 0, 1, 4, "()"));
  gcd->sw.outputMode = OutputMode::Csv;
  const std::string out = Functions();
  const std::string header = LineStarting(out, "Type,Name,Params,");
  ASSERT_FALSE(header.empty()) << out;
  EXPECT_NE(out.find("\nProject Functional Metrics\nCount,2\nType,Name"), std::string::npos);
  const std::string row = LineStarting(out, "Function,operator ");
  EXPECT_EQ(row, "Function,operator ,(int a; int b),10,8,6,4,0.50,15,2,1,3,2,5");
  for (const char* prefix : {"Function,g,", "Function,Total,", "Function,Average,", "Function,Maximum,",
                             "Function,Minimum,"})
    EXPECT_EQ(Fields(LineStarting(out, prefix)).size(), Fields(header).size()) << prefix;
  // The total's ratio column is the sum of the ratios; eLOC 0 gives ratio 0.
  EXPECT_EQ(LineStarting(out, "Function,Total,"), "Function,Total,,30,8,12,6,0.50,38,2,2,4,6,10");
  EXPECT_EQ(LineStarting(out, "Function,Average,"),
            "Function,Average,,15.00,4.00,6.00,3.00,0.25,19.00,1.00,1.00,2.00,3.00,5.00");
  EXPECT_EQ(LineStarting(out, "Function,Minimum,"), "Function,Minimum,,10,0,6,2,0.00,15,0,1,1,2,5");
  EXPECT_NE(out.find(",Function Pts.,"), std::string::npos);
}

TEST_F(Listings, NestedClassesChangeTheHeaderAndTheNote) {
  Add(gcd->lists.classes, Class("Outer", 30));
  Add(gcd->lists.classes, Class("Outer::Inner", 10, true, true));
  const std::string out = CaptureOut([&] { ShowProjectClassSummary(*gcd); });
  EXPECT_NE(out.find("~~ Project Class/Struct Metrics ~~"), std::string::npos);
  EXPECT_NE(out.find("Parent LOC Metrics Include Nested LOC Metrics\n"), std::string::npos);
  EXPECT_TRUE(HasLine(out, "  Class: Outer"));
  EXPECT_TRUE(HasLine(out, "  Nested Struct: Outer::Inner"));
  EXPECT_TRUE(HasLine(out, "  Attributes   Publ 1        Prot 3        Private 0        Total        4"));
  EXPECT_TRUE(HasLine(out, "  Total: All Parent Classes/Structs"));
  EXPECT_TRUE(HasLine(out, "  Total Classes/Structs .:          2  Total Nested Classes ..:          1"));
  EXPECT_TRUE(HasLine(out, "  Total Physical Lines ..:         44  Total Methods .........:          6"));
  EXPECT_TRUE(HasLine(out, "  Min Protected Methods .:          0  Min Protected Attrib. .:          3"));

  gcd->sw.outputMode = OutputMode::Csv;
  const std::string csv = CaptureOut([&] { ShowProjectClassSummary(*gcd); });
  EXPECT_NE(csv.find("\nProject Class Metrics\nClass/Struct Metrics Include Nested Class/Struct Metrics\nClasses,2\n"),
            std::string::npos);
  const std::string header = LineStarting(csv, "Type,Name,");
  for (const char* prefix : {"Class,Outer,", "Class,Outer::Inner,", "Class,Total,", "Class,Minimum,"})
    EXPECT_EQ(Fields(LineStarting(csv, prefix)).size(), Fields(header).size()) << prefix;

  gcd->sw.outputMode = OutputMode::Xml;
  const std::string xml = CaptureOut([&] { ShowProjectClassSummary(*gcd); });
  EXPECT_NE(xml.find("<nested_struct>\n<name>Outer::Inner</name>\n"), std::string::npos);
  EXPECT_NE(xml.find("<total_all_parent_classes_structs>"), std::string::npos);
  EXPECT_NE(xml.find("</total_all_parent_classes_structs>\n</report>\n"), std::string::npos);
}

TEST_F(Listings, InterfacesDropTheirPrefixAndRowsBeginWithClass) {
  NodeData shape = Class("Interface-IShape", 4);
  shape.text2 = "IBase";
  Add(gcd->lists.interfaces, std::move(shape));
  const std::string out = CaptureOut([&] { ShowProjectInterSummary(*gcd); });
  EXPECT_TRUE(HasLine(out, "  Interface: IShape")) << out;
  EXPECT_TRUE(HasLine(out, "  Inheritance: IBase"));
  EXPECT_TRUE(HasLine(out, "  Total: All Interfaces"));
  EXPECT_TRUE(HasLine(out, "  Total Interfaces ......:          1  Total Nested Interfaces:          0"));
  gcd->sw.outputMode = OutputMode::Csv;
  const std::string csv = CaptureOut([&] { ShowProjectInterSummary(*gcd); });
  EXPECT_NE(csv.find("\nClass,IShape,4,"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\nInheritance,IBase\n"), std::string::npos);
}

TEST_F(Listings, NamespaceListing) {
  NodeData ns = Class("geo", 40);
  NamespaceClasses(ns) = 2;
  ClassFunctions(ns) = 5;
  Add(gcd->lists.namespaces, std::move(ns));
  NodeData anonymous = Class("", 3);
  Add(gcd->lists.namespaces, std::move(anonymous));
  const std::string out = CaptureOut([&] { ShowProjectNamespaceSummary(*gcd); });
  EXPECT_TRUE(HasLine(out, "  Namespace/Package: geo"));
  EXPECT_TRUE(HasLine(out, "  Namespace/Package: Anonymous - File Scope"));
  EXPECT_TRUE(HasLine(out, "  Total Classses 2           Total Functions 5       Avg Func/Class   2.50"));
  EXPECT_TRUE(HasLine(out, "  Total Namespace/Package:          2  Total Classes/Structs .:          2"));
  EXPECT_TRUE(HasLine(out, "  Max Classes/Structs ...:          2"));
  gcd->sw.outputMode = OutputMode::Csv;
  const std::string csv = CaptureOut([&] { ShowProjectNamespaceSummary(*gcd); });
  EXPECT_EQ(Fields(LineStarting(csv, "Namespace/Package,geo,")).size(), Fields(LineStarting(csv, "Type,")).size());
}

TEST_F(Listings, EmptyListsWriteNothing) {
  EXPECT_EQ(Functions(), "");
  EXPECT_EQ(CaptureOut([&] { ShowProjectClassSummary(*gcd); }), "");
  EXPECT_EQ(CaptureOut([&] { ShowProjectNamespaceSummary(*gcd); }), "");
}

TEST_F(Listings, FunctionsCountedOnlyForClassesAreNotListed) {
  Add(gcd->lists.functions, Function("f", 5, 5, 5, 0, 0, 0, 1));
  gcd->sw.functionsForClassesOnly = 1;
  EXPECT_EQ(Functions(), "");
}

TEST_F(Listings, LongNamesAreWrappedCutAndEscapedWhole) {
  const std::string name = "n" + std::string(4999, '<');
  Add(gcd->lists.functions, Function(name, 5, 5, 5, 0, 0, 0, 1));
  const std::string text = Functions();
  const std::string line = LineStarting(text, "  Function: n");
  EXPECT_EQ(line.size(), 12u + 62u);  // wrapped after 62 characters
  EXPECT_NE(text.find("\n            <<<<"), std::string::npos);

  gcd->sw.outputMode = OutputMode::Xml;
  const std::string xml = Functions();
  const std::string element = LineStarting(xml, "<name>n");
  ASSERT_FALSE(element.empty());
  EXPECT_EQ(element.substr(element.size() - 11), "&lt;</name>");  // no entity cut in half
  EXPECT_LE(element.size(), 2047u + 13u);

  gcd->sw.outputMode = OutputMode::Html;
  const std::string html = Functions();
  EXPECT_EQ(html.find("<<"), std::string::npos);
}

// xmllint's complaints about a document.
std::string XmlProblems(const std::string& document) {
  TempDir dir;
  const std::string path = dir.Write("f.xml", document);
  std::string out;
  if (FILE* p = popen(("xmllint --noout '" + path + "' 2>&1").c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out.substr(0, 2000);
}

TEST_F(Listings, AwkwardNamesKeepXmlAndHtmlWellFormed) {
  if (std::system("xmllint --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "xmllint is not installed";
  NodeData f = Function("operator<<&\"'", 3, 3, 3, 0, 1, 1, 1, "(std::ostream& o, const T<A, B>& x)");
  f.text3 = "template<class A, class B>";
  f.fileName = "dir with <&> \"quotes\"/x.cpp";
  Add(gcd->lists.functions, std::move(f));
  NodeData c = Class("Map<K, V>", 9, true);
  c.text1 = "template<K,V>";
  c.text2 = "Base<K&,V>";
  Add(gcd->lists.classes, std::move(c));
  Add(gcd->lists.interfaces, Class("Interface-I<T>", 2));
  NodeData ns = Class("a<b>&c", 9);
  Add(gcd->lists.namespaces, std::move(ns));
  // Bytes that are no UTF-8, and a control character, in a name.
  Add(gcd->lists.functions, Function(std::string("latin\xe9\x01x"), 1, 1, 1, 0, 0, 0, 1));
  gcd->sw.complexity = 1;
  gcd->sw.functionPoints = 1;
  gcd->sw.sortKey = 1;
  for (OutputMode mode : {OutputMode::Xml, OutputMode::Html}) {
    gcd->sw.outputMode = mode;
    // The page is written as a run writes it: with the bytes of other
    // character sets as character references.
    SetReportBytes(mode == OutputMode::Html ? ReportBytes::HtmlUtf8 : ReportBytes::AsIs);
    const std::string out = CaptureOut([&] {
      ShowProjectFunctionSummary(*gcd);
      ShowProjectClassSummary(*gcd);
      ShowProjectInterSummary(*gcd);
      ShowProjectNamespaceSummary(*gcd);
    });
    SetReportBytes(ReportBytes::AsIs);
    // Both the HTML page and the XML document are declared UTF-8.
    const std::string doc = mode == OutputMode::Html
                                ? "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<pre>" + out + "</pre>\n"
                                : "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root>" + out + "</root>\n";
    EXPECT_EQ(XmlProblems(doc), "")
        << (mode == OutputMode::Html ? "HTML" : "XML");
  }
}

}  // namespace
