#include "gate/matcher.h"

#include <algorithm>

namespace {

constexpr std::uint64_t kEmptyBody = 0xcbf29ce484222325ULL;  // the hash of no text at all

std::string WithoutBlanks(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (static_cast<unsigned char>(c) > 0x20) out.push_back(c);
  return out;
}

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string key;
  for (std::string_view p : parts) {
    key.append(p);
    key.push_back('\x01');
  }
  return key;
}

class FunctionMatcher {
 public:
  FunctionMatcher(const GateSnapshot& base, const GateSnapshot& head,
                  const std::unordered_map<std::string, std::string>& renames)
      : base_(base), head_(head), baseHead_(base.functions.size(), -1), headBase_(head.functions.size(), -1) {
    basePath_.reserve(base.functions.size());
    for (const GateFunction& f : base.functions) {
      auto it = renames.find(f.path);
      basePath_.push_back(it != renames.end() ? it->second : f.path);
    }
  }

  void Run(GateResult& result) {
    // Exact: path, name, signature without blanks, occurrence.
    Pass(result, FunctionMatch::Exact, false, [&](bool isBase, int i) {
      const GateFunction& f = Fn(isBase, i);
      return Join({Path(isBase, i), f.name, WithoutBlanks(f.signature), std::to_string(f.occurrence)});
    });
    // The name unique in its file on both sides.
    Pass(result, FunctionMatch::SameName, true,
         [&](bool isBase, int i) { return Join({Path(isBase, i), Fn(isBase, i).name}); });
    // Name and signature unique in the whole tree: moved to another file.
    Pass(result, FunctionMatch::Moved, true, [&](bool isBase, int i) {
      const GateFunction& f = Fn(isBase, i);
      return Join({f.name, WithoutBlanks(f.signature)});
    });
    // An identical, non-empty body unique on both sides: renamed.
    Pass(result, FunctionMatch::Renamed, true, [&](bool isBase, int i) {
      const GateFunction& f = Fn(isBase, i);
      return f.bodyHash == kEmptyBody ? std::string() : HashHex(f.bodyHash);
    });
    for (int i = 0; i < static_cast<int>(baseHead_.size()); ++i)
      if (baseHead_[i] < 0) result.removedFunctions.push_back(i);
    for (int j = 0; j < static_cast<int>(headBase_.size()); ++j)
      if (headBase_[j] < 0) result.newFunctions.push_back(j);
  }

  const std::vector<int>& headBase() const { return headBase_; }
  const std::string& BasePath(int i) const { return basePath_[static_cast<std::size_t>(i)]; }

 private:
  const GateFunction& Fn(bool isBase, int i) const {
    return isBase ? base_.functions[static_cast<std::size_t>(i)] : head_.functions[static_cast<std::size_t>(i)];
  }
  const std::string& Path(bool isBase, int i) const {
    return isBase ? basePath_[static_cast<std::size_t>(i)] : head_.functions[static_cast<std::size_t>(i)].path;
  }

  // One pass over the unmatched functions. Without unique, keys are
  // unique by construction and the first of a key wins; with unique, a key
  // held by more than one function on either side matches nothing.
  template <typename KeyOf>
  void Pass(GateResult& result, FunctionMatch how, bool unique, KeyOf keyOf) {
    struct Slot {
      int index = -1;
      int count = 0;
    };
    std::unordered_map<std::string, Slot> baseKeys, headKeys;
    for (int i = 0; i < static_cast<int>(baseHead_.size()); ++i) {
      if (baseHead_[i] >= 0) continue;
      std::string key = keyOf(true, i);
      if (key.empty()) continue;
      Slot& s = baseKeys[std::move(key)];
      if (s.count++ == 0) s.index = i;
    }
    if (baseKeys.empty()) return;
    for (int j = 0; j < static_cast<int>(headBase_.size()); ++j) {
      if (headBase_[j] >= 0) continue;
      std::string key = keyOf(false, j);
      if (key.empty()) continue;
      Slot& s = headKeys[std::move(key)];
      if (s.count++ == 0) s.index = j;
    }
    for (const auto& [key, h] : headKeys) {
      auto it = baseKeys.find(key);
      if (it == baseKeys.end()) continue;
      const Slot& b = it->second;
      if (unique && (b.count != 1 || h.count != 1)) continue;
      baseHead_[static_cast<std::size_t>(b.index)] = h.index;
      headBase_[static_cast<std::size_t>(h.index)] = b.index;
      result.matched.push_back(MatchedFunction{b.index, h.index, how});
    }
  }

