#pragma once
// The start of the program's own logic: everything up to the point where the main window is
// shown. It never shows anything itself except through `Prompts`.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/AppState.h"
#include "core/app/Ports.h"
#include "core/app/ProgramFolder.h"
#include "core/util/Prompts.h"

namespace kvx {

struct Workspace;
class LanguageTable;

// The system default locale identifier: 0x0804 when the first set of LC_ALL, LC_MESSAGES,
// LANG starts with "zh_CN", else 0x0409.
int SystemDefaultLcid(const Environment& env);

// The stored port is kept when the list names it or when it is a full path to a device that
// exists (a pseudo-terminal, /dev/serial/by-id/...); otherwise the first listed port replaces
// it, or none ("") when the list is empty. `deviceExists` tells whether a path exists
// (null: ask the file system).
std::string CheckStoredPort(std::string_view stored, const std::vector<PortInfo>& listed,
                            const std::function<bool(const std::string&)>& deviceExists = {});

// Sets the language of both the state and the table (the language dialog's OK uses it too).
void SetLanguage(AppState& app, LanguageTable& lang, int16_t index);

struct StartupOptions {
  // Where the program folder comes from; ignored when `programFolder` is set.
  ProgramFolderRequest folder;
  // A program folder already decided (tests): used as it stands.
  std::string programFolder;
  // Locale variables for the language choice; null: folder.env.
  const Environment* localeEnv = nullptr;
  // Device paths that exist (null: the file system).
  std::function<bool(const std::string&)> deviceExists;
};

struct StartupResult {
  bool ok = false;
  std::string error;  // when the program folder cannot be used
  ProgramFolderChoice folder;
  bool featureFlagsRead = false;  // false: Setting.ini was missing or short (flags are 0)
};

// Runs the start-up sequence into `ws`: factory mode, the language, the default type and band,
// the setup file with the port check and its write-back, the reset of the working data, the
// radio information, the feature flags and the programming password. `ws` should be freshly
// constructed. Fails only when no program folder can be used.
StartupResult Startup(Workspace& ws, const StartupOptions& options, Prompts& prompts,
                      PortEnumerator& ports);

}  // namespace kvx
