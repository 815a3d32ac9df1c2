// The INI layer with the language and setup files: any text, any section, key and value.
//
// Input parts (FuzzSupport.h): the file text, a section, a key, a value, Setting.ini.
// Checked: every entry the parser keeps is what a lookup finds; setting one key changes that
// key only and reads back as written; the language lookups give valid UTF-8 within their
// limits whatever the file's encoding; the setup file and the feature flags read back what was
// written.
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "core/app/AppState.h"
#include "core/app/ProgramFolder.h"
#include "core/app/SetupFile.h"
#include "core/lang/IniFile.h"
#include "core/lang/LanguageTable.h"
#include "core/util/Text.h"

using namespace kvx;
using namespace kvx::fuzz;

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// What the reader makes of a value written on one line: blanks (and a CR at the end) gone,
// then one pair of matching quotes.
std::string ExpectedValue(std::string_view value) {
  std::string v(value);
  for (char& c : v)
    if (c == '\r' || c == '\n') c = ' ';
  std::string_view s(v);
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
    s = s.substr(1, s.size() - 2);
  return std::string(s);
}

// A section or key the program could use: no line break, no brackets or '=' where they would
// change the line, no blanks around it, not a comment.
bool UsableName(std::string_view name, bool isKey) {
  if (name.empty() || IsBlank(name.front()) || IsBlank(name.back())) return false;
  if (name.find_first_of(isKey ? std::string_view("=[\r\n") : std::string_view("[]\r\n")) !=
      std::string_view::npos)
    return false;
  if (name.find('\0') != std::string_view::npos) return false;
  if (isKey && (name.front() == ';' || name.front() == '#')) return false;
  return true;
}

void CheckDocument(const IniDocument& doc) {
  for (const IniSection& s : doc.Sections()) {
    std::vector<std::string> keys;
    for (const IniEntry& e : s.entries) {
      const auto found = doc.Find(s.name, e.key);
      FUZZ_CHECK(found && *found == e.value);
      keys.push_back(e.key);
    }
    FUZZ_CHECK(doc.Keys(s.name) == keys);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto parts = SplitInput(data, size, 5);
  const std::string_view text = PartOr(parts, 0);
  const std::string_view section = PartOr(parts, 1);
  const std::string_view key = PartOr(parts, 2);
  const std::string_view value = PartOr(parts, 3);
  const std::string_view flagsFile = PartOr(parts, 4);

  // Parsing in memory.
  const IniDocument doc = IniDocument::Parse(text);
  CheckDocument(doc);

  for (size_t limit : {size_t{0}, size_t{7}, kIniShortValueLimit, kIniLongValueLimit}) {
    const std::string cut = CutToLimit(value, limit);
    FUZZ_CHECK(cut.size() <= limit);
    FUZZ_CHECK(std::string_view(value).substr(0, cut.size()) == cut);
    if (IsValidUtf8(value)) FUZZ_CHECK(IsValidUtf8(cut));
  }

  // Setting one key.
  if (UsableName(section, false) && UsableName(key, true)) {
    const IniDocument after = IniDocument::Parse(SetIniValue(text, section, key, value));
    CheckDocument(after);
    const auto found = after.Find(section, key);
    FUZZ_CHECK(found && *found == ExpectedValue(value));
    for (const IniSection& s : doc.Sections())
      for (const IniEntry& e : s.entries) {
        if (EqualsNoCase(s.name, section) && EqualsNoCase(e.key, key)) continue;
        const auto kept = after.Find(s.name, e.key);
        FUZZ_CHECK(kept && *kept == e.value);
      }
  }

  // Language files of either encoding become valid UTF-8.
  for (int language : {kLanguageEnglish, kLanguageChinese})
    FUZZ_CHECK(IsValidUtf8(LanguageFileToUtf8(text, language)));

  // The same text as the files of a program folder.
  const std::string& folder = ScratchFolder();
  static const bool made = [&] { return ::mkdir((folder + "/language").c_str(), 0700) == 0; }();
  FUZZ_CHECK(made);
  WriteFile(folder + "/language/english.ini", text);
  WriteFile(folder + "/language/chinese.ini", text);
  WriteFile(SetupFilePath(folder), text);
  WriteFile(FeatureFlagFilePath(folder), flagsFile);

  for (int16_t language : {kLanguageEnglish, kLanguageChinese}) {
    LanguageTable lang;
    lang.SetProgramFolder(folder);
    lang.SetLanguageIndex(language);
    for (std::string_view sec : {std::string_view("MSG"), std::string_view("OPTION"), section}) {
      const std::string t = lang.GetLangKeyText(sec, key);
      FUZZ_CHECK(t.size() <= (EqualsNoCase(sec, "MSG") ? kIniLongValueLimit : kIniShortValueLimit));
      FUZZ_CHECK(IsValidUtf8(t));
    }
    if (const auto id = ParseInteger(key)) {
      const std::string t = lang.GetLangText(static_cast<int>(*id));
      FUZZ_CHECK(t.size() <= kIniShortValueLimit && IsValidUtf8(t));
    }
  }

  AppState app;
  app.ProgramFolder = folder;
  const std::string before = ReadSetupValue(app, key);
  FUZZ_CHECK(before.size() <= kSetupValueLimit);
  (void)SetupNumber(before, 7);
  (void)PortOfSetupValue(before);
  if (WriteSetupValue(app, key, value)) {
    if (UsableName(key, true))
      FUZZ_CHECK(ReadSetupValue(app, key) ==
                 Trim(CutToLimit(ExpectedValue(value), kSetupValueLimit)));
  }

  FeatureFlags flags;
  const bool read = ReadFeatureFlags(app, flags);
  FUZZ_CHECK(read == (flagsFile.size() >= 8));
  if (read) {
    FUZZ_CHECK(flags.FiveToneFeature == static_cast<int16_t>(Le16(AsBytes(flagsFile), 0)));
    FUZZ_CHECK(flags.FourthFeature == static_cast<int16_t>(Le16(AsBytes(flagsFile), 6)));
    app.Features = flags;
    FUZZ_CHECK(SaveFeatureFlags(app));
    FeatureFlags again;
    FUZZ_CHECK(ReadFeatureFlags(app, again) && again == flags);
  } else {
    FUZZ_CHECK(flags == FeatureFlags{});
  }
  return 0;
}
