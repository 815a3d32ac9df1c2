#include "print/WindowReader.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>
#include <tuple>

namespace kvx {

namespace {

bool IsValueControl(const QWidget* w) {
  return qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
         qobject_cast<const QTextEdit*>(w);
}

// One-character boxes (a name typed box by box) are read as one text.
bool IsCharBox(const QWidget* w) {
  const auto* box = qobject_cast<const QLineEdit*>(w);
  return box && box->maxLength() == 1;
}

bool HasLabel(QLayoutItem* item, const QWidget* root) {
  if (QWidget* w = item->widget()) {
    const auto* label = qobject_cast<const QLabel*>(w);
    return label && !label->text().isEmpty() && WindowReader::Shown(label, root);
  }
  if (QLayout* l = item->layout()) {
    for (int i = 0; i < l->count(); ++i)
      if (HasLabel(l->itemAt(i), root)) return true;
  }
  return false;
}

QString RightTrimmed(QString s) {
  while (!s.isEmpty() && s.back().isSpace()) s.chop(1);
  return s;
}

}  // namespace

QString WindowReader::Caption(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&') {
      if (i + 1 < text.size() && text[i + 1] == u'&') {
        out += u'&';
        ++i;
      }
      continue;
    }
    out += text[i];
  }
  return out.trimmed();
}

bool WindowReader::Shown(const QWidget* w, const QWidget* root) {
  for (const QWidget* p = w; p && p != root; p = p->parentWidget()) {
    if (!p->isHidden()) continue;
    const QWidget* stack = p->parentWidget();
    const bool tabPage = stack && qobject_cast<const QStackedWidget*>(stack) &&
                         qobject_cast<const QTabWidget*>(stack->parentWidget());
    if (!tabPage) return false;
  }
  return true;
}

QString WindowReader::ControlText(const QWidget* w) const {
  if (const auto* c = qobject_cast<const QComboBox*>(w)) return c->currentText();
  if (const auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
  if (const auto* s = qobject_cast<const QAbstractSpinBox*>(w)) return s->text();
  if (const auto* p = qobject_cast<const QPlainTextEdit*>(w)) return p->toPlainText();
  if (const auto* t = qobject_cast<const QTextEdit*>(w)) return t->toPlainText();
  if (const auto* b = qobject_cast<const QAbstractButton*>(w)) return b->isChecked() ? on_ : off_;
  if (const auto* l = qobject_cast<const QLabel*>(w)) return Caption(l->text());
  return {};
}

void WindowReader::ReadWindow(QWidget* window) {
  root_ = window;
  ReadContents(window, 0);
}

void WindowReader::ReadContents(QWidget* container, int level) {
  if (!root_) root_ = container->window();
  Flush();
  if (QLayout* l = container->layout()) ReadLayout(l, level, false);
  Flush();
}

void WindowReader::AddHeading(const QString& text, int level) {
  Flush();
  PrintLine line;
  line.kind = PrintLine::Heading;
  line.level = level;
  line.label = text;
  lines_.push_back(std::move(line));
}

void WindowReader::AddPair(const QString& label, const QString& value, int level) {
  Flush();
  PrintLine line;
  line.kind = PrintLine::Pair;
  line.level = level;
  line.label = label;
  line.value = value;
  lines_.push_back(std::move(line));
}

void WindowReader::Flush() {
  if (!pending_) return;
  pending_ = false;
  lastWasCharBox_ = false;
  PrintLine line;
  line.level = pendingLevel_;
  line.label = pendingLabel_;
  if (pendingValues_.isEmpty()) {
    line.kind = PrintLine::Text;
  } else {
    line.kind = PrintLine::Pair;
    for (QString& v : pendingValues_) v = RightTrimmed(v);
    pendingValues_.removeAll(QString());
    line.value = pendingValues_.join(u' ');
  }
  pendingLabel_.clear();
  pendingValues_.clear();
  if (line.kind == PrintLine::Text && line.label.isEmpty()) return;
  lines_.push_back(std::move(line));
}

void WindowReader::ReadLayout(QLayout* layout, int level, bool inRow) {
  if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
    struct Cell {
      int band, row, col;
      QLayoutItem* item;
    };
    std::vector<Cell> cells;
    std::set<int> labelColumns;
    for (int i = 0; i < grid->count(); ++i) {
      int r = 0, c = 0, rs = 0, cs = 0;
      grid->getItemPosition(i, &r, &c, &rs, &cs);
      QLayoutItem* item = grid->itemAt(i);
      if (HasLabel(item, root_)) labelColumns.insert(c);
      cells.push_back({0, r, c, item});
    }
    if (labelColumns.size() >= 2) {
      for (Cell& cell : cells) {
        int band = 0;
        for (int lc : labelColumns)
          if (cell.col >= lc) band = lc;
        cell.band = band;
      }
    }
    std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
      return std::tie(a.band, a.row, a.col) < std::tie(b.band, b.row, b.col);
    });
    int band = -1, row = -1;
    for (const Cell& cell : cells) {
      if (cell.band != band || cell.row != row) Flush();
      band = cell.band;
      row = cell.row;
      if (QWidget* w = cell.item->widget())
        Read(w, level);
      else if (QLayout* sub = cell.item->layout())
        ReadLayout(sub, level, true);
    }
    Flush();
    return;
  }
  if (auto* form = qobject_cast<QFormLayout*>(layout)) {
    for (int r = 0; r < form->rowCount(); ++r) {
      Flush();
      for (auto role :
           {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole}) {
        QLayoutItem* item = form->itemAt(r, role);
        if (!item) continue;
        if (QWidget* w = item->widget())
          Read(w, level);
        else if (QLayout* sub = item->layout())
          ReadLayout(sub, level, true);
      }
    }
    Flush();
    return;
  }
  const auto* box = qobject_cast<QBoxLayout*>(layout);
  const bool horizontal = box && (box->direction() == QBoxLayout::LeftToRight ||
                                  box->direction() == QBoxLayout::RightToLeft);
  const bool row = inRow || horizontal;
  for (int i = 0; i < layout->count(); ++i) {
    if (!row) Flush();
    QLayoutItem* item = layout->itemAt(i);
    if (QWidget* w = item->widget())
      Read(w, level);
    else if (QLayout* sub = item->layout())
      ReadLayout(sub, level, row);
  }
  if (!inRow) Flush();
}

