#include "ui/Frm5Tone.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/image/Channels.h"
#include "core/image/FiveToneForms.h"
#include "core/image/SignallingRefs.h"
#include "core/lang/LanguageTable.h"
#include "core/util/Prompts.h"
#include "core/util/Text.h"
#include "ui/FrmSettingsCommon.h"
#include "ui/FrmSpecial.h"
#include "ui/SignallingCommon.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kOwnIdDigits = 5;
constexpr int kDefaultPeriod = 7;  // 70 ms
const QColor kHeadingColour(0, 0, 155);
const QColor kNumberColour(0, 0, 255);
constexpr char kResetQuestion[] = "Reset Special Call of this channel,OK or Not?";

QStringList StandardNames() {
  QStringList names;
  for (const FiveToneStandard& s : StandardsTable) names << QL1(s.Name);
  return names;
}

int StandardIndex(const QString& name) {
  for (size_t i = 0; i < StandardsTable.size(); ++i)
    if (QL1(StandardsTable[i].Name) == name) return static_cast<int>(i);
  return -1;
}

QString StandardName(int index) {
  return index >= 0 && index < static_cast<int>(StandardsTable.size())
             ? QL1(StandardsTable[static_cast<size_t>(index)].Name)
             : QString();
}

QStringList PeriodTexts() {
  return NumberTexts(30, 100, 10);
}