  const GateSnapshot& base_;
  const GateSnapshot& head_;
  std::vector<std::string> basePath_;  // through the rename map
  std::vector<int> baseHead_, headBase_;
};

std::uint64_t Mix(std::uint64_t h, std::uint64_t v) {
  h ^= v + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
  return h * 0xBF58476D1CE4E5B9ULL;
}

std::uint64_t HashText(std::string_view text) { return std::hash<std::string_view>()(text); }

// Counts of 64-bit keys in one flat table with linear probing: the base
// side's notices, millions in a large tree, without a node per key.
class KeyCounts {
 public:
  explicit KeyCounts(std::size_t keys) {
    std::size_t size = 16;
    while (size < keys * 2) size <<= 1;
    slots_.assign(size, Slot{});
    mask_ = size - 1;
  }
  void Add(std::uint64_t key) {
    Slot& s = Find(key);
    s.key = Stored(key);
    ++s.count;
  }
  // Takes one of key; false when none is left.
  bool Take(std::uint64_t key) {
    Slot& s = Find(key);
    if (s.count == 0) return false;
    --s.count;
    return true;
  }
  long long Left() const {
    long long n = 0;
    for (const Slot& s : slots_) n += s.count;
    return n;
  }

 private:
  struct Slot {
    std::uint64_t key = 0;
    long long count = 0;
  };
  // 0 marks an empty slot: the key 0 is stored as 1, a collision like any other.
  static std::uint64_t Stored(std::uint64_t key) { return key == 0 ? 1 : key; }
  // The slot of key, or the empty one where it would go. The table is
  // never more than half full, so the search ends.
  Slot& Find(std::uint64_t key) {
    key = Stored(key);
    std::size_t i = static_cast<std::size_t>(key ^ (key >> 29)) & mask_;
    while (slots_[i].key != key && slots_[i].key != 0) i = (i + 1) & mask_;
    return slots_[i];
  }
  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
};

// The hashes of a snapshot's paths (through the rename map), rule ids and
// names, made once, so that a notice's key costs no string hashing.
struct TableHashes {
  std::vector<std::uint64_t> path, rule, name;
  TableHashes(const GateSnapshot& s, const std::unordered_map<std::string, std::string>& renames) {
    path.reserve(s.paths.size());
    for (const std::string& p : s.paths) {
      auto it = renames.find(p);
      path.push_back(HashText(it != renames.end() ? it->second : p));
    }
    for (const GateRule& r : s.rules) rule.push_back(HashText(r.id));
    for (const std::string& n : s.names) name.push_back(HashText(n));
  }
};

// The key of a notice within the multisets, hashed to 64 bits: its owner
// (its function's match, else its type or function by name in its mapped
// file, else that file) with its rule and text.
std::uint64_t NoticeKey(const GateNotice& n, const TableHashes& t, long long functionKey, long long classKey) {
  const std::uint64_t path = t.path[static_cast<std::size_t>(n.path)];
  std::uint64_t h;
  if (functionKey >= 0) h = Mix(1, static_cast<std::uint64_t>(functionKey));
  else if (functionKey < -1) h = Mix(2, static_cast<std::uint64_t>(-functionKey));
  else if (classKey >= 0) h = Mix(5, static_cast<std::uint64_t>(classKey));
  else if (classKey < -1) h = Mix(6, static_cast<std::uint64_t>(-classKey));
  else if (n.entity >= 0) h = Mix(Mix(Mix(3, static_cast<unsigned char>(n.entityKind)), path), t.name[static_cast<std::size_t>(n.entity)]);
  else h = Mix(4, path);
  const std::uint64_t keyword = n.keyword >= 0 ? t.name[static_cast<std::size_t>(n.keyword)] : 0;
  return Mix(Mix(Mix(h, t.rule[static_cast<std::size_t>(n.rule)]), keyword), n.textHash);
}

