// Compiling and matching the patterns of user defined notices through the
// POSIX interface of the regular expression library.
//
// A pattern that backtracks catastrophically must not stall a run. The POSIX
// interface takes no match context, so every pattern is compiled behind the
// library's own start-of-pattern limit settings, which lower its default
// limits for that pattern: at most 100,000 backtracking steps from each start
// position and 64 MB of backtracking memory. A search that reaches a limit
// ends with an error code instead of a match; the caller reports it, and also
// stops a definition whose search of one line takes too long, since the step
// limit applies afresh at each of up to 2047 start positions.
//
// The POSIX interface gives every compiled pattern a match record of its own,
// and the library keeps a search's backtracking memory in it (20 KB or more)
// until the pattern is freed: with thousands of definitions that would cost
// gigabytes. So a pattern's own record is released right after compiling,
// and one record of the run is lent to each search and taken back after it.
#include <pcre2posix.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "common/gcd.h"
#include "notices/udqn_internal.h"

struct UdqnRegex {
  regex_t re{};
};

void UdqnRegexFree::operator()(UdqnRegex* regex) const {
  if (regex == nullptr) return;
  regex->re.re_match_data = nullptr;  // the shared record is not the pattern's to free
  regfree(&regex->re);
  delete regex;
}

struct UdqnMatchData {
  pcre2_match_data* md = nullptr;
};

void UdqnMatchDataFree::operator()(UdqnMatchData* data) const {
  if (data == nullptr) return;
  pcre2_match_data_free(data->md);
  delete data;
}

namespace {

static_assert(kUdqnIcase == REG_ICASE && kUdqnNewline == REG_NEWLINE && kUdqnNotBol == REG_NOTBOL &&
              kUdqnNotEol == REG_NOTEOL && kUdqnNoSub == REG_NOSUB && kUdqnExtended == REG_EXTENDED);
static_assert(kUdqnNoMatch == REG_NOMATCH && kUdqnMatchLimit == REG_ESPACE);

#define UDQN_STRINGIFY2(x) #x
#define UDQN_STRINGIFY(x) UDQN_STRINGIFY2(x)

constexpr const char kLimitPrefix[] = "(*LIMIT_MATCH=100000)(*LIMIT_HEAP=65536)";
constexpr std::size_t kLimitPrefixLen = sizeof kLimitPrefix - 1;

std::string ErrorText(int code, const regex_t* re) {
  char text[512];
  regerror(code, re, text, sizeof text);
  std::string out(text);
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// The run's match record with room for the whole match and every group of
// the pattern (the library reports no offsets when the room is short), or
// null when memory runs out.
pcre2_match_data* SharedMatchData(const regex_t& re, UdqnMatchDataPtr& held) {
  const std::size_t pairs = re.re_nsub + 1;
  if (held && pcre2_get_ovector_count(held->md) >= pairs) return held->md;
  held.reset();
  pcre2_match_data* md = pcre2_match_data_create(static_cast<uint32_t>(std::max<std::size_t>(pairs, 16)), nullptr);
  if (md == nullptr) return nullptr;
  held.reset(new UdqnMatchData{md});
  return md;
}

}  // namespace

std::string udqn_regerror(int code) { return ErrorText(code, nullptr); }

UdqnRegexPtr udqn_compile_pattern(const std::string& pattern, int compileFlags, std::string& status) {
  auto regex = std::make_unique<UdqnRegex>();
  const std::string limited = kLimitPrefix + pattern;
  const int rc = regcomp(&regex->re, limited.c_str(), compileFlags);
  if (rc != 0) {
    // Error offsets count from the start of the user's pattern.
    size_t& offset = regex->re.re_erroffset;
    if (offset != static_cast<size_t>(-1) && offset >= kLimitPrefixLen) offset -= kLimitPrefixLen;
    status = ErrorText(rc, &regex->re);
    return nullptr;
  }
  pcre2_match_data_free(static_cast<pcre2_match_data*>(regex->re.re_match_data));
  regex->re.re_match_data = nullptr;
  status = "Successful Pattern Compile";
  return UdqnRegexPtr(regex.release());
}

bool udqn_compile(UdqnDefinition& def) {
  def.regex.reset();
  def.prefilter = UdqnPrefilter{};
  def.regex = udqn_compile_pattern(def.pattern, def.compileFlags, def.compileStatus);
  if (!def.regex) return false;
  def.prefilter = udqn_build_prefilter(def.pattern, def.compileFlags);
  return true;
}

int pcre_match(const char* text, UdqnDefinition& def, GlobalData& gcd, UdqnMatch* found) {
  if (found != nullptr) *found = UdqnMatch{};
  if (!def.regex || text == nullptr) return REG_NOMATCH;
  regex_t& re = def.regex->re;
  UdqnMatchDataPtr& held = gcd.udqn.MatchData();
  pcre2_match_data* md = SharedMatchData(re, held);
  if (md == nullptr) return REG_ESPACE;
  regmatch_t match[1] = {{-1, -1}};
  re.re_match_data = md;
  const int rc = regexec(&re, text, 1, match, def.matchFlags);
  re.re_match_data = nullptr;
  // A search stopped at its limit may have left megabytes of backtracking
  // memory in the record: start the next search with a fresh one.
  if (rc == REG_ESPACE) held.reset();
  if (rc == 0 && found != nullptr) *found = UdqnMatch{match[0].rm_so, match[0].rm_eo};
  return rc;
}

void pcre_match_test(const std::string& test, UdqnDefinition& def, GlobalData& gcd, std::string& result) {
  if (!def.regex) {
    result = "Pattern Compile Error";
    return;
  }
  UdqnMatch found;
  const int rc = pcre_match(test.c_str(), def, gcd, &found);
  if (rc == REG_NOMATCH) {
    result = "No Match";
  } else if (rc != 0) {
    result = "Match Error: " + udqn_regerror(rc);
  } else {
    char text[96];
    std::snprintf(text, sizeof text, "Expression Match: Start[%d] End[%d] Span[%d]", found.start + 1, found.end,
                  found.end - found.start);
    result = text;
  }
}

const char* udqn_pcre_version() {
  return UDQN_STRINGIFY(PCRE2_MAJOR) "." UDQN_STRINGIFY(PCRE2_MINOR) " " UDQN_STRINGIFY(PCRE2_DATE);
}
