#include "ui/FrmOption.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/AppState.h"
#include "core/files/SettingsRecord.h"
#include "core/image/Channels.h"
#include "core/lang/LanguageTable.h"
#include "ui/FormHelpers.h"
#include "ui/FrmSettingsCommon.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kLists = 39;  // lists 0-18 and 24-38; 19-23 do not exist
constexpr int kPasswordWidth = 6;
constexpr int kMessageWidth = 7;

bool ListExists(int n) {
  return (n >= 0 && n <= 18) || (n >= 24 && n <= 38);
}
bool ListNeverShown(int n) {
  return n == 3 || n == 4 || n == 6 || n == 7 || n == 13;
}
bool IsBleList(int n) {
  return n >= 30 && n <= 38;
}

// The record field a plain list stores its index in (null for the choosers and BLE lists).
int16_t OptionSettings::*FieldOfList(int n) {
  switch (n) {
    case 0:
      return &OptionSettings::Option0;
    case 1:
      return &OptionSettings::Option1;
    case 3:
      return &OptionSettings::Option3;
    case 4:
      return &OptionSettings::Option4;
    case 5:
      return &OptionSettings::Option5;
    case 6:
      return &OptionSettings::Option6;
    case 7:
      return &OptionSettings::Option7;
    case 8:
      return &OptionSettings::Option8;
    case 9:
      return &OptionSettings::ToneFrequency;
    case 10:
      return &OptionSettings::Option10;
    case 11:
      return &OptionSettings::Option11;
    case 12:
      return &OptionSettings::Option12;
    case 13:
      return &OptionSettings::Option13;
    case 14:
      return &OptionSettings::Option14;
    case 15:
      return &OptionSettings::Option15;
    case 16:
      return &OptionSettings::Option16;
    case 17:
      return &OptionSettings::Option17;
    case 18:
      return &OptionSettings::Option18;
    case 24:
      return &OptionSettings::BroadcastSwitch;
    case 25:
      return &OptionSettings::BroadcastBand;
    case 26:
      return &OptionSettings::AmDisplayMode;
    case 27:
      return &OptionSettings::FmDisplayMode;
    default:
      return nullptr;
  }
}

int16_t OptionSettings::*FieldOfSwitch(int i) {
  switch (i) {
    case 0:
      return &OptionSettings::Switch0;
    case 1:
      return &OptionSettings::Switch1;
    case 2:
      return &OptionSettings::Switch2;
    case 3:
      return &OptionSettings::Switch3;
    default:
      return nullptr;
  }
}

// The memory entries (0-19) of a broadcast list that hold a frequency.
std::vector<int> WorkChannels(const BroadcastList& list) {
  std::vector<int> numbers;
  for (size_t i = 0; i < BroadcastList::kVfo; ++i)
    if (list.entries[i].InUse == 1) numbers.push_back(static_cast<int>(i));
  return numbers;
}

QStringList TextsOf(const std::vector<int>& numbers) {
  QStringList texts;
  for (int n : numbers) texts << QString::number(n);
  return texts;
}

}  // namespace

