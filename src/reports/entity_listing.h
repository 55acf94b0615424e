// The function, class, interface and namespace reports written after the
// analysis: the per-file function summary, the four project listings with
// their entries and summaries, and the sort line.
#pragma once

#include "common/records.h"

struct GlobalData;
class FileLanguage;

// The function summary of the current file (its statistics in gcd.eng).
void ShowFileFunctionSummary(GlobalData& gcd);

// Project listings: heading, one entry per record, the summary.
void ShowProjectFunctionSummary(GlobalData& gcd);
void ShowProjectClassSummary(GlobalData& gcd);
void ShowProjectInterSummary(GlobalData& gcd);
void ShowProjectNamespaceSummary(GlobalData& gcd);

// One listing entry each. The language cache makes each record's file the
// current language for its function points.
void FunctionDataShow(const NodeData& record, FileLanguage& language, GlobalData& gcd);
void ClassDataShow(const NodeData& record, FileLanguage& language, GlobalData& gcd);
void InterDataShow(const NodeData& record, FileLanguage& language, GlobalData& gcd);
void NamespaceDataShow(const NodeData& record, FileLanguage& language, GlobalData& gcd);

// Totals, averages, maxima and minima of a list. The function summary
// credits the functions to their namespaces, the class summary the classes.
void TShowFunctionSummary(Llist<NodeData>& list, GlobalData& gcd);
void TShowClassInterSummary(Llist<NodeData>& list, const char* listName, int interfaces, GlobalData& gcd);
void TShowNamespaceSummary(Llist<NodeData>& list, GlobalData& gcd);

// Credits every function (and every class) to its namespace once per run.
void CreditFunctionsToNamespaces(GlobalData& gcd);
void CreditClassesToNamespaces(GlobalData& gcd);

// The "Sorted By" line of the -k key; nothing without a key.
void ShowSortMethod(GlobalData& gcd);
