#include "json/json_report.h"

#include <cstdio>
#include <memory>

#include "common/gcd.h"
#include "common/output.h"
#include "json/xml_json_transcoder.h"

struct JsonReport {
  explicit JsonReport(FILE* target) : under(target), transcoder(target) {}
  // A run that ends without EndJsonReport still leaves a complete document.
  ~JsonReport() {
    Close();
    transcoder.Finish();
  }
  JsonReport(const JsonReport&) = delete;
  JsonReport& operator=(const JsonReport&) = delete;

  // Hands what the stream holds to the transcoder and lets go of it.
  void Close() {
    if (stream == nullptr) return;
    if (gLQAOUT == stream) gLQAOUT = under;
    std::fclose(stream);
    stream = nullptr;
  }

  FILE* under;               // standard output or the -O file
  FILE* stream = nullptr;    // the report stream while the mode is on
  XmlJsonTranscoder transcoder;
  char buffer[kReportBufferSize];
};

namespace {

ssize_t WriteToTranscoder(void* cookie, const char* data, size_t n) {
  static_cast<JsonReport*>(cookie)->transcoder.Feed(data, n);
  return static_cast<ssize_t>(n);
}

int CloseCookie(void*) { return 0; }

}  // namespace

void StartJsonReport(GlobalData& gcd) {
  if (!gcd.sw.jsonOutput || gcd.drv.json) return;
  if (gcd.sarif.sarif.toReportStream || gcd.sarif.gitlab.toReportStream) return;
  auto report = std::make_shared<JsonReport>(gLQAOUT);
  cookie_io_functions_t io{};
  io.write = WriteToTranscoder;
  io.close = CloseCookie;
  report->stream = fopencookie(report.get(), "w", io);
  // Without the stream the XML document is written as it is.
  if (report->stream == nullptr) return;
  setvbuf(report->stream, report->buffer, _IOFBF, sizeof report->buffer);
  gLQAOUT = report->stream;
  gcd.drv.json = std::move(report);
}

bool EndJsonReport(GlobalData& gcd) {
  if (!gcd.drv.json) return true;
  std::shared_ptr<JsonReport> report = std::move(gcd.drv.json);
  report->Close();
  return report->transcoder.Finish();
}
