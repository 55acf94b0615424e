// State of function, class and namespace recognition across the lines of a
// file. ResetState clears it for every file; the records it creates live in
// the run's lists (gcd.lists) and are reached through EntityIndex.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct NodeData;

// What a '{' opened, so that its '}' undoes exactly that. Every brace of code
// pushes one frame; a closing brace without a frame changes nothing here.
enum class BraceKind : std::uint8_t {
  Plain,        // a block: function_scope grew by one
  Transparent,  // an initializer, a body after new, or an enum body: scope unchanged
  Enum,         // an enum body (scope unchanged, members are no attributes)
  CLinkage,     // extern "C" { at file scope: still file scope
  Function,     // a function body: function_scope became 1
  Class,        // a class, struct or interface body: function_scope restarts at 0
  Namespace,    // a namespace body: function_scope restarts at 0
};

struct BraceFrame {
  BraceKind kind = BraceKind::Plain;
  int savedScope = 0;  // function_scope before a Class or Namespace body opened
};

// Line counters at a point of the file, to measure a body from its brace.
struct LineSnapshot {
  int line = 0;            // line number of the brace
  int loc = 0;
  int nonEffective = 0;    // paren-only plus brace-only lines
  int statements = 0;
  int comments = 0;
  int blanks = 0;
  int whitespace = 0;      // at the start of the brace line
  int characters = 0;      // before the brace line
  int fallThrough = 0;
  int fors = 0;
  int virtuals = 0;
  int commentRun = 0;      // comment lines right before the entity
};

struct GlobalData;
// The file's counters now, at the brace of a function or type body.
LineSnapshot TakeLineSnapshot(int lineNumber, const GlobalData& gcd);

// The function being recognised: from an accepted head to the end of its body.
struct FunctionState {
  std::string name;        // qualified name (at most 2047 characters)
  std::string params;      // the signature collected from '(' on, then packed
  std::string templ;       // compacted template head, empty when none
  int headOpen = 0;        // the head is still being read (no '{' and no prototype ';' yet)
  int templateFunction = 0;
  int upperCaseName = 0;   // the name is the first token of its line and all upper case
  int nonAnsiParams = 0;   // old-style parameter declarations before the body
  int compilerDirective = 0;  // a conditional directive stood inside the head
  int inlineInClass = 0;   // the body opened inside a class body
  // Collecting the signature text from its '(' over the lines of the head.
  int collecting = 0;
  int collectCol = 0;      // column of the current line where collection resumes
  int collectInComment = 0;
  int nameLine = 0;        // the line that holds the name
  LineSnapshot begin;      // the counters at the opening brace
  // For a gate snapshot: the FNV-1a 64 hash of the body's code and string
  // text after the line of the opening brace, blanks left out.
  std::uint64_t bodyHash = 0xcbf29ce484222325ULL;
};

// A class, struct or interface: the current one and the saved enclosing ones.
struct TypeState {
  std::string name;        // qualified, without the "Interface-" prefix
  std::string templ;       // compacted template head
  std::string bases;       // normalised inheritance list
  int isStruct = 0;
  int isInterface = 0;
  int access[3] = {0, 0, 1};  // public, protected, private: the section being read
  int attributes[3] = {};     // public, protected, private
  int methods[3] = {};
  int virtualMethods = 0;
  int virtualDestructor = 0;
  NodeData* record = nullptr;  // its record in the class or interface list
  int nameLine = 0;            // the line that holds the name
  LineSnapshot begin;
};

inline constexpr int kMaxSavedTypes = 32;
inline constexpr int kMaxSavedNamespaces = 32;

// A type head between its keyword and its body.
struct TypeHead {
  int kind = 0;            // 0 none, 1 class, 2 struct, 3 interface
  int namePending = 0;     // the name is still to come (next line)
  int named = 0;           // the name has been read
  int forward = 0;         // the name was followed by ';'
  int inFunction = 0;      // the keyword stood inside a function body
  int nameEndLine = 0;     // where the name ended: parentheses before it belong to the head
  int nameEndCol = 0;
  int holdsParens = 0;     // a C# constraint such as new() is being read
  int openAngles = 0;      // a template argument list after the name runs on to later lines
  std::string name;        // as read (qualified at the body)
  std::string text;        // the head after the name, gathered up to the body
  int collectCol = -1;     // column of the current line where gathering resumes
  int collectInComment = 0;
};

struct NamespaceState {
  std::string name;        // qualified name of the innermost open namespace or package
  int scope_flag = 0;      // names are qualified with it
  int depth = 0;           // saved enclosing namespaces
  std::array<std::string, kMaxSavedNamespaces> saved;
  int open = 0;            // namespaces open (brace bodies and a package)
  int pending = 0;         // a namespace keyword waits for its brace
  std::string pendingName;
  int packageOpen = 0;     // a Java package (or file-scoped C# namespace) runs to end of file
};

struct StructureLog;

struct StructureState {
  // While a worker analyses a file: the file's changes to the run's structure
  // lists, made at its merge (structure/structure_log.h); null otherwise.
  StructureLog* log = nullptr;
  int funcname_flag = 0;      // a function name was accepted; its body is pending or open
  int functionScopeOpen = 0;  // a function body is open
  FunctionState fn;
  // Types: the current one, its enclosing ones (32 saved) and the depth.
  TypeState type;
  std::vector<TypeState> savedTypes;  // at most kMaxSavedTypes
  int classDepth = 0;      // enclosing types around the current one
  int class_flag = 0;      // a type body is open
  int classBodyDepth = 0;  // type bodies open around the current line
  TypeHead head;
  NamespaceState ns;
  std::vector<BraceFrame> braces;
  int initializerDepth = 0;  // Transparent frames open: no function or member begins inside them
  // A template head: from the keyword to its matching '>', then pending for
  // the function or type it introduces.
  int templatePending = 0; // the keyword was seen, its '<' not yet
  int templateDepth = 0;   // '<' minus '>' inside the head
  int templateParenDepth = 0;
  int templateCol = 0;     // column of the current line where gathering resumes
  int templateInComment = 0;
  std::string templateText;
  std::string pendingTemplate;
  // Statement state at class scope.
  int typedefInStatement = 0;
  int enumInStatement = 0;
  int friendInStatement = 0;
  int typeKeywordInStatement = 0;
  int memberCommas = 0;    // commas at depth 0 of the statement (further declarators)
  int memberAngles = 0;    // '<' minus '>' of the statement
  int statementLine = 0;   // where the statement began: after the last ';', '{', '}' or access label
  int statementCol = 0;
  int classMarker = 1;     // class-recognition marker set to 1 by ResetState
};
