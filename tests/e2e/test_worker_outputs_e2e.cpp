// Outputs made by worker threads that must equal the serial run's: a gate
// side run's snapshot (every file in full, or most summed up in digests),
// the line trace and extraction. The workers finish in reverse or shuffled
// order, so the second file is analysed before the first, whose macro
// changes it, is merged: that file is analysed again, and nothing of the
// worker's first attempt may reach the snapshot.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "dir_snapshot.h"
#include "parallel_check.h"
#include "test_support.h"

namespace {

// The first line where two reports differ, clock readings aside.
std::string ReportDifference(const RunResult& serial, const RunResult& workers, std::time_t from) {
  const std::time_t to = std::time(nullptr);
  return FirstDifferentLine(MaskRunNoise(serial.out, from, to), MaskRunNoise(workers.out, from, to), "serial",
                            "workers");
}

const std::vector<std::string> kSchedules = {"jobs=3 order=reverse", "jobs=2 order=shuffle seed=5",
                                             "jobs=8 order=shuffle seed=11"};

class WorkerOutputs : public ::testing::Test {
 protected:
  TempDir dir, home, scratch;
  std::vector<std::string> files = {"m1.c", "m2.c", "shape.h", "loops.c", "text.c"};

  void SetUp() override {
    dir.Write("m1.c", "/* Declares the handler macro. */\n#define HANDLER(name) void name(int code)\n\n"
                      "int registry_size(void)\n{\n  return 4;\n}\n");
    dir.Write("m2.c", "int helper(int v)\n{\n  if (v > 2)\n    return v;\n  return 0;\n}\n\n"
                      "HANDLER(on_open)\n{\n  if (code)\n    helper(code);\n}\n");
    dir.Write("shape.h", "class Shape {\n public:\n  int area;\n  virtual int Area() { return area; }\n};\n");
    dir.Write("loops.c", "int sum(int n)\n{\n  int s = 0;\n  for (int i = 0; i < n; ++i)\n    s += i;\n"
                         "  if (s > 9) goto done;\n  s = 1;\ndone:\n  return s;\n}\n");
    dir.Write("text.c", "/* Greets <once> & says so. */\nchar *greet(void)\n{\n"
                        "  return \"hello, world\"; // said once\n}\n");
    // More files than the workers take ahead of the merge: their results
    // are reused, also the one whose file was analysed again.
    for (int i = 0; i < 10; ++i) {
      const std::string n = std::to_string(i);
      dir.Write("f" + n + ".c", "int f" + n + "(int x)\n{\n  return x + " + n + ";\n}\n");
      files.push_back("f" + n + ".c");
    }
  }

  RunResult Run(std::vector<std::string> args, const std::string& schedule,
                const std::vector<std::pair<std::string, std::string>>& env = {}) {
    args.insert(args.end(), files.begin(), files.end());
    RunSetup setup;
    setup.env = {{"LQAHOME", home.path()}, {"LQA_TEST_SCHEDULE", schedule}};
    setup.env.insert(setup.env.end(), env.begin(), env.end());
    return RunLqaWith(args, dir.path(), setup);
  }

  // A side run's snapshot and report under the schedule.
  std::pair<RunResult, std::string> Snapshot(const std::string& schedule,
                                             const std::vector<std::pair<std::string, std::string>>& env = {}) {
    const std::string snapshot = scratch.path() + "/side.snap";
    RunResult r = Run({"-xGATESNAP " + snapshot}, schedule, env);
    return {r, scratch.Read("side.snap")};
  }
};

TEST_F(WorkerOutputs, GateSnapshotEqualsTheSerialOne) {
  const std::time_t from = std::time(nullptr);
  const auto [serial, snapshot] = Snapshot("jobs=1");
  ASSERT_GT(serial.status, 0) << serial.out << serial.err;  // the notice count
  // The macro of m1.c leaves m2.c one function; a class and the goto notice.
  EXPECT_EQ(Count(snapshot, "\"kind\":\"function\""), 15u) << snapshot;
  EXPECT_NE(snapshot.find("\"name\":\"helper\""), std::string::npos);
  EXPECT_EQ(snapshot.find("HANDLER"), std::string::npos) << snapshot;
  EXPECT_NE(snapshot.find("{\"kind\":\"class\",\"path\":\"shape.h\",\"name\":\"Shape\""), std::string::npos);
  EXPECT_NE(snapshot.find("{\"kind\":\"rule\",\"id\":\"LQA009\""), std::string::npos);
  for (const std::string& schedule : kSchedules) {
    const auto [workers, again] = Snapshot(schedule);
    EXPECT_EQ(FirstDifferentLine(snapshot, again, "serial", "workers"), "") << schedule;
    EXPECT_EQ(ReportDifference(serial, workers, from), "") << schedule;
    EXPECT_EQ(workers.err, serial.err) << schedule;
    EXPECT_EQ(workers.status, serial.status) << schedule;
  }
}

TEST_F(WorkerOutputs, GateSnapshotWithDigestsEqualsTheSerialOne) {
  // The gate names the files to record in full in a list beside the
  // snapshot; the others, m1.c among them, become digest lines.
  scratch.Write("record.list", std::string("m2.c\0loops.c\0", 13));
  const std::vector<std::pair<std::string, std::string>> env = {{"LQA_GATE_RECORD", scratch.path() + "/record.list"}};
  const auto [serial, snapshot] = Snapshot("jobs=1", env);
  ASSERT_GT(serial.status, 0) << serial.out << serial.err;  // the notice count
  EXPECT_EQ(Count(snapshot, "\"kind\":\"digest\""), 13u) << snapshot;
  EXPECT_NE(snapshot.find("{\"kind\":\"file\",\"path\":\"m2.c\"}"), std::string::npos) << snapshot;
  EXPECT_EQ(snapshot.find("{\"kind\":\"file\",\"path\":\"m1.c\"}"), std::string::npos) << snapshot;
  EXPECT_EQ(snapshot.find("HANDLER"), std::string::npos) << snapshot;
  for (const std::string& schedule : kSchedules) {
    const auto [workers, again] = Snapshot(schedule, env);
    EXPECT_EQ(FirstDifferentLine(snapshot, again, "serial", "workers"), "") << schedule;
    EXPECT_EQ(workers.status, serial.status) << schedule;
  }
}

TEST_F(WorkerOutputs, LineTraceAndExtractionEqualTheSerialReport) {
  const std::vector<std::vector<std::string>> sets = {
      {"-d"}, {"-H", "-d"}, {"-Es"}, {"-X", "-Es"}, {"-Ec"}, {"-EC", "-fa"}, {"-H", "-Es", "-Ec"},
  };
  for (const std::vector<std::string>& set : sets) {
    std::string name;
    for (const std::string& s : set) name += s + " ";
    const std::time_t from = std::time(nullptr);
    const RunResult serial = Run(set, "jobs=1");
    ASSERT_EQ(serial.status, 0) << name << serial.out;
    for (const std::string& schedule : kSchedules) {
      const RunResult workers = Run(set, schedule);
      EXPECT_EQ(ReportDifference(serial, workers, from), "") << name << schedule;
      EXPECT_EQ(workers.status, serial.status) << name << schedule;
    }
  }
  // Each file's lines and texts, once each.
  const RunResult trace = Run({"-d"}, "jobs=3 order=reverse");
  EXPECT_EQ(Count(trace.out, "\n  Line 8: HANDLER(on_open)\n"), 1u) << trace.out;
  const RunResult strings = Run({"-Es"}, "jobs=3 order=reverse");
  EXPECT_EQ(Count(strings.out, "hello, world"), 1u) << strings.out;
}

}  // namespace
