// A small streaming JSON writer for the machine-readable outputs: compact
// (one document, or one value per line for JSON Lines) or pretty (two-space
// indentation), to a FILE* or into a std::string. It keeps only the stack of
// open containers, so a document of any size is written in flat memory.
//
// Strings are written as UTF-8 without a BOM: every byte that does not belong
// to a well-formed UTF-8 sequence becomes '?', control characters are
// escaped. Numbers that JSON cannot hold (NaN, infinities) are written as
// null. Commas, colons and indentation are the writer's business; in builds
// with assertions a key written twice in one object stops the program.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

enum class JsonStyle { Compact, Pretty };

class JsonWriter {
 public:
  // Writes to a stream through a 64 KB buffer; the stream is not closed.
  explicit JsonWriter(FILE* out, JsonStyle style = JsonStyle::Compact);
  // Appends to a string.
  explicit JsonWriter(std::string& out, JsonStyle style = JsonStyle::Compact);
  ~JsonWriter();  // flushes what is buffered
  JsonWriter(const JsonWriter&) = delete;
  JsonWriter& operator=(const JsonWriter&) = delete;

  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // The name of the next member of the open object.
  JsonWriter& Key(std::string_view key);
  JsonWriter& String(std::string_view value);
  JsonWriter& Int(long long value);
  JsonWriter& UInt(unsigned long long value);
  // The shortest text that reads back as the same double; null for NaN and
  // the infinities.
  JsonWriter& Double(double value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  // A value the caller has already written as valid JSON (a pre-rendered
  // fragment); it is placed like any other value.
  JsonWriter& RawValue(std::string_view json);
  // The same assembled in place, without a copy: append valid JSON to the
  // returned string, then call EndRawValue before anything else is written.
  std::string& BeginRawValue() {
    // An element of an array in compact style, the common case of a long
    // stream of records, needs only its comma.
    if (style_ == JsonStyle::Compact && !frames_.empty() && !frames_.back().object) {
      if (frames_.back().count > 0) out_->push_back(',');
      return *out_;
    }
    BeforeValue();
    return *out_;
  }
  void EndRawValue() {
    if (!frames_.empty()) {
      ++frames_.back().count;
      MaybeFlush();
      return;
    }
    AfterValue();
  }

  // Each top-level value ends with a line feed, so that a run of compact
  // values is a JSON Lines stream. True while nothing is open.
  bool Complete() const { return frames_.empty(); }
  int Depth() const { return static_cast<int>(frames_.size()); }
  // Hands the buffer to the stream. False once any write has failed.
  bool Flush();
  bool ok() const { return ok_; }
  // The errno of the first failed write, 0 while none failed.
  int failure() const { return failure_; }

 private:
  struct Frame {
    bool object = false;
    bool keyPending = false;  // a key was written, its value is next
    long long count = 0;      // members or elements written
#ifndef NDEBUG
    std::vector<std::string> keys;
#endif
  };
  void BeforeValue();
  void AfterValue();
  void Open(char bracket, bool object);
  void Close(char bracket, bool object);
  void NewLine(std::size_t depth);
  void MaybeFlush() {
    if (file_ != nullptr && out_->size() >= kFlushAt) Flush();
  }

  static constexpr std::size_t kFlushAt = 1 << 16;
  FILE* file_ = nullptr;
  std::string buffer_;  // used with a stream
  std::string* out_;
  JsonStyle style_;
  std::vector<Frame> frames_;
  bool ok_ = true;
  int failure_ = 0;
};

// Appends text as a JSON string with its quotes, escaped as the writer does.
void AppendJsonString(std::string& out, std::string_view text);
// The same without the quotes, for fragments assembled around it.
void AppendJsonStringContent(std::string& out, std::string_view text);
// Appends a decimal integer.
void AppendJsonInt(std::string& out, long long value);
// Writes a decimal integer at out (room for 20 characters) and returns the
// end of what it wrote.
char* WriteJsonInt(char* out, long long value);
