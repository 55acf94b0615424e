#include "notices/notice_emit.h"

#include <cstring>
#include <string_view>

#include "common/gcd.h"
#include "common/output.h"
#include "dashboard/dashboard.h"
#include "notices/notices.h"
#include "notices/verbose_texts.h"
#include "reports/format.h"
#include "sarif/notice_capture.h"

namespace {

enum class Form { Default, Reorder, Html };

Form ActiveForm(const GlobalData& gcd) {
  if (gcd.sw.outputMode == OutputMode::Html) return Form::Html;
  return gcd.cfg.reorderNoticeLine ? Form::Reorder : Form::Default;
}

void HtmlNoticeLabel(NoticeBuffer& out, int number, bool upperCase, const GlobalData& gcd) {
  out.Append("\n    <font color=\"");
  out.Append(gcd.cfg.htmlNoticeColor.c_str());
  out.Append(upperCase ? "\"><b>NOTICE</b></font> #" : "\"><b>Notice</b></font> #");
  out.AppendInt(number);
}

void DefaultHead(NoticeBuffer& out, const VerboseText& t, int number, int line, const char* file) {
  out.Append("\n    Notice #");
  out.AppendInt(number);
  switch (t.head) {
    case NoticeHead::LineColon:
    case NoticeHead::LineComma:
      out.Append(": Line ");
      out.AppendInt(line);
      out.Append(t.head == NoticeHead::LineColon ? ": " : ", ");
      if (t.flags & kDefaultExtraBlank) out.Append(' ');
      break;
    case NoticeHead::LineBreak:
      out.Append(": Line ");
      out.AppendInt(line);
      out.Append('\n');
      break;
    case NoticeHead::NoLine:
      out.Append(": ");
      break;
    case NoticeHead::FileLine:
      out.Append(": File ");
      out.Append(file);
      out.Append(": Line ");
      out.AppendInt(line);
      out.Append('\n');
      break;
  }
}

// The line comes first so that editors can jump to it.
void ReorderHead(NoticeBuffer& out, const VerboseText& t, int number, int line, const char* file) {
  switch (t.head) {
    case NoticeHead::LineColon:
    case NoticeHead::LineComma:
    case NoticeHead::LineBreak:
      out.Append((t.flags & kReorderExtraBlank) ? "\n     Line " : "\n    Line ");
      out.AppendInt(line);
      out.Append(": Notice #");
      out.AppendInt(number);
      out.Append(t.head == NoticeHead::LineBreak ? "\n" : ": ");
      break;
    case NoticeHead::NoLine:
      DefaultHead(out, t, number, line, file);
      break;
    case NoticeHead::FileLine:
      out.Append("\n    File ");
      out.Append(file);
      out.Append(": Line ");
      out.AppendInt(line);
      out.Append(": Notice #");
      out.AppendInt(number);
      out.Append('\n');
      break;
  }
}

void HtmlHead(NoticeBuffer& out, const VerboseText& t, int number, int line, const char* file, const GlobalData& gcd) {
  HtmlNoticeLabel(out, number, (t.flags & kHtmlUpperCase) != 0, gcd);
  const bool noLine = t.head == NoticeHead::NoLine || (t.flags & kHtmlNoLine);
  if (noLine) {
    out.Append(": ");
    return;
  }
  if (t.head == NoticeHead::FileLine) {
    out.Append(": File <b>");
    out.AppendEscaped(file, std::strlen(file));
    out.Append("</b>: <b>Line ");
    out.AppendInt(line);
    out.Append("</b>\n");
    return;
  }
  out.Append(": <b>Line ");
  out.AppendInt(line);
  out.Append(t.head == NoticeHead::LineBreak ? "</b>\n" : "</b>: ");
}

// A notice whose body is fixed text is written from a prepared text in which
// only the line number changes. Returns false when the text does not fit.
bool PrepareFixedVerbose(const VerboseText& t, int number, int variant, int literal, Form form, GlobalData& gcd) {
  using Fixed = FixedNoticeText;
  Fixed& f = gcd.notices.Fixed();
  f.number = 0;
  f.line = -1;
  NoticeBuffer prefix(f.prefix, sizeof f.prefix);
  NoticeBuffer tail(f.text + Fixed::kTailStart, sizeof f.text - Fixed::kTailStart);
  const bool lineBreak = t.head == NoticeHead::LineBreak;
  if (form == Form::Reorder) {
    prefix.Append((t.flags & kReorderExtraBlank) ? "\n     Line " : "\n    Line ");
    tail.Append(": Notice #");
    tail.AppendInt(number);
    tail.Append(lineBreak ? "\n" : ": ");
  } else {
    prefix.Append("\n    Notice #");
    prefix.AppendInt(number);
    prefix.Append(": Line ");
    tail.Append(lineBreak ? "\n" : t.head == NoticeHead::LineColon ? ": " : ", ");
    if (!lineBreak && (t.flags & kDefaultExtraBlank)) tail.Append(' ');
  }
  const std::size_t before = tail.size();
  tail.Append(t.body, static_cast<std::size_t>(literal));
  if (tail.size() != before + static_cast<std::size_t>(literal) || prefix.size() + 12 > Fixed::kTailStart) return false;
  f.prefixLength = static_cast<int>(prefix.size());
  f.tailLength = static_cast<int>(tail.size());
  f.number = number;
  f.variant = variant;
  f.form = static_cast<int>(form);
  return true;
}

bool FixedTextReady(int number, int variant, Form form, const GlobalData& gcd) {
  const FixedNoticeText& f = gcd.notices.Fixed();
  return f.number == number && f.variant == variant && f.form == static_cast<int>(form);
}

// The prepared text with the number of line in place (a line of several
// notices of one kind, such as the tabs of an indentation, is set once).
std::string_view FixedText(int line, GlobalData& gcd) {
  using Fixed = FixedNoticeText;
  Fixed& f = gcd.notices.Fixed();
  if (f.line != line) {
    char* p = f.text + Fixed::kTailStart;
    unsigned u = static_cast<unsigned>(line);
    do {
      *--p = static_cast<char>('0' + u % 10);
      u /= 10;
    } while (u != 0);
    p -= f.prefixLength;
    std::memcpy(p, f.prefix, static_cast<std::size_t>(f.prefixLength));
    f.start = static_cast<int>(p - f.text);
    f.line = line;
  }
  return {f.text + f.start, static_cast<std::size_t>(Fixed::kTailStart - f.start + f.tailLength)};
}

void WriteVerbose(int number, int line, NoticeArgs args, const RaiseOptions& opt, GlobalData& gcd) {
  const Form form = ActiveForm(gcd);
  if (line >= 0 && FixedTextReady(number, opt.variant, form, gcd)) {
    const std::string_view text = FixedText(line, gcd);
    OutN(text.data(), text.size());
    return;
  }
  const VerboseText& t = FindVerboseText(number, opt.variant);
  const int literal = LiteralBodyLength(t);
  const bool lineHead = t.head == NoticeHead::LineColon || t.head == NoticeHead::LineComma ||
                        t.head == NoticeHead::LineBreak;
  if (form != Form::Html && literal >= 0 && lineHead && line >= 0 &&
      PrepareFixedVerbose(t, number, opt.variant, literal, form, gcd)) {
    const std::string_view text = FixedText(line, gcd);
    OutN(text.data(), text.size());
    return;
  }
  const char* file = opt.fileName != nullptr ? opt.fileName : CurrentFileName(gcd);
  // Room for a name of 2047 characters with every character escaped.
  char data[16384];
  NoticeBuffer out(data, sizeof data);
  switch (form) {
    case Form::Html:
      HtmlHead(out, t, number, line, file, gcd);
      if (t.htmlBody != nullptr) FillTemplate(out, t.htmlBody, args, TemplateStyle::HtmlRaw);
      else FillTemplate(out, t.body, args, TemplateStyle::HtmlBold);
      break;
    case Form::Reorder:
      ReorderHead(out, t, number, line, file);
      FillTemplate(out, t.body, args, TemplateStyle::Plain);
      break;
    case Form::Default:
      DefaultHead(out, t, number, line, file);
      FillTemplate(out, t.body, args, TemplateStyle::Plain);
      break;
  }
  OutN(out.c_str(), out.size());
}

}  // namespace

