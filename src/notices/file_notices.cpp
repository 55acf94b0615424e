// The notices of whole files: the skip token notices the driver raises while
// it reads, and the checks after a file's last line.
#include "common/gcd.h"
#include "common/version.h"
#include "notices/notice_emit.h"
#include "notices/notices.h"

namespace {

// Percentages are 0 when their divisor is not positive.
double Percent(int part, int whole) { return whole > 0 ? part * 100.0 / whole : 0.0; }

// Fires when the percentage is below the minimum as the configuration holds
// it, so that a percentage equal to the limit does not fire.
void PercentNotice(int number, double percent, float minimum, GlobalData& gcd) {
  if (static_cast<float>(percent) < minimum)
    RaiseNotice(number, gcd.drv.lineNumber, {percent, static_cast<double>(minimum)}, gcd);
}

}  // namespace

void EmitSkipTokenNotice(int number, int line, GlobalData& gcd) {
  if (number != 57 && number != 58) return;
  RaiseOptions options;
  options.ignoreSkipRegion = number == 58;
  RaiseNotice(number, line, {}, gcd, options);
}

void FileEndNotices(GlobalData& gcd) {
  const NoticeSubjectScope subject(NoticeSubject::File, gcd);
  const FileCounts& fc = gcd.eng.fc;
  const Config& cfg = gcd.cfg;
  PercentNotice(47, Percent(fc.blank, fc.loc), cfg.minFileBlankPct, gcd);
  PercentNotice(20, Percent(fc.comment, fc.loc + fc.comment), cfg.minFileCommentPct, gcd);
  PercentNotice(19, Percent(fc.whitespace, fc.characters), cfg.minFileWhitespacePct, gcd);
  if (gcd.lang.isCpp && fc.news != fc.deletes && (fc.news > 0 || fc.deletes > 0)) EmitNewDelNotice(gcd);
  if (!gcd.eng.key_found && !cfg.keyString.empty())
    RaiseNotice(21, gcd.drv.lineNumber, {kCfgFileName, cfg.keyString.c_str()}, gcd);
}
