#include "driver/manual_page.h"

#include <cstring>
#include <vector>

#include "common/version.h"
#include "driver/config_home.h"
#include "driver/exit.h"
#include "driver/help.h"
#include "driver/newer_switches.h"
#include "driver/startup.h"

namespace {

struct Labelled {
  const char* label;
  const char* text;
};

constexpr const char* kSynopsis[] = {
    "\\fBlqa\\fR [\\fIswitches\\fR] \\fIfile\\fR ...",
    "\\fBlqa\\fR [\\fIswitches\\fR] \\fB\\-r\\fR\"\\fIext,ext,... directory\\fR\"",
    "\\fBlqa\\fR [\\fIswitches\\fR] \\fB\\-F\\fR\"\\fIlist file\\fR\"",
    "\\fBlqa\\fR [\\fIswitches\\fR] \\fB\\-w\\fR\"x \\fIolder\\fR, \\fInewer\\fR\"",
    "\\fBlqa \\-\\-help\\fR | \\fB\\-\\-version\\fR",
};

constexpr Labelled kFiles[] = {
    {kCfgFileName,
     "The configuration: quality notices and their limits, language file extensions, complexity rules, "
     "work rates, listing layout and HTML colours. Written with the built-in values when missing; "
     "lqa -y shows every value."},
    {kMacroFileName,
     "Names of macros that function and class recognition step over, one a line; the #define names of the "
     "files read are added during a run."},
    {kWorkDiffCfgFileName, "The columns of the baseline comparison report (-w\"x older, newer\")."},
    {kUdqnFileName,
     "User defined quality notices, regular expressions matched against every line; named by the key "
     "\"LQA user defined quality notice file\" of lqa.cfg. A bare name is taken from LQACFGHOME when that is "
     "set, else from the working directory."},
};

constexpr Labelled kExamples[] = {
    {"lqa a.c b.h x.java y.cs", "Per-file LOC summary and project totals."},
    {"lqa -s src/*.c", "With the file and project summary sections."},
    {"lqa -H -s src/*.c > report.html", "The same as an HTML page."},
    {"lqa -n -fa src/*.c; echo $?", "Quality notices of the files, functions and classes; the exit status is their count."},
    {"lqa -c -fa -k3 -r\"c,h src\"", "Complexity of every function below src, the listing sorted by eLOC."},
    {"lqa -o -i -r\"cpp,h src\"", "Classes, namespaces and the inheritance tree of a directory tree."},
    {"lqa -w\"File dat old.dat\" -w\"create src\" -wd -r\"c,h src\"", "A baseline of a tree, with line data."},
    {"lqa -wd -w\"x old.dat, new.dat\"", "Compare two baselines: new, modified, equal and removed lines."},
    {"LQAHOME=$PWD/lqa-settings lqa -s src/*.c", "Take the configuration files from ./lqa-settings."},
};

bool Blank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (Blank(s.back()) || s.back() == '\n')) s.remove_suffix(1);
  return s;
}

void Heading(std::string& out, const char* request, std::string_view title) {
  out += request;
  out += " \"";
  out += title;
  out += "\"\n";
}

void Paragraph(std::string& out, std::string_view text) {
  out += ".PP\n";
  out += RoffText(text);
  out += '\n';
}

// A tagged paragraph: the tag in bold, then its text.
void Tagged(std::string& out, std::string_view tag, std::string_view text, const char* font = "\\fB") {
  out += ".TP\n";
  out += font;
  out += RoffText(tag);
  out += "\\fR\n";
  out += RoffText(text);
  out += '\n';
}

// A chapter title of the full help text without its '~' frame.
std::string ChapterTitle(const char* title) {
  std::string_view t(title);
  while (!t.empty() && (t.front() == '~' || Blank(t.front()))) t.remove_prefix(1);
  while (!t.empty() && (t.back() == '~' || Blank(t.back()))) t.remove_suffix(1);
  return std::string(t);
}

// The chapter's paragraphs (separated by empty lines), each as one .PP.
void ChapterText(std::string& out, std::string_view text) {
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find("\n\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view paragraph = Trim(text.substr(start, end - start));
    if (!paragraph.empty()) Paragraph(out, paragraph);
    start = end + 2;
  }
}

void Description(std::string& out) {
  out += ".SH DESCRIPTION\n";
  for (const HelpChapter& chapter : HelpChapters()) {
    if (chapter.manual == InManual::No) continue;
    if (chapter.manual == InManual::Subsection) Heading(out, ".SS", ChapterTitle(chapter.title));
    ChapterText(out, chapter.text);
  }
}

struct OptionEntry {
  int level = 0;  // 0 a switch, 1 one of its options
  std::string tag;
  std::string text;
};

