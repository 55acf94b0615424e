// Writing the dashboard page: text escaped for XHTML, numbers with a fixed
// number of decimals, and labels cut to the room a chart gives them.
#pragma once

#include <string>
#include <string_view>

// Appends text escaped for element content and attribute values: & < > " '
// become references, every byte of no well-formed UTF-8 sequence and every
// character XML does not allow (control characters but tab, LF and CR) a '?',
// so that any file or function name keeps the page well-formed.
void AppendEscaped(std::string& out, std::string_view text);
std::string Escaped(std::string_view text);

// A coordinate or a ratio with one decimal ("12.5", never "-0.0").
std::string Decimal1(double value);

// Appends a coordinate with one decimal.
void AppendCoordinate(std::string& out, double value);

// A count with a comma between groups of three digits ("1,459,198"), for
// figures people read rather than programs.
std::string Grouped(long long value);

// Approximate width in pixels of a text at a font size, for deciding what
// fits: every character (not byte) counts as 0.6 of the font size.
double TextWidth(std::string_view text, double fontSize);

// The text as it fits in width pixels at fontSize: whole, or cut at a
// character boundary and ended with an ellipsis; empty when not even one
// character and the ellipsis fit. Invalid bytes count as one character each.
std::string FitLabel(std::string_view text, double width, double fontSize);

// The same, cut at the start instead: the end of a path tells more.
std::string FitLabelTail(std::string_view text, double width, double fontSize);

// Characters of text (a valid UTF-8 sequence or a stray byte counts as one).
std::size_t CharacterCount(std::string_view text);
