// Pairing the files of two baselines: each file is removed, new, changed or
// equal, with the change of every metric, in a differential list.
#pragma once

#include "common/llist.h"
#include "common/records.h"

struct GlobalData;

// Pairs the older and the newer work file lists by name and appends one
// differential record per file state to diff (work_entry.h); fills the older,
// newer and work totals of gcd.wd. With -wd every pair's data files (found
// beside gcd.wd.olderWorkFile and newerWorkFile) are compared line by line.
void DiffWorkLists(Llist<NodeData>& older, Llist<NodeData>& newer, Llist<NodeData>& diff, GlobalData& gcd);
