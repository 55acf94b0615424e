// The state of a directory tree as a test sees it: which entries exist, their
// kind, permissions, modification time and contents. A snapshot can be
// compared with another one and the tree brought back to it, so that a
// program can be run twice from the same starting state.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <string>

struct SnapshotEntry {
  enum class Kind { kFile, kDirectory, kSymlink, kOther, kUnreadable };
  Kind kind = Kind::kOther;
  mode_t mode = 0;             // permission bits
  timespec mtime{};
  timespec ctime{};             // changes on every write, and cannot be set
  ino_t inode = 0;
  std::uint64_t size = 0;
  std::uint64_t hash = 0;      // of the contents of a regular file
  bool hasData = false;        // data holds the whole contents
  std::string data;            // file contents (when kept) or symbolic link target
};

struct DirSnapshot {
  std::string root;
  // False when the tree held more than the byte limit allowed to keep: such
  // a snapshot cannot restore the tree.
  bool complete = true;
  std::uint64_t bytesKept = 0;
  std::map<std::string, SnapshotEntry> entries;  // by path relative to root
};

struct SnapshotLimits {
  // Files up to this size keep their contents; larger ones only their hash,
  // unless keepAll is set (a snapshot meant for restoring).
  std::uint64_t smallFile = 1 << 20;
  bool keepAll = false;
  // A snapshot that would keep more than this is marked incomplete.
  std::uint64_t maxBytes = 256ull << 20;
};

// Reads the tree under root without following symbolic links and without
// reading anything but regular files (a FIFO would block). A file whose
// inode, size and times equal those in the reference snapshot of the same
// tree is not read again: its hash and contents are taken from there.
DirSnapshot TakeSnapshot(const std::string& root, const SnapshotLimits& limits = {},
                         const DirSnapshot* reference = nullptr);

// Brings the tree from the state in current back to the state in target:
// removes entries that target lacks, writes back files that are missing or
// whose contents, kind or permissions changed, and restores modification
// times. Returns an explanation when something could not be restored (a file
// whose contents target did not keep), else "".
std::string RestoreSnapshot(const DirSnapshot& target, const DirSnapshot& current);

// The first difference between the entries and contents of two snapshots
// ("" when none). Modification times are not compared: two runs write their
// files at different times.
std::string SnapshotDifference(const DirSnapshot& a, const DirSnapshot& b);

// The first line where two texts differ, shown from both sides ("" when the
// texts are equal).
std::string FirstDifferentLine(const std::string& a, const std::string& b, const std::string& nameA,
                               const std::string& nameB);
