// How the elements of lqa's XML document become JSON members: which names
// repeat under one parent (always arrays), which leaves always hold text,
// which elements are the entries of a project listing, and the two renames.
// The tables are data (xml_json_rules.cpp); XmlJsonTranscoder applies them.
#pragma once

#include <string_view>

// Where a child element goes in its parent's object.
enum class Placement {
  Member,      // one member named as the element
  Array,       // one array of all siblings of the name, written as they come
  LateArray,   // an array whose members come between other elements: gathered
               // while the parent is open and written at its end
  Entry,       // an element of the parent's "entries" array, "kind" first
};

struct ChildRule {
  Placement placement = Placement::Member;
  std::string_view key;  // the JSON member name (the element name unless renamed)
};

// The rule for child element `name` under `parent`; `sameNameBefore` is the
// number of earlier siblings of that name (the second parameters of a
// function is its count).
ChildRule RuleFor(std::string_view parent, std::string_view name, int sameNameBefore);

// True when the leaf is written as a string even when its text reads as a
// number (names, file names, dates, the version and the like). `key` is the
// member name after any rename.
bool AlwaysText(std::string_view parent, std::string_view key);

// The member that holds the text lines written between the child elements of
// an element (extraction, listings, line traces, messages).
inline constexpr std::string_view kTextLinesKey = "text";
// The array of the listing entries of a report.
inline constexpr std::string_view kEntriesKey = "entries";
