// Matching two snapshots: each pass of the function matching, the notice
// multisets and the findings with their limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "gate/matcher.h"

namespace {

GateFunction Fn(const std::string& path, const std::string& name, int complexity, std::uint64_t body,
                const std::string& signature = "()", int occurrence = 1, int line = 1) {
  GateFunction f;
  f.path = path;
  f.name = name;
  f.signature = signature;
  f.occurrence = occurrence;
  f.line = line;
  f.begin = line;
  f.end = line + 5;
  f.complexity = complexity;
  f.bodyHash = body;
  return f;
}

// A notice of snapshot s, its path and rule entered in s's tables.
GateNotice Note(GateSnapshot& s, const std::string& path, const std::string& rule, int function, std::uint64_t text,
                int line = 1) {
  GateNotice n;
  n.path = static_cast<int>(std::find(s.paths.begin(), s.paths.end(), path) - s.paths.begin());
  if (n.path == static_cast<int>(s.paths.size())) s.paths.push_back(path);
  n.rule = s.Rule(rule);
  n.function = function;
  n.entityKind = function >= 0 ? 'f' : 0;
  n.textHash = text;
  n.line = line;
  return n;
}

GateResult Compare(const GateSnapshot& b, const GateSnapshot& h, bool anyRise = false,
                   const std::unordered_map<std::string, std::string>& renames = {}) {
  GateOptions o;
  o.limit = 10;
  o.anyRise = anyRise;
  return CompareSnapshots(b, h, renames, o);
}

TEST(GateMatcher, EachPassFindsItsPairs) {
  GateSnapshot b, h;
  b.functions = {Fn("a.c", "exact", 1, 1, "(int a)"), Fn("a.c", "sig", 1, 2, "(int a)"),
                 Fn("a.c", "mover", 1, 3, "(char *p)"), Fn("a.c", "old_name", 1, 4), Fn("a.c", "gone", 1, 5)};
  h.functions = {Fn("a.c", "exact", 1, 11, "( int  a )", 1, 40), Fn("a.c", "sig", 1, 12, "(long a)"),
                 Fn("b.c", "mover", 1, 13, "(char*p)"), Fn("a.c", "new_name", 1, 4), Fn("a.c", "fresh", 1, 6)};
  const GateResult r = Compare(b, h);
  EXPECT_EQ(r.matchedCount, 2);  // exact (blanks ignored) and by name in its file
  EXPECT_EQ(r.movedCount, 1);
  EXPECT_EQ(r.renamedCount, 1);
  ASSERT_EQ(r.newFunctions.size(), 1u);
  EXPECT_EQ(h.functions[static_cast<std::size_t>(r.newFunctions[0])].name, "fresh");
  ASSERT_EQ(r.removedFunctions.size(), 1u);
  EXPECT_EQ(b.functions[static_cast<std::size_t>(r.removedFunctions[0])].name, "gone");
  EXPECT_TRUE(r.findings.empty());
}

TEST(GateMatcher, OverloadsAndVariantsStayApartAndAmbiguityMatchesNothing) {
  GateSnapshot b, h;
  b.functions = {Fn("a.c", "f", 3, 1, "(int)"), Fn("a.c", "f", 12, 2, "(char)"), Fn("a.c", "v", 2, 3, "()", 1),
                 Fn("a.c", "v", 11, 4, "()", 2)};
  // The char overload and the second variant rose; the int ones did not.
  h.functions = {Fn("a.c", "f", 3, 1, "(int)"), Fn("a.c", "f", 14, 2, "(char)"), Fn("a.c", "v", 2, 3, "()", 1),
                 Fn("a.c", "v", 13, 4, "()", 2)};
  GateResult r = Compare(b, h);
  ASSERT_EQ(r.findings.size(), 2u);
  EXPECT_EQ(r.findings[0].message, "complexity of f rose from 12 to 14 (limit 10)");
  EXPECT_EQ(r.findings[1].message, "complexity of v rose from 11 to 13 (limit 10)");

  // Two same-named functions with new signatures: no guess by name.
  b.functions = {Fn("a.c", "g", 1, 7, "(int)"), Fn("a.c", "g", 1, 8, "(char)")};
  h.functions = {Fn("a.c", "g", 1, 9, "(long)"), Fn("a.c", "g", 1, 10, "(short)")};
  r = Compare(b, h);
  EXPECT_EQ(r.matchedCount, 0);
  EXPECT_EQ(r.newFunctions.size(), 2u);
}

TEST(GateMatcher, ComplexityFindingsFollowTheLimit) {
  GateSnapshot b, h;
  b.functions = {Fn("a.c", "big", 12, 1), Fn("a.c", "small", 3, 2), Fn("a.c", "down", 15, 3)};
  h.functions = {Fn("a.c", "big", 15, 1, "()", 1, 40), Fn("a.c", "small", 4, 2), Fn("a.c", "down", 14, 3),
                 Fn("a.c", "new_big", 14, 5, "()", 1, 70), Fn("a.c", "new_small", 4, 6)};
  GateResult r = Compare(b, h);
  ASSERT_EQ(r.findings.size(), 2u);
  EXPECT_EQ(r.findings[0].line, 40);
  EXPECT_EQ(r.findings[0].kind, FindingKind::Worse);
  EXPECT_EQ(r.findings[1].message, "new function new_big has complexity 14 (limit 10)");
  r = Compare(b, h, true);  // -xGATEANY: 3 to 4 fails too
  EXPECT_EQ(r.findings.size(), 3u);
}

TEST(GateMatcher, NoticesAreMultisetsPerMatchedFunction) {
  GateSnapshot b, h;
  b.functions = {Fn("a.c", "f", 1, 1), Fn("a.c", "old", 1, 9)};
  h.functions = {Fn("b.c", "f", 1, 1), Fn("a.c", "renamed", 1, 9), Fn("a.c", "fresh", 1, 20)};
  b.notices = {Note(b, "a.c", "LQA022", 0, 7), Note(b, "a.c", "LQA022", 0, 7), Note(b, "a.c", "LQA030", 1, 3),
               Note(b, "a.c", "LQA009", -1, 0)};
  // f moved to b.c keeps its two gotos and gains one; the renamed function
  // keeps its notice; the file notice of a.c stays; the new function's
  // notice is new.
  h.notices = {Note(h, "b.c", "LQA022", 0, 7, 5), Note(h, "b.c", "LQA022", 0, 7, 6), Note(h, "b.c", "LQA022", 0, 7, 7),
               Note(h, "a.c", "LQA030", 1, 3), Note(h, "a.c", "LQA009", -1, 0), Note(h, "a.c", "LQA022", 2, 7, 21)};
  GateResult r = Compare(b, h);
  EXPECT_EQ(r.noticesUnchanged, 4);
  EXPECT_EQ(r.noticesNew, 2);
  EXPECT_EQ(r.noticesFixed, 0);
  ASSERT_EQ(r.findings.size(), 2u);
  EXPECT_EQ(r.findings[0].path, "a.c");
  EXPECT_EQ(r.findings[0].line, 21);
  EXPECT_EQ(r.findings[1].path, "b.c");
  // Removing notices never fails.
  GateSnapshot clean = h;
  clean.notices.clear();
  r = Compare(b, clean);
  EXPECT_TRUE(r.findings.empty());
  EXPECT_EQ(r.noticesFixed, 4);
}

TEST(GateMatcher, RenamedFilesMapPathsAndComplexityNoticesAreNotRepeated) {
  GateSnapshot b, h;
  b.functions = {Fn("old.c", "f", 12, 1), Fn("old.c", "g", 2, 2)};
  h.functions = {Fn("new.c", "f", 13, 1), Fn("new.c", "g", 2, 2), Fn("new.c", "h", 20, 3)};
  b.notices = {Note(b, "old.c", "LQA028", 0, 0)};
  h.notices = {Note(h, "new.c", "LQA028", 0, 0), Note(h, "new.c", "LQA028", 2, 0)};
  const GateResult r = Compare(b, h, false, {{"old.c", "new.c"}});
  EXPECT_EQ(r.matchedCount, 2);
  EXPECT_EQ(r.noticesUnchanged, 1);
  EXPECT_EQ(r.noticesNew, 1);
  ASSERT_EQ(r.findings.size(), 2u);  // f worse, h new over the limit; h's notice not again
  for (const GateFinding& f : r.findings) EXPECT_NE(f.kind, FindingKind::NewNotice);
}

TEST(GateMatcher, TypeNoticesFollowTheirTypeAndANewTypesAreNew) {
  GateSnapshot b, h;
  b.classes = {GateClass{"a.h", "Shape", 1, 3}, GateClass{"a.h", "Interface-Drawable", 1, 20}};
  h.classes = {GateClass{"shapes/shape.h", "Shape", 1, 9}, GateClass{"a.h", "Interface-Drawable", 1, 20},
               GateClass{"a.h", "Fresh", 1, 40}};
  auto typeNote = [](GateSnapshot& s, const std::string& path, const std::string& entity, char kind, int line) {
    GateNotice n = Note(s, path, "LQA043", -1, 0, line);
    n.entity = s.Name(entity);
    n.entityKind = kind;
    return n;
  };
  b.notices = {typeNote(b, "a.h", "Shape", 'c', 3), typeNote(b, "a.h", "Drawable", 'i', 20)};
  h.notices = {typeNote(h, "shapes/shape.h", "Shape", 'c', 9), typeNote(h, "a.h", "Drawable", 'i', 20),
               typeNote(h, "a.h", "Fresh", 'c', 40)};
  const GateResult r = Compare(b, h);
  EXPECT_EQ(r.noticesUnchanged, 2);  // Shape moved to another file, Drawable stayed
  ASSERT_EQ(r.findings.size(), 1u);
  EXPECT_EQ(r.findings[0].line, 40);
}

}  // namespace
