// The documents a gate run writes about its head: the SARIF log (each
// result marked new or unchanged), the GitLab report, the dashboard page and
// the snapshot. The head's run writes them into the gate's temporary
// directory beside its snapshot; they replace their targets only once the
// two sides have been compared.
#pragma once

#include <string>
#include <vector>

struct GlobalData;

class GateDocuments {
 public:
  // The documents the switches ask for. False with a reason for one that
  // would go to the report stream, which carries the gate's report.
  bool Collect(const GlobalData& gcd, std::string& error);
  bool empty() const { return docs_.empty(); }
  // Whether one of them needs the head analysed (all but its snapshot).
  bool NeedAnalysedHead() const;
  // The -x arguments that make the head's run write them into dir.
  std::vector<std::string> HeadArguments(const std::string& dir);
  // Writes every target: the SARIF log from the head's with newNotices
  // (one per head notice) as baseline states and, when rootUri is not
  // empty, that source root; the others as the head's run wrote them, the
  // snapshot from headSnapshot. False with a reason at the first failure.
  bool Publish(const std::string& headSnapshot, const std::vector<bool>& newNotices, const std::string& rootUri,
               std::string& error) const;

 private:
  enum class Kind { Sarif, Gitlab, Dashboard, Snapshot };
  struct Document {
    Kind kind;
    std::string target;  // as the switch named it
    std::string temp;    // written by the head's run
  };
  std::vector<Document> docs_;
};
