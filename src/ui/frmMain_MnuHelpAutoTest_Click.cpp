// The main window's command for the automatic-test dialog (factory mode) (Frm_AutoTest). This file
// belongs to the engineer who builds Frm_AutoTest: replace the body with the window's opening, e.g.
//
//   Frm_AutoTest dialog(ws(), prompts(), this);
//   if (RunDialog(dialog) == QDialog::Accepted) ShowListByData();  // when channels changed
//
// (RunDialog lets the Qt tests drive the dialog; ws() and prompts() are the Workspace and the
// Prompts of the run.)
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuHelpAutoTest_Click() {}

}  // namespace kvx
