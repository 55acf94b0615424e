#include "sarif/notice_documents.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "common/atomic_file.h"
#include "common/error_text.h"
#include "common/gcd.h"
#include "common/output.h"
#include "driver/exit.h"
#include "driver/switches.h"
#include "gate/snapshot_writer.h"
#include "sarif/gitlab_report.h"
#include "sarif/sarif_log.h"

// GitHub code scanning takes at most this many results from one run.
inline constexpr long long kCodeScanningResultLimit = 25000;

struct SarifOutputs {
  AtomicFile sarifFile;
  AtomicFile gitlabFile;
  std::unique_ptr<SarifLog> sarif;
  std::unique_ptr<GitlabReport> gitlab;
  FILE* reportStream = nullptr;  // where a document asked for the report stream goes
  FILE* discard = nullptr;       // the report stream meanwhile: the normal report goes nowhere
  int started = 0;

  ~SarifOutputs() {
    // The writers go first: they hand their buffers to streams still open.
    sarif.reset();
    gitlab.reset();
    // The stand-in is closed here unless the run record's release already
    // closed it as the current report stream. The report stream itself is
    // standard output or the -O file, which the driver owns.
    if (discard != nullptr && gLQAOUT == discard) {
      gLQAOUT = reportStream;
      std::fclose(discard);
    }
  }
};

void SarifOutputsFree::operator()(SarifOutputs* outputs) const { delete outputs; }

