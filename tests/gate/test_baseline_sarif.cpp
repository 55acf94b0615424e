// The SARIF log's rewrite for the gate: baseline states in result order,
// the source root replaced, text that merely looks like either left alone,
// and the same bytes however the log is cut into chunks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gate/baseline_sarif.h"

namespace {

// A compact log as the writer makes it: a rule whose texts and a result
// whose message hold the patterns inside strings.
const std::string kLog =
    "{\"version\":\"2.1.0\",\"runs\":[{\"tool\":{\"driver\":{\"rules\":[{\"id\":\"LQA009\",\"shortDescription\":"
    "{\"text\":\"{\\\"ruleId\\\":\\\"x\\\"} {\\\"SRCROOT\\\":{\\\"uri\\\":\\\"y\\\"}}\"}}]}},"
    "\"originalUriBaseIds\":{\"SRCROOT\":{\"uri\":\"file:///tmp/lqa-gate-x/head/\"}},\"results\":["
    "{\"ruleId\":\"LQA009\",\"message\":{\"text\":\"a \\\"{\\\\\\\"ruleId\\\\\\\":\\\" b\"}},"
    "{\"ruleId\":\"LQA009\",\"message\":{\"text\":\"c\"}}]}]}\n";

std::string Stamp(const std::vector<bool>& isNew, const std::string& root, std::size_t chunk, bool& ok,
                  std::string& error) {
  BaselineSarifStamper stamper(isNew, root);
  std::string out;
  for (std::size_t i = 0; i < kLog.size(); i += chunk) stamper.Feed(std::string_view(kLog).substr(i, chunk), out);
  ok = stamper.Finish(out, error);
  return out;
}

TEST(BaselineSarif, StatesInResultOrderAndTheRootReplacedInAnyChunking) {
  const std::vector<bool> isNew = {false, true};
  bool ok = false;
  std::string error;
  const std::string whole = Stamp(isNew, "file:///work/repo/", kLog.size(), ok, error);
  ASSERT_TRUE(ok) << error;
  std::string expected = kLog;
  auto replace = [&](const std::string& from, const std::string& to) {
    const std::size_t at = expected.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    expected.replace(at, from.size(), to);
  };
  replace("file:///tmp/lqa-gate-x/head/", "file:///work/repo/");
  replace("{\"ruleId\":\"LQA009\",\"message\":{\"text\":\"a",
          "{\"baselineState\":\"unchanged\",\"ruleId\":\"LQA009\",\"message\":{\"text\":\"a");
  replace("{\"ruleId\":\"LQA009\",\"message\":{\"text\":\"c",
          "{\"baselineState\":\"new\",\"ruleId\":\"LQA009\",\"message\":{\"text\":\"c");
  EXPECT_EQ(whole, expected);
  for (std::size_t chunk : {1u, 2u, 7u, 64u}) {
    EXPECT_EQ(Stamp(isNew, "file:///work/repo/", chunk, ok, error), expected) << chunk;
    EXPECT_TRUE(ok) << error;
  }
  // Without a root the uri stays.
  const std::string kept = Stamp(isNew, "", 3, ok, error);
  EXPECT_NE(kept.find("file:///tmp/lqa-gate-x/head/"), std::string::npos);
}

TEST(BaselineSarif, ResultsThatDoNotMatchTheNoticesAreRefused) {
  bool ok = true;
  std::string error;
  Stamp({true}, "", 5, ok, error);
  EXPECT_FALSE(ok);
  EXPECT_NE(error.find("2 results for 1 notices"), std::string::npos) << error;
  Stamp({true, false, true}, "", 5, ok, error);
  EXPECT_FALSE(ok);
}

}  // namespace
