// Captures what a call writes to the report stream.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/output.h"

template <typename Fn>
std::string CaptureOut(Fn fn) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* mem = open_memstream(&data, &size);
  FILE* saved = gLQAOUT;
  gLQAOUT = mem;
  fn();
  gLQAOUT = saved;
  std::fclose(mem);
  std::string text(data, size);
  std::free(data);
  return text;
}
