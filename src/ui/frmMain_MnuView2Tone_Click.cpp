// The main window's command for the two-tone dialog (Frm2Tone). This file belongs to the engineer
// who builds Frm2Tone: replace the body with the window's opening, e.g.
//
//   Frm2Tone dialog(ws(), prompts(), this);
//   if (RunDialog(dialog) == QDialog::Accepted) ShowListByData();  // when channels changed
//
// (RunDialog lets the Qt tests drive the dialog; ws() and prompts() are the Workspace and the
// Prompts of the run.)
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuView2Tone_Click() {}

}  // namespace kvx
