// User defined quality notices: the definitions read from the UDQN file and
// the run state that evaluates them line by line.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "notices/notice_severity.h"

// Flags are numbered 1 to 1999; slot 0 is never used.
inline constexpr int kUdqnFlagSlots = 2000;
// At most this many sources and flag numbers per list.
inline constexpr int kUdqnListMax = 64;
// Identifiers below this number are reported (and still used).
inline constexpr int kUdqnFirstId = 100;

enum UdqnContext { kUdqnUnknown = 0, kUdqnLine = 1, kUdqnCode = 2, kUdqnComment = 3, kUdqnString = 4 };

// What every match of a pattern must show, so that most lines are ruled out
// without calling the library.
struct UdqnPrefilter {
  std::vector<std::string> literals;  // a match holds one of these (empty: no test)
  int endAnchored = 0;                // the match ends at the end of the text...
  std::bitset<256> lastChars;         // ...with one of these characters
};

// A compiled pattern (udqn_regex.cpp keeps the library's record in it and
// releases it with regfree). The library's header stays out of the run
// record, whose users may include the system's own regex.h.
struct UdqnRegex;
struct UdqnRegexFree {
  void operator()(UdqnRegex* regex) const;
};
using UdqnRegexPtr = std::unique_ptr<UdqnRegex, UdqnRegexFree>;

// The library's match record, shared by every pattern of the run: each record
// keeps the backtracking memory of its last search (at least 20 KB), which
// one per pattern would multiply by the number of definitions.
struct UdqnMatchData;
struct UdqnMatchDataFree {
  void operator()(UdqnMatchData* data) const;
};
using UdqnMatchDataPtr = std::unique_ptr<UdqnMatchData, UdqnMatchDataFree>;

// The POSIX flag values of the library, for the flag keys of the UDQN file.
inline constexpr int kUdqnIcase = 0x0001;
inline constexpr int kUdqnNewline = 0x0002;
inline constexpr int kUdqnNotBol = 0x0004;
inline constexpr int kUdqnNotEol = 0x0008;
inline constexpr int kUdqnNoSub = 0x0020;
inline constexpr int kUdqnExtended = 0;  // the library's syntax is always extended

// Up to 64 flag numbers of one list (set, check, not-check, clear).
using UdqnFlagList = std::vector<int>;

// One "UDQN Begin" ... "UDQN End" block. A worker's copy is made member by
// member (CopyUdqnForWorker, udqn_worker.cpp): a new member is copied there.
struct UdqnDefinition {
  int index = -1;                    // its place in UdqnState::definitions
  int id = 0;
  int hasId = 0;
  int active = 0;
  int context = kUdqnUnknown;
  std::vector<std::string> sources;  // extensions, at most 64
  std::string pattern;
  std::string compileStatus;         // "Successful Pattern Compile" or the library's error text
  std::string message;               // the verbose message template
  std::string summary;               // the one-line text
  std::string testString;
  std::string testResult;
  UdqnFlagList setFlags, checkFlags, notCheckFlags, clearFlags;
  int emitAtEof = 0;
  int silent = 0;
  NoticeSeverity rank = DefaultUserNoticeSeverity();  // the optional severity and category keys
  int hits = 0;
  int compileFlags = 0;              // icase, newline, nosub in force for the pattern
  int matchFlags = 0;                // notbol, noteol in force for the pattern
  UdqnRegexPtr regex;                // null until the pattern compiles
  UdqnPrefilter prefilter;
  int stoppedInFile = -1;            // serial of the file in which a search was stopped
  int stops = 0;                     // files in which a search was stopped
  int stoppedForRun = 0;             // too many stopped searches: no longer evaluated
};

// The definitions that apply to files of one extension, in list order.
struct UdqnSelection {
  std::vector<UdqnDefinition*> lineDefs;
  std::vector<UdqnDefinition*> eofDefs;
};

struct UdqnFileLog;

struct UdqnState {
  std::vector<std::unique_ptr<UdqnDefinition>> definitions;  // in file order
  std::unordered_map<int, UdqnDefinition*> byId;
  int loaded = 0;       // the main UDQN file has been read (once a run)
  int showing = 0;      // messages expand with example values (-xUDQNSHOW)
  int needContext = 0;  // some definition matches the code, comment or string part
  int checksFlags = 0;  // some indexed definition has check or not-check flags
  // Active, compiled definitions by source extension (lower case unless file
  // names are case sensitive); built once after loading.
  std::unordered_map<std::string, UdqnSelection> bySource;
  int caseSensitive = 0;
  const UdqnSelection* current = nullptr;  // the current file's definitions, or none
  // The flag table: all clear at the start of the run, then changed only by
  // set and clear flags, so that a state machine may span files.
  std::array<int, kUdqnFlagSlots> flags{};
  int timedFile = -1;   // serial of a file with a slow line: its searches are timed one by one
  // The definitions whose search was stopped, by index, one entry a stop in
  // the order of the stops. A worker's copy holds the run's as of its last
  // BeginUdqnFile (syncedStops entries) followed by its own.
  std::vector<int> stopHistory;
  std::size_t syncedStops = 0;
  // On a worker only: where the file being analysed logs what it reads from
  // and changes in the state above (null in the serial run: nothing logged).
  UdqnFileLog* log = nullptr;
  // The match record lent to each search in turn: the file's own (in its
  // FileResult) while a file is analysed, else the run's.
  UdqnMatchDataPtr* fileMatchData = nullptr;
  UdqnMatchDataPtr runMatchData;
  UdqnMatchDataPtr& MatchData() { return fileMatchData != nullptr ? *fileMatchData : runMatchData; }
};
