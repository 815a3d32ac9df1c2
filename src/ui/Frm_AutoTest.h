#pragma once
// The automatic test window (factory mode): twelve boxes choose the data areas whose image
// blocks and channel rows go into the production export; Export encodes the working data as a
// write would and writes the EPM file. Its texts are fixed Chinese and not localised.
#include <QDialog>
#include <array>

#include "core/factory/AutoTest.h"

class QCheckBox;

namespace kvx {

struct Workspace;
class Prompts;

class Frm_AutoTest : public QDialog {
  Q_OBJECT
 public:
  // Sets ws.autoTest.AutoTestActive until the window closes (by Export, Cancel or the close
  // box). The boxes start from ws.autoTest.ExportAreaFlags.
  Frm_AutoTest(Workspace& ws, Prompts& prompts, QWidget* parent = nullptr);
  ~Frm_AutoTest() override;

  // The box of area 0-11 ("Check1_<index>").
  QCheckBox* Box(int index) const;

  // Export as the button runs it: the boxes into ExportAreaFlags, the save dialog, the export
  // of a copy of the working data and closing. No file chosen: nothing happens.
  void ExportClicked();

  void done(int result) override;

 private:
  void BuildControls();

  Workspace& ws_;
  Prompts& prompts_;
  std::array<QCheckBox*, kExportAreaCount> boxes_{};
};

}  // namespace kvx
