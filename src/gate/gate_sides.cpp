#include "gate/gate_sides.h"

#include <vector>

namespace {

constexpr std::string_view kGitPrefix = "git:";
constexpr std::string_view kSnapshotSuffix = ".lqagate";

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool ParseSide(std::string_view word, GateSide& side, std::string& error) {
  side.text.assign(word);
  if (word.starts_with(kGitPrefix)) {
    std::string_view rev = word.substr(kGitPrefix.size());
    side.kind = SideKind::Git;
    if (rev.ends_with("...")) {
      side.mergeBase = true;
      rev.remove_suffix(3);
    }
    if (rev.empty()) {
      error = "no revision after \"git:\" in " + side.text;
      return false;
    }
    if (rev.front() == '-') {
      error = "the revision " + std::string(rev) + " looks like an option; it is not passed to git";
      return false;
    }
    for (char c : rev) {
      if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) {
        error = "the revision " + side.text + " holds a blank or a control character";
        return false;
      }
    }
    side.revision.assign(rev);
    return true;
  }
  side.path.assign(word);
  side.kind = word.ends_with(kSnapshotSuffix) ? SideKind::Snapshot : SideKind::Directory;
  return true;
}

}  // namespace

bool ParseGateSides(std::string_view arg, GateSides& sides, std::string& error) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < arg.size()) {
    while (i < arg.size() && Blank(arg[i])) ++i;
    const std::size_t start = i;
    while (i < arg.size() && !Blank(arg[i])) ++i;
    if (i > start) words.push_back(arg.substr(start, i - start));
  }
  if (words.empty()) {
    error = "-G needs a base: -G\"BASE [HEAD]\"";
    return false;
  }
  if (words.size() > 2) {
    error = "-G takes a base and at most one head: -G\"BASE [HEAD]\"";
    return false;
  }
  sides = GateSides{};
  if (!ParseSide(words[0], sides.base, error)) return false;
  if (words.size() == 2) return ParseSide(words[1], sides.head, error);
  sides.head.kind = SideKind::Disk;
  sides.head.text = "the files on disk";
  return true;
}
