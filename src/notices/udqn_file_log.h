// What one file's user notice evaluation read from and changed in the run's
// user notice state, when the file is analysed on a worker: the worker's own
// state moves as it would in the run, and the log carries the changes to the
// run at the file's merge (udqn_worker.h).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct UdqnFlagValue {
  int flag = 0;
  int value = 0;
};

struct UdqnFileLog {
  // The flags the file read before writing them itself, with the value seen:
  // the file's evaluation holds as long as the run has the same values.
  std::vector<UdqnFlagValue> reads;
  // The flags the file wrote, each once, with the last value written.
  std::vector<UdqnFlagValue> writes;
  // Counted notices by definition index, and the indexes that have any.
  std::vector<int> hits;
  std::vector<int> hitDefs;
  // Definitions whose search the file stopped, in the order of the stops,
  // and the file's serial the stops are marked with.
  std::vector<int> stopped;
  int stoppedSerial = -1;
  // The run's count of stops when the file began, and the extension that
  // chose the file's definitions (selected false: none applied).
  std::size_t stopsSeen = 0;
  std::string source;
  bool selected = false;
  // Per flag: 0 not met yet, -1 read, n > 0 written as writes[n - 1].
  std::vector<short> flagMark;

  // Empties the log for the next file; its memory is kept.
  void Clear() {
    for (const UdqnFlagValue& r : reads) flagMark[static_cast<std::size_t>(r.flag)] = 0;
    for (const UdqnFlagValue& w : writes) flagMark[static_cast<std::size_t>(w.flag)] = 0;
    for (int d : hitDefs) hits[static_cast<std::size_t>(d)] = 0;
    reads.clear();
    writes.clear();
    hitDefs.clear();
    stopped.clear();
    stoppedSerial = -1;
    stopsSeen = 0;
    source.clear();
    selected = false;
  }
  // A flag about to be read with this value.
  void Read(int flag, int value) {
    short& mark = flagMark[static_cast<std::size_t>(flag)];
    if (mark != 0) return;
    mark = -1;
    reads.push_back({flag, value});
  }
  void Write(int flag, int value) {
    short& mark = flagMark[static_cast<std::size_t>(flag)];
    if (mark > 0) {
      writes[static_cast<std::size_t>(mark - 1)].value = value;
      return;
    }
    writes.push_back({flag, value});
    mark = static_cast<short>(writes.size());
  }
  void Hit(int index) {
    int& count = hits[static_cast<std::size_t>(index)];
    if (count++ == 0) hitDefs.push_back(index);
  }
};
