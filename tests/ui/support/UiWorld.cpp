#include "support/UiWorld.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <filesystem>

#include "core/app/FactoryMode.h"
#include "core/app/ProgramFolder.h"
#include "core/app/SetupFile.h"
#include "core/app/Startup.h"

namespace kvx::test {

namespace fs = std::filesystem;

UiWorld::UiWorld(WorldOptions options) {
  const fs::path root = dir.path().toStdString();
  const fs::path bin = KVX50_BIN_DIR;
  for (const char* sub : {"language", "Init"}) {
    if (fs::exists(bin / sub))
      fs::copy(bin / sub, root / sub, fs::copy_options::recursive);
    else
      fs::create_directories(root / sub);
  }
  if (options.factoryMode) {
    QFile marker(QString::fromStdString(FactoryMarkerPath(root.string())));
    marker.open(QIODevice::WriteOnly);
    marker.write(kFactoryMarker.data(), static_cast<qint64>(kFactoryMarker.size()));
  }
  {
    AppState flagsApp;
    flagsApp.ProgramFolder = root.string();
    flagsApp.Features = options.features;
    SaveFeatureFlags(flagsApp);
  }
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath("settings"));

  StartupOptions so;
  so.programFolder = root.string();
  Environment env;
  env.vars["LANG"] = options.language == 2 ? "zh_CN.UTF-8" : "en_US.UTF-8";
  so.localeEnv = &env;
  so.folder.env = env;
  Startup(ws, so, prompts, ports);
  if (options.language == 2) SetLanguage(ws.app, ws.lang, 2);
  if (options.defaultChannelsOnly) {
    NewDefaultChannels(ws.channels, ws.app);
    CopyWorkingToSaved(ws);
  }
  prompts.shown.clear();
}

UiWorld::~UiWorld() {
  main_.reset();
}

std::string UiWorld::folder() const {
  return dir.path().toStdString();
}

frmMain& UiWorld::main() {
  if (!main_) main_ = std::make_unique<frmMain>(ws, prompts, ports);
  return *main_;
}

void UiWorld::OnDialog(std::function<void(QDialog&)> script) {
  main().dialogRunner = [script](QDialog& d) {
    d.show();
    QCoreApplication::processEvents();
    script(d);
    d.hide();
    return d.result();
  };
}

ChannelRecord MakeChannel(int number, const char* rxFreqText, int shift, const char* offsetText) {
  ChannelRecord c = EmptyChannel(number);
  c.InUse = 1;
  c.RxFreq = rxFreqText;
  c.Offset = offsetText;
  c.Shift = static_cast<int16_t>(shift);
  return c;
}

void Settle(int ms) {
  QCoreApplication::processEvents();
  QTest::qWait(ms);
}

}  // namespace kvx::test
