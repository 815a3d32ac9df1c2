#include "ui/BroadcastGrid.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <charconv>
#include <string>

#include "core/lang/LanguageTable.h"
#include "core/util/Text.h"
#include "ui/FormHelpers.h"
#include "ui/FrmSettingsCommon.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kColumnNumber = 0;
constexpr int kColumnFrequency = 1;

// A whole text of digits with at most one point, read with "." whatever the locale.
bool ParseNumber(const std::string& s, double& value) {
  if (s.empty()) return false;
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, value, std::chars_format::fixed);
  return ec == std::errc() && ptr == end;
}

QTableWidgetItem* NewCell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(Qt::AlignCenter);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

}  // namespace

BroadcastGrid::BroadcastGrid(BroadcastList& list, const Design& design, const LanguageTable& lang,
                             QWidget* parent)
    : QDialog(parent), list_(list), lower_(design.lower), upper_(design.upper) {
  setObjectName(design.objectName);
  setWindowTitle(design.caption);

  grid_ = new QTableWidget(static_cast<int>(BroadcastList::kEntries), 2, this);
  grid_->setObjectName("MSFlexGrid1");
  grid_->setHorizontalHeaderLabels({design.heading0, design.heading1});
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setFixedHeight(TwipsToPixels(510));
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setColumnWidth(kColumnNumber, TwipsToPixels(700));
  grid_->setColumnWidth(kColumnFrequency, TwipsToPixels(2000));
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (int r = 0; r < grid_->rowCount(); ++r) {
    grid_->setItem(r, kColumnNumber,
                   NewCell(r == static_cast<int>(BroadcastList::kVfo) ? QStringLiteral("VFO")
                                                                      : QString::number(r)));
    grid_->setItem(r, kColumnFrequency, NewCell({}));
    ShowRow(r);
  }
  FitGridWidth(grid_, grid_->rowCount());
  grid_->viewport()->installEventFilter(this);
  connect(grid_, &QTableWidget::cellDoubleClicked, this, &BroadcastGrid::OpenEditor);

  // The floating editing box lives on the grid's viewport, so it scrolls with its cell.
  editBox_ = new QLineEdit(grid_->viewport());
  editBox_->setObjectName("Text1");
  editBox_->setAlignment(Qt::AlignCenter);
  editBox_->setFrame(false);
  editBox_->hide();
  InstallTextBoxFilter(editBox_, DigitsAndPoint());
  SuppressTextMenu(editBox_);
  editBox_->installEventFilter(this);  // after the key filter, so Enter reaches us first

  auto* close = new QPushButton(this);
  close->setObjectName("CommandClose");
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* help = new QPushButton(this);  // captioned with Close but never shown
  help->setObjectName("CommandHelp");
  help->hide();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);
  buttons->addWidget(help);
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(grid_, 1);
  outer->addLayout(buttons);
  LocalizeCloseHelp(this, lang);
  ApplyLanguageToForm(this, lang);
  // Rows as high as the language font needs, no higher.
  grid_->verticalHeader()->setMinimumSectionSize(1);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
  // The font may have changed the header text; keep the columns wide enough for it.
  for (int c : {kColumnNumber, kColumnFrequency}) {
    const int need = grid_->horizontalHeader()->sectionSizeHint(c);
    if (need > grid_->columnWidth(c)) grid_->setColumnWidth(c, need);
  }
  FitGridWidth(grid_, grid_->rowCount());
}

QString BroadcastGrid::FrequencyText(double mhz) {
  std::string text = FormatFixed(mhz, 5);
  const size_t point = text.find('.');
  if (point != std::string::npos && point < 2) text.insert(0, 2 - point, '0');
  return QString::fromStdString(text);
}

QString BroadcastGrid::TV_CH_CheckFre(const QString& text) const {
  double value = 0;
  if (!ParseNumber(text.trimmed().toStdString(), value)) return {};
  if (value < lower_) value = lower_;
  if (value > upper_) value = upper_;
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (ec != std::errc()) return {};
  return QString::fromLatin1(buffer, static_cast<qsizetype>(end - buffer));
}

void BroadcastGrid::ShowRow(int row) {
  const BroadcastEntry& e = list_.entries[static_cast<size_t>(row)];
  grid_->item(row, kColumnFrequency)
      ->setText(e.InUse == 1 ? FrequencyText(e.Frequency) : QString());
}

void BroadcastGrid::OpenEditor(int row, int column) {
  if (column != kColumnFrequency || row < 0 || row >= grid_->rowCount()) return;
  Save_TVChannel();
  editRow_ = row;
  editBox_->setGeometry(grid_->visualRect(grid_->model()->index(row, column)));
  editBox_->setText(grid_->item(row, column)->text());
  editBox_->show();
  editBox_->setFocus();
  editBox_->selectAll();
}

void BroadcastGrid::Save_TVChannel() {
  if (editRow_ >= 0 && editBox_->isVisible()) {
    BroadcastEntry& e = list_.entries[static_cast<size_t>(editRow_)];
    const QString checked = TV_CH_CheckFre(editBox_->text());
    double value = 0;
    if (!checked.isEmpty() && ParseNumber(checked.toStdString(), value)) {
      e.InUse = 1;
      e.Frequency = value;
    } else {
      e.InUse = 0;
    }
    ShowRow(editRow_);
  }
  editRow_ = -1;
  editBox_->hide();
}

void BroadcastGrid::done(int result) {
  Save_TVChannel();
  QDialog::done(result);
}

bool BroadcastGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editBox_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      Save_TVChannel();
      grid_->setFocus();
      return true;
    }
  }
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonPress) Save_TVChannel();
  return QDialog::eventFilter(watched, event);
}

}  // namespace kvx
