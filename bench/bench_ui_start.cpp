// Time from start to the main window shown with the default data, and the time of a full
// redraw of the channel list (every channel in use). Prints figures; asserts nothing.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "core/app/ProgramFolder.h"
#include "core/app/Startup.h"
#include "core/files/Workspace.h"
#include "core/util/Prompts.h"
#include "ui/QtPrompts.h"
#include "ui/frmMain.h"

namespace {

class NoPorts : public kvx::PortEnumerator {
 public:
  std::vector<kvx::PortInfo> List() override { return {}; }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  namespace fs = std::filesystem;
  const auto t0 = std::chrono::steady_clock::now();
  QApplication app(argc, argv);
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
  const bool exposed = window.windowHandle() && window.windowHandle()->isExposed();
  QCoreApplication::processEvents();
  const auto t1 = std::chrono::steady_clock::now();
  std::printf("start to main window shown: %.1f ms (exposed: %s)\n",
              std::chrono::duration<double, std::milli>(t1 - t0).count(), exposed ? "yes" : "no");

  // Every channel number in use, then full redraws, each painted.
  ws.channels.ChannelCount = 0;
  for (int n = 1; n <= kvx::kChannelSlots; ++n) {
    kvx::ChannelRecord c = kvx::EmptyChannel(n);
    c.InUse = 1;
    c.RxFreq = "014500000";
    c.Offset = "000060000";
    c.Shift = static_cast<int16_t>(n % 3);
    c.ToneAType = static_cast<int16_t>(n % 3);
    c.ToneBType = static_cast<int16_t>((n + 1) % 3);
    c.Signalling = static_cast<int16_t>(n % 4);
    c.Name = "CH";
    ws.channels.AppendChannel(c);
  }
  constexpr int kRounds = 200;
  QElapsedTimer timer;
  timer.start();
  // Each round changes every channel (two names by turns), so that every cell is new.
  auto changeAll = [&ws](int round) {
    for (kvx::ChannelRecord& c : ws.channels.Slots)
      if (c.InUse) c.Name = round % 2 ? "CX" : "CH";
  };
  for (int i = 0; i < kRounds; ++i) {
    changeAll(i);
    window.ShowListByData();
    window.grid()->viewport()->repaint();
  }
  const double perRedraw = static_cast<double>(timer.nsecsElapsed()) / 1e6 / kRounds;
  std::printf("full grid redraw (204 channels, grid painted): %.3f ms per redraw (%d rounds)\n",
              perRedraw, kRounds);
  timer.restart();
  for (int i = 0; i < kRounds; ++i) window.grid()->viewport()->repaint();
  std::printf("grid painting alone (no redraw of the data): %.3f ms per paint\n",
              static_cast<double>(timer.nsecsElapsed()) / 1e6 / kRounds);
  timer.restart();
  for (int i = 0; i < kRounds; ++i) {
    changeAll(i);
    window.ShowListByData();
  }
  std::printf("full grid redraw (model only): %.3f ms per redraw\n",
              static_cast<double>(timer.nsecsElapsed()) / 1e6 / kRounds);
  return 0;
}