QTableWidgetItem* NewCell() {
  auto* item = new QTableWidgetItem;
  item->setTextAlignment(Qt::AlignCenter);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

// A code's digits as a text box shows them: trimmed, cut to `length` or extended with the
// repeat tone up to it.
QString DigitsToLength(const FiveToneCode& code) {
  std::string d = Trim(code.Digits.Clean());
  const size_t n = code.Length;
  if (d.size() > n)
    d.resize(n);
  else
    d.append(n - d.size(), 'E');
  return QL1(d);
}

// The tone period of a list text ("70" -> 7).
int PeriodOf(const QString& text, bool* ok = nullptr) {
  return text.toInt(ok) / 10;
}

bool IsLeaving(QEvent* event) {
  const auto reason = static_cast<QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

Frm5Tone::Frm5Tone(SettingsRecord& settings, ChannelList& channels, const LanguageTable& lang,
                   Prompts& prompts, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      channels_(channels),
      lang_(lang),
      prompts_(prompts),
      work_(settings) {
  setObjectName("Frm5Tone");
  const LanguageTable& L = lang_;
  setWindowTitle(Q(L.GetLangKeyText("OPTION", "60052")));

  // Own settings.
  ownId_ = new QLineEdit(this);
  ownId_->setObjectName("TextOwnId");
  ownId_->setMaxLength(kOwnIdDigits);
  InstallTextBoxFilter(ownId_, DigitsOnly());
  standard_ = NewList(this, "ComboStandard");
  decodeResponse_ = NewList(this, "ComboDecodeResponse");
  tonePeriod_ = NewList(this, "ComboTonePeriod");
  delay1_ = NewList(this, "ComboDelay1");
  seconds_ = NewList(this, "ComboSeconds");
  delay2_ = NewList(this, "ComboDelay2");
  number_ = NewList(this, "ComboNumber");
  firstDigitDelay_ = NewList(this, "ComboFirstDigitDelay");
  pauseTime_ = NewList(this, "ComboPauseTime");
  pauseCode_ = NewList(this, "ComboPauseCode");
  decodeTime_ = NewList(this, "ComboDecodeTime");
  sidetone_ = new QCheckBox(this);
  sidetone_->setObjectName("CheckSidetone");
  sidetone_->setText(Q(L.GetLangKeyText("OPTION", "60312")));
  standardInfo_ = new QPlainTextEdit(this);
  standardInfo_->setObjectName("TextStandardInfo");
  standardInfo_->setReadOnly(true);
  standardInfo_->setFocusPolicy(Qt::NoFocus);
  standardInfo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  standardInfo_->setFixedWidth(170);

  struct Row {
    const char* name;
    QString text;
    QWidget* control;
  };
  const Row own[] = {
      {"LabelOwnId", Q(L.GetLangKeyText("OPTION", "60072")), ownId_},
      {"LabelStandard", Q(L.GetLangText(3004)), standard_},
      {"LabelDecodeResponse", Q(L.GetLangKeyText("OPTION", "60070")), decodeResponse_},
      {"LabelTonePeriod", Q(L.GetLangKeyText("OPTION", "60071")), tonePeriod_},
      {"LabelDelay1", Q(L.GetLangKeyText("OPTION", "60081")), delay1_},
      {"LabelSeconds", Q(L.GetLangKeyText("OPTION", "60307")), seconds_},
      {"LabelDelay2", Q(L.GetLangKeyText("OPTION", "60308")), delay2_},
      {"LabelNumber", Q(L.GetLangKeyText("OPTION", "60309")), number_},
      {"LabelFirstDigitDelay", Q(L.GetLangKeyText("OPTION", "60310")), firstDigitDelay_},
      {"LabelPauseCode", Q(L.GetLangKeyText("OPTION", "60314")), pauseCode_},
      {"LabelPauseTime", Q(L.GetLangKeyText("OPTION", "60311")), pauseTime_},
      {"LabelDecodeTime", Q(L.GetLangKeyText("OPTION", "60315")), decodeTime_},
  };
  auto* ownGrid = new QGridLayout;
  ownGrid->setHorizontalSpacing(7);
  constexpr int kOwnRows = 6;
  for (int i = 0; i < static_cast<int>(std::size(own)); ++i) {
    auto* l = RightLabel(own[i].name, this);
    l->setText(own[i].text);
    l->setBuddy(own[i].control);
    const int col = i < kOwnRows ? 0 : 2;
    ownGrid->addWidget(l, i % kOwnRows, col);
    ownGrid->addWidget(own[i].control, i % kOwnRows, col + 1);
  }
  ownGrid->addWidget(sidetone_, kOwnRows, 3);
  ownGrid->setColumnStretch(1, 1);
  ownGrid->setColumnStretch(3, 1);

  // Information codes.
  infoSelect_ = NewList(this, "ComboInfoSelect");
  auto* selectLabel = RightLabel("LabelInfoSelect", this);
  selectLabel->setText(Q(L.GetLangKeyText("OPTION", "60095")));
  selectLabel->setBuddy(infoSelect_);
  infoFrame_ = new QGroupBox(this);
  infoFrame_->setObjectName("FrameInfoCode");
  infoFunction_ = NewList(infoFrame_, "ComboInfoFunction");
  infoResponse_ = NewList(infoFrame_, "ComboInfoResponse");
  infoDigits_ = new QLineEdit(infoFrame_);
  infoDigits_->setObjectName("TextInfoDigits");
  infoDigits_->setMaxLength(kInfoDigitLimit);
  InstallTextBoxFilter(infoDigits_, HexDigits());
  infoName_ = new QLineEdit(infoFrame_);
  infoName_->setObjectName("TextInfoName");
  infoName_->setMaxLength(7);
  InstallPlainTextBox(infoName_);
  const Row info[] = {
      {"LabelInfoFunction", Q(L.GetLangKeyText("OPTION", "60096")), infoFunction_},
      {"LabelInfoResponse", Q(L.GetLangKeyText("OPTION", "60070")), infoResponse_},
      {"LabelInfoDigits", Q(L.GetLangKeyText("OPTION", "60097")), infoDigits_},
      {"LabelInfoName", Q(L.GetLangKeyText("OPTION", "60306")), infoName_},
  };
  auto* infoGrid = new QGridLayout(infoFrame_);
  infoGrid->setHorizontalSpacing(7);
  for (int i = 0; i < static_cast<int>(std::size(info)); ++i) {
    auto* l = RightLabel(info[i].name, infoFrame_);
    l->setText(info[i].text);
    l->setBuddy(info[i].control);
    infoGrid->addWidget(l, i, 0);
    infoGrid->addWidget(info[i].control, i, 1);
  }
  infoGrid->setColumnStretch(1, 1);
  auto* infoSide = new QVBoxLayout;
  auto* selectRow = new QHBoxLayout;
  selectRow->addWidget(selectLabel);
  selectRow->addWidget(infoSelect_);
  selectRow->addStretch(1);
  infoSide->addLayout(selectRow);
  infoSide->addWidget(infoFrame_);

  // PTT ID codes.
  const char* const pttNames[2][6] = {
      {"FramePttIdBegin", "TextPttIdBegin", "ComboPttStandardBegin", "ComboPttPeriodBegin",
       "CommandSpecialBegin", "LabelPttCodeBegin"},
      {"FramePttIdEnd", "TextPttIdEnd", "ComboPttStandardEnd", "ComboPttPeriodEnd",
       "CommandSpecialEnd", "LabelPttCodeEnd"}};
  const QString pttCaptions[2] = {Q(L.GetLangKeyText("OPTION", "60302")),
                                  Q(L.GetLangKeyText("OPTION", "60303"))};
  auto* pttRow = new QHBoxLayout;
  for (int k = 0; k < 2; ++k) {
    PttArea& a = ptt_[static_cast<size_t>(k)];
    a.frame = new QGroupBox(this);
    a.frame->setObjectName(pttNames[k][0]);
    a.frame->setTitle(pttCaptions[k]);
    a.code = new QLineEdit(a.frame);
    a.code->setObjectName(pttNames[k][1]);
    a.code->setMaxLength(kPttIdDigitLimit);
    a.code->setMinimumWidth(180);
    InstallTextBoxFilter(a.code, HexDigits());
    a.standard = NewList(a.frame, pttNames[k][2]);
    a.period = NewList(a.frame, pttNames[k][3]);
    a.special = new QPushButton(a.frame);
    a.special->setObjectName(pttNames[k][4]);
    a.special->setText(Q(L.GetLangKeyText("OPTION", "60062")));
    a.special->setAutoDefault(false);
    auto* codeLabel = RightLabel(pttNames[k][5], a.frame);
    codeLabel->setText(Q(L.GetLangKeyText("OPTION", "60079")));
    codeLabel->setBuddy(a.code);
    auto* g = new QGridLayout(a.frame);
    g->setHorizontalSpacing(7);
    g->addWidget(codeLabel, 0, 0);
    g->addWidget(a.code, 0, 1, 1, 2);
    g->addWidget(a.standard, 1, 1);
    g->addWidget(a.period, 1, 2);
    g->addWidget(a.special, 2, 2);
    g->setColumnStretch(1, 1);
    pttRow->addWidget(a.frame, 1);
    const int target = k == 0 ? kTargetPttIdBegin : kTargetPttIdEnd;
    connect(a.special, &QPushButton::clicked, this, [this, target] { OpenSpecial(target); });
    connect(a.standard, &QComboBox::activated, this, [this, k](int index) {
      ShowStandardInfo(StandardName(index));
      SetListText(ptt_[static_cast<size_t>(k)].period,
                  QString::number(StandardsTable[static_cast<size_t>(index)].PeriodMs));
    });
  }

  // The decode code grid and its four floating editors.
  grid_ = new QTableWidget(kFiveToneCodes, 6, this);
  grid_->setObjectName("MSFlexGrid1");
  const QString headings[6] = {
      Q(L.GetLangKeyText("OPTION", "60053")), Q(L.GetLangKeyText("OPTION", "60062")),
      Q(L.GetLangKeyText("OPTION", "60079")), Q(L.GetLangKeyText("OPTION", "60061")),
      Q(L.GetLangKeyText("OPTION", "60080")), Q(L.GetLangKeyText("OPTION", "60305"))};
  const int widths[6] = {400, 1200, 4300, 1600, 1800, 1050};
  for (int c = 0; c < 6; ++c) {
    auto* heading = new QTableWidgetItem(headings[c]);
    heading->setForeground(kHeadingColour);
    grid_->setHorizontalHeaderItem(c, heading);
    grid_->setColumnWidth(c, TwipsToPixels(widths[c]));
  }
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setFixedHeight(TwipsToPixels(500));
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setTabKeyNavigation(false);  // Tab and hidden editors must not move the current cell
  for (int j = 0; j < kFiveToneCodes; ++j) {
    for (int c = 0; c < 6; ++c) grid_->setItem(j, c, NewCell());
    grid_->item(j, kColNumber)->setText(QString::number(j));
    grid_->item(j, kColNumber)->setForeground(kNumberColour);
  }
  digitsEditor_ = new QLineEdit(grid_->viewport());
  digitsEditor_->setObjectName("TextGridDigits");
  digitsEditor_->setMaxLength(kCodeDigitLimit);
  InstallTextBoxFilter(digitsEditor_, HexDigits());
  nameEditor_ = new QLineEdit(grid_->viewport());
  nameEditor_->setObjectName("TextGridName");
  nameEditor_->setMaxLength(7);
  InstallTextBoxFilter(nameEditor_, NameCharacters());
  standardEditor_ = NewList(grid_->viewport(), "ComboGridStandard");
  periodEditor_ = NewList(grid_->viewport(), "ComboGridPeriod");
  for (QWidget* e :
       std::initializer_list<QWidget*>{digitsEditor_, nameEditor_, standardEditor_, periodEditor_})
    e->hide();
  for (QLineEdit* e : {digitsEditor_, nameEditor_}) {
    e->setAlignment(Qt::AlignCenter);
    e->setFrame(false);
  }
  gridSpecial_ = new QPushButton(this);
  gridSpecial_->setObjectName("CommandSpecial");
  gridSpecial_->setText(Q(L.GetLangKeyText("OPTION", "60062")));
  gridSpecial_->setAutoDefault(false);

  QHBoxLayout* buttons = OkCancelRow(this, &ok_, &cancel_);
  ok_->setText(Q(L.GetLangKeyText("OPTION", "60024")));
  cancel_->setText(Q(L.GetLangKeyText("OPTION", "60025")));
  // Cancel never takes the focus, so leaving the ID box for it asks nothing.
  cancel_->setFocusPolicy(Qt::NoFocus);
  buttons->insertWidget(0, gridSpecial_);

  auto* top = new QHBoxLayout;
  top->addLayout(ownGrid, 1);
  top->addWidget(standardInfo_);
  auto* middle = new QHBoxLayout;
  middle->addLayout(infoSide, 1);
  middle->addLayout(pttRow, 2);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(top);
  outer->addLayout(middle);
  outer->addWidget(grid_, 1);
  outer->addLayout(buttons);

  connect(ok_, &QPushButton::clicked, this, &Frm5Tone::OnOk);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(gridSpecial_, &QPushButton::clicked, this, [this] {
    if (editorOpen_ && CurTone5Col == kColDigits) CloseEditors();
    OpenSpecial(kTargetDecodeCode);
  });
  ApplyLanguageToForm(this, L);
  for (int c = 0; c < 6; ++c) {
    const int need = grid_->horizontalHeader()->sectionSizeHint(c);
    if (need > grid_->columnWidth(c)) grid_->setColumnWidth(c, need);
  }
  FitGridWidth(grid_, 8);

  // Load: the lists, then the working copy.
  // The code boxes have no context menu while the window is open: its Paste would get round
  // the key rules. (The information-code name box keeps it, as it keeps copy and paste.)
  for (QLineEdit* box : {ownId_, digitsEditor_, ptt_[0].code, ptt_[1].code, infoDigits_})
    SuppressTextMenu(box);
  const QStringList names = StandardNames();
  const QStringList responses = {Q(L.GetLangKeyText("OPTION", "60057")),
                                 Q(L.GetLangKeyText("OPTION", "60058")),
                                 Q(L.GetLangKeyText("OPTION", "60059"))};
  const QString off = Q(L.GetLangText(1755));
  FillList(standard_, names);
  FillList(decodeResponse_, responses);
  FillList(tonePeriod_, PeriodTexts());
  FillList(delay1_, NumberTexts(10, 2550, 10));
  FillList(seconds_, TenthsTexts(0, 250));
  FillList(delay2_, NumberTexts(10, 2550, 10));
  FillList(number_, QStringList{off} + NumberTexts(5, 75));
  FillList(firstDigitDelay_, NumberTexts(10, 2550, 10));
  FillList(pauseTime_, NumberTexts(0, 2550, 10));
  FillList(pauseCode_, {off, "B", "C", "D", "F"});
  FillList(decodeTime_, NumberTexts(0, 2000, 10));
  FillList(infoSelect_, NumberTexts(1, kInfoCodes));
  FillList(infoFunction_,
           {Q(L.GetLangKeyText("OPTION", "60098")), Q(L.GetLangKeyText("OPTION", "60075")),
            Q(L.GetLangKeyText("OPTION", "60074")), Q(L.GetLangKeyText("OPTION", "60069")),
            Q(L.GetLangKeyText("OPTION", "60093")), Q(L.GetLangKeyText("OPTION", "60082")),
            Q(L.GetLangKeyText("OPTION", "60099"))});
  FillList(infoResponse_, responses);
  for (PttArea& a : ptt_) {
    FillList(a.standard, names);
    FillList(a.period, PeriodTexts());
  }
  FillList(standardEditor_, names);
  FillList(periodEditor_, PeriodTexts());

  connect(standard_, &QComboBox::activated, this, [this](int index) {
    ShowStandardInfo(StandardName(index));
    SetListText(tonePeriod_, QString::number(StandardsTable[static_cast<size_t>(index)].PeriodMs));
  });
  connect(pauseCode_, &QComboBox::currentIndexChanged, this,
          [this](int index) { pauseTime_->setEnabled(index > 0); });
  connect(infoSelect_, &QComboBox::activated, this,
          [this](int index) { SelectInfoCode(index + 1); });
  connect(infoFunction_, &QComboBox::activated, this, [this] { FunctionChosen(); });
  connect(standardEditor_, &QComboBox::activated, this, [this](int index) {
    if (CurTone5Row < 1) return;
    ShowStandardInfo(StandardName(index));
    grid_->item(CurTone5Row - 1, kColPeriod)
        ->setText(QString::number(StandardsTable[static_cast<size_t>(index)].PeriodMs));
  });
  connect(grid_, &QTableWidget::currentCellChanged, this,
          [this](int row, int col) { EnterCell(row, col); });
  connect(grid_, &QTableWidget::cellClicked, this,
          [this](int row, int col) { EnterCell(row, col); });
  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int col) {
    if (col == kColDigits && !grid_->item(row, kColType)->text().isEmpty()) ResetSpecialCode(row);
  });
  connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
    if (!placing_) CloseEditors();
  });

  ShowFiveTone();
  ShowStandardInfo(standard_->currentText());
  InstallEnterMovesFocus(this);
  // Installed last so that they see Enter before the shared key rules do.
  for (QWidget* w :
       std::initializer_list<QWidget*>{ownId_, ptt_[0].code, ptt_[1].code, digitsEditor_,
                                       standardEditor_, periodEditor_, nameEditor_})
    w->installEventFilter(this);
  loaded_ = true;
}

