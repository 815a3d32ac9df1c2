#include "ui/FrmCommuBook.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/files/BookFile.h"
#include "core/lang/LanguageTable.h"
#include "core/util/Prompts.h"
#include "core/util/Text.h"
#include "ui/FormHelpers.h"
#include "ui/FrmSettingsCommon.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kColumnPosition = 0;
constexpr int kColumnCallId = 1;
constexpr int kColumnName = 2;
constexpr int kCallIdWidth = 5;
constexpr int kNameWidth = 7;

QTableWidgetItem* NewCell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(Qt::AlignCenter);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

// The caption of a button without its access-key marker, for a file dialog's title.
QString PlainCaption(QString caption) {
  return caption.remove(u'&');
}

}  // namespace

FrmCommuBook::FrmCommuBook(BookEntries& book, std::string& bookFileName, Prompts& prompts,
                           const LanguageTable& lang, QWidget* parent)
    : QDialog(parent), book_(book), bookFileName_(bookFileName), prompts_(prompts), lang_(lang) {
  setObjectName("FrmCommuBook");
  const LanguageTable& L = lang_;
  setWindowTitle(Q(L.GetLangText(1800)));

  grid_ = new QTableWidget(static_cast<int>(BookEntries::kEntries), 3, this);
  grid_->setObjectName("MSFlexGrid1");
  grid_->setHorizontalHeaderLabels({Q(L.GetLangText(3007)), "Call ID", Q(L.GetLangText(1801))});
  const QColor headingColour(0, 0, 155);
  for (int c = 0; c < 3; ++c) grid_->horizontalHeaderItem(c)->setForeground(headingColour);
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setColumnWidth(kColumnPosition, TwipsToPixels(500));
  grid_->setColumnWidth(kColumnCallId, TwipsToPixels(1000));
  grid_->setColumnWidth(kColumnName, TwipsToPixels(1500));
  const QColor positionColour(0, 0, 255);
  for (int r = 0; r < grid_->rowCount(); ++r) {
    for (int c = 0; c < 3; ++c) grid_->setItem(r, c, NewCell({}));
    grid_->item(r, kColumnPosition)->setForeground(positionColour);
  }
  grid_->viewport()->installEventFilter(this);

  editBox_ = new QLineEdit(grid_->viewport());
  editBox_->setObjectName("Text1");
  editBox_->setAlignment(Qt::AlignCenter);
  editBox_->setFrame(false);
  editBox_->hide();
  InstallTextBoxFilter(editBox_, {[this](QChar c) { return AcceptChar(c); }, false});
  SuppressTextMenu(editBox_);
  editBox_->installEventFilter(this);  // after the key filter, so Enter reaches us first

  auto* import = new QPushButton(Q(L.GetLangText(1802)), this);
  import->setObjectName("CommandImport");
  import->setAutoDefault(false);
  auto* exportButton = new QPushButton(Q(L.GetLangText(1803)), this);
  exportButton->setObjectName("CommandExport");
  exportButton->setAutoDefault(false);
  connect(import, &QPushButton::clicked, this, &FrmCommuBook::ImportBook);
  connect(exportButton, &QPushButton::clicked, this, &FrmCommuBook::ExportBook);

  auto* side = new QVBoxLayout;
  side->addWidget(import);
  side->addWidget(exportButton);
  side->addStretch(1);
  auto* body = new QHBoxLayout;
  body->addWidget(grid_, 1);
  body->addLayout(side);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(body, 1);
  QPushButton *ok = nullptr, *cancel = nullptr;
  outer->addLayout(OkCancelRow(this, &ok, &cancel));
  // Enter belongs to the editing box and the grid; only a click presses OK.
  ok->setDefault(false);
  ok->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, [this] {
    CommitCell();
    SetBookData();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  LocalizeOkCancel(this, L);
  ApplyLanguageToForm(this, L);
  // Rows as high as the language font needs, no higher.
  grid_->verticalHeader()->setMinimumSectionSize(1);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
  for (int c = 0; c < 3; ++c) {
    const int need = grid_->horizontalHeader()->sectionSizeHint(c);
    if (need > grid_->columnWidth(c)) grid_->setColumnWidth(c, need);
  }
  FitGridWidth(grid_, 16);

  GetBookData();
  ShowBookData();
  connect(grid_, &QTableWidget::currentCellChanged, this,
          [this](int row, int column) { OnCellEntered(row, column); });
  connect(grid_, &QTableWidget::cellClicked, this, &FrmCommuBook::OnCellEntered);
  opened_ = true;
}

void FrmCommuBook::GetBookData() {
  work_ = book_;
}

void FrmCommuBook::SetBookData() {
  book_ = work_;
}

void FrmCommuBook::ShowBookData() {
  for (int n = 0; n < grid_->rowCount(); ++n) {
    const BookEntry& e = work_.entries[static_cast<size_t>(n)];
    grid_->item(n, kColumnPosition)->setText(QString::number(n));
    grid_->item(n, kColumnCallId)->setText(QL1(e.CallId.Clean()));
    grid_->item(n, kColumnName)->setText(QL1(e.EntryName.Clean()));
  }
}

bool FrmCommuBook::FreLoadBookFile(const std::string& path) {
  if (!ReadBookFile(path, work_)) {
    prompts_.Message(lang_.BuiltIn().FileError, Icon::Critical, Buttons::Ok);
    return false;
  }
  // The box still holds text of the book that was replaced.
  CloseEditor();
  ShowBookData();
  return true;
}

bool FrmCommuBook::FreSaveBookFile(const std::string& path) {
  if (!WriteBookFile(path, work_)) {
    prompts_.Message(lang_.BuiltIn().FileError, Icon::Critical, Buttons::Ok);
    return false;
  }
  return true;
}

void FrmCommuBook::ImportBook() {
  auto name =
      prompts_.OpenFileName(U8(PlainCaption(Q(lang_.GetLangText(1802)))), "", bookFileName_);
  if (!name) return;
  bookFileName_ = *name;
  FreLoadBookFile(*name);
}

void FrmCommuBook::ExportBook() {
  auto name =
      prompts_.SaveFileName(U8(PlainCaption(Q(lang_.GetLangText(1803)))), "", bookFileName_);
  if (!name) return;
  bookFileName_ = *name;
  CommitCell();
  FreSaveBookFile(*name);
}

void FrmCommuBook::OnCellEntered(int gridRow, int gridColumn) {
  if (!opened_ || gridRow < 0 || gridColumn < 0) return;
  const int row = gridRow + 1;
  if (row == editRow_ && gridColumn == editCol_ && editBox_->isVisible()) {
    editBox_->setFocus();
    return;
  }
  if (row != editRow_ || gridColumn != editCol_) {
    CommitCell();
    editRow_ = row;
    editCol_ = gridColumn;
  }
  if (gridColumn != kColumnCallId && gridColumn != kColumnName) {
    editBox_->hide();
    return;
  }
  QTableWidgetItem* item = grid_->item(gridRow, gridColumn);
  editBox_->setMaxLength(gridColumn == kColumnCallId ? kCallIdWidth : kNameWidth);
  editBox_->setText(item->text());
  editBox_->setGeometry(grid_->visualItemRect(item));
  editBox_->show();
  editBox_->setFocus();
  editBox_->selectAll();
}

void FrmCommuBook::CommitCell() {
  if (editRow_ > 0 && editCol_ > 0 && editBox_->isVisible()) {
    const std::string text = CleanText(L1(editBox_->text()));
    BookEntry& e = work_.entries[static_cast<size_t>(editRow_ - 1)];
    if (editCol_ == kColumnCallId)
      SetBookText(e.CallId, text);
    else
      SetBookText(e.EntryName, text);
    grid_->item(editRow_ - 1, editCol_)->setText(QL1(text));
  }
}

void FrmCommuBook::CloseEditor() {
  editBox_->hide();
  editRow_ = 0;
  editCol_ = 0;
}

QChar FrmCommuBook::AcceptChar(QChar c) const {
  const char a = c.toLatin1();
  if (a >= '0' && a <= '9') return c;
  if (editCol_ != kColumnName) return {};
  if (a == ' ' || (a >= 'A' && a <= 'Z')) return c;
  if (a >= 'a' && a <= 'z') return QChar(a - 'a' + 'A');
  return {};
}

void FrmCommuBook::done(int result) {
  QDialog::done(result);
  // The book is kept in call-ID order, whichever button closed the dialog.
  SortBook(book_);
}

bool FrmCommuBook::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editBox_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      CommitCell();
      CloseEditor();
      grid_->setFocus();
      return true;
    }
  }
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonPress) {
    // A click beside the cells commits too; a click on a cell is handled as entering it.
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (!grid_->indexAt(mouse->position().toPoint()).isValid()) {
      CommitCell();
      CloseEditor();
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kvx
