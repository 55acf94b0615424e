// The cross-file fixtures under many worker schedules: twenty shuffled
// completion orders and two reversed ones must each give the bytes of the
// serial run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dir_snapshot.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Schedules() {
  std::vector<std::string> all = {"jobs=3 order=reverse", "jobs=8 order=reverse"};
  for (int seed = 1; seed <= 20; ++seed) all.push_back("jobs=2 order=shuffle seed=" + std::to_string(seed));
  return all;
}

class ScheduleSeeds : public ::testing::Test {
 protected:
  TempDir dir, home;
  void SetUp() override {
    fs::copy(LQA_SOURCE_DIR "/tests/e2e/data/parallel", dir.path(), fs::copy_options::recursive);
    const std::string rules = home.Write(
        "rules.cfg",
        "UDQN Begin:\nudqn id: 300\nactive: yes\nsources: c\nsummary: marker\nmessage: marker\n"
        "context: Comment\npattern: LICENSED\nset flags: 7\nsilent flag: yes\nUDQN End:\n"
        "UDQN Begin:\nudqn id: 301\nactive: yes\nsources: c\nsummary: allocation\nmessage: allocation _LINE#_\n"
        "context: Code\npattern: malloc\ncheck flags: 7\nUDQN End:\n");
    home.Write("lqa.cfg", "LQA user defined quality notice file : " + rules + "\n");
  }
  RunResult Run(const std::vector<std::string>& args, const std::string& schedule) {
    RunSetup setup;
    setup.env = {{"LQAHOME", home.path()}};
    if (!schedule.empty()) setup.env.emplace_back("LQA_TEST_SCHEDULE", schedule);
    return RunLqaWith(args, dir.path(), setup);
  }
  // Every schedule must reproduce the serial run of args.
  void ExpectSerialBytes(const std::vector<std::string>& args) {
    const RunResult serial = Run(args, "");
    ASSERT_NE(serial.out.find("Project Analysis For"), std::string::npos) << serial.out << serial.err;
    for (const std::string& schedule : Schedules()) {
      const RunResult r = Run(args, schedule);
      EXPECT_EQ(r.status, serial.status) << schedule;
      EXPECT_EQ(FirstDifferentLine(serial.out, r.out, "serial", "scheduled"), "") << schedule;
      EXPECT_EQ(FirstDifferentLine(serial.err, r.err, "serial", "scheduled"), "") << schedule;
    }
  }
};

TEST_F(ScheduleSeeds, MacroFromAnEarlierFile) { ExpectSerialBytes({"-fa", "-m", "macro/m1.c", "macro/m2.c"}); }

TEST_F(ScheduleSeeds, NoticeFlagFromAnEarlierFile) {
  ExpectSerialBytes({"-n", "flags/f1.c", "flags/f2.c", "flags/f3.c", "macro/m2.c"});
}

TEST_F(ScheduleSeeds, ClassesAndNamespacesOverFiles) {
  ExpectSerialBytes({"-o", "-fa", "-i", "members/a.h", "members/a.cpp", "members/b.cpp", "members/c.cpp",
                     "members/d.h", "namespaces/n1.cpp", "namespaces/n2.cpp", "namespaces/n3.cpp"});
}

TEST_F(ScheduleSeeds, BaselineWithLineData) {
  ExpectSerialBytes({"-wFile dat b.dat", "-wcreate .", "-wd", "-wv", "datanames/a/b.c", "macro/m1.c", "macro/m2.c",
                     "datanames/a_b.c", "datanames/a/b.c"});
}

TEST_F(ScheduleSeeds, EveryFixtureWithTheFullestSwitchSet) {
  ExpectSerialBytes({"-s", "-v", "-c", "-fa", "-fd", "-o", "-n", "-m", "-a", "-i", "-e", "-fp", "-Rn",
                     "-rc,cpp,h ."});
}

}  // namespace
