#include <unistd.h>

#include <cstdio>

#include "common/output.h"
#include "driver/run.h"

int main(int argc, char** argv) {
  // A report that goes to a file or a pipe is written in large blocks.
  static char buffer[kReportBufferSize];
  if (!isatty(fileno(stdout))) setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  return LqaMain(argc, argv);
}
