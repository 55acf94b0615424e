// The paginated code listing of -p: page headings with title, file name,
// page number and date, and every source line numbered and wrapped to the
// printed line length.
#pragma once

#include <cstddef>
#include <cstdio>

struct GlobalData;

// Builds the margin, rule and title strings from the page settings; a title
// wider than the line ends the run. HTML output turns page breaks off.
void SetBars(GlobalData& gcd);

// Start-up of a listing run: the HTML page opening, then SetBars.
void BeginCodeListing(GlobalData& gcd);

// Writes the heading of one page of the listing of path.
void SetHeaderLine(const char* path, int page, GlobalData& gcd);

// Writes one source line (its line feed, if any, included in len) with its
// number; returns the number of rows it took.
int PutLine(const char* text, std::size_t len, int number, GlobalData& gcd);

// Lists one open file.
void PrintCode(FILE* file, const char* path, GlobalData& gcd);
