// Language table: extension look-up, the per-file language flags and
// counters, and the registration limits.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/languages.h"
#include "capture_out.h"

namespace {

class Languages : public ::testing::Test {
 protected:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  int Which(const std::string& name) { return WhichFile(name, 1, *gcd); }
  // The extension, or "-" when the name has none.
  std::string Ext(const std::string& name) {
    std::string ext;
    return getExtension(name, ext, *gcd) ? ext : "-";
  }
};

TEST_F(Languages, TableAndAcceptedList) {
  gcd->cfg.otherExtensions = "txt";
  BuildLanguageTable(*gcd);
  BuildLanguageTable(*gcd);  // a rebuild does not duplicate the table
  ASSERT_EQ(gcd->lang.table.size(), 7u);
  EXPECT_EQ(gcd->lang.table[4]->languageName, "C++ Header");
  EXPECT_EQ(gcd->lang.acceptedExtensions, "txt,c,h,cc,cpp,cxx,CC,h,hh,H,hxx,hpp,java,cs");
  EXPECT_EQ(gcd->sw.recursiveExtensions, gcd->lang.acceptedExtensions);
}

TEST_F(Languages, FlagsCountersAndCase) {
  BuildLanguageTable(*gcd);
  LanguageState& lang = gcd->lang;
  lang.headerAsCpp = 1;
  EXPECT_EQ(Which("x.h"), kLangCHeader);
  EXPECT_EQ(lang.isHeader + lang.isCpp, 2);
  lang.headerAsCpp = 0;
  EXPECT_EQ(Which("x.H"), kLangCHeader);  // "h" of C Header matches first
  EXPECT_EQ(lang.isHeader + lang.isC, 2);
  EXPECT_EQ(lang.isCpp, 0);
  EXPECT_EQ(Which("x.C"), kLangC);
  EXPECT_EQ(WhichFile("k.cs", 0, *gcd), kLangCSharp);  // decided, not counted
  EXPECT_EQ(Which("notes.txt"), -1);
  EXPECT_EQ(Which("src/lib.v2/readme"), -1);
  EXPECT_EQ(lang.isC + lang.isCpp + lang.isJava + lang.isCSharp + lang.isOther + lang.isHeader, 0);
  EXPECT_EQ(lang.cHeaderFiles, 2);
  EXPECT_EQ(lang.cFiles, 1);
  EXPECT_EQ(lang.csharpFiles + lang.otherFiles, 0);

  gcd->cfg.caseSensitiveNames = 1;
  EXPECT_EQ(Which("x.H"), kLangCppHeader);
  EXPECT_EQ(lang.isHeader, 0);
  EXPECT_EQ(Which("x.C"), -1);  // the C++ list holds "CC", not "C"

  gcd->cfg.otherExtensions = "c";
  BuildLanguageTable(*gcd);
  EXPECT_EQ(Which("main.c"), kLangOther);
  EXPECT_EQ(lang.isOther, 1);
}

TEST_F(Languages, Extensions) {
  EXPECT_EQ(Ext("src/lib.v2/readme"), "v2/readme");
  EXPECT_EQ(Ext("x.tar.gz"), "gz");
  EXPECT_EQ(Ext("trailing."), "");
  EXPECT_EQ(Ext("Makefile"), "-");
  EXPECT_EQ(Ext("main.c@@/main/3"), "c");
  EXPECT_EQ(Ext("main.@@/main/3"), "");
  EXPECT_EQ(Ext("src.d/main@@/main/3"), "-");
  EXPECT_EQ(Ext("@@/main/3.c"), "-");
  EXPECT_EQ(Ext("user@host.c"), "c");
  EXPECT_EQ(Ext(std::string(600, 'x') + "." + std::string(600, 'y')).size(), 254u);
  gcd->sw.debug = 1;
  EXPECT_EQ(CaptureOut([&] { Ext("a.cs"); }), "*** Debug: File Extension: cs\n\n");
}

TEST_F(Languages, RegistrationLimits) {
  std::string many;
  for (int i = 0; i < 83; ++i) many += "x,";
  EXPECT_EQ(CaptureOut([&] { EXPECT_EQ(addUlpi(std::string(60, 'N'), many, *gcd), 0); }),
            "\n  Error: Max ULPI extensions reached\n\n  Error: Max ULPI extensions reached\n");
  EXPECT_EQ(gcd->lang.table[0]->extensions.size(), 81u);
  EXPECT_EQ(gcd->lang.table[0]->languageName.size(), 40u);
  parseUlpiExtensions(*gcd->lang.table[0], "q, r", *gcd);
  EXPECT_EQ(gcd->lang.table[0]->extensions, (std::vector<std::string>{"q", "r"}));

  CaptureOut([&] {
    for (int i = 1; i < kMaxLanguages; ++i) addUlpi("L", "z", *gcd);
  });
  EXPECT_EQ(CaptureOut([&] { EXPECT_EQ(addUlpi("Extra", "w", *gcd), -1); }),
            "\n  Error: Max Universal Language PlugIn reached\n");
  EXPECT_EQ(gcd->lang.lastIndex, kMaxLanguages - 1);
  EXPECT_EQ(WhichFile("f.z", 1, *gcd), 1);
}

}  // namespace
