// A file the run produces, written under a temporary name in its target's
// directory and renamed over the target only once it is complete and flushed
// without error, so that a failed or interrupted run never leaves a target
// half-written and never destroys the previous file.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

struct AtomicOptions {
  // Commit syncs the file to disk before it replaces the target. Files
  // published together (a directory of them) may sync once instead.
  bool sync = true;
  // A target that exists and is not a regular file is refused (ENODEV)
  // instead of being written in place.
  bool regularOnly = false;
};

class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile();  // an uncommitted temporary file is removed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Opens a temporary file beside target (a symbolic link target is
  // followed, so the link is kept and its file replaced). Where the system
  // allows it the temporary file has no name until Commit (O_TMPFILE), so a
  // killed run leaves nothing behind; otherwise it is named
  // ".<name>.lqatmp.XXXXXX". A target that exists and is not a regular file
  // (/dev/null, a terminal, a FIFO) is written directly, never replaced,
  // unless options.regularOnly refuses it.
  // Returns false with errno set and error() describing the failure.
  bool Open(const std::string& target, const AtomicOptions& options = {});
  FILE* stream() const { return stream_; }
  bool is_open() const { return stream_ != nullptr; }
  // The resolved path the file will have once committed.
  const std::string& target() const { return target_; }

  // Flushes, syncs and closes the stream, then renames the temporary file
  // over the target. Returns false, leaving the previous target untouched,
  // when any write, the flush, the close or the rename failed; error() then
  // holds the reason. A stillValid check, when given, runs once the file is
  // complete and on disk, just before it replaces the target; when it returns
  // false the file is abandoned (error() stays empty: the caller reports).
  bool Commit(const std::function<bool()>& stillValid = nullptr);
  // Closes and removes the temporary file; the target stays as it was.
  void Abandon();
  const std::string& error() const { return error_; }

 private:
  bool Fail(const char* what);

  FILE* stream_ = nullptr;
  std::string target_;   // resolved final path
  std::string tempName_; // named temporary file, or empty
  bool unnamed_ = false; // opened with O_TMPFILE
  bool direct_ = false;  // target is not a regular file: written in place
  bool sync_ = true;
  std::string error_;
};
