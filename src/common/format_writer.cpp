#include "common/format_writer.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/report_sink.h"
#include "common/text.h"

namespace {

constexpr int kMaxFixedPrecision = 40;
constexpr int kMaxWidth = 100000;

// One conversion: %[flags][width][.precision][length]conversion.
struct Spec {
  bool left = false;
  bool zero = false;
  bool starWidth = false;
  bool starPrecision = false;
  int width = 0;
  int precision = -1;
  int length = 0;  // 0 none, 1 l, 2 ll, 3 z
  char conversion = 0;
};

// Parses the conversion after a '%'; returns the character after it, or
// null when the conversion is not formatted here.
const char* ParseSpec(const char* p, Spec& spec) {
  for (;; ++p) {
    if (*p == '-') spec.left = true;
    else if (*p == '0') spec.zero = true;
    else break;
  }
  if (*p == '*') {
    spec.starWidth = true;
    ++p;
  } else {
    while (*p >= '0' && *p <= '9') {
      spec.width = spec.width * 10 + (*p++ - '0');
      if (spec.width > kMaxWidth) return nullptr;
    }
  }
  if (*p == '.') {
    ++p;
    spec.precision = 0;
    if (*p == '*') {
      spec.starPrecision = true;
      ++p;
    } else {
      while (*p >= '0' && *p <= '9') {
        spec.precision = spec.precision * 10 + (*p++ - '0');
        if (spec.precision > kMaxWidth) return nullptr;
      }
    }
  }
  if (*p == 'l') {
    spec.length = 1;
    if (*++p == 'l') {
      spec.length = 2;
      ++p;
    }
  } else if (*p == 'z') {
    spec.length = 3;
    ++p;
  }
  spec.conversion = *p;
  switch (spec.conversion) {
    case 'd':
    case 'i':
    case 'u':
      // An integer precision (minimum digits) is left to the C library.
      if (spec.precision >= 0) return nullptr;
      break;
    case 's':
      if (spec.length != 0 || spec.zero) return nullptr;
      break;
    case 'c':
      if (spec.length != 0 || spec.zero || spec.precision >= 0) return nullptr;
      break;
    case 'f':
      if (spec.length != 0 || spec.starPrecision || spec.precision > kMaxFixedPrecision) return nullptr;
      break;
    default:
      return nullptr;
  }
  return p + 1;
}

// The text of one call, built in place; full means it did not fit.
class Line {
 public:
  bool full() const { return full_; }
  const char* data() const { return text_; }
  std::size_t size() const { return static_cast<std::size_t>(end_ - text_); }
  void Put(const char* p, std::size_t n) {
    if (n > static_cast<std::size_t>(limit_ - end_)) {
      full_ = true;
      return;
    }
    std::memcpy(end_, p, n);
    end_ += n;
  }
  // Copies the format text up to its next '%' or end; returns where it stopped.
  const char* PutLiteral(const char* p) {
    char* at = end_;
    while (*p != '\0' && *p != '%') {
      if (at == limit_) {
        full_ = true;
        return p + std::strlen(p);
      }
      *at++ = *p++;
    }
    end_ = at;
    return p;
  }
  void Overflow() { full_ = true; }
  void Fill(char c, int n) {
    if (n > limit_ - end_) {
      full_ = true;
      return;
    }
    for (int k = 0; k < n; ++k) end_[k] = c;
    end_ += n;
  }