Frm5Tone::~Frm5Tone() = default;

QString Frm5Tone::Mid5ToneNoE(const QString& text, int start, int count) {
  return QL1(kvx::Mid5ToneNoE(L1(text), start, count));
}

QLineEdit* Frm5Tone::PttIdBox(int target) const {
  if (target == kTargetPttIdBegin) return ptt_[0].code;
  if (target == kTargetPttIdEnd) return ptt_[1].code;
  return nullptr;
}

int Frm5Tone::CurrentCode() const {
  return grid_->currentRow();
}

void Frm5Tone::ShowStandardInfo(const QString& name) {
  const int index = StandardIndex(name);
  if (index < 0) return;
  const FiveToneStandard& s = StandardsTable[static_cast<size_t>(index)];
  const LanguageTable& L = lang_;
  QStringList lines;
  lines << QL1(s.Name);
  lines << Q(L.GetLangKeyText("OPTION", "60085")) + "(Hz)";
  static const char kDigits[] = "0123456789ABCDEF";
  for (size_t d = 0; d < 16; ++d) lines << QString(QLatin1Char(kDigits[d])) + " " + QL1(s.Tones[d]);
  lines << Q(L.GetLangKeyText("OPTION", "60086")) + "(ms) " + QString::number(s.PeriodMs);
  lines << Q(L.GetLangKeyText("OPTION", "60087")) + " A";
  static const std::string_view kWithRepeat[] = {"ZVEI1", "ZVEI3", "EURO SIGNAL",
                                                 "NATEL", "MODAT", "CCITT"};
  if (std::find(std::begin(kWithRepeat), std::end(kWithRepeat), s.Name) != std::end(kWithRepeat))
    lines << Q(L.GetLangKeyText("OPTION", "60088")) + " E";
  standardInfo_->setPlainText(lines.join('\n'));
}

