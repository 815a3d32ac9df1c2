#include "core/app/Startup.h"

#include "core/app/BandTable.h"
#include "core/app/FactoryMode.h"
#include "core/app/SetupFile.h"
#include "core/files/Workspace.h"
#include "core/lang/IniFile.h"
#include "core/lang/LanguageTable.h"
#include "core/util/Text.h"

namespace kvx {

namespace {

bool SetupBool(std::string_view value) {
  std::string v = Trim(value);
  if (EqualsNoCase(v, "true")) return true;
  auto n = ParseInteger(v);
  return n && *n != 0;
}

}  // namespace

StartupResult Startup(Workspace& ws, const StartupOptions& options, Prompts& prompts,
                      PortEnumerator& ports) {
  (void)prompts;  // nothing to show on this platform (the version check cannot fail)
  StartupResult result;
  AppState& app = ws.app;

  // The program folder comes first: every later step reads or writes in it.
  if (!options.programFolder.empty()) {
    result.folder.ok = true;
    result.folder.folder = options.programFolder;
    result.folder.source = ProgramFolderSource::HomeOption;
  } else {
    result.folder = ResolveProgramFolder(options.folder);
  }
  if (!result.folder.ok) {
    result.error = result.folder.error;
    return result;
  }
  app.ProgramFolder = result.folder.folder;
  ws.lang.SetProgramFolder(app.ProgramFolder);

  // 1. Automatic-test options, initialisation flag.
  ws.autoTest = AutoTestState{};
  app.InitInProgress = false;

  // 2. Factory mode.
  app.FactoryMode = DecideFactoryMode(app.ProgramFolder);

  // 3. Decimal separator: nothing to change here, numbers never use the locale.
  SaveDecimalSeparator(app);

  // 4. Language.
  const Environment& localeEnv = options.localeEnv ? *options.localeEnv : options.folder.env;
  SetLanguage(app, ws.lang, ChooseLanguageIndex(SystemDefaultLcid(localeEnv), app.FactoryMode));

  // 5. Default type and band.
  app.CurrentEditChannel = 0;
  app.ProgramPassWord.clear();
  app.RadioType = "KP-510";
  app.RadioVersion = "V100";
  app.BandText = BandTextOfCode(3);
  app.BandCode = 3;
  ParseBandLimits(app);

  // 6. The link starts idle with its own defaults. 7. No version check on this platform.
  app.IsWindowsNt60 = false;

  // 8. The setup keys ("Skin" is read and not used). A missing or non-numeric value is 0.
  app.IsFirstRun = SetupBool(ReadSetupValue(app, "IsFirstRun"));
  (void)ReadSetupValue(app, "Skin");
  app.ComPort = PortOfSetupValue(ReadSetupValue(app, "comPort"));
  app.Handshaking = SetupNumber(ReadSetupValue(app, "Handshaking"));
  app.StopBit = SetupNumber(ReadSetupValue(app, "StopBit"));
  app.FactoryFres = SetupNumber(ReadSetupValue(app, "FactoryFres"));

  // 9. Port check.
  if (!app.IsWindowsNt60)
    app.ComPort = CheckStoredPort(app.ComPort, ports.List(), options.deviceExists);

  // 10. Write-back.
  if (app.IsFirstRun) WriteSetupValue(app, "IsFirstRun", "0");
  WriteSetupValue(app, "comPort", app.ComPort);

  // 11. Grid cell.
  app.CurrentGridRow = 0;
  app.CurrentGridCol = 0;

  // 12. Working data as New makes them, without questions.
  ResetWorkingData(ws);

  // 13. Radio information.
  ResetRadioInfo(ws.radioInfo);

  // 14. The built-in texts are compiled in and follow ws.lang's language.

  // 15. Feature flags; a missing file reads as zeros and is created at once.
  result.featureFlagsRead = ReadFeatureFlags(app, app.Features);
  if (!result.featureFlagsRead && !ReadFileText(FeatureFlagFilePath(app.ProgramFolder)))
    SaveFeatureFlags(app);
  app.ProgramPassWord = ReadSetupValue(app, "ProgramPassWord");

  result.ok = true;
  return result;
}

}  // namespace kvx
