// Run state of the quality gate: what -G, -x"GATESNAP file" and -xGATEANY
// asked for, and the snapshot being written by this run.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/text.h"
#include "gate/snapshot.h"

// The snapshot writer of the run (snapshot_writer.cpp).
class GateSnapshotWriter;
struct GateSnapshotWriterFree {
  void operator()(GateSnapshotWriter* writer) const;
};

// A file analysed by a worker: the records of the functions it closed and
// its path in the snapshot, written by the run's writer when it is merged.
struct GateFileRecords {
  std::vector<GateFunction> functions;
  std::string path;
  bool due = false;  // the file reached its end: its block is written at the merge
  void Clear() {
    functions.clear();
    path.clear();
    due = false;
  }
};

struct GateState {
  int requested = 0;      // -G: compare two sides instead of reporting on one
  std::string spec;       // the -G argument: "BASE [HEAD]"
  int anyRise = 0;        // -xGATEANY: every rise of a function's complexity fails
  std::string snapshotFile;  // -x"GATESNAP file"
  std::unique_ptr<GateSnapshotWriter, GateSnapshotWriterFree> writer;
  // A snapshot is written: set with the writer, and on a worker's record,
  // which has no writer and hands its files' records to the merge.
  int writing = 0;
  int hashBodies = 0;  // the current file's function bodies are hashed
  // A side run analysing the base in the head's directory: the input files
  // read from the base's own directory instead (gate_overlay.h).
  std::unordered_map<std::string, std::string> readFrom;
  // On a worker's record: the run's readFrom, complete before workers start.
  const std::unordered_map<std::string, std::string>* runReadFrom = nullptr;
};

// FNV-1a 64 of a function body's code, blanks left out, fed line by line
// while the body is open (only when a snapshot is written).
inline constexpr std::uint64_t kBodyHashBasis = 0xcbf29ce484222325ULL;
inline std::uint64_t BodyHashUpdate(std::uint64_t h, const char* text, int length) {
  if (length <= 0) return h;
  ForNonBlankBytes(std::string_view(text, static_cast<std::size_t>(length)),
                   [&h](const unsigned char* kept, std::size_t k) {
                     for (std::size_t i = 0; i < k; ++i) h = (h ^ kept[i]) * 0x100000001b3ULL;
                   });
  return h;
}