// Corrections made while showing go into the working copy at once.
void Frm5Tone::ShowFiveTone() {
  FiveToneSettings& f = work_.FiveTone;
  ownId_->setText(QL1(f.OwnId.Clean()));
  SetIndexOrFirst(standard_, f.Standard);
  SetIndexOrFirst(decodeResponse_, f.DecodeResponse);
  if (f.TonePeriod == 0) f.TonePeriod = kDefaultPeriod;
  SetListText(tonePeriod_, QString::number(f.TonePeriod * 10));
  SetListText(delay1_, QString::number(f.Delay1 * 10));
  SetListText(seconds_, TenthsText(f.Seconds));
  SetListText(delay2_, QString::number(f.Delay2 * 10));
  if (f.Number > 4) {
    SetListText(number_, QString::number(f.Number));
  } else {
    f.Number = 0;
    number_->setCurrentIndex(0);
  }
  SetListText(firstDigitDelay_, QString::number(f.FirstDigitDelay * 10));
  SetListText(pauseTime_, QString::number(f.PauseTime * 10));
  if (f.PauseCode == 0)
    pauseCode_->setCurrentIndex(0);
  else
    SetListText(pauseCode_, QString::number(f.PauseCode, 16).toUpper());
  pauseTime_->setEnabled(pauseCode_->currentIndex() > 0);
  SetIndexOrFirst(decodeTime_, work_.DecodeTime);
  sidetone_->setChecked(f.Sidetone == 1);
  // The first showing starts at information code 1; later ones (after an own-ID change) keep
  // the code the user is editing, so that what is typed next does not land in another one.
  SelectInfoCode(CurInfoCodeID > 0 ? CurInfoCodeID : 1);

  const std::string idBox = L1(ownId_->text());
  const QString messageType = Q(lang_.GetLangKeyText("OPTION", "60073"));
  const QString messageLabel = Q(lang_.GetLangKeyText("OPTION", "60084"));
  for (int j = 0; j < kFiveToneCodes; ++j) {
    FiveToneCode& c = f.Codes[static_cast<size_t>(j)];
    if (c.Length > kCodeDigitLimit) c.Length = 0;
    if (c.Standard > 15) c.Standard = 0;
    if (c.TonePeriod < 3 || c.TonePeriod > 10) c.TonePeriod = kDefaultPeriod;
    auto cell = [&](int col) { return grid_->item(j, col); };
    if (!c.InUse()) {
      for (int col : {kColType, kColDigits, kColName}) cell(col)->setText({});
      cell(kColStandard)->setText(StandardName(0));
      cell(kColPeriod)->setText(QString::number(kDefaultPeriod * 10));
      continue;
    }
    const CodeView view = ViewOfDecodeCode(c.Digits.Clean(), c.Length, idBox, {});
    switch (view.Kind) {
      case CodeKind::Message: {
        const std::string clean = c.Digits.Clean();
        cell(kColType)->setText(messageType);
        cell(kColDigits)
            ->setText(QL1(kvx::Mid5ToneNoE(clean, 3, 5)) + QString(8, QLatin1Char(' ')) +
                      messageLabel + QL1(MessageOfCode(clean)));
        break;
      }
      case CodeKind::PttIdMarker:
        cell(kColType)->setText(QStringLiteral("PTTID"));
        cell(kColDigits)->setText({});
        break;
      case CodeKind::Ani:
        cell(kColType)->setText(QStringLiteral("ANI"));
        cell(kColDigits)->setText(QL1(view.Digits));
        break;
      case CodeKind::Ordinary:
        cell(kColType)->setText({});
        cell(kColDigits)->setText(QL1(view.Digits));
        break;
    }
    cell(kColStandard)->setText(StandardName(c.Standard));
    cell(kColPeriod)->setText(QString::number(c.TonePeriod * 10));
    cell(kColName)->setText(QL1(c.Name.Clean()));
  }

  for (int k = 0; k < 2; ++k) {
    FiveToneCode& c = k == 0 ? f.PttIdBegin : f.PttIdEnd;
    PttArea& a = ptt_[static_cast<size_t>(k)];
    if (c.Length > kCodeDigitLimit) c.Length = 0;
    if (c.Standard > 15) c.Standard = 0;
    a.code->setText(DigitsToLength(c));
    SetIndexOrFirst(a.standard, c.Standard);
    if (c.TonePeriod >= 3 && c.TonePeriod <= 10)
      a.period->setCurrentIndex(c.TonePeriod - 3);
    else
      SetListText(a.period, QString::number(kDefaultPeriod * 10));
  }
}

