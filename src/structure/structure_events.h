// The places where the line engine hands over to structure recognition:
// start and end of a line, the structure keywords and the characters that
// open and close heads and bodies. ParseLine calls these and nothing else of
// functions, classes and namespaces.
#pragma once

#include "structure/structure_state.h"

struct GlobalData;
struct LineScan;
enum class KeywordAction;

// Start of a line (not a #define): the class name still pending from an
// earlier line is taken from this one.
void StructureLineStart(const LineScan& s, GlobalData& gcd);
// End of a line: the signature and class head text gathered so far.
void StructureLineEnd(const LineScan& s, GlobalData& gcd);
// A structure keyword (class, struct, interface, namespace, package, the
// access words, typedef, template, using) whose word spans [i, pos).
void StructureKeyword(KeywordAction action, const char* line, int i, int pos, GlobalData& gcd);
// '(' in code, before paren_depth grows: a function head may start here.
void StructureOpenParen(LineScan& s, int i, GlobalData& gcd);
// ')' in code, after paren_depth fell.
void StructureCloseParen(const LineScan& s, int i, GlobalData& gcd);
// '{' in code: decides what the brace opens and sets function_scope.
void StructureOpenBrace(LineScan& s, int i, GlobalData& gcd);
// '}' in code: closes what its brace opened (a function, type or namespace
// body ends here) and restores function_scope.
void StructureCloseBrace(LineScan& s, int i, GlobalData& gcd);
// ';' in code: prototypes, member declarations and forward declarations end here.
void StructureSemicolon(const LineScan& s, int i, GlobalData& gcd);
// ',', '<', '>', '=' and ':' in code: declarators, template heads and
// initializer lists.
void StructureCodeChar(const LineScan& s, int i, GlobalData& gcd);
// A #if, #else, #elif or #endif line: heads that span it are marked.
void StructureConditionalDirective(GlobalData& gcd);
// True while a class head holding parentheses is read: its ( and ) lines
// are not tested as single-character lines.
bool ClassHeadHoldsParens(const GlobalData& gcd);

// Necessary conditions for the line and character events to change anything
// (most lines and characters change nothing): ParseLine tests them before it
// calls the event.
// A head or template is being read across lines.
inline bool StructureLineStartMatters(const StructureState& st) {
  return st.fn.collecting || st.head.kind || st.templatePending || st.templateDepth > 0;
}
// A signature, class head or template head gathers the line's text.
inline bool StructureLineEndMatters(const StructureState& st) {
  return (st.fn.collecting && st.fn.headOpen) || (st.head.kind && st.head.named && st.head.collectCol >= 0) ||
         st.templateDepth > 0;
}
// Inside a type body, in a template head, or with a head or namespace that an
// assignment ends.
inline bool StructureCodeCharMatters(const StructureState& st) {
  return st.class_flag || st.templatePending || st.templateDepth > 0 || st.head.kind || st.ns.pending ||
         st.fn.nonAnsiParams;
}
