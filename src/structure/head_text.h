// Gathering the text of a head (signature, type head, template head) over
// the lines it spans: comments removed, white space collapsed to one blank.
#pragma once

#include <string>

// Appends line[from, to) to out. inComment carries a block comment from one
// call to the next; a // comment ends the slice. Strings are copied as they
// are. out never grows beyond 2047 characters.
void AppendHeadText(std::string& out, const char* line, int from, int to, int& inComment);
// The text after the parameter list that starts out (at its first '('),
// or npos as the position when the list is not closed yet.
std::size_t AfterParameterList(const std::string& text);
// True when the text holds a letter, digit or '_'.
bool HoldsWord(const std::string& text, std::size_t from, std::size_t to);
