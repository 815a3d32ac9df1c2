#include "ui/Frm2Tone.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/image/Channels.h"
#include "core/image/SignallingRefs.h"
#include "core/lang/LanguageTable.h"
#include "core/util/Text.h"
#include "ui/FormHelpers.h"
#include "ui/FrmSettingsCommon.h"
#include "ui/SignallingCommon.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kColNumber = 0;
constexpr int kColTone1 = 1;
constexpr int kColTone2 = 2;
constexpr int kColName = 3;

// Limits of a decode tone and of a tone box while it is edited, in Hz.
constexpr double kToneLow = 288;
constexpr double kToneHigh = 3116;
// What OK makes of a tone box: below 280 Hz it becomes 280, a non-number 2000.
constexpr double kOkToneLow = 280;
constexpr double kOkToneDefault = 2000;

QTableWidgetItem* NewCell(const QString& text = {}) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(Qt::AlignCenter);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

// A tone of f Hz as the grid and the tone boxes show it: the stored tenths, "#0.0".
QString ToneText(double hz) {
  return TenthsText(ToneToTenths(hz));
}

int ToneIndex(char tone) {
  return tone - 'A';
}

}  // namespace

Frm2Tone::Frm2Tone(SettingsRecord& settings, ChannelList& channels, const LanguageTable& lang,
                   QWidget* parent)
    : QDialog(parent), settings_(settings), channels_(channels), work_(settings) {
  setObjectName("Frm2Tone");
  const LanguageTable& L = lang;
  setWindowTitle(Q(L.GetLangKeyText("OPTION", "60051")));

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("SSTab1");

  // The encode page.
  auto* encode = new QWidget;
  encode->setObjectName("TabEncode");
  time1_ = NewList(encode, "ComboTime1");
  time2_ = NewList(encode, "ComboTime2");
  time3_ = NewList(encode, "ComboTime3");
  time4_ = NewList(encode, "ComboTime4");
  time5_ = NewList(encode, "ComboTime5");
  callFormat_ = NewList(encode, "ComboCallFormat");
  decodeResponse_ = NewList(encode, "ComboDecodeResponse");
  sidetone_ = new QCheckBox(encode);
  sidetone_->setObjectName("CheckSidetone");
  sidetone_->setText(Q(L.GetLangKeyText("OPTION", "60312")));
  const QString toneLabel = Q(L.GetLangKeyText("OPTION", "60056"));
  for (int t = 0; t < 4; ++t) {
    auto* box = new QLineEdit(encode);
    box->setObjectName(QStringLiteral("TextTone_%1").arg(t));
    InstallTextBoxFilter(box, DigitsAndPoint());
    box->installEventFilter(this);
    tones_[static_cast<size_t>(t)] = box;
  }
  struct Row {
    const char* name;
    QString text;
    QWidget* control;
  };
  const Row left[] = {
      {"LabelTime1", Q(L.GetLangKeyText("OPTION", "60045")), time1_},
      {"LabelTime2", Q(L.GetLangKeyText("OPTION", "60046")), time2_},
      {"LabelTime3", Q(L.GetLangKeyText("OPTION", "60047")), time3_},
      {"LabelTime4", Q(L.GetLangKeyText("OPTION", "60048")), time4_},
      {"LabelTime5", Q(L.GetLangKeyText("OPTION", "60307")), time5_},
      {"LabelCallFormat", Q(L.GetLangKeyText("OPTION", "60049")), callFormat_},
      {"LabelDecodeResponse", Q(L.GetLangKeyText("OPTION", "60050")), decodeResponse_},
  };
  const Row right[] = {
      {"LabelTone_0", JoinText(toneLabel, "A"), tones_[0]},
      {"LabelTone_1", JoinText(toneLabel, "B"), tones_[1]},
      {"LabelTone_2", JoinText(toneLabel, "C"), tones_[2]},
      {"LabelTone_3", JoinText(toneLabel, "D"), tones_[3]},
  };
  auto* encodeGrid = new QGridLayout(encode);
  encodeGrid->setHorizontalSpacing(7);
  int r = 0;
  for (const Row& row : left) {
    auto* l = RightLabel(row.name, encode);
    l->setText(row.text);
    l->setBuddy(row.control);
    encodeGrid->addWidget(l, r, 0);
    encodeGrid->addWidget(row.control, r, 1);
    ++r;
  }
  r = 0;
  for (const Row& row : right) {
    auto* l = RightLabel(row.name, encode);
    l->setText(row.text);
    l->setBuddy(row.control);
    encodeGrid->addWidget(l, r, 3);
    encodeGrid->addWidget(row.control, r, 4);
    ++r;
  }
  encodeGrid->addWidget(sidetone_, r, 4);
  encodeGrid->setColumnMinimumWidth(2, 20);
  encodeGrid->setColumnStretch(1, 1);
  encodeGrid->setColumnStretch(4, 1);
  encodeGrid->setRowStretch(static_cast<int>(std::size(left)), 1);
  tabs_->addTab(encode, Q(L.GetLangKeyText("OPTION", "60043")));

  // The decode page: a grid of the 32 entries with its floating editors.
  auto* decode = new QWidget;
  decode->setObjectName("TabDecode");
  grid_ = new QTableWidget(kTwoToneEntries, 4, decode);
  grid_->setObjectName("MSFlexGrid1");
  grid_->setHorizontalHeaderLabels(
      {Q(L.GetLangKeyText("OPTION", "60053")), Q(L.GetLangKeyText("OPTION", "60054")),
       Q(L.GetLangKeyText("OPTION", "60055")), Q(L.GetLangKeyText("OPTION", "60304"))});
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setFixedHeight(TwipsToPixels(500));
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setTabKeyNavigation(false);  // Tab and the hidden editor must not move the current cell
  grid_->setColumnWidth(kColNumber, TwipsToPixels(500));
  for (int c = kColTone1; c <= kColName; ++c) grid_->setColumnWidth(c, TwipsToPixels(1500));
  for (int e = 0; e < kTwoToneEntries; ++e) {
    auto* number = NewCell(QString::number(e));
    number->setFlags(Qt::ItemIsEnabled);
    number->setBackground(palette().button());
    grid_->setItem(e, kColNumber, number);
    for (int c = kColTone1; c <= kColName; ++c) grid_->setItem(e, c, NewCell());
  }
  numberBox_ = new QLineEdit(grid_->viewport());
  numberBox_->setObjectName("TextNumber");
  numberBox_->setMaxLength(6);
  nameBox_ = new QLineEdit(grid_->viewport());
  nameBox_->setObjectName("TextName");
  nameBox_->setMaxLength(7);
  InstallTextBoxFilter(numberBox_, DigitsAndPoint());
  InstallTextBoxFilter(nameBox_, NameCharacters());
  for (QLineEdit* box : {numberBox_, nameBox_}) {
    box->setAlignment(Qt::AlignCenter);
    box->setFrame(false);
    box->hide();
    SuppressTextMenu(box);
    box->installEventFilter(this);  // after the key filter, so Enter reaches us first
  }
  auto* decodeLayout = new QVBoxLayout(decode);
  decodeLayout->addWidget(grid_, 1, Qt::AlignHCenter);
  tabs_->addTab(decode, Q(L.GetLangKeyText("OPTION", "60044")));

  QPushButton *ok = nullptr, *cancel = nullptr;
  QHBoxLayout* buttons = OkCancelRow(this, &ok, &cancel);
  ok->setText(Q(L.GetLangKeyText("OPTION", "60024")));
  cancel->setText(Q(L.GetLangKeyText("OPTION", "60025")));
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(tabs_, 1);
  outer->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &Frm2Tone::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  ApplyLanguageToForm(this, L);
  for (int c = kColTone1; c <= kColName; ++c) {
    const int need = grid_->horizontalHeader()->sectionSizeHint(c);
    if (need > grid_->columnWidth(c)) grid_->setColumnWidth(c, need);
  }
  FitGridWidth(grid_, 12);

  // The lists, then the working copy.
  FillList(time1_, TenthsTexts(5, 100));
  FillList(time2_, TenthsTexts(5, 100));
  FillList(time3_, TenthsTexts(5, 100));
  FillList(time4_, NumberTexts(0, 2000, 100));
  FillList(time5_, TenthsTexts(0, 250));
  QStringList formats;
  for (const CallFormatInfo& f : kCallFormats) formats << QL1(f.Text);
  FillList(callFormat_, formats);
  FillList(decodeResponse_,
           {Q(L.GetLangKeyText("OPTION", "60057")), Q(L.GetLangKeyText("OPTION", "60058")),
            Q(L.GetLangKeyText("OPTION", "60059"))});
  ShowEncodeSettings();
  for (int e = 0; e < kTwoToneEntries; ++e) ShowEntry(e);

  connect(callFormat_, &QComboBox::currentIndexChanged, this, [this] { ApplyToneRule(); });
  connect(grid_, &QTableWidget::cellClicked, this,
          [this](int row, int col) { EnterCell(row, col); });
  connect(grid_, &QTableWidget::currentCellChanged, this,
          [this](int row, int col) { EnterCell(row, col); });
  InstallEnterMovesFocus(this);
  SuppressTextMenus(this);
  loaded_ = true;
}

