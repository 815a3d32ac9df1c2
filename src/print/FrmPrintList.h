#pragma once
// The print selection dialog: one box per print item, select all / clear all, the printer
// set-up, a print preview, and OK, which prints the ticked items through the system print
// dialog and closes only when printing ran to its end.
#include <QDialog>
#include <map>
#include <vector>

#include "ui/FormHelpers.h"

class QCheckBox;
class QPrinter;
class QPushButton;

namespace kvx {

struct Workspace;
class Prompts;
class frmMain;

class FrmPrintList : public QDialog {
  Q_OBJECT
 public:
  // `printer` keeps its set-up between prints; it must outlive the dialog.
  FrmPrintList(const Workspace& ws, Prompts& prompts, QPrinter& printer, QWidget* parent = nullptr);

  // The box of item `item` ("Check1_<item>"); null for a number that is no item.
  QCheckBox* ItemBox(int item) const;
  // The items ticked now, in item order.
  std::vector<int> TickedItems() const;

  // Prints the recorded items: the system print dialog first (cancelled: nothing printed).
  // Sets PrintDone.
  void PrintSelected();
  bool PrintDone = false;
  // The items recorded by the last OK.
  const std::vector<int>& PrintItems() const { return printItems_; }

  // How the system print dialog, the printer set-up dialog and the preview are run (null:
  // exec()); tests drive them through these. The print dialog's printer is the one printed on.
  DialogRunner printDialogRunner;
  DialogRunner setupRunner;
  DialogRunner previewRunner;

  void CommandSelectAll_Click();
  void CommandClearAll_Click();
  void CommandSet_Click();
  void CommandPreview_Click();
  void CommandOK_Click();

 private:
  bool AnyTicked();

  const Workspace& ws_;
  Prompts& prompts_;
  QPrinter& printer_;
  std::map<int, QCheckBox*> boxes_;
  std::vector<int> printItems_;
};

// Sets frmMain::printCommand to open the selection dialog (one printer set-up for the session).
void InstallPrintCommand(frmMain& main);

}  // namespace kvx
