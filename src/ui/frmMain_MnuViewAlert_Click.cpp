// The main window's command for the alert dialog.
#include "core/files/Workspace.h"
#include "ui/FrmAlert.h"
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuViewAlert_Click() {
  Workspace& w = ws();
  FrmAlert dialog(w.settings.Alert, w.channels, w.settings.Dtmf, w.settings.FiveTone, w.app, w.lang,
                  this);
  RunDialog(dialog);
}

}  // namespace kvx