void Frm5Tone::SaveFiveTone() {
  FiveToneSettings& f = work_.FiveTone;
  const std::string idBox = L1(ownId_->text());
  f.OwnId = idBox;
  f.IdLength = static_cast<uint8_t>(idBox.size());
  f.Standard = static_cast<uint8_t>(ListIndex(standard_));
  f.DecodeResponse = static_cast<uint8_t>(ListIndex(decodeResponse_));
  f.TonePeriod = static_cast<uint8_t>(PeriodOf(tonePeriod_->currentText()));
  f.Delay1 = static_cast<uint8_t>(ListIndex(delay1_) + 1);
  f.Seconds = static_cast<uint8_t>(ListIndex(seconds_));
  f.Delay2 = static_cast<uint8_t>(ListIndex(delay2_) + 1);
  f.Number = ListIndex(number_) == 0 ? 0 : static_cast<uint8_t>(number_->currentText().toInt());
  f.FirstDigitDelay = static_cast<int16_t>(ListIndex(firstDigitDelay_) + 1);
  f.PauseTime = static_cast<int16_t>(ListIndex(pauseTime_));
  f.PauseCode = ListIndex(pauseCode_) == 0
                    ? 0
                    : static_cast<int16_t>(pauseCode_->currentText().toInt(nullptr, 16));
  work_.DecodeTime = static_cast<uint8_t>(ListIndex(decodeTime_));
  f.Sidetone = sidetone_->isChecked() ? 1 : 0;

  for (int k = 0; k < 2; ++k) {
    FiveToneCode& c = k == 0 ? f.PttIdBegin : f.PttIdEnd;
    const PttArea& a = ptt_[static_cast<size_t>(k)];
    const std::string digits = EncodeCodeDigits(L1(a.code->text()), idBox);
    c.Digits = digits;
    c.Length = static_cast<uint8_t>(std::min<size_t>(digits.size(), kPttIdDigitLimit));
    c.Standard = static_cast<uint8_t>(ListIndex(a.standard));
    c.TonePeriod = static_cast<uint8_t>(ListIndex(a.period) + 3);
  }

  const std::string ownId = f.OwnId.Clean();
  for (int j = 0; j < kFiveToneCodes; ++j) {
    FiveToneCode& c = f.Codes[static_cast<size_t>(j)];
    const std::string digits = SaveDecodeDigits(c.Digits.Clean(), ownId, idBox);
    c.Digits = digits;
    c.Length = static_cast<uint8_t>(std::min<size_t>(digits.size(), kCodeDigitLimit));
    const int standard = StandardIndex(grid_->item(j, kColStandard)->text());
    c.Standard = static_cast<uint8_t>(standard < 0 ? 0 : standard);
    bool numeric = false;
    const int period = PeriodOf(grid_->item(j, kColPeriod)->text(), &numeric);
    c.TonePeriod =
        static_cast<uint8_t>(numeric && period >= 3 && period <= 10 ? period : kDefaultPeriod);
    c.Name = CleanText(L1(grid_->item(j, kColName)->text()));
  }
}

