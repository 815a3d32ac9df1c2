#pragma once
// The list of differences of "Compare with file…" and "Verify radio…": one row per field, by
// area, number and field name, with the value on each side.
#include <QDialog>
#include <vector>

#include "core/files/DataDiff.h"

class QLabel;
class QTreeWidget;

namespace kvx {

class LanguageTable;

class DlgCompare : public QDialog {
  Q_OBJECT
 public:
  DlgCompare(const LanguageTable& lang, const QString& title, const QString& leftHeading,
             const QString& rightHeading, const std::vector<FieldDifference>& differences,
             QWidget* parent = nullptr);

  QTreeWidget* List() const { return ListDifferences_; }

 private:
  QLabel* LabelSummary_ = nullptr;
  QTreeWidget* ListDifferences_ = nullptr;
};

}  // namespace kvx
