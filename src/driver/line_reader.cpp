#include "driver/line_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

LineReader::LineReader(int fd) : fd_(fd), block_(new char[kBlock]) {}

bool LineReader::Refill() {
  for (;;) {
    const ssize_t n = read(fd_, block_.get(), kBlock);
    if (n > 0) {
      pos_ = 0;
      end_ = static_cast<std::size_t>(n);
      return true;
    }
    if (n == 0) {
      atEnd_ = true;
      return false;
    }
    if (errno != EINTR) {
      failed_ = true;
      return false;
    }
  }
}

bool LineReader::Next(char* line, std::size_t size) {
  if (size == 0) return false;
  const std::size_t room = size - 1;
  std::size_t n = 0;
  while (n < room) {
    if (pos_ == end_ && !Refill()) break;
    const char* start = block_.get() + pos_;
    std::size_t take = end_ - pos_;
    if (take > room - n) take = room - n;
    const void* feed = std::memchr(start, '\n', take);
    if (feed != nullptr) take = static_cast<std::size_t>(static_cast<const char*>(feed) - start) + 1;
    std::memcpy(line + n, start, take);
    n += take;
    pos_ += take;
    if (feed != nullptr) break;
  }
  if (failed_ || n == 0) return false;
  line[n] = '\0';
  return true;
}
