// Matching the functions and notices of two gate snapshots and judging what
// got worse. Every pass works on what the earlier passes left, through hash
// tables: linear in the number of functions and notices.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "gate/snapshot.h"

enum class FunctionMatch { Exact, SameName, Moved, Renamed };

struct MatchedFunction {
  int base = -1;
  int head = -1;
  FunctionMatch how = FunctionMatch::Exact;
};

enum class FindingKind { Worse, NewOverLimit, NewNotice };

struct GateFinding {
  FindingKind kind = FindingKind::NewNotice;
  std::string path;  // the head's path
  int line = 1;
  std::string message;
};

struct GateOptions {
  int limit = 10;         // the complexity limit
  bool anyRise = false;   // -xGATEANY
  std::string complexityRule = "LQA028";  // the notice that repeats a complexity finding
};

struct GateResult {
  std::vector<MatchedFunction> matched;
  std::vector<int> newFunctions;      // head indices
  std::vector<int> removedFunctions;  // base indices
  long long matchedCount = 0, movedCount = 0, renamedCount = 0;
  long long noticesUnchanged = 0, noticesNew = 0, noticesFixed = 0;
  std::vector<bool> newNotices;       // per head notice: new (else unchanged)
  std::vector<GateFinding> findings;  // sorted by path, line and message
};

// renames maps base paths to head paths (from git, or empty).
GateResult CompareSnapshots(const GateSnapshot& base, const GateSnapshot& head,
                            const std::unordered_map<std::string, std::string>& renames, const GateOptions& options);
