// ParseLine: the per-line state machine that classifies every line (blank,
// comment, LOC, effective, logical) and counts the elements of the file.
#include <cstring>

#include "common/gcd.h"
#include "common/output.h"
#include "engine/complexity.h"
#include "engine/keywords.h"
#include "engine/lexical.h"
#include "engine/lexical_marks.h"
#include "engine/line_scan.h"
#include "engine/macros.h"
#include "engine/scan_runs.h"
#include "engine/trace.h"
#include "notices/inline_checks.h"
#include "notices/udqn.h"
#include "sarif/notice_capture.h"
#include "structure/structure_events.h"
#include "utilities/extraction.h"
#include "workdiff/line_data.h"

namespace {

using namespace lexical_marks;
using namespace scan_runs;

constexpr const char* kFallThroughPhrases[] = {"fall through", "drop through", "fall thru", "drop thru"};

inline int Signed(char c) { return static_cast<signed char>(c); }

// Matches a directive word after '#': the word must be followed by a blank,
// tab, line end or comment start ("region" also by any '/').
bool DirectiveWord(const char* p, const char* word, bool slashEnds = false) {
  size_t n = std::strlen(word);
  if (std::strncmp(p, word, n) != 0) return false;
  char c = p[n];
  if (c == ' ' || c == '\t' || IsLineEnd(c) || IsCommentStart(p + n)) return true;
  return slashEnds && c == '/';
}

void Directive(LineScan& s, int i, GlobalData& gcd) {
  LexState& lex = gcd.eng.lex;
  FileCounts& fc = gcd.eng.fc;
  int j = i + 1;
  while (j < s.len && (s.line[j] == ' ' || s.line[j] == '\t')) ++j;
  ++fc.preprocessor;
  lex.preproc_flag = 1;
  const char* w = s.line + j;
  int wordEnd = j;
  if (DirectiveWord(w, "define")) {
    wordEnd = j + 6;
    ReadDefine(s.line, wordEnd, s.lineNumber, gcd);
  } else if (DirectiveWord(w, "error")) {
    wordEnd = j + 5;
    lex.error_directive = 1;
  } else if (w[0] == 'i' && w[1] == 'f') {
    wordEnd = j + 2;
    lex.if_directive = 1;
    StructureConditionalDirective(gcd);
  } else if (DirectiveWord(w, "include")) {
    wordEnd = j + 7;
    ++fc.include;
  } else if (DirectiveWord(w, "region", true)) {
    wordEnd = j + 6;
    lex.region_flag = 1;
  } else if (DirectiveWord(w, "else") || DirectiveWord(w, "elif") || DirectiveWord(w, "endif")) {
    StructureConditionalDirective(gcd);
  }
  // The directive word itself is no keyword ("#  if (x)" counts no if).
  while (wordEnd < s.len && s.line[wordEnd] != ' ' && s.line[wordEnd] != '\t' && s.line[wordEnd] != '(') ++wordEnd;
  s.directiveWordEnd = wordEnd - 1;
}

// The single-character line test for ( ) { }, done at most once per character a line.
bool IsSingleCharLine(LineScan& s, char c) {
  // The line must start with c after its blanks and tabs: a line whose first
  // character above a blank is another one is decided at once.
  if (s.flags.first_code_col >= 0 && s.line[s.flags.first_code_col] != c) return false;
  int slot = c == '(' ? 0 : c == ')' ? 1 : c == '{' ? 2 : 3;
  if (s.singleChar[slot] < 0) s.singleChar[slot] = SingleChar(s.line, c) ? 1 : 0;
  return s.singleChar[slot] == 1;
}

void NonEffective(LineScan& s, char c, GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  bool paren = c == '(' || c == ')';
  if (paren && (eng.attributeBracket || ClassHeadHoldsParens(gcd))) return;
  if (!IsSingleCharLine(s, c)) return;
  s.flags.non_effective = 1;
  if (paren) ++eng.fc.parenOnlyLines;
  else ++eng.fc.braceOnlyLines;
}

// Closers beyond their openers are taken back so that the counts never show
// more closers than openers.
void RepairParens(EngineState& eng) {
  eng.fc.parenClose = eng.fc.parenOpen;
  eng.lex.paren_depth = 0;
}

void RepairBraces(EngineState& eng) {
  eng.fc.braceClose = eng.fc.braceOpen;
  eng.fc.parenClose = eng.fc.parenOpen;
  eng.lex.function_scope = 0;
  eng.lex.paren_depth = 0;
}

// Structure recognition decides what the brace opens and how the scope
// depth changes (a depth beyond "Maximum depth of scope" is reported by the
// in-line checks); the brace line is measured before its own brace counts.
void OpenBrace(LineScan& s, int i, GlobalData& gcd) {
  ++gcd.eng.fc.braceOpen;
  const int depthBefore = gcd.eng.lex.function_scope;
  StructureOpenBrace(s, i, gcd);
  if (gcd.eng.lex.function_scope > depthBefore && s.checks) ScopeDepthNotice(s.lineNumber, gcd);
  NonEffective(s, '{', gcd);
}

// A closing brace line counts as a brace-only line before the function or
// type it closes is measured.
void CloseBrace(LineScan& s, int i, GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  ++eng.fc.braceClose;
  NonEffective(s, '}', gcd);
  StructureCloseBrace(s, i, gcd);
  PopSwitchAtBrace(gcd);
  if (eng.fc.braceClose > eng.fc.braceOpen) {
    UnbalancedCloserNotice('}', s.lineNumber, gcd);
    RepairBraces(eng);
  }
}

// A character of code (outside comments, strings and character literals).
[[gnu::always_inline]] inline void CodeCharacter(LineScan& s, int i, GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  FileCounts& fc = eng.fc;
  LexState& lex = eng.lex;
  const char* line = s.line;
  char c = line[i];
  // The in-line checks that look at every code character (a numeric literal
  // after an assignment, unbound if/else/for/while) run here first.
  // Files of kind "other" are counted for lines only.
  if (gcd.lang.isOther) return;
  switch (c) {
    case '#':
      if (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t') Directive(s, i, gcd);
      return;
    case '(':
      StructureOpenParen(s, i, gcd);
      ++fc.parenOpen;
      ++lex.paren_depth;
      NonEffective(s, '(', gcd);
      return;
    case ')':
      ++fc.parenClose;
      --lex.paren_depth;
      if (fc.parenClose > fc.parenOpen) {
        UnbalancedCloserNotice(')', s.lineNumber, gcd);
        RepairParens(eng);
      }
      CloseConditions(gcd);
      StructureCloseParen(s, i, gcd);
      NonEffective(s, ')', gcd);
      return;
    case '{':
      OpenBrace(s, i, gcd);
      return;
    case '}':
      CloseBrace(s, i, gcd);
      return;
    case '[':
      ++fc.bracketOpen;
      ++lex.bracket_depth;
      if ((gcd.lang.isCpp || gcd.lang.isCSharp || gcd.lang.isHeader) && gcd.st.class_flag == 0 &&
          !gcd.st.funcname_flag)
        eng.attributeBracket = 1;
      return;
    case ']':
      ++fc.bracketClose;
      --lex.bracket_depth;
      eng.attributeBracket = 0;
      return;
    case ';':
      ++fc.statements;
      s.flags.logical = 1;
      StructureSemicolon(s, i, gcd);
      EndStatementFlags(gcd);
      return;
    case '&':
    case '|':
    case '?':
      CountOperatorChar(line, i, gcd);
      return;
    case '=':
    case '<':
    case '>':
      CountOperatorChar(line, i, gcd);
      if (StructureCodeCharMatters(gcd.st)) StructureCodeChar(s, i, gcd);
      return;
    case ',':
    case ':':
      if (StructureCodeCharMatters(gcd.st)) StructureCodeChar(s, i, gcd);
      return;
    default:
      break;
  }
  if ((c >= 'a' && c <= 'z') || c == '_') MatchKeyword(s, i, gcd);
}

// The context buffer that the current lexical state feeds.
LineText& ContextBuffer(EngineState& eng) {
  if (eng.lex.in_c_comment || eng.lex.in_cpp_comment) return eng.commentText;
  if (eng.lex.in_string) return eng.stringText;
  return eng.codeText;
}

// The scan that also collects the line's text (string and comment extraction,
// the context buffers) or starts inside a #region line: every character is
// looked at with every switch tested.
void ScanLineCollecting(LineScan& s, GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  LexState& lex = eng.lex;
  LineFlags& f = s.flags;
  const char* line = s.line;
  const int tabSize = gcd.cfg.tabSize;
  const bool extractStrings = gcd.sw.extractStrings != 0;
  const bool extractComments = CommentExtractionOn(gcd.sw);
  const bool keepContext = eng.keepContextText != 0;
  const bool checks = s.checks;
  const CodeCharacterTable& codeCharacter = checks ? kCodeCharacter : kCodeCharacterNoChecks;
  const StopTable& stopCode = checks ? kStopCode : kStopCodeNoChecks;
  for (int i = 0; i < s.len; ++i) {
    const char c = line[i];
    if (extractStrings && lex.in_string) lex.estring.Append(c);
    // A LOC line is no longer blank: both tests are done once it is LOC.
    if (!f.loc) FirstCharacters(s, i, c, lex.in_c_comment || lex.in_cpp_comment, checks, gcd);
    if (extractComments && (lex.in_c_comment || lex.in_cpp_comment)) lex.estring.Append(c);
    if (!lex.region_flag) {
      if (kLexicalCharacter[static_cast<unsigned char>(c)]) LexicalCharacter(s, i, c, checks, gcd);
      if (codeCharacter[static_cast<unsigned char>(c)] && InsideCode(lex)) {
        CodeCharacter(s, i, gcd);
        if (checks) CodeCharacterChecks(line, i, s.lineNumber, gcd);
      }
    }
    // Every character goes to exactly one of the three context buffers.
    if (keepContext) ContextBuffer(eng).Append(c);
    // (The last non-blank character is taken at the end of the line.)
    // Skipping a run of inert characters is exact: the extraction and the
    // context buffers take the run in one piece.
    if (!f.blank && !lex.region_flag && (f.loc || lex.in_c_comment || lex.in_cpp_comment)) {
      const StopTable& stops = StopsFor(lex, stopCode);
      int j = i + 1;
      // A keyword may start right after the character just scanned.
      if (&stops == &stopCode && j < s.len) {
        auto next = static_cast<unsigned char>(line[j]);
        if (IsKeywordLead(next, static_cast<unsigned char>(c))) continue;
      }
      // Blanks inside the run are counted on the way; in code a blank ends the
      // run when a keyword could start right after it.
      const bool inCode = &stops == &stopCode;
      while (j < s.len) {
        if (s.endsInText) {
          while (stops.kind[static_cast<unsigned char>(line[j])] == kInert) ++j;
          if (j >= s.len) break;
        }
        const unsigned char kind = stops.kind[static_cast<unsigned char>(line[j])];
        if (kind == kInert) {
          ++j;
          continue;
        }
        if (kind == kStop) break;
        eng.fc.whitespace += kind == kTab ? tabSize : 1;
        if (kind == kTab && checks && !lex.in_string) TabNotice(s.lineNumber, gcd);
        ++j;
        if (inCode && j < s.len &&
            IsKeywordLead(static_cast<unsigned char>(line[j]), static_cast<unsigned char>(line[j - 1])))
          break;
      }
      if (j > i + 1) {
        // The lexical state holds over the run: it joins the same buffer.
        if (keepContext) ContextBuffer(eng).Append(line + i + 1, j - i - 1);
        if ((extractStrings && lex.in_string) || (extractComments && (lex.in_c_comment || lex.in_cpp_comment)))
          lex.estring.Append(line + i + 1, j - i - 1);
        i = j - 1;
      }
    }
  }
}

// The scan of a line whose text nothing collects. It looks at the characters
// that can change something and passes over the runs between them; the
// lexical context is kept at hand and taken anew after each lexical
// character. A #region line ends the scan: the rest of it is only counted.
template <bool kChecks>
void ScanLineLean(LineScan& s, int start, GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  LexState& lex = eng.lex;
  LineFlags& f = s.flags;
  const char* line = s.line;
  const int len = s.len;
  const CodeCharacterTable& codeCharacter = kChecks ? kCodeCharacter : kCodeCharacterNoChecks;
  const StopTable& stopCode = kChecks ? kStopCode : kStopCodeNoChecks;
  Context ctx = ContextOf(lex);
  for (int i = start; i < len; ++i) {
    const char c = line[i];
    const auto u = static_cast<unsigned char>(c);
    if (!f.loc) FirstCharacters(s, i, c, IsComment(ctx), kChecks, gcd);
    if (kLexicalCharacter[u]) {
      LexicalCharacter(s, i, c, kChecks, gcd);
      ctx = ContextOf(lex);
    }
    if (codeCharacter[u] && ctx == Context::Code) {
      CodeCharacter(s, i, gcd);
      if (kChecks) CodeCharacterChecks(line, i, s.lineNumber, gcd);
      if (lex.region_flag) return;
    }
    if (f.blank || !(f.loc || IsComment(ctx))) continue;
    int j = i + 1;
    if (ctx == Context::Code) {
      // A keyword may start right after the character just scanned.
      if (j < len) {
        const auto next = static_cast<unsigned char>(line[j]);
        if (stopCode.kind[next] == kInert && IsKeywordLead(next, u) && LeadCharacterMatters<kChecks>(line, j, len))
          continue;
      }
      j = SkipCodeRun<kChecks>(s, j, gcd);
    } else {
      j = SkipPlainText(s, j, ctx, gcd);
    }
    i = j - 1;
  }
}

void ScanLine(LineScan& s, GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  const LexState& lex = eng.lex;
  if (gcd.sw.extractStrings || CommentExtractionOn(gcd.sw) || eng.keepContextText || lex.region_flag) {
    ScanLineCollecting(s, gcd);
    return;
  }
  // Leading blanks and tabs only add to the white space (and raise the tab
  // notice): count them in one go.
  const char* line = s.line;
  int start = 0;
  int tabs = 0;
  while (start < s.len && (line[start] == ' ' || line[start] == '\t')) {
    if (line[start] == '\t') ++tabs;
    ++start;
  }
  eng.fc.whitespace += tabs * gcd.cfg.tabSize + (start - tabs);
  if (tabs > 0 && s.checks && !lex.in_string) TabNotices(s.lineNumber, tabs, gcd);
  if (s.checks) ScanLineLean<true>(s, start, gcd);
  else ScanLineLean<false>(s, start, gcd);
}

bool HasFallThroughPhrase(const char* line) {
  // Every phrase holds " thr": most comment lines are ruled out by one search.
  if (std::strstr(line, " thr") == nullptr) return false;
  for (const char* phrase : kFallThroughPhrases)
    if (std::strstr(line, phrase) != nullptr) return true;
  return false;
}

// The last character of the scanned line that is no blank, tab, line feed
// or carriage return; a blank when there is none.
char LastNonBlank(const LineScan& s) {
  for (int i = s.len - 1; i >= 0; --i) {
    const char c = s.line[i];
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return c;
  }
  return ' ';
}

void EndOfLine(LineScan& s, GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  LexState& lex = eng.lex;
  FileCounts& fc = eng.fc;
  LineFlags& f = s.flags;
  f.last_char = LastNonBlank(s);
  if (f.blank) f.c_comment = 0;  // a blank line inside a block comment is blank
  bool comment = f.c_comment || lex.in_cpp_comment;
  eng.lineType = LineTypeCode(f.blank, f.loc, f.non_effective, f.logical, comment ? 1 : 0);
  if (gcd.sw.lineTrace || gcd.sw.workDeterministic) ShowLineTrace(s.line, s.lineNumber, f, gcd);
  if (f.blank) {
    ++fc.blank;
    lex.comment_pending = 0;
    fc.commentRun = 0;
  }
  if (f.loc) ++fc.loc;
  if (gcd.udqn.current != nullptr) udqn_process(s.line, 0, gcd);
  if (comment) {
    lex.comment_pending = 1;
    ++fc.commentRun;
    // Only the case and break notice reads the fall-through comments.
    if (s.checks && HasFallThroughPhrase(s.line)) ++fc.fallThrough;
    ++fc.comment;
  }
  // The line's record in the differential line data of a baseline (-wd).
  if (gcd.drv.diffDataStream != nullptr) WorkDiffDataLineWrite(gcd.drv.diffDataStream, eng.lineType, s.line, gcd);
  if (CommentExtractionOn(gcd.sw)) ExtractCommentLine(s.lineNumber, gcd);
  if (gcd.gate.hashBodies && gcd.st.functionScopeOpen && s.lineNumber > gcd.st.fn.begin.line) {
    std::uint64_t& h = gcd.st.fn.bodyHash;
    h = BodyHashUpdate(h, eng.codeText.text, eng.codeText.len);
    h = BodyHashUpdate(h, eng.stringText.text, eng.stringText.len);
  }
  if (StructureLineEndMatters(gcd.st)) StructureLineEnd(s, gcd);
  if (f.loc) {
    // s.len is below kTextBuf and the line holds no NUL before it.
    std::memcpy(eng.lastCodeLine.text, s.line, static_cast<size_t>(s.len));
    eng.lastCodeLine.text[s.len] = '\0';
    eng.lastCodeLine.len = s.len;
    eng.lastCodeLineNumber = s.lineNumber;
  }
  if (f.last_char == '\\') {
    ++fc.continuation;
    lex.line_continued = 1;
  } else {
    if (lex.macro_function) MacroLineEnd(s.lineNumber, gcd);
    lex.preproc_flag = 0;
    lex.error_directive = 0;
    lex.define_flag = 0;
    lex.in_cpp_comment = 0;
    lex.line_continued = 0;
    if (lex.quote_count % 2 == 0) lex.in_string = 0;
  }
  if (gcd.sw.debug) {
    OutF("*** Debug:\n");
    OutF("*** Line   : %s", s.line);
    OutF("*** Code   : %s\n", eng.codeText.text);
    OutF("*** String : %s\n", eng.stringText.text);
    OutF("*** Comment: %s\n", eng.commentText.text);
  }
  if (eng.keepContextText) {
    eng.codeText.Clear();
    eng.stringText.Clear();
    eng.commentText.Clear();
  }
}

}  // namespace

char LineTypeCode(int blank, int loc, int nonEffective, int logical, int comment) {
  if (blank) return 'B';
  if (loc) {
    char code = nonEffective ? 'N' : logical ? 'G' : 'L';
    return comment ? static_cast<char>(code - 'A' + 'a') : code;
  }
  return comment ? 'C' : ' ';
}

void ParseLine(const char* line, int lineNumber, GlobalData& gcd) {
  EngineState& eng = gcd.eng;
  LexState& lex = eng.lex;
  if (line == nullptr) {
    lex.comment_pending = 0;
    eng.fc.commentRun = 0;
    return;
  }
  LineScan s{line, 0, lineNumber, {}};
  // 1. The counted length leaves out one line feed and then one carriage return.
  const int rawLen = static_cast<int>(strnlen(line, kTextMax));
  int len = rawLen;
  s.endsInText = static_cast<std::size_t>(len) < kTextMax;
  if (len > 0 && line[len - 1] == '\n') --len;
  if (len > 0 && line[len - 1] == '\r') --len;
  s.len = len;
  // The driver's line buffer may be read to its end; any other text only up
  // to its terminator. Every byte after the counted length ends a plain run.
  if (!s.endsInText) s.readable = len;
  else s.readable = line == gcd.drv.line ? static_cast<int>(kTextBuf) : rawLen + 1;
  eng.lineStartCharacters = eng.fc.characters;
  eng.lineStartWhitespace = eng.fc.whitespace;
  eng.fc.characters += len;
  s.flags.c_comment = lex.in_c_comment;
  // 2. A line that does not continue another starts a new logical line.
  if (!lex.line_continued) {
    lex.estring.Clear();
    lex.estringStart = 0;
    lex.quote_count = 0;
  }
  // 3. The start of a file counts as a preceding comment.
  if (lex.first_line) {
    lex.comment_pending = 1;
    lex.first_line = 0;
  }
  if (lex.function_scope < 0) lex.function_scope = 0;
  // 4. The key string and line length checks, then a class name pending
  // from an earlier line is looked for.
  s.checks = NoticeChecksOn(gcd);
  if (s.checks) LineStartChecks(line, len, lineNumber, gcd);
  if (StructureLineStartMatters(gcd.st)) StructureLineStart(s, gcd);
  // 5. An empty line is blank without a scan.
  if (len > 0) ScanLine(s, gcd);
  EndOfLine(s, gcd);
}
