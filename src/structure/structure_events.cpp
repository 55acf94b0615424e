// The hand-over points between the line engine and structure recognition:
// what each brace opens, where function, type, namespace and template heads
// start and end, and which statements declare members.
#include "structure/structure_events.h"

#include <cstring>
#include <string>

#include "common/gcd.h"
#include "engine/keywords.h"
#include "engine/lexical.h"
#include "engine/line_scan.h"
#include "notices/notices.h"
#include "structure/classes.h"
#include "structure/functions.h"
#include "structure/head_text.h"
#include "structure/namespaces.h"

namespace {

bool CFile(const GlobalData& gcd) { return gcd.lang.isC && !gcd.lang.isCpp; }

bool HasCLinkage(const char* text) { return std::strstr(text, "extern \"C\"") != nullptr; }

// The brace frame that encloses the current position, or null at file level.
const BraceFrame* TopFrame(const StructureState& st) { return st.braces.empty() ? nullptr : &st.braces.back(); }

// Directly inside a type body: not in a function, block or initializer.
bool AtMemberLevel(const GlobalData& gcd) {
  const StructureState& st = gcd.st;
  const BraceFrame* top = TopFrame(st);
  return st.class_flag && top != nullptr && top->kind == BraceKind::Class && gcd.eng.lex.function_scope == 0;
}

void StartStatement(int lineNumber, int col, StructureState& st) {
  st.statementLine = lineNumber;
  st.statementCol = col;
  st.memberCommas = 0;
  st.memberAngles = 0;
}

// The signature gathered up to column i of the current line.
void CollectSignature(const LineScan& s, int i, GlobalData& gcd) {
  FunctionState& fn = gcd.st.fn;
  if (!fn.collecting || fn.collectCol >= i) return;
  AppendHeadText(fn.params, s.line, fn.collectCol, i, fn.collectInComment);
  fn.collectCol = i;
}

void CollectTypeHead(const LineScan& s, int i, GlobalData& gcd) {
  TypeHead& head = gcd.st.head;
  if (!head.kind || !head.named || head.collectCol < 0 || head.collectCol >= i) return;
  AppendHeadText(head.text, s.line, head.collectCol, i, head.collectInComment);
  head.collectCol = i;
}

void CollectTemplate(const LineScan& s, int i, GlobalData& gcd) {
  StructureState& st = gcd.st;
  if (st.templateCol >= i) return;
  AppendHeadText(st.templateText, s.line, st.templateCol, i, st.templateInComment);
  st.templateCol = i;
}

// The head read so far is done with its parameter list.
bool ParametersClosed(const GlobalData& gcd) {
  return AfterParameterList(gcd.st.fn.params) != std::string::npos;
}

// A head whose parameter list has closed cannot be a function once a type
// keyword or a new head without a ';' follows: it was a macro invocation
// or a declaration. C# constraints (where T : class) are part of the head.
void AbandonFinishedHead(GlobalData& gcd) {
  if (gcd.st.funcname_flag && gcd.st.fn.headOpen && ParametersClosed(gcd)) DropFunctionHead(gcd);
}

void TypeKeyword(int kind, const char* line, int pos, GlobalData& gcd) {
  StructureState& st = gcd.st;
  const LexState& lex = gcd.eng.lex;
  if (lex.paren_depth > 0 || lex.bracket_depth > 0 || st.templateDepth > 0 || lex.preproc_flag) return;
  if (st.enumInStatement || st.friendInStatement) return;
  if (st.funcname_flag && st.fn.headOpen) {
    if (gcd.lang.isCSharp) return;  // a constraint: where T : class
    AbandonFinishedHead(gcd);
    if (st.funcname_flag && st.fn.headOpen) return;
  }
  if (st.head.kind && st.head.named && gcd.lang.isCSharp) return;  // class Foo<T> where T : class
  st.head = TypeHead{};
  st.head.kind = kind;
  st.head.inFunction = st.functionScopeOpen;
  st.typeKeywordInStatement = 1;
  GetClassname(line, pos, gcd);
}

void AccessWord(int section, const char* line, int pos, GlobalData& gcd) {
  StructureState& st = gcd.st;
  if (!AtMemberLevel(gcd)) return;
  SetAccess(section, gcd);
  // "public:" labels a section: the next statement starts after the colon.
  int p = pos;
  while (line[p] == ' ' || line[p] == '\t') ++p;
  if (line[p] == ':' && line[p + 1] != ':') StartStatement(gcd.drv.lineNumber, p + 1, st);
}

// The type head is a definition only when its name is followed by more than
// the ';' (class Foo; is a forward declaration).
bool ForwardDeclaration(const LineScan& s, int i, const TypeHead& head) {
  if (head.forward) return true;
  if (!head.named || head.nameEndLine != s.lineNumber) return false;
  for (int p = head.nameEndCol; p < i; ++p)
    if (s.line[p] != ' ' && s.line[p] != '\t') return false;
  return true;
}

// The statement that a ';' ends holds a declaration.
bool StatementHoldsCode(const LineScan& s, int i, const StructureState& st) {
  if (st.statementLine != s.lineNumber) return true;
  for (int p = st.statementCol; p < i; ++p) {
    const char c = s.line[p];
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_') return true;
  }
  return false;
}

void FinishTemplate(const LineScan& s, int i, GlobalData& gcd) {
  StructureState& st = gcd.st;
  CollectTemplate(s, i + 1, gcd);
  FormatTemplateLine(st.templateText);
  if (st.templateText.size() > kTextMax) st.templateText.resize(kTextMax);
  st.pendingTemplate = std::move(st.templateText);
  st.templateText.clear();
}

// Heads named by an operator on types (decltype(auto) f(...)) are part of
// the return type of the head that follows.
bool IsTypeOperator(const std::string& qualifiedName) {
  static constexpr const char* kTypeOperators[] = {"decltype", "typeof", "__typeof__", "alignas", "sizeof", "alignof",
                                                   "noexcept"};
  const std::size_t sep = qualifiedName.find_last_of(":.");
  const std::string name = sep == std::string::npos ? qualifiedName : qualifiedName.substr(sep + 1);
  for (const char* op : kTypeOperators)
    if (name == op) return true;
  return false;
}

// Words that may follow a parameter list without starting a new head.
constexpr const char* kHeadTrailers[] = {"const", "volatile", "noexcept", "throw", "override", "final",
                                         "mutable", "constexpr", "try", "requires", "throws"};

// The text between a closed parameter list and a new '(' names a new head
// when, after its last ')', it holds a type and a name (two words or more,
// trailers aside): the first head was a macro such as __printf(2, 3). A
// single word is an annotation of the first head (__acquires(lock)).
bool NamesNewHead(const std::string& text, std::size_t from, const GlobalData& gcd) {
  if (text.find("->", from) != std::string::npos) return false;
  if (gcd.lang.isCSharp && text.find("where", from) != std::string::npos) return false;
  if (std::size_t close = text.rfind(')'); close != std::string::npos && close >= from) from = close + 1;
  int words = 0;
  std::size_t i = from;
  while (i < text.size()) {
    while (i < text.size() && !HoldsWord(text, i, i + 1)) ++i;
    const std::size_t start = i;
    while (i < text.size() && HoldsWord(text, i, i + 1)) ++i;
    if (i == start) break;
    const std::string word = text.substr(start, i - start);
    bool trailer = false;
    for (const char* t : kHeadTrailers) trailer = trailer || word == t;
    if (!trailer) ++words;
  }
  return words >= 2;
}

// A candidate head at the '(' at i: the name is looked for on this line, or
// on the last code line when the '(' starts this one.
void TryFunctionHead(LineScan& s, int i, GlobalData& gcd) {
  StructureState& st = gcd.st;
  const EngineState& eng = gcd.eng;
  const char* line = s.line;
  int p = i + 1;
  while (line[p] == ' ' || line[p] == '\t') ++p;
  int index = i;
  int resultCol = i;
  int nameLine = s.lineNumber;
  if (s.flags.first_code_col == i && line[p] != '*' && eng.lastCodeLine.len > 0) {
    nameLine = eng.lastCodeLineNumber;
    char text[kTextBuf];
    const int prefix = std::min(eng.lastCodeLine.len, static_cast<int>(kTextMax) - 2);
    std::memcpy(text, eng.lastCodeLine.text, static_cast<std::size_t>(prefix));
    text[prefix] = ' ';
    CopyBounded(text + prefix + 1, kTextBuf - static_cast<std::size_t>(prefix) - 1, line + i);
    index = prefix + 1;
    const int r = GetFunction(text, index, gcd);
    resultCol = r >= index ? i + (r - index) : i;
  } else {
    resultCol = GetFunction(line, i, gcd);
  }
  if (!st.funcname_flag) return;
  FunctionState& fn = st.fn;
  fn.nameLine = nameLine;
  fn.params.clear();
  fn.collecting = 1;
  fn.collectCol = resultCol;
  fn.collectInComment = 0;
}

}  // namespace

