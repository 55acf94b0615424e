#include "gate/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

namespace {

constexpr std::size_t kMaxErrorText = 64 * 1024;

int StatusOf(int raw) {
  if (WIFEXITED(raw)) return WEXITSTATUS(raw);
  if (WIFSIGNALED(raw)) return 256 + WTERMSIG(raw);
  return -1;
}

void Close(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace

SignalGuard::SignalGuard() {
  sigemptyset(&blocked_);
  sigaddset(&blocked_, SIGINT);
  sigaddset(&blocked_, SIGTERM);
  sigaddset(&blocked_, SIGHUP);
  sigprocmask(SIG_BLOCK, &blocked_, &previous_);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, &previousPipe_);
}

SignalGuard::~SignalGuard() {
  // A signal still pending is delivered when the mask is restored; the
  // caller re-raises a caught one itself once everything is cleaned up.
  sigaction(SIGPIPE, &previousPipe_, nullptr);
  sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

int SignalGuard::Pending() {
  if (caught_ != 0) return caught_;
  const timespec zero{0, 0};
  const int sig = sigtimedwait(&blocked_, nullptr, &zero);
  if (sig > 0) caught_ = sig;
  return caught_;
}

pid_t Spawn(const SpawnSpec& spec, const SignalGuard& guard) {
  std::vector<char*> argv;
  for (const std::string& a : spec.argv) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid != 0) return pid;
  // The child: only async-signal-safe calls until exec, bar setenv, which
  // is safe here because the program has one thread.
  const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
  const int fds[3] = {spec.in >= 0 ? spec.in : null, spec.out >= 0 ? spec.out : null, spec.err >= 0 ? spec.err : null};
  for (int i = 0; i < 3; ++i)
    if (fds[i] >= 0 && dup2(fds[i], i) < 0) _exit(127);
  if (!spec.dir.empty() && chdir(spec.dir.c_str()) != 0) _exit(127);
  signal(SIGINT, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
  signal(SIGHUP, SIG_DFL);
  signal(SIGPIPE, SIG_DFL);
  sigprocmask(SIG_SETMASK, &guard.previousMask(), nullptr);
  if (spec.gitEnvironment) {
    setenv("LC_ALL", "C", 1);
    setenv("GIT_OPTIONAL_LOCKS", "0", 1);
    setenv("GIT_TERMINAL_PROMPT", "0", 1);
    setenv("GIT_PAGER", "cat", 1);
    unsetenv("GIT_DIR");
    unsetenv("GIT_WORK_TREE");
    unsetenv("GIT_INDEX_FILE");
  }
  for (const auto& [name, value] : spec.environment) {
    if (value.empty()) unsetenv(name.c_str());
    else setenv(name.c_str(), value.c_str(), 1);
  }
  execvp(argv[0], argv.data());
  _exit(127);
}

int WaitForChildren(const std::vector<pid_t>& pids, std::vector<int>& statuses, SignalGuard& guard) {
  statuses.assign(pids.size(), -1);
  std::vector<bool> done(pids.size(), false);
  std::size_t left = pids.size();
  bool stopped = false;
  // A git command has usually ended by the time its output closes: the
  // first looks come soon, then every 5 ms.
  long pauseNs = 100 * 1000;
  while (left > 0) {
    for (std::size_t i = 0; i < pids.size(); ++i) {
      if (done[i]) continue;
      if (pids[i] <= 0) {
        done[i] = true;
        --left;
        continue;
      }
      int raw = 0;
      const pid_t r = waitpid(pids[i], &raw, WNOHANG);
      if (r == pids[i] || (r < 0 && errno != EINTR)) {
        statuses[i] = r == pids[i] ? StatusOf(raw) : -1;
        done[i] = true;
        --left;
      }
    }
    if (left == 0) break;
    if (guard.Pending() != 0 && !stopped) {
      for (std::size_t i = 0; i < pids.size(); ++i)
        if (!done[i] && pids[i] > 0) kill(pids[i], SIGTERM);
      stopped = true;
    }
    const timespec pause{0, pauseNs};
    nanosleep(&pause, nullptr);
    if (pauseNs < 5 * 1000 * 1000) pauseNs = pauseNs * 2 < 5 * 1000 * 1000 ? pauseNs * 2 : 5 * 1000 * 1000;
  }
  return guard.caught();
}

int RunGit(const std::vector<std::string>& args, const std::string& dir, std::string& out, std::string& err,
           SignalGuard& guard, int in, bool buffered) {
  int outPipe[2], errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0) return -1;
  if (pipe2(errPipe, O_CLOEXEC) != 0) {
    close(outPipe[0]);
    close(outPipe[1]);
    return -1;
  }
  SpawnSpec spec;
  spec.argv.push_back("git");
  spec.argv.insert(spec.argv.end(), args.begin(), args.end());
  spec.dir = dir;
  spec.in = in;
  if (buffered) spec.environment.emplace_back("GIT_FLUSH", "0");
  spec.out = outPipe[1];
  spec.err = errPipe[1];
  spec.gitEnvironment = true;
  const pid_t pid = Spawn(spec, guard);
  close(outPipe[1]);
  close(errPipe[1]);
  int fds[2] = {outPipe[0], errPipe[0]};
  out.clear();
  err.clear();
  char buffer[1 << 16];
  while (fds[0] >= 0 || fds[1] >= 0) {
    if (pid < 0) break;
    pollfd p[2] = {{fds[0], POLLIN, 0}, {fds[1], POLLIN, 0}};
    if (poll(p, 2, 100) < 0 && errno != EINTR) break;
    if (guard.Pending() != 0) {
      kill(pid, SIGTERM);
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i] < 0 || p[i].revents == 0) continue;
      const ssize_t n = read(fds[i], buffer, sizeof buffer);
      if (n > 0) {
        std::string& to = i == 0 ? out : err;
        if (i == 0 || to.size() < kMaxErrorText) to.append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        Close(fds[i]);
      }
    }
  }
  Close(fds[0]);
  Close(fds[1]);
  if (pid < 0) return -1;
  std::vector<int> statuses;
  WaitForChildren({pid}, statuses, guard);
  if (statuses[0] > 255) return statuses[0] - 128;  // the shell's number of a signal
  return statuses[0] == 127 && out.empty() && err.empty() ? -1 : statuses[0];
}
