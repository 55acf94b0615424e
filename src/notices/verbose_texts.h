// The verbose texts of the numbered notices, as data: each is a head kind and
// a body template. The head (notice number, line, file) is written by the
// emitter in the active form: default, line first ("Reorder notice, line in
// quality notices") or HTML.
#pragma once

// What the head of a notice shows and how it ends.
enum class NoticeHead : unsigned char {
  LineColon,  // "Notice #N: Line L: "
  LineComma,  // "Notice #N: Line L, "
  LineBreak,  // "Notice #N: Line L" and a line feed
  NoLine,     // "Notice #N: "
  FileLine,   // "Notice #N: File F: Line L" and a line feed
};

// Head details of single notices.
enum NoticeHeadFlag : unsigned {
  kHtmlNoLine = 1,         // the HTML head leaves the line out
  kHtmlUpperCase = 2,      // the HTML head writes "NOTICE"
  kDefaultExtraBlank = 4,  // the default head ends in two blanks
  kReorderExtraBlank = 8,  // the line-first head starts with five blanks
};

// Texts with more than one wording are told apart by a variant number.
enum NoticeVariant : int {
  kVariantPlain = 0,
  kVariantMacro = 1,        // 6, 7: inside a function-like macro definition
  kVariantWithDefault = 1,  // 14: "Use default in case/break comparison" is Yes
  kVariantTypeKind = 1,     // 16, 31, 46: a class, struct or interface, named first
  kVariantNamedKind = 1,    // 33: "class" or "struct" named in the text
  kVariantBraces = 1,       // 12: an unbalanced closing brace
};

struct VerboseText {
  int number;
  int variant;
  NoticeHead head;
  unsigned flags;
  const char* body;      // filled with the emitter's values
  const char* htmlBody;  // HTML wording with its own markup, or null for the body in bold style
};

// The text of a notice and variant; falls back to the plain variant, and to
// an empty text for a number without one.
const VerboseText& FindVerboseText(int number, int variant);
// The length of a body without conversions, which is written as it stands;
// -1 when the body has values to fill in.
int LiteralBodyLength(const VerboseText& text);
