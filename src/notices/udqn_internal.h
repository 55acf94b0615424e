// The parts of the user defined notices that work on single definitions:
// loading, pattern compilation and matching, firing and output.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "notices/udqn_state.h"

struct GlobalData;

// Loading (udqn_load.cpp). Reads the main UDQN file (includes follow from
// it); every problem is reported and the run goes on.
void load_udqn_file(const char* fileName, GlobalData& gcd);
// Builds the per-extension selection of active, compiled definitions.
void udqn_build_index(GlobalData& gcd);
// Whether a definition with this identifier exists, and the definition.
int search_udqn_id(int id, const UdqnState& state);
UdqnDefinition* get_udqn_ptr(int id, const UdqnState& state);
// Releases every definition (their compiled patterns included).
void free_udqn(GlobalData& gcd);

// Patterns (udqn_regex.cpp).
// Compiles def.pattern with def.compileFlags; sets the compile status.
bool udqn_compile(UdqnDefinition& def);
// Compiles a pattern as udqn_compile does (limits, no match record of its
// own): null with the library's error text in status when it fails.
UdqnRegexPtr udqn_compile_pattern(const std::string& pattern, int compileFlags, std::string& status);
// regexec with the definition's match flags: 0 on a match (its offsets in
// found, when given), kUdqnNoMatch, kUdqnMatchLimit, or another error code of
// the library. The pattern's record holds the match record only during the call.
inline constexpr int kUdqnNoMatch = 17;    // REG_NOMATCH
inline constexpr int kUdqnMatchLimit = 14;  // REG_ESPACE: the library's match limit
struct UdqnMatch {
  int start = -1;
  int end = -1;
};
int pcre_match(const char* text, UdqnDefinition& def, GlobalData& gcd, UdqnMatch* found = nullptr);
// Matches the test string and writes the result text.
void pcre_match_test(const std::string& test, UdqnDefinition& def, GlobalData& gcd, std::string& result);
// The library's error text for a regexec code, trailing blanks removed.
std::string udqn_regerror(int code);
// Prefilters (udqn_prefilter.cpp, udqn_prefilter_end.cpp). Literals of which
// every match holds one (none when the pattern is beyond the analysis).
std::vector<std::string> udqn_required_literals(std::string_view pattern);
// For a pattern ending in '$': the characters a match can end with.
bool udqn_end_characters(std::string_view pattern, int compileFlags, std::bitset<256>& chars);
UdqnPrefilter udqn_build_prefilter(std::string_view pattern, int compileFlags);
// False when the text cannot match the pattern the prefilter was built for.
bool udqn_prefilter_passes(const UdqnPrefilter& filter, const char* text, int compileFlags, int matchFlags);
// The regular expression library's version ("10.42 2022-12-11").
const char* udqn_pcre_version();

// Firing and output (udqn_process.cpp, udqn_output.cpp).
// A definition stopped in this many files is not evaluated for the rest of the run.
inline constexpr int kUdqnStopsPerRun = 3;
// Marks the definition stopped in the file of this serial, counts the stop
// (resting the definition for the run after kUdqnStopsPerRun) and records it
// in the state's stop history.
void CountUdqnStop(UdqnDefinition& def, int serial, UdqnState& state);
// Sets and clears the definition's flags, counts and prints the notice.
void emit_udqn(UdqnDefinition& def, const char* line, GlobalData& gcd);
// The single-line form of a fired notice; records the occurrence.
void emit_udqn_lite(const UdqnDefinition& def, GlobalData& gcd);
// The verbose form of a fired notice.
void emit_udqn_verbose(const UdqnDefinition& def, const char* line, GlobalData& gcd);
// Prints a message template expanded for the line, then a newline.
void emit_message(const std::string& message, const char* line, GlobalData& gcd);
// Prints one definition (-xUDQNSHOW).
void UdqnShow(const UdqnDefinition& def, GlobalData& gcd);
// A text placed in a message as the output mode needs it: escaped for HTML
// and XML, so that names and values cannot break the document.
std::string udqn_mode_text(std::string_view text, const GlobalData& gcd);
// Announces a UDQN file in the report head (main or included).
void udqn_announce_file(const std::string& path, int include, GlobalData& gcd);
