#include "utilities/code_listing.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>

#include "common/error_text.h"
#include "common/gcd.h"
#include "common/output.h"
#include "common/version.h"
#include "driver/exit.h"
#include "reports/format.h"

namespace {

// Page settings beyond this are taken as this: they only ever come from a
// mistyped configuration value and would otherwise build huge strings.
constexpr int kLayoutMax = 65535;
// Narrowest line that leaves room for one character after the number.
constexpr int kNarrowest = 8;
constexpr const char* kContinuation = "     | ";

bool Html(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Html; }
bool Xml(const GlobalData& gcd) { return gcd.sw.outputMode == OutputMode::Xml; }

// How source text is written: as it is, or escaped for an HTML page or an
// XML document.
enum class Markup { None, Html, Xml };
Markup MarkupOf(const GlobalData& gcd) { return Html(gcd) ? Markup::Html : Xml(gcd) ? Markup::Xml : Markup::None; }

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Writes source text in its markup; a NUL byte prints as a blank so that the
// rest of the text still shows.
void WriteText(const char* p, std::size_t n, Markup markup) {
  constexpr std::size_t kChunk = 256;
  char escaped[6 * kChunk + 1];
  char plain[kChunk + 1];
  while (n > 0) {
    std::size_t run = std::min(n, kChunk);
    // A piece ends before a multi-byte character rather than inside it, so
    // that the escaping sees the character whole.
    if (markup != Markup::None && run < n) {
      std::size_t back = run;
      while (back > run - 3 && IsContinuationByte(p[back])) --back;
      if (back > 0) run = back;
    }
    const void* nul = std::memchr(p, '\0', run);
    if (nul != nullptr) run = static_cast<std::size_t>(static_cast<const char*>(nul) - p);
    if (run > 0) {
      if (markup == Markup::None) {
        OutF("%.*s", static_cast<int>(run), p);
      } else {
        std::memcpy(plain, p, run);
        plain[run] = '\0';
        if (markup == Markup::Html) OutF("%s", HTML_esc(plain, escaped));
        else OutS(XmlEncodeText(plain).c_str());
      }
    }
    if (nul != nullptr) {
      OutF(" ");
      ++run;
    }
    p += run;
    n -= run;
  }
}

// A source line written as rows of at most width characters: the first row
// carries the line number, the others the continuation mark. The text may
// arrive in pieces; a row is only started when a character needs it, so no
// empty row is ever written.
class RowWriter {
 public:
  RowWriter(const ListingLayout& layout, Markup markup)
      : layout_(layout), width_(static_cast<std::size_t>(layout.lineLength - 7)), markup_(markup) {}

  void Begin(int number) {
    OutF("%s%5d| ", layout_.margin.c_str(), number);
    rows_ = 1;
    used_ = 0;
  }
  void Write(const char* p, std::size_t n) {
    while (n > 0) {
      if (used_ == width_) {
        OutF("\n%s%s", layout_.margin.c_str(), kContinuation);
        ++rows_;
        used_ = 0;
      }
      const std::size_t take = std::min(n, width_ - used_);
      WriteText(p, take, markup_);
      used_ += take;
      p += take;
      n -= take;
    }
  }
  int End() {
    OutF("\n");
    return rows_;
  }

 private:
  const ListingLayout& layout_;
  std::size_t width_;
  Markup markup_;
  int rows_ = 0;
  std::size_t used_ = 0;
};

// Reads a file in pieces: a whole line when it fits the buffer, else the
// parts of a longer line, so that memory stays flat for any line length.
class PieceReader {
 public:
  explicit PieceReader(FILE* file) : file_(file) {}
  // The next piece; complete is set when it ends its line (with its line
  // feed, or as the file's last text). False at the end of the file.
  bool Next(const char*& text, std::size_t& len, bool& complete) {
    for (;;) {
      const void* lf = std::memchr(buf_ + pos_, '\n', end_ - pos_);
      if (lf != nullptr) {
        const std::size_t stop = static_cast<std::size_t>(static_cast<const char*>(lf) - buf_) + 1;
        return Take(stop, true, text, len, complete);
      }
      if (eof_) {
        if (pos_ == end_) return false;
        return Take(end_, true, text, len, complete);
      }
      if (pos_ == 0 && end_ == sizeof buf_) return Take(end_, false, text, len, complete);
      Refill();
    }
  }
  // The system error of a failed read, or 0.
  int Error() const { return error_; }

