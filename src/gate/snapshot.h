// A gate snapshot: the functions, classes and notices of one analysed tree
// with what identifies them from run to run. Written as JSON Lines (a
// header, one flat object per record, an end line with the counts) by
// snapshot_writer.cpp, read back strictly by ReadSnapshot.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

inline constexpr const char* kSnapshotFormat = "lqa-gate";
inline constexpr int kSnapshotVersion = 1;

struct GateFunction {
  std::string path;       // relative to the analysed tree's root
  std::string name;       // qualified
  std::string signature;  // the packed parameter list as the reports give it
  int occurrence = 1;     // among the functions of the file with this name and signature
  int line = 0;           // the line that holds the name
  int begin = 0;          // the line of the opening brace
  int end = 0;            // the line of the closing brace
  int complexity = 0;     // cyclomatic
  int eloc = 0;
  std::uint64_t bodyHash = 0;
};

struct GateClass {
  std::string path;
  std::string name;  // qualified; interfaces carry the prefix "Interface-"
  int occurrence = 1;
  int line = 0;
};

struct GateNotice {
  std::string path;     // empty for a notice about no file (a made-up inheritance root)
  std::string rule;     // "LQA030", "LQA100"
  std::string keyword;  // the keyword of the scope notice, else empty
  std::string entity;   // qualified function or type name, or empty
  char entityKind = 0;  // 'f' function, 'c' class, 's' struct, 'i' interface, 0 none
  int function = -1;    // the index of its function in the snapshot, or -1
  std::uint64_t textHash = 0;  // the flagged line without blanks (0: a notice about a whole entity)
  int occurrence = 1;
  int line = 1;
};

struct GateSnapshot {
  int version = kSnapshotVersion;
  std::string lqaVersion;
  int complexityLimit = 0;
  std::vector<std::string> files;  // every analysed file, in analysis order
  std::vector<GateFunction> functions;
  std::vector<GateClass> classes;
  std::vector<GateNotice> notices;
  std::unordered_map<std::string, std::string> ruleMessages;  // rule id -> its short text
};

// The message of a notice as the documents give it: the rule's text (or the
// scope wording with the keyword) and " in function NAME" and the like.
std::string NoticeText(const GateSnapshot& snapshot, const GateNotice& notice);
// The entity kind letter of a word ("function", "class", "struct",
// "interface"), 0 for any other; and back.
char EntityKindLetter(std::string_view word);
const char* EntityKindWord(char letter);

// Reads a snapshot. Returns false with a one-line reason in error for a file
// that cannot be read, a foreign format, a version other than 1 or any
// malformed or truncated line. A snapshot of another lqa version is read;
// warning then says so.
bool ReadSnapshot(const std::string& file, GateSnapshot& out, std::string& error, std::string& warning);
// The same from text already in memory.
bool ParseSnapshot(std::string_view text, GateSnapshot& out, std::string& error, std::string& warning);
// The hexadecimal form the snapshot gives a 64-bit hash (16 digits).
std::string HashHex(std::uint64_t h);