void Frm2Tone::ShowEncodeSettings() {
  TwoToneSettings& s = work_.TwoTone;
  // Dividers that were never set, and tones whose high byte is 0 or 0xFF, show their
  // defaults; the replacements stay in the working copy.
  if (s.FirstDivider == 0) s.FirstDivider = kDefaultDivider;
  if (s.SecondDivider == 0) s.SecondDivider = kDefaultDivider;
  const uint16_t defaults[4] = {kDefaultToneA, kDefaultToneB, kDefaultToneC, kDefaultToneD};
  uint16_t* tones[4] = {&s.ToneA, &s.ToneB, &s.ToneC, &s.ToneD};
  for (int t = 0; t < 4; ++t) {
    const int high = *tones[t] >> 8;
    if (high == 0 || high == 0xFF) *tones[t] = defaults[t];
    tones_[static_cast<size_t>(t)]->setText(TenthsText(*tones[t]));
  }
  SetIndexOrFirst(time1_, s.Time1 - 5);
  SetIndexOrFirst(time2_, s.Time2 - 5);
  const int t3 = s.Time3 - 5;
  time3_->setCurrentIndex(t3 >= 0 && t3 < time3_->count() ? t3 : 5);
  time4_->setCurrentIndex(s.Time4 < time4_->count() ? s.Time4 : 10);
  SetIndexOrFirst(time5_, s.Time5);
  SetIndexOrFirst(callFormat_, s.CallFormat);
  SetIndexOrFirst(decodeResponse_, s.DecodeResponse);
  if (s.Sidetone > 1) s.Sidetone = 0;
  sidetone_->setChecked(s.Sidetone == 1);
  ApplyToneRule();
}

