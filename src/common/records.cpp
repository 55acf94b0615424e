#include "common/records.h"

#include <cerrno>
#include <cstring>

#include "common/error_text.h"
#include "common/gcd.h"
#include "common/output.h"

namespace {

// Numeric order: below 1 when new <= existing (ascending) or new >= existing.
int CompareNumber(long long a, long long b, int desc) {
  if (desc) return a >= b ? -1 : 1;
  return a <= b ? -1 : 1;
}

template <class T, class V>
int CompareField(const T* a, const T* b, int desc, V T::*field) {
  if (a == nullptr || b == nullptr) return -1;
  return CompareNumber(static_cast<long long>(a->*field), static_cast<long long>(b->*field), desc);
}

template <class T>
int CompareName(const T* a, const T* b) {
  if (a == nullptr || b == nullptr) return -1;
  return std::strcoll(a->name.c_str(), b->name.c_str());
}

void ReportNoMemory() { OutF("\n  Error: memory allocation failure\n"); }

}  // namespace

int CompName_FileData(const FileData* a, const FileData* b, int desc) {
  int r = CompareName(a, b);
  if (a == nullptr || b == nullptr) return r;
  // Descending: below 1 when new >= existing.
  if (desc) return r >= 0 ? (r == 0 ? 0 : -1) : 1;
  return r;
}
int CompLoc_FileData(const FileData* a, const FileData* b, int d) { return CompareField(a, b, d, &FileData::loc); }
int CompEloc_FileData(const FileData* a, const FileData* b, int d) { return CompareField(a, b, d, &FileData::eloc); }
int CompLloc_FileData(const FileData* a, const FileData* b, int d) { return CompareField(a, b, d, &FileData::lloc); }
int CompCyclo_FileData(const FileData* a, const FileData* b, int d) {
  return CompareField(a, b, d, &FileData::cyclomatic);
}
int CompFunc_FileData(const FileData* a, const FileData* b, int d) {
  return CompareField(a, b, d, &FileData::functions);
}
int CompNotice_FileData(const FileData* a, const FileData* b, int d) {
  return CompareField(a, b, d, &FileData::notices);
}
int CompDate_FileData(const FileData* a, const FileData* b, int d) { return CompareField(a, b, d, &FileData::date); }
int CompSize_FileData(const FileData* a, const FileData* b, int d) { return CompareField(a, b, d, &FileData::size); }

int CompName_NodeData(const NodeData* a, const NodeData* b, int) { return CompareName(a, b); }
int CompLoc_NodeData(const NodeData* a, const NodeData* b, int d) { return CompareField(a, b, d, &NodeData::loc); }
int CompEloc_NodeData(const NodeData* a, const NodeData* b, int d) { return CompareField(a, b, d, &NodeData::eloc); }
int CompLloc_NodeData(const NodeData* a, const NodeData* b, int d) { return CompareField(a, b, d, &NodeData::lloc); }
int CompCyclo_NodeData(const NodeData* a, const NodeData* b, int d) {
  return CompareField(a, b, d, &NodeData::cyclomatic);
}
int CompState_NodeData(const NodeData* a, const NodeData* b, int d) {
  return CompareField(a, b, d, &NodeData::state);
}
int CompName_NameData(const NameData* a, const NameData* b, int) { return CompareName(a, b); }

LlistComparator<FileData> FileDataComparator(int sortKey) {
  switch (sortKey) {
    case 1: return CompName_FileData;
    case 2: return CompLoc_FileData;
    case 3: return CompEloc_FileData;
    case 4: return CompLloc_FileData;
    case 5: return CompCyclo_FileData;
    case 7: return CompFunc_FileData;
    case 8: return CompNotice_FileData;
    case 9: return CompDate_FileData;
    case 10: return CompSize_FileData;
    default: return nullptr;
  }
}

LlistComparator<NodeData> NodeDataComparator(int sortKey) {
  switch (sortKey) {
    case 1: return CompName_NodeData;
    case 2: return CompLoc_NodeData;
    case 3: return CompEloc_NodeData;
    case 4: return CompLloc_NodeData;
    case 5: return CompCyclo_NodeData;
    case 6: return CompState_NodeData;
    default: return nullptr;
  }
}

namespace {
template <class T>
int AddRecord(Llist<T>& list, T&& record, LlistComparator<T> cmp, int desc) {
  auto rec = std::unique_ptr<T>(new (std::nothrow) T(std::move(record)));
  if (!rec || LlistAdd(list, std::move(rec), cmp, desc) == nullptr) {
    ReportNoMemory();
    return 0;
  }
  return 1;
}
}  // namespace

int AddFileNode(FileData record, Llist<FileData>& list, int sortKey, GlobalData& gcd) {
  return AddRecord(list, std::move(record), FileDataComparator(sortKey), gcd.sw.sortDescending);
}

int AddListNode(int sortKey, NodeData record, Llist<NodeData>& list, GlobalData& gcd) {
  return AddRecord(list, std::move(record), NodeDataComparator(sortKey), gcd.sw.sortDescending);
}

int AddDirMetricsNode(const std::string& dirName, GlobalData& gcd) {
  DirMetrics dir;
  dir.name = dirName;
  return AddRecord(gcd.lists.directories, std::move(dir), &CompName_NodeData, 0);
}

int AddNameNode(const std::string& name, unsigned value1, unsigned value2, Llist<NameData>& list, int sorted,
                GlobalData&) {
  NameData rec{name, value1, value2};
  return AddRecord(list, std::move(rec), sorted ? &CompName_NameData : nullptr, 0);
}

namespace {
template <class T>
void Resort(Llist<T>& list, LlistComparator<T> cmp, int desc) {
  if (!LlistResortBy(list, cmp, desc)) OutF("  Memory Error: %s\n", ErrorText(ENOMEM));
}
}  // namespace

void LlistResort_FileData(Llist<FileData>& list, int sortKey, GlobalData& gcd) {
  Resort(list, FileDataComparator(sortKey), gcd.sw.sortDescending);
}
void LlistResort_NodeData(Llist<NodeData>& list, int sortKey, GlobalData& gcd) {
  Resort(list, NodeDataComparator(sortKey), gcd.sw.sortDescending);
}
void LlistResort_NameData(Llist<NameData>& list, int sorted, GlobalData&) {
  Resort(list, sorted ? &CompName_NameData : nullptr, 0);
}
