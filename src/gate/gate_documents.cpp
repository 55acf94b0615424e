#include "gate/gate_documents.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/atomic_file.h"
#include "common/error_text.h"
#include "common/gcd.h"
#include "common/input_file.h"
#include "gate/baseline_sarif.h"

namespace {

// A file copied to target, through the stamper when there is one, and
// renamed into place when complete.
bool CopyInto(const std::string& from, const std::string& target, bool sync, BaselineSarifStamper* stamper,
              std::string& error) {
  std::unique_ptr<FILE, int (*)(FILE*)> in(OpenInput(from), std::fclose);
  if (!in) {
    error = from + ": " + InputErrorText(errno);
    return false;
  }
  AtomicOptions options;
  options.sync = sync;
  AtomicFile out;
  if (!out.Open(target, options)) {
    error = target + ": " + out.error();
    return false;
  }
  char buffer[1 << 16];
  std::string stamped;
  std::size_t n;
  bool written = true, finished = true;
  int writeErrno = 0;
  while (written && (n = std::fread(buffer, 1, sizeof buffer, in.get())) > 0) {
    std::string_view chunk(buffer, n);
    if (stamper != nullptr) {
      stamped.clear();
      stamper->Feed(chunk, stamped);
      chunk = stamped;
    }
    written = std::fwrite(chunk.data(), 1, chunk.size(), out.stream()) == chunk.size();
    if (!written) writeErrno = errno;
  }
  if (written && stamper != nullptr) {
    stamped.clear();
    finished = stamper->Finish(stamped, error);
    written = std::fwrite(stamped.data(), 1, stamped.size(), out.stream()) == stamped.size();
    if (!written) writeErrno = errno;
  }
  if (std::ferror(in.get())) error = from + ": " + ErrorText(EIO);
  else if (!written) error = target + ": " + ErrorText(writeErrno != 0 ? writeErrno : EIO);
  if (!written || !finished || std::ferror(in.get())) {  // a stamper that did not finish said why
    out.Abandon();
    return false;
  }
  if (!out.Commit()) {
    error = target + ": " + out.error();
    return false;
  }
  return true;
}

}  // namespace

bool GateDocuments::Collect(const GlobalData& gcd, std::string& error) {
  docs_.clear();
  const SarifState& s = gcd.sarif;
  if ((s.sarif.wanted && s.sarif.toReportStream) || (s.gitlab.wanted && s.gitlab.toReportStream) ||
      (gcd.dash.wanted && gcd.dash.file.empty())) {
    error = "with -G the report stream carries the gate's report: name a file for the SARIF log, GitLab report "
            "or dashboard";
    return false;
  }
  if (s.sarif.wanted) docs_.push_back(Document{Kind::Sarif, s.sarif.file, ""});
  if (s.gitlab.wanted) docs_.push_back(Document{Kind::Gitlab, s.gitlab.file, ""});
  if (gcd.dash.wanted) docs_.push_back(Document{Kind::Dashboard, gcd.dash.file, ""});
  if (!gcd.gate.snapshotFile.empty()) docs_.push_back(Document{Kind::Snapshot, gcd.gate.snapshotFile, ""});
  return true;
}

bool GateDocuments::NeedAnalysedHead() const {
  for (const Document& d : docs_)
    if (d.kind != Kind::Snapshot) return true;
  return false;
}

std::vector<std::string> GateDocuments::HeadArguments(const std::string& dir) {
  std::vector<std::string> args;
  for (Document& d : docs_) {
    switch (d.kind) {
      case Kind::Sarif:
        d.temp = dir + "/head.sarif";
        args.push_back("-xSARIF " + d.temp);
        break;
      case Kind::Gitlab:
        d.temp = dir + "/head.gitlab.json";
        args.push_back("-xGITLAB " + d.temp);
        break;
      case Kind::Dashboard:
        d.temp = dir + "/head.html";
        args.push_back("-xDASHBOARD " + d.temp);
        break;
      case Kind::Snapshot: break;  // the head's snapshot itself
    }
  }
  return args;
}

bool GateDocuments::Publish(const std::string& headSnapshot, const std::vector<bool>& newNotices,
                            const std::string& rootUri, std::string& error) const {
  for (const Document& d : docs_) {
    bool ok = true;
    switch (d.kind) {
      case Kind::Sarif: {
        BaselineSarifStamper stamper(newNotices, rootUri);
        ok = CopyInto(d.temp, d.target, true, &stamper, error);
        break;
      }
      case Kind::Gitlab:
      case Kind::Dashboard: ok = CopyInto(d.temp, d.target, true, nullptr, error); break;
      // A snapshot can always be made again: not synced, as when a run writes it.
      case Kind::Snapshot: ok = CopyInto(headSnapshot, d.target, false, nullptr, error); break;
    }
    if (!ok) return false;
  }
  return true;
}
