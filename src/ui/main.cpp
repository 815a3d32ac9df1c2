// kvx50: the programming software's window.  kvx50 [--home DIR] [FILE.dat]
#include <QApplication>
#include <QMessageBox>
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

int main(int argc, char** argv) {
  const std::string home = kvx::TakeHomeOption(argc, argv);
  QApplication app(argc, argv);
  QApplication::setApplicationName("kvx50");
  QApplication::setOrganizationName("kvx50");
  kvx::ShowStartupPicture();

  std::string file;
  const QStringList args = QApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs("usage: kvx50 [--home DIR] [FILE.dat]\n", stdout);
      return 0;
    }
    if (!a.startsWith('-') && file.empty()) file = a.toStdString();
  }

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
