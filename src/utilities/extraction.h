// Extraction of literal strings (-Es) and comments (-Ec, and the comment
// documentation of -EC) as numbered lines of readable text.
#pragma once

#include <string_view>

#include "driver/switches.h"

struct GlobalData;

// True when the line engine collects comment text for extraction.
inline bool CommentExtractionOn(const Switches& sw) { return sw.extractComments || sw.commentDocumentation; }

// Cleans collected text down to its readable words: drops the quotes or
// comment markers, surrounding punctuation, blanks and line feed escapes.
// In HTML mode the result is escaped. The result lives in the run record
// until the next call.
std::string_view ExtractString(std::string_view text, GlobalData& gcd);

// Called by the line engine when a string literal has closed on the line:
// lists the string's text and removes it from the extraction buffer.
void ExtractStringEnd(int lineNumber, GlobalData& gcd);

// Called at the end of every line with comment extraction on: lists the
// comment text the line held and removes it from the extraction buffer.
void ExtractCommentLine(int lineNumber, GlobalData& gcd);
