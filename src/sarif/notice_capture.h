// Capturing the notices of a run for the machine-readable documents. Every
// counted notice, built-in or user defined, passes through CaptureNotice as
// it is raised; the capture gives it its anchor line, entity and stable
// fingerprint and keeps it in the buffer of its file, which the documents
// write at the end of the file. The buffer holds one file's notices only, so
// memory stays flat however many notices a tree raises, and files analysed
// apart could be captured apart and written in file order.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "notices/notice_state.h"
#include "sarif/fingerprint.h"
#include "sarif/notice_rules.h"
#include "sarif/source_location.h"

struct GlobalData;

// One notice as it is raised.
struct RaisedNotice {
  int number = 0;
  bool user = false;               // a user defined notice: number is its identifier
  int line = 0;                    // the line the report gives it
  const char* fileName = nullptr;  // its file when it is not the current one (40, 41 after the last file)
  const char* keyword = nullptr;   // 22: the keyword without braces
  const char* entity = nullptr;    // the type it judges, when no type is open (40, 41)
  const char* lineText = nullptr;  // the flagged line, when the caller holds it
  NoticeSubject subject = NoticeSubject::Line;
};

enum class NoticeEntityKind : unsigned char { None, Function, Class, Struct, Interface };

struct NoticeEntity {
  std::string name;  // qualified
  NoticeEntityKind kind = NoticeEntityKind::None;
};

struct CapturedNotice {
  int rule = 0;         // index in the run's rule table
  int line = 1;         // the anchor line
  int entity = -1;      // index in FileNotices::entities, or -1
  char keyword[8] = {}; // notice 22's keyword, empty otherwise
  char fingerprint[32] = {};  // the fingerprint in hexadecimal, as the documents write it
  // For a gate snapshot: the hash of the flagged line without its bytes up
  // to 0x20 (0 for a notice about a whole function, type or file).
  std::uint64_t textHash = 0;
};

// The captured notices of one file, in the order they were raised.
struct FileNotices {
  SourceLocation location;
  std::vector<CapturedNotice> notices;
  std::vector<NoticeEntity> entities;  // the functions and types named, each run of equal names once
  void Clear();
};

// What the capture keeps for the file being analysed.
struct NoticeCaptureState {
  NoticeRuleTable rules;
  int rulesBuilt = 0;
  std::string baseDir;         // the resolved current directory
  int inFile = 0;              // between BeginFileNotices and EndFileNotices
  int located = 0;             // file.location is set for the current file
  FileNotices file;
  // Occurrences of each key (everything but the index) in the current file.
  OccurrenceCounter occurrences;
  // Per rule, for the current file: the hash of tag, rule and path (valid
  // when its stamp is the file's), and the hash continued with the entity of
  // the rule's last notice, so that the notices of one function hash their
  // entity once.
  struct RuleHashes {
    unsigned stamp = 0;
    Fnv128 rulePath;
    int entity = -2;
    Fnv128 entityState;
    // The key of the rule's last notice: a line with several tabs raises
    // one notice for each, and their keys are equal.
    int keyLine = -1;
    const char* keyText = nullptr;
    std::size_t keyTextLength = 0;
    Fnv128 key;
    std::uint64_t textHash = 0;  // of the key's text, when wanted
  };
  std::vector<RuleHashes> ruleHashes;
  unsigned fileStamp = 1;
  // Notices raised outside any file (the inheritance notices after the last
  // file): one block per run of equal files, their occurrences counted
  // across the whole run.
  std::vector<FileNotices> outside;
  OccurrenceCounter outsideOccurrences;
  std::unordered_map<std::string, SourceLocation> outsideLocations;
  long long captured = 0;
  int wantTextHash = 0;  // a gate snapshot is written: notices keep their text hash
  // When set, only the files at these paths keep that hash; the notices of
  // the others (which a gate side run sums up in a digest, compared only
  // with a run of the same program) take a quicker hash of the raw line.
  const std::unordered_set<std::string>* exactTextPaths = nullptr;
  int quickText = 0;  // the current file's notices take the quicker hash
  int wantFingerprint = 0;  // a SARIF log or GitLab report is written: notices get their fingerprint
};

// The location of the file being analysed, found once per file; it also
// tells whether the file's notices take the quicker line hash (quickText).
const SourceLocation& LocateCapturedFile(GlobalData& gcd);

// Builds the rule table once, when the user defined notices are loaded.
void PrepareNoticeCapture(GlobalData& gcd);
void CaptureNotice(const RaisedNotice& notice, GlobalData& gcd);
// A file's analysis starts: its buffer and occurrence counts start empty.
void BeginCapturedFile(GlobalData& gcd);
// A file's analysis ends: returns its notices for writing; later notices
// are outside any file until the next file begins.
const FileNotices& EndCapturedFile(GlobalData& gcd);
