#include "json/json_writer.h"

#include <cassert>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Length of the well-formed UTF-8 sequence that starts at text[i] (a byte of
// 0x80 or above), or 0 when there is none: overlong forms, surrogates and
// code points above U+10FFFF are not well-formed.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return length;
}

// A byte that is copied as it stands: printable ASCII other than the quote
// and the backslash.
inline bool PlainByte(unsigned char c) { return c >= 0x20 && c < 0x80 && c != '"' && c != '\\'; }

}  // namespace

void AppendJsonStringContent(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    std::size_t run = i;
    while (run < n && PlainByte(static_cast<unsigned char>(text[run]))) ++run;
    if (run > i) {
      out.append(text.data() + i, run - i);
      i = run;
      if (i == n) break;
    }
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t length = Utf8SequenceLength(text, i);
      if (length == 0) {
        out.push_back('?');
        ++i;
      } else {
        out.append(text.data() + i, length);
        i += length;
      }
      continue;
    }
    switch (c) {
      case '"': out.append("\\\""); break;
      case '\\': out.append("\\\\"); break;
      case '\b': out.append("\\b"); break;
      case '\f': out.append("\\f"); break;
      case '\n': out.append("\\n"); break;
      case '\r': out.append("\\r"); break;
      case '\t': out.append("\\t"); break;
      default: {
        const char escaped[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
        out.append(escaped, sizeof escaped);
      }
    }
    ++i;
  }
}

void AppendJsonString(std::string& out, std::string_view text) {
  out.push_back('"');
  AppendJsonStringContent(out, text);
  out.push_back('"');
}

char* WriteJsonInt(char* out, long long value) {
  // Line numbers and counts are small and positive: digits from the right.
  char digits[20];
  char* p = digits + sizeof digits;
  unsigned long long v =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  do {
    *--p = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  if (value < 0) *--p = '-';
  const auto n = static_cast<std::size_t>(digits + sizeof digits - p);
  std::memcpy(out, p, n);
  return out + n;
}

void AppendJsonInt(std::string& out, long long value) {
  char digits[24];
  out.append(digits, static_cast<std::size_t>(WriteJsonInt(digits, value) - digits));
}

JsonWriter::JsonWriter(FILE* out, JsonStyle style) : file_(out), out_(&buffer_), style_(style) {
  buffer_.reserve(kFlushAt + 4096);
}

JsonWriter::JsonWriter(std::string& out, JsonStyle style) : out_(&out), style_(style) {}

JsonWriter::~JsonWriter() { Flush(); }

bool JsonWriter::Flush() {
  if (file_ == nullptr || buffer_.empty()) return ok_;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size() && ok_) {
    ok_ = false;
    failure_ = errno != 0 ? errno : EIO;
  }
  buffer_.clear();
  return ok_;
}

void JsonWriter::NewLine(std::size_t depth) {
  out_->push_back('\n');
  out_->append(2 * depth, ' ');
}

// Places the separator and the indentation a value needs where it stands.
void JsonWriter::BeforeValue() {
  if (frames_.empty()) return;
  Frame& f = frames_.back();
  if (f.object) {
    // In an object the key has placed everything already.
    assert(f.keyPending && "a value inside an object needs a key first");
    f.keyPending = false;
    return;
  }
  if (f.count > 0) out_->push_back(',');
  if (style_ == JsonStyle::Pretty) NewLine(frames_.size());
}

void JsonWriter::AfterValue() {
  if (frames_.empty()) {
    out_->push_back('\n');
    MaybeFlush();
    return;
  }
  ++frames_.back().count;
  MaybeFlush();
}

void JsonWriter::Open(char bracket, bool object) {
  BeforeValue();
  out_->push_back(bracket);
  Frame f;
  f.object = object;
  frames_.push_back(std::move(f));
}

void JsonWriter::Close(char bracket, bool object) {
  assert(!frames_.empty() && frames_.back().object == object && !frames_.back().keyPending);
  if (frames_.empty()) return;
  (void)object;
  const bool empty = frames_.back().count == 0;
  frames_.pop_back();
  if (style_ == JsonStyle::Pretty && !empty) NewLine(frames_.size());
  out_->push_back(bracket);
  AfterValue();
}

JsonWriter& JsonWriter::BeginObject() {
  Open('{', true);
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  Close('}', true);
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  Open('[', false);
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  Close(']', false);
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  assert(!frames_.empty() && frames_.back().object && !frames_.back().keyPending);
  if (frames_.empty() || !frames_.back().object) return *this;
  Frame& f = frames_.back();
#ifndef NDEBUG
  for (const std::string& k : f.keys) assert(k != key && "a key may appear once in an object");
  f.keys.emplace_back(key);
#endif
  if (f.count > 0) out_->push_back(',');
  if (style_ == JsonStyle::Pretty) NewLine(frames_.size());
  AppendJsonString(*out_, key);
  out_->push_back(':');
  if (style_ == JsonStyle::Pretty) out_->push_back(' ');
  f.keyPending = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view value) {
  BeforeValue();
  AppendJsonString(*out_, value);
  AfterValue();
  return *this;
}

JsonWriter& JsonWriter::Int(long long value) {
  BeforeValue();
  AppendJsonInt(*out_, value);
  AfterValue();
  return *this;
}

JsonWriter& JsonWriter::UInt(unsigned long long value) {
  BeforeValue();
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out_->append(digits, static_cast<std::size_t>(result.ptr - digits));
  AfterValue();
  return *this;
}

JsonWriter& JsonWriter::Double(double value) {
  BeforeValue();
  if (!std::isfinite(value)) {
    out_->append("null");
  } else {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out_->append(digits, static_cast<std::size_t>(result.ptr - digits));
  }
  AfterValue();
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  out_->append(value ? "true" : "false");
  AfterValue();
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  out_->append("null");
  AfterValue();
  return *this;
}

JsonWriter& JsonWriter::RawValue(std::string_view json) {
  BeforeValue();
  out_->append(json);
  AfterValue();
  return *this;
}