void Frm2Tone::ShowEntry(int entry) {
  const TwoToneEntry& e = work_.TwoTone.Entries[static_cast<size_t>(entry)];
  const bool shown = e.InUse() && e.RxDivider1 != 0;
  grid_->item(entry, kColTone1)->setText(shown ? TenthsText(e.RxTone1) : QString());
  grid_->item(entry, kColTone2)
      ->setText(shown && e.RxDivider2 != 0 ? TenthsText(e.RxTone2) : QString());
  grid_->item(entry, kColName)->setText(shown ? QL1(e.Name.Clean()) : QString());
}

QLineEdit* Frm2Tone::ToneBoxOf(char tone) const {
  const int t = ToneIndex(tone);
  return t >= 0 && t < 4 ? tones_[static_cast<size_t>(t)] : nullptr;
}

// Only the boxes of the tones the call format sends can be edited.
void Frm2Tone::ApplyToneRule() {
  const int f = callFormat_->currentIndex();
  for (QLineEdit* box : tones_) box->setEnabled(false);
  if (f < 0 || f >= static_cast<int>(kCallFormats.size())) return;
  const CallFormatInfo& info = kCallFormats[static_cast<size_t>(f)];
  if (QLineEdit* box = ToneBoxOf(info.First)) box->setEnabled(true);
  if (QLineEdit* box = ToneBoxOf(info.Second)) box->setEnabled(true);
}

void Frm2Tone::LimitToneBox(int tone) {
  QLineEdit* box = tones_[static_cast<size_t>(tone)];
  double hz = 0;
  if (!ParseDecimal(box->text(), hz) || hz < kToneLow)
    box->setText(ToneText(kToneLow));
  else if (hz > kToneHigh)
    box->setText(ToneText(kToneHigh));
}

void Frm2Tone::EnterCell(int entry, int column) {
  if (!loaded_ || entry < 0 || entry >= kTwoToneEntries) return;
  column = std::clamp(column, kColTone1, kColName);
  if (editEntry_ == entry && editColumn_ == column) {
    (column == kColName ? nameBox_ : numberBox_)->setFocus();
    return;
  }
  CommitCell();
  // A row without a first tone is entered at its first tone.
  if (column > kColTone1 && grid_->item(entry, kColTone1)->text().isEmpty()) column = kColTone1;
  editEntry_ = entry;
  editColumn_ = column;
  {
    const QSignalBlocker block(grid_);
    grid_->setCurrentCell(entry, column);
  }
  QLineEdit* box = column == kColName ? nameBox_ : numberBox_;
  PlaceOverCell(grid_, box, entry, column);
  box->setText(grid_->item(entry, column)->text());
  box->show();
  box->raise();
  box->setFocus();
  box->selectAll();
}