void StructureLineStart(const LineScan& s, GlobalData& gcd) {
  StructureState& st = gcd.st;
  if (st.fn.collecting) st.fn.collectCol = 0;
  if (st.head.kind && st.head.named) st.head.collectCol = 0;
  st.templateCol = 0;
  if (!st.head.kind || !st.head.namePending || gcd.eng.lex.define_flag) return;
  const char* first = Lefttrim(s.line);
  if (first[0] == '#') return;
  GetClassname(s.line, 0, gcd);
}

void StructureLineEnd(const LineScan& s, GlobalData& gcd) {
  StructureState& st = gcd.st;
  // Directive lines inside a head are not part of its text.
  if (gcd.eng.lex.preproc_flag) return;
  if (st.fn.collecting && st.fn.headOpen) {
    CollectSignature(s, s.len, gcd);
    AppendHeadText(st.fn.params, "\n", 0, 1, st.fn.collectInComment);
  }
  if (st.head.kind && st.head.named && st.head.collectCol >= 0) {
    CollectTypeHead(s, s.len, gcd);
    AppendHeadText(st.head.text, "\n", 0, 1, st.head.collectInComment);
  }
  if (st.templateDepth > 0) CollectTemplate(s, s.len, gcd);
}

void StructureKeyword(KeywordAction action, const char* line, int i, int pos, GlobalData& gcd) {
  StructureState& st = gcd.st;
  const bool cFile = CFile(gcd);
  switch (action) {
    case KeywordAction::Class:
      if (!cFile) TypeKeyword(1, line, pos, gcd);
      else AbandonFinishedHead(gcd);
      break;
    case KeywordAction::Struct:
      if (!cFile) TypeKeyword(2, line, pos, gcd);
      else AbandonFinishedHead(gcd);
      break;
    case KeywordAction::Interface:
      if (!cFile) TypeKeyword(3, line, pos, gcd);
      break;
    case KeywordAction::Union:
      AbandonFinishedHead(gcd);
      break;
    case KeywordAction::Namespace:
      if (cFile || gcd.eng.lex.paren_depth > 0) break;
      if (gcd.eng.using_flag) {
        EmitUsingNamespace(gcd);
        break;
      }
      NamespaceKeyword(line, pos, gcd);
      break;
    case KeywordAction::Package:
      if (gcd.eng.lex.paren_depth == 0 && !st.class_flag) PackageKeyword(line, pos, gcd);
      break;
    case KeywordAction::Public:
      if (!cFile) AccessWord(0, line, pos, gcd);
      break;
    case KeywordAction::Protected:
      if (!cFile) AccessWord(1, line, pos, gcd);
      break;
    case KeywordAction::Private:
      if (!cFile) AccessWord(2, line, pos, gcd);
      break;
    case KeywordAction::Typedef:
      st.typedefInStatement = 1;
      AbandonFinishedHead(gcd);
      break;
    case KeywordAction::Template:
      if (cFile) break;
      st.templatePending = 1;
      st.templateText = "template";
      st.templateCol = pos;
      st.templateInComment = 0;
      st.templateParenDepth = gcd.eng.lex.paren_depth;
      break;
    case KeywordAction::Using:
      if (gcd.lang.isCpp || gcd.lang.isCSharp) gcd.eng.using_flag = 1;
      break;
    case KeywordAction::Friend:
      st.friendInStatement = 1;
      break;
    case KeywordAction::Virtual:
      if (st.class_flag && std::strchr(line + pos, '~') != nullptr) st.type.virtualDestructor = 1;
      break;
    default:
      break;
  }
  (void)i;
}