void WindowReader::Read(QWidget* w, int level) {
  if (!w || skip.count(w) || !Shown(w, root_)) return;
  if (auto it = readers.find(w); it != readers.end()) {
    Flush();
    it->second(*this, level);
    Flush();
    return;
  }
  if (auto* label = qobject_cast<QLabel*>(w)) {
    const QString text = Caption(label->text());
    if (text.isEmpty()) return;
    if (pending_ && pendingValues_.isEmpty() && !pendingLabel_.isEmpty()) {
      // Labels stacked before one control are one caption.
      pendingLabel_ += u' ' + text;
      return;
    }
    Flush();
    pending_ = true;
    pendingLevel_ = level;
    pendingLabel_ = text;
    return;
  }
  if (qobject_cast<QPushButton*>(w) || qobject_cast<QToolButton*>(w) ||
      qobject_cast<QDialogButtonBox*>(w))
    return;
  if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    AddPair(Caption(button->text()), ControlText(button), level);
    return;
  }
  if (auto* group = qobject_cast<QGroupBox*>(w)) {
    Flush();
    const QString title = Caption(group->title());
    if (group->isCheckable()) {
      AddPair(title, group->isChecked() ? on_ : off_, level);
    } else if (!title.isEmpty()) {
      AddHeading(title, level);
    }
    ReadContents(group, title.isEmpty() ? level : level + 1);
    return;
  }
  if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
    Flush();
    for (int i = 0; i < tabs->count(); ++i) {
      AddHeading(Caption(tabs->tabText(i)), level);
      ReadContents(tabs->widget(i), level + 1);
    }
    return;
  }
  if (auto* table = qobject_cast<QTableWidget*>(w)) {
    Flush();
    ReadTable(table, level);
    return;
  }
  if (IsValueControl(w)) {
    const bool charBox = IsCharBox(w);
    QString text = ControlText(w);
    if (!pending_) {
      pending_ = true;
      pendingLevel_ = level;
    }
    if (charBox && lastWasCharBox_ && !pendingValues_.isEmpty())
      pendingValues_.last() += text.isEmpty() ? QStringLiteral(" ") : text;
    else
      pendingValues_ << (charBox && text.isEmpty() ? QStringLiteral(" ") : text);
    lastWasCharBox_ = charBox;
    return;
  }
  if (auto* stack = qobject_cast<QStackedWidget*>(w)) {
    if (QWidget* page = stack->currentWidget()) ReadContents(page, level);
    return;
  }
  if (w->layout()) ReadContents(w, level);
}

void WindowReader::ReadTable(QTableWidget* table, int level) {
  PrintLine line;
  line.kind = PrintLine::Table;
  line.level = level;
  std::vector<int> columns;
  for (int c = 0; c < table->columnCount(); ++c)
    if (!table->isColumnHidden(c)) columns.push_back(c);
  const bool headShown = !table->horizontalHeader()->isHidden();
  for (int c : columns) {
    const QTableWidgetItem* head = table->horizontalHeaderItem(c);
    line.head << (headShown && head ? Caption(head->text()).replace(u'\n', u' ') : QString());
    line.widths.push_back(std::max(1, table->columnWidth(c)));
  }
  if (!headShown) line.head.clear();
  for (int r = 0; r < table->rowCount(); ++r) {
    if (table->isRowHidden(r)) continue;
    QStringList cells;
    bool any = false;
    for (size_t i = 0; i < columns.size(); ++i) {
      const QTableWidgetItem* item = table->item(r, columns[i]);
      const QString text = item ? item->text().trimmed() : QString();
      if (i > 0 && !text.isEmpty()) any = true;
      cells << text;
    }
    if (rowInUse ? rowInUse(table, r) : any) line.rows.push_back(cells);
  }
  lines_.push_back(std::move(line));
}

}  // namespace kvx
