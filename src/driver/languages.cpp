// The language table: registration of the built-in languages, extension
// look-up and the per-file language flags.
#include "driver/languages.h"

#include <array>
#include <cstring>
#include <new>
#include <string_view>

#include "common/gcd.h"
#include "common/output.h"
#include "common/text.h"

namespace {

constexpr std::size_t kLanguageNameMax = 40;
constexpr std::size_t kExtensionListConsidered = 254;
constexpr std::size_t kExtensionMax = 254;

// The built-in languages in table order, each with its configuration key value.
struct BuiltinLanguage {
  const char* name;
  std::string Config::*extensions;
};
constexpr std::array<BuiltinLanguage, 7> kBuiltins{{
    {"Other", &Config::otherExtensions},
    {"C", &Config::cExtensions},
    {"C Header", &Config::cHeaderExtensions},
    {"C++", &Config::cppExtensions},
    {"C++ Header", &Config::cppHeaderExtensions},
    {"Java", &Config::javaExtensions},
    {"C#", &Config::csharpExtensions},
}};

// What WhichFile sets for a language index: the flag and the file counter.
struct LanguageEffect {
  int LanguageState::*flag;
  int LanguageState::*counter;
};
constexpr std::array<LanguageEffect, 7> kEffects{{
    {&LanguageState::isOther, &LanguageState::otherFiles},
    {&LanguageState::isC, &LanguageState::cFiles},
    {&LanguageState::isC, &LanguageState::cHeaderFiles},  // the C or C++ choice is made at run time
    {&LanguageState::isCpp, &LanguageState::cppFiles},
    {&LanguageState::isCpp, &LanguageState::cppHeaderFiles},
    {&LanguageState::isJava, &LanguageState::javaFiles},
    {&LanguageState::isCSharp, &LanguageState::csharpFiles},
}};

bool IsExtensionSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

// Fills the record's extensions from a separated list; the list replaces the
// old one entirely.
void SplitExtensions(Ulpi& record, const std::string& extensionList) {
  record.extensions.clear();
  std::string_view list(extensionList);
  if (list.size() > kExtensionListConsidered) list = list.substr(0, kExtensionListConsidered);
  ForEachItem(list, IsExtensionSeparator, [&record](std::string_view item) {
    if (static_cast<int>(record.extensions.size()) >= kMaxLanguageExtensions)
      OutS("\n  Error: Max ULPI extensions reached\n");
    else
      record.extensions.emplace_back(item);
    return false;
  });
}

bool SameExtension(const std::string& a, const std::string& b, const GlobalData& gcd) {
  return gcd.cfg.caseSensitiveNames ? a == b : EqualsNoCase(a, b);
}

// Extension of a version-extended name whose "@@" starts at at: the text
// between the last '.' before it and the "@@".
bool VersionedExtension(const std::string& name, std::size_t at, std::string& extension) {
  if (at == 0) return false;
  for (std::size_t i = at; i-- > 0;) {
    char c = name[i];
    if (c == '/' || c == '\\') return false;
    if (c == '.') {
      AssignBounded(extension, std::string_view(name).substr(i + 1, at - i - 1), kExtensionMax);
      return true;
    }
  }
  return false;
}

}  // namespace

int addUlpi(const std::string& name, const std::string& extensionList, GlobalData& gcd) {
  LanguageState& lang = gcd.lang;
  if (static_cast<int>(lang.table.size()) >= kMaxLanguages) {
    OutS("\n  Error: Max Universal Language PlugIn reached\n");
    return -1;
  }
  std::unique_ptr<Ulpi> record(new (std::nothrow) Ulpi());
  if (!record) {
    OutS("\n  Error: ULPI memory allocation error\n");
    return -1;
  }
  record->index = static_cast<int>(lang.table.size());
  AssignBounded(record->languageName, name, kLanguageNameMax);
  SplitExtensions(*record, extensionList);
  lang.table.push_back(std::move(record));
  lang.lastIndex = static_cast<int>(lang.table.size()) - 1;
  return lang.lastIndex;
}

void parseUlpiExtensions(Ulpi& record, const std::string& extensionList, GlobalData&) {
  SplitExtensions(record, extensionList);
}

bool FileExtension(const std::string& name, std::string& extension) {
  extension.clear();
  bool found = false;
  std::size_t lastAt = name.rfind('@');
  if (lastAt != std::string::npos && lastAt > 0 && name[lastAt - 1] == '@') {
    found = VersionedExtension(name, lastAt - 1, extension);
  } else {
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
      AssignBounded(extension, std::string_view(name).substr(dot + 1), kExtensionMax);
      found = true;
    }
  }
  return found;
}

bool getExtension(const std::string& name, std::string& extension, GlobalData& gcd) {
  const bool found = FileExtension(name, extension);
  if (found && gcd.sw.debug) OutF("*** Debug: File Extension: %s\n\n", extension.c_str());
  return found;
}

int findUlpi(const std::string& extension, GlobalData& gcd) {
  for (const auto& record : gcd.lang.table) {
    if (!record) break;
    for (const std::string& ext : record->extensions)
      if (SameExtension(ext, extension, gcd)) return record->index;
  }
  return -1;
}

int WhichFile(const std::string& name, int count, GlobalData& gcd) {
  LanguageState& lang = gcd.lang;
  lang.isC = lang.isCpp = lang.isJava = lang.isCSharp = lang.isOther = lang.isHeader = 0;
  lang.current = -1;
  std::string extension;
  if (!getExtension(name, extension, gcd)) return -1;
  int index = findUlpi(extension, gcd);
  lang.current = index;
  if (index < 0) return -1;
  if (index >= static_cast<int>(kEffects.size())) {
    lang.isOther = 1;
    return index;
  }
  const LanguageEffect& effect = kEffects[static_cast<std::size_t>(index)];
  if (index == kLangCHeader) {
    lang.isHeader = 1;
    (lang.headerAsCpp ? lang.isCpp : lang.isC) = 1;
  } else {
    lang.*effect.flag = 1;
  }
  if (count == 1) ++(lang.*effect.counter);
  return index;
}

int LanguageState::*FileKindCounter(int index) {
  if (index < 0 || index >= static_cast<int>(kEffects.size())) return nullptr;
  return kEffects[static_cast<std::size_t>(index)].counter;
}

void BuildLanguageTable(GlobalData& gcd) {
  LanguageState& lang = gcd.lang;
  lang.table.clear();
  lang.lastIndex = -1;
  for (const BuiltinLanguage& builtin : kBuiltins) addUlpi(builtin.name, gcd.cfg.*builtin.extensions, gcd);
  std::string accepted;
  for (const auto& record : lang.table) {
    for (const std::string& ext : record->extensions) {
      if (!accepted.empty()) accepted += ',';
      accepted += ext;
    }
  }
  lang.acceptedExtensions = accepted;
  // The default -r extension list; a list given with -r replaces it later.
  if (!gcd.sw.recursive) gcd.sw.recursiveExtensions = accepted;
}
