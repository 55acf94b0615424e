// lqa-manpage: writes the manual page lqa.1 from the help tables. Run by the
// build; not installed.
#include <cstdio>
#include <string>

#include "common/atomic_file.h"
#include "driver/manual_page.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: lqa-manpage OUTPUT\n");
    return 2;
  }
  const std::string page = ManualPage();
  AtomicFile file;
  if (!file.Open(argv[1]) || std::fwrite(page.data(), 1, page.size(), file.stream()) != page.size() ||
      !file.Commit()) {
    std::fprintf(stderr, "lqa-manpage: %s: %s\n", argv[1], file.error().c_str());
    return 1;
  }
  return 0;
}
