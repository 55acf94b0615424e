// The inheritance forest end to end: which base a class hangs under when
// bases carry template or generic arguments or are named from inside another
// class, and the depth and children notices of the quality profile run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

class InheritanceE2E : public ::testing::Test {
 protected:
  TempDir dir;
  TempDir home;
  RunResult Run(const std::vector<std::string>& args) { return RunLqa(args, dir.path(), home.path()); }
  // The tree section of a text report, from its title to the totals' end.
  static std::string Tree(const std::string& out) {
    const std::size_t from = out.find("~~ Class Inheritance Tree ~~");
    if (from == std::string::npos) return {};
    const std::size_t to = out.find("  Average Number of Direct Child Classes", from);
    return out.substr(from, to == std::string::npos ? std::string::npos : to - from);
  }
};

constexpr const char* kChain =
    "class A {};\nclass B : public A {};\nclass C : public B {};\nclass D : public C {};\n"
    "class E : public D {};\nclass F : public E {};\nclass G : public F {};\n";

TEST_F(InheritanceE2E, QualityProfileRunFiresDepthNoticesWithoutWritingTheTree) {
  dir.Write("chain.cpp", kChain);
  // Depth limit 4: F (depth 5) and G (depth 6) are too deep.
  const RunResult tree = Run({"-n", "-i", "chain.cpp"});
  EXPECT_NE(tree.out.find("Notice #40"), std::string::npos) << tree.out;
  const RunResult profile = Run({"-n", "-Tp", "chain.cpp"});
  EXPECT_EQ(profile.out.find("Class Inheritance Tree"), std::string::npos) << profile.out;
  EXPECT_EQ(profile.out.find("Total Classes"), std::string::npos);
  EXPECT_NE(profile.out.find("\n  40        2 "), std::string::npos) << profile.out;
  // The exit status counts them: the class comment notices (7), the file
  // comment notice and the two depth notices.
  EXPECT_EQ(profile.status, 10) << profile.out;
  EXPECT_EQ(tree.status, profile.status);
  // -Ti writes the tree and fires them once, also beside -Tp.
  const RunResult both = Run({"-n", "-Ti", "-Tp", "chain.cpp"});
  EXPECT_EQ(both.status, 10);
  EXPECT_EQ(both.out.find("Class Inheritance Tree"), std::string::npos);
}

TEST_F(InheritanceE2E, TemplateArgumentsOfABaseDoNotMakeANewRoot) {
  dir.Write("t.cpp",
            "template <class T> class Base {};\n"
            "class D : public Base<int> {};\n"
            "class E : public Base<unsigned int> {};\n"
            "namespace ns {\n"
            "template <typename K, typename V> class Map {};\n"
            "class M : public Map<int, char> {};\n"
            "}\n");
  const std::string tree = Tree(Run({"-i", "t.cpp"}).out);
  EXPECT_NE(tree.find("\n  + Base [D0.C2]\n    - D [D1.C0.P1]\n    - E [D1.C0.P1]\n"), std::string::npos) << tree;
  EXPECT_NE(tree.find("\n  + ns::Map [D0.C1]\n    - ns::M [D1.C0.P1]\n"), std::string::npos) << tree;
  EXPECT_NE(tree.find("  Total Classes        : 5\n  Total Base Classes   : 2\n"), std::string::npos) << tree;
}

TEST_F(InheritanceE2E, JavaBasesAreLookedUpFromTheInnermostEnclosingClassOutwards) {
  dir.Write("AbstractList.java", "package p;\npublic abstract class AbstractList<E> {\n}\n");
  dir.Write("ArrayList.java",
            "package p;\n"
            "public class ArrayList<E> extends AbstractList<E> {\n"
            "  class Itr {\n  }\n"
            "  private static class SubList<E> extends AbstractList<E> {\n"
            "    class Inner extends Itr {\n    }\n"
            "  }\n"
            "  class Strings extends AbstractList<String> {\n  }\n"
            "}\n");
  const RunResult r = Run({"-i", "AbstractList.java", "ArrayList.java"});
  const std::string tree = Tree(r.out);
  EXPECT_NE(tree.find("\n  + p.AbstractList<E> [D0.C3]\n"
                      "    - p.ArrayList<E> [D1.C0.P1]\n"
                      "    - p.ArrayList<E>.Strings [D1.C0.P1]\n"
                      "    - p.ArrayList<E>.SubList<E> [D1.C0.P1]\n"),
            std::string::npos)
      << tree;
  // Itr is found in ArrayList, the class that encloses SubList.
  EXPECT_NE(tree.find("\n  + p.ArrayList<E>.Itr [D0.C1]\n    - p.ArrayList<E>.SubList<E>.Inner [D1.C0.P1]\n"),
            std::string::npos)
      << tree;
  EXPECT_NE(tree.find("  Total Classes        : 6\n  Total Base Classes   : 2\n"), std::string::npos) << tree;
  EXPECT_EQ(r.out.find("Parents Not Found"), std::string::npos);
}

TEST_F(InheritanceE2E, UnknownBasesStayAsWritten) {
  dir.Write("u.cpp", "class A : public std::vector<int> {};\nclass B : public Missing<char> {};\n");
  const std::string tree = Tree(Run({"-i", "u.cpp"}).out);
  EXPECT_NE(tree.find("\n  + Missing<char> [D0.C1]\n    - B [D1.C0.P1]\n"), std::string::npos) << tree;
  EXPECT_NE(tree.find("\n  + std::vector<int> [D0.C1]\n    - A [D1.C0.P1]\n"), std::string::npos) << tree;
}

}  // namespace
