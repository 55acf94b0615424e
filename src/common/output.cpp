#include "common/output.h"

#include <cstdarg>
#include <cstring>

#include "common/format_writer.h"

FILE* gLQAOUT = stdout;
FILE* gLQAIN = stdin;

void OutF(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  WriteFormatted(gLQAOUT, fmt, args);
  va_end(args);
}

void OutS(const char* text) {
  if (text != nullptr) WriteBytes(gLQAOUT, text, std::strlen(text));
}

void OutN(const char* text, std::size_t n) {
  if (text != nullptr) WriteBytes(gLQAOUT, text, n);
}

void StreamF(FILE* stream, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  WriteFormatted(stream, fmt, args);
  va_end(args);
}
