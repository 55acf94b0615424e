#include "dashboard/dashboard.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <unordered_map>

#include "common/error_text.h"
#include "common/gcd.h"
#include "common/output.h"
#include "dashboard/sections.h"
#include "driver/exit.h"
#include "structure/entity_records.h"

namespace {

// The notices that fire on most lines of many code bases: they would drown
// every other category in the per-directory chart.
bool FiresOnMostLines(int number) {
  constexpr int kLineLength = 1, kTab = 30;
  return number == kLineLength || number == kTab;
}

void ReportFailure(const std::string& file, const std::string& why) {
  StreamF(gLQAOUT, "\n  Error: Could not write the dashboard\n         Filename: %s\n         %s\n\n", file.c_str(),
          why.c_str());
}

// A target that exists and is no regular file (/dev/null) is written as it is.
bool IsDevice(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

std::string RunDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char text[64] = "";
  if (localtime_r(&now, &local) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace

void RequestDashboard(std::string_view file, GlobalData& gcd) {
  gcd.dash.wanted = 1;
  gcd.dash.file.assign(file);
}

void OpenDashboard(GlobalData& gcd) {
  DashboardState& d = gcd.dash;
  if (!d.wanted) return;
  d.target = std::make_shared<AtomicFile>();
  if (!d.target->Open(d.file)) {
    ReportFailure(d.file, d.target->error());
    ExitRun(1, gcd);
  }
  // The report, published last, would replace the page.
  const AtomicFile* report = gcd.drv.report.get();
  if (report != nullptr && report->target() == d.target->target() && !IsDevice(d.target->target())) {
    StreamF(gLQAOUT, "\n  Error: The dashboard and the report name the same file\n         Filename: %s\n\n",
            d.file.c_str());
    ExitRun(1, gcd);
  }
}

void DashboardNotice(int number, GlobalData& gcd) {
  FileNoticeTally& t = gcd.dash.current;
  if (FiresOnMostLines(number)) ++t.frequent;
  else ++t.categories[static_cast<std::size_t>(BuiltinNoticeSeverity(number).category)];
}

void DashboardUserNotice(NoticeCategory category, GlobalData& gcd) {
  ++gcd.dash.current.categories[static_cast<std::size_t>(category)];
}

void BeginDashboardFile(GlobalData& gcd) { gcd.dash.current = FileNoticeTally{}; }

void KeepDashboardTally(const FileData& record, const FileNoticeTally& tally, GlobalData& gcd) {
  if (gcd.dash.wanted) gcd.dash.tallies[&record] = tally;
}

DashboardData CollectDashboardData(const GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  DashboardData data;
  data.haveFunctions = sw.functionAnalysis && !sw.functionsForClassesOnly;
  data.haveClasses = sw.objectMetrics != 0;
  data.haveNotices = sw.qualityNotices != 0;
  data.complexityLimit = gcd.cfg.maxCyclomatic;
  data.commandLine = gcd.drv.commandLine;
  if (sw.benchmark) data.date = RunDate();
  data.noticeTotal = gcd.notices.run.total;
  data.classes = gcd.lists.classes.count;

  // Only the files the run analysed (each kept by KeepDashboardTally).
  std::unordered_map<const char*, int> indexOfName;
  for (const FileData& record : gcd.lists.files) {
    const auto tally = gcd.dash.tallies.find(&record);
    if (tally == gcd.dash.tallies.end()) continue;
    DashFile f;
    f.name = record.name;
    f.lines = record.lines;
    f.loc = record.loc;
    f.eloc = record.eloc;
    f.notices = record.notices;
    f.categories = tally->second.categories;
    f.frequent = tally->second.frequent;
    indexOfName.emplace(record.name.c_str(), static_cast<int>(data.files.size()));
    data.files.push_back(f);
  }
  if (data.haveFunctions) {
    data.functions.reserve(static_cast<std::size_t>(gcd.lists.functions.count));
    for (const NodeData& rec : gcd.lists.functions) {
      DashFunction fn;
      fn.name = rec.name;
      fn.file = rec.fileName != nullptr ? rec.fileName : "";
      fn.line = FuncBeginLine(rec) > 0 ? FuncBeginLine(rec) : rec.line;
      fn.complexity = rec.cyclomatic;
      fn.eloc = rec.eloc;
      const auto it = indexOfName.find(rec.fileName);
      if (it != indexOfName.end()) {
        fn.fileIndex = it->second;
        DashFile& file = data.files[static_cast<std::size_t>(it->second)];
        ++file.functions;
        if (rec.cyclomatic > file.maxComplexity) file.maxComplexity = rec.cyclomatic;
      }
      data.functions.push_back(fn);
    }
  }
  return data;
}

int FinishDashboard(int status, GlobalData& gcd) {
  DashboardState& d = gcd.dash;
  if (!d.wanted || !d.target || !d.target->is_open()) return status;
  const std::string page = DashboardDocument(CollectDashboardData(gcd));
  errno = 0;
  const bool written = std::fwrite(page.data(), 1, page.size(), d.target->stream()) == page.size();
  const int writeErrno = errno;
  if (!written) {
    d.target->Abandon();
    ReportFailure(d.file, std::string("Write error: ") + ErrorText(writeErrno != 0 ? writeErrno : EIO));
    return 1;
  }
  if (!d.target->Commit()) {
    ReportFailure(d.file, d.target->error());
    return 1;
  }
  d.target.reset();
  return status;
}
