// The help screens: fixed lines, order of the chapters and switch sections.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/help.h"
#include "test_support.h"
#include "capture_out.h"

namespace {

// Position of each text in order, or a failure naming the first one out of order.
void ExpectInOrder(const std::string& text, const std::vector<std::string>& parts) {
  std::size_t pos = 0;
  for (const auto& part : parts) {
    const std::size_t found = text.find(part, pos);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: " << part;
    pos = found + part.size();
  }
}

TEST(HelpTest, FullSyntaxListsEverySwitchInOrder) {
  auto gcd = NewGlobalData();
  gcd->drv.progPath = "/opt/lqa/lqa";
  const std::string out = CaptureOut([&] { ShowFullSyntax(*gcd); });
  EXPECT_NE(out.find("LQA Help Syntax\n\n  Syntax: /opt/lqa/lqa -switch or -switch[option] or \n"), std::string::npos);
  EXPECT_TRUE(HasLine(out, "          -a Allocation/de-allocation memory function counts"));
  EXPECT_TRUE(HasLine(out, "             -Ec  Extract comments"));
  std::vector<std::string> order;
  for (const char* s : {"-A", "-a", "-b", "-C", "-c", "-D", "-d", "-E", "-e", "-F", "-f", "-H", "-h", "-i", "-k",
                        "-l", "-m", "-n", "-N", "-o", "-O", "-p", "-r", "-R", "-s", "-S", "-T", "-v", "-u", "-w",
                        "-X", "-x"})
    order.push_back(std::string("\n          ") + s + " ");
  ExpectInOrder(out, order);
  ExpectInOrder(out, {"-B1", "-M5", "-P55", "-L80"});
  const std::string tail = "          -y Display configuration parameters, export lqa.cfg\n\n";
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
}

TEST(HelpTest, FullHelpTextChaptersAndSections) {
  auto gcd = NewGlobalData();
  const std::string out = CaptureOut([&] { ShowHelpText(*gcd); });
  ExpectInOrder(out, {"~ LQA Help Documentation~ ", "~ Source Code Metrics and Analysis ~", "~ Program Operation ~",
                      "~ Operation Step by Step ~", "~ Program Configuration ~", "~ Source File Requirements ~",
                      "~ Switches and Options ~", "~ Files/Directories Names and Wild Cards ~",
                      "~ Source Code File Input Modes ~", "~ Program Output Modes ~",
                      "~ Program Output File Formats ~", "~ Run Time Switch Options ~"});
  const std::string rule = "  " + std::string(72, '-') + "\n";
  ExpectInOrder(out, {"  * Allocation/De-allocation of Memory Mode\n" + rule + "  -a\n\n", "  Extended Option Mode\n",
                      "  LQA Configuration Parameters\n" + rule + "  -y"});
  EXPECT_NE(out.find("lqa.cfg", out.find("LQA Configuration Parameters")), std::string::npos);
  // Every section title line is followed by the rule.
  const auto lines = Lines(out);
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i].rfind("  * ", 0) == 0) {
      EXPECT_EQ(lines[i + 1] + "\n", rule) << lines[i];
    }
  }
}

TEST(HelpTest, ShortSyntaxUsesNameAfterLastBackslash) {
  auto gcd = NewGlobalData();
  gcd->drv.progPath = "C:\\bin\\lqa.exe";
  const std::string out = CaptureOut([&] { ShowSyntax(*gcd, 1); });
  EXPECT_EQ(out.rfind("  Syntax: lqa.exe -option or -switch[option]\n", 0), 0u);
  // The report goes to a file here: no prompt, only the short wait.
  EXPECT_EQ(out.find("Press Enter"), std::string::npos);
}

}  // namespace
