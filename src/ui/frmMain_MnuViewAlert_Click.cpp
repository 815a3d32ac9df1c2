// The main window's command for the alert dialog (FrmAlert). This file belongs to the engineer who
// builds FrmAlert: replace the body with the window's opening, e.g.
//
//   FrmAlert dialog(ws(), prompts(), this);
//   if (RunDialog(dialog) == QDialog::Accepted) ShowListByData();  // when channels changed
//
// (RunDialog lets the Qt tests drive the dialog; ws() and prompts() are the Workspace and the
// Prompts of the run.)
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuViewAlert_Click() {}

}  // namespace kvx