void StructureOpenParen(LineScan& s, int i, GlobalData& gcd) {
  StructureState& st = gcd.st;
  const EngineState& eng = gcd.eng;
  const LexState& lex = eng.lex;
  TypeHead& head = st.head;
  if (head.kind && head.named && lex.paren_depth == 0 &&
      !(s.lineNumber == head.nameEndLine && i < head.nameEndCol)) {
    CollectTypeHead(s, i, gcd);
    int angles = 0;
    for (char c : head.text) angles += c == '<' ? 1 : c == '>' ? -1 : 0;
    if (gcd.lang.isCSharp && head.text.find("where") != std::string::npos) head.holdsParens = 1;
    else if (angles <= 0) head = TypeHead{};  // a return or parameter type: struct foo *f(...)
  }
  if (head.kind && head.holdsParens) return;
  // Inside an initializer (a lambda, an anonymous class body) no function
  // of the file or class begins.
  if (!gcd.sw.functionAnalysis || lex.paren_depth != 0 || lex.function_scope > 0 || lex.bracket_depth != 0 ||
      st.initializerDepth > 0)
    return;
  if (lex.preproc_flag || lex.define_flag || eng.assignment_flag || st.typedefInStatement || st.templateDepth > 0)
    return;
  if (st.funcname_flag) {
    if (st.functionScopeOpen || !st.fn.headOpen) return;
    CollectSignature(s, i, gcd);
    // A macro invocation or an old-style declaration before it ended: the
    // new head replaces it.
    const std::string& text = st.fn.params;
    const std::size_t after = AfterParameterList(text);
    if (after == std::string::npos) return;
    for (std::size_t colon = text.find(':', after); colon != std::string::npos; colon = text.find(':', colon + 2))
      if (text.compare(colon, 2, "::") != 0) return;  // an initializer list: x(a), y(b)
    if (!(st.fn.upperCaseName || st.fn.nonAnsiParams || IsTypeOperator(st.fn.name) || NamesNewHead(text, after, gcd)))
      return;
    DropFunctionHead(gcd);
  }
  TryFunctionHead(s, i, gcd);
}

