// One-line metric writers shared by the file, function, class and project reports.
#pragma once

struct GlobalData;
void LOCLine(int loc, int eloc, int lloc, int comments, int lines, GlobalData& gcd);
void LOCFileAvg(int loc, int eloc, int lloc, int comments, int lines, int files, GlobalData& gcd);
void DataLine(int publicCount, int protectedCount, int privateCount, GlobalData& gcd);
void MethodLine(int publicCount, int protectedCount, int privateCount, GlobalData& gcd);
void ClassFuncLine(int classes, int functions, GlobalData& gcd);
void ComplexLine(int parameters, int returns, int cyclomatic, GlobalData& gcd);
void FileMethodNotices(int functions, int notices, int eloc, GlobalData& gcd);
void FPLine(double fpLoc, double fpEloc, double fpLloc, GlobalData& gcd);
void FPLOCLine(const char* fileName, int loc, int eloc, int lloc, GlobalData& gcd);
// FPLine with the element names of FPLOCLine in XML mode.
void FPFileLine(double fpLoc, double fpEloc, double fpLloc, GlobalData& gcd);