// The length of the usage at the front of a syntax screen entry: the words
// that start with '-', a quoted part counting as one word with its switch
// (-C -fa, -we -wm -wn -wr, -u"File cfg name", -k<n>).
std::size_t UsageLength(std::string_view body) {
  std::size_t end = 0;
  while (end < body.size() && body[end] == '-') {
    bool quoted = false;
    while (end < body.size() && (quoted || body[end] != ' ')) {
      if (body[end] == '"') quoted = !quoted;
      ++end;
    }
    const std::size_t next = body.find_first_not_of(' ', end);
    if (next == std::string_view::npos || body[next] != '-') break;
    end = next;
  }
  return end;
}

// Splits the lines of the syntax screen into switches (ten blanks in) and
// their options (thirteen). Lines that do not start with '-' continue the
// entry above them.
std::vector<OptionEntry> SyntaxEntries() {
  std::vector<OptionEntry> entries;
  for (const char* raw : FullSyntaxLines()) {
    const std::string_view line(raw);
    const std::size_t indent = line.find_first_not_of(' ');
    if (indent == std::string_view::npos) continue;
    const std::string_view body = Trim(line.substr(indent));
    if (body.empty()) continue;
    if (body.front() != '-' || (indent != 10 && indent != 13)) {
      if (!entries.empty()) entries.back().text += " " + std::string(body);
      continue;
    }
    OptionEntry entry;
    entry.level = indent == 10 ? 0 : 1;
    const std::size_t usage = UsageLength(body);
    entry.tag = std::string(body.substr(0, usage));
    entry.text = std::string(Trim(body.substr(usage)));
    entries.push_back(std::move(entry));
  }
  return entries;
}

void Options(std::string& out) {
  out += ".SH OPTIONS\n";
  const std::vector<OptionEntry> entries = SyntaxEntries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const OptionEntry& e = entries[i];
    if (e.level == 1 && (i == 0 || entries[i - 1].level == 0)) out += ".RS\n";
    Tagged(out, e.tag, e.text);
    if (e.level == 1 && (i + 1 == entries.size() || entries[i + 1].level == 0)) out += ".RE\n";
  }
  Heading(out, ".SS", "Newer switches");
  Paragraph(out, "Switches added after the set above; lqa -xHELP lists them.");
  for (const NewerSwitchHelp& h : NewerSwitchHelpTable()) Tagged(out, h.usage, h.text);
}

void Files(std::string& out) {
  out += ".SH FILES\n";
  for (const Labelled& f : kFiles) Tagged(out, f.label, f.text, "\\fI");
  std::string lookup;
  for (const char* line : kConfigLookupText) lookup += std::string(line) + " ";
  Paragraph(out, lookup);
  for (const ConfigPlace& place : ConfigPlaces()) Tagged(out, place.where, place.when, "\\fI");
  Paragraph(out, "The report header and lqa -xHELP name the lqa.cfg a run reads.");
  Tagged(out, "share/doc/lqa/",
         "README.md, ARCHITECTURE.md with its detail in docs/architecture/, and examples/lqa_udqn.cfg, an example of "
         "user defined quality notices, "
         "below the installation prefix (/usr for the Debian package).",
         "\\fI");
}

void Environment(std::string& out) {
  out += ".SH ENVIRONMENT\n";
  for (const EnvironmentHelp& e : EnvironmentVariables()) Tagged(out, e.name, e.text);
}

void ExitStatus(std::string& out) {
  out += ".SH \"EXIT STATUS\"\n";
  for (const ExitStatusHelp& e : ExitStatuses()) Tagged(out, e.status, e.meaning);
}

void Examples(std::string& out) {
  out += ".SH EXAMPLES\n";
  for (const Labelled& e : kExamples) Tagged(out, e.label, e.text);
}

}  // namespace

std::string RoffText(std::string_view text) {
  std::string out;
  bool minus = false;  // the character before was a dash written as a minus sign
  char prev = ' ';
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    // A line break becomes one blank between the trimmed lines.
    if (c == ' ' && prev == ' ') continue;
    if (c == '\\') {
      out += "\\e";
      minus = false;
    } else if (c == '-' && (minus || (prev != '\0' && std::strchr(" (\"[,/=|", prev) != nullptr))) {
      out += "\\-";
      minus = true;
    } else {
      out += c;
      minus = false;
    }
    prev = c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  if (!out.empty() && (out.front() == '.' || out.front() == '\'')) out.insert(0, "\\&");
  return out;
}

std::string ManualPage() {
  std::string out;
  out += ".\\\" Written by lqa-manpage from the help tables of lqa; edit those, not this file.\n";
  out += ".TH LQA 1 \"\" \"lqa ";
  out += kLqaVersion;
  out += "\" \"User Commands\"\n";
  out += ".SH NAME\nlqa \\- Line Quality Analyzer, source code metrics for C, C++, Java and C#\n";
  out += ".SH SYNOPSIS\n";
  for (const char* line : kSynopsis) {
    out += line;
    out += "\n.br\n";
  }
  Description(out);
  Options(out);
  Files(out);
  Environment(out);
  ExitStatus(out);
  Examples(out);
  return out;
}
