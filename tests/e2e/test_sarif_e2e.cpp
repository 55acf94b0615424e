// The SARIF log and the GitLab report end to end: valid against the official
// schema and GitLab's fields, exactly the notices of the run, the report and
// exit status untouched, stable fingerprints, anchor lines, hostile file
// names and outputs that cannot be written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// Runs tools/check_notice_docs.py in dir with the schema copy of the tests.
ShellResult CheckDocs(const std::string& dir, const std::string& args) {
  return RunPython(dir, "tools/check_notice_docs.py",
                   "--schema '" LQA_SOURCE_DIR "/tests/e2e/data/sarif-schema-2.1.0.json' " + args);
}

// Every value of one JSON string member, in document order (the documents
// are compact, so a plain pattern finds them).
std::vector<std::string> Members(const std::string& json, const std::string& key) {
  std::vector<std::string> values;
  const std::regex pattern("\"" + key + "\":\"((?:[^\"\\\\]|\\\\.)*)\"");
  for (auto it = std::sregex_iterator(json.begin(), json.end(), pattern); it != std::sregex_iterator(); ++it)
    values.push_back((*it)[1]);
  return values;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

class NoticeDocs : public ::testing::Test {
 protected:
  TempDir dir, home;
  RunResult Run(const std::vector<std::string>& args) { return RunLqa(args, dir.path(), home.path()); }
  void UseRules(const std::string& rules) {
    const std::string path = dir.Write("rules/lqa_udqn.cfg", rules);
    home.Write("lqa.cfg", "LQA user defined quality notice file : " + path + "\n");
  }
};

constexpr const char* kCpp =
    "class Root { public: virtual void f(); };\n"
    "static int\n"
    "helper(int a,\n"
    "       int b)\n"
    "{\n"
    "\tif (a) return b;\n"
    "\tgoto out;\n"
    "out:\n"
    "\tprintf(\"%d\", a);\n"
    "\treturn 0;\n"
    "}\n"
    "class Widget\n"
    "  : public Root\n"
    "{\n"
    "public:\n"
    "\tint count;\n"
    "\tvirtual void g();\n"
    "};\n";

constexpr const char* kRules =
    "UDQN Begin:\n"
    "UDQN Identifier: 200\n"
    "active: yes\n"
    "sources: cpp java\n"
    "context: Code\n"
    "pattern: printf\n"
    "summary: Don't use \"printf\"\\n here\n"
    "message: Use the logger\\nnot printf in _FUNC_\n"
    "severity: major\n"
    "category: bug risk\n"
    "UDQN End:\n"
    "UDQN Begin:\n"
    "UDQN Identifier: 201\n"
    "active: yes\n"
    "sources: java\n"
    "context: Line\n"
    "pattern: UDQN eof\n"
    "emit eof flag: yes\n"
    "summary: every Java file\n"
    "UDQN End:\n";

std::string Derived(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "class D" + std::to_string(i) + " : public Root { };\n";
  return text;
}

TEST_F(NoticeDocs, ValidDocumentsOfExactlyTheRunsNoticesBesideAnUnchangedReport) {
  UseRules(kRules);
  dir.Write("src/w.cpp", kCpp);
  dir.Write("src/d.cpp", Derived(11));  // notice 41 is raised after the last file
  dir.Write("src/J.java", "package p;\npublic class J {\n\tint x = 7;\n\tvoid m() { }\n}\n");
  const std::vector<std::string> files = {"src/w.cpp", "src/d.cpp", "src/J.java"};
  auto with = [&files](std::vector<std::string> args) {
    args.insert(args.end(), files.begin(), files.end());
    return args;
  };
  fs::create_directory(dir.path() + "/out");
  const RunResult docs = Run(with({"-xNOCOMMAND", "-i", "-xSARIF out/run.sarif", "-xGITLAB out/gl.json"}));
  const RunResult plain = Run(with({"-xNOCOMMAND", "-i", "-n", "-fa", "-o"}));
  ASSERT_GT(docs.status, 10) << docs.out;
  ASSERT_LT(docs.status, 255);
  // The report and status are those of -n -fa -o, byte for byte.
  EXPECT_EQ(docs.status, plain.status);
  EXPECT_EQ(docs.out, plain.out);
  EXPECT_EQ(docs.err, "");

  const RunResult listing = Run(with({"-i", "-Ns", "-fa", "-o"}));
  dir.Write("out/listing.txt", listing.out);
  const ShellResult check = CheckDocs(dir.path(), "--sarif out/run.sarif --gitlab out/gl.json --listing out/listing.txt "
                                                  "--file-rules 201 --count " + std::to_string(docs.status));
  EXPECT_EQ(check.status, 0) << check.out;

  const std::string sarif = dir.Read("out/run.sarif");
  const std::string gitlab = dir.Read("out/gl.json");
  EXPECT_NE(sarif.find("\"ruleId\":\"LQA041\""), std::string::npos);
  // The user defined notice: its id, its summary escaped, its own severity.
  EXPECT_NE(sarif.find("{\"id\":\"LQA200\",\"shortDescription\":{\"text\":\"Don't use \\\"printf\\\"\\\\n here\"}"),
            std::string::npos);
  EXPECT_NE(sarif.find("\"fullDescription\":{\"text\":\"Use the logger not printf in _FUNC_\"}"), std::string::npos);
  EXPECT_NE(sarif.find("\"defaultConfiguration\":{\"level\":\"warning\"},\"properties\":{\"category\":\"Bug Risk\""),
            std::string::npos);
  EXPECT_NE(gitlab.find("\"check_name\":\"LQA200\",\"description\":\"Don't use \\\"printf\\\"\\\\n here in function "
                        "helper\",\"categories\":[\"Bug Risk\"],\"severity\":\"major\""),
            std::string::npos);
  EXPECT_NE(gitlab.find("\"check_name\":\"LQA201\""), std::string::npos);

  // Same input, same bytes.
  const RunResult again = Run(with({"-xNOCOMMAND", "-i", "-xSARIF out/run.sarif", "-xGITLAB out/gl.json"}));
  EXPECT_EQ(again.status, docs.status);
  EXPECT_EQ(dir.Read("out/run.sarif"), sarif);
  EXPECT_EQ(dir.Read("out/gl.json"), gitlab);
}

TEST_F(NoticeDocs, WholeFunctionAndTypeNoticesAnchorAtTheirNameLine) {
  home.Write("lqa.cfg", "Quality Notice 51 : Yes\nQuality Notice 52 : Yes\n");
  dir.Write("w.cpp", kCpp);
  ASSERT_GT(Run({"-xSARIF w.sarif", "w.cpp"}).status, 0);
  const std::string sarif = dir.Read("w.sarif");
  // The start line of the result of rule whose message ends with tail.
  auto lineOf = [&sarif](const std::string& rule, const std::string& tail) {
    const std::regex pattern("\"ruleId\":\"" + rule + "\"[^{]*\\{\"text\":\"[^\"]*" + tail +
                             "\"\\},\"locations\":\\[\\{\"physicalLocation\":\\{[^}]*\\},\"region\":\\{\"startLine\":(\\d+)");
    std::smatch m;
    return std::regex_search(sarif, m, pattern) ? std::stoi(m[1]) : -1;
  };
  // helper's name is on line 3, its brace on 5 and its end on 11.
  EXPECT_EQ(lineOf("LQA027", "in function helper"), 3);
  EXPECT_EQ(lineOf("LQA051", "in function helper"), 3);
  // Widget's name is on line 12, its brace on 14 and its end on 18.
  EXPECT_EQ(lineOf("LQA037", "in class Widget"), 12);
  EXPECT_EQ(lineOf("LQA052", "in class Widget"), 12);
  // A notice raised on a line stays there; a file notice is on line 1.
  EXPECT_EQ(lineOf("LQA009", "in function helper"), 7);
  EXPECT_EQ(lineOf("LQA020", "content < 10.0%"), 1);
}

TEST_F(NoticeDocs, FingerprintsSurviveMovedLinesAndFollowEditedOnes) {
  const std::string helper = "int helper(int a)\n{\n\treturn a;\n}\n";
  const std::string mainFn = "int main(void)\n{\n\tint x = 5;\n\tgoto out;\nout:\n\treturn x;\n}\n";
  // File-level shares change with every line added: left out here.
  home.Write("lqa.cfg", "Quality Notice 19 : No\nQuality Notice 20 : No\nQuality Notice 47 : No\n");
  auto fingerprints = [this](const std::string& text) {
    dir.Write("m.c", text);
    Run({"-xGITLAB gl.json", "m.c"});
    const std::vector<std::string> all = Members(dir.Read("gl.json"), "fingerprint");
    return std::multiset<std::string>(all.begin(), all.end());
  };
  const auto before = fingerprints(helper + "\n" + mainFn);
  ASSERT_GE(before.size(), 6u);
  // Lines inserted above, functions swapped.
  EXPECT_EQ(fingerprints("int g;\n\n\n\n" + mainFn + "\n\n" + helper), before);
  // Editing one flagged line changes only its notices (its tab and its literal).
  const auto edited = fingerprints(helper + "\n" + "int main(void)\n{\n\tint x = 6;\n\tgoto out;\nout:\n\treturn x;\n}\n");
  std::vector<std::string> lost;
  std::set_difference(before.begin(), before.end(), edited.begin(), edited.end(), std::back_inserter(lost));
  EXPECT_EQ(lost.size(), 2u);
  EXPECT_EQ(edited.size(), before.size());
  // Two equal flagged lines in one function are told apart by their index.
  const auto twice = fingerprints("int f(void)\n{\n\ty();\n\ty();\n}\n");
  EXPECT_EQ(std::set<std::string>(twice.begin(), twice.end()).size(), twice.size());
}

TEST_F(NoticeDocs, ReportStreamCarriesOnlyTheDocument) {
  dir.Write("a.c", "int main(void)\n{\n\treturn 5;\n}\n");
  const RunResult toFile = Run({"-xSARIF a.sarif", "-xGITLAB a.json", "a.c"});
  const RunResult sarif = Run({"-xSARIF", "a.c"});
  EXPECT_EQ(sarif.status, toFile.status);
  EXPECT_EQ(sarif.out, dir.Read("a.sarif"));
  const RunResult gitlab = Run({"-O", "out.json", "-xGITLAB", "-xSARIF b.sarif", "a.c"});
  EXPECT_EQ(gitlab.status, toFile.status);
  EXPECT_EQ(dir.Read("out.json"), dir.Read("a.json"));
  EXPECT_EQ(dir.Read("b.sarif"), dir.Read("a.sarif"));
  // Two documents cannot share the stream.
  const RunResult both = Run({"-xSARIF", "-xGITLAB", "a.c"});
  EXPECT_EQ(both.status, 1);
  EXPECT_NE(both.out.find("Error: -xSARIF and -xGITLAB cannot both write to the report stream"), std::string::npos);
  // The switches are on the newer switches' screen only.
  const RunResult help = Run({"-xHELP"});
  EXPECT_NE(help.out.find("-x\"SARIF file\""), std::string::npos);
  EXPECT_NE(help.out.find("-xGITLAB"), std::string::npos);
  EXPECT_EQ(Run({"-hs"}).out.find("SARIF"), std::string::npos);
}

// The documents hold every notice whatever else the run writes: a run with
// no report of notices checks them all, as the notice report's run does.
TEST_F(NoticeDocs, SameDocumentsWithOrWithoutTheNoticeReport) {
  dir.Write("w.c", kCpp);
  const RunResult alone = Run({"-xSARIF alone.sarif", "-xGITLAB alone.json", "w.c"});
  const RunResult listed = Run({"-n", "-fa", "-xSARIF listed.sarif", "-xGITLAB listed.json", "w.c"});
  ASSERT_GT(alone.status, 3) << alone.out;
  EXPECT_EQ(alone.status, listed.status);
  EXPECT_EQ(dir.Read("alone.sarif"), dir.Read("listed.sarif"));
  EXPECT_EQ(dir.Read("alone.json"), dir.Read("listed.json"));
}

TEST_F(NoticeDocs, HostileFileNamesLinksAndFilesOutside) {
  const std::vector<std::string> names = {"a b.c", "hash#1.c", "pct%20.c", "quo\"te.c", "back\\slash.c",
                                          "ctl\x01.c", "bad\xff.c", "col:on.c"};
  for (const std::string& name : names) dir.Write("work/" + name, "int v;\n\tint w;\n");
  dir.Write("work/dir/real.c", "int v;\n\tint w;\n");
  fs::create_symlink("dir/real.c", dir.path() + "/work/link.c");
  dir.Write("outside/o.c", "int v;\n\tint w;\n");
  std::vector<std::string> args = {"-xSARIF run.sarif", "-xGITLAB gl.json", "link.c", "../outside/o.c"};
  args.insert(args.end(), names.begin(), names.end());
  const std::string work = dir.path() + "/work";
  const RunResult r = RunLqa(args, work, home.path());
  ASSERT_GT(r.status, 0) << r.out;
  std::vector<std::string> listing = {"-Nv", "-fa", "-o", "link.c", "../outside/o.c"};
  listing.insert(listing.end(), names.begin(), names.end());
  const RunResult nv = RunLqa(listing, work, home.path());
  std::FILE* f = std::fopen((work + "/listing.txt").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(nv.out.data(), 1, nv.out.size(), f);
  std::fclose(f);
  const ShellResult check = CheckDocs(work, "--sarif run.sarif --gitlab gl.json --listing listing.txt --count " +
                                                std::to_string(r.status));
  EXPECT_EQ(check.status, 0) << check.out;

  const std::vector<std::string> uris = Members(dir.Read("work/run.sarif"), "uri");
  const std::set<std::string> uriSet(uris.begin(), uris.end());
  for (const char* expected : {"dir/real.c", "a%20b.c", "hash%231.c", "pct%2520.c", "quo%22te.c", "back%5Cslash.c",
                               "ctl%01.c", "bad%FF.c", "col%3Aon.c"})
    EXPECT_EQ(uriSet.count(expected), 1u) << expected;
  char resolved[4096];
  ASSERT_NE(realpath((dir.path() + "/outside/o.c").c_str(), resolved), nullptr);
  EXPECT_EQ(uriSet.count("file://" + std::string(resolved)), 1u);
  const std::string sarif = dir.Read("work/run.sarif");
  EXPECT_NE(sarif.find("{\"uri\":\"file://" + std::string(resolved) + "\"}"), std::string::npos);  // no base id

  const std::vector<std::string> paths = Members(dir.Read("work/gl.json"), "path");
  const std::set<std::string> pathSet(paths.begin(), paths.end());
  for (const char* expected : {"dir/real.c", "a b.c", "quo\\\"te.c", "back\\\\slash.c", "ctl\\u0001.c", "bad?.c"})
    EXPECT_EQ(pathSet.count(expected), 1u) << expected;
}

TEST_F(NoticeDocs, OutputThatCannotBeWrittenLeavesNothingBehind) {
  dir.Write("a.c", "int main(void)\n{\n\treturn 5;\n}\n");
  RunResult r = Run({"-xSARIF missing/a.sarif", "a.c"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\n  Error: Could not write the SARIF log\n         Filename: missing/a.sarif\n"),
            std::string::npos)
      << r.out;
  EXPECT_FALSE(fs::exists(dir.path() + "/missing"));

  // A full disk part way: the previous document stays, no temporary file is left.
  dir.Write("keep/a.sarif", "previous");
  RunLimits limits;
  // Large enough for the report on standard output, too small for the log.
  limits.fileSizeBytes = 16384;
  r = RunLqaLimited({"-xSARIF keep/a.sarif", "a.c"}, dir.path(), home.path(), limits);
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("Error: Could not write the SARIF log"), std::string::npos) << r.out;
  EXPECT_EQ(dir.Read("keep/a.sarif"), "previous");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() + "/keep"), fs::directory_iterator()), 1);

  // A directory the user may not write to.
  if (geteuid() == 0) {
    chmod(dir.path().c_str(), 0755);
    chmod(home.path().c_str(), 0777);
    chmod((dir.path() + "/keep").c_str(), 0555);
    RunLimits user;
    user.runAsUid = 65534;
    r = RunLqaLimited({"-xGITLAB keep/a.sarif", "a.c"}, dir.path(), home.path(), user);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("Error: Could not write the GitLab report"), std::string::npos) << r.out;
    EXPECT_EQ(dir.Read("keep/a.sarif"), "previous");
    chmod((dir.path() + "/keep").c_str(), 0755);
  }
}

TEST_F(NoticeDocs, MoreResultsThanCodeScanningTakesWarnOnce) {
  std::string text = "/* tabs */\n";
  for (int i = 0; i < 25001; ++i) text += "\t;\n";
  dir.Write("t.c", text);
  const RunResult r = Run({"-xSARIF t.sarif", "t.c"});
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(Count(r.err, "Warning: the SARIF log holds"), 1u) << r.err;
  EXPECT_NE(r.err.find("holds 2500"), std::string::npos) << r.err;
  EXPECT_EQ(Count(dir.Read("t.sarif"), "\"ruleId\":\"LQA030\""), 25001u);
}

}  // namespace
