// Function heads: the name before a parameter list, its validation and
// qualification, and the normalised parameter text.
#include <cstring>
#include <string>
#include <string_view>

#include "common/gcd.h"
#include "common/output.h"
#include "engine/lexical.h"
#include "engine/macros.h"
#include "structure/functions.h"
#include "structure/qualify.h"

namespace {

constexpr int kMaxMacroRetries = 64;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsIdentChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}
bool IsLetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

constexpr std::string_view kSystemTypes[] = {"unsigned", "char",  "short", "int", "long", "float", "double",
                                             "void",     "signed", "while", "if",  "else", "for"};

bool IsSystemTypeName(std::string_view name) {
  for (std::string_view t : kSystemTypes)
    if (name == t) return true;
  return false;
}

// The last word "operator" before the parenthesis at index, or npos.
std::size_t FindOperatorWord(std::string_view text, std::size_t index) {
  std::size_t found = std::string_view::npos;
  for (std::size_t p = text.find("operator"); p != std::string_view::npos && p < index;
       p = text.find("operator", p + 1)) {
    const std::size_t end = p + 8;
    if ((p == 0 || !IsIdentChar(text[p - 1])) && (end >= text.size() || !IsIdentChar(text[end]))) found = p;
  }
  return found;
}

// Skips a /* ... */ comment that starts at p; returns the index after it, or
// p when there is none.
std::size_t SkipBlockComment(std::string_view text, std::size_t p) {
  if (p + 1 >= text.size() || text[p] != '/' || text[p + 1] != '*') return p;
  std::size_t end = text.find("*/", p + 2);
  return end == std::string_view::npos ? text.size() : end + 2;
}

// The qualifier in front of "operator": Matrix<T> in Matrix<T>::operator==.
std::string OperatorQualifier(std::string_view text, std::size_t op) {
  std::size_t j = op;
  while (j > 0 && IsBlank(text[j - 1])) --j;
  if (j < 2 || text[j - 1] != ':' || text[j - 2] != ':') return {};
  std::size_t end = j - 2;  // the qualifier ends before the "::"
  std::size_t k = end;
  while (k > 0 && IsBlank(text[k - 1])) --k;
  // A template argument list keeps its word: walk back to its '<' first.
  if (k > 0 && text[k - 1] == '>') {
    int depth = 0;
    while (k > 0) {
      const char c = text[--k];
      if (c == '>') ++depth;
      else if (c == '<' && --depth == 0) break;
    }
  }
  std::size_t start = k;
  while (start > 0 && !IsBlank(text[start - 1]) && text[start - 1] != '&' && text[start - 1] != '*') --start;
  std::string qualifier;
  for (std::size_t i = start; i < end; ++i)
    if (!IsBlank(text[i])) qualifier += text[i];
  if (!qualifier.empty() && qualifier.back() == ':') qualifier.pop_back();
  return qualifier;
}

// The operator name from "operator" on; movedIndex gets the parameter list
// of the call operator.
std::string OperatorName(std::string_view text, std::size_t op, int* movedIndex) {
  std::string name = "operator";
  std::size_t p = op + 8;
  bool firstRun = true;
  while (p < text.size()) {
    const char c = text[p];
    if (c == '(' || c == '\n' || c == '\0') break;
    if (c == '/' && p + 1 < text.size() && text[p + 1] == '*') {
      p = SkipBlockComment(text, p);
      continue;
    }
    if (IsBlank(c)) {
      if (firstRun && name.size() == 8) name += ' ';
      firstRun = false;
      ++p;
      continue;
    }
    firstRun = false;
    name += c;
    ++p;
  }
  // operator() : the first parentheses are the name, the next the parameters.
  std::string_view soFar(name);
  while (!soFar.empty() && soFar.back() == ' ') soFar.remove_suffix(1);
  if (soFar.size() >= 3 && soFar.substr(soFar.size() - 3) == "tor" && p < text.size() && text[p] == '(') {
    std::size_t close = text.find(')', p);
    if (close != std::string_view::npos) {
      std::size_t params = text.find('(', close);
      if (params != std::string_view::npos) *movedIndex = static_cast<int>(params);
    }
    return "operator ()";
  }
  return name;
}

