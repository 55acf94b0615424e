// The sides a gate compares, as -G names them: "BASE [HEAD]", each side a
// git revision ("git:REV", "git:REV..." for the merge base of REV and HEAD),
// a directory or a snapshot file ("*.lqagate"); a missing HEAD is the files
// on disk.
#pragma once

#include <string>
#include <string_view>

enum class SideKind { Disk, Git, Directory, Snapshot };

struct GateSide {
  SideKind kind = SideKind::Disk;
  std::string text;        // as written, for the report
  std::string revision;    // Git: the revision without "git:" and "..."
  bool mergeBase = false;  // Git: "REV...": the merge base of REV and HEAD
  std::string path;        // Directory, Snapshot
};

struct GateSides {
  GateSide base;
  GateSide head;
};

// Splits and classifies the -G argument. A revision that is empty, starts
// with '-' (it would read as an option) or holds control characters or
// blanks is refused with the reason in error; so is a third word.
bool ParseGateSides(std::string_view arg, GateSides& sides, std::string& error);