// Classes, structs and interfaces: exactly by mapped path, name and
// occurrence, then by a name unique in the whole tree on both sides (a type
// moved to another file). Returns the base index of each head type, or -1.
std::vector<int> MatchClasses(const GateSnapshot& base, const GateSnapshot& head,
                              const std::unordered_map<std::string, std::string>& renames) {
  std::vector<int> headBase(head.classes.size(), -1);
  std::vector<bool> baseUsed(base.classes.size(), false);
  std::unordered_map<std::string, int> exact;
  for (int i = 0; i < static_cast<int>(base.classes.size()); ++i) {
    const GateClass& c = base.classes[static_cast<std::size_t>(i)];
    auto it = renames.find(c.path);
    exact.try_emplace(Join({it != renames.end() ? it->second : c.path, c.name, std::to_string(c.occurrence)}), i);
  }
  for (int j = 0; j < static_cast<int>(head.classes.size()); ++j) {
    const GateClass& c = head.classes[static_cast<std::size_t>(j)];
    auto it = exact.find(Join({c.path, c.name, std::to_string(c.occurrence)}));
    if (it == exact.end() || baseUsed[static_cast<std::size_t>(it->second)]) continue;
    headBase[static_cast<std::size_t>(j)] = it->second;
    baseUsed[static_cast<std::size_t>(it->second)] = true;
  }
  struct Slot {
    int index = -1;
    int count = 0;
  };
  std::unordered_map<std::string, Slot> baseNames, headNames;
  for (int i = 0; i < static_cast<int>(base.classes.size()); ++i) {
    if (baseUsed[static_cast<std::size_t>(i)]) continue;
    Slot& slot = baseNames[base.classes[static_cast<std::size_t>(i)].name];
    if (slot.count++ == 0) slot.index = i;
  }
  for (int j = 0; j < static_cast<int>(head.classes.size()); ++j) {
    if (headBase[static_cast<std::size_t>(j)] >= 0) continue;
    Slot& slot = headNames[head.classes[static_cast<std::size_t>(j)].name];
    if (slot.count++ == 0) slot.index = j;
  }
  for (const auto& [name, h] : headNames) {
    auto it = baseNames.find(name);
    if (it != baseNames.end() && it->second.count == 1 && h.count == 1)
      headBase[static_cast<std::size_t>(h.index)] = it->second.index;
  }
  return headBase;
}

// The type records of a snapshot by path and name (the first of each), for
// the notices that name a type.
class TypeIndex {
 public:
  explicit TypeIndex(const GateSnapshot& s) : s_(s) {
    for (int i = 0; i < static_cast<int>(s.classes.size()); ++i)
      index_.try_emplace(Join({s.classes[static_cast<std::size_t>(i)].path, s.classes[static_cast<std::size_t>(i)].name}), i);
  }
  int Find(const GateNotice& n) const {
    if (n.entityKind == 0 || n.entityKind == 'f' || index_.empty()) return -1;
    const std::string& entity = s_.EntityOf(n);
    auto it = index_.find(Join({s_.PathOf(n), n.entityKind == 'i' ? "Interface-" + entity : entity}));
    return it != index_.end() ? it->second : -1;
  }

 private:
  const GateSnapshot& s_;
  std::unordered_map<std::string, int> index_;
};

}  // namespace