// The name written right before the parenthesis at index (step back over
// blanks and ')', then collect to a blank, '(' or the start; '*' and '&' end
// it; template arguments are kept without blanks; "A :: B" is joined).
std::string NameBefore(std::string_view text, int index) {
  int p = index - 1;
  while (p >= 0 && (IsBlank(text[p]) || text[p] == ')' || text[p] == '\r')) --p;
  std::string reversed;
  while (p >= 0) {
    const char c = text[p];
    if (c == '/' && p > 0 && text[p - 1] == '*' && reversed.empty()) {
      // A comment right before the name is skipped with the blanks before it.
      std::size_t open = text.rfind("/*", static_cast<std::size_t>(p > 1 ? p - 2 : 0));
      if (open == std::string_view::npos || static_cast<int>(open) >= p - 1) break;
      p = static_cast<int>(open) - 1;
      while (p >= 0 && IsBlank(text[p])) --p;
      continue;
    }
    if (IsBlank(c)) {
      int q = p;
      while (q >= 0 && IsBlank(text[q])) --q;
      const bool joinsBefore = q >= 1 && text[q] == ':' && text[q - 1] == ':';
      const bool joinsAfter = reversed.size() >= 2 && reversed[reversed.size() - 1] == ':' &&
                              reversed[reversed.size() - 2] == ':';
      if (joinsBefore || joinsAfter) {
        p = q;
        continue;
      }
      break;
    }
    if (c == '(' || c == '*' || c == '&') break;
    if (c == '>') {
      int depth = 0;
      while (p >= 0) {
        const char t = text[p];
        if (t == '>') ++depth;
        else if (t == '<') --depth;
        if (!IsBlank(t)) reversed += t;
        --p;
        if (depth == 0) break;
      }
      continue;
    }
    reversed += c;
    --p;
  }
  std::string name(reversed.rbegin(), reversed.rend());
  // Whatever stands before a '&', '*' or blank outside template arguments goes.
  int depth = 0;
  for (std::size_t i = name.size(); i > 0; --i) {
    const char c = name[i - 1];
    if (c == '>') ++depth;
    else if (c == '<') --depth;
    else if (depth <= 0 && (c == '&' || c == '*' || c == ' ')) {
      name.erase(0, i);
      break;
    }
  }
  if (name.size() > kTextMax) name.resize(kTextMax);
  return name;
}

void Reject(GlobalData& gcd) {
  StructureState& st = gcd.st;
  st.funcname_flag = 0;
  st.fn.headOpen = 0;
  st.fn.name.clear();
  st.fn.params.clear();
}

void RejectMacroInvocation(GlobalData& gcd) {
  Reject(gcd);
  gcd.st.fn.templateFunction = 0;
  gcd.st.fn.templ.clear();
  gcd.st.pendingTemplate.clear();
}

int GetFunctionAt(const char* text, int index, GlobalData& gcd, int retries);

// Step 10: a macro name in the head. Returns -1 when the head was rejected,
// else the index the caller goes on with.
int MacroName(std::string_view text, int index, GlobalData& gcd, int retries) {
  const std::string name = gcd.st.fn.name;
  std::size_t at = text.find(name);
  if (at != std::string_view::npos) {
    std::size_t p = at + name.size();
    while (p < text.size() && IsBlank(text[p])) ++p;
    if (p < text.size() && text[p] == '(') {
      RejectMacroInvocation(gcd);
      return -1;
    }
  }
  // The macro's own position before the parenthesis (blanks may separate them).
  const std::size_t own = index > 0 ? text.rfind(name, static_cast<std::size_t>(index - 1)) : std::string_view::npos;
  const int left = own == std::string_view::npos ? index - static_cast<int>(name.size()) : static_cast<int>(own);
  if (left < 1 || retries >= kMaxMacroRetries) {
    RejectMacroInvocation(gcd);
    return -1;
  }
  // The macro only decorates the head: the word before it is the name.
  const int result = GetFunctionAt(text.data(), left, gcd, retries + 1);
  if (!gcd.st.funcname_flag) return -1;
  return result;
}

