// The strict reader of gate snapshots: every line one flat JSON object of
// strings and integers; any other shape, a missing member, a value out of
// range or a missing end line refuses the whole file.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "common/input_file.h"
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

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

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
    const std::string_view text = Str(key);
    if (text.size() != 16) return Bad(key), 0;
    std::uint64_t h = 0;
    for (char c : text) {
      h <<= 4;
      if (c >= '0' && c <= '9') h |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f') h |= static_cast<unsigned>(c - 'a' + 10);
      else return Bad(key), 0;
    }
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

bool Fail(std::string& error, std::size_t lineNo, const std::string& why) {
  error = "line " + std::to_string(lineNo) + ": " + why;
  return false;
}

}  // namespace

std::string HashHex(std::uint64_t h) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out(16, '0');
  for (int i = 15; i >= 0; --i, h >>= 4) out[static_cast<std::size_t>(i)] = kDigits[h & 0xF];
  return out;
}

bool ParseSnapshot(std::string_view text, GateSnapshot& out, std::string& error, std::string& warning) {
  out = GateSnapshot{};
  std::size_t lineNo = 0;
  bool header = false, ended = false;
  // Each file's first function and its number of functions, so that a
  // notice's function index resolves.
  std::string currentPath;
  std::size_t currentFirst = 0, currentCount = 0;
  long long endCounts[3] = {0, 0, 0};
  // About one record a line: room for them at once.
  const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  out.notices.reserve(std::min(lines, kMaxRecords));
  auto members = std::make_unique<Members>();
  Members& m = *members;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    if (nl == std::string_view::npos) return Fail(error, lineNo + 1, "the last line has no line end (truncated)");
    const std::string_view line = text.substr(0, nl);
    text.remove_prefix(nl + 1);
    ++lineNo;
    if (ended) return Fail(error, lineNo, "a line after the end line");
    if (!LineParser(line).Parse(m)) return Fail(error, lineNo, "not a flat JSON object of strings and integers");
    Fields f(m);
    if (!header) {
      const Value* format = m.Find("format");
      if (format == nullptr || !format->isString || format->text != kSnapshotFormat)
        return Fail(error, lineNo, "not an lqa gate snapshot");
      const long long version = f.Int("version", 0, 1000000);
      if (!f.problem().empty()) return Fail(error, lineNo, f.problem());
      if (version != kSnapshotVersion)
        return Fail(error, lineNo, "snapshot format version " + std::to_string(version) + ", this lqa reads version 1");
      out.lqaVersion = f.Str("lqa");
      out.complexityLimit = static_cast<int>(f.Int("complexityLimit", 0, kMaxLine));
      if (!f.problem().empty()) return Fail(error, lineNo, f.problem());
      if (out.lqaVersion != kLqaVersion)
        warning = "the snapshot was written by lqa " + out.lqaVersion + ", this is lqa " + kLqaVersion;
      header = true;
      continue;
    }
    const std::string_view kind = f.Str("kind");
    if (out.files.size() + out.functions.size() + out.classes.size() + out.notices.size() >= kMaxRecords)
      return Fail(error, lineNo, "too many records");
    if (kind == "notice") {
      GateNotice n;
      n.path = f.Str("path");
      n.rule = f.Str("rule");
      n.keyword = f.OptStr("keyword");
      n.entity = f.OptStr("entity");
      n.entityKind = EntityKindLetter(f.OptStr("entityKind"));
      if (n.entity.empty() != (n.entityKind == 0)) return Fail(error, lineNo, "an entity without its kind");
      const long long fn = f.OptInt("function", 0, kMaxLine, -1);
      n.textHash = f.OptHash("text");
      n.occurrence = static_cast<int>(f.Int("occurrence", 1, kMaxLine));
      n.line = static_cast<int>(f.Int("line", 0, kMaxLine));
      if (!f.problem().empty()) return Fail(error, lineNo, f.problem());
      if (fn >= 0) {
        // The index counts the functions of the notice's file, which come
        // right before its notices.
        if (n.path != currentPath || static_cast<std::size_t>(fn) >= currentCount || n.entityKind != 'f')
          return Fail(error, lineNo, "the notice names a function its file does not have");
        n.function = static_cast<int>(currentFirst + static_cast<std::size_t>(fn));
      }
      out.notices.push_back(std::move(n));
    } else if (kind == "function") {
      GateFunction g;
      g.path = f.Str("path");
      g.name = f.Str("name");
      g.signature = f.Str("signature");
      g.occurrence = static_cast<int>(f.Int("occurrence", 1, kMaxLine));
      g.line = static_cast<int>(f.Int("line", 0, kMaxLine));
      g.begin = static_cast<int>(f.Int("begin", 0, kMaxLine));
      g.end = static_cast<int>(f.Int("end", 0, kMaxLine));
      g.complexity = static_cast<int>(f.Int("complexity", 0, kMaxLine));
      g.eloc = static_cast<int>(f.Int("eloc", -kMaxLine, kMaxLine));
      g.bodyHash = f.Hash("body");
      if (!f.problem().empty()) return Fail(error, lineNo, f.problem());
      if (g.path != currentPath) return Fail(error, lineNo, "a function outside its file's records");
      ++currentCount;
      out.functions.push_back(std::move(g));
    } else if (kind == "file") {
      out.files.emplace_back(f.Str("path"));
      currentPath = out.files.back();
      currentFirst = out.functions.size();
      currentCount = 0;
    } else if (kind == "rule") {
      const std::string_view id = f.Str("id");
      const std::string_view message = f.Str("message");
      if (f.problem().empty()) out.ruleMessages[std::string(id)] = message;
    } else if (kind == "class") {
      GateClass c;
      c.path = f.Str("path");
      c.name = f.Str("name");
      c.occurrence = static_cast<int>(f.Int("occurrence", 1, kMaxLine));
      c.line = static_cast<int>(f.Int("line", 0, kMaxLine));
      out.classes.push_back(std::move(c));
    } else if (kind == "end") {
      endCounts[0] = f.Int("functions", 0, kMaxLine);
      endCounts[1] = f.Int("classes", 0, kMaxLine);
      endCounts[2] = f.Int("notices", 0, kMaxLine);
      ended = true;
    } else {
      return Fail(error, lineNo, "unknown record kind");
    }
    if (!f.problem().empty()) return Fail(error, lineNo, f.problem());
  }
  if (!header) return Fail(error, 1, "empty file, not an lqa gate snapshot");
  if (!ended) return Fail(error, lineNo, "no end line (truncated)");
  if (endCounts[0] != static_cast<long long>(out.functions.size()) ||
      endCounts[1] != static_cast<long long>(out.classes.size()) ||
      endCounts[2] != static_cast<long long>(out.notices.size()))
    return Fail(error, lineNo, "the end line's counts differ from the records read");
  return true;
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
  if (!notice.keyword.empty()) {
    text = "'" + notice.keyword + "' " + kScopeNoticeWording;
  } else {
    auto it = snapshot.ruleMessages.find(notice.rule);
    text = it != snapshot.ruleMessages.end() ? it->second : notice.rule;
  }
  if (!notice.entity.empty()) text += std::string(" in ") + EntityKindWord(notice.entityKind) + " " + notice.entity;
  return text;
}

bool ReadSnapshot(const std::string& file, GateSnapshot& out, std::string& error, std::string& warning) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(OpenInput(file), std::fclose);
  if (!f) {
    error = InputErrorText(errno);
    return false;
  }
  struct stat st {};
  std::string text;
  if (fstat(fileno(f.get()), &st) == 0 && st.st_size > 0 && static_cast<std::size_t>(st.st_size) <= kMaxSnapshotBytes)
    text.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[1 << 16];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) {
    if (text.size() + n > kMaxSnapshotBytes) {
      error = "larger than 2 GB";
      return false;
    }
    text.append(buffer, n);
  }
  if (std::ferror(f.get())) {
    error = std::strerror(errno != 0 ? errno : EIO);
    return false;
  }
  return ParseSnapshot(text, out, error, warning);
}
