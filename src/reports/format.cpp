#include "reports/format.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>

#include "common/gcd.h"
#include "common/output.h"
#include "common/text.h"

namespace {

// Column that a centred text is balanced around: half the text starts at 38.
constexpr std::size_t kCenterColumn = 38;

struct Entity {
  char c;
  const char* text;
};

constexpr Entity kXmlEntities[] = {
    {'"', "&quot;"}, {'&', "&amp;"}, {'\'', "&apos;"}, {'<', "&lt;"}, {'>', "&gt;"},
};

// Apostrophe as a numeric reference: valid in HTML and XHTML alike.
constexpr Entity kHtmlEntities[] = {
    {'<', "&lt;"}, {'>', "&gt;"}, {'&', "&amp;"}, {'\'', "&#39;"},
};

template <std::size_t N>
const char* EntityFor(char c, const Entity (&table)[N]) {
  for (const Entity& e : table)
    if (e.c == c) return e.text;
  return nullptr;
}

// Characters that may not appear in an XML element name made from a text.
constexpr std::string_view kTagUnsafe = " \"&'/<>";

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string CenteredLine(const char* plain, const char* decorated) {
  std::string line;
  if (plain == nullptr || decorated == nullptr) return line;
  const std::size_t half = std::strlen(plain) / 2;
  line.assign(1, ' ');
  if (half <= kCenterColumn - 2) line.append(kCenterColumn - 1 - half, ' ');
  // The line is built in a 2048-byte buffer: text, newline and NUL must fit.
  const std::size_t room = kTextMax - 1 - line.size();
  line.append(decorated, std::min(room, std::strlen(decorated)));
  line.push_back('\n');
  return line;
}

void Center(const char* text) {
  if (text == nullptr) return;
  OutS(CenteredLine(text, text).c_str());
}

void Center_HTML(const char* plain, const char* decorated) {
  if (plain == nullptr || decorated == nullptr) return;
  OutS(CenteredLine(plain, decorated).c_str());
}

char* HTML_esc(const char* source, char* dest) {
  if (source == nullptr || dest == nullptr) return dest;
  char* out = dest;
  for (const char* p = source; *p != '\0'; ++p) {
    if (const char* entity = EntityFor(*p, kHtmlEntities)) {
      const std::size_t n = std::strlen(entity);
      std::memcpy(out, entity, n);
      out += n;
    } else {
      *out++ = *p;
    }
  }
  *out = '\0';
  return dest;
}

namespace {

// Appends the text with the five XML entities, at most maxLen characters in
// all: an entity or a multi-byte character is written whole or not at all.
// Control characters and bytes that are no valid UTF-8 become '?', since the
// document declares UTF-8 and XML admits neither.
void AppendXmlEncoded(std::string& out, const char* text, std::size_t maxLen) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p != '\0') {
    const char* entity = EntityFor(static_cast<char>(*p), kXmlEntities);
    std::size_t consumed = 1;
    std::string_view piece;
    if (entity != nullptr) {
      piece = entity;
    } else if (*p < 0x20 && *p != '\t' && *p != '\n' && *p != '\r') {
      piece = "?";
    } else {
      // At most four bytes are looked at, and never past the terminating NUL.
      const char* at = reinterpret_cast<const char*>(p);
      consumed = Utf8SequenceLength(std::string_view(at, strnlen(at, 4)));
      if (consumed == 0) {
        consumed = 1;
        piece = "?";
      } else {
        piece = std::string_view(reinterpret_cast<const char*>(p), consumed);
      }
    }
    if (out.size() + piece.size() > maxLen) break;
    out += piece;
    p += consumed;
  }
}

// A link target, cut as the report's text buffers cut it.
std::string Bounded(std::string_view text) { return std::string(text.substr(0, kTextMax)); }

}  // namespace

std::string XmlEncodeText(const char* text) {
  std::string out;
  if (text != nullptr) AppendXmlEncoded(out, text, std::string::npos);
  return out;
}

std::string xml_encode(const char* text) {
  std::string out;
  if (text != nullptr) AppendXmlEncoded(out, text, kTextMax);
  return out;
}

std::string xml_tag_encode(const char* text) {
  std::string out;
  if (text == nullptr) return out;
  for (const char* p = text; *p != '\0' && out.size() < kTextMax; ++p) {
    const char c = *p;
    out += kTagUnsafe.find(c) != std::string_view::npos
               ? '_'
               : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

char* AdjNameLength(const char* name, char* dest, int width, int indent, GlobalData& gcd) {
  if (dest == nullptr) return dest;
  dest[0] = '\0';
  if (name == nullptr) return dest;
  const std::size_t nameLen = std::strlen(name);
  if (!gcd.cfg.wrapLongNames || width < 1 || nameLen <= static_cast<std::size_t>(width)) {
    CopyBounded(dest, kTextBuf, name);
    return dest;
  }
  const std::size_t indentLen = indent > 0 ? static_cast<std::size_t>(indent) : 0;
  std::size_t len = 0;
  int column = 0;
  for (std::size_t i = 0; i < nameLen && len < kTextMax; ++i) {
    dest[len++] = name[i];
    if (++column == width && i + 1 < nameLen) {
      column = 0;
      if (len < kTextMax) dest[len++] = '\n';
      for (std::size_t k = 0; k < indentLen && len < kTextMax; ++k) dest[len++] = ' ';
    }
  }
  dest[len] = '\0';
  return dest;
}

std::string PathFile(char* path, GlobalData& gcd) {
  if (path == nullptr) return {};
  std::size_t len = std::strlen(path);
  if (len > 0 && IsSeparator(path[len - 1])) path[--len] = '\0';

  const bool relative = gcd.cfg.relativeHtmlLinks != 0;
  const std::string& cwd = gcd.drv.cwd;
  // A path under the working directory becomes relative to it. This is tried
  // before the absolute path rule because the working directory is itself
  // absolute: otherwise no file under it could ever get a relative link.
  if (relative && !cwd.empty()) {
    if (const char* at = std::strstr(path, cwd.c_str())) {
      const char* rest = at + cwd.size();
      if (IsSeparator(*rest)) ++rest;
      return Bounded(rest);
    }
  }
  const std::string_view p(path, len);
  if (p.starts_with('/') || (len >= 2 && path[1] == ':')) return Bounded(p);
  std::string target;
  if (relative)
    target = p;
  else if (len >= 2 && path[0] == '.' && IsSeparator(path[1]))
    target = cwd + std::string(p.substr(1));
  else
    target = cwd + "/" + std::string(p);
  return Bounded(target);
}

std::string HTMLPathFile(char* path, GlobalData& gcd) {
  std::string target = PathFile(path, gcd);
  if (!gcd.cfg.relativeHtmlLinks) target = Bounded("file://" + target);
  return target;
}

std::string get_date(const time_t* t) {
  if (t == nullptr) return {};
  char text[64];
  // ctime_r gives the same text as ctime without touching its shared buffer.
  if (ctime_r(t, text) == nullptr) return {};
  std::size_t len = std::strlen(text);
  if (len > 0 && text[len - 1] == '\n') text[--len] = '\0';
  return std::string(text, len);
}
