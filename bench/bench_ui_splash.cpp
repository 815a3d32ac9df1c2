// What the start-up picture adds to the start of the program, which it should do by no more
// than a frame (16.7 ms at 60 Hz). Each start runs in a fresh process, as the program does:
// the time from main() to the main window shown with and without the picture, and the time of
// the call itself, once as the program makes it (fonts not yet set up: that work then falls
// on the picture instead of the main window) and once after the font set-up (the picture's
// own cost). Prints medians; asserts nothing. Runs on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <tuple>
#include <vector>

#include "core/app/Startup.h"
#include "core/files/Workspace.h"
#include "ui/QtPrompts.h"
#include "ui/Splash.h"
#include "ui/frmMain.h"

namespace {

class NoPorts : public kvx::PortEnumerator {
 public:
  std::vector<kvx::PortInfo> List() override { return {}; }
};

using Clock = std::chrono::steady_clock;

// One start as the program makes it; prints the milliseconds to the main window shown.
int Child(int argc, char** argv, bool withPicture, bool warmFonts) {
  const auto t0 = Clock::now();
  QApplication app(argc, argv);
  if (warmFonts) {
    // The font set-up the main window pays anyway, done first.
    QPixmap scratch(64, 32);
    QPainter p(&scratch);
    p.drawText(2, 20, "Aa");
  }
  const auto before = Clock::now();
  if (withPicture) kvx::ShowStartupPicture();
  const double call = std::chrono::duration<double, std::milli>(Clock::now() - before).count();
  bool exposed = false;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "StartupPicture" && w->windowHandle())
      exposed = w->windowHandle()->isExposed();
  namespace fs = std::filesystem;
  QTemporaryDir dir;
  const fs::path root = dir.path().toStdString();
  for (const char* sub : {"language", "Init"})
    if (fs::exists(fs::path(KVX50_BIN_DIR) / sub))
      fs::copy(fs::path(KVX50_BIN_DIR) / sub, root / sub, fs::copy_options::recursive);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath("settings"));
  kvx::Workspace ws;
  kvx::QtPrompts prompts(ws.lang, nullptr);
  NoPorts ports;
  kvx::StartupOptions options;
  options.programFolder = root.string();
  kvx::Startup(ws, options, prompts, ports);
  kvx::frmMain window(ws, prompts, ports);
  prompts.SetParent(&window);
  window.show();
  QElapsedTimer wait;
  wait.start();
  while (!(window.windowHandle() && window.windowHandle()->isExposed()) && wait.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  QCoreApplication::processEvents();
  std::printf("%.3f %.3f %d\n",
              std::chrono::duration<double, std::milli>(Clock::now() - t0).count(), call,
              exposed ? 1 : 0);
  return 0;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc > 2 && std::strcmp(argv[1], "--child") == 0)
    return Child(argc, argv, std::strcmp(argv[2], "without") != 0,
                 std::strcmp(argv[2], "warm") == 0);

  QCoreApplication app(argc, argv);
  constexpr int kRuns = 15;
  // Each child prints the milliseconds to the main window shown and those of the call.
  auto run = [](const char* mode) {
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {"--child", mode});
    p.waitForFinished(60000);
    const QList<QByteArray> parts = p.readAllStandardOutput().simplified().split(' ');
    return std::tuple<double, double, bool>(parts.value(0).toDouble(), parts.value(1).toDouble(),
                                            parts.value(2) == "1");
  };
  run("without");  // warm the file cache
  std::vector<double> with, without, paired, callCold, callWarm;
  int exposed = 0;
  for (int i = 0; i < kRuns; ++i) {
    const auto [withTotal, withCall, withExposed] = run("with");
    const double withoutTotal = std::get<0>(run("without"));
    with.push_back(withTotal);
    without.push_back(withoutTotal);
    paired.push_back(withTotal - withoutTotal);
    callCold.push_back(withCall);
    callWarm.push_back(std::get<1>(run("warm")));
    exposed += withExposed ? 1 : 0;
  }
  std::printf("platform: %s, %d runs of each\n", qgetenv("QT_QPA_PLATFORM").constData(), kRuns);
  std::printf("start to main window shown, without the picture: median %.1f ms\n", Median(without));
  std::printf("start to main window shown, with the picture:    median %.1f ms\n", Median(with));
  std::printf("median of the paired differences: %.1f ms\n", Median(paired));
  std::printf("the call, fonts not yet set up:        median %.1f ms\n", Median(callCold));
  std::printf("the call, fonts set up (its own cost): median %.1f ms\n", Median(callWarm));
  std::printf("picture shown and painted when the call returned: %d of %d starts\n", exposed,
              kRuns);
  std::printf("one frame at 60 Hz: 16.7 ms\n");
  return 0;
}
