// The quality notice catalogue and its emitters. Each emitter does nothing
// when its notice is disabled or a quality skip region is open; otherwise it
// counts the notice for the file and the run and writes it in the active
// notice form: the verbose block (default, line first, or HTML) with -n, the
// single-line form with -Ns, -Nv and the notice list modes of -Tn and -Tq.
// Emitters without a line argument report the driver's current line.
#pragma once

struct GlobalData;

// Fills in the short texts of the notices with the limits of the
// configuration as it is now: at the creation of the run record and again
// once the configuration file is read.
void PrepareNoticeTexts(GlobalData& gcd);
// The short text of a notice with its limit filled in (the limits as they
// were when the texts were prepared); for numbers above 58 the user defined
// notice's summary; "Unsupported" for anything else.
const char* GetNoticeStr(int number, const GlobalData& gcd);
// The enabling flag of notices 0 to 58: Set stores it and returns value (58
// for a number out of range, storing nothing); Get returns it, or -1.
int SetNoticeFlag(int number, int value, GlobalData& gcd);
int GetNoticeFlag(int number, const GlobalData& gcd);
// The single-line form of a notice (-Ns, -Nv, HTML, XML, line first or
// default) and its entry in the notice occurrence list.
void EmitNotice(const char* fileName, int line, int number, GlobalData& gcd);
// The exit status of a run: with notices on, their count, held at 255 so
// that a shell, which keeps only 8 bits, never reads a count as success.
int NoticeExitStatus(const GlobalData& gcd);

// What the closing brace of a function hands to the function-end checks.
// Line counts run from the opening-brace line to the closing line; the
// white space and character counts are those of the same lines.
struct FunctionEndInfo {
  const char* name = "";
  int loc = 0;
  int eloc = 0;
  int lloc = 0;
  int comments = 0;  // includes the comment lines just before the function
  int blanks = 0;
  int whitespace = 0;
  int characters = 0;
  int oldStyleParams = 0;  // a ';' stood between the head and the body
  int bracketDepth = 0;
  int parenDepth = 0;
  int switches = 0;
  int cases = 0;
  int defaults = 0;
  int breaks = 0;
  int fallThrough = 0;  // "fall through" comments within the function
  int parameters = 0;
  int voidParams = 0;   // the parameter list was (void)
  int returnPoints = 0;
  int cyclomatic = 0;
};

// Notices 2, 10, 11, 12, 13, 14, 17, 46, 16, 18, 27, 29, 49, 48 and 28, in
// this order, for the function that has just closed.
void CheckFunctionEnd(const FunctionEndInfo& f, GlobalData& gcd);

// What the closing brace of a class, struct or interface hands to the
// class-end checks.
struct ClassEndInfo {
  const char* kind = "Class";  // "Class", "Struct" or "Interface"
  int isStruct = 0;
  int loc = 0;
  int comments = 0;
  int blanks = 0;
  int whitespace = 0;
  int characters = 0;
  int methods = 0;          // public, protected and private methods
  int virtualMethods = 0;   // methods declared virtual
  int virtualDestructor = 0;  // a virtual destructor was declared
};

// The notices of a type that has just closed: the content percentages (31,
// 16, 46), the method count (39) and the virtual destructor (37).
void CheckClassEnd(const ClassEndInfo& c, GlobalData& gcd);

// 51 to 54: no comment precedes a function, class, struct or interface block;
// kind is "function", "class", "struct" or "interface".
void EmitNoComment(int number, const char* kind, GlobalData& gcd);
// 32: a using namespace construct.
void EmitUsingNamespace(GlobalData& gcd);
// 33: a struct, or a class or struct ("class", "struct"), defined inside a function.
void EmitStructWithinFunction(GlobalData& gcd);
void EmitClassWithinFunction(const char* kind, GlobalData& gcd);
// 34: a class (not a struct) declares a pointer attribute; the caller has
// checked that no assignment is on the line.
void EmitClassPointerDataNotice(GlobalData& gcd);
// 35: public data in a class; declaration is the attribute's line, so that
// public event, const and delegate members can be left out.
void EmitClassPublicDataNotice(const char* declaration, int isStruct, GlobalData& gcd);
// 36: protected data in a class.
void EmitClassProtectedDataNotice(int isStruct, GlobalData& gcd);
// 40, 41, 42: written while the inheritance forest is reported (for the
// class named, at its file and line), and when a class head names more than
// one base.
void EmitInheritanceDepthNotice(const char* fileName, int line, const char* className, GlobalData& gcd);
void EmitNumberOfChildrenNotice(const char* fileName, int line, const char* className, GlobalData& gcd);
void EmitMultipleInheritanceNotice(const char* fileName, int line, const char* className, GlobalData& gcd);

// 45: new and delete counts differ in a C++ file (the caller checks the counts).
void EmitNewDelNotice(GlobalData& gcd);
// 57 (skip lines start token) and 58 (quality skip start token) on the line
// of the token; 58 is raised although the region it opens is already set.
void EmitSkipTokenNotice(int number, int line, GlobalData& gcd);
// The notices of a file after its last line, in this order: blank lines (47),
// comment lines (20), white space (19), new and delete in C++ files (45) and
// the missing key string (21).
void FileEndNotices(GlobalData& gcd);
