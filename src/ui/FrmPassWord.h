#pragma once
// The programming password dialog: up to four characters, shown as "*", pre-filled with the
// password last entered. The caller decides what OK means (the menu command stores it and
// writes the setup key; the link compares it with the radio's).
#include <QDialog>
#include <string>

class QLineEdit;

namespace kvx {

class LanguageTable;

class FrmPassWord : public QDialog {
  Q_OBJECT
 public:
  FrmPassWord(const LanguageTable& lang, const std::string& current, QWidget* parent = nullptr);
  // The box text with CleanText applied.
  std::string Password() const;

 private:
  QLineEdit* Text1_ = nullptr;
};

}  // namespace kvx
