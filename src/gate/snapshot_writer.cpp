#include "gate/snapshot_writer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/atomic_file.h"
#include "common/gcd.h"
#include "common/output.h"
#include "common/version.h"
#include "driver/exit.h"
#include "driver/switches.h"
#include "gate/snapshot.h"
#include "json/json_writer.h"
#include "notices/notice_emit.h"
#include "sarif/notice_capture.h"
#include "sarif/notice_message.h"
#include "structure/entity_records.h"

class GateSnapshotWriter {
 public:
  bool Open(const std::string& target) {
    // A snapshot can always be made again: it is renamed into place when
    // complete but not synced to disk, which would cost more than writing it.
    AtomicOptions options;
    options.sync = false;
    if (!file_.Open(target, options)) return false;
    json_ = std::make_unique<JsonWriter>(file_.stream());
    return true;
  }
  const std::string& error() const { return file_.error(); }

  // Records in full only the files among paths; every other file gets a
  // digest line instead.
  void RecordOnly(std::unordered_set<std::string> paths) {
    only_ = std::make_unique<std::unordered_set<std::string>>(std::move(paths));
  }
  // The paths recorded in full, or null for every file.
  const std::unordered_set<std::string>* recorded() const { return only_.get(); }

  void Header(const GlobalData& gcd) {
    json_->BeginObject();
    json_->Key("format").String(kSnapshotFormat);
    json_->Key("version").Int(kSnapshotVersion);
    json_->Key("lqa").String(kLqaVersion);
    json_->Key("complexityLimit").Int(gcd.cfg.maxCyclomatic);
    json_->EndObject();
  }

  // The record of a closed function, kept until its file ends.
  void AddFunction(GateFunction f) { pending_.push_back(std::move(f)); }
  // The records a worker gathered for its file, in the order they closed.
  void AddFunctions(std::vector<GateFunction>& functions) {
    if (pending_.empty()) {
      pending_.swap(functions);
      return;
    }
    for (GateFunction& f : functions) pending_.push_back(std::move(f));
    functions.clear();
  }

  void WriteFile(const std::string& path, const FileNotices& notices, const NoticeRuleTable& rules) {
    if (only_ && only_->count(path) == 0) {
      DigestFile(path, notices);
      pending_.clear();
      return;
    }
    json_->BeginObject().Key("kind").String("file").Key("path").String(path).EndObject();
    // Occurrences of each name and signature in the file, in the order
    // the functions closed (which is their order in the file for all but
    // nested functions).
    std::unordered_map<std::string, int> seen;
    for (GateFunction& f : pending_) {
      f.occurrence = ++seen[f.name + '\x01' + WithoutBlanks(f.signature)];
      // Its file is the file line's.
      json_->BeginObject();
      json_->Key("kind").String("function");
      json_->Key("name").String(f.name);
      json_->Key("signature").String(f.signature);
      json_->Key("occurrence").Int(f.occurrence);
      json_->Key("line").Int(f.line);
      json_->Key("begin").Int(f.begin);
      json_->Key("end").Int(f.end);
      json_->Key("complexity").Int(f.complexity);
      json_->Key("eloc").Int(f.eloc);
      json_->Key("body").String(HashHex(f.bodyHash));
      json_->EndObject();
      ++functions_;
    }
    lastFunction_ = -1;
    WriteNotices(path, notices, rules, true);
    pending_.clear();
  }

  // The rules' texts, once, before the first notice.
  void Rules(const NoticeRuleTable& rules) {
    if (rulesWritten_) return;
    rulesWritten_ = true;
    for (const NoticeRule& rule : rules.rules) {
      json_->BeginObject();
      json_->Key("kind").String("rule");
      json_->Key("id").String(rule.id);
      json_->Key("message").String(NoticeMessageHead(rule, nullptr));
      json_->EndObject();
    }
  }

