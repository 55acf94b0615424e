#include "common/text.h"

#include <cctype>
#include <cstring>

void CopyBounded(char* dst, std::size_t cap, std::string_view src) {
  if (dst == nullptr || cap == 0) return;
  std::size_t n = src.size() < cap - 1 ? src.size() : cap - 1;
  if (n > 0) std::memcpy(dst, src.data(), n);
  dst[n] = '\0';
}

void AssignBounded(std::string& dst, std::string_view src, std::size_t max) {
  dst.assign(src.substr(0, max));
}

static unsigned char Lower(char c) { return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c))); }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}
