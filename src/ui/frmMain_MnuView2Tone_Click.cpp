// The main window's command for the two-tone dialog.
#include "core/files/Workspace.h"
#include "ui/Frm2Tone.h"
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuView2Tone_Click() {
  Frm2Tone dialog(ws().settings, ws().channels, ws().lang, this);
  // OK re-points the channels' decode references.
  if (RunDialog(dialog) == QDialog::Accepted) ShowListByData();
}

}  // namespace kvx
