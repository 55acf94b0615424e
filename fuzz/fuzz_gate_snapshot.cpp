// libFuzzer target: the gate snapshot reader on any bytes, and a snapshot it
// accepts compared with itself and reported on.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "gate/matcher.h"
#include "gate/snapshot.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GateSnapshot s;
  std::string error, warning;
  if (!ParseSnapshot(std::string_view(reinterpret_cast<const char*>(data), size), s, error, warning)) return 0;
  const GateResult r = CompareSnapshots(s, s, {}, GateOptions{});
  // Well-formed snapshots (no two functions with one identity) match
  // themselves completely.
  if (r.newFunctions.size() > s.functions.size() || r.noticesUnchanged + r.noticesNew != static_cast<long long>(s.notices.size()))
    std::abort();
  for (const GateNotice& n : s.notices) (void)NoticeText(s, n);
  return 0;
}
