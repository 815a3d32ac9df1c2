// The main window's command for the scan dialog.
#include "core/files/Workspace.h"
#include "ui/FrmScan.h"
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuViewScan_Click() {
  FrmScan dialog(ws().settings.Scan, ws().channels, ws().app, ws().lang, this);
  RunDialog(dialog);
}

}  // namespace kvx