FrmOption::FrmOption(SettingsRecord& settings, const ChannelList& channels, const AppState& app,
                     const LanguageTable& lang, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      channels_(channels),
      app_(app),
      lang_(lang),
      work_(settings.Options) {
  setObjectName("FrmOption");
  kv520_ = IsKv520(app_);
  BuildControls();
  Localize();
  FillLists();
  ShowValues();
  loading_ = false;
}

QComboBox* FrmOption::List(int n) const {
  return n >= 0 && n < kLists ? lists_[static_cast<size_t>(n)] : nullptr;
}

void FrmOption::BuildControls() {
  // Controls that belong to the dialog but are never shown live in a hidden holder.
  auto* hidden = new QWidget(this);
  hidden->setObjectName("HiddenControls");
  hidden->hide();

  for (int n = 0; n < kLists; ++n) {
    if (!ListExists(n)) continue;
    QWidget* owner = ListNeverShown(n) ? hidden : this;
    auto* box = new QComboBox(owner);
    box->setObjectName(QStringLiteral("Combo1_%1").arg(n));
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    box->setMinimumContentsLength(6);
    lists_[static_cast<size_t>(n)] = box;
    if (n != 18) {
      auto* label = RightLabel("", owner);
      label->setObjectName(QStringLiteral("Label1_%1").arg(n));
      label->setBuddy(box);
      listLabels_[static_cast<size_t>(n)] = label;
    }
    connect(box, &QComboBox::activated, this, [this, n](int index) { OnListChosen(n, index); });
  }
  for (int i = 0; i < 7; ++i) {
    auto* check = new QCheckBox(i == 0 ? hidden : this);
    check->setObjectName(QStringLiteral("Check1_%1").arg(i));
    switches_[static_cast<size_t>(i)] = check;
    if (auto field = FieldOfSwitch(i)) {
      connect(check, &QCheckBox::toggled, this, [this, field](bool on) {
        if (!loading_) work_.*field = on ? 1 : 0;
      });
    }
  }
  passwordCheck_ = new QCheckBox(this);
  passwordCheck_->setObjectName("CheckPassWord");
  connect(passwordCheck_, &QCheckBox::toggled, this,
          [this](bool on) { EnablePassWord(on ? 1 : 0); });
  passwordLabel_ = RightLabel("LabelPassWord", this);
  passwordBox_ = new QLineEdit(this);
  passwordBox_->setObjectName("TextPassWord");
  passwordBox_->setMaxLength(kPasswordWidth);
  passwordBox_->setFixedWidth(passwordBox_->fontMetrics().horizontalAdvance('0') * 8 + 12);
  InstallTextBoxFilter(passwordBox_, DigitsOnly());
  SuppressTextMenu(passwordBox_);
  passwordLabel_->setBuddy(passwordBox_);

  messageLabel_ = RightLabel("LabelMessage", this);
  // One character per box: codes 32-125 except the backslash, the focus moving on after each.
  TextBoxRules messageRules{[](QChar c) {
                              const ushort u = c.unicode();
                              return (u >= 32 && u <= 125 && c != u'\\') ? c : QChar();
                            },
                            true};
  for (int i = 0; i < kMessageWidth; ++i) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QStringLiteral("TextMessage_%1").arg(i));
    box->setMaxLength(1);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance('W') + 16);
    InstallTextBoxFilter(box, messageRules);
    SuppressTextMenu(box);
    messageBoxes_[static_cast<size_t>(i)] = box;
  }

  // Layout: the general lists in two columns, the broadcast receiver and the BT group beside
  // each other, then the switches, the password and the message.
  auto addRow = [this](QGridLayout* grid, int row, int column, int n) {
    grid->addWidget(listLabels_[static_cast<size_t>(n)], row, column);
    grid->addWidget(lists_[static_cast<size_t>(n)], row, column + 1);
  };
  auto* general = new QGridLayout;
  general->setHorizontalSpacing(6);
  const int left[] = {0, 1, 2, 5, 8, 9, 10};
  const int right[] = {11, 12, 14, 15, 16, 17};
  for (int r = 0; r < 7; ++r) {
    if (left[r] == 1) {
      // List 18 takes the place beside list 1 that list 1 gives up when it is forced.
      general->addWidget(listLabels_[1], r, 0);
      auto* pair = new QHBoxLayout;
      pair->setSpacing(4);
      pair->addWidget(lists_[1]);
      pair->addWidget(lists_[18]);
      general->addLayout(pair, r, 1);
    } else {
      addRow(general, r, 0, left[r]);
    }
  }
  for (int r = 0; r < 6; ++r) addRow(general, r, 2, right[r]);
  general->setColumnMinimumWidth(2, 120);

  auto* broadcast = new QGroupBox(this);
  broadcast->setObjectName("FrameBroadcast");
  auto* broadcastGrid = new QGridLayout(broadcast);
  for (int n = 24; n <= 29; ++n) addRow(broadcastGrid, n - 24, 0, n);
  broadcastGrid->setRowStretch(6, 1);

  auto* ble = new QGroupBox(this);
  ble->setObjectName("FrameBT");
  auto* bleGrid = new QGridLayout(ble);
  for (int n = 30; n <= 38; ++n) addRow(bleGrid, (n - 30) % 5, (n - 30) / 5 * 2, n);

  auto* groups = new QHBoxLayout;
  groups->addWidget(broadcast, 2);
  groups->addWidget(ble, 3);

  auto* switchGrid = new QGridLayout;
  for (int i = 1; i <= 6; ++i)
    switchGrid->addWidget(switches_[static_cast<size_t>(i)], (i - 1) / 3, (i - 1) % 3);

  auto* passwordRow = new QHBoxLayout;
  passwordRow->addWidget(passwordCheck_);
  passwordRow->addSpacing(24);
  passwordRow->addWidget(passwordLabel_);
  passwordRow->addWidget(passwordBox_);
  passwordRow->addStretch(1);

  auto* messageRow = new QHBoxLayout;
  messageRow->addWidget(messageLabel_);
  messageRow->setSpacing(4);
  for (QLineEdit* box : messageBoxes_) messageRow->addWidget(box);
  messageRow->addStretch(1);

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(general);
  outer->addLayout(groups);
  outer->addLayout(switchGrid);
  outer->addLayout(passwordRow);
  outer->addLayout(messageRow);
  QPushButton *ok = nullptr, *cancel = nullptr;
  outer->addLayout(OkCancelRow(this, &ok, &cancel));
  connect(ok, &QPushButton::clicked, this, &FrmOption::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  if (kv520_) {
    for (int n : {0, 1}) {
      lists_[static_cast<size_t>(n)]->hide();
      listLabels_[static_cast<size_t>(n)]->hide();
    }
  }
  InstallEnterMovesFocus(this);
}

