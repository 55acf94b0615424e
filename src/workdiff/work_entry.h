// What the slots of a NodeData record hold in a work file list (one record
// per file of a baseline) and in a differential list (one record per file
// state of a comparison).
//
//   name        file name          text1   stored data file path
//   slot1       file date          parameters  file size
//   loc, eloc, lloc, comments, blanks, lines    line metrics
//   cyclomatic  cyclomatic complexity
//   slot3       quality notices    slot4   interface complexity
//   slot5       functions          slot6   total complexity
//   state       work state (WorkState)
//   ratio       eLOC percent change (differential records)
//   slot7       1 when the record is not processed for the report
#pragma once

#include "common/records.h"
#include "workdiff/workdiff_state.h"

enum WorkState {
  kWorkUnprocessed = 0,
  kWorkEqual = 1,
  kWorkModified = 2,
  kWorkDifferential = 3,
  kWorkRemoved = 4,
  kWorkNew = 5,
  kWorkPaired = 6,
  kWorkTotal = 7,
};

// "Unp", "Equ", "Mod", "Dif", "Rem", "New", "Prc", "Tot"; "Unp" out of range.
const char* WorkStateName(int state);

inline int NodeData::*const kMetricSlots[kDiffMetricCount] = {
    &NodeData::loc,   &NodeData::eloc,  &NodeData::lloc,       &NodeData::comments,
    &NodeData::blanks, &NodeData::lines, &NodeData::slot5,     &NodeData::cyclomatic,
    &NodeData::slot4, &NodeData::slot6, &NodeData::slot3,
};

inline int& EntryMetric(NodeData& e, int metric) { return e.*kMetricSlots[metric]; }
inline int EntryMetric(const NodeData& e, int metric) { return e.*kMetricSlots[metric]; }
inline int& EntryDate(NodeData& e) { return e.slot1; }
inline int EntryDate(const NodeData& e) { return e.slot1; }
inline int& EntrySize(NodeData& e) { return e.parameters; }
inline int EntrySize(const NodeData& e) { return e.parameters; }
inline int& EntryUnprocessed(NodeData& e) { return e.slot7; }
inline int EntryUnprocessed(const NodeData& e) { return e.slot7; }
