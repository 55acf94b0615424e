// Language table: registration limits, extension look-up and the per-file
// language flags and counters.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/languages.h"

namespace {

std::string Capture(const auto& fn) {
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

class Languages : public ::testing::Test {
 protected:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  void Build() { BuildLanguageTable(*gcd); }
  int Which(const std::string& name) { return WhichFile(name, 1, *gcd); }
  std::string Ext(const std::string& name, bool* found = nullptr) {
    std::string ext = "junk";
    bool f = getExtension(name, ext, *gcd);
    if (found) *found = f;
    return ext;
  }
};

TEST_F(Languages, BuiltInsAndAcceptedList) {
  gcd->sw.recursiveExtensions = "stale";
  Build();
  const LanguageState& lang = gcd->lang;
  ASSERT_EQ(lang.table.size(), 7u);
  EXPECT_EQ(lang.lastIndex, 6);
  const char* names[] = {"Other", "C", "C Header", "C++", "C++ Header", "Java", "C#"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(lang.table[i]->index, i);
    EXPECT_EQ(lang.table[i]->languageName, names[i]);
  }
  EXPECT_TRUE(lang.table[0]->extensions.empty());
  EXPECT_EQ(lang.acceptedExtensions, "c,h,cc,cpp,cxx,CC,h,hh,H,hxx,hpp,java,cs");
  EXPECT_EQ(gcd->sw.recursiveExtensions, lang.acceptedExtensions);

  // A list given with -r is kept; a rebuild does not duplicate the table.
  gcd->sw.recursive = 1;
  gcd->sw.recursiveExtensions = "c";
  gcd->cfg.otherExtensions = "txt";
  Build();
  EXPECT_EQ(lang.table.size(), 7u);
  EXPECT_EQ(gcd->sw.recursiveExtensions, "c");
  EXPECT_EQ(lang.acceptedExtensions.rfind("txt,c,h", 0), 0u);
}

TEST_F(Languages, HeaderFlagsFollowTreatCHeadersAsCpp) {
  Build();
  gcd->lang.headerAsCpp = 1;
  EXPECT_EQ(Which("x.h"), kLangCHeader);
  EXPECT_EQ(gcd->lang.isHeader, 1);
  EXPECT_EQ(gcd->lang.isCpp, 1);
  EXPECT_EQ(gcd->lang.isC, 0);
  gcd->lang.headerAsCpp = 0;
  EXPECT_EQ(Which("x.h"), kLangCHeader);
  EXPECT_EQ(gcd->lang.isC, 1);
  EXPECT_EQ(gcd->lang.isCpp, 0);
  EXPECT_EQ(gcd->lang.cHeaderFiles, 2);
  // The next file clears every flag.
  EXPECT_EQ(Which("A.java"), kLangJava);
  EXPECT_EQ(gcd->lang.isJava, 1);
  EXPECT_EQ(gcd->lang.isHeader + gcd->lang.isC + gcd->lang.isCpp, 0);
  EXPECT_EQ(gcd->lang.current, kLangJava);
}

TEST_F(Languages, CaseSensitivityOfNames) {
  Build();
  EXPECT_EQ(Which("x.H"), kLangCHeader);  // "h" of C Header matches first
  EXPECT_EQ(Which("x.C"), kLangC);
  EXPECT_EQ(Which("X.CPP"), kLangCpp);
  gcd->cfg.caseSensitiveNames = 1;
  EXPECT_EQ(Which("x.H"), kLangCppHeader);
  EXPECT_EQ(gcd->lang.isCpp, 1);
  EXPECT_EQ(gcd->lang.isHeader, 0);
  EXPECT_EQ(Which("x.C"), -1);
  EXPECT_EQ(Which("x.CC"), kLangCpp);
  EXPECT_EQ(gcd->lang.cppHeaderFiles, 1);
  EXPECT_EQ(gcd->lang.cFiles, 1);
}

TEST_F(Languages, OtherIsSearchedFirstAndUnknownCountsNothing) {
  gcd->cfg.otherExtensions = "c";
  Build();
  EXPECT_EQ(Which("main.c"), kLangOther);
  EXPECT_EQ(gcd->lang.isOther, 1);
  EXPECT_EQ(gcd->lang.isC, 0);
  EXPECT_EQ(gcd->lang.otherFiles, 1);
  EXPECT_EQ(gcd->lang.cFiles, 0);

  EXPECT_EQ(Which("notes.txt"), -1);
  EXPECT_EQ(Which("src/lib.v2/readme"), -1);
  EXPECT_EQ(gcd->lang.isOther + gcd->lang.isC + gcd->lang.isCpp + gcd->lang.isJava + gcd->lang.isCSharp, 0);
  EXPECT_EQ(gcd->lang.current, -1);
  // count 0 decides the language without counting it.
  EXPECT_EQ(WhichFile("k.cs", 0, *gcd), kLangCSharp);
  EXPECT_EQ(gcd->lang.csharpFiles, 0);
  EXPECT_EQ(gcd->lang.otherFiles, 1);
}

TEST_F(Languages, Extensions) {
  bool found = false;
  EXPECT_EQ(Ext("a/b.c", &found), "c");
  EXPECT_TRUE(found);
  EXPECT_EQ(Ext("src/lib.v2/readme"), "v2/readme");
  EXPECT_EQ(Ext("x.tar.gz"), "gz");
  EXPECT_EQ(Ext("trailing.", &found), "");
  EXPECT_TRUE(found);
  Ext("Makefile", &found);
  EXPECT_FALSE(found);
  // Version-extended names take the extension before "@@".
  EXPECT_EQ(Ext("main.c@@/main/3", &found), "c");
  EXPECT_TRUE(found);
  EXPECT_EQ(Ext("main.@@/main/3", &found), "");
  EXPECT_TRUE(found);
  Ext("src.d/main@@/main/3", &found);
  EXPECT_FALSE(found);
  Ext("@@/main/3.c", &found);
  EXPECT_FALSE(found);
  // A lone '@' is not a version marker.
  EXPECT_EQ(Ext("user@host.c"), "c");
  EXPECT_EQ(Ext(std::string(600, 'x') + "." + std::string(600, 'y')).size(), 254u);

  Build();
  EXPECT_EQ(Which("main.c@@/main/3"), kLangC);
  gcd->sw.debug = 1;
  EXPECT_EQ(Capture([&] { Ext("a.cs"); }), "*** Debug: File Extension: cs\n\n");
}

TEST_F(Languages, RegistrationLimits) {
  std::string list;
  for (int i = 0; i < 83; ++i) list += "e" + std::to_string(i) + (i % 2 ? "," : " \t");
  std::string out = Capture([&] {
    EXPECT_EQ(addUlpi(std::string(60, 'N'), list.substr(0, 254), *gcd), 0);
  });
  const Ulpi& rec = *gcd->lang.table[0];
  EXPECT_EQ(rec.languageName.size(), 40u);
  // Only the first 254 characters of the list are split.
  EXPECT_LT(rec.extensions.size(), 81u);
  EXPECT_EQ(out, "");

  std::string many;
  for (int i = 0; i < 83; ++i) many += "x,";
  out = Capture([&] { EXPECT_EQ(addUlpi("Many", many, *gcd), 1); });
  EXPECT_EQ(gcd->lang.table[1]->extensions.size(), 81u);
  EXPECT_EQ(out, "\n  Error: Max ULPI extensions reached\n\n  Error: Max ULPI extensions reached\n");

  parseUlpiExtensions(*gcd->lang.table[1], "q, r", *gcd);
  ASSERT_EQ(gcd->lang.table[1]->extensions.size(), 2u);
  EXPECT_EQ(gcd->lang.table[1]->extensions[1], "r");

  Capture([&] {
    for (int i = 2; i < kMaxLanguages; ++i) addUlpi("L", "z", *gcd);
  });
  EXPECT_EQ(gcd->lang.lastIndex, kMaxLanguages - 1);
  out = Capture([&] { EXPECT_EQ(addUlpi("Extra", "w", *gcd), -1); });
  EXPECT_EQ(out, "\n  Error: Max Universal Language PlugIn reached\n");
  EXPECT_EQ(gcd->lang.table.size(), static_cast<std::size_t>(kMaxLanguages));
  // Languages beyond the built-ins are found, flagged as other.
  EXPECT_EQ(findUlpi("z", *gcd), 2);
  EXPECT_EQ(WhichFile("f.z", 1, *gcd), 2);
}

}  // namespace
