#pragma once
// The window design shared by the FM and AM broadcast lists: a grid of 21 entries (memory
// entries 0-19 and the VFO) whose frequency cells are edited in a floating box. Changes go into
// the list at once; the window has only a Close button.
#include <QDialog>
#include <QString>

#include "core/image/Broadcast.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kvx {

class LanguageTable;

class BroadcastGrid : public QDialog {
  Q_OBJECT
 public:
  struct Design {
    const char* objectName;
    QString caption, heading0, heading1;
    double lower, upper;  // MHz
  };

  // The typed text as a frequency text: "" when it is not a number, else the number held
  // within the limits, written as its shortest decimal text ("80" gives "87.5").
  QString TV_CH_CheckFre(const QString& text) const;
  // Commits the cell being edited (if the box is open) and hides the box.
  void Save_TVChannel();

  QTableWidget* Grid() const { return grid_; }
  QLineEdit* EditBox() const { return editBox_; }

  // "00.00000": at least two digits before the point, five after.
  static QString FrequencyText(double mhz);

 protected:
  BroadcastGrid(BroadcastList& list, const Design& design, const LanguageTable& lang,
                QWidget* parent);
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowRow(int row);
  void OpenEditor(int row, int column);

  BroadcastList& list_;
  double lower_, upper_;
  QTableWidget* grid_ = nullptr;
  QLineEdit* editBox_ = nullptr;
  int editRow_ = -1;  // grid row of the entry being edited, -1 when none
};

}  // namespace kvx