 private:
  char text_[4096];
  char* end_ = text_;
  char* const limit_ = text_ + sizeof text_;
  bool full_ = false;
};

// A field of n characters at p, padded to the width.
void PutField(Line& out, const Spec& spec, const char* p, std::size_t n) {
  const int pad = spec.width > static_cast<int>(n) ? spec.width - static_cast<int>(n) : 0;
  if (pad == 0) {
    out.Put(p, n);
  } else if (spec.left) {
    out.Put(p, n);
    out.Fill(' ', pad);
  } else {
    out.Fill(' ', pad);
    out.Put(p, n);
  }
}

// A number whose text may start with a sign: zero padding goes after it.
void PutNumber(Line& out, const Spec& spec, const char* p, std::size_t n) {
  if (!spec.zero || spec.left || spec.width <= static_cast<int>(n)) {
    PutField(out, spec, p, n);
    return;
  }
  const int pad = spec.width - static_cast<int>(n);
  if (*p == '-') {
    out.Put(p, 1);
    ++p;
    --n;
  }
  out.Fill('0', pad);
  out.Put(p, n);
}

// An int in decimal with blank padding, the common case of the reports.
void PutPlainInt(Line& out, const Spec& spec, int value) {
  char text[12];
  char* const end = text + sizeof text;
  const char* p = DecimalBackwards(value, end);
  PutField(out, spec, p, static_cast<std::size_t>(end - p));
}

void PutInteger(Line& out, const Spec& spec, va_list& args) {
  if (spec.length == 0 && spec.conversion != 'u' && !spec.zero) {
    PutPlainInt(out, spec, va_arg(args, int));
    return;
  }
  char text[24];
  char* const end = text + sizeof text;
  std::to_chars_result r{};
  const bool isUnsigned = spec.conversion == 'u';
  switch (spec.length) {
    case 0:
      r = isUnsigned ? std::to_chars(text, end, va_arg(args, unsigned)) : std::to_chars(text, end, va_arg(args, int));
      break;
    case 1:
      r = isUnsigned ? std::to_chars(text, end, va_arg(args, unsigned long))
                     : std::to_chars(text, end, va_arg(args, long));
      break;
    case 2:
      r = isUnsigned ? std::to_chars(text, end, va_arg(args, unsigned long long))
                     : std::to_chars(text, end, va_arg(args, long long));
      break;
    default:
      r = isUnsigned ? std::to_chars(text, end, va_arg(args, std::size_t))
                     : std::to_chars(text, end, va_arg(args, long));
      break;
  }
  PutNumber(out, spec, text, static_cast<std::size_t>(r.ptr - text));
}

// The digits of |value| rounded to precision decimals (at most 4) as one
// integer, rounded exactly as the C library rounds the binary value: the
// scaled value is rounded in floating point, then the exact remainder (one
// fused multiply-add) corrects it. False when the value is too large or the
// remainder is a tie, which are left to the full conversion.
bool ScaledDigits(double value, int precision, std::uint64_t& digits) {
  static constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0, 10000.0};
  if (precision < 0 || precision > 4) return false;
  const double magnitude = std::fabs(value);
  const double scale = kScale[precision];
  // Below 2^52 every integer and its neighbours are exact doubles.
  if (!(magnitude * scale < 4503599627370496.0)) return false;
  double rounded = std::nearbyint(magnitude * scale);
  const double remainder = std::fma(magnitude, scale, -rounded);
  if (remainder > 0.5) rounded += 1.0;
  else if (remainder < -0.5) rounded -= 1.0;
  else if (remainder == 0.5 || remainder == -0.5) return false;
  digits = static_cast<std::uint64_t>(rounded);
  return true;
}

}  // namespace

std::size_t ShortFixed(double value, int precision, char (&text)[kShortFixedSize]) {
  std::uint64_t digits = 0;
  if (!std::isfinite(value) || !ScaledDigits(value, precision, digits)) return 0;
  char number[kShortFixedSize];
  char* const end = number + sizeof number;
  char* p = end;
  for (int k = 0; k < precision; ++k) {
    *--p = static_cast<char>('0' + digits % 10);
    digits /= 10;
  }
  if (precision > 0) *--p = '.';
  do {
    *--p = static_cast<char>('0' + digits % 10);
    digits /= 10;
  } while (digits != 0);
  if (std::signbit(value)) *--p = '-';
  const auto n = static_cast<std::size_t>(end - p);
  std::memcpy(text, p, n);
  return n;
}

namespace {

void PutFixed(Line& out, const Spec& spec, double value) {
  char shortText[kShortFixedSize];
  if (const std::size_t n = ShortFixed(value, spec.precision < 0 ? 6 : spec.precision, shortText); n > 0) {
    PutNumber(out, spec, shortText, n);
    return;
  }
  if (!std::isfinite(value)) {
    // As the C library writes them, padded with blanks only.
    const char* text = std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan") : (value < 0 ? "-inf" : "inf");
    PutField(out, spec, text, std::strlen(text));
    return;
  }
  // The longest double in fixed notation has 309 digits before the point.
  char text[320 + kMaxFixedPrecision];
  const int precision = spec.precision < 0 ? 6 : spec.precision;
  const std::to_chars_result r =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, precision);
  PutNumber(out, spec, text, static_cast<std::size_t>(r.ptr - text));
}

