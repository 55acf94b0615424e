// The named emitters of single notices that the line engine and the
// function-end checks use. Each checks its own extra condition, then counts
// and writes the notice (notice_emit.h).
#pragma once

struct GlobalData;

void EmitLineLengthNotice(int length, int line, GlobalData& gcd);                 // 1
// 22, for the keyword kind of inline_check_state.h at its line; only with
// function analysis on; counted without being written inside a macro definition.
void EmitScopeError(int keyword, int line, GlobalData& gcd);
void CPP_Symbol(int line, const char* keyword, GlobalData& gcd);                 // 24
void EmitVoidStarNotice(int line, GlobalData& gcd);                              // 26
void Notice_Return_Limit(int returnPoints, int line, GlobalData& gcd);           // 27
void Notice_Logical_Limit(int cyclomatic, int line, GlobalData& gcd);            // 28
void Notice_Interface_Limit(int parameters, int line, GlobalData& gcd);          // 29
void EmitVirtualDestructorNotice(int line, GlobalData& gcd);                     // 37
void EmitExceptionNotice(int line, GlobalData& gcd);                             // 38
void EmitClassFunctionNotice(int isStruct, int line, GlobalData& gcd);           // 39
void EmitContinueNotice(int line, GlobalData& gcd);                              // 43
void EmitBreakNotice(int line, GlobalData& gcd);                                 // 44, outside any switch
void Notice_MinFuncLloc(int lloc, int line, GlobalData& gcd);                    // 48
void Notice_FuncNoParams(const char* name, int line, GlobalData& gcd);           // 49, not for destructors
// 50: the first code token of text read as a number; fires for a value other
// than zero, or for zero too with "Include zero (0) as literal assignment".
void EmitNumericAssignment(const char* text, int line, GlobalData& gcd);
void EmitScopeNotice(int depth, int line, GlobalData& gcd);                      // 55, with function analysis
void EmitBreakBreak(int line, GlobalData& gcd);                                  // 56
