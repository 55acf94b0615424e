// The real program's help screens: fixed lines and exit status 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

class HelpE2E : public ::testing::Test {
 protected:
  TempDir dir, home;
  RunResult Run(const std::vector<std::string>& args, const std::string& input = "") {
    return RunLqa(args, dir.path(), home.path(), input);
  }
};

TEST_F(HelpE2E, BareProgramShowsShortSyntax) {
  const RunResult r = Run({});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(HasLine(r.out, "          or -switch[\"compound option\"] filenames or wild cards"));
  EXPECT_TRUE(HasLine(r.out, "          -hs Help syntax for operation"));
  EXPECT_TRUE(HasLine(r.out, "          -hf Help manual full text"));
}

TEST_F(HelpE2E, PauseScreenWaitsForEnter) {
  const RunResult r = Run({"-hp"}, "\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\n  Press Enter Key To Continue ...\n"), std::string::npos);
}

TEST_F(HelpE2E, FullSyntax) {
  const RunResult r = Run({"-hs"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("LQA Help Syntax"), std::string::npos);
  EXPECT_TRUE(HasLine(r.out, "          [ ] characters are not entered"));
  EXPECT_TRUE(HasLine(r.out, "          -y Display configuration parameters, export lqa.cfg"));
}

TEST_F(HelpE2E, FullHelpTextAlsoForUnknownLetters) {
  for (const char* arg : {"-hf", "-hz"}) {
    const RunResult r = Run({arg});
    EXPECT_EQ(r.status, 0) << arg;
    EXPECT_NE(r.out.find("~ Run Time Switch Options ~"), std::string::npos) << arg;
    EXPECT_TRUE(HasLine(r.out, "  LQA Configuration Parameters")) << arg;
  }
}

TEST_F(HelpE2E, HtmlHelpClosesThePage) {
  const RunResult r = Run({"-H", "-hs"});
  EXPECT_EQ(r.status, 0);
  const std::string end = "</pre></body></html>";
  ASSERT_GE(r.out.size(), end.size());
  EXPECT_EQ(r.out.substr(r.out.size() - end.size()), end);
}

}  // namespace
