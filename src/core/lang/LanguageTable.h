#pragma once
// The current language and its file. Every lookup reads the current file: a language file
// edited while the system runs takes effect for windows opened afterwards (the parsed file is
// kept only while its size and modification time stay the same).
//
// Code names texts with one of these literal forms, which the language-coverage test finds in
// the sources under src/ and checks against both language files:
//   GetLangText(101)                    a lookup in section "OTHER" (any receiver:
//   lang.GetLangText) LangId(101)                         an ID kept in a table for a later
//   GetLangText GetLangKeyText("OPTION", "60024")   a lookup in "OPTION" or "MSG" LangKey("MSG",
//   "9001")              a section and key kept in a table
// The arguments must be literals for the test to see them; an ID computed at run time (a base
// plus an index) belongs in the test's catalogue instead.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/lang/BuiltInTexts.h"

namespace kvx {

inline constexpr int16_t kLanguageEnglish = 1;
inline constexpr int16_t kLanguageChinese = 2;

// Markers for IDs and keys kept in tables (see above); they return their arguments.
constexpr int LangId(int id) {
  return id;
}
struct LangKeyRef {
  std::string_view section;
  std::string_view key;
};
constexpr LangKeyRef LangKey(std::string_view section, std::string_view key) {
  return {section, key};
}

// The language's file name: "chinese.ini" for 2, "english.ini" otherwise.
std::string_view LanguageFileName(int languageIndex);

// The start-up choice from the system default locale identifier (app/Startup.h reads it):
// Chinese only for locale 0x0804 in factory mode; English otherwise.
int16_t ChooseLanguageIndex(int systemLcid, bool factoryMode);

// Language files are UTF-8. A file that is not valid UTF-8 comes from an older installation
// and is converted: GBK for chinese.ini, Windows-1252 for english.ini.
bool IsValidUtf8(std::string_view bytes);
std::string DecodeGbk(std::string_view bytes);
std::string DecodeWindows1252(std::string_view bytes);
std::string LanguageFileToUtf8(std::string_view bytes, int languageIndex);

class LanguageTable {
 public:
  LanguageTable();
  ~LanguageTable();
  LanguageTable(const LanguageTable&);
  LanguageTable& operator=(const LanguageTable&);

  // The folder that holds language/.
  void SetProgramFolder(std::string folder);
  const std::string& ProgramFolder() const { return folder_; }
  // 2 Chinese, anything else English (index 1). Also changes the current file.
  void SetLanguageIndex(int16_t index);
  int16_t LanguageIndex() const { return index_; }
  // program folder + "/language/" + file name.
  std::string FilePath() const;

  // Section "OTHER", key the decimal ID; at most 254 bytes, trimmed of blanks; "" when missing.
  // A space that must survive at either end is written as U+00A0.
  std::string GetLangText(int id) const;
  // Section "OPTION" (at most 254 bytes) or "MSG" (511); "" when missing.
  std::string GetLangKeyText(std::string_view section, std::string_view key) const;
  std::string GetLangKeyText(LangKeyRef ref) const { return GetLangKeyText(ref.section, ref.key); }

  // The compiled-in texts of the current language.
  const BuiltInTexts& BuiltIn() const { return BuiltInTextsFor(index_); }

 private:
  struct Cache;
  std::string folder_;
  int16_t index_ = kLanguageEnglish;
  mutable std::unique_ptr<Cache> cache_;
};

}  // namespace kvx