const char* CurrentFileName(const GlobalData& gcd) {
  return gcd.drv.currentFileName != nullptr ? gcd.drv.currentFileName : "";
}

bool NoticeOn(int number, const GlobalData& gcd) {
  if (number < 1 || number > kNoticeCount) return false;
  return gcd.cfg.notice[static_cast<std::size_t>(number)] != 0 && gcd.drv.skipQuality == 0;
}

bool NoticesShown(const GlobalData& gcd) {
  return (gcd.sw.qualityNotices && !gcd.sw.totalsOnly) || gcd.sw.noticeListMode;
}

NoticeSubjectScope::NoticeSubjectScope(NoticeSubject subject, GlobalData& gcd)
    : gcd_(gcd), saved_(gcd.notices.subject) {
  gcd.notices.subject = subject;
}

NoticeSubjectScope::~NoticeSubjectScope() { gcd_.notices.subject = saved_; }

Llist<NameData>& NoticeOccurrenceList(GlobalData& gcd) {
  return gcd.notices.fileOccurrences != nullptr ? *gcd.notices.fileOccurrences : gcd.lists.noticeOccurrences;
}

bool RaiseNotice(int number, int line, NoticeArgs args, GlobalData& gcd, const RaiseOptions& options) {
  // No report of this run reads notices (the in-line checks are off too).
  if (gcd.needs.notices == NoticeNeed::None) return false;
  if (number < 1 || number > kNoticeCount || !gcd.cfg.notice[static_cast<std::size_t>(number)]) return false;
  if (gcd.drv.skipQuality && !options.ignoreSkipRegion) return false;
  ++gcd.eng.fc.notices;
  NoticeCounts& counts = gcd.notices.Counting();
  ++counts.perNotice[static_cast<std::size_t>(number)];
  ++counts.total;
  if (gcd.sarif.capturing) {
    RaisedNotice raised;
    raised.number = number;
    raised.line = line;
    raised.fileName = options.fileName;
    raised.keyword = options.keyword;
    raised.entity = options.entity;
    raised.subject = options.entity != nullptr ? NoticeSubject::Type : gcd.notices.subject;
    CaptureNotice(raised, gcd);
  }
  if (gcd.dash.wanted) DashboardNotice(number, gcd);
  if (options.countOnly || ReportDiscarded()) return true;
  const Switches& sw = gcd.sw;
  const char* file = options.fileName != nullptr ? options.fileName : CurrentFileName(gcd);
  if (sw.qualityNotices && !sw.totalsOnly) {
    if (!sw.noticeVisualStudio && !sw.noticeSingleLine) WriteVerbose(number, line, args, options, gcd);
    else EmitNoticeLine(file, line, number, options.keyword, gcd);
  } else if (sw.noticeListMode) {
    EmitNoticeLine(file, line, number, options.keyword, gcd);
  }
  return true;
}

