#include "gate/gate_overlay.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/exit.h"
#include "fileset/fileset.h"

namespace {

std::string_view DirectoryOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

// A walked name as the tree gives it: no "." or empty components.
std::string TreeKey(std::string_view name) {
  std::string key;
  while (!name.empty()) {
    std::size_t slash = name.find('/');
    if (slash == std::string_view::npos) slash = name.size();
    const std::string_view part = name.substr(0, slash);
    if (!part.empty() && part != ".") {
      if (!key.empty()) key.push_back('/');
      key.append(part);
    }
    name.remove_prefix(slash == name.size() ? slash : slash + 1);
  }
  return key;
}

[[noreturn]] void Fail(const char* what, const std::string& name, GlobalData& gcd) {
  OutF("\n  Error: %s\n         %s\n\n", what, name.c_str());
  ExitRun(1, gcd);
}

}  // namespace

void ApplyGateOverlay(const std::string& dir, const std::string& extensions, GlobalData& gcd) {
  // Heeded only beside this run's snapshot, in the gate's private
  // directory: a variable left in another run's environment changes nothing.
  const char* list = std::getenv(kGateOverlayVariable);
  const std::string& snapshot = gcd.gate.snapshotFile;
  if (list == nullptr || list[0] == '\0' || snapshot.empty() || DirectoryOf(list) != DirectoryOf(snapshot)) return;
  std::ifstream in(list, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) Fail("Could not read the gate's view of the base", list, gcd);
  std::string upper;
  std::unordered_set<std::string> base;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\0', at);
    if (end == std::string::npos) end = text.size();
    if (at == 0) upper.assign(text, 0, end);
    else base.emplace(text, at, end - at);
    at = end + 1;
  }
  if (upper.empty() || upper.front() != '/') Fail("The gate's view of the base names no directory", list, gcd);

  // The walk may have named its directory in full (the current directory
  // is spelt so): the same walk in the private directory starts from the
  // same place there.
  char buffer[4096];
  if (getcwd(buffer, sizeof buffer) == nullptr) Fail("Could not tell the head's directory", upper, gcd);
  const std::string here(buffer);
  const auto under = [](const std::string& path, const std::string& root) {
    return path.size() > root.size() && path.compare(0, root.size(), root) == 0 && path[root.size()] == '/';
  };
  std::string ownDir = dir;
  if (!dir.empty() && dir.front() == '/') {
    if (dir != here && !under(dir, here)) Fail("The gate's view of the base does not hold the directory", dir, gcd);
    ownDir = upper + dir.substr(here.size());
  }
  FileSetState& fs = gcd.fileset;
  Llist<FileData> lower[2] = {std::move(fs.headerList), std::move(fs.sourceList)};
  const int back = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (back < 0 || chdir(upper.c_str()) != 0) Fail("Could not enter the base's directory", upper, gcd);
  // The base may have no file of its own below the walked directory.
  struct stat st {};
  if (stat(ownDir.empty() ? "." : ownDir.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) ReadDir(ownDir, extensions, gcd);
  const bool returned = fchdir(back) == 0;
  close(back);
  if (!returned) Fail("Could not return to the head's directory", upper, gcd);
  Llist<FileData> own[2] = {std::move(fs.headerList), std::move(fs.sourceList)};

  // A file's path in the tree, from its name in either walk.
  const auto key = [&](const std::string& name) {
    if (under(name, here)) return TreeKey(std::string_view(name).substr(here.size() + 1));
    if (under(name, upper)) return TreeKey(std::string_view(name).substr(upper.size() + 1));
    return name.empty() || name.front() == '/' ? std::string() : TreeKey(name);
  };
  std::unordered_map<std::string, std::string> owned;  // tree path -> the file in the private directory
  for (const Llist<FileData>& l : own)
    for (const FileData& f : l) owned.emplace(key(f.name), f.name.front() == '/' ? f.name : upper + "/" + f.name);
  auto& readFrom = gcd.gate.readFrom;
  Llist<FileData>* targets[2] = {&fs.headerList, &fs.sourceList};
  for (int i = 0; i < 2; ++i) {
    // The head's order for the files both have, then the base's own.
    std::unordered_set<std::string> taken;
    for (FileData& f : lower[i]) {
      std::string k = key(f.name);
      if (base.count(k) == 0) continue;
      const auto it = owned.find(k);
      if (it != owned.end()) readFrom[f.name] = it->second;
      taken.insert(std::move(k));
      AddFileNode(std::move(f), *targets[i], 0, gcd);
    }
    for (FileData& f : own[i]) {
      const std::string k = key(f.name);
      if (taken.count(k) != 0) continue;
      // Named as the head's walk would name it.
      if (under(f.name, upper)) f.name = here + f.name.substr(upper.size());
      readFrom[f.name] = owned[k];
      AddFileNode(std::move(f), *targets[i], 0, gcd);
    }
  }
}

const std::string& GateInputPath(const std::string& name, const GlobalData& gcd) {
  const auto& readFrom = gcd.gate.runReadFrom != nullptr ? *gcd.gate.runReadFrom : gcd.gate.readFrom;
  if (readFrom.empty()) return name;
  const auto it = readFrom.find(name);
  return it == readFrom.end() ? name : it->second;
}
