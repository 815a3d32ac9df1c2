// The main window's command for the communication book.
#include "core/files/Workspace.h"
#include "ui/FrmCommuBook.h"
#include "ui/frmMain.h"

namespace kvx {

void frmMain::MnuCommBook_Click() {
  FrmCommuBook dialog(ws().settings.Book, ws().BookFileName, prompts(), ws().lang, this);
  RunDialog(dialog);
}

}  // namespace kvx
