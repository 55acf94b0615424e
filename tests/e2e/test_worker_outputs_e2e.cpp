// A gate side run's snapshot made by workers that finish in reverse or
// shuffled order equals the serial one, with every file recorded in full or
// most of them summed up in digests. m2.c is analysed before m1.c, whose
// macro changes it, is merged: it is analysed again on the main thread, and
// nothing of the worker's first attempt may reach the snapshot, nor the
// later file whose analysis reuses that attempt's result.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dir_snapshot.h"
#include "test_support.h"

TEST(WorkerOutputs, GateSnapshotEqualsTheSerialOne) {
  TempDir dir, home, scratch;
  dir.Write("m1.c", "#define HANDLER(name) void name(int code)\nint size(void)\n{\n  return 4;\n}\n");
  dir.Write("m2.c", "int helper(int v)\n{\n  if (v > 2)\n    return v;\n  return 0;\n}\n"
                    "HANDLER(on_open)\n{\n  if (code)\n    helper(code);\n}\n");
  dir.Write("shape.h", "class Shape {\n public:\n  int area;\n  virtual int Area() { return area; }\n};\n");
  dir.Write("loops.c", "int sum(int n)\n{\n  int s = 0;\n  if (n > 9) goto done;\n  s = n;\ndone:\n  return s;\n}\n");
  std::vector<std::string> args = {"-xGATESNAP " + scratch.path() + "/side.snap", "m1.c", "m2.c", "shape.h",
                                   "loops.c"};
  // More files than the workers take ahead of the merge.
  for (int i = 0; i < 10; ++i) {
    const std::string n = std::to_string(i);
    dir.Write("f" + n + ".c", "int f" + n + "(int x)\n{\n  return x + " + n + ";\n}\n");
    args.push_back("f" + n + ".c");
  }
  // The gate names the files it records in full in a list beside the snapshot.
  scratch.Write("record.list", std::string("m2.c\0loops.c\0", 13));

  const auto snapshot = [&](const std::string& schedule, bool digests) {
    RunSetup setup;
    setup.env = {{"LQAHOME", home.path()}, {"LQA_TEST_SCHEDULE", schedule}};
    if (digests) setup.env.emplace_back("LQA_GATE_RECORD", scratch.path() + "/record.list");
    const RunResult r = RunLqaWith(args, dir.path(), setup);
    return "status " + std::to_string(r.status) + "\n" + r.err + scratch.Read("side.snap");
  };
  for (const bool digests : {false, true}) {
    const std::string serial = snapshot("jobs=1", digests);
    EXPECT_NE(serial.find("\"name\":\"helper\""), std::string::npos) << serial;
    EXPECT_EQ(serial.find("HANDLER"), std::string::npos) << serial;
    // Classes are written after the last file, from the merged records.
    EXPECT_EQ(Count(serial, "{\"kind\":\"class\",\"path\":\"shape.h\",\"name\":\"Shape\""), digests ? 0u : 1u);
    EXPECT_EQ(Count(serial, "\"kind\":\"digest\""), digests ? 12u : 0u) << serial;
    for (const char* schedule : {"jobs=3 order=reverse", "jobs=2 order=shuffle seed=5", "jobs=8 order=shuffle seed=11"})
      EXPECT_EQ(FirstDifferentLine(serial, snapshot(schedule, digests), "serial", "workers"), "")
          << schedule << (digests ? " with digests" : "");
  }
}
