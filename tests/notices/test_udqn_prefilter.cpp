// The pattern prefilters must never turn a match into a miss: every line the
// library matches passes the prefilter. Checked on a wide set of patterns
// against many generated lines, plus what the common patterns yield.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/gcd.h"
#include "notices/udqn_internal.h"

namespace {

const char* const kPatterns[] = {
    "printf", "\\bprintf\\s*\\(", "a|b", "(foo|bar)baz", "(foo|)bar", "x(ab)?y", "x(ab)*y", "x(ab)+y",
    "ab{2}c", "ab{0,2}c", "ab{,3}", "a{1,}b", "\\x41BC", "\\x{41}BC", "\\101bc", "(?i)abc", "(?i:abc)d",
    "abc(?=def)", "abc(?!def)", "(?<=x)abc", "(?<!x)abc", "\\Qa.b\\E", "\\d+\\.\\d+", "[[:digit:]]{3}",
    "[]a]bc", "[^]a]bc", "\\\\x", "a\\|b", "(a)\\1", "(a)\\g1b", "(a)\\g{-1}b", "(?<n>ab)\\k<n>", "(?P<n>x)y",
    "\\cAbc", "[ \\t]+\\r?$", "\\s+$", ";\\s*$", "[;{]$", "x\\b$", "(a|b)$", "\\h+$", "a.$", "[^a]$", "x?$",
    "ab+$", "a{2,}$", "[a-c]$", "[[:space:]]$", "[\\]x]$", "\\$", "a$b", "(?#c)abc", "(*UTF)abc", "(*CR)ab$",
    "#\\s*if\\s+0\\b", "TODO(?!\\s*\\([A-Z]+-[0-9]+\\))", "\\p{Lu}bc", "\\pLbc", "\\N{U+41}b", "a\\Eb",
    "(?:ab|cd)+e", "((a|b)c|d)e", "(?|(a)|(b))c", "(?>ab)c", "a*?b", "a++b", "(ab){2}", "(ab){0}c", "^$",
    "", "x*", "[a", "a)", "(?x) a b", "(?-i)abc", ".", "\\w+;$", "[^;]$", "[A-Z]\\d$", "\\r$", "\\n$",
};

const int kFlagSets[] = {0, kUdqnIcase, kUdqnNewline, kUdqnIcase | kUdqnNewline};

const char* const kPieces[] = {
    "a", "b", "c", "d", "e", "x", "y", "A", "B", "C", "X", "ab", "abc", "ABC", "foo", "bar", "baz", "def",
    "printf", "(", ")", ";", "{", "]", "\\", "|", ".", "$", "#", "if", " 0", "0", "1", "12", "345", "TODO",
    "(AB-12)", " ", "\t", "  ", "\r", "\x01", "\xa0", "a.b", "BC", "bc", "d e", "\n", "x\n",
};

std::string RandomLine(std::mt19937& rng) {
  std::uniform_int_distribution<int> count(0, 7);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  std::string line;
  for (int n = count(rng); n > 0; --n) line += kPieces[piece(rng)];
  switch (rng() % 4) {
    case 0: line += "\n"; break;
    case 1: line += "\r\n"; break;
    default: break;
  }
  return line;
}

TEST(UdqnPrefilter, NeverRejectsALineThePatternMatches) {
  auto gcd = NewGlobalData();
  std::mt19937 rng(20240611);
  std::vector<std::string> lines;
  for (int i = 0; i < 4000; ++i) lines.push_back(RandomLine(rng));
  for (const char* fixed : {"printf(x)", "  printf (\"%d\")", "x  \t\r\n", "abc;\n", "foo baz barbaz",
                            "#  if  0 \n", "TODO fix", "TODO (AB-12) ok", "xaby\n", "ABCabc", "aaa\r\n", "AB\n"})
    lines.emplace_back(fixed);
  int rejected = 0, matched = 0;
  for (const char* pattern : kPatterns) {
    for (int flags : kFlagSets) {
      UdqnDefinition def;
      def.pattern = pattern;
      def.compileFlags = flags;
      if (!udqn_compile(def)) continue;
      for (int notEol : {0, kUdqnNotEol}) {
        def.matchFlags = notEol;
        for (const std::string& line : lines) {
          const bool passes = udqn_prefilter_passes(def.prefilter, line.c_str(), flags, def.matchFlags);
          const bool matches = pcre_match(line.c_str(), def, *gcd) == 0;
          if (matches) ++matched;
          if (!passes) ++rejected;
          ASSERT_TRUE(passes || !matches) << "pattern /" << pattern << "/ flags " << flags << " line \"" << line
                                          << "\"";
        }
      }
    }
  }
  // The prefilters do reject lines, and the lines do match patterns.
  EXPECT_GT(rejected, 100000);
  EXPECT_GT(matched, 10000);
}

TEST(UdqnPrefilter, CommonPatternsYieldUsefulFilters) {
  using Lits = std::vector<std::string>;
  EXPECT_EQ(udqn_required_literals("\\bprintf\\s*\\("), (Lits{"printf"}));
  EXPECT_EQ(udqn_required_literals("\\b(strcpy|strcat|gets)\\s*\\("), (Lits{"strcpy", "strcat", "gets"}));
  EXPECT_EQ(udqn_required_literals("SPDX-License-Identifier:"), (Lits{"SPDX-License-Identifier:"}));
  EXPECT_EQ(udqn_required_literals("TODO(?!\\s*\\([A-Z]+-[0-9]+\\))"), (Lits{"TODO"}));
  EXPECT_EQ(udqn_required_literals("colou?r"), (Lits{"colo"}));
  EXPECT_EQ(udqn_required_literals("\\x41yz"), (Lits{"yz"}));
  EXPECT_EQ(udqn_required_literals("(?i)abc"), Lits{});
  EXPECT_EQ(udqn_required_literals("a|"), Lits{});

  std::bitset<256> end;
  ASSERT_TRUE(udqn_end_characters("[ \\t]+\\r?$", 0, end));
  EXPECT_EQ(end.count(), 3u);
  EXPECT_TRUE(end[' '] && end['\t'] && end['\r']);
  ASSERT_TRUE(udqn_end_characters(";\\s*$", 0, end));
  EXPECT_TRUE(end[';'] && end[' '] && !end['x']);
  EXPECT_FALSE(udqn_end_characters("x*$", 0, end));          // an empty match ends anywhere
  EXPECT_FALSE(udqn_end_characters("abc$", kUdqnNewline, end));  // '$' before every line end
  EXPECT_FALSE(udqn_end_characters("(a|b)$", 0, end));
}

}  // namespace
