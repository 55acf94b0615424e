// The file name line, the end of file line and the file and project LOC summary blocks.
#pragma once

struct GlobalData;
void ShowFileLine(const char* name, long mtime, long size, int compact, int noRule, GlobalData& gcd);
void ShowTotalSummary(GlobalData& gcd, int project, int average);
// The trailer after a file's reports; writes nothing unless a report switch
// was given and the totals-only mode is off (and nothing in XML mode).
void ShowEndOfFile(const char* name, GlobalData& gcd);