namespace {

void Request(NoticeDocumentRequest& request, std::string_view file, GlobalData& gcd) {
  request.wanted = 1;
  request.toReportStream = file.empty() ? 1 : 0;
  request.file.assign(file);
  // What a run with -n -fa -o at this place of the command line would do.
  ApplyOption('n', nullptr, gcd);
  ApplyOption('f', "a", gcd);
  ApplyOption('o', nullptr, gcd);
}

// Errors go to the report stream, unless it carries a document.
FILE* ErrorStream(const GlobalData& gcd) {
  const SarifState& s = gcd.sarif;
  return s.sarif.toReportStream || s.gitlab.toReportStream ? stderr : gLQAOUT;
}

void ReportFailure(const char* what, const std::string& file, const std::string& why, const GlobalData& gcd) {
  StreamF(ErrorStream(gcd), "\n  Error: Could not write the %s\n         Filename: %s\n         %s\n\n", what,
          file.c_str(), why.c_str());
}

// A target that exists and is no regular file (/dev/null) is written as it is.
bool IsDevice(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

void OpenTarget(AtomicFile& target, const char* what, const std::string& file, GlobalData& gcd) {
  if (target.Open(file)) return;
  ReportFailure(what, file, target.error(), gcd);
  ExitRun(1, gcd);
}

// The heads of the documents, once the rules are known (the user defined
// notices are loaded with the report header).
void Start(GlobalData& gcd) {
  SarifOutputs& out = *gcd.sarif.outputs;
  if (out.started) return;
  out.started = 1;
  PrepareNoticeCapture(gcd);
  const NoticeCaptureState& c = gcd.sarif.capture;
  if (out.sarif) out.sarif->Begin(c.rules, c.baseDir);
  if (out.gitlab) out.gitlab->Begin(c.rules);
}

void Write(const FileNotices& file, GlobalData& gcd) {
  SarifOutputs& out = *gcd.sarif.outputs;
  const NoticeRuleTable& rules = gcd.sarif.capture.rules;
  if (out.sarif) out.sarif->Write(file, rules);
  if (out.gitlab) out.gitlab->Write(file, rules);
}

// Closes one document: a file is renamed into place, the report stream
// flushed. written is false when a write of the document already failed:
// the temporary file is then dropped. False (with the error reported) when
// the document is not complete.
bool Complete(bool written, int writeErrno, AtomicFile& target, const NoticeDocumentRequest& request,
              const char* what, GlobalData& gcd) {
  if (request.toReportStream) {
    if (written && std::fflush(gLQAOUT) == 0 && !std::ferror(gLQAOUT)) return true;
    ReportFailure(what, "(the report stream)", ErrorText(writeErrno != 0 ? writeErrno : errno != 0 ? errno : EIO),
                  gcd);
    return false;
  }
  if (!written) {
    target.Abandon();
    ReportFailure(what, request.file, std::string("Write error: ") + ErrorText(writeErrno != 0 ? writeErrno : EIO),
                  gcd);
    return false;
  }
  if (target.Commit()) return true;
  ReportFailure(what, request.file, target.error(), gcd);
  return false;
}

}  // namespace

void RequestSarifLog(std::string_view file, GlobalData& gcd) { Request(gcd.sarif.sarif, file, gcd); }

void RequestGitlabReport(std::string_view file, GlobalData& gcd) { Request(gcd.sarif.gitlab, file, gcd); }

void OpenNoticeDocuments(GlobalData& gcd) {
  SarifState& s = gcd.sarif;
  if (!s.sarif.wanted && !s.gitlab.wanted) return;
  if (s.sarif.toReportStream && s.gitlab.toReportStream) {
    OutS("\n  Error: -xSARIF and -xGITLAB cannot both write to the report stream\n"
         "         Name a file for one of them: -x\"GITLAB file\"\n");
    ExitRun(1, gcd);
  }
  std::unique_ptr<SarifOutputs, SarifOutputsFree> out(new SarifOutputs);
  if (s.sarif.wanted && !s.sarif.toReportStream) OpenTarget(out->sarifFile, "SARIF log", s.sarif.file, gcd);
  if (s.gitlab.wanted && !s.gitlab.toReportStream) OpenTarget(out->gitlabFile, "GitLab report", s.gitlab.file, gcd);
  if (out->sarifFile.is_open() && out->gitlabFile.is_open() && out->sarifFile.target() == out->gitlabFile.target() &&
      !IsDevice(out->sarifFile.target())) {
    StreamF(ErrorStream(gcd), "\n  Error: The SARIF log and the GitLab report name the same file\n         Filename: %s\n\n",
            s.sarif.file.c_str());
    ExitRun(1, gcd);
  }
  if (s.sarif.toReportStream || s.gitlab.toReportStream) {
    FILE* discard = std::fopen("/dev/null", "w");
    if (discard == nullptr) {
      ReportFailure(s.sarif.toReportStream ? "SARIF log" : "GitLab report", "/dev/null", ErrorText(errno), gcd);
      ExitRun(1, gcd);
    }
    out->reportStream = gLQAOUT;
    out->discard = discard;
    gLQAOUT = discard;
  }
  if (s.sarif.wanted)
    out->sarif = std::make_unique<SarifLog>(s.sarif.toReportStream ? out->reportStream : out->sarifFile.stream());
  if (s.gitlab.wanted)
    out->gitlab =
        std::make_unique<GitlabReport>(s.gitlab.toReportStream ? out->reportStream : out->gitlabFile.stream());
  s.outputs = std::move(out);
  s.capturing = 1;
  s.capture.wantFingerprint = 1;
}

void BeginFileNotices(GlobalData& gcd) {
  if (gcd.sarif.capturing) BeginCapturedFile(gcd);
  GateFileBegins(gcd);
}

void EndFileNotices(GlobalData& gcd) {
  if (!gcd.sarif.capturing) return;
  if (DeferredFileNotices* deferred = gcd.sarif.deferred) {
    GateFileEnd(EndCapturedFile(gcd), gcd);
    std::swap(deferred->notices, gcd.sarif.capture.file);
    deferred->due = true;
    return;
  }
  if (gcd.sarif.outputs) Start(gcd);
  const FileNotices& file = EndCapturedFile(gcd);
  if (gcd.sarif.outputs) Write(file, gcd);
  GateFileEnd(file, gcd);
}

void WriteDeferredFileNotices(DeferredFileNotices& file, GlobalData& gcd) {
  if (!file.due) return;
  file.due = false;
  if (gcd.sarif.outputs) {
    Start(gcd);
    Write(file.notices, gcd);
  }
  WriteDeferredGateFile(file.gate, file.notices, gcd);
}

void PrepareNoticeDocumentsForWorkers(GlobalData& gcd) {
  if (gcd.sarif.capturing) PrepareNoticeCapture(gcd);
}

int FinishNoticeDocuments(int status, GlobalData& gcd) {
  SarifState& s = gcd.sarif;
  if (!s.outputs) return status;
  SarifOutputs& out = *s.outputs;
  Start(gcd);
  for (const FileNotices& block : s.capture.outside) Write(block, gcd);
  s.capture.outside.clear();
  s.capturing = 0;
  // The report stream carries the document from here on.
  if (out.discard != nullptr) {
    std::fclose(out.discard);
    out.discard = nullptr;
    gLQAOUT = out.reportStream;
  }
  bool ok = true;
  if (out.sarif) {
    const bool written = out.sarif->End();
    ok = Complete(written, out.sarif->failure(), out.sarifFile, s.sarif, "SARIF log", gcd) && ok;
    const long long results = out.sarif->results();
    if (results > kCodeScanningResultLimit)
      StreamF(stderr,
              "  Warning: the SARIF log holds %lld results, more than the %lld that GitHub code scanning takes "
              "from one run; turn noisy notices off (\"Quality Notice N : No\" in lqa.cfg) or gate on new notices\n",
              results, kCodeScanningResultLimit);
  }
  if (out.gitlab) {
    const bool written = out.gitlab->End();
    ok = Complete(written, out.gitlab->failure(), out.gitlabFile, s.gitlab, "GitLab report", gcd) && ok;
  }
  s.outputs.reset();
  return ok ? status : 1;
}
