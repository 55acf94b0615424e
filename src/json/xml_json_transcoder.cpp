#include "json/xml_json_transcoder.h"

#include <cassert>
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/text.h"
#include "json/xml_json_rules.h"

namespace {

// Tag and entity names longer than this are cut: lqa writes none.
constexpr std::size_t kNameLimit = 256;
constexpr std::size_t kEntityLimit = 12;

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

struct NameChars {
  bool is[256] = {};
  constexpr NameChars() {
    for (int c = 0; c < 256; ++c)
      is[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
              c == '.' || c == ':' || c >= 0x80;
  }
};
constexpr NameChars kNameChars;

// The bytes that end a run of text.
struct Markup {
  bool is[256] = {};
  constexpr Markup() {
    is[static_cast<unsigned char>('<')] = true;
    is[static_cast<unsigned char>('&')] = true;
  }
};
constexpr Markup kMarkup;

bool NameChar(char c) { return kNameChars.is[static_cast<unsigned char>(c)]; }

std::string_view Strip(std::string_view s) {
  while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
  return s;
}

bool Digit(char c) { return c >= '0' && c <= '9'; }

// The JSON number grammar: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool JsonNumber(std::string_view s) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  if (i < n && s[i] == '-') ++i;
  if (i >= n || !Digit(s[i])) return false;
  if (s[i] == '0') ++i;
  else
    while (i < n && Digit(s[i])) ++i;
  if (i < n && s[i] == '.') {
    ++i;
    if (i >= n || !Digit(s[i])) return false;
    while (i < n && Digit(s[i])) ++i;
  }
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    if (i >= n || !Digit(s[i])) return false;
    while (i < n && Digit(s[i])) ++i;
  }
  return i == n;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (x != b[i]) return false;
  }
  return true;
}

// What printf writes for a NaN or an infinity.
bool NotFinite(std::string_view s) {
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
  return EqualsNoCase(s, "nan") || EqualsNoCase(s, "inf") || EqualsNoCase(s, "infinity");
}

// A character reference's code point; one that is no character becomes '?'.
void AppendReference(std::string& out, unsigned long cp) {
  if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) out.push_back('?');
  else AppendUtf8(out, cp);
}

// The text an entity name (between '&' and ';') stands for; false when it is
// none, and the entity is then kept as written.
bool DecodeEntity(std::string_view name, std::string& out) {
  static constexpr std::pair<std::string_view, char> kNamed[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto& [n, c] : kNamed)
    if (name == n) {
      out.push_back(c);
      return true;
    }
  if (name.size() < 2 || name[0] != '#') return false;
  const bool hex = name[1] == 'x' || name[1] == 'X';
  std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 8) return false;
  unsigned long cp = 0;
  for (char c : digits) {
    int v = -1;
    if (Digit(c)) v = c - '0';
    else if (hex && c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') v = c - 'A' + 10;
    if (v < 0) return false;
    cp = cp * (hex ? 16 : 10) + static_cast<unsigned long>(v);
  }
  AppendReference(out, cp);
  return true;
}

}  // namespace

XmlJsonTranscoder::XmlJsonTranscoder(FILE* out) : writer_(out, JsonStyle::Pretty), out_(out) {}

void XmlJsonTranscoder::Emit(EventList* target, Event::Kind kind, std::string_view text) {
  if (target != nullptr) {
    target->push_back(Event{kind, std::string(text)});
    return;
  }
  switch (kind) {
    case Event::BeginObject: writer_.BeginObject(); break;
    case Event::EndObject: writer_.EndObject(); break;
    case Event::BeginArray: writer_.BeginArray(); break;
    case Event::EndArray: writer_.EndArray(); break;
    case Event::Key: writer_.Key(text); break;
    case Event::String: writer_.String(text); break;
    case Event::Raw: writer_.RawValue(text); break;
    case Event::Null: writer_.Null(); break;
  }
}

void XmlJsonTranscoder::Replay(const EventList& events, EventList* target) {
  for (const Event& e : events) Emit(target, e.kind, e.text);
}

