#pragma once
// One program run for a Qt test: a program folder of its own (a copy of the build's language
// files and default data), the start-up sequence, scripted prompts, a fixed port list, the
// window-position store in the same folder, and the main window on demand.
#include <QDialog>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/app/Ports.h"
#include "core/files/Workspace.h"
#include "support/ScriptedPrompts.h"
#include "ui/frmMain.h"

namespace kvx::test {

class FixedPorts : public PortEnumerator {
 public:
  std::vector<PortInfo> ports;
  std::vector<PortInfo> List() override { return ports; }
};

struct WorldOptions {
  bool factoryMode = false;
  FeatureFlags features;  // written to Setting.ini before the start
  int16_t language = 1;
  // Keep only CALL and VFO of the default data (the shipped default files hold channels).
  bool defaultChannelsOnly = true;
};

class UiWorld {
 public:
  explicit UiWorld(WorldOptions options = {});
  ~UiWorld();

  std::string folder() const;
  // The main window, created on first use (after any change to ws the test wants at load).
  frmMain& main();
  // Runs every modal dialog the main window opens through `script`, which drives it (the
  // dialog's own result is what the window sees).
  void OnDialog(std::function<void(QDialog&)> script);

  QTemporaryDir dir;
  Workspace ws;
  ScriptedPrompts prompts;
  FixedPorts ports;

 private:
  std::unique_ptr<frmMain> main_;
};

// A channel record in the list, as the grid and dialog tests build them.
ChannelRecord MakeChannel(int number, const char* rxFreqText, int shift = 0,
                          const char* offsetText = "000000000");

// Lets queued events (the edit dialog's zero-time store timer) run.
void Settle(int ms = 20);

}  // namespace kvx::test