void FrmOption::Localize() {
  const LanguageTable& L = lang_;
  setWindowTitle(Q(L.GetLangText(1701)));
  const std::pair<int, QString> labels[] = {
      {0, Q(L.GetLangText(1702))},  {1, Q(L.GetLangText(1703))},  {2, Q(L.GetLangText(1704))},
      {3, Q(L.GetLangText(1705))},  {4, Q(L.GetLangText(1706))},  {5, Q(L.GetLangText(1707))},
      {6, Q(L.GetLangText(1708))},  {7, Q(L.GetLangText(1709))},  {8, Q(L.GetLangText(1710))},
      {9, Q(L.GetLangText(1711))},  {10, Q(L.GetLangText(1712))}, {11, Q(L.GetLangText(1713))},
      {12, Q(L.GetLangText(1714))}, {13, Q(L.GetLangText(1715))}, {14, Q(L.GetLangText(1716))},
      {15, Q(L.GetLangText(1700))}, {16, Q(L.GetLangText(1718))}, {17, Q(L.GetLangText(1719))},
      {24, Q(L.GetLangText(2500))}, {25, Q(L.GetLangText(2501))}, {26, Q(L.GetLangText(2502))},
      {27, Q(L.GetLangText(2503))}, {28, Q(L.GetLangText(2504))}, {29, Q(L.GetLangText(2505))},
      {30, Q(L.GetLangText(2506))}, {31, Q(L.GetLangText(2507))}, {32, Q(L.GetLangText(2508))},
      {33, Q(L.GetLangText(2509))}, {34, Q(L.GetLangText(2510))}, {35, Q(L.GetLangText(2511))},
      {36, Q(L.GetLangText(2512))}, {37, Q(L.GetLangText(2513))}, {38, Q(L.GetLangText(2514))},
  };
  for (const auto& [n, text] : labels) listLabels_[static_cast<size_t>(n)]->setText(text);
  const QString switchTexts[] = {Q(L.GetLangText(1730)), Q(L.GetLangText(1731)),
                                 Q(L.GetLangText(1732)), Q(L.GetLangText(1733)),
                                 Q(L.GetLangText(1734)), Q(L.GetLangText(1735)),
                                 Q(L.GetLangText(1736))};
  for (size_t i = 0; i < switches_.size(); ++i) switches_[i]->setText(switchTexts[i]);
  passwordCheck_->setText(Q(L.GetLangText(1737)));
  passwordLabel_->setText(Q(L.GetLangText(1738)));
  messageLabel_->setText(Q(L.GetLangText(1739)));
  if (auto* ble = findChild<QGroupBox*>("FrameBT")) ble->setTitle("BT");
  LocalizeOkCancel(this, L);
  ApplyLanguageToForm(this, L);
}

