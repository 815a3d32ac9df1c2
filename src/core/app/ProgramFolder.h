#pragma once
// The program folder: language/ (with mysetup.ini), Setting.ini, Init/ and TestData.ini. The
// system writes only there. It is, in this order: `--home DIR`; the environment variable
// KVX50_HOME; the executable's folder when it holds language/ (build tree, portable copy);
// else the per-user folder $XDG_DATA_HOME/kvx50 (~/.local/share/kvx50), filled at first start
// from the installed defaults (<prefix>/share/kvx50).
#include <map>
#include <string>
#include <string_view>

namespace kvx {

// The environment variables the system reads, captured once so that tests can give their own.
struct Environment {
  std::map<std::string, std::string, std::less<>> vars;
  // KVX50_HOME, XDG_DATA_HOME, HOME, LC_ALL, LC_MESSAGES, LANG of this process.
  static Environment FromProcess();
  // Empty when unset.
  std::string Get(std::string_view name) const;
  bool Has(std::string_view name) const;
};

struct ProgramFolderRequest {
  std::string home;            // the value of --home; empty when not given
  std::string executablePath;  // empty: /proc/self/exe
  std::string installedData;   // empty: the compiled-in <prefix>/share/kvx50
  Environment env = Environment::FromProcess();
};

enum class ProgramFolderSource { HomeOption, HomeVariable, ExecutableFolder, UserFolder };

struct ProgramFolderChoice {
  bool ok = false;
  std::string folder;  // absolute, without a trailing '/'
  ProgramFolderSource source = ProgramFolderSource::UserFolder;
  bool seeded = false;  // default files were copied in
  std::string error;    // when !ok: what failed, naming the folder
};

// Chooses the folder and creates it when needed. A chosen folder without language/ gets the
// shipped defaults copied in (files already there are never overwritten).
ProgramFolderChoice ResolveProgramFolder(const ProgramFolderRequest& request);

// Takes "--home DIR" or "--home=DIR" out of argv (argc adjusted) and returns DIR; empty when
// absent.
std::string TakeHomeOption(int& argc, char** argv);

// The files in the program folder.
std::string SetupFilePath(std::string_view folder);                        // language/mysetup.ini
std::string LanguageFolderPath(std::string_view folder);                   // language
std::string LanguageFilePath(std::string_view folder, int languageIndex);  // 2 chinese.ini
std::string FeatureFlagFilePath(std::string_view folder);                  // Setting.ini
std::string FactoryMarkerPath(std::string_view folder);                    // TestData.ini
std::string InitFolderPath(std::string_view folder);                       // Init

}  // namespace kvx