  // A notice line is short: its rule by index into the rule lines, its file
  // the last file (or notices) line, its entity by the index of its function
  // in that file when it has one, members with their default value (no
  // keyword, entity or function, a notice about a whole entity) left out. A
  // tree raises millions of notices.
  void WriteNotices(const std::string& path, const FileNotices& file, const NoticeRuleTable& rules, bool inFile) {
    Rules(rules);
    if (!inFile) json_->BeginObject().Key("kind").String("notices").Key("path").String(path).EndObject();
    for (const CapturedNotice& n : file.notices) {
      const NoticeEntity* entity = n.entity >= 0 ? &file.entities[static_cast<std::size_t>(n.entity)] : nullptr;
      if (entity != nullptr && (entity->kind == NoticeEntityKind::None || entity->name.empty())) entity = nullptr;
      std::string& out = json_->BeginRawValue();
      out += "{\"n\":";
      AppendJsonInt(out, n.rule);
      out += ",\"l\":";
      AppendJsonInt(out, n.line);
      if (entity != nullptr) {
        const long long fn =
            entity->kind == NoticeEntityKind::Function && inFile ? FunctionOf(entity->name, n.line) : -1;
        if (fn >= 0) {
          out += ",\"f\":";
          AppendJsonInt(out, fn);
        } else {
          out += ",\"e\":";
          AppendJsonString(out, entity->name);
          out += ",\"k\":\"";
          out += NoticeEntityKindWord(entity->kind);
          out += '"';
        }
      }
      if (n.keyword[0] != '\0') {
        out += ",\"w\":";
        AppendJsonString(out, n.keyword);
      }
      if (n.textHash != 0) {
        out += ",\"t\":\"";
        out += HashHex(n.textHash);
        out += '"';
      }
      out += '}';
      json_->EndRawValue();
      ++notices_;
    }
  }

  void WriteClass(const std::string& path, const std::string& name, int line) {
    const int occurrence = ++classOccurrences_[path + '\x01' + name];
    if (only_ && only_->count(path) == 0) {
      SnapshotDigest& d = Digest(path);
      d.Add('c').Add(name).Add(occurrence).Add(line);
      return;
    }
    json_->BeginObject();
    json_->Key("kind").String("class");
    json_->Key("path").String(path);
    json_->Key("name").String(name);
    json_->Key("occurrence").Int(occurrence);
    json_->Key("line").Int(line);
    json_->EndObject();
    ++classes_;
  }

  bool End(const NoticeRuleTable& rules) {
    Rules(rules);
    for (const auto& [path, digest] : digests_) {
      json_->BeginObject();
      json_->Key("kind").String("digest");
      json_->Key("path").String(path);
      json_->Key("hash").String(HashHex(digest.value()));
      json_->EndObject();
    }
    json_->BeginObject();
    json_->Key("kind").String("end");
    json_->Key("functions").Int(functions_);
    json_->Key("classes").Int(classes_);
    json_->Key("notices").Int(notices_);
    json_->EndObject();
    const bool ok = json_->Flush();
    failure_ = json_->failure();
    json_.reset();
    return ok;
  }
  int failure() const { return failure_; }
  AtomicFile& file() { return file_; }

 private:
  SnapshotDigest& Digest(const std::string& path) {
    auto [it, added] = digestIndex_.try_emplace(path, digests_.size());
    if (added) digests_.emplace_back(path, SnapshotDigest{});
    return digests_[it->second].second;
  }

  // The digest of what WriteFile would write of the file: its functions
  // and its notices, field by field.
  void DigestFile(const std::string& path, const FileNotices& file) {
    SnapshotDigest& d = Digest(path);
    std::unordered_map<std::string, int> seen;
    for (GateFunction& f : pending_) {
      f.occurrence = ++seen[f.name + '\x01' + WithoutBlanks(f.signature)];
      d.Add('f').Add(f.name).Add(f.signature).Add(f.occurrence).Add(f.line).Add(f.begin).Add(f.end);
      d.Add(f.complexity).Add(f.eloc).Add(f.bodyHash);
    }
    lastFunction_ = -1;
    // A notice in few steps: its rule and line in one word, its keyword
    // (at most 7 bytes) in another, then its text hash.
    for (const CapturedNotice& n : file.notices) {
      const NoticeEntity* entity = n.entity >= 0 ? &file.entities[static_cast<std::size_t>(n.entity)] : nullptr;
      if (entity != nullptr && (entity->kind == NoticeEntityKind::None || entity->name.empty())) entity = nullptr;
      const std::uint64_t ruleLine =
          static_cast<std::uint64_t>(static_cast<std::uint32_t>(n.rule)) << 32 | static_cast<std::uint32_t>(n.line);
      d.Add(ruleLine ^ std::uint64_t{0x6e} << 56);
      if (entity != nullptr) {
        const long long fn = entity->kind == NoticeEntityKind::Function ? FunctionOf(entity->name, n.line) : -1;
        if (fn >= 0) d.Add('f').Add(fn);
        else d.Add('e').Add(entity->name).Add(NoticeEntityKindWord(entity->kind));
      }
      std::uint64_t keyword = 0;
      static_assert(sizeof n.keyword == 8);
      std::memcpy(&keyword, n.keyword, sizeof keyword);
      d.Add(keyword).Add(n.textHash);
    }
  }