void RaiseRepeatedNotice(int number, int line, int count, GlobalData& gcd) {
  if (count <= 0 || !RaiseNotice(number, line, {}, gcd) || count == 1) return;
  // The first one wrote the prepared text of this line when every other one
  // would write the same bytes and nothing else keeps a record of each.
  const Switches& sw = gcd.sw;
  const bool sameText = !gcd.sarif.capturing && !gcd.dash.wanted && sw.qualityNotices && !sw.totalsOnly &&
                        !sw.noticeVisualStudio && !sw.noticeSingleLine &&
                        FixedTextReady(number, 0, ActiveForm(gcd), gcd) && gcd.notices.Fixed().line == line;
  if (!sameText) {
    for (int k = 1; k < count; ++k) RaiseNotice(number, line, {}, gcd);
    return;
  }
  const int rest = count - 1;
  gcd.eng.fc.notices += rest;
  NoticeCounts& counts = gcd.notices.Counting();
  counts.perNotice[static_cast<std::size_t>(number)] += rest;
  counts.total += rest;
  const std::string_view text = FixedText(line, gcd);
  for (int k = 0; k < rest; ++k) OutN(text.data(), text.size());
}

void EmitNoticeLine(const char* fileName, int line, int number, const char* keyword, GlobalData& gcd) {
  if (fileName == nullptr) fileName = "";
  const Switches& sw = gcd.sw;
  const char* text = keyword != nullptr ? kScopeNoticeWording : GetNoticeStr(number, gcd);
  const char* word = keyword != nullptr ? keyword : "";
  if (sw.noticeVisualStudio) {
    // The same line in every mode; inside an HTML or XML document its file
    // name and text are escaped, so that a '<' keeps the document well-formed.
    char nameData[6 * kTextBuf];
    char textData[6 * kTextBuf];
    NoticeBuffer name(nameData, sizeof nameData);
    NoticeBuffer escaped(textData, sizeof textData);
    const char* shownName = fileName;
    const char* shownText = text;
    if (sw.outputMode == OutputMode::Html || sw.outputMode == OutputMode::Xml) {
      const bool xml = sw.outputMode == OutputMode::Xml;
      name.AppendEscaped(fileName, std::strlen(fileName), xml);
      escaped.AppendEscaped(text, std::strlen(text), xml);
      shownName = name.c_str();
      shownText = escaped.c_str();
    }
    if (keyword != nullptr) OutF("%s(%d) : Notice #%-4d - '%s' %s\n", shownName, line, number, word, shownText);
    else OutF("%s(%d) : Notice #%-4d - %s\n", shownName, line, number, shownText);
  } else if (sw.outputMode == OutputMode::Html) {
    char data[6 * kTextBuf];
    NoticeBuffer escaped(data, sizeof data);
    escaped.AppendEscaped(text, std::strlen(text));
    const char* color = gcd.cfg.htmlNoticeColor.c_str();
    if (keyword != nullptr)
      OutF("  <font color=%s><b>Notice</b></font> <b>#%4d</b>: Line <b>%d</b>, '%s' %s\n", color, number, line, word,
           escaped.c_str());
    else
      OutF("  <font color=%s><b>Notice</b></font> <b>#%4d</b>: Line <b>%d</b>, %s\n", color, number, line,
           escaped.c_str());
  } else if (sw.outputMode == OutputMode::Xml) {
    if (!sw.noFileNames) {
      char description[kTextBuf];
      if (keyword != nullptr) snprintf(description, sizeof description, "%s %s", word, text);
      else CopyBounded(description, text);
      OutF("<notice>\n<type>%d</type>\n<line>%d</line><description>%s</description>\n</notice>\n", number, line,
           xml_encode(description).c_str());
    }
  } else if (gcd.cfg.reorderNoticeLine) {
    if (keyword != nullptr) OutF("  Line %4d: Notice #%4d: '%s' %s\n", line, number, word, text);
    else OutF("  Line %4d: Notice #%4d: %s\n", line, number, text);
  } else {
    if (keyword != nullptr) OutF("  Notice #%4d: Line %4d, '%s' %s\n", number, line, word, text);
    else OutF("  Notice #%4d: Line %4d, %s\n", number, line, text);
  }
  AddNameNode(fileName, static_cast<unsigned>(line), static_cast<unsigned>(number), NoticeOccurrenceList(gcd), 0, gcd);
}

void EmitNotice(const char* fileName, int line, int number, GlobalData& gcd) {
  EmitNoticeLine(fileName, line, number, nullptr, gcd);
}

int NoticeExitStatus(const GlobalData& gcd) {
  if (!gcd.sw.qualityNotices) return 0;
  // A shell keeps only the low 8 bits of a status: 256 notices would read as
  // success, so every count from 255 on is reported as 255.
  return gcd.notices.run.total > 255 ? 255 : gcd.notices.run.total;
}
