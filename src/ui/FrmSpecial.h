#pragma once
// The special-call window: composes a message code, an ANI code or a PTT ID marker and writes
// it into the five-tone window's current decode code or one of its PTT ID code boxes (by the
// five-tone window's SpecialCallTarget); also sets the ANI separator (SpecialCall).
#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kvx {

class Frm5Tone;

class FrmSpecial : public QDialog {
  Q_OBJECT
 public:
  explicit FrmSpecial(Frm5Tone& fiveTone, QWidget* parent = nullptr);

  // Longest message a PTT ID code can carry: 8 + 2 x 8 = 24 digits.
  static constexpr int kPttIdMessageLimit = 8;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PresetSeparator();
  void TypeChosen();
  bool IdComplete(QLineEdit* box);
  void OnOk();

  Frm5Tone& five_;
  int target_ = 0;
  QComboBox* codeNumber_ = nullptr;
  QComboBox* type_ = nullptr;
  QGroupBox* messageArea_ = nullptr;
  QLineEdit* messageId_ = nullptr;
  QLineEdit* message_ = nullptr;
  QGroupBox* aniArea_ = nullptr;
  QLineEdit* aniId_ = nullptr;
  QComboBox* separator_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace kvx
