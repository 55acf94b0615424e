// The byte transform of the de-charactering modes: tabs outside double-quoted
// strings become blanks (-Dt), DOS line ends become UNIX line ends (-Du) or
// the reverse (-Dd). It streams: any block of input may be fed, and the
// output goes byte by byte to a sink with Put(char).
#pragma once

#include <cstddef>

struct DecharOptions {
  bool tabs = false;    // -Dt
  bool toUnix = false;  // -Du
  bool toDos = false;   // -Dd
  int tabWidth = 2;     // blanks for one tab; below 1 the tab is dropped
};

class Decharacter {
 public:
  explicit Decharacter(const DecharOptions& options) : opt_(options) {}

  template <typename Out>
  void Feed(const char* p, std::size_t n, Out& out) {
    for (std::size_t i = 0; i < n; ++i) Byte(p[i], out);
  }
  // Writes what is still held back at the end of the file.
  template <typename Out>
  void Finish(Out& out) {
    if (pendingCR_) out.Put('\r');
    pendingCR_ = false;
    if (lineOpen_) ++lines_;
    lineOpen_ = false;
  }

  int Lines() const { return lines_; }        // lines written
  int Tabs() const { return tabs_; }          // tabs met outside strings
  bool Changed() const { return changed_; }   // the output differs from the input

 private:
  template <typename Out>
  void Byte(char c, Out& out) {
    if (pendingCR_) {
      pendingCR_ = false;
      if (c == '\n') changed_ = true;  // the carriage return of "\r\n" goes
      else out.Put('\r');
    }
    switch (c) {
      case '\t':
        if (opt_.tabs && !inString_) {
          ++tabs_;
          changed_ = true;
          for (int i = 0; i < opt_.tabWidth; ++i) out.Put(' ');
        } else {
          out.Put(c);
        }
        break;
      case '"':
        // An escaped quote (after an odd run of backslashes) stays in its string.
        if (backslashes_ % 2 == 0) inString_ = !inString_;
        out.Put(c);
        break;
      case '\r':
        lineHasCR_ = true;
        if (opt_.toUnix) pendingCR_ = true;
        else out.Put(c);
        break;
      case '\n':
        // A line that holds a carriage return anywhere is left as it is.
        if (opt_.toDos && !lineHasCR_) {
          out.Put('\r');
          changed_ = true;
        }
        out.Put('\n');
        ++lines_;
        lineHasCR_ = false;
        lineOpen_ = false;
        backslashes_ = 0;
        return;
      default:
        out.Put(c);
        break;
    }
    lineOpen_ = true;
    backslashes_ = c == '\\' ? backslashes_ + 1 : 0;
  }

  DecharOptions opt_;
  bool inString_ = false;   // carried from line to line
  int backslashes_ = 0;     // backslashes right before the current byte
  bool lineHasCR_ = false;
  bool pendingCR_ = false;  // a carriage return waits to see whether a line feed follows
  bool lineOpen_ = false;   // bytes written since the last line feed
  bool changed_ = false;
  int lines_ = 0;
  int tabs_ = 0;
};
