#include "common/output.h"

#include <cstdarg>
#include <cstring>
#include <string>
#include <string_view>

#include "common/format_writer.h"
#include "common/report_sink.h"
#include "common/text.h"

FILE* gLQAOUT = stdout;
FILE* gLQAIN = stdin;

namespace {

ReportBytes gReportBytes = ReportBytes::AsIs;
bool gDiscarded = false;

// Where the bytes of one call go: the calling thread's sink when the call
// writes report text and a sink is current, else the stream.
struct Destination {
  FILE* stream;
  ReportSink* sink;
  void Put(const char* text, std::size_t n) const {
    if (sink != nullptr) sink->Append(text, n);
    else WriteBytes(stream, text, n);
  }
};

Destination For(FILE* stream) {
  ReportSink* sink = CurrentReportSink();
  return {stream, sink != nullptr && stream == gLQAOUT ? sink : nullptr};
}

bool Filtered(FILE* stream) { return gReportBytes == ReportBytes::HtmlUtf8 && stream == gLQAOUT; }

// Writes the text with every byte outside a valid UTF-8 sequence as a
// numeric character reference.
void WriteHtmlBytes(const Destination& out, std::string_view text) {
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t n = Utf8SequenceLength(text.substr(i));
    if (n > 0) {
      i += n;
      continue;
    }
    out.Put(text.data() + start, i - start);
    char reference[8];
    const int length =
        std::snprintf(reference, sizeof reference, "&#%u;", static_cast<unsigned>(static_cast<unsigned char>(text[i])));
    out.Put(reference, static_cast<std::size_t>(length));
    start = ++i;
  }
  out.Put(text.data() + start, text.size() - start);
}

void WriteReportText(FILE* stream, const char* fmt, va_list args) {
  const Destination out = For(stream);
  if (!Filtered(stream)) {
    if (out.sink != nullptr) WriteFormatted(*out.sink, fmt, args);
    else WriteFormatted(stream, fmt, args);
    return;
  }
  char small[1024];
  va_list again;
  va_copy(again, args);
  const int n = vsnprintf(small, sizeof small, fmt, args);
  if (n < 0) {
    va_end(again);
    return;
  }
  if (static_cast<std::size_t>(n) < sizeof small) {
    WriteHtmlBytes(out, std::string_view(small, static_cast<std::size_t>(n)));
  } else {
    std::string large(static_cast<std::size_t>(n) + 1, '\0');
    vsnprintf(large.data(), large.size(), fmt, again);
    WriteHtmlBytes(out, std::string_view(large.data(), static_cast<std::size_t>(n)));
  }
  va_end(again);
}

void WriteReportBytes(const char* text, std::size_t n) {
  const Destination out = For(gLQAOUT);
  if (Filtered(gLQAOUT)) WriteHtmlBytes(out, std::string_view(text, n));
  else out.Put(text, n);
}

}  // namespace

void SetReportBytes(ReportBytes mode) { gReportBytes = mode; }

void DiscardReport() { gDiscarded = true; }
bool ReportDiscarded() { return gDiscarded; }

void OutF(const char* fmt, ...) {
  if (gDiscarded) return;
  va_list args;
  va_start(args, fmt);
  WriteReportText(gLQAOUT, fmt, args);
  va_end(args);
}

void OutS(const char* text) {
  if (text == nullptr || gDiscarded) return;
  WriteReportBytes(text, std::strlen(text));
}

void OutN(const char* text, std::size_t n) {
  if (text == nullptr || n == 0 || gDiscarded) return;
  WriteReportBytes(text, n);
}

void StreamF(FILE* stream, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  WriteReportText(stream, fmt, args);
  va_end(args);
}