int GetFunctionAt(const char* text, int index, GlobalData& gcd, int retries) {
  StructureState& st = gcd.st;
  FunctionState& fn = st.fn;
  fn.upperCaseName = 0;
  fn.compilerDirective = 0;
  if (text == nullptr) return index;
  const std::string_view view(text, strnlen(text, kTextMax));
  if (index < 0 || index >= static_cast<int>(view.size())) return index;
  if (gcd.sw.debug) OutF("*** Debug: GetFunction: %s\n", text);
  fn.name.clear();
  fn.params.clear();

  const std::size_t firstParen = view.find('(');
  // The operator word counts when it names this parameter list: it stands
  // before the parenthesis with no other '(' between them.
  const std::size_t op = FindOperatorWord(view, static_cast<std::size_t>(index));
  const bool cFile = gcd.lang.isC && !gcd.lang.isCpp;
  bool isOperator = false;
  if (op != std::string_view::npos && !cFile && view.substr(op, static_cast<std::size_t>(index) - op).find('(') ==
                                                    std::string_view::npos) {
    isOperator = true;
    std::string qualifier = OperatorQualifier(view, op);
    fn.name = OperatorName(view, op, &index);
    if (!qualifier.empty()) fn.name = qualifier + "::" + fn.name;
    if (fn.name.size() > kTextMax) fn.name.resize(kTextMax);
    if (gcd.sw.debug) OutF("*** Debug: operator G->func_name = %s\n\n", fn.name.c_str());
  } else {
    // A parenthesis that opens a declarator, (*name)(...), is not the
    // parameter list: the next one after the '*' is.
    std::size_t p = static_cast<std::size_t>(index) + 1;
    for (;;) {
      while (p < view.size() && IsBlank(view[p])) ++p;
      std::size_t after = SkipBlockComment(view, p);
      if (after == p) break;
      p = after;
    }
    if (p < view.size() && view[p] == '*') {
      if (firstParen == view.rfind('(')) return index;
      std::size_t next = p + 1;
      while (next < view.size() && view[next] != '(') {
        std::size_t after = SkipBlockComment(view, next);
        next = after == next ? next + 1 : after;
      }
      if (next >= view.size()) return index;
      index = static_cast<int>(next);
    }
    fn.name = NameBefore(view, index);
  }

  if (!ValFunctionName(gcd, isOperator ? 1 : 0)) {
    Reject(gcd);
    return index;
  }
  if (fn.name.empty() || static_cast<unsigned char>(fn.name[0]) <= 32 || gcd.eng.assignment_flag) {
    Reject(gcd);
    return index;
  }
  if (IsSystemTypeName(fn.name)) {
    if (gcd.sw.debug)
      OutF("*** Debug:\n  Warning: Line No. %d\n           Function name is a system type - %s\n"
           "           This may occur if a macro name is equivalent\n           to a function name.  Functional "
           "analysis has\n           been skipped by LQA.\n\n",
           gcd.drv.lineNumber, fn.name.c_str());
    Reject(gcd);
    return index;
  }
  if (gcd.lang.isCSharp && fn.name.find('[') != std::string::npos) {
    Reject(gcd);
    return index;
  }
  if (is_macro(fn.name.c_str(), gcd)) return MacroName(view, index, gcd, retries);

  // Accepted.
  char token[kTextBuf];
  token[0] = '\0';  // the reader clears only what the buffer holds
  const char* first = GetNextToken(text, 0, token);
  fn.upperCaseName = first != nullptr && fn.name == first && IsUpperCase(fn.name.c_str()) ? 1 : 0;
  st.funcname_flag = 1;
  fn.headOpen = 1;
  gcd.eng.func = FunctionCounts{};
  if (!st.pendingTemplate.empty()) {
    fn.templ = st.pendingTemplate;
    fn.templateFunction = 1;
  } else {
    fn.templ.clear();
    fn.templateFunction = 0;
  }
  QualifyFunctionName(fn.name, gcd);
  return index;
}

}  // namespace

int GetFunction(const char* text, int index, GlobalData& gcd) { return GetFunctionAt(text, index, gcd, 0); }