GateResult CompareSnapshots(const GateSnapshot& base, const GateSnapshot& head,
                            const std::unordered_map<std::string, std::string>& renames, const GateOptions& options) {
  GateResult result;
  FunctionMatcher functions(base, head, renames);
  functions.Run(result);
  std::sort(result.matched.begin(), result.matched.end(),
            [](const MatchedFunction& a, const MatchedFunction& b) { return a.head < b.head; });
  for (const MatchedFunction& m : result.matched) {
    if (m.how == FunctionMatch::Moved) ++result.movedCount;
    else if (m.how == FunctionMatch::Renamed) ++result.renamedCount;
    else ++result.matchedCount;
  }

  // Functions judged worse or new over the limit: their complexity notice
  // is not reported again.
  std::vector<bool> judged(head.functions.size(), false);
  for (const MatchedFunction& m : result.matched) {
    const GateFunction& b = base.functions[static_cast<std::size_t>(m.base)];
    const GateFunction& h = head.functions[static_cast<std::size_t>(m.head)];
    if (h.complexity <= b.complexity || (!options.anyRise && h.complexity <= options.limit)) continue;
    judged[static_cast<std::size_t>(m.head)] = true;
    result.findings.push_back(GateFinding{FindingKind::Worse, h.path, h.line,
                                          "complexity of " + h.name + " rose from " + std::to_string(b.complexity) +
                                              " to " + std::to_string(h.complexity) + " (limit " +
                                              std::to_string(options.limit) + ")"});
  }
  for (int j : result.newFunctions) {
    const GateFunction& h = head.functions[static_cast<std::size_t>(j)];
    if (h.complexity <= options.limit) continue;
    judged[static_cast<std::size_t>(j)] = true;
    result.findings.push_back(GateFinding{FindingKind::NewOverLimit, h.path, h.line,
                                          "new function " + h.name + " has complexity " +
                                              std::to_string(h.complexity) + " (limit " +
                                              std::to_string(options.limit) + ")"});
  }

  // Notices as multisets per owner: the base's counted in, the head's
  // counted out.
  const std::vector<int> classHeadBase = MatchClasses(base, head, renames);
  const TypeIndex baseTypes(base), headTypes(head);
  const TableHashes baseHashes(base, renames), headHashes(head, {});
  KeyCounts counts(base.notices.size());
  for (const GateNotice& n : base.notices)
    counts.Add(NoticeKey(n, baseHashes, n.function, n.function >= 0 ? -1 : baseTypes.Find(n)));
  result.newNotices.assign(head.notices.size(), false);
  for (std::size_t k = 0; k < head.notices.size(); ++k) {
    const GateNotice& n = head.notices[k];
    long long functionKey = -1, classKey = -1;
    if (n.function >= 0) {
      const int b = functions.headBase()[static_cast<std::size_t>(n.function)];
      functionKey = b >= 0 ? b : -2 - n.function;
    } else if (const int type = headTypes.Find(n); type >= 0) {
      const int b = classHeadBase[static_cast<std::size_t>(type)];
      classKey = b >= 0 ? b : -2 - type;
    }
    if (counts.Take(NoticeKey(n, headHashes, functionKey, classKey))) {
      ++result.noticesUnchanged;
      continue;
    }
    ++result.noticesNew;
    result.newNotices[k] = true;
    const std::string& rule = head.RuleOf(n);
    if (n.function >= 0 && judged[static_cast<std::size_t>(n.function)] && rule == options.complexityRule) continue;
    result.findings.push_back(GateFinding{FindingKind::NewNotice, head.PathOf(n), n.line, rule + " " + NoticeText(head, n)});
  }
  result.noticesFixed = counts.Left();

  std::sort(result.findings.begin(), result.findings.end(), [](const GateFinding& a, const GateFinding& b) {
    if (a.path != b.path) return a.path < b.path;
    if (a.line != b.line) return a.line < b.line;
    return a.message < b.message;
  });
  return result;
}
