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

// What a recognised keyword does beyond its file counter: the decision and
// return points of the open function, and the structure keywords.
enum class KeywordAction {
  None, If, Else, While, For, Switch, Case, Default, Break, Goto, Return, Exit, Throw, And, Or, Delegate,
  Class, Struct, Interface, Namespace, Package, Public, Protected, Private, Typedef, Template, Using,
  Friend, Union, Virtual
};

struct KeywordInfo {
  const char* word;
  int length;
  int FileCounts::*counter;
  KeywordEnd end;
  const char* extraDelimiters;  // for KeywordEnd::Delimiter
  char terminator;              // for Terminator and Return
  bool carriageReturnEnds;      // false for using and virtual
  KeywordRule rule;
  KeywordAction action = KeywordAction::None;
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
    // Words without a counter of their own: decision and structure keywords.
    {"throw", 5, nullptr, KeywordEnd::Delimiter, ";(", 0, true, KeywordRule::None, KeywordAction::Throw},
    {"and", 3, nullptr, KeywordEnd::Delimiter, "(", 0, true, KeywordRule::None, KeywordAction::And},
    {"or", 2, nullptr, KeywordEnd::Delimiter, "(", 0, true, KeywordRule::None, KeywordAction::Or},
    {"delegate", 8, nullptr, KeywordEnd::Delimiter, "(", 0, true, KeywordRule::None, KeywordAction::Delegate},
    {"class", 5, nullptr, KeywordEnd::Delimiter, "{", 0, true, KeywordRule::None, KeywordAction::Class},
    {"struct", 6, nullptr, KeywordEnd::Delimiter, "{", 0, true, KeywordRule::None, KeywordAction::Struct},
    {"interface", 9, nullptr, KeywordEnd::Delimiter, "{", 0, true, KeywordRule::None, KeywordAction::Interface},
    {"namespace", 9, nullptr, KeywordEnd::Delimiter, "{", 0, true, KeywordRule::None, KeywordAction::Namespace},
    {"package", 7, nullptr, KeywordEnd::Delimiter, "", 0, true, KeywordRule::JavaOnly, KeywordAction::Package},
    {"public", 6, nullptr, KeywordEnd::Delimiter, ":", 0, true, KeywordRule::None, KeywordAction::Public},
    {"protected", 9, nullptr, KeywordEnd::Delimiter, ":", 0, true, KeywordRule::None, KeywordAction::Protected},
    {"private", 7, nullptr, KeywordEnd::Delimiter, ":", 0, true, KeywordRule::None, KeywordAction::Private},
};

// The action of every counted keyword, by word (kept apart from the rows
// above so that the catalogue stays one line per word).
struct KeywordActionOf {
  const char* word;
  KeywordAction action;
};
inline constexpr KeywordActionOf kCountedKeywordActions[] = {
    {"if", KeywordAction::If},           {"else", KeywordAction::Else},     {"while", KeywordAction::While},
    {"for", KeywordAction::For},         {"foreach", KeywordAction::For},   {"switch", KeywordAction::Switch},
    {"case", KeywordAction::Case},       {"default", KeywordAction::Default}, {"break", KeywordAction::Break},
    {"goto", KeywordAction::Goto},       {"return", KeywordAction::Return}, {"exit", KeywordAction::Exit},
    {"_exit", KeywordAction::Exit},      {"typedef", KeywordAction::Typedef}, {"template", KeywordAction::Template},
    {"using", KeywordAction::Using},     {"friend", KeywordAction::Friend}, {"union", KeywordAction::Union},
    {"virtual", KeywordAction::Virtual},
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
