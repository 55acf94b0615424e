// Feeds source lines to a fresh line engine the way the driver does, for
// tests of the counters and of structure recognition.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "capture_out.h"
#include "common/gcd.h"
#include "structure/entity_records.h"

enum class SourceLang { C, Cpp, Java, CSharp };

class FeedEngine {
 public:
  explicit FeedEngine(SourceLang lang = SourceLang::C) : gcd_(NewGlobalData()) {
    ResetState(*gcd_);
    LanguageState& l = gcd_->lang;
    l.isC = lang == SourceLang::C;
    l.isCpp = lang == SourceLang::Cpp;
    l.isJava = lang == SourceLang::Java;
    l.isCSharp = lang == SourceLang::CSharp;
    gcd_->sw.functionAnalysis = 1;
    gcd_->drv.currentFileName = fileName_.c_str();
  }
  // Feeds the lines (each gets a line feed) and returns what was reported.
  std::string Feed(const std::vector<std::string>& lines) {
    return CaptureOut([&] {
      for (const auto& text : lines) {
        std::string line = text + "\n";
        ++gcd_->drv.lineNumber;
        ++gcd_->eng.fc.physical;
        ParseLine(line.c_str(), gcd_->drv.lineNumber, *gcd_);
        gcd_->eng.lex.region_flag = 0;
      }
    });
  }
  GlobalData& gcd() { return *gcd_; }
  const GlobalData& gcd() const { return *gcd_; }
  Switches& sw() { return gcd_->sw; }
  const FileCounts& fc() const { return gcd_->eng.fc; }
  // The names of the function records, in the order their bodies closed.
  std::vector<std::string> Functions() const { return Names(gcd_->lists.functions); }
  std::vector<std::string> Classes() const { return Names(gcd_->lists.classes); }
  std::vector<std::string> Interfaces() const { return Names(gcd_->lists.interfaces); }
  std::vector<std::string> Namespaces() const { return Names(gcd_->lists.namespaces); }
  const NodeData* Function(const std::string& name) const { return Find(gcd_->lists.functions, name); }
  const NodeData* Class(const std::string& name) const { return Find(gcd_->lists.classes, name); }
  const NodeData* Namespace(const std::string& name) const { return Find(gcd_->lists.namespaces, name); }

 private:
  static std::vector<std::string> Names(const Llist<NodeData>& list) {
    std::vector<std::string> out;
    for (const NodeData& r : list) out.push_back(r.name);
    return out;
  }
  static const NodeData* Find(const Llist<NodeData>& list, const std::string& name) {
    for (const NodeData& r : list)
      if (r.name == name) return &r;
    return nullptr;
  }
  std::string fileName_ = "src.x";
  std::unique_ptr<GlobalData> gcd_;
};
