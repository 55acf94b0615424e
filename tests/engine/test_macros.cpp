// The macro list: the macro file, #define reading, the look-up and the -m listing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/gcd.h"
#include "engine/macros.h"
#include "capture_out.h"
#include "test_support.h"

namespace {

// One #define line as ParseLine hands it over: the index after "define",
// then the line end unless the line is continued.
std::string Define(const char* line, int lineNumber, GlobalData& gcd) {
  return CaptureOut([&] {
    ReadDefine(line, static_cast<int>(std::strstr(line, "define") - line) + 6, lineNumber, gcd);
    if (std::strstr(line, "\\\n") == nullptr) MacroLineEnd(lineNumber, gcd);
  });
}

TEST(Macros, DefineNamesAndCounts) {
  auto gcd = NewGlobalData();
  ReadDefine("#define MAX(a,b) ((a)>(b)?(a):(b))\n", 7, 4, *gcd);
  EXPECT_EQ(InMacroDefinition(*gcd), 1);
  MacroLineEnd(4, *gcd);
  EXPECT_EQ(InMacroDefinition(*gcd), 0);
  const struct { const char* line; const char* name; } cases[] = {
      {"#  define MIN (a)\n", "MIN"}, {"#define X", "X"}, {"#define\tTAB\t1\r\n", "TAB"}, {"#define   \n", ""}};
  for (const auto& c : cases) {
    Define(c.line, 5, *gcd);
    EXPECT_STREQ(gcd->macros.mname, c.name) << c.line;
    EXPECT_EQ(InMacroDefinition(*gcd), 0) << c.line;
  }
  EXPECT_EQ(gcd->eng.lex.define_flag, 1);
  EXPECT_EQ(gcd->eng.fc.defineCount + gcd->eng.fc.macros, 10);
  EXPECT_EQ(gcd->macros.names.size(), 5u);  // MAX, MIN, X, TAB and the empty name
  EXPECT_EQ(is_macro("MAX", *gcd) + is_macro("MIN", *gcd) + is_macro("X", *gcd), 3);
  EXPECT_EQ(is_macro("", *gcd) + is_macro("MAX ", *gcd) + is_macro("max", *gcd) + is_macro("MA", *gcd), 0);
}

TEST(Macros, Listing) {
  auto gcd = NewGlobalData();
  EXPECT_EQ(Define("#define F(x) x\n", 1, *gcd), "");  // no -m
  gcd->sw.macroIdentification = 1;
  EXPECT_EQ(Define("#define F(x) x\n", 2, *gcd), "  Macro: F\n\n");
  EXPECT_EQ(Define("#define V (x)\n", 3, *gcd), "");  // object-like
  gcd->sw.outputMode = OutputMode::Html;
  EXPECT_EQ(Define("#define G(x) x\n", 4, *gcd), "  <b>Macro</b>: <b><font color=\"#33CCFF\">G</font></b>\n\n");
  gcd->sw.outputMode = OutputMode::Text;

  // With notices the definition is framed by separators, also across lines.
  gcd->sw.qualityNotices = 1;
  const std::string begin = Define("#define SWAP(a, b) \\\n", 11, *gcd);
  EXPECT_EQ(begin.find("\n  " + std::string(25, '-') + " Macro Begin Line: 11 "), 0u);
  EXPECT_NE(begin.find("-\n  Macro: SWAP\n\n"), std::string::npos);
  EXPECT_NE(begin.find("~~ Macro Quality Notices ~~\n"), std::string::npos);
  EXPECT_EQ(InMacroDefinition(*gcd), 1);
  const std::string dashes(26, '-');
  EXPECT_EQ(CaptureOut([&] { MacroLineEnd(12, *gcd); }),
            "\n  Macro: SWAP\n  " + dashes + " Macro End Line: 12 " + dashes + "\n");
  EXPECT_EQ(CaptureOut([&] { MacroLineEnd(13, *gcd); }), "");

  gcd->sw.totalsOnly = 1;
  EXPECT_EQ(Define("#define H(x) x\n", 5, *gcd), "");
}

TEST(Macros, MacroFile) {
  TempDir dir;
  auto gcd = NewGlobalData();
  gcd->drv.macroFile = dir.path() + "/lqa_macro.cfg";
  EXPECT_EQ(LoadMacros(*gcd), 0);  // written, not loaded
  EXPECT_EQ(dir.Read("lqa_macro.cfg"),
            "# Line Quality Analyzer Version 7.75\n# Predefined Language Macro File\n"
            "# Place each macro on a single line followed by a carriage return\n"
            "# Each line starting with a # sign denotes a comment line\n\n"
            "# Win32 macros effecting data and functions\n"
            "__declspec\nDECLSPEC_UUID\nDECLARE_MESSAGE_MAP\nafx_msg\nATL_NO_VTABLE\n\n"
            "# gcc language extension macros effecting data and functions\n__attribute__\n\n# End of File\n");
  EXPECT_EQ(LoadMacros(*gcd), 6);
  EXPECT_EQ(is_macro("__attribute__", *gcd), 1);

  // Indented, comment and empty lines are skipped; the rest of an over-long
  // line is no name of its own.
  auto g2 = NewGlobalData();
  g2->drv.macroFile = dir.Write("m.cfg", "  FOO\n\tBAR\nFOO  \n#BAZ\n\nTWO WORDS\t\r\n" + std::string(3000, 'L') + "\nEND");
  EXPECT_EQ(LoadMacros(*g2), 4);
  EXPECT_EQ(is_macro("FOO", *g2) + is_macro("TWO WORDS", *g2) + is_macro("END", *g2), 3);
  EXPECT_EQ(is_macro("BAR", *g2) + is_macro("BAZ", *g2) + is_macro("TWO", *g2), 0);

  auto g3 = NewGlobalData();
  g3->drv.macroFile = dir.path() + "/no/such/dir/lqa_macro.cfg";
  EXPECT_EQ(CaptureOut([&] { EXPECT_EQ(LoadMacros(*g3), 0); }), "");
}

TEST(Macros, LookupOverALargeList) {
  auto gcd = NewGlobalData();
  EXPECT_EQ(is_macro("M1", *gcd), 0);
  constexpr int kNames = 300000;
  for (int i = 0; i < kNames; ++i) AddMacroName(("M" + std::to_string(i)).c_str(), *gcd);
  AddMacroName("M7", *gcd);  // a known name is kept once
  EXPECT_EQ(gcd->macros.names.size(), static_cast<std::size_t>(kNames));
  int hits = 0;
  for (int i = 0; i < 2 * kNames; ++i) hits += is_macro(("M" + std::to_string(i)).c_str(), *gcd);
  EXPECT_EQ(hits, kNames);
}

// During a file, names go to the file's own list and every name no list
// holds is logged once; the run's list grows only at the merge.
TEST(Macros, FileLookupLog) {
  auto gcd = NewGlobalData();
  AddMacroName("EARLIER", *gcd);  // from a file merged before
  FileMacros file;
  gcd->macros.file = &file;
  EXPECT_EQ(is_macro("LATE", *gcd), 0);  // asked before this file defines it
  Define("#define LOCAL(x) x\n", 3, *gcd);
  Define("#define LATE 1\n", 4, *gcd);
  Define("#define LOCAL(y) y\n", 5, *gcd);    // defined again: listed once
  Define("#define EARLIER 2\n", 6, *gcd);     // the run's already: listed, merged as a known name
  EXPECT_EQ(is_macro("LOCAL", *gcd) + is_macro("LATE", *gcd) + is_macro("EARLIER", *gcd), 3);
  EXPECT_EQ(is_macro("NONE", *gcd) + is_macro("NONE", *gcd) + is_macro("LOCA", *gcd), 0);
  EXPECT_FALSE(gcd->macros.names.Contains("LOCAL"));
  EXPECT_EQ(gcd->macros.names.size(), 1u);
  std::vector<std::string> defined, missed;
  for (const FileMacros::Name& n : file.order) defined.emplace_back(n.text);
  for (const FileMacros::Name& n : file.missedOrder) missed.emplace_back(n.text);
  EXPECT_EQ(defined, (std::vector<std::string>{"LOCAL", "LATE", "EARLIER"}));
  EXPECT_EQ(missed, (std::vector<std::string>{"LATE", "NONE", "LOCA"}));
  // LATE was defined by the file itself after it was asked: no other file's doing.
  EXPECT_EQ(OverturnedMacroLookups(file, gcd->macros.names), 0);

  // A file merged in between that defined NONE and LOCA overturns two answers.
  SharedNameSet run;
  run.Intern("NONE");
  run.Intern("LOCA");
  run.Intern("OTHER");
  EXPECT_EQ(OverturnedMacroLookups(file, run), 2);

  MergeMacroNames(file, gcd->macros.names);
  EXPECT_EQ(gcd->macros.names.size(), 3u);
  gcd->macros.file = nullptr;
  EXPECT_EQ(is_macro("LOCAL", *gcd) + is_macro("LATE", *gcd), 2);
  EXPECT_EQ(is_macro("NONE", *gcd), 0);
  file.Clear();
  EXPECT_TRUE(file.order.empty() && file.missedOrder.empty());
  EXPECT_FALSE(file.defined.Contains("LOCAL"));
  EXPECT_EQ(file.missed.size(), 0u);
}

}  // namespace
