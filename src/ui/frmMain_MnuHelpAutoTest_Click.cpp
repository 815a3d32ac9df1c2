// The main window's command for the automatic test window (factory mode). The export works on
// a copy of the working data, so nothing on the screen changes.
#include "ui/Frm_AutoTest.h"
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuHelpAutoTest_Click() {
  Frm_AutoTest dialog(ws(), prompts(), this);
  RunDialog(dialog);
}

}  // namespace kvx
