// Per-file counters, project and language totals of the line analysis.
#pragma once

#include <array>

// Every per-file counter that the totals add up and the reports show:
// field, report label, data key.
#define LQA_FILE_COUNTERS(X)                            \
  X(loc, "LOC", "LOC_COUNT")                            \
  X(blank, "Blank", "BLANK_LINE_COUNT")                 \
  X(comment, "Comment", "COMMENT_LINE_COUNT")           \
  X(physical, "Physical", "PHYSICAL_LINE_COUNT")        \
  X(strings, "Strings", "LITERAL_STRING_COUNT")         \
  X(continuation, "Continuation", "LINE_CONTINUATION_COUNT") \
  X(preprocessor, "Preprocessor", "PREPROCESSOR_COUNT") \
  X(include, "include", "INCLUDE_COUNT")                \
  X(import, "import", "IMPORT_COUNT")                   \
  X(typedefs, "typedef", "TYPEDEF_COUNT")               \
  X(consts, "const", "CONST_COUNT")                     \
  X(enums, "enum", "ENUM_COUNT")                        \
  X(dos, "do", "DO_COUNT")                              \
  X(whiles, "while", "WHILE_COUNT")                     \
  X(switches, "switch", "SWITCH_COUNT")                 \
  X(defaults, "default", "DEFAULT_COUNT")               \
  X(fors, "for", "FOR_COUNT")                           \
  X(cases, "case", "CASE_COUNT")                        \
  X(breaks, "break", "BREAK_COUNT")                     \
  X(ifs, "if", "IF_COUNT")                              \
  X(elses, "else", "ELSE_COUNT")                        \
  X(gotos, "goto", "GOTO_COUNT")                        \
  X(returns, "return", "RETURN_COUNT")                  \
  X(exits, "exit", "EXIT_COUNT")                        \
  X(underscoreExits, "_exit", "_EXIT_COUNT")            \
  X(aborts, "abort", "ABORT_COUNT")                     \
  X(macros, "macro", "MACRO_COUNT")                     \
  X(structs, "struct", "STRUCT_COUNT")                  \
  X(unions, "union", "UNION_COUNT")                     \
  X(classes, "class", "CLASS_COUNT")                    \
  X(interfaces, "interface", "INTERFACE_COUNT")         \
  X(templates, "template", "TEMPLATE_COUNT")            \
  X(friends, "friend", "FRIEND_COUNT")                  \
  X(namespaces, "namespace", "NAMESPACE_COUNT")         \
  X(packages, "package", "PACKAGE_COUNT")               \
  X(functions, "functions", "FUNCTION_COUNT")           \
  X(virtuals, "virtual f()", "VIRTUAL_COUNT")           \
  X(inlines, "inline", "INLINE_COUNT")                  \
  X(allocs, "alloc", "C_MEMORY_ALLOCATION_COUNT")       \
  X(frees, "free", "C_MEMORY_FREE_COUNT")               \
  X(news, "new", "MEMORY_NEW_COUNT")                    \
  X(deletes, "delete", "MEMORY_DELETE_COUNT")           \
  X(statements, "statements ;", "CODE_STATEMENTS_COUNT") \
  X(usings, "using", "USING_COUNT")                     \
  X(parenOpen, "(", "(_COUNT")                          \
  X(parenClose, ")", ")_COUNT")                         \
  X(braceOpen, "{", "{_COUNT")                          \
  X(braceClose, "}", "}_COUNT")                         \
  X(bracketOpen, "[", "[_COUNT")                        \
  X(bracketClose, "]", "]_COUNT")                       \
  X(notices, "notices", "QUALITY_NOTICE_COUNT")         \
  X(characters, nullptr, nullptr)                       \
  X(whitespace, nullptr, nullptr)                       \
  X(parenOnlyLines, nullptr, nullptr)                   \
  X(braceOnlyLines, nullptr, nullptr)                   \
  X(fallThrough, nullptr, nullptr)                      \
  X(defineCount, nullptr, nullptr)                      \
  X(skippedLines, nullptr, nullptr)

struct FileCounts {
#define LQA_DECLARE_COUNTER(field, label, key) int field = 0;
  LQA_FILE_COUNTERS(LQA_DECLARE_COUNTER)
#undef LQA_DECLARE_COUNTER
  // Comment lines since the last blank line; not summed into the totals.
  int commentRun = 0;
};

struct FileCounterInfo {
  int FileCounts::*field;
  const char* label;  // null for counters without a report label
  const char* key;
};

inline constexpr FileCounterInfo kFileCounterTable[] = {
#define LQA_COUNTER_INFO(field, label, key) {&FileCounts::field, label, key},
    LQA_FILE_COUNTERS(LQA_COUNTER_INFO)
#undef LQA_COUNTER_INFO
};

// Derived per-file metrics.
inline int Eloc(const FileCounts& c) { return c.loc - c.parenOnlyLines - c.braceOnlyLines; }
inline int Lloc(const FileCounts& c) { return c.statements - c.fors; }
inline int LogicalLines(const FileCounts& c) { return c.loc + c.comment + c.blank; }

struct ProjectTotals {
  FileCounts counts;  // one total per file counter (skippedLines included)
  double fpLoc = 0, fpEloc = 0, fpLloc = 0;
  long long bytes = 0;  // sizes of all analysed files
  int files = 0;      // set by SetTotal: the sum of the file kind counters
};

// Language groups of the language totals, in the order a file is tested.
enum LanguageGroup { kGroupHeader = 0, kGroupC, kGroupCpp, kGroupJava, kGroupCSharp, kGroupOther, kGroupCount };

struct LanguageGroupTotals {
  int loc = 0, eloc = 0, lloc = 0, comments = 0, blanks = 0, lines = 0;
};
using LanguageTotals = std::array<LanguageGroupTotals, kGroupCount>;
