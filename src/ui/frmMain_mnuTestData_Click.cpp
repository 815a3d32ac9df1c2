// The main window's command for the test data dialog (factory mode).
#include <QVariant>

#include "core/files/Workspace.h"
#include "ui/FrmTestData.h"
#include "ui/frmMain.h"

namespace kvx {

void frmMain::mnuTestData_Click() {
  // The name the dialog's file commands start from: the last test-data file the dialog used
  // (kept with the window), else the one that goes with the current data file.
  std::string last = property("LastTestDataFile").toString().toStdString();
  if (last.empty() && !ws().Untitled) last = TestDataPathFor(ws().CurrentFileName);
  const std::string before = last;
  FrmTestData dialog(ws().testValues, ws().lang, prompts(), last, this);
  RunDialog(dialog);
  if (last != before) setProperty("LastTestDataFile", QString::fromStdString(last));
}

}  // namespace kvx
