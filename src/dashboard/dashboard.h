// The dashboard page as the run driver sees it: asked for by a switch,
// opened before the analysis, told about each file's notices, and written
// and renamed into place at the end of the run. It switches no analysis on:
// it draws what the run computed.
#pragma once

#include <string_view>

#include "notices/notice_severity.h"

struct FileData;
struct FileNoticeTally;
struct GlobalData;

// -x"DASHBOARD file".
void RequestDashboard(std::string_view file, GlobalData& gcd);
// Opens the page's file under a temporary name beside its target; a target
// that cannot be created ends the run with status 1 before any analysis.
void OpenDashboard(GlobalData& gcd);
// A counted notice of the current file: a built-in notice by number, a user
// defined one by its category.
void DashboardNotice(int number, GlobalData& gcd);
void DashboardUserNotice(NoticeCategory category, GlobalData& gcd);
// Around each file's analysis: its notices by category are counted from
// the start (in gcd.dash.current); the tally taken at its end is kept with
// the file's record when the file is merged.
void BeginDashboardFile(GlobalData& gcd);
void KeepDashboardTally(const FileData& record, const FileNoticeTally& tally, GlobalData& gcd);
// Writes the page and renames it into place. Returns status, or 1 when the
// page could not be written (its target is then left as it was).
int FinishDashboard(int status, GlobalData& gcd);
