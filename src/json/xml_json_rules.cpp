#include "json/xml_json_rules.h"

#include <cstdint>

namespace {

// "*" as parent matches any parent.
struct RepeatRow {
  std::string_view parent;
  std::string_view name;
  Placement placement;
};

// Every element the writers can write more than once under one parent.
// Array: the siblings come together, so the array is written as they come.
// LateArray: they come between other elements (the value and units pairs of
// the elapsed time, the banner of the head and of the trailer, notices
// raised while other parts are written): gathered, written at the parent's
// end. The first matching row counts.
constexpr RepeatRow kRepeatable[] = {
    {"lqadoc", "file", Placement::Array},
    {"lqadoc", "report", Placement::Array},
    {"lqadoc", "banner", Placement::LateArray},
    {"file", "report", Placement::Array},
    {"report", "file", Placement::Array},
    {"report", "language", Placement::Array},
    {"report", "note", Placement::LateArray},
    {"report", "code_differential", Placement::Array},
    {"inheritance_tree", "class", Placement::Array},
    {"parents_not_found_tree", "lost_child_node", Placement::Array},
    {"project_directory_summary", "directory", Placement::Array},
    {"code_differential", "line", Placement::Array},
    {"glossary", "term", Placement::Array},
    {"listing_glossary", "term", Placement::Array},
    {"Elapsed_Time", "value", Placement::LateArray},
    {"Elapsed_Time", "units", Placement::LateArray},
    {"file_differentials", "new", Placement::LateArray},
    {"file_differentials", "removed", Placement::LateArray},
    {"file_differentials", "modified_by_size", Placement::LateArray},
    {"file_differentials", "differential_by_code", Placement::LateArray},
    {"file_differentials", "equal", Placement::LateArray},
    {"*", "notice", Placement::LateArray},
    {"*", "data_public", Placement::LateArray},
    {"*", "data_protected", Placement::LateArray},
    {"*", "data_private", Placement::LateArray},
    {"*", "method_public", Placement::LateArray},
    {"*", "method_protected", Placement::LateArray},
    {"*", "method_private", Placement::LateArray},
    {"*", "UDQN_include_file", Placement::LateArray},
    {"*", "warning", Placement::LateArray},
};

// The entries of the project listings, kept in one array in listing order.
constexpr std::string_view kEntryNames[] = {"function",  "class",           "struct",           "nested_class",
                                            "nested_struct", "interface", "nested_interface", "namespace_package"};

struct RenameRow {
  std::string_view name;
  std::string_view key;
};

// The include files of the user defined notices are written under a name of
// their own case; the JSON member follows the other names.
constexpr RenameRow kRenames[] = {{"UDQN_include_file", "udqn_include_file"}};

// Leaves whose text is a name, a date or some other text, even when it reads
// as a number.
constexpr std::string_view kTextLeaves[] = {
    "program",   "version",   "date",       "command",        "config_file",  "title",
    "name",      "file",      "template",   "inheritance",    "description",  "sort_mode",
    "sort_direction", "extension", "note",  "udqn_file",      "udqn_include_file", "banner",
    "diff_config_file", "units", "dhms",    "term",           "warning",      "equivalent",
};

// The class members of -fm: their line is source text.
constexpr std::string_view kMemberForms[] = {"data_public",   "data_protected",   "data_private",
                                             "method_public", "method_protected", "method_private"};

// A filter of 256 bits over the names the tables hold, so that most names
// (the counts and metrics) are known to be plain members without a search.
class NameFilter {
 public:
  void Add(std::string_view name) { bits_[Hash(name) >> 6] |= std::uint64_t{1} << (Hash(name) & 63); }
  bool MayHold(std::string_view name) const {
    return (bits_[Hash(name) >> 6] & (std::uint64_t{1} << (Hash(name) & 63))) != 0;
  }

 private:
  static unsigned Hash(std::string_view name) {
    if (name.empty()) return 0;
    return (static_cast<unsigned>(name.size()) * 37u + static_cast<unsigned char>(name.front()) * 5u +
            static_cast<unsigned char>(name.back()) * 11u + static_cast<unsigned char>(name[name.size() / 2])) &
           255u;
  }
  std::uint64_t bits_[4] = {};
};

const NameFilter& ChildNames() {
  static const NameFilter filter = [] {
    NameFilter f;
    for (const RepeatRow& r : kRepeatable) f.Add(r.name);
    for (std::string_view e : kEntryNames) f.Add(e);
    for (const RenameRow& r : kRenames) f.Add(r.name);
    f.Add("parameters");
    return f;
  }();
  return filter;
}

const NameFilter& TextNames() {
  static const NameFilter filter = [] {
    NameFilter f;
    for (std::string_view t : kTextLeaves) f.Add(t);
    f.Add("parameters");
    f.Add("parent");
    f.Add("line");
    return f;
  }();
  return filter;
}

}  // namespace

ChildRule RuleFor(std::string_view parent, std::string_view name, int sameNameBefore) {
  ChildRule rule;
  rule.key = name;
  if (!ChildNames().MayHold(name)) return rule;
  for (const RenameRow& r : kRenames)
    if (r.name == name) rule.key = r.key;
  // A function's parameters are first its text, then its count.
  if (parent == "function" && name == "parameters" && sameNameBefore > 0) rule.key = "parameter_count";
  if (parent == "report") {
    for (std::string_view entry : kEntryNames)
      if (entry == name) {
        rule.placement = Placement::Entry;
        rule.key = kEntriesKey;
        return rule;
      }
  }
  for (const RepeatRow& r : kRepeatable)
    if (r.name == name && (r.parent == "*" || r.parent == parent)) {
      rule.placement = r.placement;
      return rule;
    }
  return rule;
}

bool AlwaysText(std::string_view parent, std::string_view key) {
  if (!TextNames().MayHold(key)) return false;
  // The text form of a function's parameters; the count is parameter_count.
  if (key == "parameters") return parent == "function";
  // A lost child's parent is a class name; a tree node's parent is a count.
  if (key == "parent") return parent == "lost_child_node";
  if (key == "line") {
    for (std::string_view form : kMemberForms)
      if (form == parent) return true;
    return false;
  }
  for (std::string_view t : kTextLeaves)
    if (t == key) return true;
  return false;
}
