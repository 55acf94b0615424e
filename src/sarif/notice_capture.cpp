#include "sarif/notice_capture.h"

#include <cstring>

#include "common/gcd.h"
#include "notices/notice_emit.h"

namespace {

constexpr std::string_view kInterfacePrefix = "Interface-";

std::string_view WithoutLineEnd(std::string_view name) {
  while (!name.empty() && (name.back() == '\n' || name.back() == '\r' || name.back() == ' ' || name.back() == '\t'))
    name.remove_suffix(1);
  return name;
}

NoticeEntityKind KindOf(const TypeState& t) {
  if (t.isInterface) return NoticeEntityKind::Interface;
  return t.isStruct ? NoticeEntityKind::Struct : NoticeEntityKind::Class;
}

// The entity a notice names and the line it anchors at.
struct Anchor {
  std::string_view entity;
  NoticeEntityKind kind = NoticeEntityKind::None;
  int line = 1;
  std::string_view text;  // the flagged line of a line notice
};

// The text of the line the notice flags: the current line, or the last code
// line before it (an unbraced body is judged on the line after its keyword).
std::string_view FlaggedLine(const RaisedNotice& n, const GlobalData& gcd) {
  if (n.lineText != nullptr) return n.lineText;
  if (n.line == gcd.drv.lineNumber) return gcd.drv.line;
  if (n.line == gcd.eng.lastCodeLineNumber) return std::string_view(gcd.eng.lastCodeLine.text);
  return std::string_view();
}

Anchor AnchorOf(const RaisedNotice& n, const GlobalData& gcd) {
  const StructureState& st = gcd.st;
  Anchor a;
  a.line = n.line;
  switch (n.subject) {
    case NoticeSubject::Function:
      a.entity = WithoutLineEnd(st.fn.name);
      a.kind = NoticeEntityKind::Function;
      if (st.fn.nameLine > 0) a.line = st.fn.nameLine;
      break;
    case NoticeSubject::Type:
      if (n.entity != nullptr) {
        a.entity = n.entity;
        a.kind = NoticeEntityKind::Class;
        if (a.entity.starts_with(kInterfacePrefix)) {
          a.entity.remove_prefix(kInterfacePrefix.size());
          a.kind = NoticeEntityKind::Interface;
        }
      } else {
        a.entity = WithoutLineEnd(st.type.name);
        a.kind = KindOf(st.type);
        if (st.type.nameLine > 0) a.line = st.type.nameLine;
      }
      break;
    case NoticeSubject::File:
      a.line = 1;
      break;
    case NoticeSubject::Line:
      if (st.functionScopeOpen && !st.fn.name.empty()) {
        a.entity = WithoutLineEnd(st.fn.name);
        a.kind = NoticeEntityKind::Function;
      } else if (st.class_flag && !st.type.name.empty()) {
        a.entity = WithoutLineEnd(st.type.name);
        a.kind = KindOf(st.type);
      }
      a.text = FlaggedLine(n, gcd);
      break;
  }
  if (a.entity.empty()) a.kind = NoticeEntityKind::None;
  if (a.line < 1) a.line = 1;
  return a;
}

// The entity's index in the file's list; a run of notices in one function
// shares one entry.
int EntityIndex(FileNotices& file, const Anchor& a) {
  if (a.kind == NoticeEntityKind::None) return -1;
  if (!file.entities.empty()) {
    const NoticeEntity& last = file.entities.back();
    if (last.kind == a.kind && last.name == a.entity) return static_cast<int>(file.entities.size()) - 1;
  }
  file.entities.push_back(NoticeEntity{std::string(a.entity), a.kind});
  return static_cast<int>(file.entities.size()) - 1;
}

// The hash of a flagged line without its blanks that gate snapshots keep.
std::uint64_t TextHash(const Anchor& a, bool wanted) {
  return wanted && !a.text.empty() ? Fnv128LowSkippingBlanks(a.text) : 0;
}

// A hash of the raw line, a word at a time, for the notices only a gate
// digest sums up. Blanks count here: two lines that differ only in blanks
// give different digests, and the gate then compares the file in full,
// with the exact hash.
std::uint64_t QuickTextHash(std::string_view text) {
  std::uint64_t h = 0x9e3779b97f4a7c15ULL ^ text.size();
  const auto mix = [&h](std::uint64_t word) {
    h = (h ^ word) * 0xff51afd7ed558ccdULL;
    h ^= h >> 32;
  };
  while (text.size() >= 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data(), 8);
    mix(word);
    text.remove_prefix(8);
  }
  if (!text.empty()) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data(), text.size());
    mix(word);
  }
  return h | 1;  // 0 means no text
}

void Record(FileNotices& file, const Fnv128& key, int entity, int rule, const Anchor& a, const RaisedNotice& n,
            OccurrenceCounter& occurrences, std::uint64_t textHash, bool fingerprint) {
  CapturedNotice c;
  c.textHash = textHash;
  c.rule = rule;
  c.line = a.line;
  c.entity = entity;
  if (n.keyword != nullptr) std::strncpy(c.keyword, n.keyword, sizeof c.keyword - 1);
  // Only the documents write fingerprints; a gate snapshot alone has none.
  if (fingerprint) NoticeFingerprintFrom(key, occurrences.Count(key)).HexTo(c.fingerprint);
  file.notices.push_back(c);
}

