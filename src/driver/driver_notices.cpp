#include "driver/driver_notices.h"

#include "common/gcd.h"
#include "common/output.h"
#include "common/version.h"

namespace {

// Counts one occurrence for the file, the notice and the run, and tells
// whether the driver prints the text itself.
bool CountNotice(int notice, GlobalData& gcd) {
  ++gcd.eng.fc.notices;
  ++gcd.notices.perNotice[static_cast<size_t>(notice)];
  ++gcd.notices.total;
  const Switches& sw = gcd.sw;
  // With the notice list modes the notices are listed by the notice emitter,
  // which files them for the notice reports.
  return sw.qualityNotices && !sw.totalsOnly && !sw.noticeVisualStudio && !sw.noticeSingleLine;
}

bool Html(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Html; }

}  // namespace

void SkipTokenNotice(int notice, int lineNumber, GlobalData& gcd) {
  if (!CountNotice(notice, gcd)) return;
  const char* color = gcd.cfg.htmlNoticeColor.c_str();
  if (notice == 57) {
    if (Html(gcd))
      OutF("\n    <font color=\"%s\"><b>Notice</b></font> #57: <b>Line %d</b>: A LQA skip lines token match.\n"
           "           All lines between the begin and end tokens will be ignored\n"
           "           for LQA processing.\n",
           color, lineNumber);
    else
      OutF("\n    Notice #57: Line %d, A LQA skip lines token match.\n"
           "           All lines between the begin and end tokens will be ignored\n"
           "           for LQA processing.\n",
           lineNumber);
  } else {
    if (Html(gcd))
      OutF("\n    <font color=\"%s\"><b>Notice</b></font> #58: <b>Line %d</b>: A LQA skip quality notice token "
           "match.\n"
           "           All lines between the begin and end tokens will be ignored\n"
           "           for LQA quality notice processing.\n",
           color, lineNumber);
    else
      OutF("\n    Notice #58: Line %d, A LQA skip quality notice token match.\n"
           "           All lines between the begin and end tokens will be ignored\n"
           "           for LQA quality notice processing.\n",
           lineNumber);
  }
}

void FilePercentNotice(int notice, double percent, double minimum, GlobalData& gcd) {
  if (!CountNotice(notice, gcd)) return;
  const char* color = gcd.cfg.htmlNoticeColor.c_str();
  const bool html = Html(gcd);
  switch (notice) {
    case 47:
      if (html)
        OutF("\n    <font color=\"%s\"><b>Notice</b></font> #47: File blank line percentage, <b>%.1f%%</b> is less "
             "than <b>%.1f%%</b> \n",
             color, percent, minimum);
      else
        OutF("\n    Notice #47: File blank line percentage, %.1f%% is less than %.1f%%\n", percent, minimum);
      break;
    case 20:
      if (html)
        OutF("\n    <font color=\"%s\"><b>Notice</b></font> #20: File comment line percentage, <b>%.1f%%</b> is "
             "less than <b>%.1f%%</b> \n",
             color, percent, minimum);
      else
        OutF("\n    Notice #20: File comment line percentage, %.1f%% is less than %.1f%%\n", percent, minimum);
      break;
    default:
      if (html)
        OutF("\n    <font color=\"%s\"><b>Notice</b></font> #19: File white space percentage, <b>%.1f%%</b> is "
             "less than <b>%.1f%%</b> \n",
             color, percent, minimum);
      else
        OutF("\n    Notice #19: File white space percentage, %.1f%% is less than %.1f%%\n", percent, minimum);
      break;
  }
}

void KeyStringNotice(GlobalData& gcd) {
  if (!CountNotice(21, gcd)) return;
  if (Html(gcd))
    OutF("\n    <font color=\"%s\"><b>Notice</b></font> #21: File does not contain the key string specified in the\n"
         "            %s file.\n"
         "            Key String: <b><i>%s</i></b>\n\n",
         gcd.cfg.htmlNoticeColor.c_str(), kCfgFileName, gcd.cfg.keyString.c_str());
  else
    OutF("\n    Notice #21: File does not contain the key string specified in the\n"
         "            %s file.\n"
         "            Key String: %s\n\n",
         kCfgFileName, gcd.cfg.keyString.c_str());
}
