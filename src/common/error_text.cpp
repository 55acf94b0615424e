#include "common/error_text.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kErrorTextSize = 256;

// strerror_r comes in two forms: one returns the text (which may be a
// constant of the library rather than the buffer), the other an error code
// and the text in the buffer.
[[maybe_unused]] const char* Chosen(const char* text, const char*) { return text; }
[[maybe_unused]] const char* Chosen(int failed, const char* buffer) { return failed == 0 ? buffer : nullptr; }

}  // namespace

const char* ErrorText(int error) {
  thread_local char buffer[kErrorTextSize];
  buffer[0] = '\0';
  const char* text = Chosen(strerror_r(error, buffer, sizeof buffer), buffer);
  if (text == nullptr || text[0] == '\0') {
    std::snprintf(buffer, sizeof buffer, "Unknown error %d", error);
    return buffer;
  }
  return text;
}
