// Decision points, return points, the cyclomatic keys and the switch stack.
#include <gtest/gtest.h>

#include "engine/complexity.h"
#include "feed_engine.h"

namespace {

// The cyclomatic complexity of the one function in the lines.
int Cyclomatic(const std::vector<std::string>& lines, SourceLang lang = SourceLang::C,
               void (*configure)(Config&) = nullptr) {
  FeedEngine e(lang);
  if (configure) configure(e.gcd().cfg);
  e.Feed(lines);
  const auto& list = e.gcd().lists.functions;
  return list.head ? list.head->data->cyclomatic : -1;
}

TEST(Complexity, DecisionPointsOfOneFunction) {
  EXPECT_EQ(Cyclomatic({"void f(void) {", "  if (a && b || c) x();", "}"}), 4);
  EXPECT_EQ(Cyclomatic({"void f(void) { return; }"}), 1);
  EXPECT_EQ(Cyclomatic({"void f(void) { return; }"}, SourceLang::C, [](Config& c) { c.cycloFunctionCall = 0; }), 0);
  // else if adds its if; a bare else only with its key; "else x = diff;" never.
  EXPECT_EQ(Cyclomatic({"void f(void) {", "  if (a) x(); else if (b) y();", "}"}), 3);
  auto withElse = [](Config& c) { c.cycloElse = 1; };
  EXPECT_EQ(Cyclomatic({"void f(void) {", "  if (a) x();", "  else y();", "}"}, SourceLang::C, withElse), 3);
  EXPECT_EQ(Cyclomatic({"void f(void) {", "  if (a) x();", "  else x = diff;", "}"}, SourceLang::C, withElse), 2);
  EXPECT_EQ(Cyclomatic({"void f(int x) {", "  switch (x) { case 1: case 2: default: break; }", "}"}), 3);
  EXPECT_EQ(Cyclomatic({"void f(int x) {", "  switch (x) { case 1: case 2: default: break; }", "}"}, SourceLang::C,
                       [](Config& c) { c.cycloSwitch = 1; }),
            4);
  EXPECT_EQ(Cyclomatic({"void f(void) {", "  do { x(); } while (x);", "}"}), 2);
  EXPECT_EQ(Cyclomatic({"void F() {", "  var x = a ?? b;", "}"}, SourceLang::CSharp), 2);
  EXPECT_EQ(Cyclomatic({"void f(void) {", "  for (;;) {}", "  foreach (x) {}", "  goto out;", "}"}), 4);
}

TEST(Complexity, EveryKeyChangesOnlyItsOwnShare) {
  const std::vector<std::string> body = {
      "void f(int x) {",
      "  while (a) x();",
      "  for (;;) {}",
      "  switch (x) { case 1: break; }",
      "  if (a) y(); else z();",
      "  x = a ? 1 : 2;",
      "  goto end;",
      "  if (a || b) {}",
      "  if (a && b) {}",
      "}",
  };
  const int all = Cyclomatic(body);
  // Defaults: call 1, while 1, for 1, case 1, if 3, ? 1, goto 1, || 1, && 1.
  EXPECT_EQ(all, 11);
  struct KeyShare {
    int Config::*key;
    int share;  // what turning the key over changes
  };
  const KeyShare keys[] = {
      {&Config::cycloFunctionCall, -1}, {&Config::cycloWhile, -1}, {&Config::cycloFor, -1},
      {&Config::cycloSwitch, +1},       {&Config::cycloCase, -1},  {&Config::cycloIf, -3},
      {&Config::cycloElse, +1},         {&Config::cycloInlineIf, -1}, {&Config::cycloGoto, -1},
      {&Config::cycloOr, -1},           {&Config::cycloAnd, -1},
  };
  for (const KeyShare& k : keys) {
    FeedEngine e;
    Config& cfg = e.gcd().cfg;
    cfg.*k.key = cfg.*k.key ? 0 : 1;
    e.Feed(body);
    EXPECT_EQ(e.gcd().lists.functions.head->data->cyclomatic, all + k.share);
  }
}

TEST(Complexity, ReturnPointsAndLogicOutsideFunctions) {
  FeedEngine e;
  e.Feed({"int x = a && b;", "int f(void) {", "  if (a) exit(1);", "  abort();", "  goto out;",
          "out:", "  return 0;", "}"});
  const NodeData& f = *e.gcd().lists.functions.head->data;
  EXPECT_EQ(FuncReturns(f), 3);  // exit(, goto (as a return point by default), return
  EXPECT_EQ(e.gcd().eng.func.and_count, 0);
  EXPECT_EQ(e.fc().aborts, 1);

  FeedEngine noGoto;
  noGoto.gcd().cfg.gotoIsReturnPoint = 0;
  noGoto.Feed({"void f(void) { goto out; out: return; }"});
  EXPECT_EQ(FuncReturns(*noGoto.gcd().lists.functions.head->data), 1);

  // throw is a return point in C files only; a delegate's return is none.
  FeedEngine cpp(SourceLang::Cpp);
  cpp.Feed({"void f() { throw 1; }"});
  EXPECT_EQ(FuncReturns(*cpp.gcd().lists.functions.head->data), 0);
  FeedEngine cs(SourceLang::CSharp);
  cs.Feed({"void F() {", "  Func<int> d = delegate() { return 1; };", "  return;", "}"});
  EXPECT_EQ(FuncReturns(*cs.gcd().lists.functions.head->data), 1);
  EXPECT_EQ(cs.fc().returns, 1);
}

TEST(Complexity, ComparisonsInsideConditionsOnly) {
  FeedEngine e;
  e.Feed({"void f(void) {", "  if (a < b && c >= d && e == f && g != h) {}", "  while (p->q > 0) {}",
          "  x = a < b;", "  if (a << 2) {}", "}"});
  EXPECT_EQ(e.gcd().eng.func.comparisons, 5);
}

TEST(Complexity, MemoryCalls) {
  FeedEngine c;
  c.Feed({"void f(void) {", "  p = malloc(4); q = calloc(1, 2); r = alloc(3);", "  s = realloc(p, 8);",
          "  t = xmalloc(3);", "  free(p);", "  new x; delete y;", "}"});
  EXPECT_EQ(c.fc().allocs, 3);
  EXPECT_EQ(c.fc().frees, 1);
  EXPECT_EQ(c.fc().news, 0);
  EXPECT_EQ(c.fc().deletes, 0);
  FeedEngine cpp(SourceLang::Cpp);
  cpp.Feed({"void f() { int *p = new int[3]; delete[] p; delete (q); }"});
  EXPECT_EQ(cpp.fc().news, 1);
  EXPECT_EQ(cpp.fc().deletes, 2);
}

TEST(SwitchStack, NestedSwitchesBeyondTheSavedSlots) {
  std::vector<std::string> lines = {"void f(int x) {"};
  for (int i = 0; i < 33; ++i) lines.push_back("switch (x) {");
  FeedEngine e;
  e.Feed(lines);
  const SwitchStack& s = e.gcd().eng.switches;
  EXPECT_EQ(s.switch_depth, 33);
  EXPECT_EQ(s.saved[31], 32);  // the 32nd switch stands at scope depth 32
  // Closing the 33rd restores the 32nd's scope; closing all empties the stack.
  e.Feed({"}"});
  EXPECT_EQ(s.switch_depth, 32);
  EXPECT_EQ(s.switch_scope, 32);
  e.Feed(std::vector<std::string>(32, "}"));
  EXPECT_EQ(s.switch_depth, 0);
  EXPECT_EQ(e.gcd().eng.func.switch_count, 33);
}

TEST(SwitchStack, ABraceInsideACaseDoesNotPop) {
  FeedEngine e;
  e.Feed({"void f(int x) {", "  switch (x) {", "  case 1: { y(); }", "  case 2: if (y) { z(); }"});
  EXPECT_EQ(e.gcd().eng.switches.switch_depth, 1);
  e.Feed({"  }"});
  EXPECT_EQ(e.gcd().eng.switches.switch_depth, 0);
}

TEST(Assignment, EndsAtItsSemicolonOrItsParentheses) {
  FeedEngine e(SourceLang::Java);
  e.Feed({"class A {", "  @Test(expected = X.class)"});
  EXPECT_EQ(e.gcd().eng.assignment_flag, 0);  // the annotation's '=' ends with its ')'
  e.Feed({"  public void f() {", "    int y = 1"});
  EXPECT_EQ(e.gcd().eng.assignment_flag, 1);
  e.Feed({"      + 2;"});
  EXPECT_EQ(e.gcd().eng.assignment_flag, 0);
  EXPECT_EQ(e.Functions(), std::vector<std::string>{});
  e.Feed({"  }", "}"});
  EXPECT_EQ(e.Functions(), std::vector<std::string>{"A.f"});
  // operator= and operator+= are names, not assignments.
  FeedEngine cpp(SourceLang::Cpp);
  cpp.Feed({"struct V {", "  V& operator=(const V& o) { return *this; }", "  V& operator+=(int n) { return *this; }",
            "};"});
  EXPECT_EQ(cpp.Functions(), (std::vector<std::string>{"V::operator=", "V::operator+="}));
}

}  // namespace