void FrmOption::FillLists() {
  const LanguageTable& L = lang_;
  const QString off = Q(L.GetLangText(1755));
  const QString on = Q(L.GetLangText(1756));
  const QString none = Q(L.GetLangText(2430));
  auto fill = [this](int n, const QStringList& entries) {
    FillList(lists_[static_cast<size_t>(n)], entries);
  };
  fill(0, {Q(L.GetLangText(1750)), Q(L.GetLangText(1751)), Q(L.GetLangText(1752))});
  fill(1, {Q(L.GetLangText(1753)), Q(L.GetLangText(1754))});
  fill(3, NumberTexts(0, 20));
  fill(4, NumberTexts(0, 25));
  fill(5, {Q(L.GetLangText(1747)), Q(L.GetLangText(1748)), Q(L.GetLangText(1749))});
  fill(6, {Q(L.GetLangText(1790)), Q(L.GetLangText(1791)), Q(L.GetLangText(1792))});
  fill(7, {"0s", "1s", "2s", "3s", "Always"});
  fill(8, NumberTexts(1, 32));
  fill(9, {"1750Hz", "2100Hz", "1000Hz", "1450Hz"});
  QStringList list10{off};
  const QString unit = Q(L.GetLangText(1782));
  for (int n = 1; n <= 30; ++n) list10 << QString::number(n) + unit;
  fill(10, list10);
  fill(11, {off, Q(L.GetLangText(1768)), Q(L.GetLangText(1769)), Q(L.GetLangText(1770))});
  fill(12, {Q(L.GetLangText(1761)), Q(L.GetLangText(1762))});
  fill(13, {off, on});
  fill(14, {Q(L.GetLangText(1794)), Q(L.GetLangText(1795))});
  fill(15, {Q(L.GetLangText(1727)), Q(L.GetLangText(1728)), Q(L.GetLangText(1729))});
  fill(16, {off, Q(L.GetLangText(3010)), Q(L.GetLangText(3011))});
  fill(17, {Q(L.GetLangText(1798)), Q(L.GetLangText(1799))});
  fill(18, {Q(L.GetLangText(1796)), Q(L.GetLangText(1797))});
  fill(24, {off, on});
  fill(25, {"FM", "AM"});
  fill(26, {"VFO", "CH"});
  fill(27, {"VFO", "CH"});
  const QStringList oneToFour = NumberTexts(1, 4);
  fill(30, {none, Q(L.GetLangText(2431))});
  fill(31, QStringList{none} + oneToFour);
  fill(32, NumberTexts(1, 5));
  fill(33, NumberTexts(1, 5));
  fill(34, QStringList{none} + oneToFour);
  fill(35, QStringList{none} + oneToFour);
  fill(36, QStringList{none} + NumberTexts(1, 30) + QStringList{"60", "120", "CONN"});
  fill(37, QStringList{"30"} + NumberTexts(500, 5000, 500));
  fill(38, {off, on});

  // The channel chooser: every channel 1-202 in use, "PA" and "PB" for 201 and 202; the value
  // stored is always number - 1.
  QStringList channelTexts;
  channelValues_.clear();
  for (int n = 1; n <= kChannelPB; ++n) {
    if (!channels_.ChannelInUse(n)) continue;
    if (n == kChannelPA)
      channelTexts << "PA";
    else if (n == kChannelPB)
      channelTexts << "PB";
    else
      channelTexts << MemoryChannelText(n, kv520_);
    channelValues_.push_back(n - 1);
  }
  if (channelValues_.empty()) {
    // The single entry "0" stores 0 on every model (the KV-520 rule would give -1).
    channelTexts << "0";
    channelValues_.push_back(0);
  }
  fill(2, channelTexts);

  amValues_ = WorkChannels(settings_.Am);
  fmValues_ = WorkChannels(settings_.Fm);
  fill(28, TextsOf(amValues_));
  fill(29, TextsOf(fmValues_));
}

