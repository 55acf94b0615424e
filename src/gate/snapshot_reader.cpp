// The strict reader of gate snapshots: every line one flat JSON object of
// strings and integers; any other shape, a missing member, a value out of
// range or a missing end line refuses the whole file.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

#include "common/error_text.h"
#include "common/input_file.h"
#include "common/text.h"
#include "common/version.h"
#include "notices/notice_emit.h"
#include "gate/snapshot.h"

namespace {

constexpr std::size_t kMaxSnapshotBytes = std::size_t{1} << 31;  // 2 GB
constexpr std::size_t kMaxRecords = 50'000'000;

// One member value of a flat object: a view into the line, or into the
// line's scratch text when it held escapes.
struct Value {
  bool isString = false;
  std::string_view text;
  long long number = 0;
};

constexpr std::size_t kMaxMembers = 32;

// The members of one line, in order (a line holds a dozen at most, so a
// linear search is quicker than a map).
struct Members {
  std::pair<std::string_view, Value> items[kMaxMembers];
  std::size_t count = 0;
  std::string scratch[kMaxMembers * 2];  // unescaped keys and strings
  std::size_t scratchUsed = 0;
  const Value* Find(std::string_view key) const {
    for (std::size_t i = 0; i < count; ++i)
      if (items[i].first == key) return &items[i].second;
    return nullptr;
  }
  void Clear() {
    count = 0;
    scratchUsed = 0;
  }
};

class LineParser {
 public:
  explicit LineParser(std::string_view line) : s_(line) {}

  bool Parse(Members& out) {
    out.Clear();
    SkipBlanks();
    if (!Take('{')) return false;
    SkipBlanks();
    if (Take('}')) return AtEnd();
    for (;;) {
      std::string_view key;
      SkipBlanks();
      if (!String(key, out)) return false;
      SkipBlanks();
      if (!Take(':')) return false;
      SkipBlanks();
      Value v;
      if (Peek() == '"') {
        v.isString = true;
        if (!String(v.text, out)) return false;
      } else if (!Number(v.number)) {
        return false;
      }
      if (out.Find(key) != nullptr || out.count == kMaxMembers) return false;  // a key twice, or too many
      out.items[out.count++] = {key, v};
      SkipBlanks();
      if (Take('}')) return AtEnd();
      if (!Take(',')) return false;
    }
  }

