#pragma once
// The language dialog: English or Chinese. OK switches the language for the run (nothing is
// stored); the main window then localises itself again.
#include <QDialog>

class QComboBox;

namespace kvx {

struct Workspace;

class FrmLanguage : public QDialog {
  Q_OBJECT
 public:
  explicit FrmLanguage(Workspace& ws, QWidget* parent = nullptr);
  bool LanguageChanged() const { return changed_; }

 private:
  Workspace& ws_;
  QComboBox* Combo1_ = nullptr;
  bool changed_ = false;
};

}  // namespace kvx
