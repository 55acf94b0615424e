// The printf-style formatting behind the report writer. Reports write
// millions of short lines made of texts, integers and fixed-point numbers;
// those conversions are formatted here, byte for byte as printf would, and
// the line goes to the stream in one write. A format holding any other
// conversion is handed to vfprintf whole.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>

class ReportSink;

// Writes the formatted text to the stream.
void WriteFormatted(FILE* stream, const char* fmt, va_list args);

// Formats the text into the sink, byte for byte what the stream would take.
void WriteFormatted(ReportSink& sink, const char* fmt, va_list args);

// Writes n bytes to the stream as fwrite does. While a fully buffered
// stream has room, the bytes go straight into its buffer, the way the C
// library's own putc_unlocked does; a report writes millions of short
// pieces, and a call of fwrite costs more than copying one.
void WriteBytes(FILE* stream, const char* text, std::size_t n);

// True when every conversion of the format is formatted here: %%, and
// d, i, u (with l, ll or z), s, c and f with the flags '-' and '0', a width
// (digits or '*') and for s and f a precision (digits, '*' for s; at most
// 40 for f).
bool FormattedHere(const char* fmt);

// A value with at most 4 decimals, as "%.*f" writes it, when it is finite
// and below 2^52 once scaled and no halfway case: its length, else 0 (then
// the full conversion is needed).
inline constexpr std::size_t kShortFixedSize = 24;
std::size_t ShortFixed(double value, int precision, char (&text)[kShortFixedSize]);