 private:
  char Peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
  bool Take(char c) {
    if (Peek() != c || i_ >= s_.size()) return false;
    ++i_;
    return true;
  }
  void SkipBlanks() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r')) ++i_;
  }
  bool AtEnd() {
    SkipBlanks();
    return i_ == s_.size();
  }
  bool Hex4(unsigned& v) {
    if (s_.size() - i_ < 4) return false;
    v = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = s_[i_++];
      v <<= 4;
      if (c >= '0' && c <= '9') v |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f') v |= static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') v |= static_cast<unsigned>(c - 'A' + 10);
      else return false;
    }
    return true;
  }
  // A string as a view into the line; one with escapes is unescaped into
  // the members' scratch text.
  bool String(std::string_view& view, Members& members) {
    if (!Take('"')) return false;
    const std::size_t start = i_;
    while (i_ < s_.size() && s_[i_] != '"' && s_[i_] != '\\' && static_cast<unsigned char>(s_[i_]) >= 0x20) ++i_;
    if (i_ < s_.size() && s_[i_] == '"') {
      view = s_.substr(start, i_ - start);
      ++i_;
      return true;
    }
    if (members.scratchUsed == std::size(members.scratch)) return false;
    std::string& out = members.scratch[members.scratchUsed++];
    out.assign(s_.substr(start, i_ - start));
    if (!Unescape(out)) return false;
    view = out;
    return true;
  }
  bool Unescape(std::string& out) {
    while (i_ < s_.size()) {
      const char c = s_[i_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (i_ >= s_.size()) return false;
      const char e = s_[i_++];
      switch (e) {
        case '"': case '\\': case '/': out.push_back(e); break;
        case 'b': out.push_back('\b'); break;
        case 'f': out.push_back('\f'); break;
        case 'n': out.push_back('\n'); break;
        case 'r': out.push_back('\r'); break;
        case 't': out.push_back('\t'); break;
        case 'u': {
          unsigned cp = 0;
          if (!Hex4(cp)) return false;
          if (cp >= 0xD800 && cp < 0xDC00) {
            unsigned low = 0;
            if (!Take('\\') || !Take('u') || !Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp < 0xE000) {
            return false;
          }
          AppendUtf8(out, cp);
          break;
        }
        default: return false;
      }
    }
    return false;
  }
  bool Number(long long& out) {
    bool negative = Take('-');
    if (Peek() < '0' || Peek() > '9') return false;
    if (Peek() == '0' && i_ + 1 < s_.size() && s_[i_ + 1] >= '0' && s_[i_ + 1] <= '9') return false;
    unsigned long long v = 0;
    int digits = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      if (++digits > 18) return false;  // far beyond any count or line a snapshot holds
      v = v * 10 + static_cast<unsigned>(s_[i_++] - '0');
    }
    out = negative ? -static_cast<long long>(v) : static_cast<long long>(v);
    return true;
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

// The 16 lowercase hexadecimal digits of a hash.
bool ParseHash(std::string_view text, std::uint64_t& h) {
  if (text.size() != 16) return false;
  h = 0;
  for (char c : text) {
    h <<= 4;
    if (c >= '0' && c <= '9') h |= static_cast<unsigned>(c - '0');
    else if (c >= 'a' && c <= 'f') h |= static_cast<unsigned>(c - 'a' + 10);
    else return false;
  }
  return true;
}

// Reading the members of one record, with the first problem remembered.
class Fields {
 public:
  explicit Fields(const Members& m) : m_(m) {}
  std::string_view Str(std::string_view key) {
    const Value* v = m_.Find(key);
    if (v == nullptr || !v->isString) return Bad(key), std::string_view();
    return v->text;
  }
  // An optional member: absent is the empty string.
  std::string_view OptStr(std::string_view key) {
    const Value* v = m_.Find(key);
    if (v == nullptr) return std::string_view();
    if (!v->isString) Bad(key);
    return v->text;
  }
  long long Int(std::string_view key, long long low, long long high) {
    const Value* v = m_.Find(key);
    if (v == nullptr || v->isString || v->number < low || v->number > high) return Bad(key), 0;
    return v->number;
  }
  long long OptInt(std::string_view key, long long low, long long high, long long absent) {
    return m_.Find(key) == nullptr ? absent : Int(key, low, high);
  }
  std::uint64_t OptHash(std::string_view key) { return m_.Find(key) == nullptr ? 0 : Hash(key); }
  std::uint64_t Hash(std::string_view key) {
    std::uint64_t h = 0;
    if (!ParseHash(Str(key), h)) Bad(key);
    return h;
  }
  const std::string& problem() const { return problem_; }

 private:
  void Bad(std::string_view key) {
    if (problem_.empty()) problem_ = "member \"" + std::string(key) + "\" missing or invalid";
  }
  const Members& m_;
  std::string problem_;
};

constexpr long long kMaxLine = 1LL << 31;
constexpr std::size_t kMaxLineBytes = std::size_t{16} << 20;  // far beyond any record

// Reads the lines of a snapshot one at a time into out.
class SnapshotParser {
 public:
  SnapshotParser(GateSnapshot& out, std::string& error, std::string& warning)
      : out_(out), error_(error), warning_(warning), members_(std::make_unique<Members>()) {
    out_ = GateSnapshot{};
  }

  bool Line(std::string_view line) {
    ++lineNo_;
    if (ended_) return Fail("a line after the end line");
    Members& m = *members_;
    if (!LineParser(line).Parse(m)) return Fail("not a flat JSON object of strings and integers");
    Fields f(m);
    if (!header_) return Header(m, f);
    if (out_.functions.size() + out_.classes.size() + out_.notices.size() + out_.paths.size() +
            out_.digests.size() >= kMaxRecords)
      return Fail("too many records");
    if (m.Find("kind") == nullptr) {
      if (!Notice(m)) return false;
    } else if (!Record(f)) {
      return false;
    }
    return f.problem().empty() || Fail(f.problem());
  }

  bool Finish() {
    if (!header_) return lineNo_ = 1, Fail("empty file, not an lqa gate snapshot");
    if (!ended_) return Fail("no end line (truncated)");
    if (endCounts_[0] != static_cast<long long>(out_.functions.size()) ||
        endCounts_[1] != static_cast<long long>(out_.classes.size()) ||
        endCounts_[2] != static_cast<long long>(out_.notices.size()))
      return Fail("the end line's counts differ from the records read");
    return true;
  }

  bool Fail(const std::string& why) {
    error_ = "line " + std::to_string(lineNo_) + ": " + why;
    return false;
  }

 private:
  bool Header(const Members& m, Fields& f) {
    const Value* format = m.Find("format");
    if (format == nullptr || !format->isString || format->text != kSnapshotFormat)
      return Fail("not an lqa gate snapshot");
    const long long version = f.Int("version", 0, 1000000);
    if (!f.problem().empty()) return Fail(f.problem());
    if (version != kSnapshotVersion)
      return Fail("snapshot format version " + std::to_string(version) + ", this lqa reads version 1");
    out_.lqaVersion = f.Str("lqa");
    out_.complexityLimit = static_cast<int>(f.Int("complexityLimit", 0, kMaxLine));
    if (!f.problem().empty()) return Fail(f.problem());
    if (out_.lqaVersion != kLqaVersion)
      warning_ = "the snapshot was written by lqa " + out_.lqaVersion + ", this is lqa " + kLqaVersion;
    header_ = true;
    return true;
  }

  // A notice line: {"n":rule,"l":line} with "f" (its function in the file),
  // "e" and "k" (another entity and its kind), "w" (a keyword), "t" (the
  // text hash) where they apply.
  // The members are taken in one pass: a snapshot holds millions of these.
  bool Notice(const Members& m) {
    GateNotice n;
    long long rule = -1, line = -1, fn = -1;
    std::string_view entity, kind, keyword;
    for (std::size_t i = 0; i < m.count; ++i) {
      const std::string_view key = m.items[i].first;
      const Value& v = m.items[i].second;
      const char k = key.size() == 1 ? key[0] : '\0';
      const bool number = k == 'n' || k == 'l' || k == 'f';
      if (k == '\0' || v.isString == number) return Fail("a notice member \"" + std::string(key) + "\" invalid");
      switch (k) {
        case 'n': rule = v.number; break;
        case 'l': line = v.number; break;
        case 'f': fn = v.number; break;
        case 'e': entity = v.text; break;
        case 'k': kind = v.text; break;
        case 'w': keyword = v.text; break;
        case 't':
          if (!ParseHash(v.text, n.textHash)) return Fail("a notice's text hash invalid");
          break;
        default: return Fail("a notice member \"" + std::string(key) + "\" unknown");
      }
    }
    if (rule < 0 || line < 0 || line > kMaxLine || fn > kMaxLine) return Fail("a notice without its rule or line");
    if (out_.paths.empty()) return Fail("a notice before any file");
    if (static_cast<std::size_t>(rule) >= out_.rules.size()) return Fail("the notice names a rule not listed");
    n.path = static_cast<int>(out_.paths.size() - 1);
    n.rule = static_cast<int>(rule);
    n.line = static_cast<int>(line);
    if (fn >= 0) {
      // The index counts the functions of the notice's file, which come
      // right before its notices.
      if (!inFile_ || static_cast<std::size_t>(fn) >= currentCount_ || !entity.empty() || !kind.empty())
        return Fail("the notice names a function its file does not have");
      n.function = static_cast<int>(currentFirst_ + static_cast<std::size_t>(fn));
      n.entityKind = 'f';
    } else {
      n.entityKind = EntityKindLetter(kind);
      if (entity.empty() != (n.entityKind == 0) || entity.empty() != kind.empty())
        return Fail("an entity without its kind");
      if (!entity.empty()) n.entity = out_.Name(entity);
    }
    if (!keyword.empty()) n.keyword = out_.Name(keyword);
    out_.notices.push_back(n);
    return true;
  }

  bool Record(Fields& f) {
    const std::string_view kind = f.Str("kind");
    if (kind == "function") {
      GateFunction g;
      g.name = f.Str("name");
      g.signature = f.Str("signature");
      g.occurrence = static_cast<int>(f.Int("occurrence", 1, kMaxLine));
      g.line = static_cast<int>(f.Int("line", 0, kMaxLine));
      g.begin = static_cast<int>(f.Int("begin", 0, kMaxLine));
      g.end = static_cast<int>(f.Int("end", 0, kMaxLine));
      g.complexity = static_cast<int>(f.Int("complexity", 0, kMaxLine));
      g.eloc = static_cast<int>(f.Int("eloc", -kMaxLine, kMaxLine));
      g.bodyHash = f.Hash("body");
      if (!f.problem().empty()) return Fail(f.problem());
      if (!inFile_) return Fail("a function outside its file's records");
      g.path = out_.paths.back();
      ++currentCount_;
      out_.functions.push_back(std::move(g));
    } else if (kind == "file" || kind == "notices") {
      // A file's records, or notices raised outside any analysed file.
      out_.paths.emplace_back(f.Str("path"));
      inFile_ = kind == "file";
      currentFirst_ = out_.functions.size();
      currentCount_ = 0;
    } else if (kind == "rule") {
      const std::string_view id = f.Str("id");
      const std::string_view message = f.Str("message");
      if (!f.problem().empty()) return Fail(f.problem());
      for (const GateRule& r : out_.rules)
        if (r.id == id) return Fail("a rule listed twice");
      out_.rules.push_back(GateRule{std::string(id), std::string(message)});
    } else if (kind == "class") {
      GateClass c;
      c.path = f.Str("path");
      c.name = f.Str("name");
      c.occurrence = static_cast<int>(f.Int("occurrence", 1, kMaxLine));
      c.line = static_cast<int>(f.Int("line", 0, kMaxLine));
      out_.classes.push_back(std::move(c));
    } else if (kind == "digest") {
      const std::string_view path = f.Str("path");
      const std::uint64_t hash = f.Hash("hash");
      if (!f.problem().empty()) return Fail(f.problem());
      if (!out_.digests.emplace(std::string(path), hash).second) return Fail("a file's digest listed twice");
    } else if (kind == "end") {
      endCounts_[0] = f.Int("functions", 0, kMaxLine);
      endCounts_[1] = f.Int("classes", 0, kMaxLine);
      endCounts_[2] = f.Int("notices", 0, kMaxLine);
      ended_ = true;
    } else {
      return Fail("unknown record kind");
    }
    return true;
  }

  GateSnapshot& out_;
  std::string& error_;
  std::string& warning_;
  std::unique_ptr<Members> members_;
  std::size_t lineNo_ = 0;
  bool header_ = false, ended_ = false;
  // The current file's first function and its number of functions, so
  // that a notice's function index resolves.
  bool inFile_ = false;
  std::size_t currentFirst_ = 0, currentCount_ = 0;
  long long endCounts_[3] = {0, 0, 0};
};

}  // namespace

std::string HashHex(std::uint64_t h) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out(16, '0');
  for (int i = 15; i >= 0; --i, h >>= 4) out[static_cast<std::size_t>(i)] = kDigits[h & 0xF];
  return out;
}

