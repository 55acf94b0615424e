// The built manual page says what the program's own screens say: its OPTIONS
// are the entries of -hs and -xHELP, and its EXIT STATUS rows are the
// README's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace {

using Entry = std::pair<int, std::string>;  // nesting level, usage and text

std::string Collapse(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n') {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string Unroff(std::string line) {
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '\\' || i + 1 >= line.size()) {
      out += line[i];
      continue;
    }
    const char next = line[++i];
    if (next == '-') out += '-';
    else if (next == 'e') out += '\\';
    else if (next == 'f') ++i;  // a font change: \fB, \fI, \fR
    else if (next != '&') out += next;
  }
  return out;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::size_t Indent(const std::string& line) {
  const std::size_t n = line.find_first_not_of(' ');
  return n == std::string::npos ? line.size() : n;
}

// The entries of the syntax screen: a line starting with '-' ten blanks in
// is a switch, thirteen blanks in one of its options; other lines continue.
std::vector<Entry> SyntaxScreen(const std::string& out) {
  std::vector<Entry> entries;
  bool inList = false;
  for (const std::string& line : Lines(out)) {
    if (!inList) {
      inList = line == "          [ ] characters are not entered";
      continue;
    }
    if (line.empty()) break;
    const std::size_t indent = Indent(line);
    if (line[indent] == '-' && (indent == 10 || indent == 13)) entries.emplace_back(indent == 10 ? 0 : 1, line);
    else if (!entries.empty()) entries.back().second += " " + line;
  }
  for (Entry& e : entries) e.second = Collapse(e.second);
  return entries;
}

// The entries of the -xHELP table: four blanks in, continuations deeper.
std::vector<std::string> NewerScreen(const std::string& out) {
  std::vector<std::string> entries;
  bool inList = false;
  for (const std::string& line : Lines(out)) {
    if (!inList) {
      inList = line.find("LQA Newer Switches") != std::string::npos;
      continue;
    }
    if (line.empty()) {
      if (!entries.empty()) break;
      continue;
    }
    if (Indent(line) == 4) entries.push_back(line);
    else if (!entries.empty()) entries.back() += " " + line;
  }
  for (std::string& e : entries) e = Collapse(e);
  return entries;
}

struct Page {
  std::vector<std::string> sections;
  std::vector<Entry> options;           // before the newer switches
  std::vector<std::string> newer;       // the newer switches
  std::vector<std::string> exitStatus;  // "status meaning"
};

// The tagged paragraphs of the page: .TP, the tag line, then text lines.
Page ParsePage(const std::string& text) {
  Page page;
  std::string section;
  bool newer = false;
  int level = 0;
  std::string* current = nullptr;
  int pendingTag = 0;  // 1 after .TP: the next line is the tag
  for (const std::string& line : Lines(text)) {
    if (line.rfind(".SH ", 0) == 0) {
      section = Unroff(line.substr(4));
      if (section.front() == '"') section = section.substr(1, section.size() - 2);
      page.sections.push_back(section);
      current = nullptr;
      continue;
    }
    if (line.rfind(".SS", 0) == 0) newer = section == "OPTIONS";
    if (line == ".RS") level = 1;
    if (line == ".RE") level = 0;
    if (line == ".TP") {
      pendingTag = 1;
      current = nullptr;
      continue;
    }
    if (!line.empty() && line[0] == '.') {
      current = nullptr;
      continue;
    }
    if (pendingTag) {
      pendingTag = 0;
      if (section == "OPTIONS" && !newer) {
        page.options.emplace_back(level, Unroff(line));
        current = &page.options.back().second;
      } else if (section == "OPTIONS") {
        page.newer.push_back(Unroff(line));
        current = &page.newer.back();
      } else if (section == "EXIT STATUS") {
        page.exitStatus.push_back(Unroff(line));
        current = &page.exitStatus.back();
      }
      continue;
    }
    if (current != nullptr) *current += " " + Unroff(line);
  }
  for (Entry& e : page.options) e.second = Collapse(e.second);
  for (std::string& e : page.newer) e = Collapse(e);
  for (std::string& e : page.exitStatus) e = Collapse(e);
  return page;
}

// The rows of the README's exit status table, "status meaning".
std::vector<std::string> ReadmeExitStatus() {
  std::vector<std::string> rows;
  bool inSection = false;
  for (const std::string& line : Lines(ReadFile(std::string(LQA_SOURCE_DIR) + "/README.md"))) {
    if (line.rfind("## ", 0) == 0) inSection = line == "## Exit status";
    if (!inSection || line.rfind("| ", 0) != 0 || line.rfind("| status", 0) == 0) continue;
    std::string row;
    for (char c : line)
      if (c != '`' && c != '|') row += c;
    rows.push_back(Collapse(row));
  }
  return rows;
}

class ManualPage : public ::testing::Test {
 protected:
  TempDir dir, home;
  Page page;
  void SetUp() override {
    const std::string path = std::filesystem::path(LQA_BINARY).parent_path() / "lqa.1";
    const std::string text = ReadFile(path);
    ASSERT_FALSE(text.empty()) << path << " was not built";
    page = ParsePage(text);
  }
};

TEST_F(ManualPage, HasTheUsualSectionsInOrder) {
  EXPECT_EQ(page.sections, (std::vector<std::string>{"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "FILES",
                                                     "ENVIRONMENT", "EXIT STATUS", "EXAMPLES"}));
}

TEST_F(ManualPage, OptionsAreTheEntriesOfTheHelpScreens) {
  const RunResult syntax = RunLqa({"-hs"}, dir.path(), home.path());
  const std::vector<Entry> screen = SyntaxScreen(syntax.out);
  ASSERT_GT(screen.size(), 90u) << syntax.out;
  EXPECT_EQ(page.options, screen);

  const RunResult newer = RunLqa({"-xHELP"}, dir.path(), home.path());
  const std::vector<std::string> newerScreen = NewerScreen(newer.out);
  ASSERT_FALSE(newerScreen.empty()) << newer.out;
  EXPECT_EQ(page.newer, newerScreen);
}

TEST_F(ManualPage, ExitStatusRowsAreTheReadmeRows) {
  ASSERT_FALSE(page.exitStatus.empty());
  EXPECT_EQ(page.exitStatus, ReadmeExitStatus());
}

}  // namespace
