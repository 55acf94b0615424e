// User defined quality notices as the rest of the system sees them.
#pragma once

#include <string>

struct GlobalData;

// The summary text of the user defined notice with this identifier, or null
// when no such notice is loaded.
const char* UdqnSummary(int id, const GlobalData& gcd);
// The profile of user defined notices: each active, counted notice with its
// count and its share of totalNotices.
void udqn_profile(int totalNotices, GlobalData& gcd);
// Sum of the hit counts of the active definitions.
int udqn_notice_total_count(GlobalData& gcd);

// The user defined notice file of the run: the configured one, or, when the
// configuration names none and LQACFGHOME is not set, lqa_udqn.cfg beside
// lqa.cfg if it can be read there; empty when there is none.
std::string udqn_file_path(const GlobalData& gcd);

// Report header: with quality notices on and a UDQN file configured, reads the
// file once a run (announcing it in the head); with -xUDQNSHOW prints every
// definition and ends the run with status 1.
void udqn_header_load(GlobalData& gcd);
// The user defined part of the -hn screen: the file, the library version and
// each definition with a summary.
void udqn_notice_types(GlobalData& gcd);

// Before every file: picks the definitions that apply to the current file's
// extension (the flags keep their state).
void udqn_reset_file(GlobalData& gcd);
// Evaluates the definitions for one analysed line (eof 0) or for the end of
// the file (eof 1, text "UDQN eof").
void udqn_process(const char* text, int eof, GlobalData& gcd);