int GateSnapshot::Name(std::string_view name) {
  auto [it, added] = nameIds.try_emplace(std::string(name), static_cast<int>(names.size()));
  if (added) names.emplace_back(name);
  return it->second;
}

int GateSnapshot::Rule(std::string_view id) {
  for (std::size_t i = 0; i < rules.size(); ++i)
    if (rules[i].id == id) return static_cast<int>(i);
  rules.push_back(GateRule{std::string(id), std::string()});
  return static_cast<int>(rules.size() - 1);
}

const std::string& GateSnapshot::EntityOf(const GateNotice& n) const {
  static const std::string kNone;
  if (n.function >= 0) return functions[static_cast<std::size_t>(n.function)].name;
  return n.entity >= 0 ? names[static_cast<std::size_t>(n.entity)] : kNone;
}

const std::string& GateSnapshot::KeywordOf(const GateNotice& n) const {
  static const std::string kNone;
  return n.keyword >= 0 ? names[static_cast<std::size_t>(n.keyword)] : kNone;
}

bool ParseSnapshot(std::string_view text, GateSnapshot& out, std::string& error, std::string& warning) {
  SnapshotParser parser(out, error, warning);
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    if (nl == std::string_view::npos) return parser.Fail("the last line has no line end (truncated)");
    if (!parser.Line(text.substr(0, nl))) return false;
    text.remove_prefix(nl + 1);
  }
  return parser.Finish();
}

