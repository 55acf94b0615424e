// Language records (Ulpi) and the per-file language decision.
#pragma once

#include <memory>
#include <string>
#include <vector>

inline constexpr int kMaxLanguages = 1024;
inline constexpr int kMaxLanguageExtensions = 81;

// Indexes of the seven built-in languages.
enum LanguageIndex { kLangOther = 0, kLangC = 1, kLangCHeader = 2, kLangCpp = 3, kLangCppHeader = 4,
                     kLangJava = 5, kLangCSharp = 6 };

struct Ulpi {
  int index = 0;
  std::string languageName;             // at most 40 characters
  std::vector<std::string> extensions;  // at most 81, without the dot
};

struct LanguageState {
  std::vector<std::unique_ptr<Ulpi>> table;
  int lastIndex = -1;
  // Per-file language flags, cleared by every WhichFile.
  int isC = 0, isCpp = 0, isJava = 0, isCSharp = 0, isOther = 0, isHeader = 0;
  int current = -1;     // language index of the current file
  int headerAsCpp = 0;  // copy of "Treat C headers as C++" taken after the switches
  // Per-run file counters, one per built-in language.
  int otherFiles = 0, cFiles = 0, cHeaderFiles = 0, cppFiles = 0, cppHeaderFiles = 0, javaFiles = 0,
      csharpFiles = 0;
  std::string acceptedExtensions;  // every extension of every language, comma separated
};

struct GlobalData;
int addUlpi(const std::string& name, const std::string& extensionList, GlobalData& gcd);
void parseUlpiExtensions(Ulpi& record, const std::string& extensionList, GlobalData& gcd);
// The file's extension, or false when it has none.
bool FileExtension(const std::string& name, std::string& extension);
// The same, with the extension shown by debug tracing.
bool getExtension(const std::string& name, std::string& extension, GlobalData& gcd);
// Sets the current language and its flags from the file's extension and
// returns its index (-1: none); count 1 also counts the file in its kind.
int WhichFile(const std::string& name, int count, GlobalData& gcd);
// The per-run file counter of a language index: null for none and for the
// languages the configuration adds.
int LanguageState::*FileKindCounter(int index);
int findUlpi(const std::string& extension, GlobalData& gcd);
// Registers the seven built-in languages from the configuration and sets the
// accepted extension list (also the default -r extension list).
void BuildLanguageTable(GlobalData& gcd);
