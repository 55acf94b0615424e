// Inputs are opened without blocking and only when they are regular files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "common/input_file.h"
#include "test_support.h"

namespace {

TEST(InputFile, OnlyRegularFilesOpenAndNothingBlocks) {
  TempDir dir;
  const std::string path = dir.Write("a.c", "int a;\n");
  ASSERT_EQ(symlink("a.c", (dir.path() + "/link.c").c_str()), 0);
  struct stat st {};
  FILE* f = OpenInput(dir.path() + "/link.c", {}, &st);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(st.st_size, 7);
  std::fclose(f);
  InputOptions noFollow;
  noFollow.noFollow = true;
  EXPECT_EQ(OpenInput(dir.path() + "/link.c", noFollow), nullptr);
  EXPECT_EQ(errno, ELOOP);

  // A FIFO without a writer would block an ordinary open for ever.
  ASSERT_EQ(mkfifo((dir.path() + "/pipe.c").c_str(), 0600), 0);
  InputOptions write;
  write.write = true;
  for (const std::string& name : {dir.path() + "/pipe.c", std::string("/dev/zero")}) {
    EXPECT_EQ(OpenInput(name, write), nullptr) << name;
    EXPECT_EQ(errno, kNotRegularFile);
  }
  EXPECT_STREQ(InputErrorText(kNotRegularFile), "Not a regular file");
  EXPECT_EQ(OpenInput(dir.path()), nullptr);
  EXPECT_EQ(errno, EISDIR);
}

}  // namespace
