// kvx50: the programming software's window.  kvx50 [--home DIR] [FILE.dat]
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/app/ProgramFolder.h"
#include "core/app/Startup.h"
#include "core/files/Workspace.h"
#include "platform/SystemPorts.h"
#include "ui/QtPrompts.h"
#include "ui/Splash.h"
#include "ui/UiText.h"
#include "ui/frmMain.h"

#ifdef KVX50_HAVE_PRINT
namespace kvx {
// The print library's entry: sets frmMain::printCommand.
void InstallPrintCommand(frmMain& main);
}  // namespace kvx
#endif

namespace {

const char kUsage[] =
    "kvx50 - programming software for KV_X50_WQN7 radios\n"
    "\n"
    "Usage: kvx50 [--home DIR] [FILE.dat]\n"
    "\n"
    "Reads a radio's memory over a programming cable, edits its channels and settings,\n"
    "writes them back and keeps them in data files (.dat with its channel file .chn).\n"
    "\n"
    "Options:\n"
    "  FILE.dat     open this data file at start\n"
    "  --home DIR   keep the program folder in DIR: language files, mysetup.ini, Setting.ini,\n"
    "               Init/ and TestData.ini (factory mode). Without it: $KVX50_HOME, the\n"
    "               program's own folder when it holds language/, else\n"
    "               $XDG_DATA_HOME/kvx50 (~/.local/share/kvx50), filled at first start\n"
    "  -h, --help   show this text\n"
    "  --version    show the version\n"
    "\n"
    "The serial port, language and window position are kept in language/mysetup.ini.\n"
    "For scripted read, write and backup see kvx50-cli(1); to try it without a radio,\n"
    "kvx50-radiosim(1).\n";

}  // namespace

int main(int argc, char** argv) {
  const std::string home = kvx::TakeHomeOption(argc, argv);
  // Answered before any display is opened, so that they work on a console too.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("kvx50 %s\n", KVX50_VERSION);
      return 0;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("kvx50");
  QApplication::setOrganizationName("kvx50");
  // The desktop entry (installed as kvx50.desktop) gives the window its icon.
  QApplication::setDesktopFileName("kvx50");

  std::string file;
  const QStringList args = QApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    // Qt has taken its own options (-style, -platform, ...) out already.
    if (a.startsWith('-')) {
      std::fprintf(stderr, "kvx50: unknown option %s\n%s", qPrintable(a), kUsage);
      return 2;
    }
    if (file.empty()) file = a.toStdString();
  }
  kvx::ShowStartupPicture();

  kvx::Workspace ws;
  kvx::QtPrompts prompts(ws.lang, nullptr);
  kvx::SystemPorts ports;
  kvx::StartupOptions options;
  options.folder.home = home;
  options.folder.env = kvx::Environment::FromProcess();
  const kvx::StartupResult started = kvx::Startup(ws, options, prompts, ports);
  if (!started.ok) {
    QMessageBox::critical(nullptr, kvx::Q(kvx::kProductName), kvx::Q(started.error));
    return 1;
  }

  kvx::frmMain window(ws, prompts, ports);
  prompts.SetParent(&window);
#ifdef KVX50_HAVE_PRINT
  kvx::InstallPrintCommand(window);
#endif
  window.show();
  if (!file.empty()) window.OpenDataFile(file);
  return QApplication::exec();
}