void Frm5Tone::ApplyOwnIdChange() {
  if (ownId_->text().size() < kOwnIdDigits) {
    prompts_.Message(lang_.GetLangKeyText("MSG", "900C"), Icon::Warning, Buttons::Ok);
    ownId_->setFocus();
    return;
  }
  PreviousOwnId = QL1(work_.FiveTone.OwnId.Clean());
  work_.FiveTone.OwnId = L1(ownId_->text());
  if (editorOpen_ && CurTone5Col == kColDigits) CloseEditors();
  SaveFiveTone();
  UpdateCodesForNewId();
  ShowFiveTone();
}

void Frm5Tone::UpdateCodesForNewId() {
  FiveToneSettings& f = work_.FiveTone;
  const std::string previous = L1(PreviousOwnId);
  const std::string newId = L1(ownId_->text());
  auto update = [&](FiveToneCode& c) {
    c.Digits = DigitsForNewOwnId(c.Digits.Clean(), previous, newId);
  };
  for (FiveToneCode& c : f.Codes) update(c);
  update(f.PttIdBegin);
  update(f.PttIdEnd);
}

void Frm5Tone::EnterCell(int code, int column) {
  if (!loaded_ || code < 0 || code >= kFiveToneCodes) return;
  if (grid_->currentRow() != code || grid_->currentColumn() != column) {
    const QSignalBlocker block(grid_);
    grid_->setCurrentCell(code, column);
  }
  const int row = code + 1;
  if (row == CurTone5Row && column == CurTone5Col && (editorOpen_ || column < kColDigits)) return;
  // The digits of a special code are not edited in place.
  if (column == kColDigits && !grid_->item(code, kColType)->text().isEmpty()) return;
  CommitGridCell(CurTone5Row, CurTone5Col);
  if (column >= kColStandard && grid_->item(code, kColDigits)->text().isEmpty() &&
      grid_->item(code, kColType)->text() != QLatin1String("PTTID"))
    return;
  CurTone5Row = row;
  CurTone5Col = column;
  HideEditors();
  QWidget* editor = nullptr;
  switch (column) {
    case kColDigits:
      digitsEditor_->setText(grid_->item(code, column)->text());
      editor = digitsEditor_;
      break;
    case kColStandard:
      SetListText(standardEditor_, grid_->item(code, column)->text());
      editor = standardEditor_;
      break;
    case kColPeriod:
      SetListText(periodEditor_, grid_->item(code, column)->text());
      editor = periodEditor_;
      break;
    case kColName:
      nameEditor_->setText(grid_->item(code, column)->text());
      editor = nameEditor_;
      break;
    default:
      return;
  }
  placing_ = true;
  PlaceOverCell(grid_, editor, code, column);
  placing_ = false;
  editor->show();
  editor->raise();
  editor->setFocus();
  if (auto* box = qobject_cast<QLineEdit*>(editor)) box->selectAll();
  editorOpen_ = true;
}

