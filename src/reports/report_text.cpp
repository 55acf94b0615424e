#include "reports/report_text.h"

#include <algorithm>
#include <cstring>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/format.h"

OutputMode ReportMode(const GlobalData& gcd) { return gcd.sw.outputMode; }
bool IsText(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Text; }
bool IsHtml(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Html; }
bool IsCsv(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Csv; }
bool IsXml(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Xml; }

std::string Bold(const char* label) {
  if (label == nullptr) return {};
  const std::string_view text(label);
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string(text);
  const std::size_t last = text.find_last_not_of(' ');
  std::string out(text.substr(0, first));
  out += "<b>";
  out += text.substr(first, last - first + 1);
  out += "</b>";
  out += text.substr(last + 1);
  return out;
}

std::string Label(const char* label, const GlobalData& gcd) {
  return IsHtml(gcd) ? Bold(label) : std::string(label == nullptr ? "" : label);
}

void HyphenRule() { OutF("  %s%s\n", kRuleHyphens, kRuleHyphens); }
void UnderscoreRule() { OutF("  %s%s\n", kRuleUnderscores, kRuleUnderscores); }

void SummarySeparator() {
  OutF("  %s\n", "       ------     -----     -----     ------     ------     -----       ");
}

void SectionTitle(const char* title, GlobalData& gcd) {
  if (IsHtml(gcd)) {
    OutF("<b><font color=\"%s\">", gcd.cfg.htmlHeaderColor.c_str());
    Center(title);
    OutS("</font></b>");
  } else {
    Center(title);
  }
}

void RuledSectionTitle(const char* title, GlobalData& gcd) {
  if (!IsText(gcd) && !IsHtml(gcd)) return;
  HyphenRule();
  OutS("\n");
  SectionTitle(title, gcd);
}

namespace {

template <typename Replace>
std::string Transformed(const char* text, Replace replace) {
  std::string out;
  if (text == nullptr) return out;
  out.reserve(std::strlen(text));
  for (const char* p = text; *p != '\0'; ++p) replace(out, *p);
  return out;
}

}  // namespace

std::string HtmlEscaped(const char* text) {
  return Transformed(text, [](std::string& out, char c) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default:
        // Control characters are not allowed in the page, which is XHTML.
        out.push_back(static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r' ? '?' : c);
        break;
    }
  });
}

std::string XmlEscaped(const char* text) { return xml_encode(text); }

std::string ShownText(const std::string& text, const GlobalData& gcd) {
  if (IsHtml(gcd)) return HtmlEscaped(text.c_str());
  if (IsXml(gcd)) return XmlEncodeText(text.c_str());
  return text;
}

std::string CsvName(const char* text) {
  return Transformed(text, [](std::string& out, char c) { out.push_back(c == ',' ? ' ' : c); });
}

std::string CsvParameters(const char* text) {
  return Transformed(text, [](std::string& out, char c) { out.push_back(c == ',' ? ';' : c); });
}

double Quotient(double part, double whole) { return whole > 0 ? part / whole : 0.0; }
