// A gate snapshot: the functions, classes and notices of one analysed tree
// with what identifies them from run to run. Written as JSON Lines (a
// header, one flat object per record, an end line with the counts) by
// snapshot_writer.cpp, read back strictly and as it streams by ReadSnapshot.
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

// A notice, compact: a tree raises millions. Its texts are indices into
// the snapshot's tables.
struct GateNotice {
  std::uint64_t textHash = 0;  // the flagged line without blanks (0: a notice about a whole entity)
  int path = 0;         // into paths; its text is empty for a notice about no file (a made-up inheritance root)
  int rule = 0;         // into rules
  int function = -1;    // the index of its function in the snapshot (the entity), or -1
  int entity = -1;      // into names: the qualified type or function name of a notice without its function, or -1
  int keyword = -1;     // into names: the keyword of the scope notice, or -1
  int line = 1;
  char entityKind = 0;  // 'f' function, 'c' class, 's' struct, 'i' interface, 0 none
};

// A digest of one file's records (functions, notices, classes) that a side
// run writes instead of them for a file the gate does not compare: equal
// digests on both sides mean identical records.
class SnapshotDigest {
 public:
  SnapshotDigest& Add(std::uint64_t v) {
    h_ = (h_ ^ v) * 0x100000001b3ULL;
    h_ ^= h_ >> 29;
    return *this;
  }
  SnapshotDigest& Add(long long v) { return Add(static_cast<std::uint64_t>(v)); }
  SnapshotDigest& Add(int v) { return Add(static_cast<std::uint64_t>(static_cast<long long>(v))); }
  SnapshotDigest& Add(char v) { return Add(static_cast<std::uint64_t>(static_cast<unsigned char>(v)) | 0x100); }
  SnapshotDigest& Add(std::string_view s) {
    Add(static_cast<std::uint64_t>(s.size()));
    for (unsigned char c : s) h_ = (h_ ^ c) * 0x100000001b3ULL;
    return *this;
  }
  SnapshotDigest& Add(const char* s) { return Add(std::string_view(s)); }
  SnapshotDigest& Add(const std::string& s) { return Add(std::string_view(s)); }
  std::uint64_t value() const { return h_; }

 private:
  std::uint64_t h_ = 0xcbf29ce484222325ULL;
};

// The environment variable through which the gate gives a side run the
// file listing the paths it records in full (NUL-terminated).
inline constexpr const char* kGateRecordVariable = "LQA_GATE_RECORD";

struct GateRule {
  std::string id;       // "LQA030"
  std::string message;  // its short text
};

struct GateSnapshot {
  int version = kSnapshotVersion;
  std::string lqaVersion;
  int complexityLimit = 0;
  std::vector<std::string> paths;  // each analysed file in analysis order, then the blocks of notices outside files
  std::vector<GateFunction> functions;
  std::vector<GateClass> classes;
  std::vector<GateNotice> notices;
  std::vector<GateRule> rules;
  std::vector<std::string> names;  // entity names and keywords, each once
  std::unordered_map<std::string, int> nameIds;
  // The files recorded by their digest only (path -> digest).
  std::unordered_map<std::string, std::uint64_t> digests;

  // The index of a name, added when new.
  int Name(std::string_view name);
  // The index of a rule, added with no message when new.
  int Rule(std::string_view id);
  // A notice's entity name and keyword ("" for none), path and rule id.
  const std::string& EntityOf(const GateNotice& n) const;
  const std::string& KeywordOf(const GateNotice& n) const;
  const std::string& PathOf(const GateNotice& n) const { return paths[static_cast<std::size_t>(n.path)]; }
  const std::string& RuleOf(const GateNotice& n) const { return rules[static_cast<std::size_t>(n.rule)].id; }
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