void Frm2Tone::CommitCell() {
  if (editEntry_ < 0) return;
  const int entry = editEntry_;
  const int column = editColumn_;
  editEntry_ = -1;
  editColumn_ = 0;
  TwoToneEntry& e = work_.TwoTone.Entries[static_cast<size_t>(entry)];
  QLineEdit* box = column == kColName ? nameBox_ : numberBox_;
  const QString text = box->text();
  if (box->hasFocus()) grid_->setFocus();  // hiding it would hand the focus on
  box->hide();
  double hz = 0;
  const bool numeric = ParseDecimal(text, hz);
  hz = std::clamp(hz, kToneLow, kToneHigh);
  if (column == kColTone1) {
    if (numeric) {
      e.Empty = 0;
      e.RxDivider1 = DecodeDivider(hz);
      e.RxTone1 = ToneToTenths(hz);
      grid_->item(entry, kColTone1)->setText(ToneText(hz));
    } else {
      // No first tone: the entry is empty, its second tone and name go with it.
      e.Empty = 1;
      e.RxDivider1 = e.RxDivider2 = e.RxTone1 = e.RxTone2 = 0;
      e.Name = "";
      for (int c = kColTone1; c <= kColName; ++c) grid_->item(entry, c)->setText({});
    }
  } else if (column == kColTone2) {
    if (numeric) {
      e.RxDivider2 = DecodeDivider(hz);
      e.RxTone2 = ToneToTenths(hz);
      grid_->item(entry, kColTone2)->setText(ToneText(hz));
    } else {
      e.RxDivider2 = e.RxTone2 = 0;
      grid_->item(entry, kColTone2)->setText({});
    }
  } else {
    const std::string name = CleanText(L1(text));
    e.Name = name;
    grid_->item(entry, kColName)->setText(QL1(name));
  }
}

// Enter in a floating editor: on to the next column, or to the first tone of the next row.
void Frm2Tone::MoveOnFromEditor() {
  const int entry = editEntry_;
  const int column = editColumn_;
  if (entry < 0) return;
  const int next = (entry + 1) % kTwoToneEntries;
  if (column == kColTone1 && numberBox_->text().trimmed().isEmpty())
    EnterCell(next, kColTone1);
  else if (column == kColName)
    EnterCell(next, kColTone1);
  else
    EnterCell(entry, column + 1);
}

void Frm2Tone::OnOk() {
  TwoToneSettings& s = work_.TwoTone;
  s.Time1 = static_cast<uint8_t>(ListIndex(time1_) + 5);
  s.Time2 = static_cast<uint8_t>(ListIndex(time2_) + 5);
  s.Time3 = static_cast<uint8_t>(ListIndex(time3_) + 5);
  s.Time4 = static_cast<uint8_t>(ListIndex(time4_));
  s.Time5 = static_cast<uint8_t>(ListIndex(time5_));
  s.DecodeResponse = static_cast<uint8_t>(ListIndex(decodeResponse_));
  s.Sidetone = sidetone_->isChecked() ? 1 : 0;

  double hz[4] = {};
  for (int t = 0; t < 4; ++t) {
    QLineEdit* box = tones_[static_cast<size_t>(t)];
    double v = 0;
    if (!ParseDecimal(box->text(), v)) {
      v = kOkToneDefault;
      box->setText(ToneText(v));
    } else if (v > kToneHigh) {
      v = kToneHigh;
      box->setText(ToneText(v));
    } else if (v < kOkToneLow) {
      v = kOkToneLow;
      box->setText(ToneText(v));
    }
    hz[t] = v;
  }
  s.CallFormat = static_cast<uint8_t>(ListIndex(callFormat_));
  const CallFormatInfo& info = kCallFormats[s.CallFormat];
  const double f1 = hz[ToneIndex(info.First)];
  const double f2 = info.Second ? hz[ToneIndex(info.Second)] : 0;
  s.FirstTone = ToneToTenths(f1);
  s.FirstDivider = EncodeDivider(f1);
  if (f2 > 0) {
    s.SecondTone = ToneToTenths(f2);
    s.SecondDivider = EncodeDivider(f2);
  } else {
    s.SecondTone = 0;
    s.SecondDivider = 0;
  }
  s.ToneA = ToneToTenths(hz[0]);
  s.ToneB = ToneToTenths(hz[1]);
  s.ToneC = ToneToTenths(hz[2]);
  s.ToneD = ToneToTenths(hz[3]);

  CommitCell();
  settings_ = work_;
  RepairSignallingRefs(channels_, settings_.TwoTone, settings_.FiveTone);
  accept();
}

bool Frm2Tone::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == numberBox_ || watched == nameBox_) && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      MoveOnFromEditor();
      return true;
    }
  }
  if (event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      for (int t = 0; t < 4; ++t)
        if (watched == tones_[static_cast<size_t>(t)]) LimitToneBox(t);
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kvx
