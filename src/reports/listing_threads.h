// The entries of a project listing, formatted on the run's worker threads
// when the list is long: a tree the size of Linux lists half a million
// functions after its last file, with no file left to analyse beside them.
#pragma once

#include "common/llist.h"

struct GlobalData;
struct NodeData;
class FileLanguage;

using EntryWriter = void (*)(const NodeData&, FileLanguage&, GlobalData&);

// Writes entry(record) for every record of the list, in list order: the
// same bytes, and the same current language afterwards, as one loop on the
// calling thread, which is what a run analysed on one thread gets.
void WriteListingEntries(const Llist<NodeData>& list, EntryWriter entry, GlobalData& gcd);
