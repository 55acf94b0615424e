// The file name line and the file and project LOC summary blocks.
#pragma once

struct GlobalData;
void ShowFileLine(const char* name, long mtime, long size, int compact, int noRule, GlobalData& gcd);
void ShowTotalSummary(GlobalData& gcd, int project, int average);
