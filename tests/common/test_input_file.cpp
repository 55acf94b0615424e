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

TEST(InputFile, RegularFilesAndLinksToThemOpen) {
  TempDir dir;
  const std::string path = dir.Write("a.c", "int a;\n");
  ASSERT_EQ(symlink("a.c", (dir.path() + "/link.c").c_str()), 0);
  struct stat st {};
  FILE* f = OpenInput(dir.path() + "/link.c", {}, &st);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(st.st_size, 7);
  char buf[16] = {};
  EXPECT_NE(std::fgets(buf, sizeof buf, f), nullptr);
  EXPECT_STREQ(buf, "int a;\n");
  std::fclose(f);

  // Without following links, the link itself is refused, the file is not.
  InputOptions noFollow;
  noFollow.noFollow = true;
  EXPECT_EQ(OpenInput(dir.path() + "/link.c", noFollow), nullptr);
  EXPECT_EQ(errno, ELOOP);
  f = OpenInput(path, noFollow);
  ASSERT_NE(f, nullptr);
  std::fclose(f);
}

TEST(InputFile, FifosDevicesAndDirectoriesAreRefusedAtOnce) {
  TempDir dir;
  const std::string fifo = dir.path() + "/pipe.c";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/zero", (dir.path() + "/zero.c").c_str()), 0);
  // A FIFO without a writer would block an ordinary open for ever.
  EXPECT_EQ(OpenInput(fifo), nullptr);
  EXPECT_EQ(errno, kNotRegularFile);
  EXPECT_STREQ(InputErrorText(errno), "Not a regular file");
  EXPECT_EQ(OpenInput(dir.path() + "/zero.c"), nullptr);
  EXPECT_EQ(errno, kNotRegularFile);
  InputOptions write;
  write.write = true;
  EXPECT_EQ(OpenInput("/dev/null", write), nullptr);
  EXPECT_EQ(OpenInput(dir.path()), nullptr);
  EXPECT_EQ(errno, EISDIR);
  EXPECT_EQ(OpenInput(dir.path() + "/missing.c"), nullptr);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_STREQ(InputErrorText(ENOENT), "No such file or directory");
}

}  // namespace
