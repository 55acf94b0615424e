// The shared metric records (FileData, NodeData, NameData, DirMetrics), their
// comparators, the sort keys of -k and the list builders that use them.
#pragma once

#include <ctime>
#include <memory>
#include <string>

#include "common/llist.h"

struct GlobalData;

// One per input file: created with name, date and size when the file list is
// built, filled by the run driver at the end of the file.
struct FileData {
  std::string name;
  int date = 0;
  int size = 0;
  int language = -1;
  int loc = 0;
  int eloc = 0;
  int lloc = 0;
  int comments = 0;
  int blanks = 0;
  int lines = 0;
  int functions = 0;
  int parameters = 0;
  int returns = 0;
  int cyclomatic = 0;
  int notices = 0;
  int skippedLines = 0;
  double fpLoc = 0;
  double fpEloc = 0;
  double fpLloc = 0;
};

// One per named entity (function, class, namespace, directory, work file or
// differential entry). The creator of a list decides what the slots hold.
struct NodeData {
  std::string name;
  std::string text1;  // empty means absent
  std::string text2;
  std::string text3;
  const char* fileName = nullptr;  // borrowed: the file the entity was found in
  int slot1 = 0;
  int parameters = 0;
  int loc = 0;
  int eloc = 0;
  int lloc = 0;
  int cyclomatic = 0;
  int comments = 0;
  int blanks = 0;
  int lines = 0;
  int state = 0;
  float ratio = 0;
  int slot3 = 0;
  int slot4 = 0;
  int slot5 = 0;
  int slot6 = 0;
  int slot7 = 0;
  int slot8 = 0;
  int slot9 = 0;
  int line = 0;
  int slot10 = 0;
  int slot11 = 0;
  std::string text4;
};

// A directory record of the -F list: a NodeData whose loc, eloc, lloc,
// comments and lines accumulate its files and whose parameters counts them.
using DirMetrics = NodeData;

struct NameData {
  std::string name;
  unsigned value1 = 0;
  unsigned value2 = 0;
};

// Comparators: (new record, existing record, descending flag).
int CompName_FileData(const FileData* a, const FileData* b, int desc);
int CompLoc_FileData(const FileData* a, const FileData* b, int desc);
int CompEloc_FileData(const FileData* a, const FileData* b, int desc);
int CompLloc_FileData(const FileData* a, const FileData* b, int desc);
int CompCyclo_FileData(const FileData* a, const FileData* b, int desc);
int CompFunc_FileData(const FileData* a, const FileData* b, int desc);
int CompNotice_FileData(const FileData* a, const FileData* b, int desc);
int CompDate_FileData(const FileData* a, const FileData* b, int desc);
int CompSize_FileData(const FileData* a, const FileData* b, int desc);
int CompName_NodeData(const NodeData* a, const NodeData* b, int desc);
int CompLoc_NodeData(const NodeData* a, const NodeData* b, int desc);
int CompEloc_NodeData(const NodeData* a, const NodeData* b, int desc);
int CompLloc_NodeData(const NodeData* a, const NodeData* b, int desc);
int CompCyclo_NodeData(const NodeData* a, const NodeData* b, int desc);
int CompState_NodeData(const NodeData* a, const NodeData* b, int desc);
int CompName_NameData(const NameData* a, const NameData* b, int desc);

// The comparator of a -k sort key, null for arrival order.
LlistComparator<FileData> FileDataComparator(int sortKey);
LlistComparator<NodeData> NodeDataComparator(int sortKey);

// List builders. Each adds with the comparator of the sort key and the -kd
// direction of the run. They return 1, or 0 when memory runs out.
int AddFileNode(FileData record, Llist<FileData>& list, int sortKey, GlobalData& gcd);
int AddListNode(int sortKey, NodeData record, Llist<NodeData>& list, GlobalData& gcd);
int AddDirMetricsNode(const std::string& dirName, GlobalData& gcd);
int AddNameNode(const std::string& name, unsigned value1, unsigned value2, Llist<NameData>& list, int sorted,
                GlobalData& gcd);

// Re-sort a list by a sort key (a sorted flag for NameData) and the -kd direction.
void LlistResort_FileData(Llist<FileData>& list, int sortKey, GlobalData& gcd);
void LlistResort_NodeData(Llist<NodeData>& list, int sortKey, GlobalData& gcd);
void LlistResort_NameData(Llist<NameData>& list, int sorted, GlobalData& gcd);