  static std::string WithoutBlanks(const std::string& s) {
    std::string out;
    for (char c : s)
      if (static_cast<unsigned char>(c) > 0x20) out.push_back(c);
    return out;
  }
  // The file's function a notice belongs to: the one of that name whose
  // lines hold the notice's line, else the last of that name.
  long long FunctionOf(const std::string& name, int line) {
    // The notices of one function come in a run: the last answer first.
    if (lastFunction_ >= 0) {
      const GateFunction& f = pending_[static_cast<std::size_t>(lastFunction_)];
      if (f.name == name && line >= f.line && line <= f.end) return lastFunction_;
    }
    lastFunction_ = FunctionScan(name, line);
    return lastFunction_;
  }
  long long FunctionScan(const std::string& name, int line) const {
    long long last = -1;
    for (std::size_t i = 0; i < pending_.size(); ++i) {
      const GateFunction& f = pending_[i];
      if (f.name != name) continue;
      if (line >= f.line && line <= f.end) return static_cast<long long>(i);
      last = static_cast<long long>(i);
    }
    return last;
  }
  AtomicFile file_;
  std::unique_ptr<JsonWriter> json_;
  std::vector<GateFunction> pending_;
  std::unordered_map<std::string, int> classOccurrences_;
  long long functions_ = 0, classes_ = 0, notices_ = 0;
  int failure_ = 0;
  bool rulesWritten_ = false;
  long long lastFunction_ = -1;
  std::unique_ptr<std::unordered_set<std::string>> only_;  // null: every file in full
  std::vector<std::pair<std::string, SnapshotDigest>> digests_;  // in the order the files came
  std::unordered_map<std::string, std::size_t> digestIndex_;
};

void GateSnapshotWriterFree::operator()(GateSnapshotWriter* writer) const { delete writer; }

namespace {

std::string PathOf(const char* fileName, const GlobalData& gcd) {
  return LocateSource(fileName != nullptr ? fileName : "", gcd.sarif.capture.baseDir).path;
}

GateFunction FunctionRecord(const NodeData& r, int nameLine, std::uint64_t bodyHash) {
  GateFunction f;
  f.name = r.name;
  while (!f.name.empty() && (f.name.back() == '\n' || f.name.back() == '\r')) f.name.pop_back();
  f.signature = r.text1;
  f.line = nameLine > 0 ? nameLine : FuncBeginLine(r);
  f.begin = FuncBeginLine(r);
  f.end = r.line;
  f.complexity = r.cyclomatic;
  f.eloc = r.eloc;
  f.bodyHash = bodyHash;
  return f;
}

}  // namespace

void RequestGateSnapshot(std::string_view file, GlobalData& gcd) {
  gcd.gate.snapshotFile.assign(file);
  ApplyOption('n', nullptr, gcd);
  ApplyOption('f', "a", gcd);
  ApplyOption('o', nullptr, gcd);
}

void OpenGateSnapshot(GlobalData& gcd) {
  GateState& g = gcd.gate;
  if (g.snapshotFile.empty() || g.requested) return;
  std::unique_ptr<GateSnapshotWriter, GateSnapshotWriterFree> writer(new GateSnapshotWriter);
  if (!writer->Open(g.snapshotFile)) {
    OutF("\n  Error: Could not write the gate snapshot\n         Filename: %s\n         %s\n\n",
         g.snapshotFile.c_str(), writer->error().c_str());
    ExitRun(1, gcd);
  }
  writer->Header(gcd);
  // The gate's side runs are told through the environment which files
  // to record in full (a file of NUL-terminated paths).
  // The list lies beside the snapshot in the gate's private directory; a
  // variable left in the environment of another run is not heeded.
  const char* list = std::getenv(kGateRecordVariable);
  const auto directory = [](std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
  };
  if (list != nullptr && list[0] != '\0' && directory(list) == directory(g.snapshotFile)) {
    std::ifstream in(list, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      OutF("\n  Error: Could not read the gate's list of files\n         Filename: %s\n\n", list);
      ExitRun(1, gcd);
    }
    std::unordered_set<std::string> paths;
    for (std::size_t at = 0; at < text.size();) {
      std::size_t end = text.find('\0', at);
      if (end == std::string::npos) end = text.size();
      paths.emplace(text, at, end - at);
      at = end + 1;
    }
    writer->RecordOnly(std::move(paths));
    // The gate reads only the snapshot of this run.
    DiscardReport();
  }
  gcd.sarif.capture.exactTextPaths = writer->recorded();
  g.writer = std::move(writer);
  g.writing = 1;
  gcd.sarif.capturing = 1;
  gcd.sarif.capture.wantTextHash = 1;
}

