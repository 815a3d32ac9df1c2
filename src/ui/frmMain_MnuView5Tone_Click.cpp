// The main window's command for the five-tone dialog.
#include "core/files/Workspace.h"
#include "ui/Frm5Tone.h"
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuView5Tone_Click() {
  Frm5Tone dialog(ws().settings, ws().channels, ws().lang, prompts(), this);
  // OK re-points the channels' decode references.
  if (RunDialog(dialog) == QDialog::Accepted) ShowListByData();
}

}  // namespace kvx
