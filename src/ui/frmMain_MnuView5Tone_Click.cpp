// The main window's command for the five-tone dialog (Frm5Tone). This file belongs to the engineer
// who builds Frm5Tone: replace the body with the window's opening, e.g.
//
//   Frm5Tone dialog(ws(), prompts(), this);
//   if (RunDialog(dialog) == QDialog::Accepted) ShowListByData();  // when channels changed
//
// (RunDialog lets the Qt tests drive the dialog; ws() and prompts() are the Workspace and the
// Prompts of the run.)
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuView5Tone_Click() {}

}  // namespace kvx