void PutString(Line& out, const Spec& spec, const char* s) {
  if (s == nullptr) s = spec.precision < 0 || spec.precision >= 6 ? "(null)" : "";
  const std::size_t n = spec.precision < 0 ? std::strlen(s) : strnlen(s, static_cast<std::size_t>(spec.precision));
  PutField(out, spec, s, n);
}

// A format taken apart once: each piece is literal text followed by one
// conversion (the last piece has none). Report writers use a few hundred
// formats millions of times, so the parts of the last formats used are kept.
constexpr int kMaxPieces = 32;
constexpr std::size_t kMaxKeptFormat = 256;
struct Piece {
  const char* text = nullptr;
  std::uint32_t length = 0;
  Spec spec;  // conversion 0: none; '%': a literal percent sign
};
struct CompiledFormat {
  const char* key = nullptr;  // the format it was made from
  std::size_t keyLength = 0;
  char copy[kMaxKeptFormat] = {};  // its text, so that a reused address is never mistaken
  bool library = false;            // some conversion is left to the C library
  int count = 0;
  Piece pieces[kMaxPieces];
};

// Takes fmt apart into f; false when it has more pieces than f holds.
bool Compile(const char* fmt, CompiledFormat& f) {
  f.count = 0;
  f.library = false;
  const char* p = fmt;
  for (;;) {
    if (f.count == kMaxPieces) return false;
    Piece& piece = f.pieces[f.count++];
    piece.text = p;
    while (*p != '\0' && *p != '%') ++p;
    piece.length = static_cast<std::uint32_t>(p - piece.text);
    piece.spec = Spec{};
    if (*p == '\0') return true;
    if (p[1] == '%') {
      piece.spec.conversion = '%';
      p += 2;
      continue;
    }
    p = ParseSpec(p + 1, piece.spec);
    if (p == nullptr) {
      f.library = true;
      return true;
    }
  }
}

// The compiled forms of the formats used so far, found by the format's
// address (an open-addressed table of indexes into the list of forms).
class FormatCache {
 public:
  // The compiled form of fmt, made now when it is new; null when fmt does not
  // fit one.
  const CompiledFormat* Find(const char* fmt) {
    if (slots_.empty()) slots_.assign(64, kEmpty);
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = Hash(fmt) & mask;
    for (; slots_[i] != kEmpty; i = (i + 1) & mask) {
      CompiledFormat& f = *forms_[slots_[i]];
      if (f.key != fmt) continue;
      if (std::strncmp(f.copy, fmt, f.keyLength + 1) == 0) return &f;
      // The same address with another text: make the form anew.
      return Make(fmt, f) ? &f : nullptr;
    }
    if (forms_.size() >= kMaxForms) return nullptr;
    auto f = std::make_unique<CompiledFormat>();
    if (!Make(fmt, *f)) return nullptr;
    forms_.push_back(std::move(f));
    slots_[i] = static_cast<std::uint32_t>(forms_.size() - 1);
    if (forms_.size() * 2 > slots_.size()) Grow();
    return forms_.back().get();
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  static constexpr std::size_t kMaxForms = 4096;
  static std::size_t Hash(const char* fmt) {
    return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(fmt) * 0x9E3779B97F4A7C15ull) >> 40);
  }
  static bool Make(const char* fmt, CompiledFormat& f) {
    const std::size_t length = std::strlen(fmt);
    f.key = nullptr;
    if (length >= kMaxKeptFormat || !Compile(fmt, f)) return false;
    std::memcpy(f.copy, fmt, length + 1);
    f.keyLength = length;
    f.key = fmt;
    return true;
  }
  void Grow() {
    std::vector<std::uint32_t> grown(slots_.size() * 2, kEmpty);
    const std::size_t mask = grown.size() - 1;
    for (std::uint32_t index = 0; index < forms_.size(); ++index) {
      std::size_t i = Hash(forms_[index]->key) & mask;
      while (grown[i] != kEmpty) i = (i + 1) & mask;
      grown[i] = index;
    }
    slots_.swap(grown);
  }
  std::vector<std::uint32_t> slots_;
  std::vector<std::unique_ptr<CompiledFormat>> forms_;
};

