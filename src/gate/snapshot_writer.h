// Writing the gate snapshot of a run (-x"GATESNAP file"): the driver opens
// it after the notice documents, structure recognition hands it every
// function it closes, the notice documents every file's captured notices,
// and the driver completes it (classes and the end line) after the last file.
#pragma once

#include <cstdint>
#include <string_view>

struct GlobalData;
struct FileNotices;
struct NodeData;

// -x"GATESNAP file": turns on quality notices and function and class
// analysis, as -n -fa -o at the same place of the command line.
void RequestGateSnapshot(std::string_view file, GlobalData& gcd);
// Opens the snapshot under a temporary name; a snapshot that cannot be
// created ends the run with status 1 before anything is analysed.
void OpenGateSnapshot(GlobalData& gcd);
// At the start of each file: whether its function bodies are hashed (and so
// the engine keeps the code text of its lines).
void GateFileBegins(GlobalData& gcd);
// A function body closed: its record, the line of its name and its body
// hash (a worker keeps it for its file's merge).
void GateFunctionClosed(const NodeData& record, int nameLine, std::uint64_t bodyHash, GlobalData& gcd);
// A file's analysis ended: its functions and notices are written. On a
// worker (the file's notices deferred to its merge) only its path is kept.
void GateFileEnd(const FileNotices& notices, GlobalData& gcd);
// At a worker's file's merge: writes what GateFunctionClosed and GateFileEnd
// kept of it, exactly as they would have written it in a serial run.
struct GateFileRecords;
void WriteDeferredGateFile(GateFileRecords& file, const FileNotices& notices, GlobalData& gcd);
// Writes the notices raised after the last file, the classes and the end
// line, and renames the snapshot into place. Returns status, or 1 when it
// could not be completed.
int FinishGateSnapshot(int status, GlobalData& gcd);
