#pragma once
// The file password dialog: up to ten digits and capital letters (small letters become
// capitals, every other character is refused), shown in plain text. `DialogCancelled` stays
// true unless OK closed it.
#include <QDialog>
#include <string>

class QLineEdit;

namespace kvx {

class LanguageTable;

class Frm_File_Password : public QDialog {
  Q_OBJECT
 public:
  Frm_File_Password(const LanguageTable& lang, const std::string& caption,
                    const std::string& current, QWidget* parent = nullptr);
  bool DialogCancelled() const { return cancelled_; }
  // The box text with CleanText applied.
  std::string Password() const;

 private:
  QLineEdit* Text1_ = nullptr;
  bool cancelled_ = true;
};

}  // namespace kvx
