#pragma once
// The find box of the main window's toolbar: typing moves to the first channel from the
// current row whose name or frequency contains the text, Enter (or Find Next) to the next one.
#include <QWidget>

class QLabel;
class QLineEdit;

namespace kvx {

class LanguageTable;

class FindBar : public QWidget {
  Q_OBJECT
 public:
  explicit FindBar(QWidget* parent = nullptr);

  QLineEdit* box() const { return txtFind_; }
  QString text() const;
  void Localize(const LanguageTable& lang);
  // Marks the text as found or not (a tinted box when not).
  void SetFound(bool found);

 signals:
  // The text was edited: search from the current row on.
  void textEdited(const QString& text);
  // Enter: search after the current row.
  void nextRequested();

 private:
  QLabel* lblFind_ = nullptr;
  QLineEdit* txtFind_ = nullptr;
};

}  // namespace kvx
