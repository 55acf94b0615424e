// Child processes of the gate: git and the runs that analyse each side.
// They start with the signal mask and dispositions the program had before
// the gate blocked SIGINT and SIGTERM, without a shell.
#pragma once

#include <sys/types.h>

#include <csignal>
#include <string>
#include <utility>
#include <vector>

// SIGINT, SIGTERM and SIGHUP blocked while it lives, so that the gate
// notices them at points where it can stop its children and remove its
// temporary files; they are taken with Pending or WaitForChildren.
class SignalGuard {
 public:
  SignalGuard();
  ~SignalGuard();
  SignalGuard(const SignalGuard&) = delete;
  SignalGuard& operator=(const SignalGuard&) = delete;
  // A signal that arrived (taken from the pending set), or 0.
  int Pending();
  // The signal taken, once one was; it stays taken.
  int caught() const { return caught_; }
  const sigset_t& previousMask() const { return previous_; }

 private:
  sigset_t blocked_{};
  sigset_t previous_{};
  struct sigaction previousPipe_{};  // SIGPIPE is ignored meanwhile: a git that dies fails a write
  int caught_ = 0;
};

struct SpawnSpec {
  std::vector<std::string> argv;  // argv[0] is the program: a path, or a name looked up in PATH
  std::string dir;                // working directory, empty for the current one
  int in = -1, out = -1, err = -1;  // descriptors for 0, 1 and 2; -1 is /dev/null
  bool gitEnvironment = false;    // LC_ALL=C, GIT_OPTIONAL_LOCKS=0, no pager or prompt
  // Variables set (or removed, for an empty value) in the child.
  std::vector<std::pair<std::string, std::string>> environment;
};

// Starts a child; -1 when fork fails.
pid_t Spawn(const SpawnSpec& spec, const SignalGuard& guard);

// Waits for every child of pids; each status is the exit status, or
// 256 + the signal that ended it. A signal taken meanwhile stops the
// children with SIGTERM (they are still reaped) and is returned; 0 otherwise.
int WaitForChildren(const std::vector<pid_t>& pids, std::vector<int>& statuses, SignalGuard& guard);

// Runs a git command in dir and collects its standard output (and at most
// 64 KB of its standard error), its standard input read from in (-1:
// nothing). With buffered, git is told not to flush its output after each
// answer (GIT_FLUSH=0), which a command reading paths from its input
// would otherwise do. Returns the exit status, -1 when git could not be
// started, 128 + a signal that ended it.
int RunGit(const std::vector<std::string>& args, const std::string& dir, std::string& out, std::string& err,
           SignalGuard& guard, int in = -1, bool buffered = false);
