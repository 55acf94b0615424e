// The four project listings: re-sort by the -k key, heading, entries and
// summary; and the sort line they share with the file summary.
#include <cstdio>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "reports/entity_listing.h"
#include "reports/entity_metrics.h"
#include "reports/format.h"
#include "reports/listing_rows.h"
#include "reports/listing_threads.h"
#include "reports/report_text.h"
#include "structure/entity_records.h"

namespace {

constexpr const char* kSortKeyNames[] = {
    "No Sort Method", "Name", "LOC", "eLOC", "lLOC", "Cylcomatic Complexity", "Work State", "Function Count",
    "Quality Notice Count", "File Date", "File Size",
};

const char* SortKeyName(int key) { return key >= 1 && key <= 10 ? kSortKeyNames[key] : kSortKeyNames[0]; }

struct Listing {
  const char* title;      // text title
  const char* xmlName;    // name element text
  const char* csvTitle;   // CSV title line
  const char* csvCount;   // CSV count line label
  RowLayout layout;
};

constexpr Listing kFunctionListing{"~~ Project Functional Metrics ~~", "Project Functional Metrics",
                                   "Project Functional Metrics", "Count", RowLayout::Function};
constexpr Listing kClassListing{"~~ Project Class/Struct Metrics ~~", "Project Class or Struct Metrics",
                                "Project Class Metrics", "Classes", RowLayout::Class};
constexpr Listing kInterfaceListing{"~~ Project Interface Metrics ~~", "Project Interface Metrics",
                                    "Project Interface Metrics", "Count", RowLayout::Class};
constexpr Listing kNamespaceListing{"~~ Project Namespace/Package Metrics ~~", "Project Namespace-Package Metrics",
                                    "Project Namespace/Package Metrics", "Count", RowLayout::Namespace};

constexpr const char* kNestedNote = "Parent LOC Metrics Include Nested LOC Metrics";

bool HoldsNested(const Llist<NodeData>& list) {
  for (const NodeData& r : list)
    if (ClassIsNested(r)) return true;
  return false;
}

void Heading(const Listing& listing, int count, bool nestedNote, GlobalData& gcd) {
  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutF("<report>\n<name>%s</name>\n", listing.xmlName);
      if (nestedNote) OutF("<note>%s</note>\n", kNestedNote);
      ShowSortMethod(gcd);
      break;
    case OutputMode::Csv:
      OutF("\n%s\n", listing.csvTitle);
      if (nestedNote) OutS("Class/Struct Metrics Include Nested Class/Struct Metrics\n");
      ShowSortMethod(gcd);
      OutF("%s,%d\n", listing.csvCount, count);
      OutS(ListingColumnHeader(listing.layout));
      break;
    case OutputMode::Html:
    case OutputMode::Text:
      OutS("\n");
      HyphenRule();
      OutS("\n");
      SectionTitle(listing.title, gcd);
      if (nestedNote) Center(kNestedNote);
      ShowSortMethod(gcd);
      OutS("\n");
      break;
  }
}

// Re-sorts the list by the -k key, writes the heading and, unless -Tl asks
// for the summaries only, one entry per record.
void HeadingAndEntries(Llist<NodeData>& list, const Listing& listing, bool nestedNote, EntryWriter entry,
                       GlobalData& gcd) {
  if (gcd.sw.sortKey > 0) LlistResort_NodeData(list, gcd.sw.sortKey, gcd);
  Heading(listing, list.count, nestedNote, gcd);
  if (gcd.sw.totalsSummariesOnly) return;
  WriteListingEntries(list, entry, gcd);
}

void CloseReport(GlobalData& gcd) {
  if (IsXml(gcd)) OutS("</report>\n");
}

}  // namespace

void ShowSortMethod(GlobalData& gcd) {
  const int key = gcd.sw.sortKey;
  const char* name = SortKeyName(key);
  if (key < 1 || key > 10) return;
  const bool descending = gcd.sw.sortDescending != 0;
  const char* direction = descending ? "- Descending" : "- Ascending";
  switch (ReportMode(gcd)) {
    case OutputMode::Xml:
      OutF("<sort_mode>%s</sort_mode>\n", name);
      OutF("<sort_direction>%s</sort_direction>\n", descending ? "Descending" : "Ascending");
      break;
    case OutputMode::Csv:
      OutF("Sorted By: %s %s\n", name, direction);
      break;
    case OutputMode::Html: {
      char plain[256], decorated[512];
      snprintf(plain, sizeof plain, "Sorted By: %s - %s", name, direction);
      snprintf(decorated, sizeof decorated, "<b><font color=\"%s\">Sorted By %s %s</font></b>",
               gcd.cfg.htmlHeaderColor.c_str(), name, direction);
      OutS("\n");
      Center_HTML(plain, decorated);
      break;
    }
    case OutputMode::Text: {
      char line[256];
      snprintf(line, sizeof line, "Sorted By: %s %s", name, direction);
      Center(line);
      break;
    }
  }
}

void ShowProjectFunctionSummary(GlobalData& gcd) {
  Llist<NodeData>& list = gcd.lists.functions;
  if (list.count < 1 || gcd.sw.functionsForClassesOnly) return;
  HeadingAndEntries(list, kFunctionListing, false, FunctionDataShow, gcd);
  TShowFunctionSummary(list, gcd);
  CloseReport(gcd);
}

void ShowProjectClassSummary(GlobalData& gcd) {
  Llist<NodeData>& list = gcd.lists.classes;
  if (list.count < 1) return;
  HeadingAndEntries(list, kClassListing, HoldsNested(list), ClassDataShow, gcd);
  TShowClassInterSummary(list, "Classes/Structs", 0, gcd);
  CloseReport(gcd);
}

void ShowProjectInterSummary(GlobalData& gcd) {
  Llist<NodeData>& list = gcd.lists.interfaces;
  if (list.count < 1) return;
  HeadingAndEntries(list, kInterfaceListing, false, InterDataShow, gcd);
  TShowClassInterSummary(list, "Interfaces", 1, gcd);
  CloseReport(gcd);
}

void ShowProjectNamespaceSummary(GlobalData& gcd) {
  Llist<NodeData>& list = gcd.lists.namespaces;
  if (list.count < 1) return;
  // The namespaces hold what the function and class summaries credit to
  // them; listings that did not run still have their records credited.
  CreditFunctionsToNamespaces(gcd);
  CreditClassesToNamespaces(gcd);
  HeadingAndEntries(list, kNamespaceListing, false, NamespaceDataShow, gcd);
  TShowNamespaceSummary(list, gcd);
  CloseReport(gcd);
}
