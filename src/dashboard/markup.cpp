#include "dashboard/markup.h"

#include <cmath>
#include <cstdio>

#include "common/text.h"

namespace {

// The code point of a valid UTF-8 sequence of length n.
unsigned CodePoint(std::string_view s, std::size_t n) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  switch (n) {
    case 1: return b(0);
    case 2: return ((b(0) & 0x1Fu) << 6) | (b(1) & 0x3Fu);
    case 3: return ((b(0) & 0x0Fu) << 12) | ((b(1) & 0x3Fu) << 6) | (b(2) & 0x3Fu);
    default: return ((b(0) & 0x07u) << 18) | ((b(1) & 0x3Fu) << 12) | ((b(2) & 0x3Fu) << 6) | (b(3) & 0x3Fu);
  }
}

bool XmlAllows(unsigned cp) {
  if (cp < 0x20) return cp == 0x09 || cp == 0x0A || cp == 0x0D;
  return cp != 0xFFFE && cp != 0xFFFF;
}

// Length of the character starting the text: a valid sequence, or 1.
std::size_t CharacterLength(std::string_view text) {
  const std::size_t n = Utf8SequenceLength(text);
  return n == 0 ? 1 : n;
}

}  // namespace

void AppendEscaped(std::string& out, std::string_view text) {
  while (!text.empty()) {
    const std::size_t n = Utf8SequenceLength(text);
    if (n == 0 || !XmlAllows(CodePoint(text, n))) {
      out += '?';
      text.remove_prefix(n == 0 ? 1 : n);
      continue;
    }
    if (n == 1) {
      switch (text[0]) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += text[0]; break;
      }
    } else {
      out.append(text.data(), n);
    }
    text.remove_prefix(n);
  }
}

std::string Escaped(std::string_view text) {
  std::string out;
  AppendEscaped(out, text);
  return out;
}

std::string Decimal1(double value) {
  if (!std::isfinite(value)) value = 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.1f", value);
  if (std::string_view(buf) == "-0.0") return "0.0";
  return buf;
}

std::string Grouped(long long value) {
  const std::string digits = std::to_string(value < 0 ? -value : value);
  std::string out = value < 0 ? "-" : "";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

void AppendCoordinate(std::string& out, double value) { out += Decimal1(value); }

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  while (!text.empty()) {
    text.remove_prefix(CharacterLength(text));
    ++count;
  }
  return count;
}

double TextWidth(std::string_view text, double fontSize) {
  return static_cast<double>(CharacterCount(text)) * fontSize * 0.6;
}

std::string FitLabel(std::string_view text, double width, double fontSize) {
  const double each = fontSize * 0.6;
  if (each <= 0) return {};
  const double room = width / each;
  if (static_cast<double>(CharacterCount(text)) <= room) return std::string(text);
  // Keep as many characters as leave room for the ellipsis.
  const long keep = static_cast<long>(std::floor(room)) - 1;
  if (keep < 1) return {};
  std::string out;
  std::string_view rest = text;
  for (long i = 0; i < keep && !rest.empty(); ++i) {
    const std::size_t n = CharacterLength(rest);
    out.append(rest.data(), n);
    rest.remove_prefix(n);
  }
  out += "\xE2\x80\xA6";  // U+2026 HORIZONTAL ELLIPSIS
  return out;
}

std::string FitLabelTail(std::string_view text, double width, double fontSize) {
  const double each = fontSize * 0.6;
  if (each <= 0) return {};
  const double room = width / each;
  const std::size_t count = CharacterCount(text);
  if (static_cast<double>(count) <= room) return std::string(text);
  const long keep = static_cast<long>(std::floor(room)) - 1;
  if (keep < 1) return {};
  std::string_view rest = text;
  for (std::size_t skip = count - static_cast<std::size_t>(keep); skip > 0 && !rest.empty(); --skip)
    rest.remove_prefix(CharacterLength(rest));
  return "\xE2\x80\xA6" + std::string(rest);
}
