#pragma once
// Reads a window loaded without being shown into print lines: every label with the text of
// the control it stands for (a list's shown entry, a text box's text, "OFF"/"ON" for a check
// box), group frames and tab pages as headings, grids as tables, in the window's order.
//
// The order is the layout's: boxes in their order, grids row by row, except that a grid with
// labels in more than one column is read column band by column band (the left column of
// label-and-control pairs from top to bottom, then the next), as the window numbers them.
// Controls hidden in the window are left out; every tab page is read.
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <set>
#include <vector>

class QLayout;
class QTableWidget;
class QWidget;

namespace kvx {

struct PrintLine {
  enum Kind { Heading, Pair, Text, Table };
  Kind kind = Pair;
  int level = 0;  // nesting in frames and pages
  QString label;
  QString value;  // may hold several lines
  // A table: the heading cells, the rows, and each column's share of the width.
  QStringList head;
  std::vector<QStringList> rows;
  std::vector<double> widths;
};

class WindowReader {
 public:
  // `off` and `on` are the texts of a check box's state.
  WindowReader(QString off, QString on) : off_(std::move(off)), on_(std::move(on)) {}

  // Controls (with everything inside them) not to read.
  std::set<const QWidget*> skip;
  // Widgets read by a function of the caller instead (it may call Read on other widgets).
  std::map<const QWidget*, std::function<void(WindowReader&, int level)>> readers;
  // Which rows of a grid to print (default: those with a text beside the first column).
  std::function<bool(const QTableWidget*, int row)> rowInUse;

  // Reads the layout of `window` (its caption is not read).
  void ReadWindow(QWidget* window);
  // Reads one widget at a nesting level, as the walk does.
  void Read(QWidget* widget, int level);
  // Reads the contents of a container widget (a frame's inside) at `level`.
  void ReadContents(QWidget* container, int level);

  void AddHeading(const QString& text, int level);
  void AddPair(const QString& label, const QString& value, int level);

  std::vector<PrintLine>& Lines() {
    Flush();
    return lines_;
  }

  // The text a control shows; a check box gives its state.
  QString ControlText(const QWidget* control) const;
  // True when `w` is not hidden below `root` (pages of tab widgets count as shown).
  static bool Shown(const QWidget* w, const QWidget* root);
  // A caption without its "&" accelerator marks.
  static QString Caption(const QString& text);

 private:
  void ReadLayout(QLayout* layout, int level, bool inRow);
  void ReadItemWidget(QWidget* w, int level);
  void ReadTable(QTableWidget* table, int level);
  void Flush();

  QString off_, on_;
  QWidget* root_ = nullptr;
  std::vector<PrintLine> lines_;
  // The pair being gathered: a label and the texts of the controls after it.
  bool pending_ = false;
  int pendingLevel_ = 0;
  QString pendingLabel_;
  QStringList pendingValues_;
  bool lastWasCharBox_ = false;
};

}  // namespace kvx
