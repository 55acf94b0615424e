// ErrorText: strerror's words, each thread with a buffer of its own.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "common/error_text.h"

namespace {

TEST(ErrorText, SameWordsAsTheLibraryAndAThreadsOwnBuffer) {
  for (int error : {ENOENT, EACCES, 0, 99999}) EXPECT_STREQ(ErrorText(error), std::strerror(error)) << error;
  // An unknown number's text is made in the buffer, which another thread's call leaves alone.
  const char* mine = ErrorText(88888);
  std::thread([] { ErrorText(77777); }).join();
  EXPECT_STREQ(mine, "Unknown error 88888");
}

}  // namespace
