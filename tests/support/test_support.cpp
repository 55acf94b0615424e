#include "test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "parallel_check.h"

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string tmpl = (fs::temp_directory_path() / "lqa-test-XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Restore permissions that tests may have removed, then delete everything.
  for (auto it = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ec);
       it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& relative, const std::string& content) const {
  fs::path p = fs::path(path_) / relative;
  fs::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary);
  f << content;
  return p.string();
}

std::string TempDir::Read(const std::string& relative) const {
  std::ifstream f(fs::path(path_) / relative, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

namespace {
std::string ReadAll(int fd) {
  std::string out;
  char buf[65536];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
  return out;
}
}  // namespace

namespace {

// AddressSanitizer and ThreadSanitizer reserve a huge address space for
// their shadow memory: no address space limit can apply to their builds.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

void ApplyLimits(const RunLimits* limits) {
  if (limits == nullptr) return;
  rlimit cpu{static_cast<rlim_t>(limits->cpuSeconds), static_cast<rlim_t>(limits->cpuSeconds)};
  setrlimit(RLIMIT_CPU, &cpu);
  if (!kAddressSanitizer) {
    rlimit mem{static_cast<rlim_t>(limits->memoryBytes), static_cast<rlim_t>(limits->memoryBytes)};
    setrlimit(RLIMIT_AS, &mem);
  }
  if (limits->fileSizeBytes >= 0) {
    // As under "ulimit -f": the signal keeps its default action, which
    // would end the process unless lqa ignores it itself.
    signal(SIGXFSZ, SIG_DFL);
    rlimit fsize{static_cast<rlim_t>(limits->fileSizeBytes), static_cast<rlim_t>(limits->fileSizeBytes)};
    setrlimit(RLIMIT_FSIZE, &fsize);
  }
  // A pending alarm survives exec and ends a run that blocks without using CPU.
  alarm(static_cast<unsigned>(limits->wallSeconds));
  if (limits->runAsUid >= 0 && geteuid() == 0) {
    if (setgid(static_cast<gid_t>(limits->runAsUid)) != 0 || setuid(static_cast<uid_t>(limits->runAsUid)) != 0)
      _exit(125);
  }
}

// Runs the program in dir with its standard streams captured in files of
// home. Without a setup the environment points LQAHOME at home.
RunResult RunWith(const std::vector<std::string>& args, const std::string& dir, const std::string& home,
                  const std::string& input, const RunLimits* limits, const RunSetup* setup,
                  const ScheduleEnv& schedule) {
  RunResult result;
  std::string outFile = home + "/.stdout", errFile = home + "/.stderr", inFile = home + "/.stdin";
  {
    std::ofstream in(inFile, std::ios::binary);
    in << input;
  }
  pid_t pid = fork();
  if (pid == 0) {
    int in = open(inFile.c_str(), O_RDONLY);
    int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (chdir(dir.c_str()) != 0) _exit(126);
    ApplyLimits(limits);
    unsetenv("LQACFGHOME");
    unsetenv("LQADEBUG");
    unsetenv("LQACLASSMF");
    std::string bin = LQA_BINARY;
    std::string argv0 = bin;
    if (setup == nullptr) {
      setenv("LQAHOME", home.c_str(), 1);
    } else {
      unsetenv("LQAHOME");
      unsetenv("HOME");
      unsetenv("XDG_CONFIG_HOME");
      for (const auto& [name, value] : setup->env) setenv(name.c_str(), value.c_str(), 1);
      if (!setup->program.empty()) bin = argv0 = setup->program;
      if (!setup->argv0.empty()) argv0 = setup->argv0;
    }
    ApplyScheduleEnv(schedule);
    std::vector<char*> argv;
    argv.push_back(argv0.data());
    std::vector<std::string> copies(args);
    for (auto& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(bin.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  int fd = open(outFile.c_str(), O_RDONLY);
  result.out = ReadAll(fd);
  close(fd);
  fd = open(errFile.c_str(), O_RDONLY);
  result.err = ReadAll(fd);
  close(fd);
  unlink(outFile.c_str());
  unlink(errFile.c_str());
  unlink(inFile.c_str());
  return result;
}

}  // namespace

namespace {

std::string Described(const std::vector<std::string>& args) {
  std::string text = "lqa";
  for (const std::string& a : args) text += " '" + a + "'";
  return text;
}

}  // namespace

RunResult RunLqa(const std::vector<std::string>& args, const std::string& dir, const std::string& home,
                 const std::string& input) {
  return RunCompared(ParallelCheckSchedule(), {dir, home}, Described(args), [&](const ScheduleEnv& schedule) {
    return RunWith(args, dir, home, input, nullptr, nullptr, schedule);
  });
}

RunResult RunLqaLimited(const std::vector<std::string>& args, const std::string& dir, const std::string& home,
                        const RunLimits& limits) {
  return RunCompared(ParallelCheckSchedule(), {dir, home}, Described(args), [&](const ScheduleEnv& schedule) {
    return RunWith(args, dir, home, "", &limits, nullptr, schedule);
  });
}

RunResult RunLqaWith(const std::vector<std::string>& args, const std::string& dir, const RunSetup& setup) {
  // A run that chooses its own schedule is not checked against another one;
  // the directories its environment names are watched with its own.
  std::string schedule = ParallelCheckSchedule();
  std::vector<std::string> watched = {dir};
  for (const auto& [name, value] : setup.env) {
    if (name == "LQA_TEST_SCHEDULE") schedule.clear();
    if (name == "LQAHOME" || name == "LQACFGHOME" || name == "HOME" || name == "XDG_CONFIG_HOME")
      watched.push_back(value);
  }
  return RunCompared(schedule, watched, Described(args), [&](const ScheduleEnv& env) {
    TempDir scratch;
    return RunWith(args, dir, scratch.path(), "", nullptr, &setup, env);
  });
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (char c : text) {
    if (c == '\n') { lines.push_back(cur); cur.clear(); }
    else cur += c;
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
  for (const auto& l : Lines(text))
    if (l == line) return true;
  return false;
}

ShellResult RunShell(const std::string& dir, const std::string& command) {
  ShellResult r;
  const std::string full = "cd '" + dir + "' && { " + command + " ; } 2>&1";
  FILE* p = popen(full.c_str(), "r");
  if (p == nullptr) return r;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int status = pclose(p);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

ShellResult RunPython(const std::string& dir, const std::string& script, const std::string& args) {
  return RunShell(dir, "python3 '" LQA_SOURCE_DIR "/" + script + "' " + args);
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}
