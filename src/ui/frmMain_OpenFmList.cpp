// The main window's command for the FM broadcast list (FrmFm). This file belongs to the engineer
// who builds FrmFm: replace the body with the window's opening, e.g.
//
//   FrmFm dialog(ws(), prompts(), this);
//   if (RunDialog(dialog) == QDialog::Accepted) ShowListByData();  // when channels changed
//
// (RunDialog lets the Qt tests drive the dialog; ws() and prompts() are the Workspace and the
// Prompts of the run.)
#include "ui/frmMain.h"

namespace kvx {

void frmMain::OpenFmList() {}

}  // namespace kvx
