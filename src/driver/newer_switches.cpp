#include "driver/newer_switches.h"

#include <cstring>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "common/text.h"
#include "common/version.h"
#include "driver/config_home.h"
#include "driver/exit.h"
#include "driver/help.h"
#include "gate/gate_run.h"
#include "gate/snapshot_writer.h"
#include "reports/format.h"
#include "reports/header.h"
#include "reports/report_text.h"
#include "dashboard/dashboard.h"
#include "sarif/notice_documents.h"

namespace {

void ShowHelpScreen(std::string_view, GlobalData& gcd) {
  ShowHeader(gLQAOUT, gcd, 0);
  ShowFMCHeader(gcd);
  ShowNewerSwitches(gcd);
  ExitRun(0, gcd);
}

// Newer -x keywords, matched on their first word without regard to case.
constexpr NewerXKeyword kNewerX[] = {
    {"HELP", XArgument::None, ShowHelpScreen},
    {"SARIF", XArgument::Optional, RequestSarifLog},
    {"GITLAB", XArgument::Optional, RequestGitlabReport},
    {"DASHBOARD", XArgument::Required, RequestDashboard},
    {"GATESNAP", XArgument::Required, RequestGateSnapshot},
    {"GATEANY", XArgument::None, RequestGateAnyRise},
};

// The -xHELP screen, in the order a user meets the switches.
constexpr NewerSwitchHelp kNewerHelp[] = {
    {"-xHELP", "This screen: the switches added since the syntax screen"},
    {"--help", "The syntax screen (-hs) followed by this screen"},
    {"--version", "The program version and build date"},
    {"-j<n>", "Analyse the files on n worker threads: -j1 one, -j0 (the default)\n"
              "one per CPU this process may use. The report and every file\n"
              "written are byte for byte those of -j1. -p, -D, -xDEBUG,\n"
              "-xUDQNSHOW, -w\"x ...\" and a run of one file use one thread"},
    {"-J", "JSON output mode: the data of -X (-T letters choose the reports,\n"
           "-Ta all of them) as one JSON document"},
    {"-x\"SARIF file\"", "Besides the report, write a SARIF 2.1.0 log of the notices to file\n"
                          "(for code scanning); turns on -n -fa -o"},
    {"-xSARIF", "Write only the SARIF log, to standard output or the -O file"},
    {"-x\"GITLAB file\"", "Besides the report, write a GitLab Code Quality report of the\n"
                           "notices to file; turns on -n -fa -o"},
    {"-xGITLAB", "Write only the GitLab report, to standard output or the -O file"},
    {"-x\"DASHBOARD file\"", "Besides the report, write one self-contained HTML page of charts\n"
                              "(complexity, notices per directory, eLOC treemap) to file;\n"
                              "draws only what the run computed (add -fa -o -n for all)"},
    {"-G\"BASE [HEAD]\"", "Quality gate: compare two revisions by function and notice and fail\n"
                           "(status 2) only on new notices, functions whose complexity rose\n"
                           "above the limit and new functions over it; 3: could not compare.\n"
                           "BASE and HEAD (default: the files on disk) are git:REV (REV...:\n"
                           "the merge base with HEAD), a directory or a .lqagate snapshot.\n"
                           "Documents (SARIF, GITLAB, DASHBOARD, GATESNAP) are the head's;\n"
                           "SARIF results carry baselineState \"new\" or \"unchanged\""},
    {"-x\"GATESNAP file\"", "Besides the report, write the gate snapshot of this run to file;\n"
                             "turns on -n -fa -o"},
    {"-xGATEANY", "With -G: any rise of a function's complexity fails"},
};

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
  return s;
}

[[noreturn]] void Fail(const char* message, GlobalData& gcd) {
  OutS(message);
  ExitRun(1, gcd);
}

}  // namespace

std::span<const NewerSwitchHelp> NewerSwitchHelpTable() { return kNewerHelp; }

bool HandleNewerX(const char* arg, GlobalData& gcd) {
  const std::string_view text = Trim(arg != nullptr ? arg : "");
  std::size_t end = 0;
  while (end < text.size() && !Blank(text[end])) ++end;
  const std::string_view word = text.substr(0, end);
  const std::string_view rest = Trim(text.substr(end));
  for (const NewerXKeyword& k : kNewerX) {
    if (!EqualsNoCase(word, k.word)) continue;
    if (k.argument == XArgument::None && !rest.empty())
      Fail("\n  Error: Invalid parameter for -x option\n         Use -xHELP for help text\n", gcd);
    if (k.argument == XArgument::Required && rest.empty())
      Fail("\n  Error: -x option needs a file name\n         Use -xHELP for help text\n", gcd);
    k.apply(rest, gcd);
    return true;
  }
  return false;
}

void HandleLongOptions(int argc, char** argv, GlobalData& gcd) {
  for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
    if (std::strcmp(argv[i], "--") == 0) return;
    if (std::strcmp(argv[i], "--version") == 0) {
      OutF("lqa %s\nBuilt %s\n", kLqaVersion, kLqaBuildDate);
      ExitRun(0, gcd);
    }
    if (std::strcmp(argv[i], "--help") == 0) {
      ShowHeader(gLQAOUT, gcd, 0);
      ShowFMCHeader(gcd);
      ShowFullSyntax(gcd);
      ShowNewerSwitches(gcd);
      ExitRun(0, gcd);
    }
  }
}

void ShowNewerSwitches(GlobalData& gcd) {
  constexpr int kUsageWidth = 24;
  Center("LQA Newer Switches");
  OutS("\n");
  for (const NewerSwitchHelp& h : kNewerHelp) {
    const char* text = h.text;
    const int width = static_cast<int>(std::strlen(h.usage));
    if (width >= kUsageWidth) OutF("    %s\n    %-*s  ", h.usage, kUsageWidth, "");
    else OutF("    %-*s  ", kUsageWidth, h.usage);
    // Continuation lines of a description line up under its first line.
    for (const char* nl; (nl = std::strchr(text, '\n')) != nullptr; text = nl + 1)
      OutF("%.*s\n    %-*s  ", static_cast<int>(nl - text), text, kUsageWidth, "");
    OutF("%s\n", text);
  }
  OutS("\n");
  for (const char* line : kConfigLookupText) OutF("  %s\n", line);
  for (const ConfigPlace& place : ConfigPlaces()) OutF("    %-*s  %s\n", kUsageWidth, place.where, place.when);
  const std::string& cfg = gcd.drv.cfgFile;
  OutF("  This run reads %s\n\n",
       gcd.sw.outputMode == OutputMode::Html ? HtmlEscaped(cfg.c_str()).c_str() : cfg.c_str());
}
