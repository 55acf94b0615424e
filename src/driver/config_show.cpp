// Writer of lqa.cfg: the template of a new file and the -y / -hc dump.
#include <string>
#include <string_view>

#include "common/gcd.h"
#include "common/output.h"
#include "common/version.h"
#include "driver/config.h"
#include "driver/config_keys.h"

namespace {

constexpr const char* kYesNo[] = {"No", "Yes"};
constexpr const char* kRule = "####################################################################";

void WriteComment(FILE* stream, const char* comment) {
  std::string_view rest(comment);
  while (!rest.empty()) {
    const std::size_t nl = rest.find('\n');
    const std::string_view line = rest.substr(0, nl);
    StreamF(stream, "# %.*s\n", static_cast<int>(line.size()), line.data());
    if (nl == std::string_view::npos) break;
    rest.remove_prefix(nl + 1);
  }
}

std::string FormatValue(const CfgKey& key, Config& cfg, bool html) {
  char buf[64];
  switch (key.type) {
    case CfgType::YesNo: return kYesNo[key.num(cfg) != 0 ? 1 : 0];
    case CfgType::NoYes: return kYesNo[key.num(cfg) != 0 ? 0 : 1];
    case CfgType::Integer:
      std::snprintf(buf, sizeof buf, "%d", key.num(cfg));
      return buf;
    case CfgType::Percent: {
      // A float prints in at most 48 characters with two decimals.
      std::snprintf(buf, sizeof buf, "%-6.2f", static_cast<double>(key.pct(cfg)));
      return buf;
    }
    case CfgType::Colour: {
      const std::string& colour = key.text(cfg);
      if (html) return "<font color=\"" + colour + "\">" + colour + "</font>";
      return colour;
    }
    case CfgType::Text:
    case CfgType::Extensions:
    case CfgType::UdqnFile: return key.text(cfg);
    case CfgType::Deprecated: break;
  }
  return {};
}

// One key line with the colon in the key's column. A line that would not fit
// the reader's line buffer drops the padding so that the value reads back whole.
void WriteKey(FILE* stream, const CfgKey& key, Config& cfg, bool html) {
  const std::string value = FormatValue(key, cfg, html);
  const std::size_t label = std::string_view(key.label).size();
  const std::size_t padded = label < static_cast<std::size_t>(key.labelWidth) ? key.labelWidth : label;
  if (padded + 2 + value.size() <= kTextMax)
    StreamF(stream, "%-*s: %s\n", key.labelWidth, key.label, value.c_str());
  else if (label + 2 + value.size() <= kTextMax)
    StreamF(stream, "%s: %s\n", key.label, value.c_str());
  else
    StreamF(stream, "%s:%s\n", key.label, value.c_str());
}

void WriteHead(FILE* stream, GlobalData& gcd) {
  StreamF(stream,
          "# Line Quality Analyzer\n"
          "# Configuration Data File\n"
          "\n"
          "# This file configures lqa: which quality notices are on and their\n"
          "# limits, language file extensions, cyclomatic complexity rules, work\n"
          "# rates, function point factors, listing layout and HTML colours.\n"
          "# lqa looks for it in its own directory, found along the system path,\n"
          "# or in the directory named by LQAHOME, or in LQACFGHOME when that is\n"
          "# set. When the file is missing, lqa writes it with the defaults.\n"
          "# Lines starting with # are comments. The text before the colon of a\n"
          "# key line must appear exactly as written here; the value follows the\n"
          "# colon.\n"
          "\n");
  StreamF(stream, "LQA CFG Version: %s\n\n", gcd.cfg.cfgVersion.c_str());
  StreamF(stream, "# Current Working Dir.: %s\n", gcd.drv.cwd.c_str());
  StreamF(stream, "# Located Config. File: %s\n", gcd.drv.cfgFile.c_str());
  StreamF(stream, "# Located Macro File  : %s\n", gcd.drv.macroFile.c_str());
  StreamF(stream, "# The following is the current configuration data\n");
}

}  // namespace

void WriteCfg(FILE* stream, GlobalData& gcd, bool html) {
  if (stream == nullptr) return;
  if (html) StreamF(stream, "<html><header><title>\"LQA Configuration\"</title></header><body><pre>\n");
  WriteHead(stream, gcd);
  for (const CfgKey& key : CfgKeyTable()) {
    if (key.use == CfgUse::ReadOnly) continue;
    if (key.section != nullptr) StreamF(stream, "\n%s\n%s\n", kRule, key.section);
    if (key.notice != 0 || key.comment != nullptr) StreamF(stream, "\n");
    if (key.notice != 0) StreamF(stream, "# Quality Notice No. %d\n", key.notice);
    if (key.comment != nullptr) WriteComment(stream, key.comment);
    WriteKey(stream, key, gcd.cfg, html);
  }
  StreamF(stream, "\n%s\n# end of %s\n", kRule, kCfgFileName);
  if (html) StreamF(stream, "</pre></body></html>\n");
}

void ShowCfg(FILE* stream, GlobalData& gcd) { WriteCfg(stream, gcd, gcd.sw.outputMode == OutputMode::Html); }
