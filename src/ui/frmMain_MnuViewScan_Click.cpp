// The main window's command for the scan dialog (FrmScan). This file belongs to the engineer who
// builds FrmScan: replace the body with the window's opening, e.g.
//
//   FrmScan dialog(ws(), prompts(), this);
//   if (RunDialog(dialog) == QDialog::Accepted) ShowListByData();  // when channels changed
//
// (RunDialog lets the Qt tests drive the dialog; ws() and prompts() are the Workspace and the
// Prompts of the run.)
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuViewScan_Click() {}

}  // namespace kvx
