// The main window's command for the FM broadcast list.
#include "core/files/Workspace.h"
#include "ui/FrmFm.h"
#include "ui/frmMain.h"

namespace kvx {

void frmMain::OpenFmList() {
  FrmFm window(ws().settings.Fm, ws().lang, this);
  RunDialog(window);
}

}  // namespace kvx
