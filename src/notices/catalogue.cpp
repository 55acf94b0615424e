// The catalogue of the 58 numbered notices: short texts with their limits
// filled in, and the enabling flags as the notices use them.
#include <cstring>

#include "common/gcd.h"
#include "notices/notice_text.h"
#include "notices/notices.h"
#include "notices/udqn.h"

namespace {

struct CatalogueEntry {
  const char* text;
  int Config::*intLimit = nullptr;    // limit filled into "%d"
  float Config::*pctLimit = nullptr;  // limit filled into "%.1f%%"
};

// Indexed by notice number; entry 0 is the text of any unknown number.
const CatalogueEntry kCatalogue[kNoticeCount + 1] = {
    {"Unsupported"},
    {"Physical line length > %d characters", &Config::maxLineLength},
    {"Function name length > %d characters", &Config::maxFunctionNameLength},
    {"Ellipsis '...' are identified as function parameters"},
    {"Assignment '=' within 'if' statement"},
    {"Assignment '=' within 'while' statement"},
    {"Pre-decrement operator '--' identified"},
    {"Pre-increment operator '++' identified"},
    {"'realloc' function identified"},
    {"'goto' keyword identified"},
    {"Non-ANSI function prototype identified"},
    {"Open and closed brackets '[]' are not equal"},
    {"Open and closed parenthesis '()' are not equal"},
    {"'switch' statement does not have a 'default'"},
    {"'case' conditions do not equal 'break'"},
    {"Friend class has been identified"},
    {"Function/class/struct/interface white space < %.1f%%", nullptr, &Config::minFunctionWhitespacePct},
    {"Function comment content less than %.1f%%", nullptr, &Config::minFunctionCommentPct},
    {"Function eLOC > maximum %d eLOC", &Config::maxFunctionEloc},
    {"File white space < %.1f%%", nullptr, &Config::minFileWhitespacePct},
    {"File comment content < %.1f%%", nullptr, &Config::minFileCommentPct},
    {"File does not contain key string"},
    {"if, else, for or while not bound by scope"},
    {"'?' ternary operator identified"},
    {"ANSI C++ keyword identified within C file"},
    {"Treat *.h files for C++ keywords"},
    {"void * generic type identified"},
    {"Number of function return points > %d", &Config::maxReturnPoints},
    {"Cyclomatic complexity > %d", &Config::maxCyclomatic},
    {"Number of function parameters > %d", &Config::maxInterfaceComplexity},
    {"TAB character has been identified"},
    {"Class/Struct comments are < %.1f%%", nullptr, &Config::minClassCommentPct},
    {"Using namespace construct identified"},
    {"Class/Struct definition within a function definition"},
    {"Class specification contains a pointer to data"},
    {"Class specification contains public data"},
    {"Class specification contains protected data"},
    {"Base Class does not contain a virtual destructor"},
    {"Exception Handling 'try'- 'catch' has been identified"},
    {"Number of class/struct methods exceeds specified maximum %d ", &Config::maxMethodsPerClass},
    {"Depth of the Inheritance Tree exceeds the maximum %d ", &Config::maxInheritanceDepth},
    {"Number of derived classes exceeds the specified maximum %d ", &Config::maxDerivedChildren},
    {"Multiple inheritance has been identified"},
    {"Keyword 'continue' has been identified"},
    {"Keyword 'break' identified outside a 'switch' structure"},
    {"New and Delete counts are not equal for the file."},
    {"Function/Class Blank Line content less < %.1f%%", nullptr, &Config::minFunctionBlankPct},
    {"File Blank Line content < %.1f%%", nullptr, &Config::minFileBlankPct},
    {"Function lLOC <= %d, non-operational function", &Config::minFunctionLloc},
    {"Function appears to have null or blank parameters"},
    {"Variable assignment to a literal number"},
    {"No comment preceding a function block"},
    {"No comment preceding a class block"},
    {"No comment preceding a struct block"},
    {"No comment preceding a interface block"},
    {"Scope level exceeds the defined limit of %d", &Config::maxScopeDepth},
    {"Sequential breaks identified without case"},
    {"LQA skip lines token match - LQA ignores lines"},
    {"LQA skip quality notices token match - Quality Notices ignored"},
};

}  // namespace

void PrepareNoticeTexts(GlobalData& gcd) {
  NoticeState& ns = gcd.notices;
  char data[256];
  for (int n = 0; n <= kNoticeCount; ++n) {
    const CatalogueEntry& e = kCatalogue[n];
    NoticeBuffer text(data, sizeof data);
    if (e.intLimit != nullptr) FillTemplate(text, e.text, {gcd.cfg.*e.intLimit}, TemplateStyle::Plain);
    else if (e.pctLimit != nullptr) FillTemplate(text, e.text, {static_cast<double>(gcd.cfg.*e.pctLimit)}, TemplateStyle::Plain);
    else FillTemplate(text, e.text, {}, TemplateStyle::Plain);
    ns.shortTexts[static_cast<std::size_t>(n)] = text.c_str();
  }
}

const char* GetNoticeStr(int number, const GlobalData& gcd) {
  if (number >= 1 && number <= kNoticeCount) return gcd.notices.shortTexts[static_cast<std::size_t>(number)].c_str();
  if (const char* user = UdqnSummary(number, gcd)) return user;
  return gcd.notices.shortTexts[0].c_str();
}

int SetNoticeFlag(int number, int value, GlobalData& gcd) {
  if (number < 0 || number > kNoticeCount) return kNoticeCount;
  gcd.cfg.notice[static_cast<std::size_t>(number)] = value;
  return value;
}

int GetNoticeFlag(int number, const GlobalData& gcd) {
  if (number < 0 || number > kNoticeCount) return -1;
  return gcd.cfg.notice[static_cast<std::size_t>(number)];
}