void StructureCloseParen(const LineScan&, int, GlobalData&) {}

void StructureCodeChar(const LineScan& s, int i, GlobalData& gcd) {
  StructureState& st = gcd.st;
  const EngineState& eng = gcd.eng;
  const char c = s.line[i];
  switch (c) {
    case '<':
      if (st.templatePending && eng.lex.paren_depth == st.templateParenDepth) {
        st.templatePending = 0;
        st.templateDepth = 1;
      } else if (st.templateDepth > 0) {
        ++st.templateDepth;
      }
      if (AtMemberLevel(gcd)) ++st.memberAngles;
      break;
    case '>':
      if (st.templateDepth > 0 && (i == 0 || s.line[i - 1] != '-') && --st.templateDepth == 0) FinishTemplate(s, i, gcd);
      if (AtMemberLevel(gcd)) --st.memberAngles;
      break;
    case ',':
      if (AtMemberLevel(gcd) && eng.lex.paren_depth == 0 && st.memberAngles <= 0) ++st.memberCommas;
      break;
    case '=':
      if (eng.lex.paren_depth == 0 && st.templateDepth == 0) {
        if (st.head.kind) st.head = TypeHead{};  // struct foo x = ...
        st.ns.pending = 0;                        // namespace alias
        if (st.fn.nonAnsiParams) AbandonFinishedHead(gcd);
      }
      break;
    default:
      break;
  }
}

void StructureOpenBrace(LineScan& s, int i, GlobalData& gcd) {
  StructureState& st = gcd.st;
  EngineState& eng = gcd.eng;
  LexState& lex = eng.lex;
  BraceFrame frame;
  TypeHead& head = st.head;
  const bool topLevelParen = lex.paren_depth == 0;
  if (head.kind && topLevelParen && !lex.preproc_flag) {
    CollectTypeHead(s, i, gcd);
    if (head.named && !head.forward && !head.inFunction) {
      if (st.funcname_flag && st.fn.headOpen) DropFunctionHead(gcd);
      frame.kind = BraceKind::Class;
      frame.savedScope = lex.function_scope;
      lex.function_scope = 0;
      st.braces.push_back(frame);
      OpenClassBody(s.lineNumber, gcd);
      StartStatement(s.lineNumber, i + 1, st);
      return;
    }
    // An anonymous type, or one defined inside a function, is a block.
    FileCounts& fc = eng.fc;
    if (!head.forward) ++(head.kind == 3 ? fc.interfaces : head.kind == 2 ? fc.structs : fc.classes);
    if (head.inFunction && head.named) {
      if (head.kind == 2) EmitStructWithinFunction(gcd);
      else EmitClassWithinFunction("class", gcd);
    }
    head = TypeHead{};
  } else if (st.ns.pending && topLevelParen && !lex.preproc_flag) {
    frame.kind = BraceKind::Namespace;
    frame.savedScope = lex.function_scope;
    lex.function_scope = 0;
    st.braces.push_back(frame);
    OpenNamespaceBody(gcd);
    StartStatement(s.lineNumber, i + 1, st);
    return;
  } else if (st.funcname_flag && st.fn.headOpen && lex.function_scope == 0 && topLevelParen && !lex.preproc_flag &&
             !eng.assignment_flag) {
    CollectSignature(s, i, gcd);
    frame.kind = BraceKind::Function;
    lex.function_scope = 1;
    st.braces.push_back(frame);
    OpenFunctionBody(s.lineNumber, gcd);
    StartStatement(s.lineNumber, i + 1, st);
    return;
  }
  if (eng.enumPending) {
    if (eng.enumPending == 1) ++eng.fc.enums;
    eng.enumPending = 0;
    ++eng.enumBodyOpen;
    frame.kind = BraceKind::Enum;
  } else if (eng.assignment_flag || eng.newInStatement) {
    frame.kind = BraceKind::Transparent;
    ++st.initializerDepth;
  } else if (lex.function_scope == 0 && (HasCLinkage(s.line) || HasCLinkage(eng.lastCodeLine.text) ||
                                         std::strstr(eng.lastCodeLine.text, "__cplusplus") != nullptr)) {
    frame.kind = BraceKind::CLinkage;  // extern "C" { ... } is still file scope
  } else {
    frame.kind = BraceKind::Plain;
    ++lex.function_scope;
  }
  st.braces.push_back(frame);
  if (frame.kind != BraceKind::Transparent) StartStatement(s.lineNumber, i + 1, st);
}

