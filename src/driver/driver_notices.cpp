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
  // The three file percentage notices differ only in what they measure.
  const char* subject = notice == 47 ? "blank line" : notice == 20 ? "comment line" : "white space";
  if (Html(gcd))
    OutF("\n    <font color=\"%s\"><b>Notice</b></font> #%d: File %s percentage, <b>%.1f%%</b> is less than "
         "<b>%.1f%%</b> \n",
         gcd.cfg.htmlNoticeColor.c_str(), notice, subject, percent, minimum);
  else
    OutF("\n    Notice #%d: File %s percentage, %.1f%% is less than %.1f%%\n", notice, subject, percent, minimum);
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
