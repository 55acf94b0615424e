#include "reports/header.h"

#include <cstring>
#include <ctime>
#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "common/version.h"
#include "driver/help.h"
#include "json/json_report.h"
#include "notices/udqn.h"
#include "reports/format.h"
#include "reports/report_text.h"

namespace {

constexpr const char* kProductName = "Line Quality Analyzer";

bool TitleShown(const GlobalData& gcd) { return gcd.sw.titleGiven && !gcd.sw.noHeader; }

void WriteCentered(FILE* stream, const char* plain, const char* decorated) {
  StreamF(stream, "%s", CenteredLine(plain, decorated).c_str());
}

void WriteHtmlPreamble(FILE* stream, GlobalData& gcd) {
  const Config& c = gcd.cfg;
  StreamF(stream, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n");
  StreamF(stream,
          "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
          "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n");
  StreamF(stream, "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n");
  StreamF(stream, "<head>\n");
  StreamF(stream, "<title>%s %s</title>\n", kProductName, kLqaVersion);
  StreamF(stream, "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />");
  StreamF(stream, "</head>\n");
  const bool linkColours = !c.htmlTextColor.empty() && !c.htmlVLinkColor.empty() && !c.htmlLinkColor.empty();
  if (c.htmlBackgroundColor.empty()) {
    if (linkColours)
      StreamF(stream, "<body text=\"%s\" vlink=\"%s\" link=\"%s\" alink=\"%s\">\n", c.htmlTextColor.c_str(),
              c.htmlVLinkColor.c_str(), c.htmlLinkColor.c_str(), c.htmlALinkColor.c_str());
    else
      StreamF(stream, "<body text=\"#000000\" vlink=\"#660099\" link=\"#0000ee\" alink=\"#CCCCCC\">\n");
  } else {
    if (linkColours)
      StreamF(stream, "<body bgcolor=\"%s\" text=\"%s\" vlink=\"%s\" link=\"%s\" alink=\"%s\" >\n",
              c.htmlBackgroundColor.c_str(), c.htmlTextColor.c_str(), c.htmlVLinkColor.c_str(),
              c.htmlLinkColor.c_str(), c.htmlALinkColor.c_str());
    else
      StreamF(stream, "<body bgcolor=\"%s\" text=\"#000000\" vlink=\"#660099\" link=\"#0000ee\" alink=\"#CCCCCC\">\n",
              c.htmlBackgroundColor.c_str());
  }
  StreamF(stream, "<pre>\n");
}

void WriteBannerAndDate(FILE* stream, GlobalData& gcd) {
  const Config& c = gcd.cfg;
  const bool html = IsHtml(gcd);
  if (c.reportHeaderActive) {
    if (html)
      StreamF(stream, "%s\n", c.reportHeaderHtmlLine.c_str());
    else
      WriteCentered(stream, c.reportHeaderTextLine.c_str(), c.reportHeaderTextLine.c_str());
  }

  const std::string version = std::string("Version ") + kLqaVersion;
  if (html) {
    StreamF(stream, "<b><font color=\"%s\">\n", c.htmlLqaColor.c_str());
    StreamF(stream, "        %s\n", "     Line Quality Analyzer&#8482; for C, C++, C# and Java");
    StreamF(stream, "</font></b>");
  } else {
    StreamF(stream, "\n           %s\n", "Line Quality Analyzer (TM) for C, C++, C# and Java");
  }
  WriteCentered(stream, version.c_str(), version.c_str());
  StreamF(stream, "\n");

  char runDate[64] = "";
  const time_t now = time(nullptr);
  struct tm local{};
  if (localtime_r(&now, &local) != nullptr) strftime(runDate, sizeof runDate, "%b %d, %Y", &local);
  if (html)
    StreamF(stream,
            "  <b><font color=\"%s\">Build Date</font></b>  : <b>%-15s                     "
            "<font color=\"%s\">Run Date</font></b>: %s \n",
            c.htmlDateColor.c_str(), kLqaBuildDate, c.htmlDateColor.c_str(), runDate);
  else
    StreamF(stream, "  Build Date  : %-15s                     Run Date: %s\n", kLqaBuildDate, runDate);
  StreamF(stream, "  %s%s\n\n", kRuleUnderscores, kRuleUnderscores);
}

void WriteRunDescription(FILE* stream, GlobalData& gcd, int cmdError) {
  const Config& c = gcd.cfg;
  const bool html = IsHtml(gcd);
  if (!gcd.sw.noConfigLine) {
    if (html) {
      StreamF(stream, "  <b><font color=\"%s\">Config. File</font></b>: %s\n", c.htmlHeaderColor.c_str(),
              HtmlEscaped(gcd.drv.cfgFile.c_str()).c_str());
    } else {
      char wrapped[kTextBuf];
      StreamF(stream, "  Config. File: %s\n", AdjNameLength(gcd.drv.cfgFile.c_str(), wrapped, 58, 22, gcd));
    }
  }
  if (!gcd.sw.noCommandLine) {
    if (html)
      StreamF(stream, "  <b><font color=\"%s\">Command Line</font></b>: ", c.htmlHeaderColor.c_str());
    else
      StreamF(stream, "  Command Line: ");
    fflush(stream);
    ShowCmdLine(gcd);
    StreamF(stream, "\n");
  }
  if (cmdError) {
    fflush(stream);
    ShowCmdError(gcd);
  }
}

void WriteDiffConfig(FILE* stream, GlobalData& gcd) {
  if (!gcd.drv.workDiffReport || gcd.sw.noConfigLine) return;
  const char* path = gcd.drv.workDiffCfgFile.c_str();
  switch (gcd.sw.outputMode) {
    case OutputMode::Html:
      StreamF(stream, "  <b><font color=\"%s\">Diff Config.</font></b>: %s\n", gcd.cfg.htmlHeaderColor.c_str(), path);
      break;
    case OutputMode::Csv:
      StreamF(stream, "Diff Config File: %s\n", path);
      break;
    case OutputMode::Xml:
      StreamF(stream, "<diff_config_file>%s</diff_config_file>\n", path);
      break;
    case OutputMode::Text:
      StreamF(stream, "  Diff Config.: %s\n", path);
      break;
  }
}

// The style sheet reference: a bare path becomes a file URL with forward slashes.
std::string StyleSheetHref(const std::string& path) {
  if (path.find("file:///") != std::string::npos || path.starts_with('/') || path.starts_with('.')) return path;
  std::string href = "file:///" + path;
  for (char& ch : href)
    if (ch == '\\') ch = '/';
  return href;
}

}  // namespace

void ShowHeader(FILE* stream, GlobalData& gcd, int cmdError) {
  if (stream == nullptr) return;
  if (IsHtml(gcd)) WriteHtmlPreamble(stream, gcd);
  if (!gcd.sw.noHeader) {
    WriteBannerAndDate(stream, gcd);
    WriteRunDescription(stream, gcd, cmdError);
  } else if (cmdError) {
    fflush(stream);
    ShowCmdError(gcd);
  }
  WriteDiffConfig(stream, gcd);
  // User defined notices are loaded before any file is analysed.
  udqn_header_load(gcd);
  if (TitleShown(gcd)) {
    const std::string& title = gcd.sw.title;
    StreamF(stream, "\n");
    if (IsHtml(gcd)) {
      const std::string decorated = "<b><i>" + HtmlEscaped(title.c_str()) + "</i></b>";
      WriteCentered(stream, title.c_str(), decorated.c_str());
    } else {
      WriteCentered(stream, title.c_str(), title.c_str());
    }
    StreamF(stream, "\n");
  }
}

void XML_Header(FILE* stream, GlobalData& gcd) {
  if (stream == nullptr) return;
  // -J: the document is transcoded to JSON from its first byte.
  if (stream == gLQAOUT) {
    StartJsonReport(gcd);
    stream = gLQAOUT;
  }
  StreamF(stream, "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n");
  if (!gcd.sw.xslFile.empty())
    StreamF(stream, "<?xml-stylesheet type=\"text/xsl\" href=\"%s\"?>\n", StyleSheetHref(gcd.sw.xslFile).c_str());
  StreamF(stream, "<lqadoc>\n");
  if (stream == gLQAOUT) gcd.drv.xmlDocumentOpen = 1;
  // Texts from the configuration and the command line are escaped: the
  // document must stay well-formed whatever they hold.
  if (gcd.cfg.reportHeaderActive)
    StreamF(stream, "<banner>%s</banner>\n", XmlEncodeText(gcd.cfg.reportHeaderTextLine.c_str()).c_str());
  StreamF(stream, "<program>%s</program>\n", kProductName);
  StreamF(stream, "<version>%s</version>\n", kLqaVersion);
  const time_t now = time(nullptr);
  StreamF(stream, "<date>%s</date>\n", get_date(&now).c_str());
  if (!gcd.sw.noCommandLine)
    StreamF(stream, "<command>%s</command>\n", XmlEncodeText(gcd.drv.commandLine.c_str()).c_str());
  if (!gcd.sw.noConfigLine)
    StreamF(stream, "<config_file>%s</config_file>\n", XmlEncodeText(gcd.drv.cfgFile.c_str()).c_str());
  udqn_header_load(gcd);
  if (TitleShown(gcd)) StreamF(stream, "<title>%s</title>\n", XmlEncodeText(gcd.sw.title.c_str()).c_str());
}

void CSV_Header(FILE* stream, GlobalData& gcd) {
  if (stream == nullptr) return;
  if (gcd.cfg.reportHeaderActive) StreamF(stream, "%s\n\n", gcd.cfg.reportHeaderTextLine.c_str());
  StreamF(stream, "%s\n", kProductName);
  StreamF(stream, "%s,%s\n", "Version", kLqaVersion);
  const time_t now = time(nullptr);
  struct tm local{};
  char dateText[64] = "\n";
  if (localtime_r(&now, &local) != nullptr && asctime_r(&local, dateText) == nullptr) CopyBounded(dateText, "\n");
  StreamF(stream, "Date Processed,%s\n", dateText);
  if (!gcd.sw.noCommandLine) StreamF(stream, "LQA Command Line,%s\n", gcd.drv.commandLine.c_str());
  if (!gcd.sw.noConfigLine) StreamF(stream, "Configuration File,%s\n", gcd.drv.cfgFile.c_str());
  udqn_header_load(gcd);
  if (TitleShown(gcd)) StreamF(stream, "\n%s\n", gcd.sw.title.c_str());
}

namespace {

struct AnalysisTitle {
  bool (*shown)(const Switches& sw);
  const char* (*title)(const Switches& sw);
};

// The analyses in the order their titles appear.
constexpr AnalysisTitle kSectionTitles[] = {
    {[](const Switches& s) { return s.macroIdentification && !s.qualityNotices; },
     [](const Switches&) { return "~~ Macro Metrics ~~"; }},
    {[](const Switches& s) { return s.functionAnalysis != 0; },
     [](const Switches& s) { return s.functionListing ? "~~ Function Listing ~~" : "~~ Function Metrics ~~"; }},
    {[](const Switches& s) { return s.objectMetrics != 0; },
     [](const Switches&) { return "~~ Class/Struct Metrics ~~"; }},
    {[](const Switches& s) { return s.templateIdentification != 0; },
     [](const Switches&) { return "~~ Template Identification ~~"; }},
    {[](const Switches& s) { return s.lineTrace != 0; },
     [](const Switches&) { return "~~ Determine Source vs. LOC Algorithms ~~"; }},
    {[](const Switches& s) { return s.commentDocumentation != 0; },
     [](const Switches&) { return "~~ Comment Documentation ~~"; }},
    {[](const Switches& s) { return s.complexity != 0; },
     [](const Switches& s) {
       return s.functionDetail ? "~~ Complexity Detail Analysis ~~" : "~~ Complexity Analysis ~~";
     }},
    {[](const Switches& s) { return s.qualityNotices != 0; }, [](const Switches&) { return "~~ Quality Analysis ~~"; }},
    {[](const Switches& s) { return s.memory != 0; },
     [](const Switches&) { return "~~ Memory Allocation/De-allocation Metrics ~~"; }},
    {[](const Switches& s) { return s.extractStrings != 0; },
     [](const Switches&) { return "~~ Literal String Extraction Mode ~~"; }},
    {[](const Switches& s) { return s.extractComments != 0; },
     [](const Switches&) { return "~~ Comment Extraction Mode ~~"; }},
};

}  // namespace

void ShowFMCHeader(GlobalData& gcd) {
  const Switches& sw = gcd.sw;
  // Nothing may precede the XML prologue.
  if (sw.noticeVisualStudio && sw.qualityNotices && sw.outputMode != OutputMode::Xml) {
    Center("Visual Studio Code Quality Notices");
    OutS("\n  Double click any notice in the Visual Studio output window to\n"
         "  jump to the specified line number\n\n");
  }
  if (sw.totalsOnly || sw.outputMode == OutputMode::Csv) return;
  const bool html = sw.outputMode == OutputMode::Html;
  for (const AnalysisTitle& section : kSectionTitles) {
    if (!section.shown(sw)) continue;
    if (html) OutF("<b><font color=\"%s\">", gcd.cfg.htmlHeaderColor.c_str());
    Center(section.title(sw));
    if (html) OutS("</font></b>");
  }
}