void Frm5Tone::CommitGridCell(int row, int col) {
  // Only the cell whose editor is open: a closed editor's text may be older than the code.
  if (row < 1 || col < kColDigits || !editorOpen_) return;
  const int code = row - 1;
  FiveToneCode& c = work_.FiveTone.Codes[static_cast<size_t>(code)];
  switch (col) {
    case kColDigits: {
      const std::string v = EncodeCodeDigits(L1(digitsEditor_->text()), L1(ownId_->text()));
      c.Digits = v;
      c.Length = static_cast<uint8_t>(v.size());
      c.Empty = v.empty() ? 1 : 0;
      grid_->item(code, kColDigits)->setText(QL1(v));
      break;
    }
    case kColStandard: {
      c.Standard = static_cast<uint8_t>(ListIndex(standardEditor_));
      QTableWidgetItem* period = grid_->item(code, kColPeriod);
      if (period->text().isEmpty()) period->setText(QString::number(kDefaultPeriod * 10));
      c.TonePeriod = static_cast<uint8_t>(PeriodOf(period->text()));
      grid_->item(code, kColStandard)->setText(standardEditor_->currentText());
      break;
    }
    case kColPeriod:
      c.TonePeriod = static_cast<uint8_t>(PeriodOf(periodEditor_->currentText()));
      grid_->item(code, kColPeriod)->setText(periodEditor_->currentText());
      break;
    case kColName: {
      const std::string name = CleanText(L1(nameEditor_->text()));
      c.Name = name;
      grid_->item(code, kColName)->setText(QL1(name));
      break;
    }
    default:
      break;
  }
}

void Frm5Tone::HideEditors() {
  // Hiding the editor that has the focus would hand the focus on; the grid keeps it instead.
  if (QWidget* f = QApplication::focusWidget(); f && grid_->viewport()->isAncestorOf(f))
    grid_->setFocus();
  for (QWidget* e :
       std::initializer_list<QWidget*>{digitsEditor_, standardEditor_, periodEditor_, nameEditor_})
    e->hide();
  editorOpen_ = false;
}

void Frm5Tone::CloseEditors() {
  CommitGridCell(CurTone5Row, CurTone5Col);
  HideEditors();
  CurTone5Row = 0;
  CurTone5Col = 0;
}

void Frm5Tone::MoveToCell(int code, int column) {
  EnterCell(code, column);
}

void Frm5Tone::ResetSpecialCode(int code) {
  if (prompts_.Message(kResetQuestion, Icon::Question, Buttons::OkCancel) != Answer::Ok) return;
  FiveToneCode& c = work_.FiveTone.Codes[static_cast<size_t>(code)];
  c.Length = 0;
  c.Digits = "";
  grid_->item(code, kColType)->setText({});
  grid_->item(code, kColDigits)->setText({});
}

void Frm5Tone::SelectInfoCode(int id) {
  if (CurInfoCodeID > 0) SaveInfoCode(CurInfoCodeID);
  CurInfoCodeID = id;
  {
    const QSignalBlocker block(infoSelect_);
    infoSelect_->setCurrentIndex(id - 1);
  }
  infoFrame_->setTitle(JoinText(Q(lang_.GetLangText(3005)), QString::number(id)));
  ShowInfoCode();
}

void Frm5Tone::SaveInfoCode(int id) {
  if (id < 1 || id > kInfoCodes) return;
  InfoCode& c = work_.FiveTone.InfoCodes[static_cast<size_t>(id - 1)];
  c.Function = static_cast<uint8_t>(ListIndex(infoFunction_));
  c.Response = static_cast<uint8_t>(ListIndex(infoResponse_));
  const std::string digits = L1(infoDigits_->text());
  c.Digits = digits;
  c.Length = static_cast<uint8_t>(digits.size());
  c.Name = CleanText(L1(infoName_->text()));
}