void StructureCloseBrace(LineScan& s, int i, GlobalData& gcd) {
  StructureState& st = gcd.st;
  EngineState& eng = gcd.eng;
  LexState& lex = eng.lex;
  if (st.braces.empty() || st.braces.back().kind != BraceKind::Transparent) StartStatement(s.lineNumber, i + 1, st);
  if (st.braces.empty()) {
    // A closer without an opener: the counts are repaired by the engine.
    if (!eng.assignment_flag) --lex.function_scope;
    return;
  }
  const BraceFrame frame = st.braces.back();
  st.braces.pop_back();
  switch (frame.kind) {
    case BraceKind::Plain:
      --lex.function_scope;
      break;
    case BraceKind::Transparent:
      if (st.initializerDepth > 0) --st.initializerDepth;
      break;
    case BraceKind::CLinkage:
      break;
    case BraceKind::Enum:
      if (eng.enumBodyOpen > 0) --eng.enumBodyOpen;
      break;
    case BraceKind::Function:
      CloseFunctionBody(s.lineNumber, gcd);
      lex.function_scope = 0;
      break;
    case BraceKind::Class:
      CloseClassBody(s.lineNumber, gcd);
      lex.function_scope = frame.savedScope;
      if (st.class_flag && (gcd.lang.isJava || gcd.lang.isCSharp)) ResetAccess(gcd);
      break;
    case BraceKind::Namespace:
      CloseNamespaceBody(gcd);
      lex.function_scope = frame.savedScope;
      break;
  }
}

void StructureSemicolon(const LineScan& s, int i, GlobalData& gcd) {
  StructureState& st = gcd.st;
  const LexState& lex = gcd.eng.lex;
  // Statements inside an initializer (a lambda or an anonymous class body)
  // belong to the declaration around them.
  if (const BraceFrame* top = TopFrame(st); top != nullptr && top->kind == BraceKind::Transparent) return;
  const bool depth0 = lex.paren_depth == 0;
  if (depth0) {
    FunctionState& fn = st.fn;
    bool memberDone = false;
    if (st.funcname_flag && fn.headOpen) {
      CollectSignature(s, i + 1, gcd);
      const std::size_t after = AfterParameterList(fn.params);
      const bool oldStyle = CFile(gcd) && after != std::string::npos && HoldsWord(fn.params, after, fn.params.size()) &&
                            fn.params.find('(', after) == std::string::npos;
      if (oldStyle) {
        fn.nonAnsiParams = 1;  // parameters declared between the list and the body
      } else {
        if (AtMemberLevel(gcd)) {
          packParams(fn.params, fn.name, gcd);
          ClassMethod(gcd);
        }
        DropFunctionHead(gcd);
        memberDone = true;
      }
    } else if (st.head.kind && ForwardDeclaration(s, i, st.head)) {
      memberDone = true;
    }
    if (!memberDone && !st.funcname_flag && AtMemberLevel(gcd) && StatementHoldsCode(s, i, st))
      ClassAttribute(s.line, s.lineNumber, gcd);
    if (st.head.kind) st.head = TypeHead{};
    if (st.ns.pending) {
      if (gcd.lang.isCSharp) OpenFileScopedNamespace(gcd);
      st.ns.pending = 0;
      st.ns.pendingName.clear();
    }
    st.templatePending = 0;
    st.templateDepth = 0;
    st.pendingTemplate.clear();
    st.typedefInStatement = 0;
    st.enumInStatement = 0;
    st.friendInStatement = 0;
    st.typeKeywordInStatement = 0;
  }
  StartStatement(s.lineNumber, i + 1, st);
}

void StructureConditionalDirective(GlobalData& gcd) {
  if (gcd.st.funcname_flag && gcd.st.fn.headOpen) gcd.st.fn.compilerDirective = 1;
}

bool ClassHeadHoldsParens(const GlobalData& gcd) { return gcd.st.head.kind && gcd.st.head.holdsParens; }
