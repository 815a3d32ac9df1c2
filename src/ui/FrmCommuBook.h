#pragma once
// The communication-book dialog: 128 call IDs with names in a grid with a floating editing
// box, export to and import from a book file. Works on a copy of the book and stores it on OK;
// the book is sorted whenever the dialog closes.
#include <QDialog>
#include <string>

#include "core/image/Book.h"

class QLineEdit;
class QTableWidget;

namespace kvx {

class LanguageTable;
class Prompts;

class FrmCommuBook : public QDialog {
  Q_OBJECT
 public:
  // `bookFileName` is the current book file name (the workspace's), changed by every file
  // chosen for import or export.
  FrmCommuBook(BookEntries& book, std::string& bookFileName, Prompts& prompts,
               const LanguageTable& lang, QWidget* parent = nullptr);

  void GetBookData();
  void SetBookData();
  void ShowBookData();
  // False (FileError shown, working copy unchanged) when the file cannot be read or is refused.
  bool FreLoadBookFile(const std::string& path);
  // False (FileError shown) when the file cannot be written.
  bool FreSaveBookFile(const std::string& path);

  // The grid cell being edited as the book counts it: row 1-128 for entry 0-127, column 1
  // call ID, 2 name; (0, 0) when none.
  int CurBookEditRow() const { return editRow_; }
  int CurBookEditCol() const { return editCol_; }

  QTableWidget* Grid() const { return grid_; }
  QLineEdit* EditBox() const { return editBox_; }
  const BookEntries& Working() const { return work_; }

  void ImportBook();
  void ExportBook();

 protected:
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnCellEntered(int gridRow, int gridColumn);
  void CommitCell();
  void CloseEditor();
  QChar AcceptChar(QChar c) const;

  BookEntries& book_;
  std::string& bookFileName_;
  Prompts& prompts_;
  const LanguageTable& lang_;
  BookEntries work_;
  QTableWidget* grid_ = nullptr;
  QLineEdit* editBox_ = nullptr;
  int editRow_ = 0, editCol_ = 0;
  bool opened_ = false;
};

}  // namespace kvx