void Frm5Tone::ShowInfoCode() {
  const int index = std::max(infoSelect_->currentIndex(), 0);
  const InfoCode& c = work_.FiveTone.InfoCodes[static_cast<size_t>(index)];
  SetIndexOrFirst(infoFunction_, c.Function);
  FunctionChosen();
  SetIndexOrFirst(infoResponse_, c.Response);
  const size_t n = std::min<size_t>(c.Length, kInfoDigitLimit);
  infoDigits_->setText(QL1(CleanText(c.Digits.Raw().substr(0, n))));
  const int f = infoFunction_->currentIndex();
  infoName_->setText(f != 0 && f != 6 ? QL1(c.Name.Clean()) : QString());
}

void Frm5Tone::FunctionChosen() {
  const LanguageTable& L = lang_;
  const QString responses[3] = {Q(L.GetLangKeyText("OPTION", "60057")),
                                Q(L.GetLangKeyText("OPTION", "60058")),
                                Q(L.GetLangKeyText("OPTION", "60059"))};
  for (int i = 0; i < 3 && i < infoResponse_->count(); ++i)
    infoResponse_->setItemText(i, responses[i]);
  switch (infoFunction_->currentIndex()) {
    case 0:
      infoResponse_->setEnabled(true);
      infoName_->clear();
      infoName_->setEnabled(false);
      break;
    case 1:
      infoResponse_->setEnabled(true);
      infoResponse_->setCurrentIndex(0);
      infoName_->setEnabled(true);
      break;
    case 2:
      infoResponse_->setCurrentIndex(0);
      infoResponse_->setEnabled(false);
      infoName_->setEnabled(true);
      break;
    case 3:
    case 4:
    case 5:
      infoResponse_->setCurrentIndex(2);
      infoResponse_->setEnabled(false);
      infoName_->setEnabled(true);
      break;
    default:
      infoResponse_->setCurrentIndex(0);
      infoResponse_->setEnabled(false);
      infoName_->clear();
      infoName_->setEnabled(false);
      break;
  }
}

bool Frm5Tone::IsInfoKillStunWakenOK() {
  const InfoCodeCheck check = CheckInfoCodes(work_.FiveTone);
  if (check.KillOrStunWithoutWake)
    prompts_.Message(lang_.GetLangKeyText("OPTION", "60300"), Icon::Warning, Buttons::Ok);
  if (check.DigitsClash)
    prompts_.Message(lang_.GetLangKeyText("OPTION", "60301"), Icon::Warning, Buttons::Ok);
  return check.Ok();
}

void Frm5Tone::OpenSpecial(int target) {
  SpecialCallTarget = target;
  FrmSpecial dialog(*this, this);
  RunModal(specialRunner, dialog);
}

void Frm5Tone::OnOk() {
  if (ownId_->text().size() != kOwnIdDigits) {
    prompts_.Message(lang_.GetLangKeyText("MSG", "900C"), Icon::Warning, Buttons::Ok);
    ownId_->setFocus();
    return;
  }
  // The ID box may still hold a change the codes have not followed (OK reached straight from
  // the box): follow it first, as leaving the box would.
  if (ownId_->text() != QL1(work_.FiveTone.OwnId.Clean())) ApplyOwnIdChange();
  CommitGridCell(CurTone5Row, CurTone5Col);
  SaveFiveTone();
  if (CurInfoCodeID > 0) SaveInfoCode(CurInfoCodeID);
  if (!IsInfoKillStunWakenOK()) return;
  settings_ = work_;
  RepairSignallingRefs(channels_, settings_.TwoTone, settings_.FiveTone);
  RepointAlertIdCode(settings_.Alert, settings_.FiveTone);
  accept();
}

void Frm5Tone::done(int result) {
  for (QLineEdit* box : {ownId_, digitsEditor_, ptt_[0].code, ptt_[1].code, infoDigits_})
    RestoreTextMenu(box);
  QDialog::done(result);
}

bool Frm5Tone::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && IsLeaving(event)) {
    if (watched == ownId_) {
      // OK makes the same check itself; asking here too would show the message twice.
      QWidget* next = QApplication::focusWidget();
      if (next != ok_ && next != cancel_) ApplyOwnIdChange();
    } else if (watched == ptt_[0].code || watched == ptt_[1].code) {
      auto* box = static_cast<QLineEdit*>(watched);
      const QString encoded = QL1(EncodeCodeDigits(L1(box->text()), L1(ownId_->text())));
      if (encoded != box->text()) box->setText(encoded);
    }
  }
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const int code = CurTone5Row - 1;
    if (enter && code >= 0) {
      const int next = (code + 1) % kFiveToneCodes;
      if (watched == digitsEditor_) {
        if (digitsEditor_->text().isEmpty())
          MoveToCell(next, kColDigits);
        else
          MoveToCell(code, kColStandard);
        return true;
      }
      if (watched == standardEditor_ && !standardEditor_->view()->isVisible()) {
        MoveToCell(code, kColPeriod);
        return true;
      }
      if (watched == periodEditor_ && !periodEditor_->view()->isVisible()) {
        MoveToCell(next, kColDigits);
        return true;
      }
      if (watched == nameEditor_) {
        MoveToCell(next, kColType);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kvx
