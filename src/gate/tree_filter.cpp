#include "gate/tree_filter.h"

namespace {

void LowerAscii(std::string& text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

}  // namespace

bool TreeFilter::Keeps(const std::string& path, const std::string& prefix) const {
  if (!path.starts_with(prefix)) return false;
  if (only != nullptr && only->find(path) == only->end()) return false;
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  std::string ext = path.substr(dot + 1);
  LowerAscii(ext);
  for (const std::string& e : extensions)
    if (e == ext) return true;
  return false;
}

TreeFilter MakeTreeFilter(const std::string& extensionLists) {
  TreeFilter f;
  std::size_t start = 0;
  while (start <= extensionLists.size()) {
    std::size_t end = extensionLists.find(',', start);
    if (end == std::string::npos) end = extensionLists.size();
    std::string ext = extensionLists.substr(start, end - start);
    while (!ext.empty() && (ext.front() == '.' || ext.front() == ' ' || ext.front() == '*')) ext.erase(0, 1);
    while (!ext.empty() && ext.back() == ' ') ext.pop_back();
    LowerAscii(ext);
    if (!ext.empty()) f.extensions.push_back(ext);
    start = end + 1;
  }
  return f;
}
