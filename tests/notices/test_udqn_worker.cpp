// User defined notices on worker records: the copy of the definitions, and
// the per-file log that carries a worker's flag writes, counts and stops to
// the run, with the check that tells when a merged file overturns a later
// file's evaluation.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "capture_out.h"
#include "common/gcd.h"
#include "notices/udqn.h"
#include "notices/udqn_internal.h"
#include "notices/udqn_worker.h"
#include "test_support.h"

namespace {

std::string Def(int id, const std::string& fields) {
  return "UDQN Begin:\nudqn id: " + std::to_string(id) + "\nactive: yes\nsummary: s" + std::to_string(id) +
         "\nmessage: m" + std::to_string(id) + "\n" + fields + "UDQN End:\n";
}

std::unique_ptr<GlobalData> Record() {
  auto gcd = NewGlobalData();
  gcd->sw.qualityNotices = 1;
  return gcd;
}

// Analyses one file on a record as the driver does, as the file of this serial.
std::string Analyse(GlobalData& gcd, const char* name, int serial, const std::vector<std::string>& lines) {
  return CaptureOut([&] {
    gcd.drv.currentFileName = name;
    gcd.drv.fileSerial = serial;
    ResetState(gcd);
    gcd.drv.lineNumber = 0;
    for (const std::string& text : lines) {
      const std::string line = text + "\n";
      ++gcd.drv.lineNumber;
      ParseLine(line.c_str(), gcd.drv.lineNumber, gcd);
      gcd.eng.lex.region_flag = 0;
    }
    udqn_process("UDQN eof", 1, gcd);
  });
}

class UdqnWorker : public ::testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<GlobalData> run = Record();

  void Rules(const std::string& text) {
    const std::string path = dir.Write("rules.cfg", text);
    CaptureOut([&] { load_udqn_file(path.c_str(), *run); });
  }
  std::unique_ptr<GlobalData> Worker() {
    auto worker = Record();
    CopyUdqnForWorker(run->udqn, worker->udqn);
    return worker;
  }
  static int Hits(const GlobalData& gcd, int id) { return get_udqn_ptr(id, gcd.udqn)->hits; }
};

