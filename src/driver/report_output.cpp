#include "driver/report_output.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "common/error_text.h"
#include "common/gcd.h"
#include "common/output.h"
#include "json/json_report.h"

namespace {

// Report streams that are not a terminal are written in large blocks.
char gReportBuffer[kReportBufferSize];

void WriteFailed(const std::string& name, const std::string& why) {
  StreamF(stderr, "\n  Error: Could not write output file\n         Filename: %s\n         %s\n\n", name.c_str(),
          why.c_str());
}

}  // namespace

bool OpenReportFile(const std::string& name, std::string& why, GlobalData& gcd) {
  DriverState& drv = gcd.drv;
  auto file = std::make_shared<AtomicFile>();
  if (name.empty() || !file->Open(name)) {
    if (name.empty()) errno = ENOENT;
    why = ErrorText(errno ? errno : ENOENT);
    return false;
  }
  // A second -O replaces the first, which is dropped unwritten.
  AbandonReport(gcd);
  setvbuf(file->stream(), gReportBuffer, _IOFBF, sizeof gReportBuffer);
  struct stat st {};
  drv.reportIdentified = stat(file->target().c_str(), &st) == 0 && S_ISREG(st.st_mode);
  drv.reportDev = drv.reportIdentified ? static_cast<unsigned long long>(st.st_dev) : 0;
  drv.reportIno = drv.reportIdentified ? static_cast<unsigned long long>(st.st_ino) : 0;
  gLQAOUT = file->stream();
  drv.report = std::move(file);
  return true;
}

bool FinishReport(GlobalData& gcd) {
  DriverState& drv = gcd.drv;
  // The JSON document is completed on the stream it goes to; a failed write
  // shows on that stream.
  EndJsonReport(gcd);
  if (!drv.report) {
    if (gLQAOUT != stdout) return true;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    WriteFailed("(standard output)", ErrorText(errno ? errno : EIO));
    return false;
  }
  std::shared_ptr<AtomicFile> file = std::move(drv.report);
  if (gLQAOUT == file->stream()) gLQAOUT = stdout;
  if (file->Commit()) return true;
  WriteFailed(gcd.sw.outputFile, file->error() + "; the file is left as it was");
  return false;
}

void AbandonReport(GlobalData& gcd) {
  DriverState& drv = gcd.drv;
  if (!drv.report) return;
  EndJsonReport(gcd);
  if (gLQAOUT == drv.report->stream()) gLQAOUT = stdout;
  drv.report.reset();  // removes the unwritten temporary file
}

bool IsReportTarget(const struct stat& st, const GlobalData& gcd) {
  return gcd.drv.reportIdentified && static_cast<unsigned long long>(st.st_dev) == gcd.drv.reportDev &&
         static_cast<unsigned long long>(st.st_ino) == gcd.drv.reportIno;
}

void RefuseReportOverInputs(GlobalData& gcd) {
  if (!gcd.drv.reportIdentified) return;
  struct stat st {};
  for (const FileData& file : gcd.lists.files)
    if (stat(file.name.c_str(), &st) == 0 && IsReportTarget(st, gcd)) RefuseReportOverInput(file.name, gcd);
}

void RefuseReportOverInput(const std::string& input, GlobalData& gcd) {
  // The notice documents let go of the report stream before it is dropped.
  gcd.sarif.outputs.reset();
  AbandonReport(gcd);
  StreamF(stderr,
          "\n  Error: The output file is one of the input files\n         Filename: %s\n"
          "         Nothing was written; name another output file with -O\n\n",
          input.c_str());
  std::fflush(stderr);
  ReleaseRunRecord();
  std::exit(1);
}
