// The project-level reports written after the last file: title, directory
// and file summaries, language summary and profile, quality profile and
// notice list, memory and verbose metrics, and the -T dispatcher.
#pragma once

#include "common/records.h"

struct GlobalData;

// The title line of the project reports ("~~ Project Analysis For n Files ~~").
void ShowProjectTitle(GlobalData& gcd);
// The reports selected by the -T options, in their fixed order.
void ShowTotalReport(GlobalData& gcd);

// Directory records of -F list files, in name order.
void ShowTotalDirSummary(GlobalData& gcd);

// File summary (with -Td the file detail list) and the file counts.
void ShowFileSummary(GlobalData& gcd);
// One entry of the file detail list; a null file writes the totals and
// average entries.
void FileDetailShow(const FileData* file, GlobalData& gcd);

// Language summary and profile.
void ShowLanguageSummary(GlobalData& gcd);
void ShowLanguageProfile(GlobalData& gcd);
void LangProfileHeader(GlobalData& gcd);
void LangProfileLine(const char* label, const int counts[6], const int totals[6], GlobalData& gcd);
void EmitXMLLanguageMetrics(const char* name, const int counts[6], const int factors[3], GlobalData& gcd);

// Quality notice profile by type with the notice density, and the list of
// every notice printed in single-line form.
void ShowQualityProfile(GlobalData& gcd);
void ShowNoticeSummary(GlobalData& gcd);
void NoticeDataShow(const NameData& notice, GlobalData& gcd);

// Memory allocation counts of the current file or, after SetTotal, the project.
void ShowMemorySummary(GlobalData& gcd);
// Verbose keyword and line metrics of the current file (project 0) or of the project (1).
void ShowVerbose(GlobalData& gcd, int project);
