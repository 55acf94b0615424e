// Opening the files a run reads. Every input is opened without blocking and
// checked with fstat, so that a FIFO, a terminal or a device such as
// /dev/zero never stalls the run or feeds it without end: only regular files
// are read.
#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <string>

struct InputOptions {
  bool write = false;     // opened for reading and writing ("r+b"), for a rewrite in place
  bool noFollow = false;  // a symbolic link as the last component is refused
};

// errno value OpenInput leaves for a file that is not a regular file;
// InputErrorText turns it into words.
inline constexpr int kNotRegularFile = 0x10000;

// Opens path for binary reading (or reading and writing). Returns the stream,
// or null with errno set: the system's error, EISDIR for a directory, or
// kNotRegularFile for anything else that is not a regular file. A device is
// refused from its status before it is opened. With st, the file's status
// (from fstat of the open descriptor) is stored there.
FILE* OpenInput(const std::string& path, const InputOptions& options = {}, struct stat* st = nullptr);
// The text of an error of OpenInput (strerror, or "Not a regular file").
const char* InputErrorText(int error);
