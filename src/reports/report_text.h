// Pieces every project report shares: labels in bold for HTML, rule lines,
// section titles and the text safety rules of the HTML, XML and CSV forms.
#pragma once

#include <string>

#include "driver/switches.h"

struct GlobalData;

OutputMode ReportMode(const GlobalData& gcd);
bool IsText(const GlobalData& gcd);
bool IsHtml(const GlobalData& gcd);
bool IsCsv(const GlobalData& gcd);
bool IsXml(const GlobalData& gcd);

// The label as it is written: in HTML its words in bold with the leading and
// trailing blanks kept outside ("  LOC ....: " -> "  <b>LOC ....:</b> ").
std::string Bold(const char* label);
std::string Label(const char* label, const GlobalData& gcd);

// "  " and 72 hyphens or underscores, then a newline.
void HyphenRule();
void UnderscoreRule();
// The separator line between the blocks of a summary.
void SummarySeparator();

// A section title: text centred, HTML centred in the header colour.
void SectionTitle(const char* title, GlobalData& gcd);
// The hyphen rule, a blank line and the section title, in text and HTML;
// nothing in CSV and XML.
void RuledSectionTitle(const char* title, GlobalData& gcd);

// Text from sources made safe for each form: HTML at its full length, XML
// by the xml_encode rule (at most 2047 characters, entities kept whole).
std::string HtmlEscaped(const char* text);
std::string XmlEscaped(const char* text);
// A name or text inside a message (a file name in an error, a class name):
// escaped at its full length in HTML and XML, as it is in text and CSV.
std::string ShownText(const std::string& text, const GlobalData& gcd);
// CSV values are never quoted: commas in names become blanks, commas in
// parameter lists semicolons.
std::string CsvName(const char* text);
std::string CsvParameters(const char* text);

// part / whole as a floating point quotient, 0 when whole is 0 or below.
double Quotient(double part, double whole);
