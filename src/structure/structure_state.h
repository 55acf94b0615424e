// State of function, class and namespace recognition across the lines of a file.
#pragma once

// Function, class and namespace recognition keeps its nesting indexes, name
// buffers and accumulators here; ResetState clears it for every file.
struct StructureState {
  int funcname_flag = 0;        // a function name is pending until its body opens
  int functionScopeOpen = 0;    // a function body is open
  int classNamePending = 0;     // a class name is still being read
  int classMarker = 1;          // class-recognition marker set to 1 by ResetState
  int classBodyDepth = 0;       // class bodies open around the current line
};
