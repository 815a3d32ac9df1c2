#pragma once
// The DTMF special-code window: composes an ANI code (other party's code, separator, own ID)
// or a PTT ID code (separator, own ID) from the DTMF window's separator and own ID, and puts it
// into the DTMF window's code box that last had the focus.
#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;

namespace kvx {

class FrmDTMF;
class LanguageTable;

class FrmDTMFSpecial : public QDialog {
  Q_OBJECT
 public:
  FrmDTMFSpecial(FrmDTMF& dtmf, const LanguageTable& lang, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CompleteCode();
  void OnOk();

  FrmDTMF& dtmf_;
  QComboBox* type_ = nullptr;
  QGroupBox* aniArea_ = nullptr;
  QLineEdit* code_ = nullptr;
};

}  // namespace kvx
