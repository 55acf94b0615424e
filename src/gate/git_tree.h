// Reading revisions of the git repository that holds the current directory,
// without touching its work tree, index, refs or .git: the repository's
// shape from rev-parse, a tree listed by ls-tree and its blobs streamed
// through one cat-file --batch into a private directory, renames from diff.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "gate/tree_filter.h"

class SignalGuard;

struct GitRepo {
  std::string top;     // the work tree's top directory
  std::string prefix;  // the current directory below it, with a trailing '/', or empty
  bool shallow = false;
};

// Why a git step failed: the message for the report.
struct GitFailure {
  std::string message;
};

bool OpenRepo(GitRepo& repo, GitFailure& failure, SignalGuard& guard);
// The commit a revision names (its full id), or with mergeBase the merge
// base of it and HEAD. The revision has been checked not to look like an
// option and is passed after --end-of-options.
bool ResolveRevision(const GitRepo& repo, const std::string& revision, bool mergeBase, std::string& commit,
                     GitFailure& failure, SignalGuard& guard);

struct TreeExport {
  long long files = 0;
  std::vector<std::string> skipped;  // "path (symbolic link)" and the like
  // With keepIds, the blob id of every file written, by its path.
  bool keepIds = false;
  std::unordered_map<std::string, std::string> ids;
  // With a reuse: every file of the tree, written below root or not, and
  // how many of them the head's directory holds unchanged.
  std::vector<std::string> paths;
  long long inPlace = 0;
};

// The files a base need not write: the head's directory holds the same
// bytes at the same path.
struct BlobReuse {
  // A git head's export: the blob id of each of its files.
  const std::unordered_map<std::string, std::string>* headIds = nullptr;
  // The work tree as the head: a file git diff does not name holds the
  // committed bytes when no checkout filter (line ends, smudge, ident,
  // encoding) applies to it.
  bool workTree = false;
  const std::unordered_set<std::string>* differing = nullptr;  // paths from the top
  std::string scratch;  // a private directory for the list of paths asked about
};

// Writes the kept regular files of commit's tree below root (paths as in
// the repository from its top). A path that could write outside root or
// into a .git directory refuses the whole tree. With a reuse, the files
// the head's directory holds unchanged are left out (and listed in paths).
bool ExportTree(const GitRepo& repo, const std::string& commit, const TreeFilter& filter, const std::string& root,
                TreeExport& result, GitFailure& failure, SignalGuard& guard, const BlobReuse* reuse = nullptr);

// What differs between base and head (head empty: the work tree, with the
// untracked files that are not ignored).
struct ChangeSet {
  // Renamed files, relative to the current directory's prefix: old -> new.
  std::unordered_map<std::string, std::string> renames;
  // The paths that differ, from the top of the work tree, on each side.
  std::unordered_set<std::string> basePaths, headPaths;
};
// With scratch (a private directory), the untracked files are listed
// while git diff runs.
bool ChangedPaths(const GitRepo& repo, const std::string& base, const std::string& head, ChangeSet& changes,
                  GitFailure& failure, SignalGuard& guard, const std::string& scratch = "");

// The changed files of the work tree among paths that the tree of a commit
// could not hold as regular files (symbolic links, names with control
// characters): listed in result and their paths below the current
// directory added to skipped, as ExportTree skips them.
bool SkipWorkTreeFiles(const GitRepo& repo, const std::unordered_set<std::string>& paths, const TreeFilter& filter,
                       TreeExport& result, std::unordered_set<std::string>& skipped, GitFailure& failure,
                       SignalGuard& guard);
