#pragma once
// The texts compiled into the system, in English (LanguageIndex 1) and Chinese (2): progress
// titles, file and link warnings, two button captions. They are available before and
// independently of the language files.
#include <string_view>

namespace kvx {

struct BuiltInTexts {
  std::string_view ReadTitle;
  std::string_view WriteTitle;
  std::string_view ProgressLabel;
  std::string_view ReadConfirm;   // two lines, CR LF between them
  std::string_view WriteConfirm;  // two lines, CR LF between them
  std::string_view ModelWrong;
  std::string_view RadioKilled;
  std::string_view RadioStunned;
  std::string_view VersionWrong;
  std::string_view BandWrong;
  std::string_view AllDataCleared;
  std::string_view FileError;
  std::string_view FilePasswordError;
  std::string_view FilePasswordSetTitle;
  std::string_view FilePasswordTitle;
  std::string_view OverwriteConfirm;
  std::string_view SaveModifiedConfirm;
  std::string_view DataFileTitle;
  std::string_view FrequencyDataCleared;
  std::string_view WarningTitle;
  std::string_view CloseCaption;
  std::string_view HelpCaption;
};

// The texts of a language: 2 Chinese, any other index English.
const BuiltInTexts& BuiltInTextsFor(int languageIndex);

// The title of a link transfer: kind 1 read (ReadTitle), 2 write (WriteTitle), else empty.
std::string_view TransferTitle(int languageIndex, int kind);

}  // namespace kvx
