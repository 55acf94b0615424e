// How the machine-readable notice documents name a source file: by its
// resolved path (symbolic links followed, no "." or ".." steps) relative to
// the current directory, or by an absolute file:// URI when it lies outside.
#pragma once

#include <string>
#include <string_view>

struct SourceLocation {
  std::string path;   // relative to the base directory, or absolute outside it; the bytes of the name
  std::string uri;    // the path percent-encoded: a relative reference, or a file:// URI outside the base
  bool inBase = true; // the path and uri are relative to the base directory
};

// The current directory with its symbolic links resolved, without a trailing
// '/' (except for the root itself).
std::string ResolvedCurrentDirectory();
// The location of the file named fileName (as the run names it, relative to
// the current directory or absolute) against the resolved base directory.
// A file that cannot be resolved (gone since it was read) is placed by its
// name alone, "." and ".." steps removed.
SourceLocation LocateSource(const std::string& fileName, const std::string& baseDir);
// A path as a URI path: every byte other than the unreserved characters, the
// sub-delimiters, ':', '@' and '/' percent-encoded with uppercase digits. In
// a relative reference a ':' before the first '/' is encoded too, so that it
// never reads as a scheme.
std::string PercentEncodePath(std::string_view path, bool relative);
// The file:// URI of an absolute path.
std::string FileUri(std::string_view absolutePath);
// An absolute path with "." and ".." steps and repeated slashes removed.
std::string LexicallyNormal(std::string_view absolutePath);