char EntityKindLetter(std::string_view word) {
  if (word == "function") return 'f';
  if (word == "class") return 'c';
  if (word == "struct") return 's';
  if (word == "interface") return 'i';
  return 0;
}

const char* EntityKindWord(char letter) {
  switch (letter) {
    case 'f': return "function";
    case 'c': return "class";
    case 's': return "struct";
    case 'i': return "interface";
    default: return "";
  }
}

std::string NoticeText(const GateSnapshot& snapshot, const GateNotice& notice) {
  std::string text;
  if (notice.keyword >= 0) {
    text = "'" + snapshot.KeywordOf(notice) + "' " + kScopeNoticeWording;
  } else {
    const GateRule& rule = snapshot.rules[static_cast<std::size_t>(notice.rule)];
    text = rule.message.empty() ? rule.id : rule.message;
  }
  const std::string& entity = snapshot.EntityOf(notice);
  if (!entity.empty()) text += std::string(" in ") + EntityKindWord(notice.entityKind) + " " + entity;
  return text;
}

// Line by line as the file is read: only the records stay in memory.
bool ReadSnapshot(const std::string& file, GateSnapshot& out, std::string& error, std::string& warning) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(OpenInput(file), std::fclose);
  if (!f) {
    error = InputErrorText(errno);
    return false;
  }
  SnapshotParser parser(out, error, warning);
  std::string carry;  // the start of a line the last block cut
  std::vector<char> buffer(std::size_t{1} << 20);
  std::size_t total = 0, n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), f.get())) > 0) {
    if ((total += n) > kMaxSnapshotBytes) {
      error = "larger than 2 GB";
      return false;
    }
    std::string_view block(buffer.data(), n);
    if (!carry.empty()) {
      const std::size_t nl = block.find('\n');
      carry.append(block.substr(0, nl));
      if (carry.size() > kMaxLineBytes) return parser.Fail("a line longer than 16 MB");
      if (nl == std::string_view::npos) continue;
      if (!parser.Line(carry)) return false;
      carry.clear();
      block.remove_prefix(nl + 1);
    }
    for (std::size_t nl; (nl = block.find('\n')) != std::string_view::npos; block.remove_prefix(nl + 1))
      if (!parser.Line(block.substr(0, nl))) return false;
    carry.assign(block);
  }
  if (std::ferror(f.get())) {
    error = ErrorText(errno != 0 ? errno : EIO);
    return false;
  }
  if (!carry.empty()) return parser.Fail("the last line has no line end (truncated)");
  return parser.Finish();
}
