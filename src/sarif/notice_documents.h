// The notice documents as the run driver sees them: asked for by switches,
// opened before the report header, fed file by file, and completed (renamed
// into place) at the end of the run.
#pragma once

#include <string_view>

struct GlobalData;

// -x"SARIF file" and -x"GITLAB file" (an empty file: the report stream).
// Either turns on quality notices and function and class analysis, exactly
// as -n -fa -o at the same place of the command line.
void RequestSarifLog(std::string_view file, GlobalData& gcd);
void RequestGitlabReport(std::string_view file, GlobalData& gcd);
// Opens the documents asked for, each under a temporary name beside its
// target. A document that cannot be created ends the run with status 1
// before anything is analysed. With a document on the report stream the
// normal report is discarded from here on.
void OpenNoticeDocuments(GlobalData& gcd);
// Around the analysis of each file: its notices are written at its end.
void BeginFileNotices(GlobalData& gcd);
void EndFileNotices(GlobalData& gcd);
// A file analysed by a worker: its notices are written when it is merged.
struct DeferredFileNotices;
void WriteDeferredFileNotices(DeferredFileNotices& file, GlobalData& gcd);
// Before workers copy the capture: the rule table and base directory made
// as the first captured notice would make them.
void PrepareNoticeDocumentsForWorkers(GlobalData& gcd);
// Writes the notices raised after the last file, closes every document and
// renames it into place. Returns status, or 1 when a document could not be
// completed (its target is then left as it was).
int FinishNoticeDocuments(int status, GlobalData& gcd);
