// Copying a file: its bytes, its failures, and a destination that is the
// source itself.
#include <gtest/gtest.h>

#include <string>

#include "capture_out.h"
#include "test_support.h"
#include "utilities/file_copy.h"

namespace {

TEST(FileCopy, CopiesEveryByte) {
  TempDir dir;
  std::string data(10000, 'x');
  data[5000] = '\0';
  const std::string src = dir.Write("src.dat", data);
  dir.Write("dst.dat", std::string(20000, 'o'));  // an older, longer copy
  long n = 0;
  EXPECT_EQ(CaptureOut([&] { n = FileCopy((dir.path() + "/dst.dat").c_str(), src.c_str()); }), "");
  EXPECT_EQ(n, 10000);
  EXPECT_EQ(dir.Read("dst.dat"), data);
}

TEST(FileCopy, ACopyOntoItselfKeepsTheFile) {
  TempDir dir;
  const std::string src = dir.Write("work.dat", "baseline\n");
  const std::string same = dir.path() + "/./work.dat";
  EXPECT_EQ(FileCopy(same.c_str(), src.c_str()), 9);
  EXPECT_EQ(dir.Read("work.dat"), "baseline\n");
}

TEST(FileCopy, Failures) {
  TempDir dir;
  const std::string src = dir.Write("a.dat", "a");
  long n = 0;
  std::string out = CaptureOut([&] { n = FileCopy(src.c_str(), nullptr); });
  EXPECT_EQ(out, "\n  Error: Invalid file pointer\n");
  EXPECT_EQ(n, -1);
  const std::string missing = dir.path() + "/missing.dat";
  out = CaptureOut([&] { n = FileCopy(src.c_str(), missing.c_str()); });
  EXPECT_EQ(out, "\n  Error: Failed to open the file " + missing + "\n  No such file or directory");
  EXPECT_EQ(n, -1);
  const std::string noDir = dir.path() + "/no/such/dir.dat";
  out = CaptureOut([&] { n = FileCopy(noDir.c_str(), src.c_str()); });
  EXPECT_EQ(out, "\n  Error: Failed to create/open the file " + noDir + "\n         No such file or directory\n");
  EXPECT_EQ(n, -1);
}

}  // namespace
