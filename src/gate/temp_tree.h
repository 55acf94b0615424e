// The gate's private temporary directory (mode 0700 under TMPDIR or /tmp),
// removed with everything in it when the object goes away, and the writing
// of files into it under paths that come from a git tree.
#pragma once

#include <string>
#include <string_view>

class TempTree {
 public:
  TempTree() = default;
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;
  bool Create(std::string& error);
  const std::string& path() const { return path_; }
  // Removes the directory and its contents now.
  void Remove();

 private:
  std::string path_;
};

// True when a path from a tree may be written below a root: relative, no
// empty, "." or ".." component, no component named ".git" in any case, no
// control character, at most 4096 bytes with components of at most 255.
// why names the fault otherwise.
bool SafeTreePath(std::string_view path, std::string& why);

// Creates root/path with its missing parent directories and writes data to
// it. Every directory is entered without following symbolic links and the
// file is created new (O_EXCL | O_NOFOLLOW), so nothing outside root is
// reached or replaced. path must be a SafeTreePath.
bool WriteTreeFile(const std::string& root, std::string_view path, std::string_view data, std::string& error);

// The same for many files: the directory of the last file stays open, so
// that the files of one directory (a tree lists them together) cost one
// open each.
class TreeWriter {
 public:
  explicit TreeWriter(std::string root);
  ~TreeWriter();
  TreeWriter(const TreeWriter&) = delete;
  TreeWriter& operator=(const TreeWriter&) = delete;
  bool Write(std::string_view path, std::string_view data, std::string& error);

 private:
  bool Enter(std::string_view dir, std::string& error);
  std::string root_;
  std::string dir_;  // the directory dirFd_ holds, relative to root
  int dirFd_ = -1;
};
