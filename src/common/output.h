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

// How text reaches gLQAOUT. HTML pages declare UTF-8, while sources are in
// UTF-8 or in a one-byte character set: valid UTF-8 sequences pass through,
// and every other byte of 128 and above is written as the numeric character
// reference of its Latin-1 reading ("\xfc" as "&#252;"), so that both kinds
// of source display right. The output mode switches set it; a new run record
// starts with AsIs.
enum class ReportBytes { AsIs, HtmlUtf8 };
void SetReportBytes(ReportBytes mode);
// A run whose report nobody reads (the gate's side runs, which hand over a
// snapshot only) drops the report text before it is formatted.
void DiscardReport();
bool ReportDiscarded();

// Writes formatted report text to gLQAOUT, or to the calling thread's
// current ReportSink when there is one (common/report_sink.h), the same
// bytes either way. The format attribute lets the compiler check every
// format string against its arguments.
void OutF(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// Writes a plain text to gLQAOUT (no formatting).
void OutS(const char* text);
// Writes n bytes of text to gLQAOUT (no formatting).
void OutN(const char* text, std::size_t n);
// Writes formatted text to any stream (configuration dumps, progress on
// stderr); on gLQAOUT it follows the ReportBytes rule and the current sink
// too.
void StreamF(FILE* stream, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