// Moves the text written since the last tag of an object into its lines.
void XmlJsonTranscoder::TakeLines(Frame& f) {
  std::string_view rest = f.text;
  while (!rest.empty()) {
    const std::size_t nl = rest.find('\n');
    const std::string_view line = rest.substr(0, nl);
    if (!Strip(line).empty()) f.lines.emplace_back(line);
    if (nl == std::string_view::npos) break;
    rest.remove_prefix(nl + 1);
  }
  f.text.clear();
}

void XmlJsonTranscoder::BecomeObject(Frame& f) {
  if (f.object) {
    TakeLines(f);
    return;
  }
  f.object = true;
  Emit(f.target, Event::BeginObject);
  if (f.entry) {
    Emit(f.target, Event::Key, "kind");
    Emit(f.target, Event::String, f.name);
  }
  TakeLines(f);
}

// The member name for key in the object: a name the rule tables do not know
// to repeat would stand twice, which strict JSON does not allow, so a repeat
// is numbered ("name#2"). Builds with assertions stop there: the tables need
// the name. The names written are kept in one string, each after a NUL.
std::string_view XmlJsonTranscoder::UniqueKey(Frame& parent, std::string_view key, std::string& scratch) {
  const auto used = [&parent](std::string_view k) {
    std::string_view rest = parent.keys;
    while (!rest.empty()) {
      rest.remove_prefix(1);
      const std::size_t end = std::min(rest.find('\0'), rest.size());
      if (rest.substr(0, end) == k) return true;
      rest.remove_prefix(end);
    }
    return false;
  };
  // One bit per name: a name whose bit is clear is new without a search.
  const auto bit = [](std::string_view k) {
    const std::size_t h = k.size() * 31 + static_cast<unsigned char>(k.front()) + 7u * static_cast<unsigned char>(k.back());
    return std::uint64_t{1} << (h & 63);
  };
  std::string_view unique = key;
  if (key.empty() || (parent.keyBits & bit(key)) == 0) {
    if (!key.empty()) parent.keyBits |= bit(key);
    parent.keys.append(1, '\0').append(key);
    return key;
  }
  for (int n = 2; used(unique); ++n) {
    assert(!"an element name repeats that the rule tables do not list as repeatable");
    scratch.assign(key);
    scratch.append("#").append(std::to_string(n));
    unique = scratch;
  }
  parent.keyBits |= bit(unique);
  parent.keys.push_back('\0');
  parent.keys.append(unique);
  return unique;
}

// The frame of a new innermost element: frames are kept and reused, so that
// their strings and lists keep what they allocated.
XmlJsonTranscoder::Frame& XmlJsonTranscoder::Push() {
  if (depth_ == frames_.size()) frames_.push_back(std::make_unique<Frame>());
  Frame& f = *frames_[depth_++];
  f.name.clear();
  f.key.clear();
  f.target = nullptr;
  f.object = false;
  f.entry = false;
  f.text.clear();
  f.openArray.clear();
  f.parameters = 0;
  f.pending.clear();
  f.lateArrays.clear();
  f.lines.clear();
  f.keys.clear();
  f.keyBits = 0;
  return f;
}

void XmlJsonTranscoder::StartElement(std::string_view name) {
  if (doc_ == Doc::After) return;
  if (depth_ == 0) {
    // The root: the document wraps it with its format version.
    doc_ = Doc::InRoot;
    writer_.BeginObject();
    writer_.Key("format_version");
    writer_.Int(1);
    writer_.Key(name);
    Frame& root = Push();
    root.name = name;
    root.key = name;
    return;
  }
  Frame& parent = Top();
  BecomeObject(parent);
  const bool parameters = name == "parameters";
  const ChildRule rule = RuleFor(parent.name, name, parameters ? parent.parameters : 0);
  if (parameters) ++parent.parameters;
  Frame& child = Push();
  child.name = name;
  child.key = rule.key;
  child.target = parent.target;
  switch (rule.placement) {
    case Placement::Member:
      if (!parent.openArray.empty()) child.target = &parent.pending;
      Emit(child.target, Event::Key, UniqueKey(parent, rule.key, keyScratch_));
      break;
    case Placement::Entry:
    case Placement::Array:
      if (parent.openArray != rule.key) {
        if (!parent.openArray.empty()) Emit(parent.target, Event::EndArray);
        parent.openArray = UniqueKey(parent, rule.key, keyScratch_);
        Emit(parent.target, Event::Key, parent.openArray);
        Emit(parent.target, Event::BeginArray);
      }
      child.entry = rule.placement == Placement::Entry;
      break;
    case Placement::LateArray: {
      LateArray* late = nullptr;
      for (LateArray& a : parent.lateArrays)
        if (a.name == rule.key) late = &a;
      if (late == nullptr) {
        parent.lateArrays.push_back(
            LateArray{std::string(rule.key), std::string(UniqueKey(parent, rule.key, keyScratch_)), {}});
        late = &parent.lateArrays.back();
      }
      child.target = &late->events;
      break;
    }
  }
}

