// The main window's command for the optional-features dialog.
#include "core/files/Workspace.h"
#include "ui/FrmOption.h"
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuViewSetMode_Click() {
  FrmOption dialog(ws().settings, ws().channels, ws().app, ws().lang, this);
  if (RunDialog(dialog) == QDialog::Accepted) LoadShowTree();
}

}  // namespace kvx