 private:
  bool Take(std::size_t stop, bool done, const char*& text, std::size_t& len, bool& complete) {
    text = buf_ + pos_;
    len = stop - pos_;
    complete = done;
    pos_ = stop;
    return true;
  }
  void Refill() {
    std::memmove(buf_, buf_ + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    const std::size_t n = std::fread(buf_ + end_, 1, sizeof buf_ - end_, file_);
    end_ += n;
    if (n == 0) {
      eof_ = true;
      if (std::ferror(file_)) error_ = errno != 0 ? errno : EIO;
    }
  }

  FILE* file_;
  char buf_[65536];
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  int error_ = 0;
};

void TopMargin(const ListingLayout& layout) {
  for (int i = 0; i < layout.topMargin; ++i) OutF("\n");
}

}  // namespace

void SetBars(GlobalData& gcd) {
  Config& cfg = gcd.cfg;
  ListingLayout& layout = gcd.util.listing;
  // A page break is a form feed, which neither a page nor a document may hold.
  if (Html(gcd) || Xml(gcd)) cfg.noPageBreaks = 1;
  layout.lineLength = std::clamp(cfg.printedLineLength, kNarrowest, kLayoutMax);
  layout.pageLength = std::min(cfg.printedPageLength, kLayoutMax);
  layout.leftMargin = std::clamp(cfg.printedLeftMargin, 0, kLayoutMax);
  layout.topMargin = std::clamp(cfg.printedTopMargin, 0, kLayoutMax);
  layout.pageBreaks = !cfg.noPageBreaks;

  const std::string& title = cfg.printedPageHeader;
  const int titleLength = static_cast<int>(title.size());
  if (titleLength > layout.lineLength) {
    OutF("\n  Error: The Specified header length (%d) exceeds\n         the available line length (%d). \n"
         "         Header: %s\n",
         titleLength, layout.lineLength, title.c_str());
    ExitRun(1, gcd);  // closes the HTML page
  }
  layout.margin.assign(static_cast<std::size_t>(layout.leftMargin), ' ');
  layout.ruleFooter = layout.margin + std::string(static_cast<std::size_t>(layout.lineLength), '_') + "\n";
  layout.ruleHeading = layout.ruleFooter + "\n";
  const double centre = layout.leftMargin + (layout.lineLength - titleLength) / 2.0;
  layout.titleLine = std::string(static_cast<std::size_t>(std::ceil(centre)), ' ') + title + "\n";
}

void BeginCodeListing(GlobalData& gcd) {
  if (Html(gcd)) {
    // The page declares UTF-8 like the report pages: the report writer passes
    // UTF-8 through and writes other bytes as character references.
    OutF("<html>\n<head>\n<title>Line Quality Analyzer %s</title>\n"
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\n</head>\n<body>\n<pre><P>\n",
         kLqaVersion);
  }
  SetBars(gcd);
}

void SetHeaderLine(const char* path, int page, GlobalData& gcd) {
  const ListingLayout& layout = gcd.util.listing;
  const Markup markup = MarkupOf(gcd);
  WriteText(layout.titleLine.data(), layout.titleLine.size(), markup);
  // Blanks between the name and the page number, so that the number ends at
  // the right edge of the line.
  const int nameLength = static_cast<int>(std::strlen(path));
  const int digits = snprintf(nullptr, 0, "%d", layout.pageBreaks ? page : 1);
  const int filler = std::max(1, layout.lineLength - 12 - nameLength - digits);
  OutF("%sFile: ", layout.margin.c_str());
  WriteText(path, static_cast<std::size_t>(nameLength), markup);
  if (layout.pageBreaks)
    OutF("%*sPage: %d\n", filler, "", page);
  else
    OutF("%*s\n", filler, "");
  struct stat st {};
  char date[64];
  const time_t mtime = stat(path, &st) == 0 ? st.st_mtime : 0;
  if (mtime != 0 && ctime_r(&mtime, date) != nullptr)
    OutF("%sDate: %s", layout.margin.c_str(), date);
  else
    OutF("%s\n", layout.margin.c_str());
  OutF("%s", layout.ruleHeading.c_str());
}

int PutLine(const char* text, std::size_t len, int number, GlobalData& gcd) {
  const ListingLayout& layout = gcd.util.listing;
  const Markup markup = MarkupOf(gcd);
  std::size_t n = len;
  if (n > 0 && text[n - 1] == '\n') --n;
  // A line fits one row when it is, with its line feed, below width - 6.
  if (n + 1 < static_cast<std::size_t>(layout.lineLength - 6)) {
    if (markup == Markup::None && std::memchr(text, '\0', n) == nullptr) {
      OutF("%s%5d| %.*s\n", layout.margin.c_str(), number, static_cast<int>(n), text);
    } else {
      OutF("%s%5d| ", layout.margin.c_str(), number);
      WriteText(text, n, markup);
      OutF("\n");
    }
    return 1;
  }
  RowWriter rows(layout, markup);
  rows.Begin(number);
  rows.Write(text, n);
  return rows.End();
}

void PrintCode(FILE* file, const char* path, GlobalData& gcd) {
  const ListingLayout& layout = gcd.util.listing;
  const int lastRow = layout.pageLength - 6;
  int page = 1;
  TopMargin(layout);
  SetHeaderLine(path, page, gcd);
  int row = layout.topMargin + 1;
  int number = 0;
  bool pageFull = false;
  bool inLongLine = false;
  RowWriter longLine(layout, MarkupOf(gcd));
  PieceReader reader(file);
  const char* text = nullptr;
  std::size_t len = 0;
  bool complete = false;
  while (reader.Next(text, len, complete)) {
    // The break waits for a line to print, so a listing never ends on an
    // empty page.
    if (pageFull && !inLongLine) {
      OutF("%s\f\n", layout.ruleFooter.c_str());
      ++page;
      TopMargin(layout);
      SetHeaderLine(path, page, gcd);
      row = layout.topMargin + 1;
      pageFull = false;
    }
    int rows = 0;
    if (!inLongLine && complete) {
      rows = PutLine(text, len, ++number, gcd);
    } else {
      // A line longer than the read buffer arrives in pieces.
      if (!inLongLine) longLine.Begin(++number);
      inLongLine = !complete;
      if (complete && len > 0 && text[len - 1] == '\n') --len;
      longLine.Write(text, len);
      if (complete) rows = longLine.End();
    }
    if (inLongLine) continue;
    row += rows;
    if (layout.pageBreaks && row > lastRow) pageFull = true;
  }
  if (inLongLine) row += longLine.End();  // the file ended inside a long line
  if (reader.Error() != 0)
    OutF("\n  Error: Cannot read the file: %s\n         %s\n\n", path, ErrorText(reader.Error()));
  if (layout.pageBreaks) {
    while (row <= lastRow) {
      OutF("\n");
      ++row;
    }
  }
  OutF("%s\n", layout.ruleFooter.c_str());
}
