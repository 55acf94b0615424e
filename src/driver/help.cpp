// The command line of the report header and the command line error screen.
#include "driver/help.h"

#include <string>

#include "common/gcd.h"
#include "common/output.h"
#include "driver/exit.h"
#include "reports/format.h"
#include "reports/report_text.h"

namespace {

// Text and HTML headers wrap a long command line: a newline and 16 blanks
// after every 58 characters, the whole kept within a text buffer.
std::string WrapCommandLine(const std::string& text) {
  constexpr std::size_t kWidth = 58;
  const std::string indent = "\n" + std::string(16, ' ');
  std::string out;
  for (std::size_t i = 0; i < text.size() && out.size() < kTextMax; ++i) {
    if (i > 0 && i % kWidth == 0) out += indent;
    out += text[i];
  }
  if (out.size() > kTextMax) out.resize(kTextMax);
  return out;
}

}  // namespace

void ShowCmdLine(GlobalData& gcd) {
  const std::string& text = gcd.drv.commandLine;
  switch (gcd.sw.outputMode) {
    case OutputMode::Csv:
      OutS(text.c_str());
      break;
    case OutputMode::Xml:
      OutF("<command>%s</command>\n", XmlEncodeText(text.c_str()).c_str());
      break;
    case OutputMode::Text:
    case OutputMode::Html: {
      const std::string shown = text.size() >= 59 && gcd.cfg.wrapLongNames ? WrapCommandLine(text) : text;
      OutF("%s ", gcd.sw.outputMode == OutputMode::Html ? HtmlEscaped(shown.c_str()).c_str() : shown.c_str());
      break;
    }
  }
}

[[noreturn]] void ShowCmdError(GlobalData& gcd) {
  if (gcd.sw.outputMode == OutputMode::Html)
    OutF("<b><font color=\"%s\">  Command Line Syntax Error, Try -hs for help...\n</font></b>",
         gcd.cfg.htmlErrorColor.c_str());
  else
    OutS("  Command Line Syntax Error, Try -hs for help...\n");
  OutS("  ");
  ShowCmdLine(gcd);
  OutS("\n\n");
  ExitRun(0, gcd);
}
