// The report stream and the one printf-style writer every report line goes through.
#pragma once

#include <cstdio>

// Buffer size of report streams that are not a terminal: notice listings of
// large trees run to hundreds of megabytes.
inline constexpr std::size_t kReportBufferSize = 1 << 16;

// Report stream: standard output unless -O names a file. All report text and
// all error messages go here.
extern FILE* gLQAOUT;
// Input stream for the pauses of the debug listing and the -hp screen.
extern FILE* gLQAIN;

// Writes formatted report text to gLQAOUT. The format attribute lets the
// compiler check every format string against its arguments.
void OutF(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// Writes a plain text to gLQAOUT (no formatting).
void OutS(const char* text);
// Writes n bytes of text to gLQAOUT (no formatting).
void OutN(const char* text, std::size_t n);
// Writes formatted text to any stream (configuration dumps, progress on stderr).
void StreamF(FILE* stream, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
