#include "structure/structure_log.h"

#include <mutex>
#include <utility>

#include "common/gcd.h"
#include "common/run_share.h"
#include "structure/entity_index.h"
#include "structure/entity_records.h"

namespace {

StructureLog::Op& Log(StructureLog::Kind kind, GlobalData& gcd) {
  StructureLog::Op& op = gcd.st.log->ops.emplace_back();
  op.kind = kind;
  return op;
}

// Serially the record is placed when its body opens, with no sums yet; from
// a log, when the file is merged, with the sums its body gave it. Either way
// the sums are added to the record it becomes.
NodeData* PlaceNow(NodeData&& record, bool isInterface, GlobalData& gcd) {
  if (isInterface) return AddInterfaceRecord(std::move(record), gcd);
  NodeData* placeholder = TakePlaceholderClass(record.name, gcd);
  if (placeholder == nullptr) return AddClassRecord(std::move(record), gcd);
  // Functions of this class were seen before it: their record is its record.
  placeholder->text1 = record.text1;
  placeholder->text2 = record.text2;
  placeholder->fileName = record.fileName;
  placeholder->line = record.line;
  ClassParents(*placeholder) = ClassParents(record);
  ClassIsStruct(*placeholder) = ClassIsStruct(record);
  ClassIsNested(*placeholder) = ClassIsNested(record);
  if (ClassHoldsNested(record)) ClassHoldsNested(*placeholder) = 1;
  AddLineSums(*placeholder, record);
  AddMemberSums(*placeholder, record);
  return placeholder;
}

void EnsureNow(NodeData&& record, GlobalData& gcd) {
  if (FindNamespaceRecord(record.name, gcd) != nullptr) return;
  AddNamespaceRecord(std::move(record), gcd);
}

}  // namespace

void StructureLog::Clear() {
  ops.clear();
  namespaces.clear();
  missedNamespaces.clear();
}

NodeData* PlaceTypeRecord(NodeData record, bool isInterface, GlobalData& gcd) {
  if (gcd.st.log == nullptr) return PlaceNow(std::move(record), isInterface, gcd);
  StructureLog::Op& op = Log(isInterface ? StructureLog::Kind::Interface : StructureLog::Kind::Type, gcd);
  op.record = std::make_unique<NodeData>(std::move(record));
  return op.record.get();
}

void EnsureNamespaceRecord(const std::string& name, const char* fileName, int line, bool package, GlobalData& gcd) {
  NodeData record;
  record.name = name;
  record.fileName = fileName;
  record.line = line;
  NamespaceIsPackage(record) = package ? 1 : 0;
  StructureLog* log = gcd.st.log;
  if (log == nullptr) return EnsureNow(std::move(record), gcd);
  log->namespaces.insert(name);
  Log(StructureLog::Kind::Namespace, gcd).record = std::make_unique<NodeData>(std::move(record));
}

void PlaceFunctionRecord(NodeData record, GlobalData& gcd) {
  if (gcd.st.log == nullptr) {
    AddFunctionRecord(std::move(record), gcd);
    return;
  }
  Log(StructureLog::Kind::Function, gcd).record = std::make_unique<NodeData>(std::move(record));
}

void CreditFunction(FunctionCredit credit, GlobalData& gcd) {
  if (gcd.st.log == nullptr) return ApplyFunctionCredit(credit, gcd);
  Log(StructureLog::Kind::Credit, gcd).credit = std::make_unique<FunctionCredit>(std::move(credit));
}

bool IsNamespaceName(const std::string& name, GlobalData& gcd) {
  StructureLog* log = gcd.st.log;
  if (log == nullptr) return FindNamespaceRecord(name, gcd) != nullptr;
  if (log->namespaces.count(name) != 0) return true;
  const RunShare* share = gcd.drv.share;
  if (share != nullptr && share->index != nullptr) {
    std::shared_lock<std::shared_mutex> hold(share->lock);
    if (share->index->namespaces.count(name) != 0) return true;
  }
  log->missedNamespaces.push_back(name);
  return false;
}

int OverturnedNamespaceLookups(const StructureLog& log, const GlobalData& run) {
  int overturned = 0;
  for (const std::string& name : log.missedNamespaces) overturned += run.lists.index.namespaces.count(name) != 0;
  return overturned;
}

void ReplayStructureLog(StructureLog& log, GlobalData& run) {
  for (StructureLog::Op& op : log.ops) {
    switch (op.kind) {
      case StructureLog::Kind::Type:
      case StructureLog::Kind::Interface:
        PlaceNow(std::move(*op.record), op.kind == StructureLog::Kind::Interface, run);
        break;
      case StructureLog::Kind::Namespace:
        EnsureNow(std::move(*op.record), run);
        break;
      case StructureLog::Kind::Function:
        AddFunctionRecord(std::move(*op.record), run);
        break;
      case StructureLog::Kind::Credit:
        ApplyFunctionCredit(*op.credit, run);
        break;
    }
  }
  log.Clear();
}
