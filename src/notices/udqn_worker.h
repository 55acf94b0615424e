// User defined notices evaluated on worker threads. A worker's run record has
// its own copy of the run's definitions (patterns compiled again: a compiled
// pattern is lent a match record during each search, so two threads must not
// share one). Before each file the worker takes the run's flag table and stop
// state as merged so far; the file's log then says what the file read from
// them and changed, so that the main thread can tell whether a file merged in
// between has invalidated the worker's evaluation, and apply the changes in
// file order.
#pragma once

#include "notices/udqn_file_log.h"
#include "notices/udqn_state.h"

// Makes worker a copy of the run's definitions, indexes, flag table and stop
// state, with its own compiled patterns and match record; its hit counts
// start at zero. The run's state is only read.
void CopyUdqnForWorker(const UdqnState& run, UdqnState& worker);

// Before the worker analyses a file: brings the worker's flag table (when a
// definition checks flags) and stop state level with the run's, empties the
// log and attaches it to the worker. Called with the run's state stable. The
// log stays attached until the next call: a worker record that outlives the
// log is detached by setting worker.log to null.
void BeginUdqnFile(UdqnState& worker, const UdqnState& run, UdqnFileLog& log);

// True when the file's evaluation no longer holds for the run as merged up to
// the file before it: a flag the file read has another value now, or a
// definition that applied to the file was stopped by a file merged since it
// began. The file must then be analysed again with the run's own state.
bool UdqnOverturned(const UdqnFileLog& log, const UdqnState& run);

// Applies the file's changes to the run, in file order: the flags it wrote
// take their last values, its counts are added and its stops counted, so that
// the run ends as if the file had been evaluated in it.
void MergeUdqnFile(const UdqnFileLog& log, UdqnState& run);
