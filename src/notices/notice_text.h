// Filling the notice text templates: a small, bounded printf subset that
// also knows how to present its values in HTML. The catalogue keeps its texts
// as data, so they are filled here with typed arguments instead of passing a
// table string to printf: a template that asks for a value it is not given
// prints nothing for it instead of reading a stray argument.
#pragma once

#include <cstddef>
#include <initializer_list>

// One value for a template conversion.
struct NoticeArg {
  enum class Kind : unsigned char { Int, Real, Text };
  Kind kind = Kind::Int;
  int i = 0;
  double d = 0;
  const char* s = "";
  NoticeArg(int v) : kind(Kind::Int), i(v) {}                       // NOLINT: implicit by design
  NoticeArg(double v) : kind(Kind::Real), d(v) {}                   // NOLINT
  NoticeArg(const char* v) : kind(Kind::Text), s(v ? v : "") {}     // NOLINT
};
using NoticeArgs = std::initializer_list<NoticeArg>;

// A fixed output buffer that silently stops at its capacity (the text stays
// NUL-terminated); nothing here allocates.
class NoticeBuffer {
 public:
  NoticeBuffer(char* data, std::size_t capacity) : data_(data), cap_(capacity) { data_[0] = '\0'; }
  void Append(const char* text, std::size_t n);
  void Append(const char* text);
  void Append(char c) { Append(&c, 1); }
  void AppendInt(int v);
  // Text with <, > and & written as entities and control characters (but
  // tab, line feed and carriage return) as '?', for HTML and XML documents;
  // with xml, bytes that are no UTF-8 become '?' too.
  void AppendEscaped(const char* text, std::size_t n, bool xml = false);
  const char* c_str() const { return data_; }
  std::size_t size() const { return len_; }

 private:
  char* data_;
  std::size_t cap_;
  std::size_t len_ = 0;
};

// How a template is filled.
enum class TemplateStyle {
  Plain,     // values as printf would write them
  HtmlBold,  // literal text escaped, every value escaped and set in <b>...</b>
  HtmlRaw,   // the template already holds its HTML markup; only values are escaped
};

// Appends tmpl to out with its conversions filled from args in order.
// Conversions: %d, %s and %f with an optional '-' flag, width and precision
// (%-4d, %.1f), and %% for a percent sign. In HtmlBold style a "%%" right
// after a conversion goes inside the bold with its value ("<b>9.5%</b>").
void FillTemplate(NoticeBuffer& out, const char* tmpl, NoticeArgs args, TemplateStyle style);