void GateFileBegins(GlobalData& gcd) {
  GateState& g = gcd.gate;
  g.hashBodies = 0;
  if (!g.writing) return;
  // A file only summed up in a digest is the same file on both sides, and
  // its functions' begin and end lines are in the digest: body hashes would
  // add nothing to it, and without them its lines take the engine's quicker
  // scan, which gathers no code text.
  const NoticeCaptureState& c = gcd.sarif.capture;
  if (c.exactTextPaths != nullptr && (LocateCapturedFile(gcd), c.quickText)) return;
  g.hashBodies = 1;
  gcd.eng.keepContextText = 1;
}

void GateFunctionClosed(const NodeData& record, int nameLine, std::uint64_t bodyHash, GlobalData& gcd) {
  if (DeferredFileNotices* deferred = gcd.sarif.deferred) {
    deferred->gate.functions.push_back(FunctionRecord(record, nameLine, bodyHash));
    return;
  }
  if (gcd.gate.writer) gcd.gate.writer->AddFunction(FunctionRecord(record, nameLine, bodyHash));
}

void GateFileEnd(const FileNotices& notices, GlobalData& gcd) {
  if (!gcd.gate.writing) return;
  PrepareNoticeCapture(gcd);
  // The file's location as the capture gave it, when it captured a notice.
  std::string path = notices.notices.empty() ? PathOf(CurrentFileName(gcd), gcd) : notices.location.path;
  if (DeferredFileNotices* deferred = gcd.sarif.deferred) {
    deferred->gate.path = std::move(path);
    deferred->gate.due = true;
    return;
  }
  if (gcd.gate.writer) gcd.gate.writer->WriteFile(path, notices, gcd.sarif.capture.rules);
}

void WriteDeferredGateFile(GateFileRecords& file, const FileNotices& notices, GlobalData& gcd) {
  if (!file.due) return;
  file.due = false;
  if (!gcd.gate.writer) return;
  PrepareNoticeCapture(gcd);
  gcd.gate.writer->AddFunctions(file.functions);
  gcd.gate.writer->WriteFile(file.path, notices, gcd.sarif.capture.rules);
}

int FinishGateSnapshot(int status, GlobalData& gcd) {
  GateState& g = gcd.gate;
  if (!g.writer) return status;
  GateSnapshotWriter& w = *g.writer;
  PrepareNoticeCapture(gcd);
  for (const FileNotices& block : gcd.sarif.capture.outside)
    w.WriteNotices(block.location.path, block, gcd.sarif.capture.rules, false);
  std::unordered_map<const char*, std::string> paths;
  for (const Llist<NodeData>* list : {&gcd.lists.classes, &gcd.lists.interfaces}) {
    for (const NodeData& c : *list) {
      auto it = paths.find(c.fileName);
      if (it == paths.end()) it = paths.emplace(c.fileName, PathOf(c.fileName, gcd)).first;
      w.WriteClass(it->second, c.name, c.line);
    }
  }
  const bool written = w.End(gcd.sarif.capture.rules);
  bool ok = written && w.file().Commit();
  if (!ok) {
    if (!written) w.file().Abandon();
    OutF("\n  Error: Could not write the gate snapshot\n         Filename: %s\n         %s\n\n",
         g.snapshotFile.c_str(),
         written ? w.file().error().c_str() : std::strerror(w.failure() != 0 ? w.failure() : EIO));
  }
  g.writer.reset();
  return ok ? status : 1;
}
