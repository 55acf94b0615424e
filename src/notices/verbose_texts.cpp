#include "notices/verbose_texts.h"

#include <array>
#include <cstring>

#include "driver/config.h"

namespace {

#define LQA_BALANCE(first) first "\n" \
  "           The compiler should have caught this error.\n" \
  "           This notice may indicate dead code within the\n" \
  "           source commented out through a #define construct\n"

#define LQA_CASE_BREAK(counts)                                                     \
  "All 'case/default' conditions do not have a matching\n"                        \
  "           'break', or 'fall through' comments.\n" counts                        \
  "           break: %-4d  fall through comment: %-4d  Total %-4d\n"              \
  "           This condition can occur when sequential case statements are used.\n" \
  "           Check this function to insure no erroneous behavior will occur\n"   \
  "           by an unexpected fall through to the next case statement.\n"        \
  "           You may indicate to LQA that a 'case' statement is designed\n"      \
  "           to fall through by using a comment with these words\n"

using enum NoticeHead;

const VerboseText kTexts[] = {
    {1, 0, LineColon, 0,
     "Line character length = %d.  This width\n"
     "           exceeds the standard terminal width of %d characters.\n",
     nullptr},
    {2, 0, LineColon, 0,
     "The function name:\n"
     "           %s\n"
     "           of %d characters is greater than %d characters in length.\n"
     "           This can be a portability and/or maintenance issue.\n",
     nullptr},
    {3, 0, LineComma, 0,
     "'...' ellipsis found for a variable argument list.\n"
     "           The compiler will not check the types of these parameters.\n",
     nullptr},
    {4, 0, LineComma, 0,
     "'=' assignment identified within an 'if' condition.\n"
     "           This is a logical error or indicates an assignment is within a\n"
     "           testable expression.  Code clarity would be enhanced by moving\n"
     "           any embedded expressions before conditional and testing a\n"
     "           single parameter.\n",
     nullptr},
    {5, 0, LineComma, 0,
     "'=' assignment identified within an 'while' condition.\n"
     "           This is a logical error or indicates an assignment is within a\n"
     "           testable expression.  Code clarity would be enhanced by moving any embedded\n"
     "           expressions before conditional and testing a single parameter.\n",
     nullptr},
    {6, 0, LineComma, 0,
     "pre-decrement '-- operator' identified.\n"
     "           This can be a problematic construct in compound statements.\n",
     nullptr},
    {6, kVariantMacro, LineComma, 0,
     "a pre-decrement '-- operator' identified\n"
     "           within a MACRO.  This syntax is non-portable and is\n"
     "           NOT recommended within macro definitions.\n",
     nullptr},
    {7, 0, LineComma, 0,
     "pre-increment '++ operator' identified.\n"
     "           This can be a problematic construct in compound statements.\n",
     nullptr},
    {7, kVariantMacro, LineComma, 0,
     "a pre-increment '++ operator' identified\n"
     "           within a MACRO.  This syntax is non-portable and is\n"
     "           NOT recommended within macro definitions.\n",
     nullptr},
    {8, 0, LineComma, 0,
     "realloc has been identified.\n"
     "           A realloc of 0 size will free the pointer.  This may\n"
     "           cause an unanticipated action on a NULL pointer.  realloc\n"
     "           may also cause a hidden memory leak.\n",
     nullptr},
    {9, 0, LineComma, 0,
     "'goto' keyword identified.  This can cause\n"
     "           maintenance difficulties and propagate hidden logic flow.\n",
     nullptr},
    {10, 0, LineColon, 0,
     "Identified a Non-ANSI function prototype\n"
     "           Function parameters will not be type checked.\n",
     nullptr},
    {11, 0, LineColon, 0, LQA_BALANCE("Brackets, [ ] are not balanced."), nullptr},
    {12, 0, LineColon, 0, LQA_BALANCE("Parenthesis, () are not balanced."), nullptr},
    {12, kVariantBraces, LineColon, 0, LQA_BALANCE("Braces, { } are not balanced."), nullptr},
    {13, 0, LineColon, 0,
     "All 'switch' statements do not have a matching 'default'\n"
     "           statements.  This could cause unexpected behavior if the\n"
     "           'switch' statement is not met by a 'case' statement.\n",
     nullptr},
    {14, 0, NoLine, 0, LQA_CASE_BREAK("           case : %-4d                              Total %-4d\n"), nullptr},
    {14, kVariantWithDefault, NoLine, 0,
     LQA_CASE_BREAK("           case : %-4d  default: %-4d               Total %-4d\n"), nullptr},
    {15, 0, LineComma, 0,
     "friend class '%s' identified.\n"
     "           This is a problematic construct as it breaks encapsulation.\n",
     nullptr},
    {16, 0, NoLine, 0, "Function white space, %.1f%% is less than %.1f%%.\n", nullptr},
    {16, kVariantTypeKind, NoLine, 0, "%s white space, %.1f%% is less than %.1f%%.\n", nullptr},
    {17, 0, NoLine, 0, "Function comments, %.1f%% are less than %.1f%%.\n", nullptr},
    {18, 0, NoLine, 0,
     "Effective Lines of Code, eLOC, in this function\n"
     "           exceed the specified standard of %d lines.\n",
     nullptr},
    {19, 0, NoLine, 0, "File white space percentage, %.1f%% is less than %.1f%%\n",
     "File white space percentage, <b>%.1f%%</b> is less than <b>%.1f%%</b> \n"},
    {20, 0, NoLine, 0, "File comment line percentage, %.1f%% is less than %.1f%%\n",
     "File comment line percentage, <b>%.1f%%</b> is less than <b>%.1f%%</b> \n"},
    {21, 0, NoLine, 0,
     "File does not contain the key string specified in the\n"
     "            %s file.\n"
     "            Key String: %s\n\n",
     "File does not contain the key string specified in the\n"
     "            %s file.\n"
     "            Key String: <b><i>%s</i></b>\n\n"},
    {22, 0, LineColon, 0,
     "The keyword, '%s', appears not to be delimited\n"
     "           with scope { .. } operators around its content.  This\n"
     "           could cause a maintenance problem where code falls outside\n"
     "           the intended scope of the '%s' statement.\n",
     nullptr},
    {23, 0, LineComma, 0,
     "The '?' operator was identified.  This implied\n"
     "           if-else construct can reduce code readability.\n",
     nullptr},
    {24, 0, LineColon, 0,
     "An ANSI C++ keyword '%s' has been found\n"
     "           within a C file.  This will cause a compile error if this file\n"
     "           is compiled with a C++ compiler.  It is suggested that this\n"
     "           symbol name be changed to a non-conflicting name for C to\n"
     "           C++ migration.\n",
     nullptr},
    {26, 0, LineColon, 0,
     "The type 'void *' has been identified.\n"
     "           This data type is type independent, whereby it\n"
     "           prevents the compiler from checking the types\n"
     "           of variables and parameters.\n",
     nullptr},
    {27, 0, LineColon, kHtmlNoLine,
     "The number of function return points\n"
     "           %d exceeds the specified limit of %d.\n",
     nullptr},
    {28, 0, LineColon, kHtmlNoLine,
     "The function cyclomatic complexity of\n"
     "           %d exceeds the specified limit of %d.\n",
     nullptr},
    {29, 0, LineColon, kHtmlNoLine,
     "The number of function input parameters,\n"
     "           %d exceeds the specified limit of %d.\n",
     nullptr},
    {30, 0, LineColon, 0,
     "A TAB character has been found.\n"
     "           Tabs embedded into code are device and editor dependent\n"
     "           for their space definition and may not display properly.\n",
     nullptr},
    {31, kVariantTypeKind, NoLine, 0, "%s comments, %.1f%% are less than %.1f%%.\n", nullptr},
    {32, 0, LineColon, 0,
     "The construct 'using namespace' has\n"
     "           been identified.  This type of design can lead to\n"
     "           spurious name collisions during integration.\n",
     nullptr},
    {33, 0, LineColon, 0,
     "A struct definition has been identified\n"
     "           within a function definition.  This design is not\n"
     "           advised.  Move the struct outside the function.\n",
     nullptr},
    {33, kVariantNamedKind, LineColon, 0,
     "A %s definition has been identified\n"
     "           within a function definition.  This design is not\n"
     "           advised.  Move the %s outside the function.\n",
     nullptr},
    {34, 0, LineColon, 0,
     "A pointer to data has been identified within a class\n"
     "           specification.  A pointer attribute shares its data with\n"
     "           whatever else points to it, which complicates ownership,\n"
     "           copying and destruction of the object.\n",
     nullptr},
    {35, 0, LineColon, 0,
     "Public data has been identified with a class\n"
     "           specification.  This design breaks object encapsulation\n"
     "           allowing free access from other objects and functions.\n",
     nullptr},
    {36, 0, LineColon, kDefaultExtraBlank,
     "Protected data has been identified with a class\n"
     "           specification.  This design allows the protected data\n"
     "           to be freely accessed down the inheritance tree.\n",
     nullptr},
    {37, 0, LineColon, kHtmlUpperCase,
     "This class does not appear to contain a\n"
     "           virtual destructor when this class defines a virtual\n"
     "           method.  This condition will cause a incomplete class\n"
     "           destruction of the derived classes from this base class.\n",
     nullptr},
    {38, 0, LineColon, 0,
     "Exception handling 'try' - 'catch' has been\n"
     "           identified.  Exception handling can be a form indirect logic\n"
     "           control similar to a goto.  The use of exception handling\n"
     "           should be driven by the design and not casually imposed\n"
     "           upon the code.\n",
     nullptr},
    {39, 0, LineColon, kHtmlNoLine,
     "The Number of %s methods exceeds the specified\n"
     "           maximum of %d methods (public, protected and private).\n",
     "The number of <b>%s</b> methods exceeds the specified\n"
     "           maximum of <b>%d</b> methods (public, protected and private).\n"},
    {40, 0, FileLine, 0,
     "           The depth of the inheritance tree is greater than the specified\n"
     "           maximum value, %d.  This condition can be attributed to mixing\n"
     "           the Is-A and Has-A relationships and can make maintenance\n"
     "           very difficult.\n\n",
     nullptr},
    {41, 0, FileLine, kHtmlUpperCase,
     "           The number of direct child classes derived from the parent\n"
     "           exceed the specified maximum, %d. This condition may indicated\n"
     "           that the base class could be parameterized to accomplish the\n"
     "           variability of the children. This creates an obscure design\n"
     "           with difficult maintenance\n\n",
     nullptr},
    {42, 0, FileLine, kHtmlUpperCase,
     "           Class multiple inheritance has been identified for class %s.\n"
     "           Multiple inheritance should be driven by the design and\n"
     "           never imposed as an ad-hoc solution in implementation.\n"
     "           Unexpected object behavior may result and maintenance may\n"
     "           be difficult.\n",
     nullptr},
    {43, 0, LineComma, 0,
     "The keyword 'continue' has been found.\n"
     "           The use of 'continue' can create code which is difficult\n"
     "           to maintain where the logic flow jumps to the beginning\n"
     "           of the framing control structure.\n",
     nullptr},
    {44, 0, LineComma, 0,
     "The keyword 'break' has been identified\n"
     "           outside a 'switch' logic control structure.  The use\n"
     "           of 'break' interrupts the linear logic flow and can create\n"
     "           source code which is difficult to maintain.\n",
     nullptr},
    {45, 0, FileLine, kHtmlUpperCase,
     "           New and delete counts do not match for this file.\n"
     "           This could indicate the potential for a memory leak.\n",
     nullptr},
    {46, 0, NoLine, 0, "Function blank line percent, %.1f%% is less than %.1f%%.\n", nullptr},
    {46, kVariantTypeKind, NoLine, 0, "%s blank line percent, %.1f%% is less than %.1f%%.\n", nullptr},
    {47, 0, NoLine, 0, "File blank line percentage, %.1f%% is less than %.1f%%\n",
     "File blank line percentage, <b>%.1f%%</b> is less than <b>%.1f%%</b> \n"},
    {48, 0, LineColon, kHtmlNoLine,
     "The number of logical lines of code or statements\n"
     "           %d is <= to the specified minimum of %d.  This could\n"
     "           indicate a null function with no operational purpose.\n",
     nullptr},
    {49, 0, LineColon, kHtmlNoLine,
     "The function has no input parameters or void.\n"
     "           Suggest using explicit parameters for interface clarity.\n",
     "The function contains no input parameters or void.\n"
     "           Suggest using explict parameters for interface clarity.\n"},
    {50, 0, LineComma, 0,
     "A variable has been identified which is\n"
     "           assigned to a literal number.  Symbolic constants should\n"
     "           be used to enhance maintainability.\n",
     nullptr},
    {51, 0, LineComma, kReorderExtraBlank,
     "A %s has been identified which does not\n"
     "           have a preceding comment.  Comments that detail the purpose,\n"
     "           algorithms, and parameter/return definitions are suggested.\n",
     nullptr},
    {55, 0, LineBreak, 0, "           The depth of scope '%d' exceeds the notice limit of %d.\n", nullptr},
    {56, 0, LineComma, 0,
     "Sequential 'break' keyword have been\n"
     "           identified without a respective case statement.  This is an\n"
     "           extremely poor programming construct and denotes an attempt to\n"
     "           circumvent LQA break/case quality notice.\n",
     nullptr},
    {57, 0, LineComma, 0,
     "A LQA skip lines token match.\n"
     "           All lines between the begin and end tokens will be ignored\n"
     "           for LQA processing.\n",
     nullptr},
    {58, 0, LineComma, 0,
     "A LQA skip quality notice token match.\n"
     "           All lines between the begin and end tokens will be ignored\n"
     "           for LQA quality notice processing.\n",
     nullptr},
};

#undef LQA_BALANCE
#undef LQA_CASE_BREAK

constexpr int kVariants = 2;
constexpr std::size_t kTextCount = sizeof kTexts / sizeof kTexts[0];

// Texts by number and variant; 52 to 54 share the text of 51.
struct TextIndex {
  std::array<std::array<const VerboseText*, kVariants>, kNoticeCount + 1> at{};
  std::array<int, kTextCount> literalLength{};
  TextIndex() {
    for (const VerboseText& t : kTexts) at[static_cast<std::size_t>(t.number)][static_cast<std::size_t>(t.variant)] = &t;
    for (int n = 52; n <= 54; ++n) at[static_cast<std::size_t>(n)] = at[51];
    for (std::size_t k = 0; k < kTextCount; ++k)
      literalLength[k] = std::strchr(kTexts[k].body, '%') ? -1 : static_cast<int>(std::strlen(kTexts[k].body));
  }
};

const VerboseText kNoText{0, 0, NoticeHead::NoLine, 0, "", nullptr};

const TextIndex kIndex;

const TextIndex& Index() { return kIndex; }

}  // namespace

int LiteralBodyLength(const VerboseText& text) {
  if (&text < kTexts || &text >= kTexts + kTextCount) return -1;
  return Index().literalLength[static_cast<std::size_t>(&text - kTexts)];
}

const VerboseText& FindVerboseText(int number, int variant) {
  const TextIndex& index = Index();
  if (number < 1 || number > kNoticeCount) return kNoText;
  const auto& row = index.at[static_cast<std::size_t>(number)];
  const VerboseText* t = variant > 0 && variant < kVariants ? row[static_cast<std::size_t>(variant)] : nullptr;
  if (t == nullptr) t = row[0];
  if (t == nullptr) t = row[1];
  return t != nullptr ? *t : kNoText;
}
