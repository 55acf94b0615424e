// Analysis of one input file, from opening it to its end-of-file reports.
#pragma once

struct FileData;
struct GlobalData;
void ProcessFile(FileData& record, GlobalData& gcd);