void XmlJsonTranscoder::WriteLeaf(const Frame& f, std::string_view parent) {
  if (f.entry) {
    // A listing entry is an object even without children.
    Emit(f.target, Event::BeginObject);
    Emit(f.target, Event::Key, "kind");
    Emit(f.target, Event::String, f.name);
    Emit(f.target, Event::EndObject);
    return;
  }
  if (!AlwaysText(parent, f.key)) {
    const std::string_view number = Strip(f.text);
    if (JsonNumber(number)) {
      Emit(f.target, Event::Raw, number);
      return;
    }
    if (NotFinite(number)) {
      Emit(f.target, Event::Null);
      return;
    }
  }
  Emit(f.target, Event::String, f.text);
}

// Ends the innermost open element.
void XmlJsonTranscoder::CloseTop() {
  Frame& f = Top();
  if (!f.object) {
    WriteLeaf(f, depth_ > 1 ? std::string_view(frames_[depth_ - 2]->name) : std::string_view());
  } else {
    TakeLines(f);
    if (!f.openArray.empty()) Emit(f.target, Event::EndArray);
    Replay(f.pending, f.target);
    for (const LateArray& a : f.lateArrays) {
      Emit(f.target, Event::Key, a.key);
      Emit(f.target, Event::BeginArray);
      Replay(a.events, f.target);
      Emit(f.target, Event::EndArray);
    }
    if (!f.lines.empty()) {
      Emit(f.target, Event::Key, UniqueKey(f, kTextLinesKey, keyScratch_));
      Emit(f.target, Event::BeginArray);
      for (const std::string& line : f.lines) Emit(f.target, Event::String, line);
      Emit(f.target, Event::EndArray);
    }
    Emit(f.target, Event::EndObject);
  }
  --depth_;
  if (depth_ == 0) {
    writer_.EndObject();
    writer_.Flush();
    doc_ = Doc::After;
  }
}

// An end tag closes its element and any left open inside it; one that
// matches no open element is ignored.
void XmlJsonTranscoder::EndElement(std::string_view name) {
  std::size_t depth = depth_;
  while (depth > 0 && frames_[depth - 1]->name != name) --depth;
  if (depth == 0) return;
  while (depth_ >= depth) CloseTop();
}

void XmlJsonTranscoder::AppendText(std::string_view text) {
  if (depth_ > 0) Top().text.append(text);
}

// Line ends in text read as XML reads them: CR LF and a lone CR are one LF.
void XmlJsonTranscoder::AppendRawText(std::string_view text) {
  if (depth_ == 0) return;
  std::string& out = Top().text;
  if (!afterCr_ && std::memchr(text.data(), '\r', text.size()) == nullptr) {
    out.append(text);
    return;
  }
  for (char c : text) {
    if (c == '\n' && afterCr_) {
      afterCr_ = false;
      continue;
    }
    afterCr_ = c == '\r';
    out.push_back(afterCr_ ? '\n' : c);
  }
}

void XmlJsonTranscoder::FinishEntity() {
  std::string decoded;
  if (DecodeEntity(entity_, decoded)) {
    AppendText(decoded);
  } else {
    AppendText("&");
    AppendText(entity_);
    AppendText(";");
  }
  entity_.clear();
}

