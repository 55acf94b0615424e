// The per-line traces: the -d LOC trace that shows how each line was counted,
// the -wD differential trace with the line codes of the work differentials,
// and the separator lines written between the notices of one entity.
#include "engine/trace.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "common/text.h"
#include "reports/format.h"

namespace {

// The -d list of line types, in the order they are shown.
void WriteLocTypes(const LineFlags& flags, GlobalData& gcd) {
  const LanguageState& lang = gcd.lang;
  if (flags.blank) OutS(" Blank");
  if (flags.loc) {
    OutS(" LOC");
    OutS(flags.non_effective ? " Non-Effective" : " Effective");
    if (flags.logical) OutS(" Logical");
  }
  if (flags.c_comment) {
    if (lang.isJava) OutS(" Java (C-Style) Comment");
    else if (lang.isCSharp) OutS(" C# (C Style) Comment");
    else if (lang.isCpp) OutS(" C++ (C Style) Comment");
    else OutS(" C Comment");
  } else if (gcd.eng.lex.in_cpp_comment) {
    if (lang.isJava) OutS(" Java Comment");
    else if (lang.isCSharp) OutS(" C# Comment");
    else OutS(" C++ Comment");
  }
  OutS("\n");
}

// Source text in the text form of the trace: escaped on an HTML page and in
// an XML document, as it is in a text report.
std::string SourceText(const char* text, const GlobalData& gcd) {
  switch (gcd.sw.outputMode) {
    case OutputMode::Html: {
      std::string escaped(std::strlen(text) * 6 + 1, '\0');
      HTML_esc(text, escaped.data());
      escaped.resize(std::strlen(escaped.c_str()));
      return escaped;
    }
    case OutputMode::Xml: return XmlEncodeText(text);
    default: return text;
  }
}

void ShowLocTrace(const char* line, int lineNumber, const LineFlags& flags, GlobalData& gcd) {
  if (gcd.sw.outputMode == OutputMode::Html) {
    const char* text = line;
    while (*text == ' ' || *text == '\t') ++text;
    // Every character escapes to at most six.
    std::string escaped(std::strlen(text) * 6 + 1, '\0');
    HTML_esc(text, escaped.data());
    OutF("\n  <b>Line</b> %d: <font color=\"%s\">%s</font>  <b>LOC Type(s)</b>:", lineNumber,
         gcd.cfg.htmlLineColor.c_str(), escaped.c_str());
  } else if (gcd.sw.outputMode == OutputMode::Xml) {
    OutF("\n  Line %d: %s  LOC Type(s):", lineNumber, XmlEncodeText(line).c_str());
  } else {
    OutF("\n  Line %d: %s  LOC Type(s):", lineNumber, line);
  }
  WriteLocTypes(flags, gcd);
}

void ShowDiffTrace(const char* line, int lineNumber, const LineFlags& flags, GlobalData& gcd) {
  const bool csv = gcd.sw.outputMode == OutputMode::Csv;
  if (lineNumber == 1) {
    const char* file = gcd.drv.currentFileName != nullptr ? gcd.drv.currentFileName : "";
    if (csv) {
      OutF("File,%s\n", file);
      OutS("Line,Type,Code,Source\n");
    } else {
      OutF("\n  File: %s\n", SourceText(file, gcd).c_str());
      OutS("  Line #  Type Differential Code      Source Code Line\n");
      OutF("  %s%s\n", kRuleHyphens, kRuleHyphens);
    }
  }
  const int comment = (flags.c_comment || gcd.eng.lex.in_cpp_comment) ? 1 : 0;
  const char type = LineTypeCode(flags.blank, flags.loc, flags.non_effective, flags.logical, comment);
  if (type == ' ') return;
  if (type == 'B' && gcd.cfg.diffIgnoreBlankLines) return;
  const double code = LineCode(line, gcd);
  if (csv) OutF("%d,%c,%-20.15f,%s", lineNumber, type, code, line);
  else if (gcd.sw.outputMode == OutputMode::Text) OutF("  %6d |  %c  %-20.15f | %s", lineNumber, type, code, line);
  else OutF("  %6d |  %c  %-20.15f | %s", lineNumber, type, code, SourceText(line, gcd).c_str());
}

}  // namespace

void ShowLineTrace(const char* line, int lineNumber, const LineFlags& flags, GlobalData& gcd) {
  if (line == nullptr) return;
  if (gcd.sw.workDeterministic) {
    ShowDiffTrace(line, lineNumber, flags, gcd);
  } else if (gcd.sw.lineTrace && !gcd.lang.isOther) {
    ShowLocTrace(line, lineNumber, flags, gcd);
  }
}

double LineCode(const char* line, GlobalData& gcd) {
  if (line == nullptr) return 0.0;
  const bool skipWhite = gcd.cfg.diffIgnoreWhiteSpace != 0;
  double code = 0.0;
  int j = 0;
  for (std::size_t i = 0; i < kTextBuf && line[i] != '\0'; ++i) {
    const signed char c = static_cast<signed char>(line[i]);
    if (c <= 31 && c != 11) continue;
    if (skipWhite && (c == ' ' || c == '\t')) continue;
    ++j;
    code += static_cast<double>(c) / j;
  }
  return code;
}

int ShowStateLine(int lineNumber, const char* label) {
  if (label == nullptr) label = "";
  // "-", dashes that centre the middle on column 36, " <label> Line: <n> ",
  // and dashes up to 72 characters.
  char number[16];
  const std::size_t numberLength = static_cast<std::size_t>(std::to_chars(number, number + sizeof number, lineNumber).ptr - number);
  const std::size_t labelLength = std::strlen(label);
  const std::size_t middle = labelLength + numberLength + 9;
  const std::size_t half = middle / 2;
  const std::size_t lead = 1 + (half < 35 ? 35 - half : 0);
  const std::size_t width = std::max<std::size_t>(lead + middle, 72);
  std::string heap;
  char local[256];
  char* text = local;
  if (width >= sizeof local) {
    heap.resize(width + 1);
    text = heap.data();
  }
  char* p = text;
  std::memset(p, '-', lead);
  p += lead;
  *p++ = ' ';
  std::memcpy(p, label, labelLength);
  p += labelLength;
  std::memcpy(p, " Line: ", 7);
  p += 7;
  std::memcpy(p, number, numberLength);
  p += numberLength;
  *p++ = ' ';
  std::memset(p, '-', width - static_cast<std::size_t>(p - text));
  text[width] = '\0';
  const bool end = std::strstr(label, "End") != nullptr;
  OutF(end ? "  %s\n" : "\n  %s\n", text);
  return static_cast<int>(width) + (end ? 3 : 4);
}
