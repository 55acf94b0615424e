// The progress indicator on standard error, on when -O sends the report to a file.
#pragma once

struct GlobalData;
void ShowProgressStart(GlobalData& gcd);   // "Processing N Files ..." after the file list is built
void ShowProgress(const char* fileName, GlobalData& gcd);  // before each analysed file
void ShowProgressEnd(GlobalData& gcd);     // after the last file
