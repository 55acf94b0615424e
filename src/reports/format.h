// Centring, escaping, name wrapping, hyperlink targets and dates of the reports.
#pragma once

#include <ctime>
#include <string>

struct GlobalData;

// Rule lines: two spaces and 72 characters, written as two runs of 36.
inline constexpr const char* kRuleUnderscores = "____________________________________";
inline constexpr const char* kRuleHyphens = "------------------------------------";

void Center(const char* text);
void Center_HTML(const char* plain, const char* decorated);
// The line Center_HTML writes (decorated text indented as if plain were
// centred, newline included), for writers that take a stream of their own.
std::string CenteredLine(const char* plain, const char* decorated);
// Escapes <, > and & (and the apostrophe) into dest, which must hold six times the source.
char* HTML_esc(const char* source, char* dest);
// The encoded text, at most 2047 characters (an entity is never cut).
std::string xml_encode(const char* text);
std::string xml_tag_encode(const char* text);
// The xml_encode rule without the 2048-byte bound (long command lines).
std::string XmlEncodeText(const char* text);
// Copies name into dest[2048], wrapped after every width characters with a
// newline and indent blanks when "Wrap long names in reports" is on.
char* AdjNameLength(const char* name, char* dest, int width, int indent, GlobalData& gcd);
// Hyperlink targets of at most 2047 characters. May remove a trailing
// slash from path in place.
std::string PathFile(char* path, GlobalData& gcd);
std::string HTMLPathFile(char* path, GlobalData& gcd);
// The date as ctime writes it, without its newline.
std::string get_date(const time_t* t);