TEST_F(UdqnWorker, CopySharesNothingAndMatchesLikeTheRunFromTwoThreads) {
  Rules(Def(100, "sources: c h\ncontext: Line\npattern: \\b(\\w+) \\1\\b\n") + "REG_ICASE: yes\n" +
        Def(101, "sources: c\ncontext: Line\npattern: todo\n") + "REG_ICASE: no\n" +
        Def(102, "sources: c\ncontext: Line\npattern: [[:digit:]]{3}\ncheck flags: 4\n") +
        Def(103, "sources: c\ncontext: Line\npattern: ;[ ]*$\n") + Def(104, "sources: c\ncontext: Line\npattern: (\n"));
  Analyse(*run, "a.c", 1, {"the the", "TODO"});
  const std::unique_ptr<GlobalData> workers[2] = {Worker(), Worker()};
  const UdqnState& copy = workers[0]->udqn;
  ASSERT_EQ(copy.definitions.size(), run->udqn.definitions.size());
  for (std::size_t i = 0; i < copy.definitions.size(); ++i) {
    const UdqnDefinition &a = *run->udqn.definitions[i], &b = *copy.definitions[i];
    EXPECT_EQ(b.hits, 0) << b.id;  // the run's counts stay the run's
    EXPECT_EQ(static_cast<bool>(b.regex), static_cast<bool>(a.regex)) << b.id;
    EXPECT_TRUE(!a.regex || b.regex.get() != a.regex.get()) << b.id;
    EXPECT_EQ(get_udqn_ptr(a.id, copy), &b);
  }
  EXPECT_EQ(copy.bySource.at("h").lineDefs[0], copy.definitions[0].get());
  EXPECT_EQ(copy.current, &copy.bySource.at("c"));

  // Each thread searches with its own copy; the answers are the run's.
  const std::vector<std::string> lines = {"the the end", "x = 1234;", "// ToDo: that that", "int a;  ",
                                          std::string(1500, 'w') + " w w;", "no match here"};
  auto searchAll = [&lines](GlobalData& gcd) {
    std::vector<int> answers;
    for (const std::string& line : lines)
      for (const auto& def : gcd.udqn.definitions) {
        UdqnMatch found;
        answers.insert(answers.end(), {pcre_match(line.c_str(), *def, gcd, &found), found.start, found.end});
      }
    return answers;
  };
  const std::vector<int> expected = searchAll(*run);
  std::vector<int> got[2];
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t)
    threads.emplace_back([&, t] {
      for (int round = 0; round < 200 && (round == 0 || got[t] == expected); ++round) got[t] = searchAll(*workers[t]);
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(got[0], expected);
  EXPECT_EQ(got[1], expected);
}

// File 1 sets a flag that file 2 checks. Analysed on workers before file 1 is
// merged, file 2 read the flag clear: it is overturned and analysed again on
// the run; file 3 set the flag itself before checking it and stands. The run
// ends as the serial run does.
TEST_F(UdqnWorker, FlagSetInOneFileAndCheckedInTheNext) {
  const std::string rules = Def(100, "sources: c\ncontext: Line\npattern: open\nset flags: 5\nsilent flag: yes\n") +
                            Def(101, "sources: c\ncontext: Line\npattern: use\ncheck flags: 5\n") +
                            Def(102, "sources: c\ncontext: Line\npattern: shut\nclear flags: 5\nset flags: 9\n");
  const std::vector<std::string> f1 = {"open"}, f2 = {"use", "use"}, f3 = {"open", "use", "shut"};
  Rules(rules);
  auto serial = std::move(run);
  std::string serialOut[3] = {Analyse(*serial, "a.c", 1, f1), Analyse(*serial, "b.c", 2, f2),
                              Analyse(*serial, "c.c", 3, f3)};

  run = Record();
  Rules(rules);
  auto w1 = Worker(), w2 = Worker();
  UdqnFileLog logs[3];
  BeginUdqnFile(w1->udqn, run->udqn, logs[0]);
  EXPECT_EQ(Analyse(*w1, "a.c", 1, f1), serialOut[0]);
  BeginUdqnFile(w2->udqn, run->udqn, logs[1]);
  const std::string stale = Analyse(*w2, "b.c", 2, f2);
  BeginUdqnFile(w1->udqn, run->udqn, logs[2]);
  EXPECT_EQ(Analyse(*w1, "c.c", 3, f3), serialOut[2]);

  ASSERT_EQ(logs[1].reads.size(), 1u);  // read once, however many lines check it
  EXPECT_TRUE(logs[2].reads.empty());

  EXPECT_FALSE(UdqnOverturned(logs[0], run->udqn));
  MergeUdqnFile(logs[0], run->udqn);
  ASSERT_TRUE(UdqnOverturned(logs[1], run->udqn));
  EXPECT_NE(stale, serialOut[1]);
  EXPECT_EQ(Analyse(*run, "b.c", 2, f2), serialOut[1]);
  EXPECT_FALSE(UdqnOverturned(logs[2], run->udqn));
  MergeUdqnFile(logs[2], run->udqn);

  EXPECT_EQ(run->udqn.flags, serial->udqn.flags);
  EXPECT_EQ(Hits(*run, 101), 3);
  EXPECT_EQ(Hits(*run, 102), Hits(*serial, 102));
  // The run's flags now hold what file 2 read: a file began after the merge
  // reads them and is not overturned.
  UdqnFileLog late;
  BeginUdqnFile(w2->udqn, run->udqn, late);
  Analyse(*w2, "d.c", 4, f2);
  EXPECT_FALSE(UdqnOverturned(late, run->udqn));
}

// A search stopped on one worker is counted at the merge; a file that the
// stopped definition applies to and that began before the merge is analysed
// again, a file of another language stands. The next file a worker begins
// sees the run's stop count, its own stops included.
TEST_F(UdqnWorker, StopsCountAtTheMergeAndOverturnFilesThatUseTheDefinition) {
  Rules(Def(100, "sources: c\ncontext: Line\npattern: (a+)+$\n") +
        Def(101, "sources: java\ncontext: Line\npattern: class\n"));
  const std::string bad = std::string(2000, 'a') + "b";
  auto w1 = Worker(), w2 = Worker();
  UdqnFileLog logs[3];
  BeginUdqnFile(w1->udqn, run->udqn, logs[0]);
  Analyse(*w1, "a.c", 1, {bad});
  BeginUdqnFile(w2->udqn, run->udqn, logs[1]);
  Analyse(*w2, "b.c", 2, {bad});
  BeginUdqnFile(w2->udqn, run->udqn, logs[2]);
  Analyse(*w2, "D.java", 3, {"class D", "class E"});

  MergeUdqnFile(logs[0], run->udqn);
  const UdqnDefinition& stopped = *get_udqn_ptr(100, run->udqn);
  EXPECT_EQ(stopped.stoppedInFile, 1);
  ASSERT_TRUE(UdqnOverturned(logs[1], run->udqn));
  Analyse(*run, "b.c", 2, {bad});
  EXPECT_FALSE(UdqnOverturned(logs[2], run->udqn));
  MergeUdqnFile(logs[2], run->udqn);
  EXPECT_EQ(Hits(*run, 101), 2);

  // w1 stopped the definition once itself; the run counts two stops.
  UdqnFileLog next;
  BeginUdqnFile(w1->udqn, run->udqn, next);
  EXPECT_EQ(get_udqn_ptr(100, w1->udqn)->stops, 2);
  const std::string out = Analyse(*w1, "c.c", 4, {bad});
  EXPECT_NE(out.find("not evaluated for the rest of the run"), std::string::npos) << out;
  EXPECT_FALSE(UdqnOverturned(next, run->udqn));
  MergeUdqnFile(next, run->udqn);
  EXPECT_EQ(stopped.stoppedForRun, 1);
}

}  // namespace