const CompiledFormat* Compiled(const char* fmt) {
  thread_local FormatCache cache;
  return cache.Find(fmt);
}

// Writes the conversion of spec with its argument.
void PutConversion(Line& out, Spec spec, va_list& args) {
  if (spec.starWidth) {
    spec.width = va_arg(args, int);
    // A negative width is the '-' flag with its magnitude.
    if (spec.width < 0) {
      spec.left = true;
      spec.width = spec.width < -kMaxWidth ? kMaxWidth + 1 : -spec.width;
    }
    if (spec.width > kMaxWidth) {
      out.Overflow();  // the library writes such a field
      return;
    }
  }
  if (spec.starPrecision) {
    spec.precision = va_arg(args, int);
    if (spec.precision < 0) spec.precision = -1;
  }
  switch (spec.conversion) {
    case 'd':
    case 'i':
    case 'u':
      PutInteger(out, spec, args);
      break;
    case 's':
      PutString(out, spec, va_arg(args, const char*));
      break;
    case 'c': {
      const char c = static_cast<char>(va_arg(args, int));
      PutField(out, spec, &c, 1);
      break;
    }
    case '%':
      out.Put("%", 1);
      break;
    default:
      PutFixed(out, spec, va_arg(args, double));
      break;
  }
}

// Formats into out; false when a conversion is not formatted here or the
// text does not fit.
bool FormatLine(Line& out, const char* fmt, va_list& args) {
  if (const CompiledFormat* f = Compiled(fmt)) {
    if (f->library) return false;
    for (int k = 0; k < f->count; ++k) {
      const Piece& piece = f->pieces[k];
      out.Put(piece.text, piece.length);
      if (piece.spec.conversion != 0) PutConversion(out, piece.spec, args);
    }
    return !out.full();
  }
  const char* p = fmt;
  for (;;) {
    p = out.PutLiteral(p);
    if (*p == '\0') break;
    if (p[1] == '%') {
      out.Put("%", 1);
      p += 2;
      continue;
    }
    Spec spec;
    p = ParseSpec(p + 1, spec);
    if (p == nullptr) return false;
    PutConversion(out, spec, args);
    if (out.full()) return false;
  }
  return !out.full();
}

}  // namespace

bool FormattedHere(const char* fmt) {
  for (const char* p = std::strchr(fmt, '%'); p != nullptr; p = std::strchr(p, '%')) {
    if (p[1] == '%') {
      p += 2;
      continue;
    }
    Spec spec;
    p = ParseSpec(p + 1, spec);
    if (p == nullptr) return false;
  }
  return true;
}

void WriteFormatted(FILE* stream, const char* fmt, va_list args) {
  Line out;
  va_list ap;
  va_copy(ap, args);
  const bool done = FormatLine(out, fmt, ap);
  va_end(ap);
  // Anything else, or a text longer than the line, is the C library's work.
  if (!done) {
    vfprintf(stream, fmt, args);
    return;
  }
  WriteBytes(stream, out.data(), out.size());
}

void WriteFormatted(ReportSink& sink, const char* fmt, va_list args) {
  Line out;
  va_list ap;
  va_copy(ap, args);
  const bool done = FormatLine(out, fmt, ap);
  va_end(ap);
  if (done) {
    sink.Append(out.data(), out.size());
    return;
  }
  va_copy(ap, args);
  const int n = vsnprintf(nullptr, 0, fmt, ap);
  va_end(ap);
  if (n <= 0) return;
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  vsnprintf(text.data(), text.size(), fmt, args);
  sink.Append(text.data(), static_cast<std::size_t>(n));
}

void WriteBytes(FILE* stream, const char* text, std::size_t n) {
  if (n == 0) return;
#if defined(__GLIBC__)
  // The free part of the buffer of a fully buffered stream; a line buffered or
  // unbuffered stream, or one without a buffer yet, has none (its end may
  // even lie before the write position).
  const std::ptrdiff_t room = stream->_IO_write_end - stream->_IO_write_ptr;
  if (stream->_IO_write_ptr != nullptr && room > 0 && static_cast<std::size_t>(room) >= n) {
    std::memcpy(stream->_IO_write_ptr, text, n);
    stream->_IO_write_ptr += n;
    return;
  }
#endif
  fwrite(text, 1, n, stream);
}
