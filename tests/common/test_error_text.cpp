// ErrorText: strerror's words, each thread with a buffer of its own.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <thread>

#include "common/error_text.h"

namespace {

TEST(ErrorText, SameWordsAsTheLibraryAndAThreadsOwnBuffer) {
  for (int error : {ENOENT, EACCES, ENOMEM, EIO, 0, -1, 99999})
    EXPECT_EQ(std::string(ErrorText(error)), std::string(std::strerror(error))) << error;
  // An unknown number's text is made in the buffer; another thread's call
  // leaves it as it was.
  const char* mine = ErrorText(88888);
  std::string theirs;
  std::thread other([&] { theirs = ErrorText(77777); });
  other.join();
  EXPECT_STREQ(mine, "Unknown error 88888");
  EXPECT_EQ(theirs, "Unknown error 77777");
}

}  // namespace
