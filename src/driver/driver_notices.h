// The quality notices the run driver raises itself: the skip tokens (57, 58)
// and the file-level checks after the last line (47, 20, 19, 21).
#pragma once

struct GlobalData;
void SkipTokenNotice(int notice, int lineNumber, GlobalData& gcd);
// Percentage notices 47 (blank lines), 20 (comment lines), 19 (white space).
void FilePercentNotice(int notice, double percent, double minimum, GlobalData& gcd);
void KeyStringNotice(GlobalData& gcd);
