// Helpers for tests: temporary directories, files and runs of the real binary.
#pragma once

#include <string>
#include <utility>
#include <vector>

// A fresh directory under the system temporary directory, removed with its
// contents when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes a file (creating parent directories) and returns its full path.
  std::string Write(const std::string& relative, const std::string& content) const;
  std::string Read(const std::string& relative) const;

 private:
  std::string path_;
};

struct RunResult {
  int status = -1;   // exit status, or -1 when the program did not exit normally
  std::string out;   // standard output
  std::string err;   // standard error
};

// Runs build/lqa with the arguments in the directory, with LQAHOME (and no
// LQACFGHOME) pointing at home. Arguments are passed as they are, no shell.
RunResult RunLqa(const std::vector<std::string>& args, const std::string& dir, const std::string& home,
                 const std::string& input = "");

// Resource ceilings for a run on hostile input: a run that would hang is
// killed when its CPU or wall-clock time runs out (status -1); memory is
// capped in builds without AddressSanitizer, which needs a huge address space
// of its own. With runAsUid >= 0 a run started by root drops to that user, so
// that permission checks apply.
struct RunLimits {
  int cpuSeconds = 60;
  int wallSeconds = 120;
  long long memoryBytes = 1LL << 30;
  int runAsUid = -1;
  // With fileSizeBytes >= 0, writing a file beyond that size raises SIGXFSZ
  // as under "ulimit -f" (lqa ignores it, so the write fails with EFBIG as
  // on a full disk).
  long long fileSizeBytes = -1;
};
RunResult RunLqaLimited(const std::vector<std::string>& args, const std::string& dir, const std::string& home,
                        const RunLimits& limits);

// A run whose environment the test sets up: LQAHOME, LQACFGHOME, LQADEBUG,
// LQACLASSMF, HOME and XDG_CONFIG_HOME are removed, then the variables of env
// are set. program is the file executed (default build/lqa) and argv0 the
// name it is started by (default program).
struct RunSetup {
  std::string program;
  std::string argv0;
  std::vector<std::pair<std::string, std::string>> env;
};
RunResult RunLqaWith(const std::vector<std::string>& args, const std::string& dir, const RunSetup& setup);

// The lines of a text.
std::vector<std::string> Lines(const std::string& text);
// True when the text contains the line exactly.
bool HasLine(const std::string& text, const std::string& line);
// How many times what occurs in text (overlapping occurrences counted).
size_t Count(const std::string& text, const std::string& what);

// Runs a shell command in dir and collects its standard output and error
// together; status is the exit status, or -1 when it did not exit.
struct ShellResult {
  int status = -1;
  std::string out;
};
ShellResult RunShell(const std::string& dir, const std::string& command);
// The same with python3 running a script of the source tree (its path
// relative to the source directory) with the arguments.
ShellResult RunPython(const std::string& dir, const std::string& script, const std::string& args);
