// The main window's command for the AM broadcast list.
#include "core/files/Workspace.h"
#include "ui/FrmAm.h"
#include "ui/frmMain.h"

namespace kvx {

void frmMain::OpenAmList() {
  FrmAm window(ws().settings.Am, ws().lang, this);
  RunDialog(window);
}

}  // namespace kvx
