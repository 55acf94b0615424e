// Which files of a tree the gate takes: below the current directory's
// prefix, with an extension the run analyses.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

struct TreeFilter {
  std::vector<std::string> extensions;  // lower case, without the dot
  // When set, only these paths (from the top of the work tree) are kept.
  const std::unordered_set<std::string>* only = nullptr;
  bool Keeps(const std::string& path, const std::string& prefix) const;
};
// A comma separated extension list ("c,h,cpp") as a filter.
TreeFilter MakeTreeFilter(const std::string& extensionLists);