void CaptureInFile(const RaisedNotice& n, int rule, const Anchor& a, GlobalData& gcd) {
  NoticeCaptureState& c = gcd.sarif.capture;
  LocateCapturedFile(gcd);
  NoticeCaptureState::RuleHashes& h = c.ruleHashes[static_cast<std::size_t>(rule)];
  // The fingerprint's hash states only when fingerprints are written.
  if (h.stamp != c.fileStamp) {
    h.stamp = c.fileStamp;
    if (c.wantFingerprint)
      h.rulePath = NoticeRulePathState(c.rules.rules[static_cast<std::size_t>(rule)].id, c.file.location.path);
    h.entity = -2;
  }
  const int entity = EntityIndex(c.file, a);
  if (entity != h.entity) {
    h.entity = entity;
    if (c.wantFingerprint) h.entityState = NoticeEntityState(h.rulePath, a.entity);
    h.keyLine = -1;
  }
  if (h.keyLine != a.line || h.keyText != a.text.data() || h.keyTextLength != a.text.size()) {
    if (c.wantFingerprint) h.key = NoticeKeyStateFromEntity(h.entityState, a.text);
    // Only a text read from the line buffer is known to stay the same
    // while the line number does.
    h.keyLine = a.text.empty() || a.text.data() == gcd.drv.line ? a.line : -1;
    h.keyText = a.text.data();
    h.keyTextLength = a.text.size();
    h.textHash = c.quickText && !a.text.empty() ? QuickTextHash(a.text) : TextHash(a, c.wantTextHash != 0);
  }
  Record(c.file, h.key, entity, rule, a, n, c.occurrences, h.textHash, c.wantFingerprint != 0);
}

void CaptureOutside(const RaisedNotice& n, int rule, const Anchor& a, GlobalData& gcd) {
  NoticeCaptureState& c = gcd.sarif.capture;
  const std::string name = n.fileName != nullptr ? n.fileName : CurrentFileName(gcd);
  auto it = c.outsideLocations.find(name);
  if (it == c.outsideLocations.end()) {
    SourceLocation loc;
    // A made-up root of the inheritance forest has no file of its own.
    if (!name.empty()) loc = LocateSource(name, c.baseDir);
    it = c.outsideLocations.emplace(name, std::move(loc)).first;
  }
  const SourceLocation& loc = it->second;
  if (c.outside.empty() || c.outside.back().location.path != loc.path || c.outside.back().location.uri != loc.uri) {
    c.outside.emplace_back();
    c.outside.back().location = loc;
  }
  FileNotices& block = c.outside.back();
  const Fnv128 rulePath = NoticeRulePathState(c.rules.rules[static_cast<std::size_t>(rule)].id, loc.path);
  const int entity = EntityIndex(block, a);
  Record(block, NoticeKeyStateFrom(rulePath, a.entity, a.text), entity, rule, a, n, c.outsideOccurrences,
         TextHash(a, c.wantTextHash != 0), c.wantFingerprint != 0);
}

}  // namespace

void FileNotices::Clear() {
  location = SourceLocation{};
  notices.clear();
  entities.clear();
}

void PrepareNoticeCapture(GlobalData& gcd) {
  NoticeCaptureState& c = gcd.sarif.capture;
  if (c.rulesBuilt) return;
  c.rules = BuildNoticeRules(gcd);
  c.rulesBuilt = 1;
  c.ruleHashes.assign(c.rules.rules.size(), NoticeCaptureState::RuleHashes{});
  if (c.baseDir.empty()) c.baseDir = ResolvedCurrentDirectory();
}

void CaptureNotice(const RaisedNotice& n, GlobalData& gcd) {
  NoticeCaptureState& c = gcd.sarif.capture;
  PrepareNoticeCapture(gcd);
  const int rule = c.rules.IndexOf(n.number, n.user);
  if (rule < 0) return;
  const Anchor a = AnchorOf(n, gcd);
  ++c.captured;
  if (c.inFile) CaptureInFile(n, rule, a, gcd);
  else CaptureOutside(n, rule, a, gcd);
}

const SourceLocation& LocateCapturedFile(GlobalData& gcd) {
  NoticeCaptureState& c = gcd.sarif.capture;
  if (!c.located) {
    PrepareNoticeCapture(gcd);  // the base directory
    c.file.location = LocateSource(CurrentFileName(gcd), c.baseDir);
    c.located = 1;
    c.quickText = c.exactTextPaths != nullptr && c.exactTextPaths->count(c.file.location.path) == 0;
  }
  return c.file.location;
}

void BeginCapturedFile(GlobalData& gcd) {
  NoticeCaptureState& c = gcd.sarif.capture;
  c.file.Clear();
  c.occurrences.Clear();
  c.located = 0;
  ++c.fileStamp;
  c.inFile = 1;
}

const FileNotices& EndCapturedFile(GlobalData& gcd) {
  NoticeCaptureState& c = gcd.sarif.capture;
  c.inFile = 0;
  return c.file;
}