int ValFunctionName(GlobalData& gcd, int isOperator) {
  std::string& name = gcd.st.fn.name;
  while (name.size() > 1 && (name.back() == ' ' || name.back() == '\t' || name.back() == '\n' || name.back() == '\r'))
    name.pop_back();
  const bool cFile = gcd.lang.isC && !gcd.lang.isCpp;
  int ok = 1;
  if (!name.empty()) {
    if (isOperator && !cFile) {
      const char c = name[0];
      ok = (isfirstchar(c) || c == ':') ? 1 : 0;
    } else {
      // Template arguments may hold any type (Map<K, V>::find, Ptr<T*>::get):
      // only the name around them is checked.
      int angle = 0;
      for (char c : name) {
        const bool plain = IsLetterOrDigit(c) || c == '~' || c == '_';
        const bool cpp = !cFile && (c == ':' || c == '<' || c == '>');
        if (!cFile && c == '<') ++angle;
        else if (!cFile && c == '>' && angle > 0) --angle;
        else if (angle > 0 && static_cast<unsigned char>(c) > 32) continue;
        if (!plain && !cpp) {
          ok = 0;
          break;
        }
      }
      if (angle > 0) ok = 0;  // result_of<T(...: the parenthesis is inside template arguments
    }
  }
  if (gcd.sw.debug) OutF("*** Debug: ValFunctionName: %d - %s\n\n", ok, name.c_str());
  return ok;
}

int IsUpperCase(const char* s) {
  if (s == nullptr) return 1;
  for (; *s != '\0' && *s != '\n'; ++s)
    if (*s >= 'a' && *s <= 'z') return 0;
  return 1;
}

std::string& packParams(std::string& params, const std::string& name, GlobalData& gcd) {
  if (params.size() > kTextMax) params.resize(kTextMax);
  const std::size_t brace = params.find('{');
  const std::size_t paren = params.find(')');
  // The colon of an initializer list stands alone: a "::" after the first
  // ')' belongs to a parameter type (int (*f)(int), std::string s).
  std::size_t colon = std::string::npos;
  if (paren != std::string::npos) {
    for (std::size_t p = params.find(':', paren); p != std::string::npos; p = params.find(':', p + 2)) {
      if (p + 1 < params.size() && params[p + 1] == ':') continue;
      colon = p;
      break;
    }
  }
  if (name == "operator" || name.find("::operator") != std::string::npos) {
    if (brace != std::string::npos && paren != std::string::npos && brace > paren)
      params.resize(brace);
    else if (std::size_t last = params.rfind(')'); last != std::string::npos)
      params.resize(last + 1);
  } else if (brace == std::string::npos || paren != std::string::npos) {
    // Cut at the body, then at a constructor's initializer list.
    if (brace != std::string::npos && brace > paren) params.resize(brace);
    if (colon != std::string::npos && colon < params.size()) params.resize(colon);
  }
  std::string out(params.size() + 1, '\0');
  char* const o = out.data();
  std::size_t n = 0;
  for (std::size_t i = 0; i < params.size(); ++i) {
    const char c = params[i];
    if (c == '\t' || c == '\n' || c == '\r') continue;
    if (c == ' ') {
      if (n == 0 || o[n - 1] == ' ' || o[n - 1] == '(') continue;
      std::size_t j = i;
      while (j < params.size() && (params[j] == ' ' || params[j] == '\t' || params[j] == '\n' || params[j] == '\r'))
        ++j;
      if (j < params.size() && params[j] == ')') continue;
    }
    o[n++] = c;
  }
  out.resize(n);
  if (std::size_t last = out.rfind(')'); last != std::string::npos) out.resize(last + 1);
  if (out.empty() || out.back() != ')') out += ')';
  if (gcd.st.fn.nonAnsiParams) out += " Non-ANSI Parameter Construct";
  if (gcd.st.fn.compilerDirective) out += " Defined By Compiler Directive";
  if (out.size() > kTextMax) out.resize(kTextMax);
  params.swap(out);
  return params;
}

int countParams(const std::string& packed) {
  if (packed == "(void)" || packed == "()") return 0;
  int commas = 0;
  int depth = 0;
  // The text holds no NUL (head text stops at one): strpbrk finds each mark.
  for (const char* p = std::strpbrk(packed.c_str(), "<>,"); p != nullptr; p = std::strpbrk(p + 1, "<>,")) {
    if (*p == '<') ++depth;
    else if (*p == '>') --depth;
    else if (depth <= 0) ++commas;
  }
  return commas + 1;
}

std::string& SetInterface(std::string& name) {
  name.insert(0, "Interface-");
  if (name.size() > kTextMax) name.resize(kTextMax);
  return name;
}
