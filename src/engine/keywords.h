// The keyword catalogue of the line engine: which word bumps which counter,
// which characters may stand before it and what must follow it.
#pragma once

#include "engine/counters.h"

// How the end of a keyword is tested.
enum class KeywordEnd {
  Delimiter,   // a blank, tab, line end, comment start or one of the extra delimiters
  Terminator,  // optional blanks, then the terminator, a line end or a comment start
  Return,      // a blank, tab, ';' or comment start; or the terminator '('
};

// Extra conditions a keyword needs before it is counted.
enum class KeywordRule { None, Enum, Template, ClassBody, NotInC, JavaOnly };

struct KeywordInfo {
  const char* word;
  int length;
  int FileCounts::*counter;
  KeywordEnd end;
  const char* extraDelimiters;  // for KeywordEnd::Delimiter
  char terminator;              // for Terminator and Return
  bool carriageReturnEnds;      // false for using and virtual
  KeywordRule rule;
};

inline constexpr KeywordInfo kKeywords[] = {
    {"typedef", 7, &FileCounts::typedefs, KeywordEnd::Delimiter, "", 0, true, KeywordRule::None},
    {"const", 5, &FileCounts::consts, KeywordEnd::Delimiter, "(", 0, true, KeywordRule::None},
    {"enum", 4, &FileCounts::enums, KeywordEnd::Delimiter, "", 0, true, KeywordRule::Enum},
    {"do", 2, &FileCounts::dos, KeywordEnd::Delimiter, "", 0, true, KeywordRule::None},
    {"while", 5, &FileCounts::whiles, KeywordEnd::Terminator, "", '(', true, KeywordRule::None},
    {"switch", 6, &FileCounts::switches, KeywordEnd::Terminator, "", '(', true, KeywordRule::None},
    {"default", 7, &FileCounts::defaults, KeywordEnd::Terminator, "", ':', true, KeywordRule::None},
    {"foreach", 7, &FileCounts::fors, KeywordEnd::Terminator, "", '(', true, KeywordRule::None},
    {"for", 3, &FileCounts::fors, KeywordEnd::Terminator, "", '(', true, KeywordRule::None},
    {"case", 4, &FileCounts::cases, KeywordEnd::Delimiter, ":(", 0, true, KeywordRule::None},
    {"break", 5, &FileCounts::breaks, KeywordEnd::Terminator, "", ';', true, KeywordRule::None},
    {"if", 2, &FileCounts::ifs, KeywordEnd::Terminator, "", '(', true, KeywordRule::None},
    {"else", 4, &FileCounts::elses, KeywordEnd::Delimiter, "", 0, true, KeywordRule::None},
    {"goto", 4, &FileCounts::gotos, KeywordEnd::Delimiter, "", 0, true, KeywordRule::None},
    {"return", 6, &FileCounts::returns, KeywordEnd::Return, "", '(', true, KeywordRule::None},
    {"exit", 4, &FileCounts::exits, KeywordEnd::Terminator, "", '(', true, KeywordRule::None},
    {"_exit", 5, &FileCounts::underscoreExits, KeywordEnd::Terminator, "", '(', true, KeywordRule::None},
    {"abort", 5, &FileCounts::aborts, KeywordEnd::Terminator, "", '(', true, KeywordRule::None},
    {"union", 5, &FileCounts::unions, KeywordEnd::Terminator, "", '{', true, KeywordRule::None},
    {"template", 8, &FileCounts::templates, KeywordEnd::Terminator, "", '<', true, KeywordRule::Template},
    {"friend", 6, &FileCounts::friends, KeywordEnd::Delimiter, "", 0, true, KeywordRule::None},
    {"virtual", 7, &FileCounts::virtuals, KeywordEnd::Delimiter, "(", 0, false, KeywordRule::ClassBody},
    {"inline", 6, &FileCounts::inlines, KeywordEnd::Delimiter, "([;)", 0, true, KeywordRule::None},
    {"malloc", 6, &FileCounts::allocs, KeywordEnd::Terminator, "", '(', true, KeywordRule::None},
    {"calloc", 6, &FileCounts::allocs, KeywordEnd::Terminator, "", '(', true, KeywordRule::None},
    {"alloc", 5, &FileCounts::allocs, KeywordEnd::Terminator, "", '(', true, KeywordRule::None},
    {"free", 4, &FileCounts::frees, KeywordEnd::Terminator, "", '(', true, KeywordRule::None},
    {"new", 3, &FileCounts::news, KeywordEnd::Delimiter, "(", 0, true, KeywordRule::NotInC},
    {"delete", 6, &FileCounts::deletes, KeywordEnd::Delimiter, "([", 0, true, KeywordRule::NotInC},
    {"using", 5, &FileCounts::usings, KeywordEnd::Delimiter, "", 0, false, KeywordRule::None},
    {"import", 6, &FileCounts::import, KeywordEnd::Delimiter, "", 0, true, KeywordRule::JavaOnly},
};

// Characters that may stand right before a keyword with this initial letter.
// Letters without a set of their own (a, f, _) take the common set.
inline const char* KeywordLeadSet(char initial) {
  switch (initial) {
    case 'e': return " \t;)=}";
    case 'm': return " \t;)=";
    case 'o': return " \t:;)=(";
    case 'v': return " \t;:()={}";
    case 'w': return " \t;){}";
    default: return " \t;)={}";
  }
}
