// Where an installed lqa keeps its configuration: the environment first,
// then beside the program when lqa.cfg is there, then the user's
// configuration directory. HOME and XDG_CONFIG_HOME always point into a
// temporary directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

class ConfigHome : public ::testing::Test {
 protected:
  TempDir t;
  std::string bin, home, work;
  void SetUp() override {
    bin = t.path() + "/bin/";
    home = t.path() + "/home/";
    work = t.path() + "/work/";
    fs::create_directories(bin);
    fs::create_directories(home);
    t.Write("work/a.c", "int main(void) { return 0; }\n");
    fs::create_symlink(LQA_BINARY, bin + "lqa");
  }
  RunResult Run(const std::vector<std::string>& args, std::vector<std::pair<std::string, std::string>> env,
                const std::string& argv0 = "") {
    return RunLqaWith(args, work, RunSetup{bin + "lqa", argv0, std::move(env)});
  }
  // The lqa.cfg a run located, from the configuration dump.
  std::string Located(std::vector<std::pair<std::string, std::string>> env, const std::string& argv0 = "") {
    const RunResult r = Run({"-y"}, std::move(env), argv0);
    for (const std::string& line : Lines(r.out))
      if (line.rfind("# Located Config. File: ", 0) == 0) return line.substr(24);
    return "(none) " + r.out;
  }
  static bool Exists(const std::string& path) { return fs::exists(path); }
};

TEST_F(ConfigHome, UserDirectoryIsCreatedPrivateAndItsSettingsHonoured) {
  const std::string dir = home + ".config/lqa/";
  EXPECT_EQ(Located({{"HOME", home}}), dir + "lqa.cfg");
  EXPECT_TRUE(Exists(dir + "lqa.cfg"));
  EXPECT_TRUE(Exists(dir + "lqa_macro.cfg"));
  struct stat st {};
  ASSERT_EQ(::stat(dir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // Nothing lands beside the program or in the working directory.
  EXPECT_FALSE(Exists(bin + "lqa.cfg"));
  EXPECT_FALSE(Exists(work + "lqa.cfg"));

  // A setting written there is read by the next run.
  t.Write("home/.config/lqa/lqa.cfg", t.Read("home/.config/lqa/lqa.cfg") +
                                          "Report Header Active : Yes\n"
                                          "Report Header Text Line : set in the user directory\n");
  const RunResult r = Run({"-s", "a.c"}, {{"HOME", home}});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("set in the user directory"), std::string::npos) << r.out;
}

TEST_F(ConfigHome, XdgConfigHomeWhenAbsolute) {
  const std::string xdg = t.path() + "/xdg";
  EXPECT_EQ(Located({{"HOME", home}, {"XDG_CONFIG_HOME", xdg}}), xdg + "/lqa/lqa.cfg");
  EXPECT_FALSE(Exists(home + ".config"));
  // A relative value is ignored, as if unset.
  EXPECT_EQ(Located({{"HOME", home}, {"XDG_CONFIG_HOME", "rel"}}), home + ".config/lqa/lqa.cfg");
  EXPECT_FALSE(Exists(work + "rel"));
}

TEST_F(ConfigHome, BesideTheProgramWhenAlreadyThere) {
  t.Write("bin/lqa.cfg", "Report Header Active : Yes\nReport Header Text Line : beside the program\n");
  EXPECT_EQ(Located({{"HOME", home}}), bin + "lqa.cfg");
  // Started by name, the program's directory is where PATH found it.
  EXPECT_EQ(Located({{"HOME", home}, {"PATH", t.path() + "/none:" + bin + ":/usr/bin"}}, "lqa"), bin + "lqa.cfg");
  const RunResult r = Run({"a.c"}, {{"HOME", home}});
  EXPECT_NE(r.out.find("beside the program"), std::string::npos) << r.out;
  EXPECT_FALSE(Exists(home + ".config"));
}

TEST_F(ConfigHome, StartedByNameWithoutConfigurationBesideIt) {
  // The working directory is not the program's directory: its lqa.cfg is not taken.
  t.Write("work/lqa.cfg", "Report Header Active : Yes\n");
  EXPECT_EQ(Located({{"HOME", home}, {"PATH", bin}}, "lqa"), home + ".config/lqa/lqa.cfg");
}

TEST_F(ConfigHome, EnvironmentComesFirst) {
  const std::string cfg = t.path() + "/cfg/";
  const std::string lqaHome = t.path() + "/lqahome/";
  fs::create_directories(cfg);
  fs::create_directories(lqaHome);
  t.Write("bin/lqa.cfg", "");
  EXPECT_EQ(Located({{"HOME", home}, {"LQACFGHOME", cfg}, {"LQAHOME", lqaHome}}), cfg + "lqa.cfg");
  EXPECT_EQ(Located({{"HOME", home}, {"LQAHOME", lqaHome}}), lqaHome + "lqa.cfg");
  EXPECT_FALSE(Exists(home + ".config"));
}

TEST_F(ConfigHome, WithoutAUsableUserDirectoryTheProgramDirectory) {
  t.Write("home-file", "");
  EXPECT_EQ(Located({{"HOME", t.path() + "/home-file"}}), bin + "lqa.cfg");
  fs::remove(bin + "lqa.cfg");
  EXPECT_EQ(Located({}), bin + "lqa.cfg");
}

TEST_F(ConfigHome, NewerSwitchScreenSaysWhereTheConfigurationLives) {
  const RunResult r = Run({"-xHELP"}, {{"HOME", home}});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("    ~/.config/lqa/            otherwise\n"), std::string::npos) << r.out;
  EXPECT_TRUE(HasLine(r.out, "  This run reads " + home + ".config/lqa/lqa.cfg")) << r.out;
  // An HTML screen escapes the path.
  const RunResult html = Run({"-H", "-xHELP"}, {{"XDG_CONFIG_HOME", t.path() + "/a&b"}});
  EXPECT_TRUE(HasLine(html.out, "  This run reads " + t.path() + "/a&amp;b/lqa/lqa.cfg")) << html.out;
}

}  // namespace
