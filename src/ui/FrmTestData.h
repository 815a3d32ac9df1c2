#pragma once
// The test data dialog (factory mode): the 32 calibration values as hexadecimal boxes beside
// their names, Load and Save of a .ted file, OK and Cancel. It works on a buffer of its own
// and copies it into the working values only on OK.
#include <QDialog>
#include <array>
#include <optional>
#include <string>

#include "core/factory/TestData.h"

class QLabel;
class QLineEdit;

namespace kvx {

class LanguageTable;
class Prompts;

class FrmTestData : public QDialog {
  Q_OBJECT
 public:
  // Edits `values`. `lastTestDataFile` is the name the save dialog starts from; Load and Save
  // set it to the file they used. Messages and file dialogs go through `prompts`.
  FrmTestData(TestDataValues& values, const LanguageTable& lang, Prompts& prompts,
              std::string& lastTestDataFile, QWidget* parent = nullptr);

  // The value box of index 0-31 ("Text1_<index>") and its label ("Label1_<index>").
  QLineEdit* Box(int index) const;
  QLabel* Label(int index) const;
  // The dialog's buffer (what OK would store, before the boxes are taken in).
  const TestDataValues& Buffer() const { return buffer_; }

  // The file filter of both file dialogs: "Test Data File (*.ted)|*.ted" in the language.
  std::string FileFilter() const;

  // The Load, Save and OK commands as the buttons run them.
  void LoadClicked();
  void SaveClicked();
  void OkClicked();

 private:
  void BuildControls();
  void Localize();
  void ShowBuffer();
  // Every box read as hexadecimal into `into`; an empty box leaves its value as it is.
  // Returns the index of the first empty box, if any.
  std::optional<int> TakeBoxes(TestDataValues& into) const;

  TestDataValues& values_;
  const LanguageTable& lang_;
  Prompts& prompts_;
  std::string& lastTestDataFile_;
  TestDataValues buffer_;
  std::array<QLineEdit*, 32> boxes_{};
  std::array<QLabel*, 32> labels_{};
};

}  // namespace kvx
