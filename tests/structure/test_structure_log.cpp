// A worker's structure changes, logged and replayed at the merge, must leave
// the run's class, namespace and function records exactly as analysing the
// file on the run itself does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feed_engine.h"
#include "structure/entity_records.h"
#include "structure/structure_log.h"

namespace {

using Lines = std::vector<std::string>;

// Everything a record's reports read: its name, place and sums.
std::string Dump(const Llist<NodeData>& list) {
  std::string out;
  for (const NodeData& r : list) {
    out += r.name + "|" + r.text1 + "|" + r.text2 + "|" + (r.fileName ? r.fileName : "") + "|" +
           std::to_string(r.line) + "|" + std::to_string(r.loc) + " " + std::to_string(r.eloc) + " " +
           std::to_string(r.lines) + " " + std::to_string(r.cyclomatic) + " " + std::to_string(r.parameters) + " " +
           std::to_string(r.state) + " " + std::to_string(r.ratio) + " " + std::to_string(r.slot1) + " " +
           std::to_string(r.slot3) + " " + std::to_string(r.slot6) + " " + std::to_string(r.slot8) + " " +
           std::to_string(r.slot10) + " " + std::to_string(r.slot11) + "\n";
  }
  return out;
}

std::string DumpAll(const GlobalData& gcd) {
  return "functions\n" + Dump(gcd.lists.functions) + "classes\n" + Dump(gcd.lists.classes) + "interfaces\n" +
         Dump(gcd.lists.interfaces) + "namespaces\n" + Dump(gcd.lists.namespaces);
}

void NextFile(FeedEngine& engine) {
  ResetState(engine.gcd());
  engine.gcd().drv.lineNumber = 0;
}

// Files 1 .. n-1 analysed on the run; the last one on a worker whose log is
// replayed against the run, and, for comparison, on a run of its own.
void ExpectReplayMatches(SourceLang lang, const std::vector<Lines>& files) {
  FeedEngine serial(lang);
  FeedEngine run(lang);
  for (std::size_t i = 0; i + 1 < files.size(); ++i) {
    serial.Feed(files[i]);
    NextFile(serial);
    run.Feed(files[i]);
    NextFile(run);
  }
  serial.Feed(files.back());

  FeedEngine worker(lang);
  StructureLog log;
  worker.gcd().st.log = &log;
  worker.Feed(files.back());
  // The worker's own lists stay empty: its changes wait in the log.
  EXPECT_EQ(worker.gcd().lists.classes.count + worker.gcd().lists.functions.count, 0);
  EXPECT_EQ(OverturnedNamespaceLookups(log, run.gcd()), 0);
  ReplayStructureLog(log, run.gcd());
  EXPECT_TRUE(log.Empty());
  EXPECT_EQ(DumpAll(run.gcd()), DumpAll(serial.gcd()));
}

TEST(StructureLog, ReplayCreditsEarlierFilesRecordsAsTheRunWould) {
  // A class declared in one file and its members defined in the next, with a
  // nested type, a namespace the second file reopens, and a member of a
  // class that no file defines yet (a placeholder).
  ExpectReplayMatches(SourceLang::Cpp,
                      {{"namespace geo {", "class Shape {", " public:", "  int area();", "  int w;",
                        "  class Inner { int v; void m(); };", "};", "}"},
                       {"namespace geo {", "int Shape::area()", "{", "  if (w) return 2;", "  return 3;", "}", "}",
                        "int geo::Shape::Inner::m() { return 0; }", "int Late::first()", "{", "  return 1;", "}"}});
}

TEST(StructureLog, ReplayTakesOverAPlaceholderOfAnEarlierFile) {
  // The first file's function made a placeholder for Late; the second file's
  // definition takes it over, with the sums of its body added.
  ExpectReplayMatches(SourceLang::Cpp, {{"int Late::first()", "{", "  if (1) return 1;", "  return 0;", "}"},
                                        {"class Late {", "  int a;", "  int b;", " public:", "  void f() { }",
                                         "  class In { int k; };", "};", "int Late::second() { return 5; }"}});
}

TEST(StructureLog, ReplayOfJavaPackagesAndInterfaces) {
  ExpectReplayMatches(SourceLang::Java, {{"package a.b;", "interface Shape {", "  int area();", "}"},
                                         {"package a.b;", "class Box implements Shape {",
                                          "  public int area() { return 1; }", "  class Lid { int k; }", "}"}});
}

TEST(StructureLog, NamespaceLookupsMissedByAWorkerAreCheckedAtTheMerge) {
  FeedEngine run(SourceLang::Cpp);
  FeedEngine worker(SourceLang::Cpp);
  StructureLog log;
  worker.gcd().st.log = &log;
  // Its own namespaces answer at once; others are noted.
  EnsureNamespaceRecord("own", "w.cpp", 1, false, worker.gcd());
  EXPECT_TRUE(IsNamespaceName("own", worker.gcd()));
  EXPECT_FALSE(IsNamespaceName("Outer", worker.gcd()));
  EXPECT_EQ(OverturnedNamespaceLookups(log, run.gcd()), 0);
  // A file merged meanwhile defined it: the worker's answer no longer holds.
  EnsureNamespaceRecord("Outer", "r.cpp", 1, false, run.gcd());
  EXPECT_EQ(OverturnedNamespaceLookups(log, run.gcd()), 1);
}

}  // namespace
