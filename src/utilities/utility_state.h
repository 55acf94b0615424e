// What the source utilities keep in the run record: the benchmark timer, the
// code listing layout and the scratch buffers of text extraction.
#pragma once

#include <sys/times.h>

#include <string>

#include "common/text.h"

// The benchmark timer: clock ticks and process times at start and stop, and
// the times computed from them, in seconds.
struct BenchTimer {
  long ticksPerSecond = 100;
  clock_t startTicks = 0;
  clock_t endTicks = 0;
  struct tms startTimes {};
  struct tms endTimes {};
  double user = 0;
  double system = 0;
  double wait = 0;
  double elapsed = 0;
};

// The code listing layout, built once at start-up from the page settings.
struct ListingLayout {
  int lineLength = 80;
  int pageLength = 55;
  int leftMargin = 5;
  int topMargin = 1;
  int pageBreaks = 0;
  std::string margin;       // leftMargin blanks
  std::string ruleFooter;   // margin, lineLength underscores, one line feed
  std::string ruleHeading;  // the same with two line feeds
  std::string titleLine;    // the centred page title and a line feed
};

// Working copies for cleaning extracted text; the HTML form may grow each
// byte to an entity of up to six characters.
struct ExtractionBuffers {
  char clean[kTextBuf] = {};
  char html[6 * kTextBuf] = {};
};

struct UtilityState {
  BenchTimer timer;
  ListingLayout listing;
  ExtractionBuffers extract;
};