void FrmOption::ShowValues() {
  auto show = [this](int n, int index) {
    QComboBox* box = lists_[static_cast<size_t>(n)];
    const QSignalBlocker block(box);
    SetIndexOrFirst(box, index);
  };
  show(0, work_.Option0);
  show(18, work_.Option18);
  show(1, work_.Option1);
  for (int n = 3; n < kLists; ++n) {
    if (auto field = FieldOfList(n); field && n != 18) show(n, work_.*field);
  }
  show(2, IndexOfValue(channelValues_, work_.OptionChannel));
  show(28, IndexOfValue(amValues_, work_.AmWorkChannel));
  show(29, IndexOfValue(fmValues_, work_.FmWorkChannel));
  for (int n = 30; n <= 38; ++n) show(n, settings_.Ble.bytes[static_cast<size_t>(n - 30)]);

  for (int i = 0; i < 4; ++i)
    switches_[static_cast<size_t>(i)]->setChecked(work_.*FieldOfSwitch(i) != 0);
  switches_[4]->setChecked(settings_.Switch4 != 0);
  switches_[5]->setChecked(settings_.Switch5 != 0);
  switches_[6]->setChecked(settings_.Switch6 != 0);

  // A stored value other than 0 and 1 (an erased radio gives 255) shows the box off.
  passwordCheck_->setChecked(work_.PowerOnPasswordEnabled == 1);
  passwordBox_->setText(QL1(work_.PowerOnPassword.Clean()));
  EnablePassWord(passwordCheck_->isChecked() ? 1 : 0);

  QString message = QL1(work_.PowerOnMessage.Clean()).leftJustified(kMessageWidth, u' ', true);
  for (int i = 0; i < kMessageWidth; ++i) {
    const QChar c = message.at(i);
    messageBoxes_[static_cast<size_t>(i)]->setText(c == u' ' ? QString() : QString(c));
  }

  ApplyList0Dependency(lists_[0]->currentIndex(), false);
}

void FrmOption::ApplyList0Dependency(int entry, bool fromUser) {
  QComboBox* list1 = lists_[1];
  QComboBox* list18 = lists_[18];
  const QSignalBlocker block1(list1);
  const QSignalBlocker block18(list18);
  if (entry == 1) {
    if (fromUser) {
      list1->setCurrentIndex(1);
      work_.Option1 = 1;
    }
    list1->setEnabled(false);
    list18->setVisible(!kv520_);
  } else {
    if (fromUser) {
      list1->setCurrentIndex(entry == 2 ? 1 : 0);
      work_.Option1 = entry == 2 ? 1 : 0;
      list18->setCurrentIndex(0);
      work_.Option18 = 0;
    }
    list1->setEnabled(true);
    list18->setVisible(false);
  }
}

void FrmOption::OnListChosen(int n, int index) {
  if (loading_ || index < 0) return;
  const auto at = static_cast<size_t>(index);
  if (IsBleList(n)) {
    // The BLE bytes are written at once, outside the working copy: Cancel keeps them.
    settings_.Ble.bytes[static_cast<size_t>(n - 30)] = static_cast<uint8_t>(index);
    return;
  }
  switch (n) {
    case 2:
      if (at < channelValues_.size())
        work_.OptionChannel = static_cast<int16_t>(channelValues_[at]);
      return;
    case 28:
      if (at < amValues_.size()) work_.AmWorkChannel = static_cast<int16_t>(amValues_[at]);
      return;
    case 29:
      if (at < fmValues_.size()) work_.FmWorkChannel = static_cast<int16_t>(fmValues_[at]);
      return;
    default:
      break;
  }
  if (auto field = FieldOfList(n)) work_.*field = static_cast<int16_t>(index);
  if (n == 0) ApplyList0Dependency(index, true);
}

void FrmOption::EnablePassWord(int value) {
  passwordLabel_->setVisible(value == 1);
  passwordBox_->setVisible(value == 1);
}

void FrmOption::OnOk() {
  settings_.Switch4 = switches_[4]->isChecked() ? 1 : 0;
  settings_.Switch5 = switches_[5]->isChecked() ? 1 : 0;
  settings_.Switch6 = switches_[6]->isChecked() ? 1 : 0;
  work_.PowerOnPasswordEnabled = passwordCheck_->isChecked() ? 1 : 0;
  std::string password = L1(passwordBox_->text().left(kPasswordWidth));
  if (password.size() < kPasswordWidth) password.push_back('\0');
  work_.PowerOnPassword = password;
  std::string message;
  for (QLineEdit* box : messageBoxes_) {
    const QString t = box->text();
    message += t.isEmpty() ? ' ' : t.at(0).toLatin1();
  }
  work_.PowerOnMessage = message;
  settings_.Options = work_;
  accept();
}

}  // namespace kvx
