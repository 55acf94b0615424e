// A run record with class and interface records made by hand, the forest
// built from them, and the report captured.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "capture_out.h"
#include "common/gcd.h"
#include "inheritance/forest.h"
#include "inheritance/inheritance.h"
#include "structure/entity_records.h"

class Forest {
 public:
  std::unique_ptr<GlobalData> gcd = NewGlobalData();
  std::string buildOutput;

  // A class record; bases is the normalised base list ("A,B<int,char>").
  NodeData& Class(const std::string& name, const std::string& bases = "", const char* file = "a.cpp",
                  int line = 1) {
    return Add(gcd->lists.classes, name, bases, file, line);
  }
  // An interface record: kept as a class named "Interface-...".
  NodeData& Interface(const std::string& name, const std::string& bases = "", const char* file = "a.cs",
                      int line = 1) {
    return Add(gcd->lists.interfaces, "Interface-" + name, bases, file, line);
  }

  void Build() {
    buildOutput = CaptureOut([&] { BuildInheritanceTree(*gcd); });
  }
  std::string Report(OutputMode mode = OutputMode::Text) {
    if (!gcd->inh.built) Build();
    gcd->sw.outputMode = mode;
    return CaptureOut([&] { ReportInheritanceTree(*gcd); });
  }
  // The node lines of the text report, without the blank lines around roots.
  std::vector<std::string> Tree() {
    std::vector<std::string> lines;
    const std::string text = Report();
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (line.find(" [D") != std::string::npos) lines.push_back(line);
      start = end + 1;
    }
    return lines;
  }
  const TreeData* Root(const std::string& name) const {
    for (const TreeData& r : gcd->inh.forest.items)
      if (r.name == name) return &r;
    return nullptr;
  }

 private:
  NodeData& Add(Llist<NodeData>& list, const std::string& name, const std::string& bases, const char* file,
                int line) {
    auto r = std::make_unique<NodeData>();
    r->name = name;
    r->text2 = bases;
    r->fileName = file;
    r->line = line;
    ClassParents(*r) = bases.empty() ? 0 : static_cast<int>(SplitBaseList(bases).size());
    return *LlistAdd(list, std::move(r), nullptr, 0)->data;
  }
};

class ForestTest : public ::testing::Test, public Forest {};

using Lines = std::vector<std::string>;
