#include "ui/FrmAlert.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/app/AppState.h"
#include "core/image/Channels.h"
#include "core/image/Dtmf.h"
#include "core/image/FiveTone.h"
#include "core/lang/LanguageTable.h"
#include "ui/FormHelpers.h"
#include "ui/FrmSettingsCommon.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kIdNone = 0;
constexpr int kIdDtmf = 1;
constexpr int kIdFiveTone = 2;

QComboBox* NewList(QWidget* parent, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  box->setMinimumContentsLength(6);
  return box;
}

uint8_t IndexOf(const QComboBox* box) {
  return static_cast<uint8_t>(box->currentIndex() >= 0 ? box->currentIndex() : 0);
}

// The number an entry of a "1" to "255" style list shows.
uint8_t NumberOf(const QComboBox* box, uint8_t none) {
  if (box->currentIndex() < 0) return none;
  return static_cast<uint8_t>(box->currentText().toInt());
}

}  // namespace

FrmAlert::FrmAlert(AlertSettings& alert, const ChannelList& channels, const DtmfSettings& dtmf,
                   const FiveToneSettings& fiveTone, const AppState& app, const LanguageTable& lang,
                   QWidget* parent)
    : QDialog(parent), alert_(alert), dtmf_(dtmf), fiveTone_(fiveTone), lang_(lang), work_(alert) {
  setObjectName("FrmAlert");
  const bool kv520 = IsKv520(app);
  const LanguageTable& L = lang_;

  auto* hidden = new QWidget(this);
  hidden->setObjectName("HiddenControls");
  hidden->hide();

  emergencyMode_ = NewList(this, "ComboEmergencyMode");
  idCodeType_ = NewList(this, "ComboIdCodeType");
  idCode_ = NewList(this, "ComboIdCode");
  alarmTime_ = NewList(this, "ComboAlarmTime");
  txTime_ = NewList(this, "ComboTxTime");
  rxTime_ = NewList(this, "ComboRxTime");
  channelSelect_ = NewList(this, "ComboChannelSelect");
  channelGroup_ = NewList(hidden, "ComboChannelGroup");
  emergencyChannel_ = NewList(this, "ComboEmergencyChannel");
  cycle_ = NewList(this, "ComboCycle");
  loneWorkerFrame_ = new QGroupBox(this);
  loneWorkerFrame_->setObjectName("FrameLoneWorker");
  loneWorker_ = new QCheckBox(loneWorkerFrame_);
  loneWorker_->setObjectName("CheckLoneWorker");
  preAlertTime_ = NewList(loneWorkerFrame_, "ComboPreAlertTime");
  loneWorkerTime_ = NewList(loneWorkerFrame_, "ComboLoneWorkerTime");

  // Localise and lay out: the ten alarm lists, then the lone-worker frame.
  setWindowTitle(Q(L.GetLangText(2600)));
  struct Row {
    const char* name;
    QString text;
    QComboBox* list;
  };
  const Row rows[] = {
      {"LabelEmergencyMode", Q(L.GetLangText(2602)), emergencyMode_},
      {"LabelIdCodeType", Q(L.GetLangText(2603)), idCodeType_},
      {"LabelIdCode", Q(L.GetLangText(2604)), idCode_},
      {"LabelAlarmTime", Q(L.GetLangText(2605)), alarmTime_},
      {"LabelTxTime", Q(L.GetLangText(2606)), txTime_},
      {"LabelRxTime", Q(L.GetLangText(2607)), rxTime_},
      {"LabelChannelSelect", Q(L.GetLangText(2608)), channelSelect_},
      {"LabelChannelGroup", Q(L.GetLangText(2609)), channelGroup_},
      {"LabelEmergencyChannel", Q(L.GetLangText(2610)), emergencyChannel_},
      {"LabelCycle", Q(L.GetLangText(2611)), cycle_},
  };
  auto* left = new QGridLayout;
  left->setHorizontalSpacing(7);
  auto* right = new QGridLayout;
  right->setHorizontalSpacing(7);
  int index = 0;
  for (const Row& row : rows) {
    const bool shown = row.list->parent() == this;
    auto* label = RightLabel(row.name, shown ? this : hidden);
    label->setText(row.text);
    label->setBuddy(row.list);
    if (!shown) continue;
    // Mode, identification and times on the left; the channel and cycle on the right.
    QGridLayout* side = index < 6 ? left : right;
    const int r = index < 6 ? index : index - 6;
    side->addWidget(label, r, 0);
    side->addWidget(row.list, r, 1);
    ++index;
  }
  loneWorkerFrame_->setTitle(Q(L.GetLangText(2612)));
  loneWorker_->setText(Q(L.GetLangText(2613)));
  auto* preLabel = RightLabel("LabelPreAlertTime", loneWorkerFrame_);
  preLabel->setText(Q(L.GetLangText(2614)));
  preLabel->setBuddy(preAlertTime_);
  auto* loneLabel = RightLabel("LabelLoneWorkerTime", loneWorkerFrame_);
  loneLabel->setText(Q(L.GetLangText(2615)));
  loneLabel->setBuddy(loneWorkerTime_);
  auto* frameGrid = new QGridLayout(loneWorkerFrame_);
  frameGrid->setHorizontalSpacing(7);
  frameGrid->addWidget(loneWorker_, 0, 0, 1, 2);
  frameGrid->addWidget(preLabel, 1, 0);
  frameGrid->addWidget(preAlertTime_, 1, 1);
  frameGrid->addWidget(loneLabel, 2, 0);
  frameGrid->addWidget(loneWorkerTime_, 2, 1);
  right->addWidget(loneWorkerFrame_, 3, 0, 1, 2);
  right->setRowStretch(4, 1);
  left->setRowStretch(6, 1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addSpacing(16);
  columns->addLayout(right);

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(columns);
  QPushButton *ok = nullptr, *cancel = nullptr;
  outer->addLayout(OkCancelRow(this, &ok, &cancel));
  connect(ok, &QPushButton::clicked, this, &FrmAlert::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  LocalizeOkCancel(this, L);
  ApplyLanguageToForm(this, L);

  // Fill the lists and show the working copy.
  FillList(emergencyMode_,
           {Q(L.GetLangText(2630)), Q(L.GetLangText(2631)), Q(L.GetLangText(2632)),
            Q(L.GetLangText(2633))},
           work_.EmergencyMode);
  FillList(idCodeType_, {Q(L.GetLangText(2436)), "DTMF", "5Tone"}, work_.IdCodeType);
  const QStringList seconds = NumberTexts(1, 255);
  FillList(alarmTime_, seconds, work_.AlarmTime - 1);
  FillList(txTime_, seconds, work_.TxTime - 1);
  FillList(rxTime_, seconds, work_.RxTime - 1);
  FillList(channelSelect_, {Q(L.GetLangText(2634)), Q(L.GetLangText(2635))}, work_.ChannelSelect);
  channelNumbers_ = OrdinaryChannelNumbers(channels, false);
  QStringList channelTexts;
  for (int n : channelNumbers_) channelTexts << MemoryChannelText(n, kv520);
  FillList(emergencyChannel_, channelTexts,
           IndexOfValue(channelNumbers_, work_.EmergencyChannel + 1));
  FillList(cycle_, QStringList{Q(L.GetLangText(2636))} + seconds, work_.Cycle);
  FillList(preAlertTime_, NumberTexts(1, 254), work_.PreAlertTime - 1);
  FillList(loneWorkerTime_, NumberTexts(5, 255), work_.LoneWorkerTime - 5);
  BuildIdCodeList(idCodeType_->currentIndex(), true);
  loneWorker_->setChecked(work_.LoneWorkerDetect == 1);
  ApplyEnableRules();

  connect(emergencyMode_, &QComboBox::activated, this, [this] { ApplyEnableRules(); });
  connect(channelSelect_, &QComboBox::activated, this, [this] { ApplyEnableRules(); });
  connect(loneWorker_, &QCheckBox::toggled, this, [this] { ApplyEnableRules(); });
  connect(idCodeType_, &QComboBox::activated, this,
          [this](int type) { BuildIdCodeList(type, false); });
  InstallEnterMovesFocus(this);
}

void FrmAlert::BuildIdCodeList(int type, bool showStored) {
  QStringList texts;
  idCodeValues_.clear();
  if (type == kIdDtmf) {
    for (int k = 0; k < 16; ++k) {
      if (dtmf_.Codes[static_cast<size_t>(k)].Length <= 0) continue;
      texts << QStringLiteral("M%1").arg(k + 1);
      idCodeValues_.push_back(k);
    }
  } else if (type == kIdFiveTone) {
    for (int j = 0; j < kFiveToneCodes; ++j) {
      if (!FiveToneCodeInUse(fiveTone_, j)) continue;
      texts << QString::number(j);
      idCodeValues_.push_back(j);
    }
    if (idCodeValues_.empty()) {
      texts << "0";
      idCodeValues_.push_back(0);
    }
  }
  FillList(idCode_, texts, showStored ? IndexOfValue(idCodeValues_, work_.IdCode) : 0);
}

void FrmAlert::ApplyEnableRules() {
  const bool alarmOnly = emergencyMode_->currentIndex() == 0;
  alarmTime_->setEnabled(alarmOnly);
  for (QComboBox* box : {idCodeType_, idCode_, txTime_, rxTime_}) box->setEnabled(!alarmOnly);
  const bool ownChannel = channelSelect_->currentIndex() == 0;
  channelGroup_->setEnabled(ownChannel);
  emergencyChannel_->setEnabled(ownChannel);
  const bool lone = loneWorker_->isChecked();
  preAlertTime_->setEnabled(lone);
  loneWorkerTime_->setEnabled(lone);
}

void FrmAlert::OnOk() {
  work_.EmergencyMode = IndexOf(emergencyMode_);
  work_.IdCodeType = IndexOf(idCodeType_);
  work_.ChannelSelect = IndexOf(channelSelect_);
  work_.Cycle = IndexOf(cycle_);
  work_.AlarmTime = static_cast<uint8_t>(IndexOf(alarmTime_) + 1);
  work_.TxTime = static_cast<uint8_t>(IndexOf(txTime_) + 1);
  work_.RxTime = static_cast<uint8_t>(IndexOf(rxTime_) + 1);
  const int code = idCode_->currentIndex();
  work_.IdCode = code >= 0 && code < static_cast<int>(idCodeValues_.size())
                     ? static_cast<uint8_t>(idCodeValues_[static_cast<size_t>(code)])
                     : 0;
  const int channel = emergencyChannel_->currentIndex();
  work_.EmergencyChannel =
      channel >= 0 && channel < static_cast<int>(channelNumbers_.size())
          ? static_cast<uint8_t>(channelNumbers_[static_cast<size_t>(channel)] - 1)
          : 0;
  work_.LoneWorkerDetect = loneWorker_->isChecked() ? 1 : 0;
  work_.PreAlertTime = NumberOf(preAlertTime_, 1);
  work_.LoneWorkerTime = NumberOf(loneWorkerTime_, 5);
  alert_ = work_;
  accept();
}

}  // namespace kvx
