// The main window's command for the DTMF dialog.
#include "core/files/Workspace.h"
#include "ui/FrmDTMF.h"
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuViewDTMF_Click() {
  FrmDTMF dialog(ws().settings.Dtmf, ws().lang, prompts(), this);
  RunDialog(dialog);
}

}  // namespace kvx