// Takes a start tag "<name>" or an end tag "</name>" that lies whole in the
// buffer at data[i] (the '<'), and returns the index after it; 0 for any
// other tag, which the byte-wise reading then takes.
std::size_t XmlJsonTranscoder::SimpleTag(const char* data, std::size_t i, std::size_t n) {
  std::size_t j = i + 1;
  const bool end = j < n && data[j] == '/';
  if (end) {
    ++j;
    // The end tag of the innermost element, the common case, by one compare.
    if (depth_ > 0) {
      const std::string& open = Top().name;
      if (n - j > open.size() && data[j + open.size()] == '>' && std::memcmp(data + j, open.data(), open.size()) == 0) {
        CloseTop();
        return j + open.size() + 1;
      }
    }
  }
  const std::size_t start = j;
  while (j < n && j - start < kNameLimit && NameChar(data[j])) ++j;
  if (j == start || j >= n || data[j] != '>') return 0;
  if (doc_ == Doc::After) return 0;
  const std::string_view name(data + start, j - start);
  if (end) EndElement(name);
  else StartElement(name);
  return j + 1;
}

void XmlJsonTranscoder::Feed(const char* data, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    const char c = data[i];
    if (doc_ == Doc::After) {
      // What follows the document (a message written after it) is passed on
      // from its first line that is not empty.
      if (!passing_ && (c == '\n' || c == '\r')) continue;
      passing_ = true;
      writer_.Flush();
      std::fwrite(data + i, 1, n - i, out_);
      return;
    }
    switch (lex_) {
      case Lex::Text: {
        // Runs of plain text are appended at once.
        std::size_t j = i;
        while (j < n && !kMarkup.is[static_cast<unsigned char>(data[j])]) ++j;
        if (j > i) AppendRawText(std::string_view(data + i, j - i));
        if (j == n) return;
        i = j;
        afterCr_ = false;
        if (data[i] == '<') {
          // A whole tag in the buffer is taken at once.
          const std::size_t end = SimpleTag(data, i, n);
          if (end != 0) {
            i = end - 1;
            break;
          }
          lex_ = Lex::TagOpen;
        } else {
          lex_ = Lex::Entity;
          entity_.clear();
        }
        break;
      }
      case Lex::Entity:
        if (c == ';') {
          FinishEntity();
          lex_ = Lex::Text;
        } else if (entity_.size() >= kEntityLimit || c == '<' || c == '&' || Blank(c)) {
          // Not an entity: the ampersand and what followed stay text.
          AppendText("&");
          AppendText(entity_);
          entity_.clear();
          lex_ = Lex::Text;
          --i;  // read c again as text
        } else {
          entity_.push_back(c);
        }
        break;
      case Lex::TagOpen:
        name_.clear();
        selfClosing_ = false;
        if (c == '/') {
          lex_ = Lex::EndName;
        } else if (c == '?') {
          lex_ = Lex::SkipPi;
          skipPrev_ = 0;
        } else if (c == '!') {
          lex_ = Lex::Skip;
        } else if (NameChar(c)) {
          name_.push_back(c);
          lex_ = Lex::StartName;
        } else {
          AppendText("<");
          lex_ = Lex::Text;
          --i;
        }
        break;
      case Lex::StartName:
      case Lex::StartRest:
        if (c == '>') {
          StartElement(name_);
          if (selfClosing_) EndElement(name_);
          lex_ = Lex::Text;
        } else if (lex_ == Lex::StartName && NameChar(c)) {
          if (name_.size() < kNameLimit) name_.push_back(c);
        } else {
          // Attributes are not part of lqa's documents: skipped.
          lex_ = Lex::StartRest;
          selfClosing_ = c == '/';
        }
        break;
      case Lex::EndName:
        if (c == '>') {
          EndElement(name_);
          lex_ = Lex::Text;
        } else if (NameChar(c) && name_.size() < kNameLimit) {
          name_.push_back(c);
        }
        break;
      case Lex::SkipPi:
        if (c == '>' && skipPrev_ == '?') lex_ = Lex::Text;
        skipPrev_ = c;
        break;
      case Lex::Skip:
        if (c == '>') lex_ = Lex::Text;
        break;
    }
  }
}

bool XmlJsonTranscoder::Finish() {
  if (lex_ == Lex::Entity) FinishEntity();
  lex_ = Lex::Text;
  while (depth_ > 0) CloseTop();
  writer_.Flush();
  return writer_.ok();
}
