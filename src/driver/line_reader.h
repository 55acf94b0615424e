// Reads the lines of an open file the way fgets would into a buffer of a
// given size, from large blocks read straight from the file descriptor.
#pragma once

#include <cstddef>
#include <memory>

class LineReader {
 public:
  explicit LineReader(int fd);
  // Reads at most size - 1 bytes, up to and including the next line feed,
  // into line and ends them with a NUL; NUL bytes read are kept. Returns
  // false (line untouched) when nothing was read because the file ended, and
  // on a read error.
  bool Next(char* line, std::size_t size);
  // A read met the end of the file (as feof after fgets).
  bool AtEnd() const { return atEnd_; }
  // A read failed (as ferror).
  bool Failed() const { return failed_; }

 private:
  bool Refill();
  static constexpr std::size_t kBlock = 1 << 16;
  int fd_;
  std::unique_ptr<char[]> block_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool atEnd_ = false;
  bool failed_ = false;
};
