#include "notices/notice_text.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "common/format_writer.h"
#include "common/text.h"

void NoticeBuffer::Append(const char* text, std::size_t n) {
  if (len_ + 1 >= cap_) return;
  if (n > cap_ - 1 - len_) n = cap_ - 1 - len_;
  std::memcpy(data_ + len_, text, n);
  len_ += n;
  data_[len_] = '\0';
}

void NoticeBuffer::Append(const char* text) { Append(text, std::strlen(text)); }

void NoticeBuffer::AppendInt(int v) {
  char digits[16];
  char* end = digits + sizeof digits;
  const char* p = DecimalBackwards(v, end);
  Append(p, static_cast<std::size_t>(end - p));
}

void NoticeBuffer::AppendEscaped(const char* text, std::size_t n, bool xml) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  std::size_t start = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const unsigned char c = bytes[k];
    if (c >= 0x80) {
      // HTML output writes such bytes as character references; an XML
      // document gets '?' instead.
      const std::size_t len = xml ? Utf8SequenceLength(std::string_view(text + k, n - k)) : 1;
      if (len != 0) {
        k += len - 1;
        continue;
      }
    } else if ((c >= 0x20 || c == '\t' || c == '\n' || c == '\r') && c != '<' && c != '>' && c != '&') {
      continue;
    }
    // Other control characters (and in XML bytes that are no UTF-8) have no
    // place in the document: they become '?'.
    const char* entity = c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : "?";
    Append(text + start, k - start);
    Append(entity);
    start = k + 1;
  }
  Append(text + start, n - start);
}

namespace {

struct Conversion {
  bool left = false;
  int width = -1;
  int precision = -1;
  char type = 0;  // 'd', 'f', 's'; 0 when the text after % is no conversion
  const char* end = nullptr;
};

Conversion ParseConversion(const char* p) {
  Conversion c;
  if (*p == '-') {
    c.left = true;
    ++p;
  }
  while (*p >= '0' && *p <= '9') c.width = (c.width < 0 ? 0 : c.width * 10) + (*p++ - '0');
  if (*p == '.') {
    c.precision = 0;
    ++p;
    while (*p >= '0' && *p <= '9') c.precision = c.precision * 10 + (*p++ - '0');
  }
  if (*p == 'd' || *p == 'f' || *p == 's') c.type = *p++;
  c.end = p;
  if (c.width > 64) c.width = 64;
  if (c.precision > 16) c.precision = 16;
  return c;
}

// Writes one value as its conversion asks; a missing or mismatched value
// writes nothing.
void WriteValue(NoticeBuffer& out, const Conversion& c, const NoticeArg* arg, bool escape) {
  if (arg == nullptr) return;
  char text[128];
  int n = 0;
  if (c.type == 'd' && arg->kind == NoticeArg::Kind::Int) {
    if (c.width < 0) {
      out.AppendInt(arg->i);
      return;
    }
    n = c.left ? snprintf(text, sizeof text, "%-*d", c.width, arg->i) : snprintf(text, sizeof text, "%*d", c.width, arg->i);
  } else if (c.type == 'f' && arg->kind == NoticeArg::Kind::Real) {
    const int precision = c.precision < 0 ? 6 : c.precision;
    const int width = c.width < 0 ? 0 : c.width;
    char shortText[kShortFixedSize];
    if (const std::size_t length = ShortFixed(arg->d, precision, shortText); length > 0) {
      const std::size_t pad = length < static_cast<std::size_t>(width) ? width - length : 0;
      if (!c.left) out.Append("                                                                ", pad);
      out.Append(shortText, length);
      if (c.left) out.Append("                                                                ", pad);
      return;
    }
    n = c.left ? snprintf(text, sizeof text, "%-*.*f", width, precision, arg->d)
               : snprintf(text, sizeof text, "%*.*f", width, precision, arg->d);
  } else if (c.type == 's' && arg->kind == NoticeArg::Kind::Text) {
    const std::size_t len = std::strlen(arg->s);
    const std::size_t pad = c.width > 0 && len < static_cast<std::size_t>(c.width) ? c.width - len : 0;
    if (!c.left) out.Append("                                                                ", pad);
    if (escape) out.AppendEscaped(arg->s, len);
    else out.Append(arg->s, len);
    if (c.left) out.Append("                                                                ", pad);
    return;
  } else {
    return;
  }
  if (n > 0) out.Append(text, static_cast<std::size_t>(n) < sizeof text ? static_cast<std::size_t>(n) : sizeof text - 1);
}

}  // namespace

void FillTemplate(NoticeBuffer& out, const char* tmpl, NoticeArgs args, TemplateStyle style) {
  const NoticeArg* next = args.begin();
  const bool html = style != TemplateStyle::Plain;
  const char* p = tmpl;
  while (*p != '\0') {
    const char* percent = std::strchr(p, '%');
    const std::size_t literal = percent == nullptr ? std::strlen(p) : static_cast<std::size_t>(percent - p);
    if (style == TemplateStyle::HtmlBold) out.AppendEscaped(p, literal);
    else out.Append(p, literal);
    if (percent == nullptr) return;
    if (percent[1] == '%') {
      out.Append('%');
      p = percent + 2;
      continue;
    }
    const Conversion c = ParseConversion(percent + 1);
    if (c.type == 0) {  // not a conversion: the text stays as it is
      out.Append('%');
      p = percent + 1;
      continue;
    }
    const NoticeArg* arg = next != args.end() ? next++ : nullptr;
    const bool bold = style == TemplateStyle::HtmlBold;
    if (bold) out.Append("<b>");
    WriteValue(out, c, arg, html);
    p = c.end;
    if (bold) {
      if (p[0] == '%' && p[1] == '%') {
        out.Append('%');
        p += 2;
      }
      out.Append("</b>");
    }
  }
}
