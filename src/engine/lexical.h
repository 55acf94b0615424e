// Small lexical routines that look ahead or around on the current line:
// next code character, keyword terminators, token readers, single-character
// lines and the text clean-up used for names and reports.
//
// Every routine works on NUL-terminated 8-bit text of at most 2048 bytes (the
// line buffer) and never reads past the terminating NUL or index 2047. None of
// them knows about string literals: a comment opener inside a string is taken
// as a comment here; only ParseLine tracks strings.
#pragma once

struct GlobalData;

// The next code character after *p (the character at p itself is not
// examined, except that a NUL there ends the line): blanks, tabs and block
// comments are skipped, a // comment yields a line feed, an unclosed block
// comment yields the line end that stops it.
char NextChar(const char* p);
// 1 when c occurs as code before the end of the line, else 0.
int FindCodeChar(const char* s, char c);
// 1, with *counter incremented, when the keyword that ends just before pos is
// followed (after blanks and tabs) by t1, t2, a line end or a comment.
int KeywordTermin(const char* line, int pos, int* counter, char t1, char t2);
// 1 when the line holds c alone, give or take blanks, tabs, ';' and comments.
// Reads the line in place (its first 2047 characters).
int SingleChar(const char* line, char c);

// Token readers. token is a caller-owned buffer of 2048 bytes; the readers
// clear it and fill it with the next token from pos on.
// The token when it starts like an identifier, else null.
char* GetNextToken(const char* line, int pos, char* token);
// The next blank-separated token (possibly empty), or null.
char* GetNextRawToken(const char* line, int pos, char* token);
// Like GetNextToken but skipping '{' and '(' first; returns the token even
// when empty, or null.
char* GetNextCodeToken(const char* line, int pos, char* token);

// 1 for a character that may follow the keyword operator.
int is_operator(char c);
// 1 for a character that can start an identifier (ASCII letter, '_', '~').
int isfirstchar(char c);
// 1 when the word is a basic type or a control keyword (never while an
// assignment is open).
int is_systype(const char* name, const GlobalData& gcd);

// The first character of s that is not a blank or tab.
char* Lefttrim(char* s);
const char* Lefttrim(const char* s);
// s without trailing blanks, tabs, line feeds and carriage returns; the first
// character is never removed.
char* Rtrim(char* s);
// out (2048 bytes): s without line feeds, carriage returns, tabs and '{',
// with every ',' written as ", ".
char* Strip_nrt(const char* s, char* out);
// s rewritten in place as its delim-separated words joined by single blanks.
char* StripChars(char* s, const char* delims);
// s rewritten in place as its white-space separated words that do not occur
// in words, joined by single blanks.
char* StripStrings(char* s, const char* words);
// s with its first /* ... */ removed (an unclosed /* is left alone).
char* StripCComment(char* s);
// s cut at its first //.
char* StripCPPComment(char* s);
