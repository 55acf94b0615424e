// The report header, the XML and CSV run descriptions and the section titles.
#pragma once

#include <cstdio>

struct GlobalData;
// Text or HTML report header; with cmdError set it ends with ShowCmdError.
void ShowHeader(FILE* stream, GlobalData& gcd, int cmdError);
void XML_Header(FILE* stream, GlobalData& gcd);
void CSV_Header(FILE* stream, GlobalData& gcd);
// Centred titles of the analyses switched on.
void ShowFMCHeader(GlobalData& gcd);
